// The media player control's own bar as the control keeps it: loudness and muting survive
// the engine's creation, a seek stays inside the medium, and a stop pressed by the person is
// remembered until the next address or play.
#include <gtest/gtest.h>

#include <cmath>

#include "runtime/app.h"
#include "runtime/media_controls.h"

using namespace runtime;

namespace {

class Window : public Form {
public:
    explicit Window(App& app)
        : Form(app, "Window")
    {
    }
    MediaPlayer Player { *this, "Player" };
};

// Remembers what the control gave it.
struct LoudnessEngine : RecordingMediaEngine {
    int* volume;
    bool* mute;
    LoudnessEngine(int* v, bool* m)
        : volume(v)
        , mute(m)
    {
    }
    void setVolume(int percent) override { *volume = percent; }
    void setMute(bool on) override { *mute = on; }
};

} // namespace

TEST(MediaControl, PlayerSettingsStayInTheirRanges)
{
    App app;
    int volume = -1;
    bool mute = false;
    RecordingMediaEngine* engine = nullptr;
    app.setMediaFactory([&](MediaPlayer&) {
        auto e = std::make_unique<LoudnessEngine>(&volume, &mute);
        engine = e.get();
        return e;
    });
    MediaPlayer& player = app.get<Window>().Player;
    player.setVolume(140);
    player.setMute(true);
    EXPECT_EQ(player.volume(), 100);
    EXPECT_EQ(engine, nullptr);
    player.setUrl("/m/a.mp3");
    EXPECT_EQ(volume, 100);
    EXPECT_TRUE(mute);
    player.setVolume(-3);
    EXPECT_EQ(volume, 0);

    engine->setDuration(180);
    struct Row {
        const char* name;
        double asked;
        double reached;
    };
    for (const Row& r : { Row { "inside", 61.5, 61.5 }, Row { "before_start", -4, 0 },
             Row { "past_end", 999, 180 }, Row { "not_a_number", std::nan(""), 0 } }) {
        player.seek(r.asked);
        EXPECT_DOUBLE_EQ(player.position(), r.reached) << r.name;
    }
    EXPECT_EQ(player.property("duration"), "180");

    player.stopByUser();
    EXPECT_TRUE(player.stoppedByUser());
    player.play();
    EXPECT_FALSE(player.stoppedByUser());
    player.stopByUser();
    player.setUrl("/m/b.mp3");
    EXPECT_FALSE(player.stoppedByUser());
}
