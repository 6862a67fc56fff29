// The media cache in the designed folder layout: each subfolder of the root is a group, and
// its media files are the entries, both in the order the file system returns them.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/environment.h"
#include "platform/media_cache.h"
#include "platform/posix/posix_files.h"
#include "platform/textfile.h"

namespace platform {

namespace {

namespace fs = std::filesystem;

// The names in a folder of one kind (folders, or regular files), in directory order.
// Symbolic links are neither: a link in the cache is not the cache's own file.
std::vector<std::string> entriesOf(const std::string& folder, bool folders, bool& readable)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    readable = dir != nullptr;
    if (!dir)
        return names;
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        struct stat st;
        if (::fstatat(::dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (folders ? S_ISDIR(st.st_mode) : S_ISREG(st.st_mode))
            names.push_back(name);
    }
    ::closedir(dir);
    return names;
}

bool writeAll(int out, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t w = ::write(out, data, size);
        if (w < 0 && errno == EINTR)
            continue;
        if (w <= 0)
            return false;
        data += w;
        size -= static_cast<size_t>(w);
    }
    return true;
}

// Copies every byte of in to out: inside the kernel where it can, by reading and writing
// where it cannot. The number of bytes copied, or -1.
long long copyStream(int in, int out)
{
    long long total = 0;
    bool kernel = true;
    std::vector<char> buffer;
    while (true) {
        ssize_t n;
        if (kernel) {
            n = ::copy_file_range(in, nullptr, out, nullptr, 1 << 30, 0);
            if (n < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) {
                kernel = false;
                buffer.resize(1 << 20);
                continue;
            }
        } else {
            n = ::read(in, buffer.data(), buffer.size());
            if (n > 0 && !writeAll(out, buffer.data(), static_cast<size_t>(n)))
                return -1;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            return total;
        total += n;
    }
}

int64_t modifiedNs(const struct stat& st)
{
    return static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

// Whether a file is still as the listing found it: the same size and modification time.
bool asListed(const CachedMedia& entry, const struct stat& st)
{
    return (entry.size < 0 || entry.size == st.st_size)
        && (entry.modified < 0 || entry.modified == modifiedNs(st));
}

posix::FileIdentity identityOf(int fd)
{
    struct stat st { };
    ::fstat(fd, &st);
    return { static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino) };
}

class FolderMediaCache : public MediaCache {
public:
    explicit FolderMediaCache(std::string root)
        : m_root(std::move(root))
    {
    }

    MediaListing list() override
    {
        MediaListing listing;
        bool readable = false;
        listing.groups = entriesOf(m_root, true, readable);
        if (!readable) {
            listing.status = Status::failure(m_root + ": " + std::strerror(errno));
            return listing;
        }
        for (size_t k = 0; k < listing.groups.size(); ++k) {
            const std::string folder = m_root + kSeparator + listing.groups[k];
            bool ignored = false;
            for (const std::string& name : entriesOf(folder, false, ignored)) {
                std::string path = folder;
                path += kSeparator;
                path += name;
                if (!isMediaName(path))
                    continue;
                CachedMedia entry;
                entry.group = static_cast<int>(k) + 1;
                entry.source = path;
                entry.extension = mediaExtension(path);
                entry.file = path;
                struct stat st;
                if (::stat(path.c_str(), &st) == 0) {
                    entry.size = st.st_size;
                    entry.modified = modifiedNs(st);
                }
                listing.entries.push_back(std::move(entry));
            }
        }
        return listing;
    }

    MediaStep copy(const CachedMedia& entry, const std::string& target) override
    {
        const int in = ::open(entry.source.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        if (in < 0)
            return MediaStep::Failed;
        struct stat st;
        if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(in);
            return MediaStep::Failed;
        }
        if (!asListed(entry, st)) {
            ::close(in);
            return MediaStep::Changed;
        }
        // Named as a partial download, so what a killed run leaves is cleared at the next start.
        const fs::path to(target);
        const std::string temp
            = (to.parent_path() / (".zelvora-" + to.filename().string() + ".part")).string();
        const int out = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0666);
        if (out < 0) {
            ::close(in);
            return MediaStep::Failed;
        }
        const long long copied = copyStream(in, out);
        struct stat after;
        const bool same = ::fstat(in, &after) == 0 && asListed(entry, after) && copied == after.st_size;
        ::close(in);
        const bool written = ::close(out) == 0 && copied >= 0;
        MediaStep step = MediaStep::Failed;
        // A file that is still being written changes under the copy: it is not whole.
        if (written && !same)
            step = MediaStep::Changed;
        else if (written && ::rename(temp.c_str(), target.c_str()) == 0)
            step = MediaStep::Done;
        if (step != MediaStep::Done)
            ::unlink(temp.c_str());
        return step;
    }

    MediaStep remove(const CachedMedia& entry) override
    {
        const int fd
            = ::open(entry.source.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW);
        if (fd < 0)
            return MediaStep::Failed;
        // Sound: the original goes only while it is the file that was copied: its size and time
        // as listed and no process writing it (a browser still loading the song). A read lease
        // is granted only while no one holds the file open for writing, and a writer that opens
        // it meanwhile waits until it is let go; its break signal is one ignored by default.
        const bool leased = ::fcntl(fd, F_SETSIG, SIGURG) == 0 && ::fcntl(fd, F_SETLEASE, F_RDLCK) == 0;
        const bool writer
            = !leased && (errno == EAGAIN || posix::openFileIdentities(true).count(identityOf(fd)) > 0);
        struct stat st;
        struct stat named;
        MediaStep step = MediaStep::Changed;
        if (::fstat(fd, &st) != 0 || ::lstat(entry.source.c_str(), &named) != 0)
            step = MediaStep::Failed;
        else if (!writer && asListed(entry, st) && named.st_ino == st.st_ino && named.st_dev == st.st_dev)
            step = ::unlink(entry.source.c_str()) == 0 ? MediaStep::Done : MediaStep::Failed;
        if (leased)
            ::fcntl(fd, F_SETLEASE, F_UNLCK);
        ::close(fd);
        return step;
    }

private:
    std::string m_root;
};

} // namespace

std::unique_ptr<MediaCache> folderMediaCache(const std::string& root)
{
    return std::make_unique<FolderMediaCache>(root);
}

} // namespace platform
