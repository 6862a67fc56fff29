// The commands the playlist menu runs on the player.
#include "platform/environment.h"
#include "player/media_kinds.h"
#include "player/player_window.h"

namespace player {

void Form5::playNetworkEntry(int index)
{
    Picture6.setEnabled(true);
    WindowsMediaPlayer1.stop();
    WindowsMediaPlayer1.setVisible(false);
    Text4.setText(List2.list(index));
    WebBrowser3.setVisible(true);
    WebBrowser3.navigate(Text4.text());
    WebBrowser3.setSilent(true);
    WebBrowser3.move(200, 25, kInsideRight - 200, 553);
}

void Form5::startAddJob(const std::string& path)
{
    Text4.setText(path);
    Timer6.start(1);
}

void Form5::addFolder(const std::string& folder)
{
    // Earlier search results are cleared first, so the add job gets a file of this folder.
    List4.clear();
    List5.clear();
    File2.setPattern(media::kAddFolderPattern);
    File2.setPath(folder);
    const std::string prefix = folder.back() == platform::kSeparator ? folder : folder + platform::kSeparator;
    for (const std::string& name : File2.items()) {
        List4.addItem(name);
        List5.addItem(prefix + name);
    }
    List4.setVisible(true);
    startAddJob(List5.list(0));
}

} // namespace player
