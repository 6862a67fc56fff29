#pragma once
// Pieces of downloads fetched side by side: each piece is an address, or a byte range of one,
// written into a file at an offset. The caller moves the fetcher on from its own thread (the
// UI thread's timer), so nothing it hands back crosses threads.
#include <memory>
#include <string>
#include <vector>

namespace platform {

// One piece to fetch.
struct PieceRequest {
    std::string url;
    // The file the bytes go into (created when missing, never truncated), and where the
    // first byte of the answer goes in it.
    std::string file;
    long long offset = 0;
    // A byte range of the address (rangeLast inclusive, -1: to its end); -1: the whole body.
    long long rangeFirst = -1;
    long long rangeLast = -1;
    // The version the bytes must belong to (If-Range: an ETag or a date); empty: any.
    std::string ifRange;
    // Bytes the answer must begin with (the range then starts that many bytes early): they
    // are compared with what comes, not written, and an answer that differs is refused.
    std::string overlap;
    // Request headers sent besides the usual ones, each "Name: value".
    std::vector<std::string> headers {};
};

// How a piece ended.
struct PieceOutcome {
    int id = 0;
    bool ok = false;
    // The HTTP status of the answer, 0 when none arrived.
    int status = 0;
    // The server asked to slow down (412, 429, 503) or the connection broke off: worth another
    // try after a pause, on fewer connections.
    bool throttled = false;
    // Seconds the server asked to wait (Retry-After), -1 when it did not say.
    long retryAfterSeconds = -1;
    // A range was asked for and the whole body (or another version, or bytes other than the
    // overlap) came instead.
    bool rangeRefused = false;
    // Bytes written into the file by this piece.
    long long written = 0;
    // The whole length of the address as the answer gave it (Content-Range or Content-Length),
    // 0 when unknown; and its version (a strong ETag, else the modification date).
    long long wholeLength = 0;
    std::string version;
    std::string error;
};

// Runs pieces at once on the calling thread.
class PieceFetcher {
public:
    virtual ~PieceFetcher() = default;
    // Starts a piece; its id (above 0), or 0 when it cannot start (the outcome says why).
    virtual int start(const PieceRequest& request, PieceOutcome* refused = nullptr) = 0;
    // Stops a running piece; no outcome is reported for it.
    virtual void cancel(int id) = 0;
    // Bytes a running piece has written so far.
    [[nodiscard]] virtual long long written(int id) const = 0;
    // The length of the whole body a running piece's answer announced (Content-Length of a
    // 200 answer), 0 while unknown or for a range.
    [[nodiscard]] virtual long long announced(int id) const
    {
        (void)id;
        return 0;
    }
    // Moves every piece on, waiting at most waitMs for network activity, and returns the
    // pieces that ended since the last call.
    virtual std::vector<PieceOutcome> poll(int waitMs) = 0;
    // Pieces running now.
    [[nodiscard]] virtual int running() const = 0;
    // Bytes a second all pieces together may receive, from the next poll on; 0: no limit.
    virtual void setSpeedLimit(long long bytesPerSecond) = 0;
};

// Reads a Retry-After value: seconds, or an HTTP date (seconds from nowEpoch); -1 when it is
// neither. Never more than a day.
long parseRetryAfter(const std::string& value, long long nowEpoch);

} // namespace platform
