#pragma once
// A row of the download list: what is fetched, where it goes, and how far it got.
#include <cstdint>
#include <string>
#include <vector>

namespace downloads {

enum class JobState { Waiting, Running, Paused, Done, Failed };

// The state's word in the list ("等待", "下载中", "已暂停", "已完成", "失败").
const char* stateWord(JobState state);

// One piece of a job: a byte range of the address written at its place in the partial file,
// or one fragment of a list of addresses (written into a file of its own, joined in order).
struct Piece {
    std::string url;
    long long first = -1; // range of the address; -1: the whole body
    long long last = -1;
    long long done = 0; // bytes of the piece already in place
    bool finished = false;
};

// Settings of the whole list.
struct QueueSettings {
    // Downloads running at once.
    int parallel = 3;
    // KB/s for all downloads together; 0: no limit.
    int speedLimitKb = 0;
    // Connections of one download (fragments or ranges fetched at once).
    int connections = 4;
    // Whether a copied video address is offered for download (in a tray notice).
    bool offerCopied = false;
};
inline constexpr int kMaxParallel = 10;
inline constexpr int kMaxConnections = 16;

struct Job {
    int id = 0;
    std::string title;
    // The address of the file, or of an HLS playlist; empty when the pieces are fragments.
    std::string url;
    // The file the download ends as.
    std::string file;
    std::vector<std::string> headers;
    JobState state = JobState::Waiting;
    // Why it failed, in the words the list shows.
    std::string reason;
    // The HTTP status of the server's refusal that failed it, 0 otherwise (not kept in the
    // list file).
    int status = 0;
    // A window waits for it and reports its first failure: a throttling server or a broken
    // connection fails it instead of being waited for. The list file keeps such a row paused
    // while it is unfinished, and not this mark: after a restart the list is patient with it.
    bool oneTry = false;
    // A finished download replaces the file of its name (JobRequest::replace; not kept either).
    bool replace = false;
    // The length the window gave, used instead of asking the server (not kept either).
    long long givenSize = 0;
    long long size = 0; // 0 while unknown
    long long received = 0;
    // Fragments joined into the partial file, in order (fragment jobs only).
    bool fragments = false;
    int joined = 0;
    // The version of the file the ranges belong to (ETag or date), empty when unknown.
    std::string version;
    std::vector<Piece> pieces;
};

// The reason of a download the person cancelled.
inline constexpr const char* kCancelledReason = "已取消";

// The hidden partial file a job's bytes gather in, beside its file.
std::string partialPath(const std::string& file);
// The file of a fragment before it is joined.
std::string fragmentPath(const std::string& file, size_t index);

} // namespace downloads
