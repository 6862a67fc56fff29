#pragma once
// The file a download writes before it becomes the target.
#include <string>

#include "platform/resume_record.h"

namespace platform::curl {

// The hidden file beside target that keeps the bytes of an interrupted resumable download.
std::string partialPath(const std::string& target);

// A download's bytes on their way to the target. A plain download writes a fresh temporary
// file that is removed unless committed. A resumable one continues the hidden partial file
// an earlier attempt left for the same address (its control file says which), and keeps it
// when the attempt fails, so the next attempt asks only for the rest.
class DownloadFile {
public:
    DownloadFile(const std::string& target, bool resumable, const std::string& address = {});
    ~DownloadFile();
    DownloadFile(const DownloadFile&) = delete;
    DownloadFile& operator=(const DownloadFile&) = delete;

    [[nodiscard]] bool ok() const { return m_fd >= 0; }
    [[nodiscard]] const std::string& error() const { return m_error; }
    // Bytes an earlier attempt left for the same address (0 for a plain download).
    [[nodiscard]] long long existing() const { return m_existing; }
    // What those bytes are a part of (meaningful while existing() is not 0).
    [[nodiscard]] const ResumeRecord& record() const { return m_record; }
    // The last bytes (at most count) of those an earlier attempt left; a failure is also
    // kept as error().
    Result<std::string> tail(size_t count);
    // Drops the bytes already there and writes from the start again.
    bool restart();
    // Starts the file afresh for the version record describes: the bytes already there are
    // dropped, and a resumable file's control file names the new version before its first
    // byte is written.
    bool beginVersion(const ResumeRecord& record);
    bool write(const char* data, size_t size);
    // Closes the file and renames it over the target; the control file goes with it.
    bool commit(const std::string& target);
    // Removes the file when this object ends, even a partial one.
    void discard() { m_keep = false; }

private:
    bool closeFile();

    std::string m_path;
    std::string m_recordPath; // empty for a plain download
    ResumeRecord m_record;
    std::string m_error;
    int m_fd = -1;
    long long m_existing = 0;
    long long m_written = 0;
    bool m_created = false;
    bool m_committed = false;
    bool m_keep = false;
};

} // namespace platform::curl
