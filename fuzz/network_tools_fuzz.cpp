// Fuzz target: what the toolbox's network tools read back. The input, in the code page its
// first byte picks, is written as the interface list "wan.txt", the last shared connection
// "wan.db" and the DNS record file, and read as each; the rest is also read as nmcli's terse
// output.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/network_jobs.h"
#include "platform/posix/step_job.h"
#include "platform/textfile.h"
#include "toolbox/tool_files.h"

namespace fs = std::filesystem;

namespace {

const std::string& toolFolder()
{
    static const std::string folder = [] {
        const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        const fs::path f = base / ("zelvora-fuzz-tools-" + std::to_string(getpid()));
        fs::create_directories(f);
        return f.string() + "/";
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const platform::JobPlace place { toolFolder(), data[0] & 1 ? "GBK" : "UTF-8" };
    for (const char* name : { platform::kInterfaceListFile, platform::kDnsRecordFile })
        std::ofstream(place.toolFolder + name, std::ios::binary | std::ios::trunc) << bytes;

    std::vector<std::string> lines;
    platform::readLinesChecked(
        place.toolFolder + platform::kInterfaceListFile, place.codePage, lines, 1 << 20);
    for (const std::string& line : toolbox::connectedLines(lines)) {
        // The name follows the rightmost run of ten spaces, so it holds none.
        std::string name;
        if (toolbox::interfaceName(line, name) && name.find(std::string(10, ' ')) != std::string::npos)
            __builtin_trap();
    }
    // The last line as the previous shared connection: one a script would misread is left out.
    if (!lines.empty())
        toolbox::hasScriptCharacter(lines.back());

    for (const platform::DnsRecord& r : platform::readDnsRecords(place)) {
        for (const std::string* field : { &r.uuid, &r.device, &r.name, &r.servers, &r.ignoreAuto }) {
            if (field->find_first_of("\t\r\n") != std::string::npos)
                __builtin_trap();
        }
    }

    for (const std::string& line : platform::outputLines(bytes)) {
        if (line.find('\n') != std::string::npos)
            __builtin_trap();
        size_t fieldBytes = 0;
        for (const std::string& field : platform::terseFields(line))
            fieldBytes += field.size();
        if (fieldBytes > line.size())
            __builtin_trap();
    }
    return 0;
}
