#pragma once
// Text files in the system code page with CR LF line ends, rewritten atomically.
#include <string>
#include <vector>

#include "platform/result.h"

namespace platform {

// Reads a text file in codePage and splits it into lines. CR LF, LF and lone CR all end a
// line; a final line without an end is kept; an empty file has no lines. Invalid bytes
// become U+FFFD. A missing or unreadable file gives no lines and ok == false.
std::vector<std::string> readLines(const std::string& path, const std::string& codePage, bool* ok = nullptr);
// Writes lines, each ended by CR LF, in codePage, through a temporary file beside the target
// that is renamed over it: readers see the old file or the new one, never a half-written one.
Status writeLines(
    const std::string& path, const std::vector<std::string>& lines, const std::string& codePage);
// Writes bytes through a temporary file beside the target, then renames it over the target.
Status writeFileAtomic(const std::string& path, std::string_view bytes);
// Reads a whole file as bytes; false when it cannot be read. Files larger than maxBytes
// are refused.
bool readFile(const std::string& path, std::string& bytes, size_t maxBytes = size_t(1) << 31);

// Whether a file (not a folder) exists at path.
bool fileExists(const std::string& path);
// Whether a folder exists at path (a trailing separator is allowed).
bool folderExists(const std::string& path);
// Creates one folder (its parent must exist); true when it exists afterwards.
bool createFolder(const std::string& path);
// Deletes a file; a missing file is a failure with its reason.
Status deleteFile(const std::string& path);
// Copies a file over its destination (through a temporary file).
Status copyFile(const std::string& from, const std::string& to);
// Size of a file in bytes, or -1.
long long fileSize(const std::string& path);

} // namespace platform
