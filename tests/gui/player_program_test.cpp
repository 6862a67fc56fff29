// The player window in the desktop program: a video the browser cannot show plays in the
// media player control.
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "desktop_fixture.h"
#include "gui/renderer.h"
#include "player/player_window.h"
#include "shell/hub_window.h"

namespace gui_testing {
namespace {

class DesktopPlayer : public DesktopTest {
protected:
    void SetUp() override
    {
        session().startProgram();
        ASSERT_TRUE(waitFor([&] { return session().renderer().shownAndPainted(); }));
        session().run([&] { app().get<shell::moban>().Label7.mouseDown({ runtime::LeftButton, 0, 0, 0 }); });
    }
    player::Form5& player() { return app().get<player::Form5>(); }
};

TEST_F(DesktopPlayer, AnFlvPlaysInTheMediaPlayerWithoutTheFlashPlayer)
{
    if (QStandardPaths::findExecutable(QStringLiteral("gst-launch-1.0")).isEmpty())
        GTEST_SKIP() << "gst-launch-1.0 is needed to make the video";
    const std::string clip = dir.file("片段.flv");
    const int made = QProcess::execute(QStringLiteral("gst-launch-1.0"),
        { QStringLiteral("-q"), QStringLiteral("videotestsrc"), QStringLiteral("num-buffers=15"),
            QStringLiteral("!"), QStringLiteral("video/x-raw,width=160,height=120,framerate=10/1"),
            QStringLiteral("!"), QStringLiteral("videoconvert"), QStringLiteral("!"),
            QStringLiteral("avenc_flv"), QStringLiteral("!"), QStringLiteral("flvmux"), QStringLiteral("!"),
            QStringLiteral("filesink"), QStringLiteral("location=") + QString::fromStdString(clip) });
    if (made != 0 || QFileInfo(QString::fromStdString(clip)).size() == 0)
        GTEST_SKIP() << "this GStreamer cannot make an FLV";

    player::Form5& f = player();
    std::vector<int> states;
    f.WindowsMediaPlayer1.onPlayStateChange = [&](int state) { states.push_back(state); };
    session().run([&] {
        f.Text4.setText(clip);
        f.Timer2.start(1);
    });
    ASSERT_TRUE(waitFor([&] { return f.WindowsMediaPlayer1.url() == clip; }));
    EXPECT_TRUE(f.WindowsMediaPlayer1.visible());
    EXPECT_FALSE(f.WebBrowser3.visible());
    EXPECT_FALSE(f.Label8.visible());
    // It plays to its end.
    ASSERT_TRUE(waitFor([&] { return !states.empty() && states.back() == runtime::PlayStopped; }, 15000));
    EXPECT_NE(std::find(states.begin(), states.end(), runtime::PlayPlaying), states.end());
    EXPECT_NE(std::find(states.begin(), states.end(), runtime::PlayEnded), states.end());
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(dir.file("my documents/zelv/Temp/zelv.swf"))));
}

} // namespace
} // namespace gui_testing
