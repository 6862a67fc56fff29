#pragma once
#include <string>
#include <vector>

#include "common/skin.h"
#include "runtime/controls.h"
#include "runtime/form.h"
#include "runtime/media_controls.h"

namespace music {

class music;
struct MusicService;

// The online music window: twelve service tiles and the browser that plays the chosen one.
class Form1 : public runtime::Form {
public:
    explicit Form1(runtime::App& app);
    void load() override;

    runtime::Image Image3 { *this, "Image3" };
    runtime::Image Image7 { *this, "Image7" };
    runtime::Image Image8 { *this, "Image8" };
    runtime::Image Image9 { *this, "Image9" };
    runtime::Image Image10 { *this, "Image10" };
    runtime::Image Image11 { *this, "Image11" };
    runtime::Image Image12 { *this, "Image12" };
    runtime::Image Image13 { *this, "Image13" };
    runtime::Image Image14 { *this, "Image14" };
    runtime::Image Image15 { *this, "Image15" };
    runtime::Image Image16 { *this, "Image16" };
    runtime::Image Image17 { *this, "Image17" };
    runtime::WebBrowser WebBrowser1 { *this, "WebBrowser1" };
    // The message panel over the browser area.
    runtime::TextBox Text5 { *this, "Text5" };
    // The page and the launch message of the service being started.
    runtime::TextBox qiemusic { *this, "qiemusic" };
    runtime::TextBox qiemusic1 { *this, "qiemusic1" };
    // Page-ready poll, one-shot launcher, skin refresh.
    runtime::Timer Timer2 { *this, "Timer2" };
    runtime::Timer Timer3 { *this, "Timer3" };
    runtime::Timer Timer5 { *this, "Timer5" };
    runtime::TextBox Text3 { *this, "Text3" };
    runtime::TextBox Text4 { *this, "Text4" };
    runtime::CommandButton Command1 { *this, "Command1" };

    // The document whose events the window handles: bound to the browser's current document
    // after every completed download.
    struct DocumentEvents {
        bool bound = false;
        std::string location;
    } M_Dom;

    // The twelve tiles in service order.
    std::vector<runtime::Image*> tiles();

    // Starts a service: takes its page, tests the connection and arms the launcher.
    void LaunchMusicService(const MusicService& service);

    void Image_Click(int index);
    void Image_MouseMove(int index);
    void Image15_MouseDown(const runtime::MouseEvent& e);
    void Timer2_Timer();
    void Timer3_Timer();
    void Timer5_Timer();
    void Command1_Click();
    void WebBrowser1_DownloadComplete();
    bool M_Dom_oncontextmenu();
    void Form_MouseDown(const runtime::MouseEvent& e);
    void Form_MouseMove(const runtime::MouseEvent& e);
    void Form_MouseUp(const runtime::MouseEvent& e);

private:
    common::SkinnedWindow skin();
    bool online();
};

// One online music service: its tile, its page on the page store, the tip its tile shows and
// the message shown while it starts.
struct MusicService {
    runtime::Image Form1::*tile;
    runtime::Label music::*page;
    const char* toolTip;
    const char* launchMessage;
    // The tile's picture resource.
    const char* picture;
};

// The twelve services in tile order (Image3, Image7 ... Image17).
const std::vector<MusicService>& musicServices();

// The panel text: four CR LF pairs push the message down into the panel.
std::string panelText(const std::string& message);

} // namespace music
