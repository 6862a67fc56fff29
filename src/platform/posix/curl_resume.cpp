#include "platform/posix/curl_resume.h"

#include "platform/textfile.h"

#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

#include <filesystem>

namespace platform::curl {

namespace {

// The value of header line when its name is name (any case), trimmed.
bool headerValue(const std::string& line, const char* name, std::string& value)
{
    const size_t n = std::char_traits<char>::length(name);
    if (line.size() <= n || line[n] != ':' || strncasecmp(line.data(), name, n) != 0)
        return false;
    const size_t first = line.find_first_not_of(" \t", n + 1);
    const size_t last = line.find_last_not_of(" \t\r\n");
    value = first == std::string::npos || last < first ? std::string() : line.substr(first, last - first + 1);
    return true;
}

// A decimal number of at most 18 digits at the start of text, -1 otherwise.
long long leadingNumber(const std::string& text, size_t& end)
{
    long long value = 0;
    end = 0;
    while (end < text.size() && end < 18 && text[end] >= '0' && text[end] <= '9')
        value = value * 10 + (text[end++] - '0');
    return end == 0 ? -1 : value;
}

// "bytes START-END/TOTAL" of a Content-Range.
void parseContentRange(const std::string& value, ResponseHeaders& headers)
{
    if (strncasecmp(value.c_str(), "bytes ", 6) != 0)
        return;
    const std::string rest = value.substr(6);
    size_t end = 0;
    headers.rangeStart = leadingNumber(rest, end);
    const size_t slash = rest.find('/');
    if (slash != std::string::npos)
        headers.rangeTotal = leadingNumber(rest.substr(slash + 1), end);
}

} // namespace

std::string resumeRecordPath(const std::string& target)
{
    const std::filesystem::path path(target);
    return (path.parent_path() / ("." + path.filename().string() + ".resume")).string();
}

Result<ResumeRecord> readResumeRecord(const std::string& path)
{
    // Only a regular file is read, and only as much as a record can hold.
    const auto text = readFile(path, size_t { 16 } * 1024);
    if (!text)
        return Result<ResumeRecord>::failure(text.error());
    return parseResumeRecord(*text);
}

bool writeResumeRecord(const std::string& path, const ResumeRecord& record)
{
    const std::string text = formatResumeRecord(record);
    const std::string fresh = path + ".new";
    const int fd = ::open(fresh.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    if (::close(fd) != 0 || !written || ::rename(fresh.c_str(), path.c_str()) != 0) {
        ::unlink(fresh.c_str());
        return false;
    }
    return true;
}

size_t captureHeader(char* data, size_t size, size_t count, void* user)
{
    auto* headers = static_cast<ResponseHeaders*>(user);
    const size_t bytes = size * count;
    const std::string line(data, bytes);
    std::string value;
    if (line.starts_with("HTTP/"))
        *headers = ResponseHeaders {};
    else if (headerValue(line, "ETag", value))
        headers->etag = value;
    else if (headerValue(line, "Last-Modified", value))
        headers->lastModified = value;
    else if (headerValue(line, "Content-Range", value))
        parseContentRange(value, *headers);
    return bytes;
}

bool strongValidator(const ResumeRecord& record)
{
    return !record.etag.empty() && record.etag.rfind("W/", 0) != 0;
}

std::string ifRangeValue(const ResumeRecord& record)
{
    // A weak ETag may not stand in an If-Range.
    return strongValidator(record) ? record.etag : record.lastModified;
}

bool continuesRecord(const ResumeRecord& record, const ResponseHeaders& answer, long long offset)
{
    if (answer.rangeStart != offset)
        return false;
    if (!record.etag.empty() && answer.etag != record.etag)
        return false;
    if (!record.lastModified.empty() && answer.lastModified != record.lastModified)
        return false;
    return record.length <= 0 || answer.rangeTotal < 0 || answer.rangeTotal == record.length;
}

} // namespace platform::curl
