#pragma once
// A download a window waits for: the designed download buttons put their job on the list and
// keep telling its progress in their own labels until it ends there.
#include <functional>
#include <string>

#include "downloads/download_queue.h"

namespace runtime {
class App;
}

namespace downloads {

// How the awaited download stands when the wait ends.
struct AwaitedDownload {
    int id = 0;
    // Done, Failed or Paused; Running or Waiting when the window stopped waiting first.
    JobState state = JobState::Waiting;
    // The HTTP status of the server's refusal that failed it, 0 otherwise.
    int status = 0;
    // Why it failed, in the list's words.
    std::string reason;
    // The file it is saved as.
    std::string file;
};

// Told the bytes received, the whole size (0 while unknown) and the time of the step on the
// app's clock at every step; false stops the wait (the window went away) and leaves the
// download running on the list.
using AwaitProgress = std::function<bool(long long received, long long size, int64_t nowMs)>;

// Puts the download on the list and waits for it to end, letting every window's events run.
// An unfinished row of the same file goes on instead when it fetches the same address (its
// bytes are kept); one from another address is dropped first.
AwaitedDownload downloadAndWait(runtime::App& app, const JobRequest& request, const AwaitProgress& progress);

// The two halves of it, for a window that keeps several downloads on the list and waits for
// one at a time: puts the download on the list (as above) and gives its row's id; waits for
// row id to end.
int putOnList(runtime::App& app, const JobRequest& request);
AwaitedDownload awaitDownload(runtime::App& app, int id, const AwaitProgress& progress);

} // namespace downloads
