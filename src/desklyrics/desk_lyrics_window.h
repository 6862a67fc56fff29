#pragma once
#include "desklyrics/desk_lyrics_settings.h"
#include "runtime/controls.h"
#include "runtime/form.h"
#include "runtime/media_controls.h"

namespace desklyrics {

// The desktop lyrics bar: two lines of the playing song's lyrics floating over the desktop,
// moved by a drag, locked so clicks pass through, with a hover bar and a menu for its font
// size and colours. What it shows and where it is are kept between runs.
class geci : public runtime::Form {
public:
    explicit geci(runtime::App& app);
    void load() override;
    void programEnding() override;

    // The window's name in the menus that open it.
    static constexpr const char* kTitle = "桌面歌词";
    // The lock item's captions: to lock, and to unlock a locked bar.
    static constexpr const char* kLock = "锁定桌面歌词";
    static constexpr const char* kUnlock = "解锁桌面歌词";
    // The hover strip's height (pixels), its colour and its buttons' text colour (0x00BBGGRR).
    static constexpr int kHoverHeight = 26;
    static constexpr int64_t kHoverBack = 0x303030;
    static constexpr int64_t kHoverText = 0xFFFFFF;

    // The lyrics lines.
    runtime::LyricsBar ci { *this, "ci" };
    // The hover bar and its buttons: lock, settings (the menu), close.
    runtime::Frame Frame1 { *this, "Frame1" };
    runtime::Label suo { *this, "suo" };
    runtime::Label she { *this, "she" };
    runtime::Label guan { *this, "guan" };
    // Hides the hover bar a while after the mouse left it.
    runtime::Timer Timer1 { *this, "Timer1" };
    // While locked and shown: looks where the pointer is, to show the unlock bar over it.
    runtime::Timer Timer2 { *this, "Timer2" };

    runtime::Menu caidan { *this, "caidan", "桌面歌词设置" };
    runtime::Menu zixiao { *this, "zixiao", "小号字体", &caidan };
    runtime::Menu zizhong { *this, "zizhong", "中号字体", &caidan };
    runtime::Menu zida { *this, "zida", "大号字体", &caidan };
    runtime::Menu Line1 { *this, "Line1", "-", &caidan };
    runtime::Menu selan { *this, "selan", "天空蓝", &caidan };
    runtime::Menu sehong { *this, "sehong", "玫瑰红", &caidan };
    runtime::Menu selv { *this, "selv", "清新绿", &caidan };
    runtime::Menu sejin { *this, "sejin", "活力金", &caidan };
    runtime::Menu Line2 { *this, "Line2", "-", &caidan };
    runtime::Menu suoding { *this, "suoding", kLock, &caidan };
    runtime::Menu guanbi { *this, "guanbi", "关闭桌面歌词", &caidan };

    // Shows the bar, or closes it when it is shown (the "桌面歌词" items and key).
    void toggle();
    [[nodiscard]] bool locked() const { return m_settings.locked; }
    void setLocked(bool locked);
    // Polls the pointer while the bar is locked and shown; otherwise the unlock bar hides.
    void followPointer();
    // The menu items that choose each font size and colour scheme, in settings order.
    runtime::Menu* sizeItem(int size);
    runtime::Menu* schemeItem(int scheme);

    void ci_MouseDown(const runtime::MouseEvent& e);
    void ci_MouseMove(const runtime::MouseEvent& e);
    void ci_MouseUp(const runtime::MouseEvent& e);
    void suo_Click();
    void she_Click();
    void guan_Click();
    void Timer1_Timer();
    void Timer2_Timer();
    void suoding_Click();
    void guanbi_Click();

private:
    // Lays the window out for the font size and paints the colour scheme.
    void apply();
    void chooseSize(int size);
    void chooseScheme(int scheme);
    void showHoverBar();
    void hideUnlockBar();
    void keep();

    DeskLyricsSettings m_settings;
};

// Shows the bar at start when it was shown when the program last ended.
void restoreDeskLyrics(runtime::App& app);

} // namespace desklyrics
