#pragma once
// Text files in the system code page with CR LF line ends, rewritten atomically, and sets of
// files that are committed together.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace platform {

// How reading a whole file went.
enum class ReadOutcome {
    Read, // the bytes are the whole file
    Missing, // nothing at the path
    NotRegular, // a folder, FIFO, device or socket: never opened for reading
    TooLarge, // larger than the caller's limit
    Unreadable, // no permission, or the read failed
};

// The largest text file the program reads by default.
constexpr size_t kMaxTextFileBytes = size_t(1) << 31;

// Reads a whole regular file. Only regular files are opened, and the open never waits (a
// FIFO, device or folder is NotRegular). Files larger than maxBytes are refused.
ReadOutcome readFileChecked(const std::string& path, std::string& bytes, size_t maxBytes = kMaxTextFileBytes);
// The same, the bytes only when the whole file was read; otherwise why not.
Result<std::string> readFile(const std::string& path, size_t maxBytes = kMaxTextFileBytes);
// What reading the file would give, without reading it (it is opened and closed).
ReadOutcome probeFile(const std::string& path, size_t maxBytes = kMaxTextFileBytes);

// Reads a text file in codePage and splits it into lines. CR LF, LF and lone CR all end a
// line; a final line without an end is kept; an empty file has no lines. Bytes the code page
// cannot decode are kept as stand-in characters that writeLines turns back into the same
// bytes. A missing or unreadable file gives the reason instead.
Result<std::vector<std::string>> readLines(const std::string& path, const std::string& codePage);
// The same with the outcome and a size limit.
ReadOutcome readLinesChecked(
    const std::string& path, const std::string& codePage, std::vector<std::string>& lines, size_t maxBytes);
// The file bytes of lines: each ended by CR LF, in codePage; stand-ins of undecodable bytes
// become those bytes again.
std::string encodeLines(const std::vector<std::string>& lines, const std::string& codePage);
// Writes lines as encodeLines does, through a temporary file beside the target that is
// renamed over it: readers see the old file or the new one, never a half-written one.
Status writeLines(
    const std::string& path, const std::vector<std::string>& lines, const std::string& codePage);
// Writes bytes through a temporary file beside the target, then renames it over the target.
Status writeFileAtomic(const std::string& path, std::string_view bytes);
// Creates a new file that only its owner can read or write (fails when path exists).
Status writePrivateFile(const std::string& path, std::string_view bytes);
// The same; when durable, the bytes reach the disk before the rename.
Status replaceFile(const std::string& path, std::string_view bytes, bool durable);

// One file of a set committed together, all in one folder.
struct FileContent {
    std::string path;
    std::string bytes;
};
// Replaces every file of the set as one unit: after a crash at any moment (and once
// completeCommit has run) the files are all the old ones or all the new ones. The journal is
// a file in the same folder that marks a commit in progress.
Status commitTogether(const std::string& journal, const std::vector<FileContent>& files);
// Finishes a commit that a crash interrupted after it was decided, or drops one that was
// not; a missing journal needs nothing. Run before reading the files of the set.
void completeCommit(const std::string& journal);
// Completes every interrupted commit whose journal lies in folder.
void completeCommitsIn(const std::string& folder);
// The path of a new temporary file in folder, named by the one rule every temporary file of
// the program follows: ".zelvora-", what it is for, a random part, ".part"
// (".zelvora-joining-3f09c1d2a4b5e6f7.part"); the start-up sweep knows them by it.
std::string temporaryPath(const std::string& folder, std::string_view purpose);
// Whether a file name follows that rule.
bool isProgramTemporaryName(const std::string& fileName);
// Whether a file name is one of the temporary files the writers above, copies and
// downloads leave beside their targets: the rule's, and the names earlier versions used.
bool isTemporaryName(const std::string& fileName);
// Removes the files in folder that isTemporary names and a killed program left: last
// written before this program started and held open by no process. Returns how many.
int removeStaleTemporaries(const std::string& folder, bool (*isTemporary)(const std::string&));

// Whether a file (not a folder) exists at path.
bool fileExists(const std::string& path);
// Whether a folder exists at path (a trailing separator is allowed).
bool folderExists(const std::string& path);
// Whether something other than a regular file is at path, also behind a link: a folder,
// FIFO, device or socket. False when nothing is there. Opens nothing, so it never waits.
bool notRegularFile(const std::string& path);
// Creates one folder (its parent must exist); true when it exists afterwards.
bool createFolder(const std::string& path);
// Deletes a file; a missing file is a failure with its reason.
Status deleteFile(const std::string& path);
// Copies a regular file over its destination (through a temporary file).
Status copyFile(const std::string& from, const std::string& to);
// Size of a file in bytes, or -1.
long long fileSize(const std::string& path);

} // namespace platform
