// The network tab: the channel list, the address box with its button, the network search
// it starts, and the search result lists.
#include "common/page_helpers.h"
#include "platform/config.h"
#include "player/player_window.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"
#include "video/search_window.h"
#include "video/web_play_window.h"

namespace player {

namespace {

constexpr int kChannelCount = 26;
// The channel names in list order; channel n's page is the Config key "channel.n".
constexpr const char* kChannels[kChannelCount] = { ">土豆网", ">优酷网", ">爱奇艺", ">腾讯视频", ">酷六网",
    ">搜狐视频", ">迅雷看看", ">搜狐视频", ">凤凰视频", ">酷米视频", ">乐视视频", ">PPTV高清影院",
    ">PPTV电视剧场", ">PPTV动漫卡通", ">PPTV综艺节目", ">PPTV游戏视频", ">PPTV热点追踪", ">CNTV",
    ">网络电视频道一", ">网络电视频道二", ">网络电视频道三", ">电视节目预报", ">广播电台频道一",
    ">广播电台频道二", ">有声小说", ">电影提交" };

constexpr int64_t kNetworkListColour = 0xD9D9D8;
constexpr int64_t kButtonHover = 0x80FF80;
// The address box's button at rest: opaque white, as the box beside it.
constexpr int64_t kButtonColour = 0xFFFFFF;
constexpr const char* kHiddenAddress = "网址已经加密...";
constexpr const char* kVideoTip = "这是普通视频，无需插件，双击即可播放";
constexpr const char* kPluginTip
    = "播放此类视频需要插件，必须安装百度影音或者快播，如果您没有安装，软件会自动引导您安装";

} // namespace

void Form5::setupNetworkTab()
{
    Label14.setCaption("搜");
    // Up to the window's right edge (960), not past it.
    Label14.move(930, 2, 30, 20);
    Label14.setBackColor(kButtonColour);
    Label14.setAlignment(runtime::AlignCenter);
    List6.setToolTipText(kVideoTip);
    List7.setToolTipText(kPluginTip);
    Label6.onClick = [this] { Label6_Click(); };
    Text4.onClick = [this] { Text4_Click(); };
    Label14.onClick = [this] { Label14_Click(); };
    Label14.onMouseMove = [this](const runtime::MouseEvent& e) { Label14_MouseMove(e); };
    Label14.onMouseLeave = [this] { Label14_MouseLeave(); };
    List6.onClick = [this] { List6_Click(); };
    List6.onDblClick = [this] { List6_DblClick(); };
    List7.onClick = [this] { List7_Click(); };
    List7.onDblClick = [this] { List7_DblClick(); };
}

void Form5::Label6_Click()
{
    if (Label6.caption() != kNetworkListCaption)
        return;
    List1.setFontBold(true);
    List1.setForeColor(kNetworkListColour);
    for (runtime::Control* c : std::initializer_list<runtime::Control*> {
             &Image12, &Image14, &Image15, &Image10, &Image11, &List6, &List7 })
        c->setVisible(false);
    List1.setTop(23);
    List1.setHeight(560);
    liebiao.setText(kNetworkListCaption);
    markTabs(Label6);
    const platform::Config& config = app().service<platform::Config>();
    std::vector<std::string> names(std::begin(kChannels), std::end(kChannels));
    std::vector<std::string> pages;
    for (int row = 1; row <= kChannelCount; ++row)
        pages.push_back(config.get("channel." + std::to_string(row)));
    List1.setItems(std::move(names));
    List2.setItems(std::move(pages));
    m_listHoldsPlaylist = false;
}

void Form5::playChannel()
{
    if (List1.listIndex() < 0)
        return;
    Picture6.setEnabled(true);
    closeMediaPlayer();
    Text4.setText(List2.list(List1.listIndex()));
    showInBrowser(Text4.text());
}

void Form5::showInBrowser(const std::string& address)
{
    WebBrowser3.setVisible(true);
    WebBrowser3.navigate(address);
    WebBrowser3.setSilent(true);
    WebBrowser3.move(200, 25, kInsideRight - 200, 553);
}

void Form5::Text4_Click()
{
    if (Text4.text() == kAddressRequired || Text4.text() == kStartHint)
        Text4.setText("");
}

void Form5::Label14_MouseMove(const runtime::MouseEvent&)
{
    Label14.setBackStyle(runtime::Opaque);
    Label14.setBackColor(kButtonHover);
}

void Form5::Label14_MouseLeave()
{
    Label14.setBackColor(kButtonColour);
}

void Form5::Label14_Click()
{
    const std::string address = Text4.text();
    if (address.empty() || address == kAddressRequired || address == kStartHint) {
        Text4.setText(kAddressRequired);
        return;
    }
    // Sound: an absolute path of this platform is a local path as well as the drive form.
    if (vb::Mid(address, 2, 2) == ":\\" || address.front() == '/') {
        showOverlay(3, "正在载入搜索结果...");
        hideDecoderHint();
        Timer2.start(1);
        return;
    }
    // Designed: only a lower-case scheme makes a web address; "HTTP://..." is searched for.
    // Sound: "https://" is a web address too.
    if (address.starts_with("http://") || address.starts_with("https://")) {
        closeMediaPlayer();
        showInBrowser(address);
        return;
    }
    startNetworkSearch();
}

void Form5::startNetworkSearch()
{
    const bool connected = common::internetConnected(app());
    video::search& worker = app().get<video::search>();
    worker.clearResults();
    List6.clear();
    List7.clear();
    worker.Text1.setText(video::kSearchFirstState);
    List6.setVisible(false);
    List7.setVisible(false);
    // Sound: the search's status stands below the result lists, which would cover it in the
    // middle of the video area once they are shown.
    Label4.setTop(kSearchStatusTop);
    Label4.setVisible(true);
    Label4.setCaption(connected ? video::kSearchStarted : video::kSearchOffline);
    closeMediaPlayer();
    WebBrowser3.stop();
    WebBrowser3.setVisible(false);
    hideDecoderHint();
    if (connected)
        worker.Timer1.start(1);
}

void Form5::List6_Click()
{
    if (List6.listIndex() >= 0)
        Text4.setText(app().get<video::search>().dizhi6.list(List6.listIndex()));
}

void Form5::List6_DblClick()
{
    const std::string address = app().get<video::search>().dizhi6.list(List6.listIndex());
    if (!address.empty())
        app().get<video::play>().playPage(address);
}

void Form5::List7_Click()
{
    const std::string address = app().get<video::search>().dizhi7.list(List7.listIndex());
    if (address.starts_with("bdhd://"))
        Text4.setText(address);
    else if (address.starts_with("http://"))
        Text4.setText(kHiddenAddress);
}

void Form5::List7_DblClick()
{
    const std::string address = app().get<video::search>().dizhi7.list(List7.listIndex());
    if (address.starts_with("http://"))
        app().get<video::play>().playQvodResource(address);
    else if (address.starts_with("bdhd://"))
        app().get<video::play>().playBaiduResource(address);
}

} // namespace player
