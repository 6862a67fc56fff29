#include "video/download_folder.h"

#include <filesystem>

#include "platform/environment.h"
#include "platform/textfile.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"

namespace video {

namespace {

constexpr size_t kMaxNameCharacters = 120;
// File systems here count a name in bytes (255 at most); the suffix "(NNNN).flv" and a
// hidden partial file's dot and ending must still fit.
constexpr size_t kMaxNameBytes = 200;
constexpr const char* kStandInName = "未命名视频";

bool reserved(char32_t c)
{
    return c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"'
        || c == '<' || c == '>' || c == '|';
}

// Sound: the marks and controls that change the direction text is drawn in ("电影\u202Egpj.exe"
// shows as "电影exe.jpg") would let a title hide a name's real extension; they are dropped.
bool bidiControl(char32_t c)
{
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x200E || c == 0x200F
        || c == 0x061C;
}

} // namespace

std::string downloadFolder(const runtime::App& app)
{
    return platform::joinPath(app.service<platform::Environment>().desktopFolder(), kDownloadFolderName);
}

bool ensureDownloadFolder(const runtime::App& app)
{
    const std::string folder = downloadFolder(app);
    if (platform::folderExists(folder))
        return true;
    // The desktop itself may be missing on a fresh account.
    const std::string desktop = app.service<platform::Environment>().desktopFolder();
    return (platform::folderExists(desktop) || platform::createFolder(desktop))
        && platform::createFolder(folder);
}

std::string safeFileName(std::string_view name)
{
    std::string out;
    size_t characters = 0;
    bool meaningful = false;
    size_t i = 0;
    while (i < name.size() && characters < kMaxNameCharacters) {
        char32_t c = vb::decodeUtf8(name, i);
        if (bidiControl(c))
            continue;
        if (reserved(c))
            c = '_';
        // No leading dots or blanks: the name must not become hidden or look empty.
        if (out.empty() && (c == '.' || c == ' '))
            continue;
        std::string piece;
        vb::appendUtf8(piece, c);
        if (out.size() + piece.size() > kMaxNameBytes)
            break;
        out += piece;
        ++characters;
        meaningful = meaningful || (c != '_' && c != ' ' && c != '.');
    }
    while (!out.empty() && (out.back() == '.' || out.back() == ' '))
        out.pop_back();
    return meaningful ? out : std::string(kStandInName);
}

std::string unusedName(
    const runtime::App& app, const std::string& name, const std::vector<std::string>& endings)
{
    namespace fs = std::filesystem;
    const fs::path folder(downloadFolder(app));
    // Anything under a name counts as taken, a dangling link too; a name that cannot be
    // looked at does not (the download reports its own failure). The folder holds finitely
    // many names, so a free one comes.
    const auto taken = [&](const std::string& candidate) {
        for (const std::string& ending : endings) {
            std::error_code ec;
            const fs::file_type type = fs::symlink_status(folder / (candidate + ending), ec).type();
            if (type != fs::file_type::not_found && type != fs::file_type::none)
                return true;
        }
        return false;
    };
    std::string candidate = name;
    for (int n = 2; taken(candidate); ++n)
        candidate = name + " (" + std::to_string(n) + ")";
    return candidate;
}

} // namespace video
