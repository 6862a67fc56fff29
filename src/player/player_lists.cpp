// The shown list: switching between the music and the video playlist, selection, the
// playlist menus, and the search within the shown list.
#include <algorithm>

#include "pinyin/pinyin_match.h"
#include "platform/dialogs.h"
#include "player/player_window.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"
#include "traymenu/tray_window.h"

namespace player {

void Form5::choosePlaylist(Playlist list)
{
    markTabs(list == Playlist::Music ? Label5 : Label7);
    liebiao.setText(list == Playlist::Music ? kMusicListCaption : kVideoListCaption);
}

void Form5::loadPlaylist(Playlist list)
{
    PlaylistContent content = readPlaylist(app(), list);
    if (!content.readable) {
        platform::MessageBoxRequest box;
        box.text = kUnreadablePlaylist;
        app().service<platform::Dialogs>().messageBox(box);
    }
    List1.setItems(std::move(content.names));
    List2.setItems(std::move(content.paths));
    m_listHoldsPlaylist = true;
}

platform::Status Form5::savePlaylist(Playlist list, bool onlyExisting)
{
    platform::Status written = rewritePlaylist(app(), list, List1.items(), List2.items(), onlyExisting);
    if (!written)
        playlistNotSaved(written);
    return written;
}

void Form5::playlistNotSaved(const platform::Status& failed)
{
    // Sound: a change that did not reach the files is not kept on screen either (the
    // design would show it until the next start and then lose it without a word). Only a
    // playlist whose files cannot be read whole goes on working in memory (readPlaylist).
    Playlist shown = Playlist::Music;
    if (m_listHoldsPlaylist && shownPlaylist(shown) && playlistWritable(app(), shown))
        loadPlaylist(shown);
    // The status line is the address box, which the play dispatcher may still write in this
    // round; the notice follows it there.
    m_notice = failed.diskFull ? kDiskFullNotSaved : kPlaylistNotSaved;
    tishi.start(1);
}

void Form5::loadPathSnapshot(Playlist list)
{
    List3.setItems(readPlaylistPaths(app(), list));
}

void Form5::showPlaylist(Playlist list)
{
    for (runtime::Image* tool : { &Image12, &Image14, &Image15, &Image10, &Image11 })
        tool->setVisible(true);
    List6.setVisible(false);
    List7.setVisible(false);
    List1.setTop(23);
    List1.setHeight(530);
    choosePlaylist(list);
    loadPlaylist(list);
}

void Form5::Label5_Click()
{
    if (Label5.caption() == kMusicListCaption)
        showPlaylist(Playlist::Music);
}

void Form5::Label7_Click()
{
    if (Label7.caption() == kVideoListCaption)
        showPlaylist(Playlist::Video);
}

void Form5::List1_Click()
{
    if (liebiao.text() == kNetworkListCaption) {
        Text4.setText(List2.list(List1.listIndex()) + "    双击播放");
        return;
    }
    if (List1.listIndex() < 0)
        return;
    Picture6.setEnabled(true);
    Text4.setText(vb::Mid(List1.list(List1.listIndex()), 2) + "    双击播放");
}

void Form5::List1_DblClick()
{
    if (liebiao.text() == kNetworkListCaption) {
        playChannel();
        return;
    }
    playSelected(List1, List2, kPlayList);
}

void Form5::List4_DblClick()
{
    playSelected(List4, List5, kPlaySearch);
}

void Form5::List1_MouseDown(const runtime::MouseEvent& e)
{
    if (e.button == runtime::RightButton) {
        traymenu::Form6& tray = app().get<traymenu::Form6>();
        tray.popupMenu(tray.liemenu);
    }
}

void Form5::Image15_MouseDown(const runtime::MouseEvent& e)
{
    if (e.button == runtime::LeftButton) {
        traymenu::Form6& tray = app().get<traymenu::Form6>();
        tray.popupMenu(tray.mp3);
    }
}

void Form5::Image12_MouseDown(const runtime::MouseEvent& e)
{
    if (e.button == runtime::LeftButton) {
        traymenu::Form6& tray = app().get<traymenu::Form6>();
        tray.popupMenu(tray.lieb);
    }
}

void Form5::Image14_Click()
{
    if (List1.list(0).empty()) {
        platform::MessageBoxRequest box;
        box.text = "列表已经清空，无法进行搜索";
        app().service<platform::Dialogs>().messageBox(box);
        return;
    }
    Text2.move(7, 528, Text2.width(), Text2.height());
    Text2.setVisible(true);
    List1.setHeight(510);
    Picture1.move(170, 530, Picture1.width(), Picture1.height());
    Picture1.setVisible(true);
    // The names are indexed as the search opens, before the first keystroke.
    searchIndex();
}

namespace {

// Refills a list's entries with source[i] for each i of which, reusing the strings already
// there (a keystroke over a long list then allocates and frees little).
void refill(std::vector<std::string>& entries, const std::vector<std::string>& source,
    const std::vector<uint32_t>& which)
{
    entries.resize(which.size());
    for (size_t j = 0; j < which.size(); ++j) {
        if (which[j] < source.size())
            entries[j].assign(source[which[j]]);
        else
            entries[j].clear();
    }
}

} // namespace

const pinyin::NameIndex& Form5::searchIndex()
{
    if (m_searchIndexRevision != List1.itemsRevision()) {
        m_searchIndex = pinyin::NameIndex(List1.items());
        m_searchIndexRevision = List1.itemsRevision();
    }
    return m_searchIndex;
}

void Form5::Text2_Change()
{
    // A byte search of UTF-8 text finds exactly the character sequences (an empty text
    // matches every name); a name is also found by the pinyin of its Chinese characters and
    // by their other form, through an index of the names made once for all keystrokes.
    // Matches are found in one scan, then copied over the previous results and shown at once.
    const std::string& wanted = Text2.text();
    const std::vector<std::string>& names = List1.items();
    const pinyin::Matcher spelled(wanted);
    const pinyin::NameIndex& index = searchIndex();
    std::vector<uint32_t> hits;
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i].find(wanted) != std::string::npos || index.matches(spelled, i, names[i]))
            hits.push_back(static_cast<uint32_t>(i));
    }
    std::vector<std::string> found = List4.takeItems();
    std::vector<std::string> foundPaths = List5.takeItems();
    refill(found, names, hits);
    refill(foundPaths, List2.items(), hits);
    List4.setItems(std::move(found));
    List5.setItems(std::move(foundPaths));
    List4.setVisible(!wanted.empty());
}

void Form5::Picture1_Click()
{
    List1.move(7, 23, List1.width(), 530);
    Text2.setVisible(false);
    Picture1.setVisible(false);
}

void Form5::List4_MouseDown(const runtime::MouseEvent&)
{
    List4.setHeight(480);
}

void Form5::WindowsMediaPlayer1_MouseMove(const runtime::MouseEvent&)
{
    // The search results shrink out of the way when the mouse moves over the video.
    if (List4.height() != 1)
        List4.setHeight(1);
}

} // namespace player
