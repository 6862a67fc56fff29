#pragma once
// What the player tests share: the whole program with the player shown from the hub, a
// folder of media files outside the profile, and readers for the playlist files.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "player/player_window.h"
#include "runtime/app.h"
#include "shell/hub_window.h"
#include "support/temp_dir.h"
#include "support/test_program.h"
#include "traymenu/tray_window.h"

namespace player_testing {

using testing_support::readBytes;
using testing_support::writeBytes;

inline bool holds(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// The parts of a text parted by "|" (a list in a column of a table under tests/data/player).
inline std::vector<std::string> parts(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, '|');)
        out.push_back(part);
    return out;
}

// Lines joined the way the playlist files hold them: each ended by CR LF.
inline std::string crlf(const std::vector<std::string>& lines)
{
    std::string out;
    for (const auto& l : lines)
        out += l + "\r\n";
    return out;
}

class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        p.start();
        p.app.get<shell::moban>().Label7.mouseDown({ runtime::LeftButton, 0, 0, 0 });
        player().WindowsMediaPlayer1.log().take();
        player().WebBrowser3.log().take();
    }

    player::Form5& player() { return p.app.get<player::Form5>(); }
    traymenu::Form6& tray() { return p.app.get<traymenu::Form6>(); }

    // A path in the media folder outside the profile.
    std::string media(const std::string& relative) const
    {
        return (p.dir.path() / "media" / relative).string();
    }
    // Creates files in the media folder and returns the path of the first.
    std::string makeMedia(const std::vector<std::string>& relatives, const std::string& bytes = "data")
    {
        for (const auto& r : relatives)
            writeBytes(media(r), bytes);
        return media(relatives.front());
    }
    // The bytes of a playlist file ("mpath.ini"...).
    std::string listFile(const std::string& name) const { return readBytes(p.dataFile("Temp/" + name)); }
    void writeListFile(const std::string& name, const std::string& bytes)
    {
        writeBytes(p.dataFile("Temp/" + name), bytes);
    }
    // Shows the music (or video) list of these files of the media folder and clears the logs.
    void showList(const std::vector<std::string>& files, bool video = false)
    {
        std::vector<std::string> names;
        std::vector<std::string> paths;
        for (const auto& f : files) {
            names.push_back(">" + f);
            paths.push_back(media(f));
        }
        writeListFile(video ? "vname.ini" : "mname.ini", crlf(names));
        writeListFile(video ? "vpath.ini" : "mpath.ini", crlf(paths));
        (video ? player().Label7 : player().Label5).click();
        mediaCalls();
        p.dialogs->takeMessages();
    }

    // Drops files on the window and lets the jobs run.
    void drop(const std::vector<std::string>& files)
    {
        player().dropFiles(files);
        p.app.runUntilIdle();
    }
    // Selects an entry of the shown list and double-clicks it.
    void doubleClick(int index)
    {
        player().List1.setListIndex(index);
        player().List1.dblClick();
        p.app.runUntilIdle();
    }
    // Puts an address into the player and runs its play dispatcher, as the other starters do.
    void dispatch(const std::string& address)
    {
        player().Text4.setText(address);
        player().Timer2.start(1);
        p.app.runUntilIdle();
    }
    std::vector<std::string> mediaCalls() { return player().WindowsMediaPlayer1.log().take(); }
    std::vector<std::string> browserCalls() { return player().WebBrowser3.log().take(); }
    std::string page() { return player().WebBrowser3.documentText(); }

    testing_support::TestProgram p;
};

} // namespace player_testing
