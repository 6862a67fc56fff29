// Files committed together, and the temporaries that killed writers leave behind.
//
// A commit writes every new file beside its target as a temporary, flushed to the disk, and
// then decides: a journal naming the targets appears in one rename. From then on the commit
// counts as done; the temporaries are renamed over their targets and the journal removed.
// Whoever finds a journal (the next start, or the next reader) renames the temporaries that
// are still there and removes it; temporaries without a journal are an undecided commit and
// are left for the stale-file sweep. So after any crash the set is the old or the new one.
#include <filesystem>
#include <set>

#include "platform/posix/posix_files.h"
#include "platform/textfile.h"

namespace fs = std::filesystem;

namespace platform {

namespace {

constexpr const char* kJournalHeader = "zelvora commit 1";
constexpr const char* kJournalSuffix = ".commit";
constexpr const char* kNewSuffix = ".commit-new";
// A journal is a short list of names; anything longer is not one of ours.
constexpr size_t kMaxJournalBytes = size_t { 64 } * 1024;

// The temporary that holds a target's new bytes until the commit is applied.
fs::path newFileOf(const fs::path& target)
{
    return target.parent_path() / ("." + target.filename().string() + kNewSuffix);
}

// A bare file name: what a journal may name.
bool isBareName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos
        && name.find('\0') == std::string::npos;
}

// The targets a journal names, or nothing when it is not a whole journal.
bool journalTargets(const std::string& text, std::vector<std::string>& names)
{
    size_t start = 0;
    bool header = true;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        if (end == std::string::npos)
            return false; // every line of a journal is ended
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (header) {
            if (line != kJournalHeader)
                return false;
            header = false;
        } else if (isBareName(line)) {
            names.push_back(line);
        } else {
            return false;
        }
    }
    return !header && !names.empty();
}

void removeQuietly(const fs::path& path)
{
    std::error_code ec;
    fs::remove(path, ec);
}

} // namespace

Status commitTogether(const std::string& journal, const std::vector<FileContent>& files)
{
    const fs::path journalPath(journal);
    const fs::path folder = journalPath.parent_path();
    if (!journalPath.filename().string().ends_with(kJournalSuffix))
        return Status::failure("a journal's name ends with .commit: " + journal);
    for (const FileContent& f : files) {
        if (fs::path(f.path).parent_path() != folder)
            return Status::failure("files committed together share the journal's folder: " + f.path);
    }
    // An earlier commit that a crash interrupted is applied first, so it cannot later
    // overwrite this one.
    completeCommit(journal);

    std::string text = std::string(kJournalHeader) + "\n";
    for (const FileContent& f : files) {
        const fs::path temp = newFileOf(f.path);
        if (!posix::writeWholeFile(temp.string(), f.bytes, true)) {
            Status failed = posix::errnoFailure("cannot write " + f.path);
            for (const FileContent& written : files)
                removeQuietly(newFileOf(written.path));
            return failed;
        }
        text += fs::path(f.path).filename().string() + "\n";
    }
    // The decision: once the journal exists, the new files are the playlist.
    if (Status decided = replaceFile(journal, text, true); !decided) {
        for (const FileContent& f : files)
            removeQuietly(newFileOf(f.path));
        return decided;
    }
    posix::syncFolder(folder.string());
    for (const FileContent& f : files) {
        std::error_code ec;
        fs::rename(newFileOf(f.path), f.path, ec);
        if (ec) // the journal stays, and the next reader finishes the commit
            return Status::failure("cannot replace " + f.path + ": " + ec.message());
    }
    posix::syncFolder(folder.string());
    removeQuietly(journalPath);
    return Status::success();
}

void completeCommit(const std::string& journal)
{
    std::string text;
    const ReadOutcome outcome = readFileChecked(journal, text, kMaxJournalBytes);
    if (outcome == ReadOutcome::Missing)
        return;
    const fs::path folder = fs::path(journal).parent_path();
    std::vector<std::string> names;
    // A journal that is not whole was never written by a commit: the commit it would name
    // was not decided, and the targets stay as they are.
    if (outcome == ReadOutcome::Read && journalTargets(text, names)) {
        for (const std::string& name : names) {
            const fs::path temp = newFileOf(folder / name);
            std::error_code ec;
            if (!fs::is_regular_file(fs::symlink_status(temp, ec)))
                continue; // already applied before the crash
            fs::rename(temp, folder / name, ec);
            if (ec)
                return; // try again at the next reader
        }
        posix::syncFolder(folder.string());
    }
    removeQuietly(journal);
}

void completeCommitsIn(const std::string& folder)
{
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.starts_with(".") && name.ends_with(kJournalSuffix))
            completeCommit(it->path().string());
    }
}

bool isTemporaryName(const std::string& name)
{
    if (!name.starts_with(".") || name.size() < 3)
        return false;
    if (isProgramTemporaryName(name) || name.ends_with(kNewSuffix) || name.ends_with(".part"))
        return true;
    // The atomic rewrite's temporaries: ".NAME.tmp" and up to six digits.
    const size_t tmp = name.rfind(".tmp");
    if (tmp == std::string::npos || tmp == 0)
        return false;
    const std::string digits = name.substr(tmp + 4);
    return !digits.empty() && digits.size() <= 6
        && digits.find_first_not_of("0123456789") == std::string::npos;
}

bool isProgramTemporaryName(const std::string& name)
{
    return name.starts_with(".zelvora-") && name.ends_with(".part");
}

int removeStaleTemporaries(const std::string& folder, bool (*isTemporary)(const std::string&))
{
    struct Candidate {
        fs::path path;
        posix::FileIdentity identity;
    };
    std::vector<Candidate> candidates;
    const int64_t started = posix::processStartTime();
    // While a journal is still there, its new files are needed to finish the commit.
    bool journalPending = false;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        journalPending = journalPending || (name.starts_with(".") && name.ends_with(kJournalSuffix));
    }
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& path = it->path();
        if ((journalPending && path.filename().string().ends_with(kNewSuffix))
            || !isTemporary(path.filename().string()))
            continue;
        // Only what was last written before this program started can be a killed run's.
        const auto stamp = posix::regularFileStamp(path.string());
        if (stamp && stamp->modifiedNs < started)
            candidates.push_back({ path, stamp->identity });
    }
    if (candidates.empty())
        return 0;
    // A temporary that a running process holds open is still being written.
    const std::set<posix::FileIdentity> open = posix::openFileIdentities();
    int removed = 0;
    for (const Candidate& c : candidates) {
        std::error_code gone;
        if (!open.count(c.identity) && fs::remove(c.path, gone))
            ++removed;
    }
    return removed;
}

} // namespace platform
