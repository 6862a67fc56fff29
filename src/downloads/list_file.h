#pragma once
// The download list's file in the profile: the settings and every row with its pieces.
#include <string>
#include <vector>

#include "downloads/download_job.h"
#include "platform/result.h"

namespace downloads {

struct ListContent {
    QueueSettings settings;
    std::vector<Job> jobs;
};

// Reads the list; a missing file gives an empty list, malformed lines are skipped and
// out-of-range settings fall back to the defaults. A row that was running comes back waiting.
ListContent readList(const std::string& path);
// Replaces the list at once (written beside it, then renamed over it); durable waits for the
// bytes to reach the disk first.
platform::Status writeList(const std::string& path, const ListContent& content, bool durable = true);

} // namespace downloads
