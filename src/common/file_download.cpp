#include "common/file_download.h"

#include <algorithm>
#include <limits>

#include "platform/network.h"
#include "runtime/app.h"
#include "runtime/controls.h"
#include "runtime/vbtext.h"

namespace common {

namespace {

// The hold on one running transfer; aborting marks it, and the transfer stops at its next
// report.
struct Binding {
    bool aborted = false;
};

} // namespace

// Everything a transfer needs after StartDownloading was entered; it outlives the object
// when a window drops the object while the transfer runs.
struct CFileDownload::State {
    runtime::App* app = nullptr;
    platform::Network* network = nullptr;
    CFileDownload* owner = nullptr;
    platform::DownloadOptions options;

    std::shared_ptr<Binding> pBinding;
    bool fBusy = false;
    int32_t lBindingHeld = 0;
    uint32_t lLastTick = 0;

    // The app's clock as the system's tick count, which wraps.
    [[nodiscard]] uint32_t tick() const { return static_cast<uint32_t>(app->now()); }
    int64_t lLastBytes = 0;

    void OnStartBinding(const std::shared_ptr<Binding>& binding)
    {
        pBinding = binding;
        fBusy = true;
        lBindingHeld = 1;
    }

    void OnStopBinding()
    {
        fBusy = false;
        if (lBindingHeld == 1) {
            pBinding.reset();
            lBindingHeld = 0;
        }
    }

    // Sound: a report made only because nothing arrived runs the pump (so timers, clicks and
    // an abort work during a stall) but raises no event and keeps the speed's baseline, so
    // the speed of the next real report covers the whole time since the previous one.
    bool OnHeartbeat(const Binding& binding)
    {
        app->doEvents();
        return !binding.aborted;
    }

    // One progress report: the speed since the previous report, the event, the pump.
    bool OnProgress(const Binding& binding, const platform::TransferProgress& p)
    {
        // Milliseconds and bytes since the previous report (a new object counts from 0).
        lLastTick = tick() - lLastTick;
        lLastBytes = p.received - lLastBytes;
        // Two reports within one millisecond cannot be divided: the speed stays 0.
        float speed = 0;
        if (lLastTick != 0) {
            const double kbPerSecond = static_cast<double>(lLastBytes) / lLastTick * 1000 / 1024;
            speed = static_cast<float>(vb::Val(vb::Format00(kbPerSecond)));
        }
        const int64_t rounded = vb::bankersRound(speed);
        const auto lSpeed = static_cast<int32_t>(std::clamp<int64_t>(
            rounded, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
        if (owner && owner->OnProgress) {
            // A copy: the handler may drop the object, and with it the stored handler.
            const ProgressHandler handler = owner->OnProgress;
            handler(p.received, p.total, lSpeed, p.statusCode, p.statusText);
        }
        lLastTick = tick();
        lLastBytes = p.received;
        // Timers and clicks of every window run while the transfer waits here.
        app->doEvents();
        return !binding.aborted;
    }
};

CFileDownload::CFileDownload(runtime::App& app, platform::Network& network)
    : m_state(std::make_shared<State>())
{
    m_state->app = &app;
    m_state->network = &network;
    m_state->owner = this;
}

CFileDownload::~CFileDownload()
{
    m_state->owner = nullptr;
}

platform::Result<int> CFileDownload::StartDownloading(const std::string& sSrc, const std::string& sDest)
{
    // Only the state and this frame are used from here on: this object may be gone when a
    // report returns.
    const std::shared_ptr<State> state = m_state;
    if (state->fBusy)
        return platform::Result<int>::failure("a transfer is already running");
    const auto binding = std::make_shared<Binding>();
    int httpStatus = 0;
    const platform::Status result = state->network->download(
        sSrc, sDest,
        [&state, &binding, &httpStatus](const platform::TransferProgress& p) {
            switch (p.phase) {
            case platform::TransferProgress::Start:
                state->OnStartBinding(binding);
                return !binding->aborted;
            case platform::TransferProgress::Progress:
                if (p.heartbeat)
                    return !binding->aborted && state->OnHeartbeat(*binding);
                return !binding->aborted && state->OnProgress(*binding, p);
            case platform::TransferProgress::Stop:
                httpStatus = p.statusCode;
                state->OnStopBinding();
                return true;
            }
            return true;
        },
        state->options);
    if (!result)
        return platform::Result<int>::failure(result.error);
    return platform::Result<int>::success(httpStatus);
}

void CFileDownload::setLimits(long maxSeconds, long long maxBytes)
{
    m_state->options.maxSeconds = maxSeconds;
    m_state->options.maxBytes = maxBytes;
}

void CFileDownload::setResumable(bool resumable)
{
    m_state->options.resumable = resumable;
}

void CFileDownload::setHeaders(std::vector<std::string> headers)
{
    m_state->options.headers = std::move(headers);
}

void CFileDownload::AbortDownloading()
{
    if (m_state->lBindingHeld == 1 && m_state->pBinding)
        m_state->pBinding->aborted = true;
    m_state->fBusy = false;
}

bool CFileDownload::busy() const
{
    return m_state->fBusy;
}

bool downloadInto(std::unique_ptr<CFileDownload>& slot, runtime::App& app, const std::string& source,
    const std::string& target, CFileDownload::ProgressHandler onProgress, long maxSeconds, long long maxBytes)
{
    if (!app.hasService<platform::Network>())
        return false;
    slot = std::make_unique<CFileDownload>(app, app.service<platform::Network>());
    slot->OnProgress = std::move(onProgress);
    slot->setLimits(maxSeconds, maxBytes);
    // The window says only whether the file came; why it did not is not shown.
    const bool done = slot->StartDownloading(source, target).ok();
    slot.reset();
    return done;
}

std::string serverRefusal(int httpStatus)
{
    return httpStatus >= 400 ? "服务器返回" + std::to_string(httpStatus) : std::string();
}

std::string progressMarks(double marks, int fullMarks)
{
    std::string text;
    for (int64_t i = std::clamp<int64_t>(vb::bankersRound(marks), 0, fullMarks); i > 0; --i)
        text += "■";
    return text;
}

void showProgressBar(runtime::Label& label, const std::string& prefix, double marks, int fullMarks)
{
    label.setBarMarks(fullMarks);
    label.setCaption(prefix + progressMarks(marks, fullMarks));
}

} // namespace common
