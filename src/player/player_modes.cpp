// Play modes: what happens when the media player stops, and the next and previous buttons.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>

#include "platform/dialogs.h"
#include "player/player_lyrics.h"
#include "player/player_window.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"

namespace player {

namespace {

// A uniform draw in [0, 1) from a generator seeded by the clock, like a fresh Randomize.
double clockSeededDraw()
{
    const auto seed = static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
    std::mt19937_64 generator(seed);
    return std::uniform_real_distribution<double>(0.0, 1.0)(generator);
}

// The address that will play when the medium playing ends, by the play mode in force (as the
// tick of lian will choose it); empty where it is not known in advance (a random draw, a stop,
// the last entry played once, an empty list).
std::string followingEntry(const Form5& f)
{
    const std::string& word = f.Text3.text();
    if (word == kPlayLoop)
        return f.WindowsMediaPlayer1.url();
    const bool fromSearch = word == kPlaySearch;
    const runtime::ListBox& names = fromSearch ? f.List4 : f.List1;
    const runtime::ListBox& paths = fromSearch ? f.List5 : f.List2;
    const int count = names.listCount();
    if ((word != kPlayList && word != kPlaySearch && word != kPlayOnce) || count == 0)
        return {};
    if (word == kPlayOnce && f.Text4.text() == f.List2.list(count - 1))
        return {};
    const int current = names.listIndex();
    return paths.list(current < count - 1 ? current + 1 : 0);
}

} // namespace

void Form5::WindowsMediaPlayer1_PlayStateChange(int newState)
{
    // A medium that ended moves on by the play mode; a stop the person pressed on the
    // control's bar stays stopped (the control remembers it until the next address or play).
    // Paused and the other states are ignored.
    if (newState == runtime::PlayStopped && !WindowsMediaPlayer1.stoppedByUser())
        lian.start(1);
    if (newState == runtime::PlayPlaying) {
        resumePlace();
        // The engine may start the next medium the moment this one ends (songs without a gap).
        WindowsMediaPlayer1.setNext(followingEntry(*this));
        findLyricsWhenNew(*this);
    }
}

void Form5::advanceInList(runtime::ListBox& names, runtime::ListBox& paths)
{
    const int current = names.listIndex();
    const int next = current < names.listCount() - 1 ? current + 1 : 0;
    WindowsMediaPlayer1.setUrl(paths.list(next));
    if (current >= 0)
        names.setListIndex(-1);
    names.setListIndex(next);
    WindowsMediaPlayer1.play();
    Text4.setText(paths.list(names.listIndex()));
    // Next and previous go on from the entry that now plays.
    if (&names == &List1)
        Text6.setText(vb::Str(next));
}

void Form5::lian_Timer()
{
    lian.setEnabled(false);
    const std::string word = Text3.text();
    if (word == kPlayLoop) {
        WindowsMediaPlayer1.play();
        return;
    }
    if (word == kPlayRepeatOne) {
        WindowsMediaPlayer1.stop();
        return;
    }
    const bool fromSearch = word == kPlaySearch;
    runtime::ListBox& names = fromSearch ? List4 : List1;
    runtime::ListBox& paths = fromSearch ? List5 : List2;
    if ((word != kPlayList && word != kPlaySearch && word != kPlayRandom && word != kPlayOnce)
        || names.listCount() == 0)
        return;
    const int count = names.listCount();

    if (word == kPlayRandom) {
        if (List1.listIndex() >= 0)
            List1.setListIndex(-1);
        // Sound: the draw covers the whole list, k in 0 .. n - 1 (a list of one plays that
        // one); the last entry is no longer left out.
        const int k = std::min(static_cast<int>(std::floor(clockSeededDraw() * count)), count - 1);
        WindowsMediaPlayer1.setUrl(List2.list(k));
        List1.setListIndex(k);
        WindowsMediaPlayer1.play();
        Text4.setText(List2.list(List1.listIndex()));
        Text6.setText(vb::Str(k));
        return;
    }
    if (word == kPlayOnce && Text4.text() == List2.list(count - 1)) {
        WindowsMediaPlayer1.stop();
        return;
    }
    advanceInList(names, paths);
}

void Form5::stepEntry(int step)
{
    hideDecoderHint();
    platform::MessageBoxRequest box;
    if (List1.list(0).empty()) {
        box.text = step > 0 ? "列表已经清空，无法进行下一曲" : "列表已经清空，无法进行上一曲";
        app().service<platform::Dialogs>().messageBox(box);
        return;
    }
    const int64_t count = List1.listCount();
    const int64_t index
        = std::clamp<int64_t>(vb::bankersRound(vb::Val(Text6.text())), -count - 1, count + 1) + step;
    Text6.setText(vb::Str(index));
    if (step > 0 ? index <= count - 1 : index >= 0) {
        Text4.setText(List2.list(static_cast<int>(index)));
        Timer2.start(1);
        return;
    }
    Text6.setText(step > 0 ? vb::Str(count - 1) : "0");
    box.text = step > 0 ? "已经到达最后一个，不能再前进" : "已经到达第一个，不能再后退";
    app().service<platform::Dialogs>().messageBox(box);
}

void Form5::Image10_Click()
{
    stepEntry(1);
}

void Form5::Image11_Click()
{
    stepEntry(-1);
}

} // namespace player
