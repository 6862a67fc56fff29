// The media player control on libmpv: a medium plays inside the control's area and its
// play states arrive with the control's numbers, ending with "ended, stopped".
#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QToolButton>
#include <cmath>

#include "desktop_fixture.h"
#include "gui/engine_views.h"
#include "gui/form_view.h"
#include "gui/media_surface.h"
#include "test_windows.h"

namespace gui_testing {
namespace {

// A short tone as a WAV file: 8 kHz, 16-bit mono.
void writeTone(const std::string& path, int samples)
{
    std::string pcm;
    for (int i = 0; i < samples; ++i) {
        const auto v = static_cast<int16_t>(8000 * std::sin(i / 8.0));
        pcm.push_back(static_cast<char>(v & 0xFF));
        pcm.push_back(static_cast<char>((v >> 8) & 0xFF));
    }
    auto le = [](uint32_t v, int bytes) {
        std::string out;
        for (int i = 0; i < bytes; ++i)
            out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
        return out;
    };
    const auto size = static_cast<uint32_t>(pcm.size());
    std::string wav = "RIFF" + le(36 + size, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) + le(8000, 4)
        + le(16000, 4) + le(2, 2) + le(16, 2) + "data" + le(size, 4) + pcm;
    testing_support::writeBytes(path, wav);
}

class DesktopMedia : public DesktopTest { };

// The bar of the control's view, once a medium has given the control an engine.
gui::TransportBar* barOf(gui::FormView* form, runtime::MediaPlayer& player)
{
    auto* area = dynamic_cast<gui::MediaView*>(form->viewOf(player));
    auto* surface = area ? dynamic_cast<gui::MediaSurface*>(area->hosted()) : nullptr;
    return surface ? surface->bar() : nullptr;
}

// The desktop suite presses the bar and the keys on screen; here, its tips, Space and the
// play states up to the end.
TEST_F(DesktopMedia, AMediumPlaysToItsEndInTheControlsArea)
{
    Sample& s = app().get<Sample>();
    session().run([&] { s.show(); });
    runtime::MediaPlayer& player = s.WindowsMediaPlayer1;
    const std::string tone = dir.file("提示音.wav");
    writeTone(tone, 8000 * 3);
    s.events.clear();
    session().run([&] { player.setUrl(tone); });
    auto* area = dynamic_cast<gui::MediaView*>(view(s)->viewOf(player));
    ASSERT_NE(area, nullptr);
    const QWidget* hosted = area->hosted();
    ASSERT_NE(hosted, nullptr);
    EXPECT_EQ(hosted->size(), area->size());
    gui::TransportBar* bar = barOf(view(s), player);
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(waitFor([&] { return player.playState() == runtime::PlayPlaying; }, 10000));
    ASSERT_TRUE(waitFor([&] { return bar->totalLabel()->text() == QStringLiteral("0:03"); }));
    EXPECT_EQ(bar->playButton()->toolTip(), QStringLiteral("暂停"));
    bar->playButton()->click();
    ASSERT_TRUE(waitFor([&] { return player.playState() == runtime::PlayPaused; }));
    EXPECT_EQ(bar->playButton()->toolTip(), QStringLiteral("播放"));
    // Space plays on while the window is active.
    view(s)->activateWindow();
    QApplication::setActiveWindow(view(s));
    QTest::keyClick(view(s), Qt::Key_Space);
    EXPECT_TRUE(waitFor([&] { return player.playState() == runtime::PlayPlaying; }));
    ASSERT_TRUE(waitFor([&] { return player.playState() == runtime::PlayStopped; }, 15000));
    // The medium plays, ends and stops, and "stopped" (what starts the next entry in the
    // player) comes exactly once.
    std::vector<std::string> states;
    for (const std::string& e : s.events) {
        if (e.rfind("PlayStateChange", 0) == 0)
            states.push_back(e.substr(16));
    }
    ASSERT_GE(states.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(states.end() - 3, states.end()),
        (std::vector<std::string> { "3", "8", "1" }));
    EXPECT_EQ(std::count(states.begin(), states.end(), "1"), 1);
}

} // namespace
} // namespace gui_testing
