// The add job: a dropped (or chosen) file is classified by its extension, starts playing,
// and its folder's files of the same kind are appended to the music or video playlist.
#include <algorithm>

#include "platform/environment.h"
#include "platform/textfile.h"
#include "player/media_kinds.h"
#include "player/player_window.h"
#include "player/playlist_formats.h"
#include "runtime/app.h"

namespace player {

void Form5::addDroppedFiles(const std::vector<std::string>& files, bool openedWith)
{
    // Only the first file of a drop is added.
    if (files.empty())
        return;
    // Another player's playlist brings its entries instead of being played.
    if (playlists::formatOf(files.front()) != playlists::Format::None
        && platform::fileExists(files.front())) {
        importPlaylist(files.front(), openedWith);
        return;
    }
    Text4.setText(files.front());
    Timer6.start(1);
}

void Form5::openWith(const std::vector<std::string>& files)
{
    addDroppedFiles(files, true);
}

void Form5::Form_OLEDragDrop(const std::vector<std::string>& files)
{
    addDroppedFiles(files);
}

void Form5::List1_OLEDragDrop(const std::vector<std::string>& files)
{
    addDroppedFiles(files);
}

void Form5::Label4_OLEDragDrop(const std::vector<std::string>& files)
{
    addDroppedFiles(files);
}

int Form5::appendFolder(const std::string& folder)
{
    int refused = 0;
    for (const std::string& name : File1.items()) {
        // Sound: a name with a line break would become two lines and shift every later pair.
        if (!fitsOneLine(name)) {
            ++refused;
            continue;
        }
        List1.addItem(displayName(name));
        std::string path = folder;
        path += platform::kSeparator;
        List2.addItem(path + name);
    }
    return refused;
}

void Form5::tishi_Timer()
{
    tishi.setEnabled(false);
    Text4.setText(m_notice);
}

void Form5::showOverlay(int blankLines, const std::string& text)
{
    std::string shown;
    for (int i = 0; i < blankLines; ++i)
        shown += "\r\n";
    Text5.move(201, 25, kInsideRight - 201, 553);
    Text5.setText(shown + text);
    Text5.setVisible(true);
}

void Form5::Timer6_Timer()
{
    Timer6.setEnabled(false);
    List4.setVisible(false);
    hideDecoderHint();
    const std::string path = Text4.text();
    // A dropped folder is no media file, whatever its name ends with. Sound: nor is a FIFO,
    // device or socket, which the player would wait on for ever.
    const media::Kind kind = platform::notRegularFile(path) ? media::Kind::None : media::kindOf(path);
    const std::string folder = folderOf(path);

    switch (kind) {
    case media::Kind::Seed:
        closeMediaPlayer();
        zz.start(1);
        return;
    case media::Kind::PictureText:
        // The folder's pictures and texts are shown for browsing; no playlist file changes,
        // and the next tab click brings the playlist back.
        File1.setPattern(media::kPicturePattern);
        List1.clear();
        List2.clear();
        File1.setPath(folder);
        appendFolder(folder);
        m_listHoldsPlaylist = false;
        Timer2.start(1);
        return;
    case media::Kind::None:
        Label4.setTop(kStatusTop);
        Label4.setCaption("不是影音文件");
        WebBrowser3.setVisible(false);
        // Sound: the note is shown where the drop hint was, even after a play hid the hint;
        // a media player that shows nothing (stopped, closed) gives way to it, one that plays
        // goes on playing over it.
        Label4.setVisible(true);
        if (!mediaPlayerBusy())
            WindowsMediaPlayer1.setVisible(false);
        return;
    case media::Kind::Music:
    case media::Kind::Video:
        break;
    }

    showOverlay(3, "正在分析影音信息...");
    Label4.setVisible(false);
    // The dispatcher's tick comes after this job, so the file plays once it is listed.
    Timer2.start(1);

    const Playlist list = kind == media::Kind::Music ? Playlist::Music : Playlist::Video;
    File1.setPattern(media::patternOf(kind));
    File1.setPath(folder);
    choosePlaylist(list);
    ensurePlaylistFiles(app(), list);
    loadPlaylist(list);
    loadPathSnapshot(list);
    const std::vector<std::string>& known = List3.items();
    if (std::find(known.begin(), known.end(), path) != known.end())
        return;
    if (const int refused = appendFolder(folder)) {
        // The dispatcher takes the address from Text4 first; the notice follows it there.
        m_notice = "有" + std::to_string(refused) + kLineBreakNames;
        tishi.start(1);
    }
    if (List1.listCount() > List3.listCount())
        std::ignore = savePlaylist(list); // a failure is told by savePlaylist itself
    loadPathSnapshot(list);
}

} // namespace player
