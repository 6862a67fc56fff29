#pragma once
// Running processes.
#include <string>
#include <vector>

namespace platform {

struct ProcessInfo {
    int pid = 0;
    // The image name, as the process list describes the process.
    std::string description;
};

class Processes {
public:
    virtual ~Processes() = default;
    [[nodiscard]] virtual std::vector<ProcessInfo> list() const = 0;
    // Whether a process with this image name runs.
    [[nodiscard]] bool running(const std::string& description) const;
};

} // namespace platform
