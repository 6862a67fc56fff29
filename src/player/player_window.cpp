// The player window: its controls as designed, start-up, the decoder hint and the wide and
// normal layouts of the video area.
#include "player/player_window.h"

#include <algorithm>

#include "common/feature_window.h"
#include "common/file_download.h"
#include "platform/config.h"
#include "platform/decoders.h"
#include "platform/environment.h"
#include "platform/shell.h"
#include "platform/textfile.h"
#include "player/media_kinds.h"
#include "player/page_templates.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"
#include "traymenu/tray_window.h"

namespace player {

namespace {
constexpr int64_t kTabLight = 0xE0E0E0;
constexpr int64_t kTabDark = 0x404040;
constexpr const char* kDecoderHint
    = "注：软件检测到您的软件版本为绿色版，不包含解码器，请点击“立即安装”来为软件安装解码器";
} // namespace

Form5::Form5(runtime::App& app)
    : runtime::Form(app, "Form5")
{
    common::setupFeatureWindow(*this, "在线影音");
    designLayout();
    wireEvents();
    setupNetworkTab();
}

Form5::~Form5() = default;

void Form5::designLayout()
{
    for (runtime::Control* hidden : std::initializer_list<runtime::Control*> { &List2, &List3, &List5,
             &liebiao, &Text3, &Text6, &Text7, &Text8, &qvod, &bdhd, &zelv, &Text2, &Text5, &Picture1,
             &Picture5, &List4, &List6, &List7, &Label8, &Label9, &WebBrowser3 })
        hidden->setVisible(false);
    liebiao.setText(kMusicListCaption);
    Text3.setText("text3");
    Text6.setText("0");

    const std::string makerSite = app().service<platform::Config>().get("maker_site");
    qvod.setText(pages::loadTemplate("qvod", makerSite));
    bdhd.setText(pages::loadTemplate("bdhd", makerSite));
    zelv.setText(pages::loadTemplate("zelv", makerSite));

    struct Tab {
        runtime::Label* label;
        const char* caption;
        int left;
    };
    for (const Tab& t : { Tab { &Label5, kMusicListCaption, 7 }, Tab { &Label7, kVideoListCaption, 69 },
             Tab { &Label6, kNetworkListCaption, 131 } }) {
        t.label->setCaption(t.caption);
        t.label->move(t.left, 2, 60, 20);
        t.label->setAlignment(runtime::AlignCenter);
    }
    markTabs(Label5);
    List1.move(7, 23, 185, 530);

    struct Tool {
        runtime::Image* image;
        const char* tip;
        const char* picture;
    };
    // Previous and next carry no tooltip.
    const Tool tools[] = { { &Image11, "", "pictures/ui/player_previous.png" },
        { &Image10, "", "pictures/ui/player_next.png" },
        { &Image12, "随机播放列表中的音乐或视频", "pictures/ui/player_mode.png" },
        { &Image14, "搜索列表中音乐或视频", "pictures/ui/player_search.png" },
        { &Image15, "添加一个文件夹中的所有音乐和视频", "pictures/ui/player_add.png" } };
    int left = 12;
    for (const Tool& t : tools) {
        t.image->move(left, 556, 22, 22);
        t.image->setToolTipText(t.tip);
        t.image->setPicture(common::resourcePicture(t.picture));
        left += 36;
    }
    Picture6.setPicture(common::resourcePicture("pictures/ui/player_wide.png"));
    Picture5.setPicture(common::resourcePicture("pictures/ui/player_normal.png"));
    Text2.move(7, 528, 160, 22);
    Picture1.move(170, 530, 18, 18);
    Picture1.setPicture(common::resourcePicture("pictures/ui/player_close.png"));
    Picture6.move(192, 252, 8, 60);
    Picture6.setEnabled(false);
    Picture5.move(0, 252, 8, 60);

    Text4.move(200, 2, 729, 20);
    Text5.move(201, 25, kInsideRight - 201, 553);
    Text5.setMultiLine(true);
    Text5.setLocked(true);
    WindowsMediaPlayer1.move(201, 25, kInsideRight - 201, 553);
    WebBrowser3.move(200, 25, kInsideRight - 200, 553);
    Label4.setCaption("直接拖视频到此处播放");
    Label4.move(208, kStatusTop, 740, 30);
    Label4.setAlignment(runtime::AlignCenter);
    Label8.setCaption("首次次打开flv格式文件，需要初始化...");
    Label8.move(208, 250, 500, 24);
    Label9.move(708, 250, 120, 24);
    Label10.setCaption(kDecoderHint);
    Label10.move(208, 590, 750, 40);
    Image16.move(424, 608, 72, 22);
    Image16.setToolTipText("立即安装");
    Image16.setPicture(common::resourcePicture("pictures/ui/player_install.png"));
    List4.move(208, 25, 240, 480);
    List6.move(208, 25, 240, 480);
    List7.move(448, 25, 240, 480);
}

void Form5::wireEvents()
{
    onDragDrop = [this](const std::vector<std::string>& f) { Form_OLEDragDrop(f); };
    List1.onDragDrop = [this](const std::vector<std::string>& f) { List1_OLEDragDrop(f); };
    Label4.onDragDrop = [this](const std::vector<std::string>& f) { Label4_OLEDragDrop(f); };
    Label5.onClick = [this] { Label5_Click(); };
    Label7.onClick = [this] { Label7_Click(); };
    List1.onClick = [this] { List1_Click(); };
    List1.onDblClick = [this] { List1_DblClick(); };
    List1.onMouseDown = [this](const runtime::MouseEvent& e) { List1_MouseDown(e); };
    List4.onDblClick = [this] { List4_DblClick(); };
    List4.onMouseDown = [this](const runtime::MouseEvent& e) { List4_MouseDown(e); };
    Image10.onClick = [this] { Image10_Click(); };
    Image11.onClick = [this] { Image11_Click(); };
    Image12.onMouseDown = [this](const runtime::MouseEvent& e) { Image12_MouseDown(e); };
    Image14.onClick = [this] { Image14_Click(); };
    Image15.onMouseDown = [this](const runtime::MouseEvent& e) { Image15_MouseDown(e); };
    Image16.onClick = [this] { Image16_Click(); };
    Text2.onChange = [this] { Text2_Change(); };
    Text3.onChange = [this] { Text3_Change(); };
    Picture1.onClick = [this] { Picture1_Click(); };
    Picture5.onClick = [this] { Picture5_Click(); };
    Picture6.onClick = [this] { Picture6_Click(); };
    WebBrowser3.onNewWindow
        = [this](const std::string& url, bool& cancel) { WebBrowser3_NewWindow2(url, cancel); };
    WindowsMediaPlayer1.onPlayStateChange = [this](int state) { WindowsMediaPlayer1_PlayStateChange(state); };
    WindowsMediaPlayer1.onUndecodable = [this] { WindowsMediaPlayer1_Undecodable(); };
    WindowsMediaPlayer1.setAddressCheck(media::reachesEngine);
    WindowsMediaPlayer1.onMouseMove
        = [this](const runtime::MouseEvent& e) { WindowsMediaPlayer1_MouseMove(e); };
    Timer2.onTimer = [this] { Timer2_Timer(); };
    Timer3.onTimer = [this] { Timer3_Timer(); };
    Timer5.onTimer = [this] { Timer5_Timer(); };
    Timer6.onTimer = [this] { Timer6_Timer(); };
    lian.onTimer = [this] { lian_Timer(); };
    zz.onTimer = [this] { zz_Timer(); };
    zzl.onTimer = [this] { zzl_Timer(); };
    tishi.onTimer = [this] { tishi_Timer(); };
    jixu.onTimer = [this] { jixu_Timer(); };
    WindowsMediaPlayer1.onSoundChange = [this] { WindowsMediaPlayer1_SoundChange(); };
    WindowsMediaPlayer1.onLeave = [this] { WindowsMediaPlayer1_Leave(); };
}

common::SkinnedWindow Form5::skin()
{
    common::SkinnedWindow w { *this, Text8, Text7, { &List1, &List4, &List6, &List7 } };
    w.recreatesFile = true;
    return w;
}

void Form5::load()
{
    common::ApplySkinOnLoad(skin());
    // A song shows its tags on the skin's colour, which the lists wear.
    WindowsMediaPlayer1.setBackColor(List1.backColor());
    ensurePlaylistFiles(app(), Playlist::Music);
    ensurePlaylistFiles(app(), Playlist::Video);
    loadPlaylist(Playlist::Music);
    restoreSound();

    const std::string check
        = platform::joinPath(app().service<platform::Environment>().programFolder(), "check.exe");
    // Here the decoders are the media framework's: the hint shows only when it lacks one for a
    // common format (the companion program still counts where it exists).
    const bool decoderPresent = platform::fileExists(check)
        || (app().hasService<platform::Decoders>() && app().service<platform::Decoders>().missing().empty());
    Label10.setVisible(!decoderPresent);
    Image16.setVisible(!decoderPresent);

    startupLayout();
    // The window opens where the hub was last seen.
    const traymenu::Form6& tray = app().get<traymenu::Form6>();
    move(static_cast<int>(vb::toLong(tray.Text1.text())), static_cast<int>(vb::toLong(tray.Text2.text())));
}

void Form5::startupLayout()
{
    Picture6.move(192, 252, Picture6.width(), Picture6.height());
    Picture5.move(0, 252, Picture5.width(), Picture5.height());
    Picture5.setVisible(false);
    WebBrowser3.setVisible(false);
    WebBrowser3.move(200, 25, kInsideRight - 200, 553);
    WebBrowser3.navigate("about:blank");
    for (runtime::Control* c : std::initializer_list<runtime::Control*> {
             &Text5, &Text2, &Picture1, &List4, &List6, &List7, &Label8, &Label9 })
        c->setVisible(false);
    List1.move(7, 23, List1.width(), 530);
    List6.move(List4.left(), List4.top(), List4.width(), List4.height());
    List7.move(List4.left() + 240, List4.top(), List7.width(), List7.height());
    Text4.setText(kStartHint);
}

void Form5::Timer5_Timer()
{
    common::RefreshSkin(skin(), Timer5);
    WindowsMediaPlayer1.setBackColor(List1.backColor());
}

void Form5::WindowsMediaPlayer1_Undecodable()
{
    // Sound: a medium that cannot be decoded says so, naming the common formats it may need
    // that the media framework has no decoder for, instead of a silent black area.
    // An address refused before the engine is no question of decoders.
    std::string missing;
    if (app().hasService<platform::Decoders>() && !WindowsMediaPlayer1.refused()) {
        const auto lacking = app().service<platform::Decoders>().missing();
        for (const std::string& format : platform::formatsOfMedium(WindowsMediaPlayer1.url())) {
            if (std::find(lacking.begin(), lacking.end(), format) != lacking.end())
                missing += (missing.empty() ? "" : "、") + format;
        }
    }
    // Without a decoder to name, the engine's own reason says why (an unknown format, a file
    // that cannot be read).
    const std::string& reason = WindowsMediaPlayer1.undecodableReason();
    std::string text = kUndecodable;
    if (!missing.empty())
        text += "：缺少 " + missing + " 解码器";
    else if (!reason.empty())
        text += "：" + reason;
    showOverlay(3, text);
}

void Form5::hideDecoderHint()
{
    Label10.setVisible(false);
    Image16.setVisible(false);
}

void Form5::closeMediaPlayer()
{
    WindowsMediaPlayer1.close();
    WindowsMediaPlayer1.setVisible(false);
}

bool Form5::mediaPlayerBusy() const
{
    switch (WindowsMediaPlayer1.playState()) {
    case runtime::PlayPlaying:
    case runtime::PlayPaused:
    case runtime::PlayBuffering:
    case runtime::PlayWaiting:
        return true;
    default:
        return false;
    }
}

void Form5::markTabs(runtime::Label& chosen)
{
    for (runtime::Label* tab : { &Label5, &Label6, &Label7 }) {
        const bool on = tab == &chosen;
        tab->setBackStyle(on ? runtime::Opaque : runtime::Transparent);
        tab->setBackColor(on ? kTabLight : kTabDark);
        tab->setForeColor(on ? kTabDark : kTabLight);
    }
}

bool Form5::shownPlaylist(Playlist& list) const
{
    if (Label7.backStyle() == runtime::Opaque) {
        list = Playlist::Video;
        return true;
    }
    if (Label5.backStyle() == runtime::Opaque) {
        list = Playlist::Music;
        return true;
    }
    return false;
}

void Form5::Image16_Click()
{
    const std::string server = app().service<platform::Config>().get("update_server");
    // The desktop's browser reports its own trouble.
    std::ignore = app().service<platform::Shell>().open(server + "/decoder.exe");
}

void Form5::Picture6_Click()
{
    for (runtime::Control* c : std::initializer_list<runtime::Control*> { &List1, &Text2, &Picture1, &Label5,
             &Label6, &Label7, &Image10, &Image11, &Image12, &Image14, &Image15, &Picture6 })
        c->setVisible(false);
    List4.setLeft(5);
    List6.setLeft(5);
    List7.setLeft(245);
    Image16.setLeft(280);
    Label10.setLeft(1);
    WebBrowser3.move(1, 25, kInsideRight - 1, 553);
    WindowsMediaPlayer1.move(0, 25, kInsideRight, 553);
    Text4.setLeft(0);
    Text4.setWidth(929);
    Label4.setLeft(88);
    Picture5.setVisible(true);
}

void Form5::Picture5_Click()
{
    List4.setLeft(208);
    List6.setLeft(208);
    List7.setLeft(448);
    Label10.setLeft(208);
    Label4.setLeft(208);
    Image16.setLeft(424);
    List1.move(7, 23, List1.width(), 530);
    List1.setVisible(true);
    WebBrowser3.move(208, 25, kInsideRight - 208, 553);
    WindowsMediaPlayer1.move(201, 25, kInsideRight - 201, 553);
    Text4.setLeft(200);
    Text4.setWidth(729);
    for (runtime::Control* c : std::initializer_list<runtime::Control*> {
             &Label5, &Label6, &Label7, &Image10, &Image11, &Image12, &Image14, &Image15, &Picture6 })
        c->setVisible(true);
    Picture5.setVisible(false);
}

} // namespace player
