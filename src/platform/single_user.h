#pragma once
// What keeps one user's program to that user: a private folder for its local sockets, the
// user at the other end of a socket, and a lock that keeps a second program off a profile.
#include <string>

#include "platform/result.h"

namespace platform {

// The folder for this user's local sockets: $XDG_RUNTIME_DIR when it is a folder of this
// user's that nobody else may enter, else "zelvora-" and the user id in the temporary folder
// ($TMPDIR or /tmp), created private when missing. A folder at that name that belongs to
// another user or that others may enter, or anything that is not a folder, is refused: the
// result says why.
Result<std::string> privateSocketFolder();
// Whether the process at the other end of a connected local socket runs as this user.
bool peerIsThisUser(int socketDescriptor);

// An exclusive lock on a file (created when missing), taken without waiting and held while
// the object lives; the system drops it when the process ends, however it ends.
class FileLock {
public:
    enum State {
        Held, // this process holds the lock
        Busy, // another process holds it
        Unavailable, // the file cannot be opened or locked (a read-only profile)
    };
    // With a refusal (a reason the file may not be used) nothing is locked: the lock is
    // Unavailable with that reason.
    explicit FileLock(const std::string& path, const std::string& refusal = {});
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    [[nodiscard]] State state() const { return m_state; }
    // Why the lock is Unavailable ("" otherwise).
    [[nodiscard]] const std::string& error() const { return m_error; }

private:
    int m_fd = -1;
    State m_state = Unavailable;
    std::string m_error;
};

} // namespace platform
