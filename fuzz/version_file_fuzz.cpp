// Fuzz target: the version file the update check downloads, read back from disk in the code
// page the first input byte picks. Whatever the server sent, the published build is nothing
// or one short line of printable text.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "shell/version_file.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    static const fs::path file = [] {
        const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        return base / ("zelvora-fuzz-version-" + std::to_string(getpid()) + ".ini");
    }();
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data + 1), std::streamsize(size - 1));
    const std::string build = shell::publishedBuild(file.string(), data[0] & 1 ? "GBK" : "UTF-8");
    if (build.size() > 64)
        __builtin_trap();
    for (const char c : build) {
        if (c < 0x20 || c >= 0x7F)
            __builtin_trap();
    }
    return 0;
}
