#include "assembly/media_remote.h"

#include "assembly/open_files.h"
#include "player/player_lyrics.h"
#include "player/player_window.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"
#include "shell/hub_window.h"
#include "traymenu/tray_window.h"

namespace assembly {

namespace {

// The player's mode words by what they do when a medium ends: play it again, go on and start
// over after the last entry, go on and stop after the last, stop, or draw an entry.
class PlayerRemote : public platform::MediaRemote {
public:
    explicit PlayerRemote(runtime::App& app)
        : m_app(app)
    {
    }

    runtime::MediaPlayer* player() override
    {
        player::Form5* window = m_app.find<player::Form5>();
        return window ? &window->WindowsMediaPlayer1 : nullptr;
    }

    bool canStep(int step) override
    {
        player::Form5* window = m_app.find<player::Form5>();
        if (!window || window->List1.listCount() == 0)
            return false;
        const double next = vb::Val(window->Text6.text()) + step;
        return next >= 0 && next <= window->List1.listCount() - 1;
    }

    void step(int step) override
    {
        // The buttons answer a step past either end with a message box; a media key that
        // cannot step does nothing instead.
        if (!canStep(step))
            return;
        player::Form5& window = m_app.get<player::Form5>();
        m_app.dispatch([&window, step] { step > 0 ? window.Image10_Click() : window.Image11_Click(); });
    }

    platform::TrackInfo track() override
    {
        platform::TrackInfo info;
        player::Form5* window = m_app.find<player::Form5>();
        if (!window || window->WindowsMediaPlayer1.url().empty())
            return info;
        const std::string& url = window->WindowsMediaPlayer1.url();
        info.lyrics = player::lyricsOf(*window);
        for (int i = 0; i < window->List2.listCount(); ++i) {
            if (window->List2.list(i) == url) {
                info.index = i;
                info.title = window->List1.list(i);
                break;
            }
        }
        return info;
    }

    void toggleDeskLyrics() override
    {
        m_app.dispatch([this] { m_app.get<traymenu::Form6>().geci_Click(); });
    }

    std::string lyrics() override
    {
        const player::Form5* window = m_app.find<player::Form5>();
        return window ? player::lyricsOf(*window) : std::string();
    }

    platform::PlayOrder playOrder() override
    {
        player::Form5* window = m_app.find<player::Form5>();
        return playOrderOf(window ? window->Text3.text() : std::string());
    }

    void setPlayOrder(const platform::PlayOrder& order) override
    {
        const std::string word = playModeFor(order, m_app.get<player::Form5>().Text3.text());
        traymenu::Form6& menu = m_app.get<traymenu::Form6>();
        for (runtime::Menu* item : { &menu.bodan, &menu.boxun, &menu.boshun, &menu.bolie, &menu.bosui }) {
            if (modeOfItem(menu, *item) == word) {
                item->click();
                return;
            }
        }
    }

    void open(const std::string& address) override
    {
        if (address.empty())
            return;
        if (address.front() == '/') {
            openFiles(m_app, { address });
            return;
        }
        // A web address plays as a typed one does.
        raise();
        m_app.dispatch([this, address] {
            player::Form5& window = m_app.get<player::Form5>();
            window.Text4.setText(address);
            window.Label14_Click();
        });
    }

    void raise() override { m_app.get<traymenu::Form6>().onlinevideo.click(); }

    void quit() override
    {
        traymenu::Form6& tray = m_app.get<traymenu::Form6>();
        m_app.dispatch([&tray] { tray.exitProgram(); });
    }

private:
    // The word each mode item of the playlist menu writes.
    static std::string modeOfItem(traymenu::Form6& menu, runtime::Menu& item)
    {
        if (&item == &menu.bodan)
            return player::kPlayRepeatOne;
        if (&item == &menu.boxun)
            return player::kPlayLoop;
        if (&item == &menu.boshun)
            return player::kPlayOnce;
        if (&item == &menu.bolie)
            return player::kPlayList;
        return player::kPlayRandom;
    }

    runtime::App& m_app;
};

} // namespace

platform::PlayOrder playOrderOf(const std::string& word)
{
    using platform::Repeat;
    if (word == player::kPlayRandom)
        return { Repeat::Playlist, true };
    if (word == player::kPlayLoop)
        return { Repeat::Track, false };
    if (word == player::kPlayList || word == player::kPlaySearch)
        return { Repeat::Playlist, false };
    return { Repeat::None, false };
}

std::string playModeFor(const platform::PlayOrder& order, const std::string& current)
{
    if (playOrderOf(current) == order)
        return current;
    if (order.shuffle)
        return player::kPlayRandom;
    switch (order.repeat) {
    case platform::Repeat::Track:
        return player::kPlayLoop;
    case platform::Repeat::Playlist:
        return player::kPlayList;
    case platform::Repeat::None:
        break;
    }
    return player::kPlayOnce;
}

void provideMediaRemote(runtime::App& app)
{
    app.provide<platform::MediaRemote>(std::make_shared<PlayerRemote>(app));
}

} // namespace assembly
