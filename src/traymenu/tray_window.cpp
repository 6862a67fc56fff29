#include "traymenu/tray_window.h"

#include "common/data_folders.h"
#include "common/feature_window.h"
#include "common/skin.h"
#include "desklyrics/desk_lyrics_window.h"
#include "music/music_window.h"
#include "platform/codec.h"
#include "platform/textfile.h"
#include "platform/tray.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"
#include "settings/settings_window.h"
#include "shell/hub_window.h"

namespace traymenu {

namespace {

// Shows the hub (again, when it was closed: loading it places its child below it).
void showHub(runtime::App& app)
{
    shell::moban& hub = app.get<shell::moban>();
    if (hub.windowState() == runtime::WindowState::Minimized)
        hub.setWindowState(runtime::WindowState::Normal);
    hub.show();
}

const char* const kTip = "Zelvora影音管理\n看电影、下视频、听音乐，你值得收藏";
constexpr int kTipLength = 64;
} // namespace

Form6::Form6(runtime::App& app)
    : runtime::Form(app, "Form6")
{
    setCaption("辅助系统栏的菜单选项");
    setWidth(4800);
    setHeight(3600);
    Image1.setPicture(common::resourcePicture("pictures/skin.jpg"));
    pic.setPicture(common::resourcePicture("pictures/ui/tray.png"));
    xin.setText("V1.0.0.13");
    xin1.setText("13");
    Text1.setText("2970");
    Text2.setText("1125");
    WebBrowser3.setVisible(false);
    pic.onMouseMove = [this](const runtime::MouseEvent& e) { pic_MouseMove(e); };
    onDblClick = [this] { Form_DblClick(); };
    WebBrowser3.onBeforeNavigate = [this](const std::string& url) { WebBrowser3_BeforeNavigate(url); };
    opentool.onClick = [this] { opentool_Click(); };
    downvideo.onClick = [this] { downvideo_Click(); };
    downlist.onClick = [this] { downlist_Click(); };
    onlinemusic.onClick = [this] { onlinemusic_Click(); };
    onlinevideo.onClick = [this] { onlinevideo_Click(); };
    exitmaun.onClick = [this] { exitmaun_Click(); };
    geci.onClick = [this] { geci_Click(); };
    jiesuo.onClick = [this] { jiesuo_Click(); };
    wirePlaylistMenu();
}

void Form6::load()
{
    // The window is never shown, so there are no window updates to hold back until the
    // browser's first navigation.
    applySkinDefaults();
    addNotificationIcon();
    const int64_t colour = common::colourValue(Text3.text());
    settings::setz& settings = app().get<settings::setz>();
    settings.Label1.setBackColor(colour);
    settings.Label3.setBackColor(colour);
    music::Form1& music = app().get<music::Form1>();
    music.setBackColor(colour);
    music.Text5.setBackColor(colour);
    desklyrics::restoreDeskLyrics(app());
    markDeskLyrics();
}

void Form6::applySkinDefaults()
{
    runtime::App& a = app();
    const common::DataPaths paths = common::dataPaths(a);
    ini2.setText(paths.zelvJpg);
    common::EnsureDataFolders(a);
    if (!platform::fileExists(paths.zelvJpg) && !Image1.picture().empty())
        std::ignore = platform::writeFileAtomic(paths.zelvJpg, *Image1.picture().bytes); // tried each start
    if (!platform::fileExists(paths.iniDb))
        // Without the file the skin is the default one, and the next start writes it again.
        std::ignore
            = common::WriteSkinSettings(a, common::kDefaultColour, paths.zelvJpg, common::kModePicture, true);
    common::LoadSkinSettings(a);
    const common::SkinLines s = common::skinLines(a);
    ini1.setText(s.colour);
    ini2.setText(s.picture);
    ini3.setText(s.mode);
    Text3.setText(s.colour);
    Text4.setText(s.mode);
}

void Form6::addNotificationIcon()
{
    m_icon = platform::NotifyIconRecord();
    m_icon.window = &pic;
    m_icon.icon = pic.picture();
    // The tip is a fixed field of 64 characters, padded with blanks.
    std::string tip = kTip;
    const int length = vb::Len(tip);
    if (length < kTipLength)
        tip += std::string(static_cast<size_t>(kTipLength - length), ' ');
    else
        tip = vb::Left(tip, kTipLength);
    m_icon.tip = tip;
    m_icon.tipBytes = platform::encode(tip, common::codePage(app()));
    if (app().hasService<platform::TrayIcon>())
        app().service<platform::TrayIcon>().add(m_icon);
}

void Form6::pic_MouseMove(const runtime::MouseEvent& e)
{
    // The icon's notifications arrive as the message number in twips: 0x204 × 15 = 0x1E3C is
    // the right button going down.
    const std::string message = vb::Hex(vb::bankersRound(e.x));
    if (message == "1E3C") {
        markDeskLyrics();
        popupMenu(kuai);
    }
    // A left click (0x202 × 15, the button coming up) brings the hub back, as the icons of
    // every desktop do; desktops that show the menu themselves offer nothing else on a click.
    else if (message == "1E1E")
        showHub(app());
}

void Form6::Form_DblClick()
{
    app().get<music::Form1>().show();
}

void Form6::WebBrowser3_BeforeNavigate(const std::string&)
{
    WebBrowser3.setVisible(true);
}

} // namespace traymenu
