#include <filesystem>
#include <memory>

#include "common/file_download.h"
#include "runtime/app.h"
#include "runtime/controls.h"
#include "support/network_fixture.h"

using namespace network_testing;
using common::CFileDownload;
using platform::TransferProgress;
using testing_support::FixtureServer;
using testing_support::readBytes;

namespace {

// One OnProgress event as the window sees it.
struct Event {
    int64_t progress;
    int64_t max;
    int32_t speed;
};

// A network that plays back progress reports, moving the app's clock before each.
class ScriptedNetwork : public platform::Network {
public:
    struct Step {
        uint32_t tick;
        int64_t received;
    };
    explicit ScriptedNetwork(runtime::VirtualClock& clock)
        : m_clock(clock)
    {
    }
    std::vector<Step> steps;

    bool checkConnection(const std::string&) override { return true; }
    platform::Status download(const std::string&, const std::string&,
        const std::function<bool(const TransferProgress&)>& progress,
        const platform::DownloadOptions& = {}) override
    {
        progress({ TransferProgress::Start, 0, 0, TransferProgress::Connecting, "start" });
        for (const Step& step : steps) {
            m_clock.set(step.tick);
            progress({ TransferProgress::Progress, step.received, 0, TransferProgress::Data, "data" });
        }
        progress({ TransferProgress::Stop, 0, 0, 200, "" });
        return platform::Status::success();
    }
    platform::HttpResponse get(const std::string&) override { return {}; }

private:
    runtime::VirtualClock& m_clock;
};

// Runs the steps through a fresh download object and gives the speeds of its events.
std::vector<int32_t> speeds(const std::vector<ScriptedNetwork::Step>& steps, int handlerMs = 0)
{
    auto owned = std::make_unique<runtime::VirtualClock>();
    runtime::VirtualClock& clock = *owned;
    runtime::App app(std::move(owned));
    ScriptedNetwork net(clock);
    net.steps = steps;
    common::CFileDownload download(app, net);
    std::vector<int32_t> out;
    download.OnProgress = [&](int64_t, int64_t, int32_t lSpeed, int32_t, const std::string&) {
        out.push_back(lSpeed);
        clock.set(clock.nowMs() + handlerMs);
    };
    EXPECT_TRUE(download.StartDownloading("http://example/", "unused"));
    return out;
}

} // namespace

TEST(DownloadSpeed, IsKilobytesPerSecondSinceThePreviousReportRoundedHalfToEven)
{
    // Each row: milliseconds and bytes between two reports, the speed of the second.
    for (const auto& row : testing_support::testRows("common/download_speeds.tsv")) {
        SCOPED_TRACE(row.name);
        const auto ms = static_cast<uint32_t>(std::stoul(row.at(0)));
        const auto got = speeds({ { 50000, 4096 }, { 50000 + ms, 4096 + std::stoll(row.at(1)) } });
        ASSERT_EQ(got.size(), 2u);
        EXPECT_EQ(got[1], std::stoi(row.at(2))) << row.name;
    }
    // A new object measures its first report from tick 0.
    EXPECT_EQ(speeds({ { 10000, 10240 } }), std::vector<int32_t> { 1 });
    // 500 ms pass in the handler of the first report; the second report, 1000 ms after the
    // first, measures only the 500 ms since the handler returned.
    EXPECT_EQ(speeds({ { 50000, 0 }, { 51000, 512000 } }, 500), (std::vector<int32_t> { 0, 1000 }));
}

class FileDownloadTest : public NetworkTest {
protected:
    // Runs a transfer on a fresh object, recording its events and whether it was busy in each.
    bool fetch(const std::string& path, const std::string& file)
    {
        common::CFileDownload download(app, net);
        download.OnProgress = [&](int64_t p, int64_t m, int32_t s, int32_t, const std::string&) {
            events.push_back({ p, m, s });
            busyInEvents = busyInEvents && download.busy();
        };
        const auto done = download.StartDownloading(server.url(path), dir.file(file));
        EXPECT_FALSE(download.busy()) << path;
        // A success carries the server's status.
        if (done) {
            EXPECT_EQ(*done, 200) << path;
        }
        return done.ok();
    }
    // The server's pace is real time.
    runtime::App app { std::make_unique<runtime::SteadyClock>() };
    std::vector<Event> events;
    bool busyInEvents = true;
};

TEST_F(FileDownloadTest, EventsReportTheTransfer)
{
    // 20 KiB every 200 ms is 100 KB/s; the stall reports come every 20 ms in between and do
    // not move the speed's baseline.
    ASSERT_TRUE(fetch("/throttle/163840/20480/200", "a.flv"));
    EXPECT_TRUE(busyInEvents);
    ASSERT_GT(events.size(), 2u);
    EXPECT_EQ(events.back().progress, 163840);
    EXPECT_EQ(events.back().max, 163840);
    // The first report counts from the object's start, the second from the first chunk.
    for (size_t i = 2; i < events.size(); ++i)
        EXPECT_NEAR(events[i].speed, 100, 25) << "report " << i << " at " << events[i].progress;
    // A transfer that breaks off returns false and leaves the object idle (the target is the
    // network's to keep).
    EXPECT_FALSE(fetch("/cut/100000", "v.flv"));
}

TEST_F(FileDownloadTest, ASecondStartOnABusyObjectReturnsFalseAtOnce)
{
    common::CFileDownload download(app, net);
    int refused = 0;
    download.OnProgress = [&](int64_t, int64_t, int32_t, int32_t, const std::string&) {
        if (!download.StartDownloading(server.url("/bytes/10"), dir.file("second")))
            ++refused;
    };
    EXPECT_TRUE(download.StartDownloading(server.url("/throttle/4000/1000/20"), dir.file("first")));
    EXPECT_GT(refused, 0);
    EXPECT_EQ(server.hits("/bytes/10"), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.file("second")));
    // Idle again: the same object may start the next transfer.
    EXPECT_TRUE(download.StartDownloading(server.url("/bytes/10"), dir.file("second")));
}

TEST_F(FileDownloadTest, AnObjectDroppedByItsOwnHandlerFinishesSilently)
{
    auto oDownload = std::make_unique<common::CFileDownload>(app, net);
    int handled = 0;
    oDownload->OnProgress = [&](int64_t, int64_t, int32_t, int32_t, const std::string&) {
        ++handled;
        // The window replaces its download object while the transfer runs.
        oDownload = std::make_unique<common::CFileDownload>(app, net);
    };
    common::CFileDownload* first = oDownload.get();
    EXPECT_TRUE(first->StartDownloading(server.url("/throttle/5000/1000/10"), dir.file("d.flv")));
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(readBytes(dir.file("d.flv")), FixtureServer::pattern(0, 5000));
}

namespace {

// A window with a timer, as the download windows have.
class TimerWindow : public runtime::Form {
public:
    explicit TimerWindow(runtime::App& app)
        : runtime::Form(app, "TimerWindow")
    {
    }
    runtime::Timer Timer1 { *this, "Timer1" };
};

} // namespace

TEST_F(FileDownloadTest, TransfersKeepTheEventLoopRunning)
{
    runtime::App realTime(std::make_unique<runtime::SteadyClock>());
    realTime.provide<platform::Network>(std::make_shared<platform::CurlNetwork>(quickOptions()));
    std::vector<std::string> log;
    // Adds an entry unless it repeats the last one.
    const auto note = [&log](const std::string& entry) {
        if (log.empty() || log.back() != entry)
            log.push_back(entry);
    };
    // The timer starts a second transfer with a new object while the first runs.
    auto& window = realTime.get<TimerWindow>();
    std::unique_ptr<common::CFileDownload> inner;
    window.Timer1.onTimer = [&] {
        window.Timer1.setEnabled(false);
        inner = std::make_unique<common::CFileDownload>(realTime, realTime.service<platform::Network>());
        inner->OnProgress = [&](int64_t, int64_t, int32_t, int32_t, const std::string&) { note("inner"); };
        note("inner start");
        note(inner->StartDownloading(server.url("/bytes/3000"), dir.file("inner.flv")) ? "inner done"
                                                                                       : "inner failed");
    };
    common::CFileDownload outer(realTime, realTime.service<platform::Network>());
    outer.OnProgress = [&](int64_t, int64_t, int32_t, int32_t, const std::string&) { note("outer"); };
    window.Timer1.start(1);
    EXPECT_TRUE(outer.StartDownloading(server.url("/throttle/20000/2000/30"), dir.file("outer.flv")));
    // Whether the outer transfer reports once before the timer is due depends on the machine's
    // speed; what counts is that the nested transfer runs whole inside the outer one, which
    // goes on reporting after it.
    if (!log.empty() && log.front() == "outer")
        log.erase(log.begin());
    EXPECT_EQ(log, (std::vector<std::string> { "inner start", "inner", "inner done", "outer" }));
}
