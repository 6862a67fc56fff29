#include "platform/posix/curl_files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#include "platform/posix/curl_resume.h"

namespace platform::curl {

namespace {

namespace fs = std::filesystem;

// The folder of the target, or an error when the target is not a file path.
bool targetFolder(const std::string& target, fs::path& folder, std::string& error)
{
    std::error_code ec;
    const fs::path targetPath(target);
    if (target.empty() || targetPath.filename().empty() || fs::is_directory(targetPath, ec)) {
        error = "the target is not a file path";
        return false;
    }
    folder = targetPath.parent_path();
    if (folder.empty())
        folder = ".";
    return true;
}

} // namespace

std::string partialPath(const std::string& target)
{
    const fs::path path(target);
    return (path.parent_path() / ("." + path.filename().string() + ".partial")).string();
}

DownloadFile::DownloadFile(const std::string& target, bool resumable, const std::string& address)
{
    fs::path folder;
    if (!targetFolder(target, folder, m_error))
        return;
    if (resumable) {
        m_path = partialPath(target);
        m_fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        // Two transfers into one partial file would mix their bytes.
        if (m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(m_fd);
            m_fd = -1;
            m_error = "the file is being downloaded already: " + target;
            return;
        }
        struct stat st { };
        if (m_fd >= 0 && ::fstat(m_fd, &st) == 0 && S_ISREG(st.st_mode)) {
            m_existing = static_cast<long long>(st.st_size);
            ::lseek(m_fd, 0, SEEK_END);
        } else if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
            errno = EINVAL;
        }
        m_created = m_fd >= 0;
        m_keep = true;
        m_written = m_existing;
        m_recordPath = resumeRecordPath(target);
        // A control file whose writing was cut off is no record (this process holds the lock).
        ::unlink((m_recordPath + ".new").c_str());
        // Sound: bytes continue only what the same address sent before, as the control file
        // says; bytes of another address, of an unknown one or beyond the recorded length are
        // dropped, and the download starts from zero.
        const auto recorded = readResumeRecord(m_recordPath);
        if (recorded)
            m_record = *recorded;
        const bool sameFile
            = recorded && m_record.url == address && (m_record.length <= 0 || m_existing < m_record.length);
        if (m_fd >= 0 && m_existing > 0 && !sameFile && !restart())
            closeFile();
    } else {
        thread_local std::mt19937_64 random(std::random_device {}());
        for (int attempt = 0; attempt < 16 && m_fd < 0; ++attempt) {
            char name[48];
            std::snprintf(
                name, sizeof name, ".zelvora-%016llx.part", static_cast<unsigned long long>(random()));
            m_path = (folder / name).string();
            m_fd = ::open(m_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (m_fd < 0 && errno != EEXIST)
                break;
        }
        m_created = m_fd >= 0;
    }
    if (m_fd < 0)
        m_error = "cannot write into " + folder.string() + ": " + std::strerror(errno);
}

DownloadFile::~DownloadFile()
{
    closeFile();
    // An empty partial file helps no later attempt, nor does its control file.
    if (m_created && !m_committed && (!m_keep || m_written == 0)) {
        ::unlink(m_path.c_str());
        if (!m_recordPath.empty())
            ::unlink(m_recordPath.c_str());
    }
}

Result<std::string> DownloadFile::tail(size_t count)
{
    const long long from = std::max(0LL, m_existing - static_cast<long long>(count));
    std::string bytes(static_cast<size_t>(m_existing - from), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n
            = ::pread(m_fd, bytes.data() + done, bytes.size() - done, from + static_cast<off_t>(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_error = std::string("cannot read the partial file: ") + std::strerror(errno);
            return Result<std::string>::failure(m_error);
        }
        done += static_cast<size_t>(n);
    }
    return Result<std::string>::success(std::move(bytes));
}

bool DownloadFile::restart()
{
    if (::ftruncate(m_fd, 0) != 0 || ::lseek(m_fd, 0, SEEK_SET) != 0) {
        m_error = std::string("cannot rewrite the file: ") + std::strerror(errno);
        return false;
    }
    m_existing = 0;
    m_written = 0;
    return true;
}

bool DownloadFile::beginVersion(const ResumeRecord& record)
{
    if (m_written > 0 && !restart())
        return false;
    m_record = record;
    if (!m_recordPath.empty() && !writeResumeRecord(m_recordPath, record)) {
        m_error = "cannot write " + m_recordPath + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool DownloadFile::write(const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(m_fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            m_error = std::string("cannot write the file: ") + std::strerror(errno);
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
        m_written += n;
    }
    return true;
}

bool DownloadFile::commit(const std::string& target)
{
    if (!closeFile())
        return false;
    if (::rename(m_path.c_str(), target.c_str()) != 0) {
        m_error = "cannot replace " + target + ": " + std::strerror(errno);
        return false;
    }
    m_committed = true;
    if (!m_recordPath.empty())
        ::unlink(m_recordPath.c_str());
    return true;
}

bool DownloadFile::closeFile()
{
    if (m_fd < 0)
        return true;
    const int r = ::close(m_fd);
    m_fd = -1;
    if (r != 0) {
        m_error = std::string("cannot finish the file: ") + std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace platform::curl
