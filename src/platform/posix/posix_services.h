#pragma once
// The POSIX implementations of the shell, process list and drives.
#include "platform/drives.h"
#include "platform/processes.h"
#include "platform/shell.h"

namespace platform {

// xdg-open for documents and addresses, posix_spawn for programs, the file manager's
// show-item call for reveal.
class PosixShell : public Shell {
public:
    Status open(const std::string& address, const std::string& workingFolder = {}) override;
    Status start(const std::string& program, const std::string& arguments, int style) override;
    Status reveal(const std::string& path) override;
};

// Processes from /proc: the image name of each.
class PosixProcesses : public Processes {
public:
    [[nodiscard]] std::vector<ProcessInfo> list() const override;
};

// Volumes from /proc/mounts; removable when the block device says so.
class PosixDrives : public Drives {
public:
    [[nodiscard]] std::vector<Volume> volumes() const override;
};

} // namespace platform
