#pragma once
// What a partial download is a part of: the small control file kept beside its bytes.
#include <string>

#include "platform/result.h"

namespace platform {

// The address a partial file came from and the server's validators of that version; a
// download continues the partial file only for the same address and the same version.
struct ResumeRecord {
    std::string url;
    std::string etag; // empty when the server sent none
    std::string lastModified; // empty when the server sent none
    long long length = 0; // the whole file's length, 0 when unknown
};

// The control file's text for a record.
std::string formatResumeRecord(const ResumeRecord& record);
// Reads a control file's text; a failure for anything that is not a whole record this
// program wrote (then the partial file is no start for a resume).
Result<ResumeRecord> parseResumeRecord(const std::string& text);

} // namespace platform
