// Play modes after the media player stops, and the next and previous buttons.
#include <set>

#include "player_fixture.h"

using namespace player_testing;

namespace {

class PlayModeTest : public PlayerTest {
protected:
    // Shows a music list of n entries /m/0.mp3 ... and clears the logs.
    void showList(int n)
    {
        std::vector<std::string> names;
        std::vector<std::string> paths;
        for (int i = 0; i < n; ++i) {
            names.push_back(">" + std::to_string(i) + ".mp3");
            paths.push_back(path(i));
        }
        writeListFile("mname.ini", crlf(names));
        writeListFile("mpath.ini", crlf(paths));
        player().Label5.click();
        mediaCalls();
        messages();
    }
    static std::string path(int i) { return "/m/" + std::to_string(i) + ".mp3"; }
    // The media player reports that it stopped; the play-mode timer runs.
    void stopped()
    {
        player().WindowsMediaPlayer1.reportPlayState(runtime::PlayStopped);
        p.app.runUntilIdle();
    }
};

struct StopRow {
    const char* word;
    int count;
    int selected;
    std::string text4;
    std::vector<std::string> calls;
    int selectedAfter;
};

} // namespace

TEST_F(PlayModeTest, EachWordDecidesWhatPlaysAfterAStop)
{
    const StopRow rows[] = {
        { "lie", 3, 1, "", { "url " + path(2), "play" }, 2 },
        { "lie", 3, 2, "", { "url " + path(0), "play" }, 0 },
        { "lie", 3, -1, "", { "url " + path(0), "play" }, 0 },
        { "yici", 3, 0, path(0), { "url " + path(1), "play" }, 1 },
        { "yici", 3, 2, path(2), { "stop" }, 2 },
        { "xunhuan", 3, 1, "", { "play" }, 1 },
        { "danqu", 3, 1, "", { "stop" }, 1 },
        { "text3", 3, 1, "", {}, 1 },
        { "lie", 0, -1, "", {}, -1 },
        { "sui", 1, -1, "", { "url " + path(0), "play" }, 0 },
        { "sui", 2, 1, "", { "url " + path(0), "play" }, 0 },
    };
    for (const StopRow& r : rows) {
        SCOPED_TRACE(
            std::string(r.word) + " of " + std::to_string(r.count) + " at " + std::to_string(r.selected));
        showList(r.count);
        player::Form5& f = player();
        f.List1.setListIndex(r.selected);
        f.Text3.setText(r.word);
        f.Text4.setText(r.text4);
        stopped();
        EXPECT_EQ(mediaCalls(), r.calls);
        EXPECT_EQ(f.List1.listIndex(), r.selectedAfter);
        if (r.calls.size() == 2) {
            EXPECT_EQ(f.Text4.text(), path(r.selectedAfter));
        }
        EXPECT_FALSE(f.lian.enabled());
    }
}

TEST_F(PlayModeTest, OnlyTheStoppedStateStartsThePlayModeTimer)
{
    showList(2);
    player().Text3.setText("xunhuan");
    for (int state : { runtime::PlayPlaying, runtime::PlayPaused, runtime::PlayEnded, runtime::PlayReady }) {
        player().WindowsMediaPlayer1.reportPlayState(state);
        p.app.runUntilIdle();
    }
    EXPECT_TRUE(mediaCalls().empty());
    stopped();
    stopped();
    EXPECT_EQ(mediaCalls(), (std::vector<std::string> { "play", "play" }));
}

TEST_F(PlayModeTest, AStopPressedOnTheBarStaysStoppedUntilTheNextAddressOrPlay)
{
    for (const char* word : { "lie", "xunhuan", "yici" }) {
        SCOPED_TRACE(word);
        showList(3);
        player::Form5& f = player();
        f.List1.setListIndex(0);
        f.Text3.setText(word);
        f.Text4.setText(path(0));
        runtime::MediaPlayer& control = f.WindowsMediaPlayer1;
        control.reportPlayState(runtime::PlayPlaying);
        control.playOrPause();
        control.reportPlayState(runtime::PlayPaused);
        control.stopByUser();
        stopped();
        EXPECT_EQ(mediaCalls(), (std::vector<std::string> { "pause", "stop" }));
        EXPECT_EQ(f.List1.listIndex(), 0);
        EXPECT_FALSE(f.lian.enabled());
        // Play again: the stop is forgotten and the end of the medium moves on again.
        control.playOrPause();
        stopped();
        EXPECT_EQ(mediaCalls().front(), "play");
        EXPECT_TRUE(f.List1.listIndex() == 1 || std::string(word) == "xunhuan");
        // A new address also forgets it.
        control.stopByUser();
        control.setUrl(path(2));
        mediaCalls();
        stopped();
        EXPECT_FALSE(mediaCalls().empty());
    }
}

TEST_F(PlayModeTest, RandomNeverDrawsTheLastEntry)
{
    showList(5);
    player().Text3.setText("sui");
    std::set<int> drawn;
    for (int i = 0; i < 200; ++i) {
        stopped();
        drawn.insert(player().List1.listIndex());
    }
    EXPECT_GE(*drawn.begin(), 0);
    EXPECT_LE(*drawn.rbegin(), 3);
}

TEST_F(PlayModeTest, SearchResultsAdvanceWithinTheSearch)
{
    showList(4);
    player::Form5& f = player();
    f.Image14.click();
    f.Text2.setText("1");
    ASSERT_EQ(f.List4.listCount(), 1);
    f.List4.setListIndex(0);
    f.List4.dblClick();
    p.app.runUntilIdle();
    EXPECT_EQ(f.Text3.text(), "sou");
    mediaCalls();
    stopped();
    EXPECT_EQ(mediaCalls(), (std::vector<std::string> { "url " + path(1), "play" }));
    EXPECT_EQ(f.List4.listIndex(), 0);
}

TEST_F(PlayModeTest, NextAndPreviousStepThroughTheListAndStopAtItsEnds)
{
    player::Form5& f = player();
    f.Image10.click();
    f.Image11.click();
    EXPECT_EQ(messages(),
        (std::vector<std::string> { "列表已经清空，无法进行下一曲", "列表已经清空，无法进行上一曲" }));

    showList(3);
    f.List1.setListIndex(0);
    f.Text6.setText("1");
    f.Image10.click();
    p.app.runUntilIdle();
    EXPECT_EQ(f.Text6.text(), "2");
    EXPECT_EQ(mediaCalls(), std::vector<std::string> { "url " + path(2) });
    // The entry that plays is the chosen one, so the play modes go on from it.
    EXPECT_EQ(f.List1.listIndex(), 2);

    f.Image10.click();
    EXPECT_EQ(f.Text6.text(), "2");
    EXPECT_EQ(messages(), std::vector<std::string> { "已经到达最后一个，不能再前进" });
    EXPECT_FALSE(f.Timer2.enabled());
    f.Image11.click();
    p.app.runUntilIdle();
    EXPECT_EQ(mediaCalls(), std::vector<std::string> { "url " + path(1) });

    f.Text6.setText("0");
    f.Image11.click();
    EXPECT_EQ(f.Text6.text(), "0");
    EXPECT_EQ(messages(), std::vector<std::string> { "已经到达第一个，不能再后退" });
    EXPECT_TRUE(mediaCalls().empty());

    // After a double click with nothing selected the index is -1 and next plays the first.
    f.List1.setListIndex(-1);
    f.List1.dblClick();
    EXPECT_EQ(f.Text6.text(), "-1");
    f.Image10.click();
    p.app.runUntilIdle();
    EXPECT_EQ(mediaCalls(), std::vector<std::string> { "url " + path(0) });

    // A damaged index counts as a number all the same.
    f.Text6.setText("abc");
    f.Image10.click();
    p.app.runUntilIdle();
    EXPECT_EQ(f.Text6.text(), "1");
}
