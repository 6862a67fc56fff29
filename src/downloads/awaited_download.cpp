#include "downloads/awaited_download.h"

#include <algorithm>
#include <vector>

#include "downloads/list_window.h"
#include "runtime/app.h"

namespace downloads {

namespace {

// Milliseconds one step of the wait gives the network.
constexpr int kStepMs = 50;

bool unfinished(const Job& job)
{
    return job.state != JobState::Done;
}

// Whether a row fetches the pieces the request names (none: the address as one file).
bool samePieces(const Job& job, const JobRequest& request)
{
    if (!job.fragments || job.pieces.size() != request.pieces.size())
        return !job.fragments && request.pieces.empty();
    for (size_t i = 0; i < job.pieces.size(); ++i) {
        if (job.pieces[i].url != request.pieces[i])
            return false;
    }
    return true;
}

// The row the request goes on: the list's unfinished row of the same file from the same
// address or pieces (so a second click or a run after a kill continues its bytes), else a
// new one.
int rowFor(DownloadQueue& queue, const JobRequest& request)
{
    std::vector<int> others;
    for (const Job& job : queue.jobs()) {
        if (job.file != request.file || !unfinished(job))
            continue;
        if (job.url == request.url && job.headers == request.headers && samePieces(job, request)) {
            const int id = job.id;
            queue.setOneTry(id, request.oneTry);
            queue.resume(id);
            return id;
        }
        others.push_back(job.id);
    }
    for (const int id : others)
        queue.remove(id, false);
    return queue.add(request);
}

} // namespace

int putOnList(runtime::App& app, const JobRequest& request)
{
    const int id = rowFor(downloadQueue(app), request);
    resumeDownloads(app);
    if (xiazai* list = app.find<xiazai>())
        list->refresh();
    return id;
}

AwaitedDownload downloadAndWait(runtime::App& app, const JobRequest& request, const AwaitProgress& progress)
{
    const int id = putOnList(app, request);
    return awaitDownload(app, id, progress);
}

AwaitedDownload awaitDownload(runtime::App& app, int id, const AwaitProgress& progress)
{
    DownloadQueue& queue = downloadQueue(app);
    AwaitedDownload result;
    result.id = id;
    // On a virtual clock (the console, tests) time stands still inside a handler: each step
    // stands for the time it gave the network, so waits the server asked for still pass and
    // speeds measured on the clock are the network's. The
    // time goes on from the list's last step, so one wait after another never goes back.
    const bool virtualTime = dynamic_cast<runtime::VirtualClock*>(&app.clock()) != nullptr;
    const int64_t began = virtualTime ? std::max(app.now(), queue.now()) : 0;
    int64_t spent = 0;
    for (;;) {
        const Job* job = queue.job(result.id);
        if (!job) {
            // Taken off the list meanwhile.
            result.state = JobState::Failed;
            return result;
        }
        result.state = job->state;
        result.status = job->status;
        result.reason = job->reason;
        result.file = job->file;
        if (job->state != JobState::Waiting && job->state != JobState::Running) {
            // The finished file's last figures, as a transfer's last report gives them.
            if (job->state == JobState::Done && progress)
                progress(job->received, job->size, virtualTime ? began + spent : app.now());
            return result;
        }
        if (!queue.canFetch())
            return result;
        const int64_t now = virtualTime ? began + spent : app.now();
        if (progress && !progress(job->received, job->size, now)) {
            // The window went away: the list carries the download on, patient as with its own.
            queue.setOneTry(result.id, false);
            return result;
        }
        const int64_t stepBegan = runtime::steadyNowMs();
        queue.tick(now, kStepMs);
        // The step stands for the time the network took, which is real.
        if (virtualTime)
            spent += std::clamp<int64_t>(runtime::steadyNowMs() - stepBegan, 1, kStepMs);
        app.doEvents();
    }
}

} // namespace downloads
