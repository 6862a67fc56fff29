#pragma once
#include <string>
#include <vector>

#include "runtime/controls.h"
#include "runtime/form.h"
#include "runtime/media_controls.h"
#include "shell/skin.h"

namespace zelvora {

class music;
struct MusicService;

// The online music window: twelve service tiles and the browser that plays the chosen one.
class Form1 : public rt::Form {
public:
    explicit Form1(rt::App& app);
    void load() override;

    rt::Image Image3 { *this, "Image3" };
    rt::Image Image7 { *this, "Image7" };
    rt::Image Image8 { *this, "Image8" };
    rt::Image Image9 { *this, "Image9" };
    rt::Image Image10 { *this, "Image10" };
    rt::Image Image11 { *this, "Image11" };
    rt::Image Image12 { *this, "Image12" };
    rt::Image Image13 { *this, "Image13" };
    rt::Image Image14 { *this, "Image14" };
    rt::Image Image15 { *this, "Image15" };
    rt::Image Image16 { *this, "Image16" };
    rt::Image Image17 { *this, "Image17" };
    rt::WebBrowser WebBrowser1 { *this, "WebBrowser1" };
    // The message panel over the browser area.
    rt::TextBox Text5 { *this, "Text5" };
    // The page and the launch message of the service being started.
    rt::TextBox qiemusic { *this, "qiemusic" };
    rt::TextBox qiemusic1 { *this, "qiemusic1" };
    // Page-ready poll, one-shot launcher, skin refresh.
    rt::Timer Timer2 { *this, "Timer2" };
    rt::Timer Timer3 { *this, "Timer3" };
    rt::Timer Timer5 { *this, "Timer5" };
    rt::TextBox Text3 { *this, "Text3" };
    rt::TextBox Text4 { *this, "Text4" };
    rt::CommandButton Command1 { *this, "Command1" };

    // The document whose events the window handles: bound to the browser's current document
    // after every completed download.
    struct DocumentEvents {
        bool bound = false;
        std::string location;
    } M_Dom;

    // The twelve tiles in service order.
    std::vector<rt::Image*> tiles();

    // Starts a service: takes its page, tests the connection and arms the launcher.
    void LaunchMusicService(const MusicService& service);

    void Image_Click(int index);
    void Image_MouseMove(int index);
    void Image15_MouseDown(const rt::MouseEvent& e);
    void Timer2_Timer();
    void Timer3_Timer();
    void Timer5_Timer();
    void Command1_Click();
    void WebBrowser1_DownloadComplete();
    bool M_Dom_oncontextmenu();
    void Form_MouseDown(const rt::MouseEvent& e);
    void Form_MouseMove(const rt::MouseEvent& e);
    void Form_MouseUp(const rt::MouseEvent& e);

private:
    SkinnedWindow skin();
    bool online();
};

// One online music service: its tile, its page on the page store, the tip its tile shows and
// the message shown while it starts.
struct MusicService {
    rt::Image Form1::*tile;
    rt::Label music::*page;
    const char* toolTip;
    const char* launchMessage;
    // The tile's picture resource.
    const char* picture;
};

// The twelve services in tile order (Image3, Image7 ... Image17).
const std::vector<MusicService>& musicServices();

// The panel text: four CR LF pairs push the message down into the panel.
std::string panelText(const std::string& message);

} // namespace zelvora
