#pragma once
// The file a download writes before it becomes the target.
#include <string>

namespace platform::curl {

// The hidden file beside target that keeps the bytes of an interrupted resumable download.
std::string partialPath(const std::string& target);

// A download's bytes on their way to the target. A plain download writes a fresh temporary
// file that is removed unless committed. A resumable one continues the hidden partial file
// an earlier attempt left, and keeps it when the attempt fails, so the next attempt asks
// only for the rest.
class DownloadFile {
public:
    DownloadFile(const std::string& target, bool resumable);
    ~DownloadFile();
    DownloadFile(const DownloadFile&) = delete;
    DownloadFile& operator=(const DownloadFile&) = delete;

    bool ok() const { return m_fd >= 0; }
    const std::string& error() const { return m_error; }
    // Bytes an earlier attempt left (0 for a plain download).
    long long existing() const { return m_existing; }
    // Drops the bytes already there and writes from the start again.
    bool restart();
    bool write(const char* data, size_t size);
    // Closes the file and renames it over the target.
    bool commit(const std::string& target);
    // Removes the file when this object ends, even a partial one.
    void discard() { m_keep = false; }

private:
    bool closeFile();

    std::string m_path;
    std::string m_error;
    int m_fd = -1;
    long long m_existing = 0;
    long long m_written = 0;
    bool m_created = false;
    bool m_committed = false;
    bool m_keep = false;
};

} // namespace platform::curl
