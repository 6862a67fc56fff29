// Progress reports the download service handles per second with the event pump running
// (timers of a window firing in real time), against the bare report loop in the same run.
#include <cstdio>

#include "common/file_download.h"
#include "net_timing.h"
#include "platform/network.h"
#include "runtime/app.h"
#include "runtime/controls.h"

namespace {

constexpr int kReports = 200000;

// A network whose download is nothing but a stream of progress reports.
class ReportingNetwork : public platform::Network {
public:
    bool checkConnection(const std::string&) override { return true; }
    platform::Status download(const std::string&, const std::string&,
        const std::function<bool(const platform::TransferProgress&)>& progress,
        const platform::DownloadOptions& = {}) override
    {
        platform::TransferProgress p;
        p.phase = platform::TransferProgress::Start;
        progress(p);
        p.phase = platform::TransferProgress::Progress;
        p.statusCode = platform::TransferProgress::Data;
        p.statusText = "http://127.0.0.1/video.flv";
        p.total = static_cast<long long>(kReports) * 65536;
        for (int i = 1; i <= kReports; ++i) {
            p.received = static_cast<long long>(i) * 65536;
            if (!progress(p))
                break;
        }
        p.phase = platform::TransferProgress::Stop;
        progress(p);
        return platform::Status::success();
    }
    platform::HttpResponse get(const std::string&) override { return {}; }
};

// A window with busy timers, like the progress bar and status windows during a transfer.
class Busy : public runtime::Form {
public:
    explicit Busy(runtime::App& app)
        : runtime::Form(app, "Busy")
    {
        Timer1.onTimer = [this] { ++ticks; };
        Timer2.onTimer = [this] { Label1.setCaption(std::to_string(++ticks)); };
    }
    runtime::Timer Timer1 { *this, "Timer1" };
    runtime::Timer Timer2 { *this, "Timer2" };
    runtime::Label Label1 { *this, "Label1" };
    long long ticks = 0;
};

} // namespace

int main()
{
    using namespace net_bench;
    ReportingNetwork network;

    long long bare = 0;
    const double bareSeconds = bestSeconds(3, [&] {
        // A failed transfer shows in the figures (no bytes): nothing else to do with it here.
        std::ignore = network.download("", "", [&](const platform::TransferProgress& p) {
            bare += p.received > 0;
            return true;
        });
    });

    runtime::App app(std::make_unique<runtime::SteadyClock>());
    Busy& window = app.get<Busy>();
    window.Timer1.start(1);
    window.Timer2.start(10);
    long long events = 0;
    const double pumpSeconds = bestSeconds(3, [&] {
        common::CFileDownload oDownload(app, network);
        oDownload.OnProgress = [&](int64_t, int64_t, int32_t, int32_t, const std::string&) { ++events; };
        // Only the progress reports are counted; the stand-in network's answer is not the measure.
        (void)oDownload.StartDownloading("http://127.0.0.1/video.flv", "unused");
    });

    const double bareRate = kReports / bareSeconds;
    const double pumpRate = kReports / pumpSeconds;
    std::printf("%d progress reports, best of 3 runs\n", kReports);
    std::printf("  bare report loop             : %12.0f reports/s\n", bareRate);
    std::printf("  CFileDownload with the pump  : %12.0f reports/s (%lld timer ticks ran meanwhile)\n",
        pumpRate, window.ticks);
    std::printf("  pump / bare                  : %12.3f (goal: >= 10000 reports/s with the pump)\n",
        pumpRate / bareRate);
    return events == 3LL * kReports ? 0 : 1;
}
