#include "platform/resume_record.h"

#include <sstream>

namespace platform {

namespace {

constexpr const char* kHeader = "zelvora resume 1";
// Larger text is no record of ours.
constexpr size_t kMaxText = size_t { 16 } * 1024;

// A value fits on its line when it holds no control character.
bool printable(const std::string& value)
{
    for (const char c : value) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return false;
    }
    return true;
}

// A length of one to eighteen decimal digits (so it cannot overflow).
Result<long long> parseLength(const std::string& digits)
{
    if (digits.empty() || digits.size() > 18)
        return Result<long long>::failure("not a length");
    long long length = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return Result<long long>::failure("not a length");
        length = length * 10 + (c - '0');
    }
    return Result<long long>::success(length);
}

} // namespace

std::string formatResumeRecord(const ResumeRecord& record)
{
    std::string text = std::string(kHeader) + "\nurl=" + record.url + "\n";
    // Validators the server sent on several header lines or with control bytes cannot be
    // kept; without them the record still binds the partial file to its address and length.
    if (printable(record.etag))
        text += "etag=" + record.etag + "\n";
    if (printable(record.lastModified))
        text += "modified=" + record.lastModified + "\n";
    text += "length=" + std::to_string(record.length) + "\nend\n";
    return text;
}

Result<ResumeRecord> parseResumeRecord(const std::string& text)
{
    using Parsed = Result<ResumeRecord>;
    if (text.size() > kMaxText)
        return Parsed::failure("longer than a record");
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != kHeader)
        return Parsed::failure("not a record of this program");
    ResumeRecord read;
    bool hasUrl = false;
    bool hasLength = false;
    while (std::getline(in, line)) {
        // The closing line proves the record was written whole.
        if (line == "end")
            break;
        const size_t eq = line.find('=');
        if (eq == std::string::npos || !printable(line))
            return Parsed::failure("a line without key=value");
        const std::string key = line.substr(0, eq);
        const std::string value = line.substr(eq + 1);
        const auto length
            = key == "length" && !hasLength ? parseLength(value) : Result<long long>::failure({});
        if (key == "url" && !hasUrl && !value.empty()) {
            read.url = value;
            hasUrl = true;
        } else if (key == "etag" && read.etag.empty()) {
            read.etag = value;
        } else if (key == "modified" && read.lastModified.empty()) {
            read.lastModified = value;
        } else if (length) {
            read.length = *length;
            hasLength = true;
        } else {
            return Parsed::failure("an unknown, repeated or malformed " + key);
        }
    }
    if (line != "end" || !hasUrl || !hasLength || in.peek() != std::char_traits<char>::eof())
        return Parsed::failure("not a whole record");
    return Parsed::success(std::move(read));
}

} // namespace platform
