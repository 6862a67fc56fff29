#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/skin.h"
#include "common/window_sizes.h"
#include "pinyin/pinyin_match.h"
#include "player/playlist_files.h"
#include "runtime/controls.h"
#include "runtime/form.h"
#include "runtime/media_controls.h"

namespace common {
class CFileDownload;
}

namespace player {

// The play-mode and play-source words other windows write into Text3: the playlist menu the
// five modes, double clicks on a list its source. The play-mode timer reads them.
inline constexpr const char* kPlayList = "lie"; // list order, stop at the end
inline constexpr const char* kPlaySearch = "sou"; // from the in-list search results
inline constexpr const char* kPlayRandom = "sui";
inline constexpr const char* kPlayLoop = "xunhuan";
inline constexpr const char* kPlayRepeatOne = "danqu";
inline constexpr const char* kPlayOnce = "yici";

// The captions of the three lists, held in liebiao; the playlist menu reads them.
inline constexpr const char* kMusicListCaption = "音乐列表";
inline constexpr const char* kVideoListCaption = "视频列表";
inline constexpr const char* kNetworkListCaption = "网络列表";

// Shown when a playlist file exists but cannot be read whole; the file is kept.
inline constexpr const char* kUnreadablePlaylist = "播放列表文件过大或无法读取，已保留原文件，本次使用空列表";
// The status line after a playlist's files could not be written (the disk was full, or
// another failure); the shown list then holds what the files still hold.
inline constexpr const char* kDiskFullNotSaved = "磁盘空间不足，播放列表没有保存";
inline constexpr const char* kPlaylistNotSaved = "播放列表没有保存";
// The status line after an add job that left out files whose names hold a line break.
inline constexpr const char* kLineBreakNames = "个文件的名称含有换行符，无法加入列表";
// The hint the address box shows at start-up, and its answer to an empty address.
inline constexpr const char* kStartHint = "如出现空白，请再次点击左边载入列表中的此视频，即可播放";
inline constexpr const char* kAddressRequired = "地址必须填写，否则不能播放";
// The status when the media player cannot decode a medium.
inline constexpr const char* kUndecodable = "无法播放此文件";
// Where the status label Label4 stands: in the middle of the video area, and below the search
// result lists (top 25, height 480) while a search reports in it.
inline constexpr int kStatusTop = 290;
inline constexpr int kSearchStatusTop = 510;

// Sound: the right edge of the player's inside, in pixels, where the hub ends too. The video
// area, the status overlay and the browser reach it; their designed widths ran 5 to 7 pixels
// past it, and the picture was cut there.
inline constexpr int kInsideRight = common::kChildWidth / runtime::kTwipsPerPixel;

// The media player: music and video playlists, adding media, playback in the media player
// or in generated plug-in pages, play modes, next and previous, and seed files.
class Form5 : public runtime::Form {
public:
    explicit Form5(runtime::App& app);
    ~Form5() override;
    void load() override;

    // The shown list: names (List1) and the paths of the same index (List2).
    runtime::ListBox List1 { *this, "List1" };
    runtime::ListBox List2 { *this, "List2" };
    // The path file as it was before an add job appended to the list.
    runtime::ListBox List3 { *this, "List3" };
    // In-list search results and their paths.
    runtime::ListBox List4 { *this, "List4" };
    runtime::ListBox List5 { *this, "List5" };
    // Result lists of the network search.
    runtime::ListBox List6 { *this, "List6" };
    runtime::ListBox List7 { *this, "List7" };
    // Folder listings of the add job and of the playlist menu's folder scan.
    runtime::FileListBox File1 { *this, "File1" };
    runtime::FileListBox File2 { *this, "File2" };

    // Which list is shown: one of the list captions above. Written by the tab clicks; read
    // by the playlist menu (Form6).
    runtime::TextBox liebiao { *this, "liebiao" };
    // The in-list search box.
    runtime::TextBox Text2 { *this, "Text2" };
    // The play-source or play-mode word (kPlay...). Written by the list double clicks and the
    // playlist menu's mode items (Form6); read by the play-mode timer lian.
    runtime::TextBox Text3 { *this, "Text3" };
    // The address being played or chosen; also the status line of the playlist menu. Written
    // by the drop handlers, the playlist menu's add commands (through startAddJob and
    // addFolder) and the dispatcher; read by the add job Timer6 and the dispatcher Timer2.
    runtime::TextBox Text4 { *this, "Text4" };
    // The status overlay over the video area.
    runtime::TextBox Text5 { *this, "Text5" };
    // Index of the current entry, as decimal text.
    runtime::TextBox Text6 { *this, "Text6" };
    // The skin's picture path and colour.
    runtime::TextBox Text7 { *this, "Text7" };
    runtime::TextBox Text8 { *this, "Text8" };
    // The page templates of the QVOD, Baidu and flash players.
    runtime::TextBox qvod { *this, "qvod" };
    runtime::TextBox bdhd { *this, "bdhd" };
    runtime::TextBox zelv { *this, "zelv" };

    // Drop hint, later the flash player's progress bar.
    runtime::Label Label4 { *this, "Label4" };
    // The tabs: music, network and video list.
    runtime::Label Label5 { *this, "Label5" };
    runtime::Label Label6 { *this, "Label6" };
    runtime::Label Label7 { *this, "Label7" };
    // The flash player's first-time notice and its percentage.
    runtime::Label Label8 { *this, "Label8" };
    runtime::Label Label9 { *this, "Label9" };
    // The decoder hint and its install button.
    runtime::Label Label10 { *this, "Label10" };
    runtime::Image Image16 { *this, "Image16" };
    // The list tools: next, previous, play mode, search the list, add a folder.
    runtime::Image Image10 { *this, "Image10" };
    runtime::Image Image11 { *this, "Image11" };
    runtime::Image Image12 { *this, "Image12" };
    runtime::Image Image14 { *this, "Image14" };
    runtime::Image Image15 { *this, "Image15" };
    // Closes the search box; back to the normal layout; to the wide layout.
    runtime::PictureBox Picture1 { *this, "Picture1" };
    runtime::PictureBox Picture5 { *this, "Picture5" };
    runtime::PictureBox Picture6 { *this, "Picture6" };

    runtime::WebBrowser WebBrowser3 { *this, "WebBrowser3" };
    runtime::MediaPlayer WindowsMediaPlayer1 { *this, "WindowsMediaPlayer1" };

    // One-shot jobs: play dispatcher, page finisher, skin, add job, play mode, seed add and
    // seed open.
    runtime::Timer Timer2 { *this, "Timer2" };
    runtime::Timer Timer3 { *this, "Timer3" };
    runtime::Timer Timer5 { *this, "Timer5" };
    runtime::Timer Timer6 { *this, "Timer6" };
    runtime::Timer lian { *this, "lian" };
    runtime::Timer zz { *this, "zz" };
    runtime::Timer zzl { *this, "zzl" };
    // Shows the add job's notice in the status line once the dispatcher has taken the
    // address from it.
    runtime::Timer tishi { *this, "tishi" };
    // Hides the note that a video goes on where it was left.
    runtime::Timer jixu { *this, "jixu" };

    // The transfer of the flash player, a fresh object for every attempt.
    std::unique_ptr<common::CFileDownload> oDownload;

    // The playlist menu's commands (Form6) on this window:
    // Plays entry index of the network list in the player's browser.
    void playNetworkEntry(int index);
    // Adds a file through the add job: it becomes Text4 and Timer6 starts.
    void startAddJob(const std::string& path);
    // Lists the media of folder (the add-folder pattern) as search results and adds them
    // through the add job, starting with the first.
    void addFolder(const std::string& folder);

    // Plays the selected entry of a list (List1 with List2, or List4 with List5), as a
    // double click does; source is the play-source word written into Text3.
    void playSelected(runtime::ListBox& names, runtime::ListBox& paths, const std::string& source);
    // The playlist whose tab is marked as chosen, judged by the tab looks; nothing when
    // neither the music nor the video tab is.
    bool shownPlaylist(Playlist& list) const;
    // False while List1 shows something other than a playlist's files (a folder of
    // pictures after a picture was dropped), so nothing may write it back.
    [[nodiscard]] bool listHoldsPlaylist() const { return m_listHoldsPlaylist; }
    // Writes the shown list back to the files of list (see rewritePlaylist); when that
    // fails, playlistNotSaved follows.
    platform::Status savePlaylist(Playlist list, bool onlyExisting = false);
    // After a failed write: the shown playlist is read again from its files, so the window
    // shows what is stored, and the status line says the change was not saved.
    void playlistNotSaved(const platform::Status& failed);
    // Closes the current medium and hides the media player.
    void closeMediaPlayer();
    // Whether the media player has a medium under way (playing, paused or loading).
    [[nodiscard]] bool mediaPlayerBusy() const;
    // Adds the entries of another player's playlist file (M3U, PLS, XSPF) to the music and
    // video lists by their kind, but none a list already holds; the status line says how
    // many and what was skipped. With play, its first entry then plays.
    void importPlaylist(const std::string& file, bool play = false);
    // Writes the shown list as a playlist file of the format its extension names (M3U8 when
    // it names none), atomically; the status line says how it went.
    void exportPlaylist(const std::string& file);
    // Hides the decoder hint and its button.
    void hideDecoderHint();

    // Files opened with the program (also handed over by a second start): taken as a drop
    // is, except that a playlist's first entry then plays, as a media file does.
    void openWith(const std::vector<std::string>& files);

    void Form_OLEDragDrop(const std::vector<std::string>& files);
    void List1_OLEDragDrop(const std::vector<std::string>& files);
    void Label4_OLEDragDrop(const std::vector<std::string>& files);
    void Label5_Click();
    void Label7_Click();
    void List1_Click();
    void List1_DblClick();
    void List1_MouseDown(const runtime::MouseEvent& e);
    void List4_DblClick();
    void List4_MouseDown(const runtime::MouseEvent& e);
    void Image10_Click();
    void Image11_Click();
    void Image12_MouseDown(const runtime::MouseEvent& e);
    void Image14_Click();
    void Image15_MouseDown(const runtime::MouseEvent& e);
    void Image16_Click();
    void Text2_Change();
    void Picture1_Click();
    void Picture5_Click();
    void Picture6_Click();
    void WebBrowser3_NewWindow2(const std::string& url, bool& cancel);
    void WindowsMediaPlayer1_PlayStateChange(int newState);
    void WindowsMediaPlayer1_Undecodable();
    void WindowsMediaPlayer1_MouseMove(const runtime::MouseEvent& e);
    void oDownload_OnProgress(int64_t lProgress, int64_t lMaxProgress, int32_t lSpeed, int32_t lStatusCode,
        const std::string& sStatusText);
    void Timer2_Timer();
    void Timer3_Timer();
    void Timer5_Timer();
    void Timer6_Timer();
    void lian_Timer();
    void zz_Timer();
    void zzl_Timer();
    void tishi_Timer();

    // What the player keeps between runs (player_keep.cpp).
    void Text3_Change();
    void WindowsMediaPlayer1_SoundChange();
    void WindowsMediaPlayer1_Leave();
    void jixu_Timer();
    void programEnding() override;
    void unloading() override;

    // Network list, address box and network search (player_network.cpp).
    // The address box's button "搜".
    runtime::Label Label14 { *this, "Label14" };
    void Label6_Click();
    void Text4_Click();
    void Label14_Click();
    void Label14_MouseMove(const runtime::MouseEvent& e);
    void Label14_MouseLeave();
    void List6_Click();
    void List6_DblClick();
    void List7_Click();
    void List7_DblClick();

private:
    void setupNetworkTab();
    void playChannel();
    void showInBrowser(const std::string& address);
    void startNetworkSearch();

    common::SkinnedWindow skin();
    void wireEvents();
    void designLayout();
    void startupLayout();
    // Lists.
    void showPlaylist(Playlist list);
    void markTabs(runtime::Label& chosen);
    void choosePlaylist(Playlist list);
    void loadPlaylist(Playlist list);
    void loadPathSnapshot(Playlist list);
    // Appends File1's names under folder; returns how many it refused (line breaks).
    int appendFolder(const std::string& folder);
    // Playback.
    void addDroppedFiles(const std::vector<std::string>& files, bool openedWith = false);
    void showOverlay(int blankLines, const std::string& text);
    void writePage(const std::string& page);
    bool ensureFlashPlayer();
    void playInMediaPlayer();
    void selectPlaying(const std::string& address);
    void stepEntry(int step);
    void advanceInList(runtime::ListBox& names, runtime::ListBox& paths);
    void openSeed();

    void restoreSound();
    // The search's index of List1's names, made again when they have changed since.
    const pinyin::NameIndex& searchIndex();
    // Seeks a video that starts playing to the place it was left, once per address.
    void resumePlace();

    // The notice tishi shows in Text4.
    std::string m_notice;
    // The sound settings as last read or written, and the address resumePlace last saw.
    std::vector<std::string> m_keptSound;
    std::string m_resumeChecked;
    // Whether List1 mirrors a playlist's files (false while it shows a picture folder).
    bool m_listHoldsPlaylist = true;
    // The in-list search's index and the entries' revision of List1 it was made from.
    pinyin::NameIndex m_searchIndex;
    uint64_t m_searchIndexRevision = 0;
};

} // namespace player
