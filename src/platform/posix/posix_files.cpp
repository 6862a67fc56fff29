#include "platform/posix/posix_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <fstream>
#include <vector>

namespace platform::posix {

namespace {

int64_t nowNs()
{
    timespec t {};
    ::clock_gettime(CLOCK_REALTIME, &t);
    return static_cast<int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// Taken while the program's static data is set up, before main runs.
const int64_t kStartedAt = nowNs();

// Opens path for reading without blocking and checks it is a regular file within maxBytes.
// Returns the descriptor (or -1) and says why not.
int openRegular(const std::string& path, size_t maxBytes, ReadOutcome& outcome, off_t& size)
{
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer forever.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        outcome = errno == ENOENT || errno == ENOTDIR ? ReadOutcome::Missing : ReadOutcome::Unreadable;
        return -1;
    }
    struct stat st { };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        outcome = ReadOutcome::NotRegular;
        return -1;
    }
    if (static_cast<unsigned long long>(st.st_size) > maxBytes) {
        ::close(fd);
        outcome = ReadOutcome::TooLarge;
        return -1;
    }
    size = st.st_size;
    outcome = ReadOutcome::Read;
    return fd;
}

} // namespace

ReadOutcome readRegularFile(const std::string& path, std::string& bytes, size_t maxBytes)
{
    bytes.clear();
    ReadOutcome outcome = ReadOutcome::Missing;
    off_t size = 0;
    const int fd = openRegular(path, maxBytes, outcome, size);
    if (fd < 0)
        return outcome;
    bytes.resize(static_cast<size_t>(size));
    size_t got = 0;
    // The file may grow or shrink while it is read: read to its end, within the limit.
    for (;;) {
        if (got == bytes.size()) {
            if (bytes.size() >= maxBytes)
                break;
            bytes.resize(std::min(maxBytes, bytes.size() + 65536));
        }
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            bytes.clear();
            return ReadOutcome::Unreadable;
        }
        if (n == 0)
            break;
        got += static_cast<size_t>(n);
    }
    char probe;
    const bool beyondLimit = got == maxBytes && ::read(fd, &probe, 1) > 0;
    ::close(fd);
    bytes.resize(got);
    if (beyondLimit) {
        bytes.clear();
        return ReadOutcome::TooLarge;
    }
    return ReadOutcome::Read;
}

ReadOutcome probeRegularFile(const std::string& path, size_t maxBytes)
{
    ReadOutcome outcome = ReadOutcome::Missing;
    off_t size = 0;
    const int fd = openRegular(path, maxBytes, outcome, size);
    if (fd >= 0)
        ::close(fd);
    return outcome;
}

bool writeWholeFile(const std::string& path, std::string_view bytes, bool durable, bool ownerOnly)
{
    // A file only its owner may read is created new, never written through an existing one.
    const int fd = ownerOnly
        ? ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0600)
        : ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0)
        return false;
    const char* data = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int why = n < 0 ? errno : EIO;
            ::close(fd);
            errno = why;
            return false;
        }
        data += n;
        left -= static_cast<size_t>(n);
    }
    if (durable && ::fdatasync(fd) != 0) {
        const int why = errno;
        ::close(fd);
        errno = why;
        return false;
    }
    return ::close(fd) == 0;
}

Status errnoFailure(const std::string& what)
{
    const int why = errno;
    return Status::failure(what + ": " + std::strerror(why), why == ENOSPC || why == EDQUOT);
}

ReadOutcome copyRegularFile(const std::string& from, const std::string& to, std::string& why)
{
    ReadOutcome outcome = ReadOutcome::Missing;
    off_t size = 0;
    const int in = openRegular(from, SIZE_MAX, outcome, size);
    if (in < 0)
        return outcome;
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0666);
    bool copied = out >= 0;
    std::vector<char> buffer(copied ? 1 << 20 : 0);
    while (copied) {
        const ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            copied = n == 0;
            break;
        }
        for (ssize_t done = 0; copied && done < n;) {
            const ssize_t w = ::write(out, buffer.data() + done, static_cast<size_t>(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            copied = w > 0;
            done += w > 0 ? w : 0;
        }
    }
    if (!copied)
        why = std::strerror(errno);
    ::close(in);
    if (out >= 0 && ::close(out) != 0 && copied) {
        copied = false;
        why = std::strerror(errno);
    }
    if (!copied) {
        ::unlink(to.c_str());
        return ReadOutcome::Unreadable;
    }
    return ReadOutcome::Read;
}

void syncFolder(const std::string& folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

namespace {

// Whether the descriptor's flags (octal in its fdinfo) open it for writing.
bool openedForWriting(const std::string& fdInfo)
{
    std::ifstream in(fdInfo);
    std::string key;
    while (in >> key) {
        if (key == "flags:") {
            unsigned long flags = 0;
            in >> std::oct >> flags;
            return (flags & O_ACCMODE) != O_RDONLY;
        }
    }
    return false;
}

} // namespace

std::set<FileIdentity> openFileIdentities(bool forWritingOnly)
{
    std::set<FileIdentity> open;
    DIR* proc = ::opendir("/proc");
    if (!proc)
        return open;
    while (const dirent* process = ::readdir(proc)) {
        const std::string pid = process->d_name;
        if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const std::string fdFolder = "/proc/" + pid + "/fd";
        DIR* fds = ::opendir(fdFolder.c_str());
        if (!fds)
            continue; // another user's process, or it has just ended
        while (const dirent* fd = ::readdir(fds)) {
            if (fd->d_name[0] == '.')
                continue;
            struct stat st { };
            // stat follows the descriptor's link to the open file itself.
            if (::stat((fdFolder + "/" + fd->d_name).c_str(), &st) == 0 && S_ISREG(st.st_mode)
                && (!forWritingOnly || openedForWriting("/proc/" + pid + "/fdinfo/" + fd->d_name)))
                open.insert({ static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino) });
        }
        ::closedir(fds);
    }
    ::closedir(proc);
    return open;
}

Result<FileStamp> regularFileStamp(const std::string& path)
{
    struct stat st { };
    if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return Result<FileStamp>::failure("no regular file at " + path);
    FileStamp stamp;
    stamp.identity = { static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino) };
    stamp.modifiedNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return Result<FileStamp>::success(stamp);
}

int64_t processStartTime()
{
    return kStartedAt;
}

} // namespace platform::posix
