// Play modes after the media player stops (and the medium given in advance to follow without a
// gap), and the next and previous buttons.
#include <set>

#include "player_fixture.h"
#include "runtime/vbtext.h"

using namespace player_testing;

namespace {

class PlayModeTest : public PlayerTest {
protected:
    // Shows a music list of n entries 0.mp3 ... and clears the logs.
    void showList(int n)
    {
        std::vector<std::string> files;
        for (int i = 0; i < n; ++i)
            files.push_back(std::to_string(i) + ".mp3");
        PlayerTest::showList(files);
    }
    std::string path(int i) const { return media(std::to_string(i) + ".mp3"); }
    // The media player reports that it stopped; the play-mode timer runs.
    void stopped()
    {
        player().WindowsMediaPlayer1.reportPlayState(runtime::PlayStopped);
        p.app.runUntilIdle();
    }
};

} // namespace

TEST_F(PlayModeTest, EachWordDecidesWhatPlaysAfterAStop)
{
    // Each row of stop_words.tsv: the play-mode word, the entries listed, the one selected, the
    // address shown, the media player's calls after the stop and the entry selected then ("#n"
    // stands for the path of entry n).
    const auto paths = [&](std::string text) {
        for (int i = 0; i < 3; ++i)
            text = vb::Replace(text, "#" + std::to_string(i), path(i));
        return text;
    };
    for (const auto& r : testing_support::testRows("player/stop_words.tsv")) {
        SCOPED_TRACE(r.name);
        showList(std::stoi(r[1]));
        player::Form5& f = player();
        f.List1.setListIndex(std::stoi(r[2]));
        f.Text3.setText(r[0]);
        f.Text4.setText(paths(r.at(3)));
        // While a medium plays the engine is told what the stop will play (a random draw is
        // not known in advance), so it can follow without a gap.
        f.WindowsMediaPlayer1.reportPlayState(runtime::PlayPlaying);
        p.app.runUntilIdle();
        const std::string next = f.WindowsMediaPlayer1.next();
        mediaCalls();
        stopped();
        const std::vector<std::string> calls = parts(paths(r.at(4)));
        EXPECT_EQ(mediaCalls(), calls);
        if (r[0] != "sui" && r[0] != "xunhuan") {
            EXPECT_EQ(next, !calls.empty() && calls[0].rfind("url ", 0) == 0 ? calls[0].substr(4) : "");
        }
        EXPECT_EQ(f.List1.listIndex(), std::stoi(r.at(5)));
        if (calls.size() == 2) {
            EXPECT_EQ(f.Text4.text(), path(std::stoi(r[5])));
        }
    }
}

TEST_F(PlayModeTest, AStopPressedOnTheBarStaysStoppedUntilTheNextAddressOrPlay)
{
    // Whatever the word, the stop the person pressed is checked before it.
    showList(3);
    player::Form5& f = player();
    f.List1.setListIndex(0);
    f.Text3.setText("lie");
    f.Text4.setText(path(0));
    runtime::MediaPlayer& control = f.WindowsMediaPlayer1;
    control.reportPlayState(runtime::PlayPlaying);
    control.playOrPause();
    control.reportPlayState(runtime::PlayPaused);
    control.stopByUser();
    stopped();
    // The engine was told the entry that follows while the first one played.
    EXPECT_EQ(mediaCalls(), (std::vector<std::string> { "next " + path(1), "pause", "stop" }));
    EXPECT_EQ(f.List1.listIndex(), 0);
    // Play again: the stop is forgotten and the end of the medium moves on again.
    control.playOrPause();
    stopped();
    EXPECT_EQ(mediaCalls(), (std::vector<std::string> { "play", "url " + path(1), "play" }));
    // A new address also forgets it.
    control.stopByUser();
    control.setUrl(path(2));
    mediaCalls();
    stopped();
    EXPECT_FALSE(mediaCalls().empty());
}

TEST_F(PlayModeTest, SearchResultsAdvanceWithinTheSearch)
{
    showList(4);
    player::Form5& f = player();
    f.Image14.click();
    f.Text2.setText("1");
    f.List4.setListIndex(0);
    f.List4.dblClick();
    p.app.runUntilIdle();
    EXPECT_EQ(f.Text3.text(), "sou");
    mediaCalls();
    stopped();
    EXPECT_EQ(mediaCalls(), (std::vector<std::string> { "url " + path(1), "play" }));
    EXPECT_EQ(f.List4.listIndex(), 0);
}

TEST_F(PlayModeTest, StepButtonsStopAtTheListsEnds)
{
    player::Form5& f = player();
    f.Image10.click();
    f.Image11.click();
    EXPECT_EQ(p.messages(),
        (std::vector<std::string> { "列表已经清空，无法进行下一曲", "列表已经清空，无法进行上一曲" }));

    // Each row of next_previous.tsv: the index shown, the button, the index then, the entry
    // that plays (it is also chosen, so the play modes go on from it) or the message.
    showList(3);
    for (const auto& r : testing_support::testRows("player/next_previous.tsv")) {
        SCOPED_TRACE(r.name);
        f.Text6.setText(r[0]);
        (r.at(1) == "next" ? f.Image10 : f.Image11).click();
        p.app.runUntilIdle();
        EXPECT_EQ(f.Text6.text(), r.at(2));
        EXPECT_EQ(p.messages(), parts(r.at(4)));
        if (r.at(3).empty()) {
            EXPECT_TRUE(mediaCalls().empty());
            continue;
        }
        EXPECT_EQ(mediaCalls(), std::vector<std::string> { "url " + path(std::stoi(r[3])) });
        EXPECT_EQ(f.List1.listIndex(), std::stoi(r[3]));
    }
}

TEST_F(PlayModeTest, PlayModesPickTheRightNextEntry)
{
    // The add job can list one path twice: a, b, a, b, c.
    PlayerTest::showList({ "a.mp3", "b.mp3", "a.mp3", "b.mp3", "c.mp3" });
    player::Form5& f = player();
    doubleClick(0);
    for (const char* index : { "1", "2", "3", "4" }) {
        f.Image10.click();
        p.app.runUntilIdle();
        EXPECT_EQ(f.Text6.text(), index);
        EXPECT_EQ(f.List1.listIndex(), std::stoi(index));
    }
    EXPECT_EQ(f.WindowsMediaPlayer1.url(), media("c.mp3"));

    // Random draws from the whole list: the last of two entries comes up too.
    showList(2);
    f.Text3.setText("sui");
    std::set<int> drawn;
    for (int i = 0; i < 64 && drawn.size() < 2; ++i) {
        stopped();
        drawn.insert(f.List1.listIndex());
    }
    EXPECT_EQ(drawn, (std::set<int> { 0, 1 }));
}
