#pragma once
// The download list's engine: its rows, N downloads at once, each fetched in pieces K at a
// time, throttled servers waited for, and the list kept in its file after every change.
// Everything runs on the UI thread: the list window's timer moves it on with tick().
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "downloads/download_job.h"
#include "downloads/list_file.h"
#include "platform/pieces.h"

namespace platform {
class Network;
}

namespace downloads {

// What a window puts on the list.
struct JobRequest {
    std::string title {};
    // A file's address or an HLS playlist's.
    std::string url {};
    // Or the addresses of the pieces that joined in order make the file (split segments,
    // fragments); url is then only what the list shows.
    std::vector<std::string> pieces {};
    // The file wanted; a free name is chosen beside it (" (2)") when it is taken.
    std::string file {};
    std::vector<std::string> headers {};
    // The first refusal or broken connection fails it (a window waits to report it).
    bool oneTry = false;
    // The file is replaced when the download completes, instead of a free name being chosen
    // (the pieces of a split video, whose names the join expects).
    bool replace = false;
    // The file's length when the window already asked for it (0: the list asks).
    long long size = 0;
};

class DownloadQueue {
public:
    // The list is kept in listFile; network fetches the pieces.
    DownloadQueue(platform::Network& network, std::string listFile);
    ~DownloadQueue();
    DownloadQueue(const DownloadQueue&) = delete;
    DownloadQueue& operator=(const DownloadQueue&) = delete;

    [[nodiscard]] const std::vector<Job>& jobs() const { return m_jobs; }
    [[nodiscard]] const Job* job(int id) const;
    [[nodiscard]] const QueueSettings& settings() const { return m_settings; }
    void setSettings(const QueueSettings& settings);

    // Puts a download at the end of the list, waiting; its id.
    int add(const JobRequest& request);
    void pause(int id);
    // A paused or failed download waits for its turn again.
    void resume(int id);
    // Stops a download and drops what it fetched; the row stays, failed as cancelled.
    void cancel(int id);
    // Takes the row off the list (stopping it); deleteFile also removes its finished file.
    void remove(int id, bool deleteFile);
    // Whether the first refusal or broken connection fails the download (JobRequest::oneTry).
    void setOneTry(int id, bool oneTry);
    // Moves a row one place up (-1) or down (+1).
    void move(int id, int step);

    // Moves every download on at time nowMs (the app's clock), waiting at most waitMs for the
    // network: ends, starts, waits.
    void tick(int64_t nowMs, int waitMs = 0);
    // The time of the last tick.
    [[nodiscard]] int64_t now() const { return m_now; }
    // Whether anything is waiting or running.
    [[nodiscard]] bool busy() const;
    // Whether the network can fetch pieces at all (a stand-in network of a test may not).
    bool canFetch();
    // Bytes a second of a running download, and seconds left (-1 when unknown).
    [[nodiscard]] long long speed(int id) const;
    [[nodiscard]] long long secondsLeft(int id) const;

    // Raised when a download ends, done or failed.
    std::function<void(const Job&)> onFinished;

private:
    struct Live;
    void save(bool durable = true);
    Job* find(int id);
    [[nodiscard]] bool prepare(Job& job);
    void keepJoinedFragments(Job& job, const std::string& partial);
    [[nodiscard]] bool listFragments(Job& job);
    void startPieces(Job& job, Live& live, int64_t now);
    platform::PieceRequest pieceRequest(const Job& job, Piece& piece, size_t i);
    void handle(const platform::PieceOutcome& outcome, int64_t now);
    [[nodiscard]] static bool keepsVersion(Job& job, const platform::PieceOutcome& outcome);
    void pieceFetched(Job& job, Live& live, Piece& piece);
    static void slowDown(Live& live, const platform::PieceOutcome& outcome, int64_t now);
    void joinFragments(Job& job);
    void complete(Job& job);
    void fail(Job& job, const std::string& reason);
    void restart(Job& job);
    [[nodiscard]] int runningPieces(int id) const;
    void stop(int id);
    void cancelPieces(int id);
    void measure(int64_t now);
    [[nodiscard]] std::string freeName(const std::string& wanted) const;

    platform::Network& m_network;
    std::string m_listFile;
    std::unique_ptr<platform::PieceFetcher> m_fetcher;
    QueueSettings m_settings;
    std::vector<Job> m_jobs;
    std::map<int, std::unique_ptr<Live>> m_live;
    // Running pieces: the fetcher's id, then the download's id and the piece's index.
    std::map<int, std::pair<int, size_t>> m_running;
    int64_t m_now = 0;
    int64_t m_lastSave = 0;
    bool m_dirty = false;
};

} // namespace downloads
