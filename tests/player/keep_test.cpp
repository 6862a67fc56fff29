// What the player keeps between runs: the loudness, muting, ReplayGain and equalizer, and where a
// video was left.
#include "player/player_keep.h"
#include "player_fixture.h"

using namespace player_testing;

namespace {

class KeepTest : public PlayerTest {
protected:
    runtime::MediaPlayer& control() { return player().WindowsMediaPlayer1; }
    // Plays an address through the dispatcher; the medium is `length` seconds long.
    void play(const std::string& address, double length)
    {
        dispatch(address);
        static_cast<runtime::RecordingMediaEngine&>(control().engine()).setDuration(length);
        control().reportPlayState(runtime::PlayPlaying);
        p.app.runUntilIdle();
    }
};

} // namespace

TEST_F(KeepTest, SoundSettingsSurviveAReopen)
{
    const runtime::EqualizerGains rock { 5, 3, -2, -4, -1, 2, 5, 6, 6, 6 };
    control().setVolume(35);
    control().setMute(true);
    control().setReplayGain(runtime::ReplayGain::Album);
    control().setEqualizer(rock);
    p.app.unload<player::Form5>();
    EXPECT_EQ(control().volume(), 35);
    EXPECT_TRUE(control().mute());
    EXPECT_EQ(control().replayGain(), runtime::ReplayGain::Album);
    EXPECT_EQ(control().equalizer(), rock);
    for (const char* text :
        { "volume=250\nmute=7\nreplaygain=loud\nequalizer=1,2,3\n", "volume=\xff\x01\nmute",
            "equalizer=13,0,0,0,0,0,0,0,0,0\n", "equalizer=1,1,1,1,1,1,1,1,1,1,1\n", "" }) {
        writeBytes(p.dataFile(player::kSoundFile), text);
        p.app.unload<player::Form5>();
        EXPECT_EQ(control().volume(), 100) << text;
        EXPECT_FALSE(control().mute()) << text;
        EXPECT_EQ(control().replayGain(), runtime::ReplayGain::Off) << text;
        EXPECT_EQ(control().equalizer(), runtime::EqualizerGains {}) << text;
    }
}

TEST_F(KeepTest, AVideoLeftInTheMiddleGoesOnThereNextTime)
{
    // Each row of video_places.tsv: a medium 100 s long, the second it was left at, and whether
    // it resumes there.
    for (const auto& r : testing_support::testRows("player/video_places.tsv")) {
        SCOPED_TRACE(r.name);
        play(r[0], 100);
        control().seek(std::stod(r.at(1)));
        play("/v/other.avi", 10);
        mediaCalls();
        player().Text5.setText("");
        play(r[0], 100);
        const std::vector<std::string> calls = mediaCalls();
        const bool seeked = std::find(calls.begin(), calls.end(), "seek 50000") != calls.end();
        EXPECT_EQ(seeked, r.at(2) == "resumed");
        // The status overlay says so (for a few seconds).
        EXPECT_EQ(player().Text5.text().find("继续播放") != std::string::npos, r[2] == "resumed");
    }
    // The subtitle chosen comes back with the place, and both are kept when the program ends.
    play("/v/end.mp4", 100);
    control().seek(40);
    control().reportSubtitle("track:2");
    play("/v/other.avi", 10);
    play("/v/end.mp4", 100);
    EXPECT_EQ(control().subtitle(), "track:2");
    p.app.end();
    EXPECT_EQ(readBytes(p.dataFile(player::kPlacesFile)), "40\t/v/end.mp4\ttrack:2\r\n50\t/v/middle.mp4\r\n");
    // A file of places keeps only whole lines.
    player::Places places;
    places.parse({ "x\t/a.mp4", "-5\t/b.mp4", "7\t", "12\t/c.mp4" });
    EXPECT_EQ(places.lines(), std::vector<std::string> { "12\t/c.mp4" });
}
