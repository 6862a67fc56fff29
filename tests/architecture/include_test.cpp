// The layering of the tree, checked on every include of src/, gui/ and app/.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// Which folders each folder may include from (tests/data/architecture/layers.tsv: a folder, then
// the folders it may include from; a folder is named by its path under src/, or gui, gui/web,
// app). Read top to bottom it is the architecture: the runtime knows nothing of ours, the
// platform only the runtime, the shared machinery both, the windows those three and the windows
// they talk to, the assembly and the console sit above the windows, and the front end knows the
// runtime and the platform but never a particular window.
const std::map<std::string, std::set<std::string>>& allowedIncludes()
{
    static const auto table = [] {
        std::map<std::string, std::set<std::string>> out;
        for (const auto& row : testing_support::testRows("architecture/layers.tsv"))
            out[row.name].insert(row.begin(), row.end());
        return out;
    }();
    return table;
}

// Headers of the operating system: only src/platform/posix/ may include them.
const std::regex kOsHeader(
    R"(^(unistd|fcntl|iconv|dirent|signal|spawn|poll|pthread|dlfcn|termios|pwd|grp|langinfo|netdb|glob|wordexp|syslog|windows|sys/.*|netinet/.*|arpa/.*|linux/.*)\.h$)");

struct Include {
    std::string file; // relative to the source root
    int line;
    std::string path; // as written
    bool system; // <...>
};

std::vector<Include> includesOf(const fs::path& root, const fs::path& file)
{
    static const std::regex directive(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
    std::vector<Include> out;
    std::ifstream in(file);
    std::string text;
    int line = 0;
    while (std::getline(in, text)) {
        ++line;
        std::smatch m;
        if (std::regex_search(text, m, directive))
            out.push_back({ fs::relative(file, root).generic_string(), line, m[2], m[1] == "<" });
    }
    return out;
}

// The folder a source file belongs to ("player", "platform/posix", "gui/web", "app").
std::string folderOf(const std::string& file)
{
    std::string dir = fs::path(file).parent_path().generic_string();
    return dir.rfind("src/", 0) == 0 ? dir.substr(4) : dir;
}

std::vector<Include> treeIncludes(const fs::path& root)
{
    std::vector<Include> all;
    for (const char* top : { "src", "gui", "app" }) {
        for (const auto& entry : fs::recursive_directory_iterator(root / top)) {
            const auto ext = entry.path().extension();
            if (entry.is_regular_file() && (ext == ".cpp" || ext == ".h")) {
                auto found = includesOf(root, entry.path());
                all.insert(all.end(), found.begin(), found.end());
            }
        }
    }
    return all;
}

// What breaks the layering: an edge the table does not allow, an include not named from the
// source root, an OS header outside platform/posix, Qt outside the front end.
std::vector<std::string> violations(const std::vector<Include>& includes)
{
    std::vector<std::string> out;
    for (const Include& inc : includes) {
        const std::string from = folderOf(inc.file);
        const std::string where = inc.file + ":" + std::to_string(inc.line) + " includes " + inc.path + ": ";
        if (inc.system) {
            if (from != "platform/posix" && std::regex_match(inc.path, kOsHeader))
                out.push_back(where + "an OS header outside src/platform/posix");
            if (inc.path[0] == 'Q' && from.rfind("gui", 0) != 0)
                out.push_back(where + "Qt outside the front end");
            continue;
        }
        const auto rule = allowedIncludes().find(from);
        if (rule == allowedIncludes().end()) {
            out.push_back(where + "folder " + from + " has no row in the table");
            continue;
        }
        const std::string to = fs::path(inc.path).parent_path().generic_string();
        if (to.empty())
            out.push_back(where + "name includes from the source root");
        else if (!rule->second.count(to))
            out.push_back(where + from + " may not include from " + to);
    }
    return out;
}

TEST(Layering, EveryIncludeFollowsTheTable)
{
    const auto includes = treeIncludes(ZELVORA_SOURCE_DIR);
    ASSERT_GT(includes.size(), 500u) << "the tree was not found at " << ZELVORA_SOURCE_DIR;
    std::string report;
    for (const auto& v : violations(includes))
        report += v + "\n";
    EXPECT_EQ(report, "");
}

// The checker itself: each kind of break is caught, allowed edges pass.
TEST(Layering, TheCheckerCatchesEachKindOfBreak)
{
    const std::vector<std::pair<Include, bool>> cases = {
        { { "src/player/a.cpp", 1, "traymenu/tray_window.h", false }, true },
        { { "src/common/skin.cpp", 1, "traymenu/tray_window.h", false }, false },
        { { "src/platform/services.cpp", 1, "runtime/app.h", false }, true },
        { { "src/runtime/app.cpp", 1, "platform/config.h", false }, false },
        { { "gui/session.cpp", 1, "assembly/program.h", false }, false },
        { { "src/video/x.cpp", 1, "console/console.h", false }, false },
        { { "src/platform/codec.cpp", 1, "iconv.h", true }, false },
        { { "src/platform/posix/iconv_converter.cpp", 1, "iconv.h", true }, true },
        { { "src/player/x.cpp", 1, "sys/stat.h", true }, false },
        { { "src/player/x.cpp", 1, "QString", true }, false },
        { { "gui/x.cpp", 1, "QString", true }, true },
        { { "src/player/x.cpp", 1, "local.h", false }, false },
        { { "src/newfolder/x.cpp", 1, "runtime/app.h", false }, false },
    };
    for (const auto& [inc, allowed] : cases)
        EXPECT_EQ(violations({ inc }).empty(), allowed) << inc.file << " -> " << inc.path;
}

} // namespace
