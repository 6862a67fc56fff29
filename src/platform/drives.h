#pragma once
// Mounted volumes, their kinds and free space.
#include <string>
#include <vector>

namespace platform {

// Drive types as the platform numbers them.
enum DriveType {
    DriveUnknown = 0,
    DriveNoRoot = 1,
    DriveRemovable = 2,
    DriveFixed = 3,
    DriveRemote = 4,
    DriveCdRom = 5,
    DriveRamDisk = 6
};

struct Volume {
    std::string root; // mount point, the destination root for copies
    int type = DriveUnknown;
    unsigned long long freeBytes = 0;
    unsigned long long totalBytes = 0;
};

class Drives {
public:
    virtual ~Drives() = default;
    // Every mounted volume a user would see, in a stable order.
    [[nodiscard]] virtual std::vector<Volume> volumes() const = 0;
};

} // namespace platform
