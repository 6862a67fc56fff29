#include "platform/textfile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#include "platform/codec.h"
#include "platform/posix/posix_files.h"

namespace fs = std::filesystem;

namespace platform {

ReadOutcome readFileChecked(const std::string& path, std::string& bytes, size_t maxBytes)
{
    return posix::readRegularFile(path, bytes, maxBytes);
}

namespace {

// A read that gave the value, or why it did not.
template <class T> Result<T> resultOf(ReadOutcome outcome, T value, const std::string& path, size_t maxBytes)
{
    switch (outcome) {
    case ReadOutcome::Read:
        return Result<T>::success(std::move(value));
    case ReadOutcome::Missing:
        return Result<T>::failure("no file at " + path);
    case ReadOutcome::NotRegular:
        return Result<T>::failure("not a regular file: " + path);
    case ReadOutcome::TooLarge:
        return Result<T>::failure("larger than " + std::to_string(maxBytes) + " bytes: " + path);
    case ReadOutcome::Unreadable:
        break;
    }
    return Result<T>::failure("cannot read " + path);
}

} // namespace

Result<std::string> readFile(const std::string& path, size_t maxBytes)
{
    std::string bytes;
    const ReadOutcome outcome = readFileChecked(path, bytes, maxBytes);
    return resultOf(outcome, std::move(bytes), path, maxBytes);
}

ReadOutcome probeFile(const std::string& path, size_t maxBytes)
{
    return posix::probeRegularFile(path, maxBytes);
}

namespace {

// Splits decoded text into lines at CR LF, LF or a lone CR.
std::vector<std::string> splitLines(std::string_view text)
{
    std::vector<std::string> lines;
    // Lines are found with memchr (the next line feed, then a carriage return before it):
    // looking each byte up in a set of line ends makes long playlists slow to read. The
    // next line feed is searched again only once the lines have passed it.
    const char* const finish = text.data() + text.size();
    // Counted with memchr too (a byte-wise count is not vectorised and costs as much as the
    // split itself on a long list).
    size_t feeds = 0;
    for (const char* p = text.data();
         (p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(finish - p)))); ++p)
        ++feeds;
    lines.reserve(feeds + 1);
    const char* start = text.data();
    const char* feed = nullptr;
    bool feedKnown = false;
    while (start < finish) {
        if (!feedKnown || (feed && feed < start)) {
            feed = static_cast<const char*>(std::memchr(start, '\n', static_cast<size_t>(finish - start)));
            feedKnown = true;
        }
        const char* end = feed ? feed : finish;
        const char* ret
            = static_cast<const char*>(std::memchr(start, '\r', static_cast<size_t>(end - start)));
        if (ret) {
            // A CR ends the line; with the LF right after it, the pair counts as one end.
            lines.emplace_back(start, ret);
            start = feed && ret + 1 == feed ? feed + 1 : ret + 1;
            continue;
        }
        lines.emplace_back(start, end);
        if (!feed)
            break;
        start = feed + 1;
    }
    return lines;
}

} // namespace

ReadOutcome readLinesChecked(
    const std::string& path, const std::string& codePage, std::vector<std::string>& lines, size_t maxBytes)
{
    lines.clear();
    std::string bytes;
    const ReadOutcome outcome = readFileChecked(path, bytes, maxBytes);
    if (outcome != ReadOutcome::Read)
        return outcome;
    // UTF-8 that reads as it is (the common case) is split where it was read, without a copy.
    if (decodesUnchanged(bytes, codePage)) {
        lines = splitLines(bytes);
        return outcome;
    }
    // A code page this system does not know reads as UTF-8 rather than as nothing.
    auto decoded = tryDecodeKeepingBytes(bytes, codePage);
    lines = splitLines(decoded ? *decoded : decodeKeepingBytes(bytes, "UTF-8"));
    return outcome;
}

Result<std::vector<std::string>> readLines(const std::string& path, const std::string& codePage)
{
    std::vector<std::string> lines;
    const ReadOutcome outcome = readLinesChecked(path, codePage, lines, kMaxTextFileBytes);
    return resultOf(outcome, std::move(lines), path, kMaxTextFileBytes);
}

// Sound: a rewrite goes to a temporary file beside the target and is renamed over it, so a
// crash mid-write never leaves an empty or half-written file.
Status writeFileAtomic(const std::string& path, std::string_view bytes)
{
    return replaceFile(path, bytes, false);
}

Status writePrivateFile(const std::string& path, std::string_view bytes)
{
    if (posix::writeWholeFile(path, bytes, false, true))
        return Status::success();
    const int code = errno;
    // A file that was there before is not this call's to remove.
    std::error_code ignored;
    if (code != EEXIST)
        fs::remove(path, ignored);
    return Status::failure(std::strerror(code));
}

std::string temporaryPath(const std::string& folder, std::string_view purpose)
{
    static thread_local std::mt19937_64 random { std::random_device {}() };
    // A long purpose (a file's name) is cut at a character, so the name stays within 255 bytes.
    size_t cut = std::min<size_t>(purpose.size(), 200);
    while (cut > 0 && cut < purpose.size() && (static_cast<unsigned char>(purpose[cut]) & 0xC0) == 0x80)
        --cut;
    char tail[24];
    std::snprintf(tail, sizeof tail, "-%016llx.part", static_cast<unsigned long long>(random()));
    return (fs::path(folder) / (".zelvora-" + std::string(purpose.substr(0, cut)) + tail)).string();
}

Status replaceFile(const std::string& path, std::string_view bytes, bool durable)
{
    const fs::path target(path);
    const fs::path temp = temporaryPath(target.parent_path().string(), target.filename().string());
    // Sound: a file that is replaced keeps its permissions, so a playlist only its owner may
    // read stays so. The new bytes are written owner-only until they have that mode.
    std::error_code ec;
    const fs::file_status before = fs::status(target, ec);
    const bool keepMode = !ec && fs::is_regular_file(before);
    bool written = posix::writeWholeFile(temp.string(), bytes, durable, keepMode);
    if (written && keepMode) {
        fs::permissions(temp, before.permissions(), ec);
        written = !ec;
    }
    if (!written) {
        Status failed = posix::errnoFailure("cannot write " + path);
        fs::remove(temp, ec);
        return failed;
    }
    fs::rename(temp, target, ec);
    if (ec) {
        fs::remove(temp, ec);
        return Status::failure("cannot replace " + path + ": " + ec.message());
    }
    return Status::success();
}

std::string encodeLines(const std::vector<std::string>& lines, const std::string& codePage)
{
    std::string text;
    size_t total = 0;
    for (const auto& l : lines)
        total += l.size() + 2;
    text.reserve(total);
    for (const auto& l : lines) {
        text += l;
        text += "\r\n";
    }
    // UTF-8 that reads back as it is (the common case) is written as it is, without a copy.
    if (decodesUnchanged(text, codePage))
        return text;
    // A code page this system does not know is written as UTF-8 rather than as nothing.
    auto encoded = tryEncodeKeepingBytes(text, codePage);
    return encoded ? std::move(*encoded) : encodeKeepingBytes(text, "UTF-8");
}

Status writeLines(const std::string& path, const std::vector<std::string>& lines, const std::string& codePage)
{
    return writeFileAtomic(path, encodeLines(lines, codePage));
}

bool fileExists(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(path, ec);
}

bool folderExists(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && fs::is_directory(path, ec);
}

bool notRegularFile(const std::string& path)
{
    std::error_code ec;
    const fs::file_type type = fs::status(path, ec).type();
    return !path.empty() && !ec && type != fs::file_type::not_found && type != fs::file_type::regular;
}

bool createFolder(const std::string& path)
{
    std::error_code ec;
    fs::create_directory(path, ec);
    return folderExists(path);
}

Status deleteFile(const std::string& path)
{
    std::error_code ec;
    if (!fileExists(path))
        return Status::failure("no such file: " + path);
    if (!fs::remove(path, ec))
        return Status::failure("cannot delete " + path + ": " + ec.message());
    return Status::success();
}

Status copyFile(const std::string& from, const std::string& to)
{
    const fs::path target(to);
    const fs::path temp = target.parent_path() / ("." + target.filename().string() + ".part");
    std::string why;
    switch (posix::copyRegularFile(from, temp.string(), why)) {
    case ReadOutcome::Read:
        break;
    case ReadOutcome::Missing:
    case ReadOutcome::NotRegular:
        return Status::failure("no such file: " + from);
    default:
        return Status::failure("cannot copy " + from + ": " + why);
    }
    std::error_code ec;
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return Status::failure("cannot copy to " + to + ": " + ec.message());
    }
    return Status::success();
}

long long fileSize(const std::string& path)
{
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    return ec ? -1 : static_cast<long long>(size);
}

} // namespace platform
