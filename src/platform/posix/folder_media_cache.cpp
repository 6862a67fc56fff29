// The media cache in the designed folder layout: each subfolder of the root is a group, and
// its media files are the entries, both in the order the file system returns them.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/environment.h"
#include "platform/media_cache.h"
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
                const std::string path = folder + kSeparator + name;
                if (!isMediaName(path))
                    continue;
                CachedMedia entry;
                entry.group = static_cast<int>(k) + 1;
                entry.source = path;
                entry.extension = mediaExtension(path);
                entry.size = fileSize(path);
                listing.entries.push_back(std::move(entry));
            }
        }
        return listing;
    }

    Status copy(const CachedMedia& entry, const std::string& target) override
    {
        const int in = ::open(entry.source.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
        if (in < 0)
            return Status::failure(entry.source + ": " + std::strerror(errno));
        struct stat st;
        if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(in);
            return Status::failure(entry.source + ": not a regular file");
        }
        // Named as a partial download, so what a killed run leaves is cleared at the next start.
        const fs::path to(target);
        const std::string temp
            = (to.parent_path() / (".zelvora-" + to.filename().string() + ".part")).string();
        const int out = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0666);
        if (out < 0) {
            const Status failed = Status::failure(target + ": " + std::strerror(errno));
            ::close(in);
            return failed;
        }
        const long long copied = copyStream(in, out);
        const int why = errno;
        ::close(in);
        const bool closed = ::close(out) == 0;
        Status status;
        if (copied < 0 || !closed)
            status = Status::failure(entry.source + ": " + std::strerror(why));
        // A file that is still being written changes size under the copy: it is not whole.
        else if (copied != static_cast<long long>(st.st_size) || fileSize(entry.source) != copied)
            status = Status::failure(entry.source + ": the file changed while it was copied");
        else if (::rename(temp.c_str(), target.c_str()) != 0)
            status = Status::failure(target + ": " + std::strerror(errno));
        if (!status)
            ::unlink(temp.c_str());
        return status;
    }

    Status remove(const CachedMedia& entry) override { return deleteFile(entry.source); }

private:
    std::string m_root;
};

} // namespace

std::unique_ptr<MediaCache> folderMediaCache(const std::string& root)
{
    return std::make_unique<FolderMediaCache>(root);
}

} // namespace platform
