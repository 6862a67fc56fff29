#pragma once
// A shell that only remembers what it was asked to start: headless runs and tests.
#include <string>
#include <vector>

#include "platform/shell.h"

namespace platform {

class RecordingShell : public Shell {
public:
    Status open(const std::string& address, const std::string& workingFolder = {}) override;
    Status start(const std::string& program, const std::string& arguments, int style) override;
    Status reveal(const std::string& path) override;
    // Every launch in order: "open ADDRESS", "start PATH [ARGS] style=N", "reveal PATH".
    [[nodiscard]] const std::vector<std::string>& launches() const { return m_launches; }
    // The launches since the last call.
    std::vector<std::string> takeLaunches();

private:
    std::vector<std::string> m_launches;
    size_t m_taken = 0;
};

} // namespace platform
