#pragma once
// Resuming a download only where it is the same file: the control file beside the partial
// bytes, and the answer's validators compared with it.
#include <cstddef>
#include <string>

#include "platform/resume_record.h"

namespace platform::curl {

// The hidden control file beside target that says what its partial file is a part of.
std::string resumeRecordPath(const std::string& target);
// Reads the control file; a failure when it is missing or is not a whole record.
Result<ResumeRecord> readResumeRecord(const std::string& path);
// Replaces the control file at once (a new file renamed over it).
bool writeResumeRecord(const std::string& path, const ResumeRecord& record);

// What the last response of a transfer said about the version of its body.
struct ResponseHeaders {
    std::string etag;
    std::string lastModified;
    long long rangeStart = -1; // of a Content-Range, -1 without one
    long long rangeTotal = -1; // of a Content-Range, -1 when absent or "*"
};

// A libcurl header callback that fills a ResponseHeaders (user data); every response of a
// transfer (redirects included) starts it afresh.
size_t captureHeader(char* data, size_t size, size_t count, void* user);

// The If-Range value that asks for the rest only of the recorded version: a strong ETag, else
// the modification date; empty when the record has neither.
std::string ifRangeValue(const ResumeRecord& record);

// Whether the record names its version with a strong ETag, which no other version shares.
bool strongValidator(const ResumeRecord& record);

// Whether a partial answer continues the recorded version at offset: the same validators
// (where the record has them), the same whole length, and the rest from offset.
bool continuesRecord(const ResumeRecord& record, const ResponseHeaders& answer, long long offset);

} // namespace platform::curl
