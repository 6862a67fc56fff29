// Fuzz target: the files of a user profile as the program reads them at start: "ini.db" and a
// playlist pair with the commit journal that a killed writer may leave. The input holds the
// journal, the names file, the paths file and the settings file, separated by "\n--\n"; the
// first byte picks the code page. Each file is written into a scratch folder, the journal is
// completed and every file read back as lines.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include "platform/textfile.h"
#include "runtime/vbtext.h"

namespace fs = std::filesystem;

namespace {

const fs::path& scratch()
{
    static const fs::path folder = [] {
        fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        fs::path f = base / ("zelvora-fuzz-profile-" + std::to_string(getpid()));
        fs::create_directories(f);
        return f;
    }();
    return folder;
}

void writeBytes(const fs::path& path, std::string_view bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), std::streamsize(bytes.size()));
}

std::vector<std::string_view> parts(std::string_view text)
{
    std::vector<std::string_view> out;
    while (out.size() < 3) {
        const size_t cut = text.find("\n--\n");
        if (cut == std::string_view::npos)
            break;
        out.push_back(text.substr(0, cut));
        text.remove_prefix(cut + 4);
    }
    out.push_back(text);
    out.resize(4);
    return out;
}

void checkLines(const fs::path& path, const std::string& codePage)
{
    std::vector<std::string> lines;
    platform::readLinesChecked(path.string(), codePage, lines, 1 << 20);
    for (const std::string& line : lines) {
        // A line never holds a line end, whatever bytes the file had.
        if (line.find('\r') != std::string::npos || line.find('\n') != std::string::npos)
            __builtin_trap();
        // The settings' colour line goes through the number reader.
        // Only that it returns matters here, not the number it reads.
        (void)vb::tryLong(line);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const std::string codePage = (data[0] & 1) ? "GBK" : "UTF-8";
    const auto files = parts(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    const fs::path& dir = scratch();
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec))
        fs::remove_all(entry.path(), ec);

    const fs::path journal = dir / "mlist.commit";
    writeBytes(journal, files[0]);
    writeBytes(dir / ".mname.ini.commit-new", files[1]);
    writeBytes(dir / ".mpath.ini.commit-new", files[2]);
    writeBytes(dir / "ini.db", files[3]);

    platform::completeCommit(journal.string());
    // Whole or not, a journal is gone once a reader has seen it.
    if (fs::exists(journal))
        __builtin_trap();
    // A journal names only files of its own folder: nothing appears outside it.
    if (fs::exists(dir.parent_path() / "mname.ini") || fs::exists(dir.parent_path() / "mpath.ini"))
        __builtin_trap();
    checkLines(dir / "mname.ini", codePage);
    checkLines(dir / "mpath.ini", codePage);
    checkLines(dir / "ini.db", codePage);
    return 0;
}
