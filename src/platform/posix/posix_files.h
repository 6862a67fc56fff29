#pragma once
// File calls that need the operating system: reading only regular files without ever
// blocking, writing a file through to the disk, and telling which files are open.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "platform/textfile.h"

namespace platform::posix {

// Reads a whole regular file. The path is opened without blocking (a FIFO that appears in a
// race is refused, not waited on) and checked to be a regular file before a byte is read.
ReadOutcome readRegularFile(const std::string& path, std::string& bytes, size_t maxBytes);
// Whether a regular file at path could be read whole within maxBytes (it is opened, not read).
// A missing file gives Missing.
ReadOutcome probeRegularFile(const std::string& path, size_t maxBytes);

// Creates or truncates a file, writes bytes and, when durable, flushes them to the disk
// before closing. False with errno set when any step fails.
bool writeWholeFile(const std::string& path, std::string_view bytes, bool durable, bool ownerOnly = false);
// The failure errno names, described as doing what failed; diskFull when the disk or the
// quota was full.
Status errnoFailure(const std::string& what);
// Copies a regular file (opened as readRegularFile opens it) into a new file at to; a
// partial copy is removed. Read when it worked; otherwise why says what failed.
ReadOutcome copyRegularFile(const std::string& from, const std::string& to, std::string& why);
// Flushes a folder's entries (renames into it) to the disk; failures are ignored.
void syncFolder(const std::string& folder);

// A file's identity on this machine: device and inode.
using FileIdentity = std::pair<uint64_t, uint64_t>;
// The identities of the files that this user's processes hold open, or only those they hold
// open for writing (as far as the system lets us look).
std::set<FileIdentity> openFileIdentities(bool forWritingOnly = false);
// A regular file's identity and modification time (nanoseconds since the epoch).
struct FileStamp {
    FileIdentity identity;
    int64_t modifiedNs = 0;
};
// The stamp of the regular file at path; a failure when there is none there.
Result<FileStamp> regularFileStamp(const std::string& path);
// When this process started, in nanoseconds since the epoch.
int64_t processStartTime();

} // namespace platform::posix
