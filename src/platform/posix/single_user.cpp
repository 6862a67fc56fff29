#include "platform/single_user.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

// Whether path is a folder (not a link to one) of this user's that nobody else may enter.
Status checkPrivate(const std::string& path)
{
    struct stat st { };
    if (::lstat(path.c_str(), &st) != 0)
        return Status::failure(path + ": " + std::strerror(errno));
    if (!S_ISDIR(st.st_mode))
        return Status::failure(path + " is not a folder");
    if (st.st_uid != ::geteuid())
        return Status::failure(path + " belongs to another user");
    if ((st.st_mode & 077) != 0)
        return Status::failure(path + " is open to other users");
    return Status::success();
}

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

Result<std::string> privateSocketFolder()
{
    const std::string runtimeDir = environment("XDG_RUNTIME_DIR");
    if (!runtimeDir.empty() && checkPrivate(runtimeDir))
        return Result<std::string>::success(runtimeDir);
    std::string temp = environment("TMPDIR");
    if (temp.empty())
        temp = "/tmp";
    // Sound: in the shared temporary folder anybody may create any name first, so the folder
    // is only used when it is this user's own and closed to everybody else.
    const std::string own = temp + "/zelvora-" + std::to_string(::geteuid());
    if (::mkdir(own.c_str(), 0700) != 0 && errno != EEXIST)
        return Result<std::string>::failure(own + ": " + std::strerror(errno));
    if (Status checked = checkPrivate(own); !checked)
        return Result<std::string>::failure(std::move(checked.error));
    return Result<std::string>::success(own);
}

bool peerIsThisUser(int socketDescriptor)
{
    struct ucred peer { };
    socklen_t size = sizeof peer;
    return ::getsockopt(socketDescriptor, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && size == sizeof peer
        && peer.uid == ::geteuid();
}

FileLock::FileLock(const std::string& path, const std::string& refusal)
{
    if (!refusal.empty()) {
        m_error = refusal;
        return;
    }
    m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY, 0600);
    if (m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) == 0)
        m_state = Held;
    else if (m_fd >= 0 && errno == EWOULDBLOCK)
        m_state = Busy;
    else
        m_error = path + ": " + std::strerror(errno);
}

FileLock::~FileLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

} // namespace platform
