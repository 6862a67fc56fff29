// The playlist menu's file commands: copy the selected file to a removable disk, show it in
// the file manager, remove it from the list, delete it, and clear both playlists.
#include "platform/dialogs.h"
#include "platform/drives.h"
#include "platform/environment.h"
#include "platform/shell.h"
#include "platform/textfile.h"
#include "player/player_window.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"
#include "traymenu/tray_window.h"

namespace traymenu {

namespace {
constexpr const char* kNameMismatch = "删除失败，列表中的名称与文件名不一致，没有删除任何文件";
constexpr const char* kNotLocalFile = "这是网络地址，不是本地文件，没有文件目录可以打开";
constexpr unsigned long long kMiB = 1024ull * 1024ull;
constexpr size_t kMaxFileNameBytes = 240;

int ask(runtime::App& app, const std::string& question)
{
    platform::MessageBoxRequest box;
    box.text = question;
    box.buttons = platform::YesNo;
    return app.service<platform::Dialogs>().messageBox(box);
}

void tell(runtime::App& app, const std::string& text)
{
    platform::MessageBoxRequest box;
    box.text = text;
    app.service<platform::Dialogs>().messageBox(box);
}

// A display name as one safe file name: no separators or reserved characters, not empty,
// not a folder reference, bounded in length (cut at a character boundary).
std::string safeFileName(const std::string& name, const std::string& fallback)
{
    std::string out;
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        out += (u < 0x20 || std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos) ? '_' : c;
    }
    if (out.size() > kMaxFileNameBytes) {
        size_t cut = kMaxFileNameBytes;
        while (cut > 0 && (static_cast<unsigned char>(out[cut]) & 0xC0) == 0x80)
            --cut;
        out.resize(cut);
    }
    if (out.empty() || out == "." || out == "..")
        return fallback;
    return out;
}

// Whole megabytes of a byte count.
std::string megabytes(unsigned long long bytes)
{
    return vb::Str(static_cast<int64_t>(bytes / kMiB));
}
} // namespace

void Form6::copyy_Click()
{
    player::Form5& player = app().get<player::Form5>();
    const int index = player.List1.listIndex();
    if (player.liebiao.text() == player::kNetworkListCaption || index < 0)
        return;
    // The copy goes to the last removable volume, and the status shows that volume.
    platform::Volume target;
    bool found = false;
    for (const platform::Volume& v : app().service<platform::Drives>().volumes()) {
        if (v.type == platform::DriveRemovable) {
            target = v;
            found = true;
        }
    }
    if (!found) {
        player.Text4.setText("未发现可移动磁盘");
        return;
    }
    const std::string source = player.List2.list(index);
    const std::string fallback
        = safeFileName(source.substr(source.rfind(platform::kSeparator) + 1), "未命名");
    const std::string name = safeFileName(vb::Mid(player.List1.list(index), 2), fallback);
    if (!platform::fileExists(source)) {
        player.Text4.setText("复制失败，文件不存在");
        return;
    }
    if (!platform::copyFile(source, platform::joinPath(target.root, name))) {
        player.Text4.setText("复制失败，请检查移动设备是否已满或被写保护");
        return;
    }
    const unsigned long long used
        = target.totalBytes > target.freeBytes ? target.totalBytes - target.freeBytes : 0;
    player.Text4.setText("可移动磁盘：总大小" + megabytes(target.totalBytes) + "MB，已使用" + megabytes(used)
        + "MB，未使用" + megabytes(target.freeBytes) + "MB，复制成功后，请查看您的移动设备");
}

void Form6::lieda_Click()
{
    player::Form5& player = app().get<player::Form5>();
    const int index = player.List1.listIndex();
    if (player.liebiao.text() == player::kNetworkListCaption || index < 0)
        return;
    const std::string path = player.List2.list(index);
    // Sound: only a local file's folder is shown; an imported address (smb://, apt://...)
    // would go to whatever handler the desktop has for its scheme.
    if (path.empty() || path.front() != platform::kSeparator) {
        player.Text4.setText(kNotLocalFile);
        return;
    }
    std::ignore = app().service<platform::Shell>().reveal(path); // the desktop says why
}

void Form6::del_Click()
{
    player::Form5& player = app().get<player::Form5>();
    const int index = player.List1.listIndex();
    if (player.liebiao.text() == player::kNetworkListCaption || index < 0)
        return;
    player.List1.removeItem(index);
    player.List2.removeItem(index);
    // A folder of pictures shown for browsing is not a playlist: its files stay untouched.
    player::Playlist list = player::Playlist::Music;
    if (!player.listHoldsPlaylist() || !player.shownPlaylist(list))
        return;
    std::ignore = player.savePlaylist(list, true); // a failure is told by savePlaylist itself
}

void Form6::delbao_Click()
{
    runtime::App& a = app();
    player::Form5& player = a.get<player::Form5>();
    const int index = player.List1.listIndex();
    if (player.liebiao.text() == player::kNetworkListCaption || index < 0)
        return;
    const std::string file = player.List2.list(index);
    if (!platform::fileExists(file)) {
        // Sound: a file that is already gone is reported; the program keeps running.
        tell(a, "删除失败，文件不存在");
        return;
    }
    // Sound: the file removed from disk must be the one whose name the user selected; a list
    // whose names and paths went out of step would otherwise delete another file.
    if (vb::Mid(player.List1.list(index), 2) != player::fileNameOf(file)) {
        tell(a, kNameMismatch);
        return;
    }
    if (ask(a, "确定要包括文件一起删除吗？此过程不可逆") != platform::AnswerYes)
        return;
    // Stopping releases the file if it is the one playing.
    player.WindowsMediaPlayer1.stop();
    if (!platform::deleteFile(file))
        player.Text4.setText("删除失败，文件正在使用或没有删除权限");
}

void Form6::lieqing_Click()
{
    runtime::App& a = app();
    player::Form5& player = a.get<player::Form5>();
    if (player.liebiao.text() == player::kNetworkListCaption)
        return;
    player.hideDecoderHint();
    if (player.List1.list(0).empty()) {
        tell(a, "列表已经清空，无需再次删除");
        return;
    }
    if (ask(a, "确定要清空列表吗？本过程不可逆！！！") != platform::AnswerYes)
        return;
    player.List1.clear();
    player.List2.clear();
    // Both playlists are emptied, whichever is shown.
    platform::Status written = platform::Status::success();
    for (player::Playlist list : { player::Playlist::Video, player::Playlist::Music }) {
        if (const platform::Status one = player::rewritePlaylist(a, list, {}, {}, true); !one)
            written = one;
    }
    if (!written)
        player.playlistNotSaved(written);
}

} // namespace traymenu
