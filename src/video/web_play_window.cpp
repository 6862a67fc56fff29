// The web play window: its three uses, its browser, the hand-over to the video download
// window and the QVOD stream extraction.
#include "video/web_play_window.h"

#include "common/feature_window.h"
#include "common/page_text.h"
#include "platform/config.h"
#include "player/player_window.h"
#include "resources/resources.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"
#include "shell/hub_window.h"
#include "traymenu/tray_window.h"
#include "video/search_window.h"
#include "video/video_window.h"

namespace video {

namespace {

constexpr int kButtonHeight = 25;

// A half of a player page as the window holds it: the shared key guard in place and the
// plug-in download pages on the maker's site.
std::string pageHalf(runtime::App& app, const char* name)
{
    std::string text(resources::get(std::string("video_web/") + name + ".html"));
    text = vb::Replace(text, "/*page guard*/", resources::get("player/page_guard.js"));
    const std::string makerSite = app.service<platform::Config>().get("maker_site");
    return vb::Replace(text, "{maker_site}", common::pages::escapeAttribute(makerSite));
}

} // namespace

play::play(runtime::App& app)
    : runtime::Form(app, "play")
{
    common::setupFeatureWindow(*this, "正在播放");
    // A window of its own with a title bar; closing it unloads it.
    setOwnChrome(false);
    Command1.setCaption("下载此视频");
    for (runtime::Control* hidden :
        std::initializer_list<runtime::Control*> { &Text1, &guodu, &List1, &qovd1, &qovd2, &bdyy1, &bdyy2 })
        hidden->setVisible(false);
    qovd1.setCaption(pageHalf(app, "qovd1"));
    qovd2.setCaption(pageHalf(app, "qovd2"));
    bdyy1.setCaption(pageHalf(app, "bdyy1"));
    bdyy2.setCaption(pageHalf(app, "bdyy2"));
    WebBrowser1.onDocumentComplete = [this](const std::string& url) { WebBrowser1_DocumentComplete(url); };
    WebBrowser1.onNewWindow
        = [this](const std::string& url, bool& cancel) { WebBrowser1_NewWindow2(url, cancel); };
    Command1.onClick = [this] { Command1_Click(); };
    kuai.onTimer = [this] { kuai_Timer(); };
    onResize = [this] { Form_Resize(); };
}

void play::load()
{
    if (shell::moban* hub = app().find<shell::moban>())
        centreOver(*this, *hub);
    WebBrowser1.setSilent(true);
    WebBrowser1.stop();
    setCaption(kWebPlayTitle);
    Form_Resize();
}

void play::centreOver(runtime::Form& window, const runtime::Form& over)
{
    window.move(over.left() + over.width() / 2 - window.width() / 2,
        over.top() + over.height() / 2 - window.height() / 2);
}

void play::Form_Resize()
{
    // The inside: a frame's title bar and borders are not the browser's.
    const int width = static_cast<int>(scaleWidth());
    const int height = static_cast<int>(scaleHeight());
    WebBrowser1.move(0, 0, width, height);
    Command1.move(0, 0, width, kButtonHeight);
}

void play::WebBrowser1_DocumentComplete(const std::string&)
{
    WebBrowser1.setVisible(true);
}

void play::WebBrowser1_NewWindow2(const std::string& url, bool& cancel)
{
    // Links that target a new window open here instead.
    cancel = true;
    const std::string href = WebBrowser1.activeElementHref();
    // Sound: a request that no link made (a page's own script, such as the player pages'
    // install prompts) opens the address it asked for.
    const std::string& address = href.empty() ? url : href;
    if (!address.empty())
        WebBrowser1.navigate(address);
}

void play::showPlaying()
{
    Form_Resize();
    shell::moban* hub = app().find<shell::moban>();
    if (hub)
        hub->Label10.setVisible(true);
    show(false, hub);
}

void play::playPage(const std::string& address)
{
    Text1.setText(address);
    Command1.setVisible(true);
    WebBrowser1.navigate(address);
    showPlaying();
}

void play::playQvodResource(const std::string& detailPage)
{
    Command1.setVisible(false);
    m_waitStarted = app().now();
    kuai.start(1);
    app().get<traymenu::Form6>().WebBrowser3.navigate(detailPage);
    showPlaying();
}

void play::playBaiduResource(const std::string& address)
{
    Command1.setVisible(false);
    WebBrowser1.reload("");
    WebBrowser1.write(playerPage(bdyy1, bdyy2, address));
    showPlaying();
}

std::string play::playerPage(
    const runtime::Label& first, const runtime::Label& second, const std::string& address) const
{
    // Sound: the address is escaped for the attribute value it lands in.
    return first.caption() + common::pages::escapeAttribute(address) + second.caption();
}

void play::Command1_Click()
{
    Form2& download = app().get<Form2>();
    centreOver(download, *this);
    for (const char* chrome : { "Label1", "Label2" }) {
        if (runtime::Control* label = download.control(chrome))
            label->setVisible(true);
    }
    download.Text3.setLeft(40);
    download.Text3.setWidth(748);
    download.Command9.setLeft(798);
    download.Text3.setText(Text1.text());
    download.Command9.setEnabled(true);
    download.Command9.setFontSize(13);
    download.Command9.setCaption("解析下载");
    download.show();
}

void play::kuai_Timer()
{
    runtime::WebBrowser& page = app().get<traymenu::Form6>().WebBrowser3;
    std::vector<std::string> addresses;
    if (page.busy()) {
        // Sound: a resource page that does not load in time counts as one without a player
        // link, instead of polling forever.
        if (app().now() - m_waitStarted < kSiteTimeLimitMs)
            return;
        page.stop();
    } else {
        page.setBodyScroll("no");
        page.refresh();
        for (runtime::BrowserLink& link : page.linksAndImages())
            addresses.push_back(std::move(link.href));
    }
    guodu.setItems(std::move(addresses));
    const std::string prefix = app().service<platform::Config>().get("pick.qovd") + kQvodPlayerPath;
    std::string stream;
    for (const std::string& address : guodu.items()) {
        if (address.compare(0, prefix.size(), prefix) == 0) {
            stream = address.substr(prefix.size());
            break;
        }
    }
    List1.addItem(stream);
    app().get<player::Form5>().Text4.setText(stream);
    WebBrowser1.reload("");
    WebBrowser1.write(playerPage(qovd1, qovd2, stream));
    kuai.setEnabled(false);
}

} // namespace video
