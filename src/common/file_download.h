#pragma once
// The download service every downloading window uses: one address to one file, with
// progress and speed events, synchronous, pumping the app's events at every report.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/result.h"

namespace runtime {
class App;
class Label;
} // namespace runtime

namespace platform {
class Network;
}

namespace common {

// Limits of the downloads the program makes for itself (the flash player, the version file):
// the whole transfer within a minute, and no more bytes than such a file can need.
inline constexpr long kOwnDownloadSeconds = 60;
inline constexpr long long kOwnDownloadBytes = 16LL * 1024 * 1024;

// Copies one URL to one local file and reports its progress. A window creates a fresh
// object for every transfer; the object may be dropped (even from its own progress
// handler) while its transfer runs: the transfer then finishes without further events.
class CFileDownload {
public:
    // The progress event: bytes received, announced length (0 when unknown), speed in whole
    // KB/s, the report's status code and status text.
    using ProgressHandler = std::function<void(int64_t lProgress, int64_t lMaxProgress, int32_t lSpeed,
        int32_t lStatusCode, const std::string& sStatusText)>;

    // The speed is measured on the app's clock, read as a tick count that wraps like the
    // system's tick since start.
    CFileDownload(runtime::App& app, platform::Network& network);
    ~CFileDownload();
    CFileDownload(const CFileDownload&) = delete;
    CFileDownload& operator=(const CFileDownload&) = delete;

    // Downloads sSrc into sDest and returns when the transfer has ended: the server's HTTP
    // status when it succeeded, else why it failed. A failure at once, starting nothing,
    // while this object is busy. The target is replaced only by a complete transfer.
    platform::Result<int> StartDownloading(const std::string& sSrc, const std::string& sDest);
    // Stops the running transfer (its StartDownloading gives a failure) and makes the object
    // idle.
    void AbortDownloading();
    // Whether a transfer of this object is running.
    [[nodiscard]] bool busy() const;
    // Bounds the next transfers: overall seconds and bytes (0: no limit).
    void setLimits(long maxSeconds, long long maxBytes);
    // Lets the next transfers keep what an interrupted one received (in a hidden file beside
    // the target) and continue from it on the next start for the same target, address and
    // version of the file.
    void setResumable(bool resumable);
    // Request headers the next transfers send, each "Name: value".
    void setHeaders(std::vector<std::string> headers);

    // Raised at every progress report, on the calling thread, inside StartDownloading.
    ProgressHandler OnProgress;

private:
    struct State;
    std::shared_ptr<State> m_state;
};

// A window's bounded download of one file: a fresh object in the window's slot while the
// transfer runs (the window drops it to stop the transfer), its reports to onProgress. True
// when the file came whole; false at once when the app has no network.
bool downloadInto(std::unique_ptr<CFileDownload>& slot, runtime::App& app, const std::string& source,
    const std::string& target, CFileDownload::ProgressHandler onProgress, long maxSeconds,
    long long maxBytes);

// What a failed download says about the server: "服务器返回" and its HTTP status when it
// answered with an error status (400 and above), else empty (the connection failed).
std::string serverRefusal(int httpStatus);

// A progress bar's run of marks "■": marks rounded half to even, 0 to fullMarks.
std::string progressMarks(double marks, int fullMarks);
// Shows a download's progress bar on a label: prefix, then its marks, where fullMarks of them
// fill the label to its end.
void showProgressBar(runtime::Label& label, const std::string& prefix, double marks, int fullMarks);

} // namespace common
