#include "toolbox/runner_window.h"

#include "common/chrome.h"
#include "common/data_folders.h"
#include "common/feature_window.h"
#include "common/page_helpers.h"
#include "platform/environment.h"
#include "platform/textfile.h"
#include "runtime/app.h"
#include "shell/hub_window.h"
#include "toolbox/tool_files.h"
#include "toolbox/toolbox_window.h"

namespace toolbox {

namespace {
constexpr int kWidth = 9000;
constexpr int kHeight = 5400;
constexpr int64_t kCloseHover = 255;
constexpr int64_t kMinimiseHover = 0x80FF80;
} // namespace

tooldiao::tooldiao(runtime::App& app)
    : runtime::Form(app, "tooldiao")
{
    designLayout();
    wireEvents();
}

void tooldiao::designLayout()
{
    setCaption("工具箱");
    setOwnChrome(true);
    setWidth(kWidth);
    setHeight(kHeight);
    setBackColor(0xFFFFFF);
    for (runtime::Control* hidden :
        std::initializer_list<runtime::Control*> { &qie, &wf1, &wf2, &djs, &start1, &start2, &start3,
            &closed1, &closed2, &wan, &diao, &vbs, &kdjs, &Image1, &Text3, &Text4, &Label2, &jin, &Label5,
            &ssid, &Label6, &mi, &Label8, &Combo1, &Command2, &Command3, &wfts, &Command4, &WebBrowser1 })
        hidden->setVisible(false);
    start1.setCaption(kStart1);
    start2.setCaption(toolText("start2.txt"));
    start3.setCaption("\" \"on\"");
    closed1.setCaption(toolText("closed1.txt"));
    closed2.setCaption(toolText("closed2.txt"));
    wan.setCaption("netsh interface show interface>\"");
    diao.setCaption("\"");
    // Sound: the sharing script's "off" ends the sharing (DisableSharing) rather than asking for
    // a sharing type that does not exist.
    vbs.setCaption(toolText("ics.vbs"));

    Image2.setPicture(common::resourcePicture("pictures/ui/logo.png"));
    Image2.setStretch(true);
    Label3.setCaption("×");
    Label3.setAlignment(runtime::AlignCenter);
    Label3.setBackStyle(runtime::Transparent);
    Label3.move(kWidth - 420, 0, 420, 420);
    Label4.setCaption("-");
    Label4.setAlignment(runtime::AlignCenter);
    Label4.setBackStyle(runtime::Transparent);
    Label4.move(kWidth - 840, 0, 420, 420);

    Label1.setCaption("请输入对方QQ号码：");
    Command1.setCaption("开始聊天");
    Label2.setCaption("定位中...");
    Label5.setCaption("网络SSID：");
    ssid.setText("zelvina");
    Label6.setCaption("连接密匙：");
    Label8.setCaption("网络连接：");
    Command2.setCaption("建立WiFi");
    Command3.setCaption("删除WiFi");
    wfts.setCaption("wifi操作提示");
    jin.setCaption("正在启动...");
    Label7.setCaption("");
    // The texts stand on the runner's own background.
    for (runtime::Label* text : { &Label1, &Label2, &Label5, &Label6, &Label8, &wfts, &jin, &Label7 })
        text->setBackStyle(runtime::Transparent);
    Command4.setCaption("恢复原DNS");

    const struct {
        runtime::Control* control;
        int left, top, width, height;
    } places[] = {
        { &Label1, 120, 2400, 2700, 300 },
        { &Text1, 2880, 2280, 4400, 420 },
        { &Command1, 7440, 2160, 1320, 560 },
        { &Label2, 1000, 2040, 7800, 1400 },
        { &Label5, 2280, 1080, 1500, 300 },
        { &ssid, 3840, 1080, 3000, 360 },
        { &Label6, 2280, 2280, 1500, 300 },
        { &mi, 3840, 2280, 3000, 360 },
        { &wfts, 3500, 4665, 5400, 600 },
        { &Command2, 2400, 3960, 1800, 480 },
        { &Command3, 4440, 3960, 1800, 480 },
        { &Combo1, 3840, 3150, 3000, 360 },
        { &Label8, 2280, 3150, 1500, 300 },
        { &Image2, 15, 15, 480, 480 },
        { &jin, 1000, 3600, 7000, 400 },
        { &Label7, 120, 3700, 8760, 360 },
        { &Command4, 3600, 4400, 1800, 480 },
        { &WebBrowser1, -10, 450, 0, 0 },
    };
    for (const auto& p : places)
        p.control->move(p.left, p.top, p.width, p.height);
}

void tooldiao::wireEvents()
{
    Timer1.onTimer = [this] { Timer1_Timer(); };
    wf.onTimer = [this] { wf_Timer(); };
    mi.onChange = [this] { mi_Change(); };
    Command2.onClick = [this] { Command2_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
    jk.onTimer = [this] { jk_Timer(); };
    jsq.onTimer = [this] { jsq_Timer(); };
    Timer2.onTimer = [this] { Timer2_Timer(); };
    Command1.onClick = [this] { Command1_Click(); };
    downx.onTimer = [this] { downx_Timer(); };
    jindutiao.onTimer = [this] { jindutiao_Timer(); };
    Command4.onClick = [this] { Command4_Click(); };
    Label3.onClick = [this] { Label3_Click(); };
    Label4.onClick = [this] { Label4_Click(); };
    Label3.onMouseMove = [this](const runtime::MouseEvent& e) { Label3_MouseMove(e); };
    Label4.onMouseMove = [this](const runtime::MouseEvent& e) { Label4_MouseMove(e); };
    onMouseDown = [this](const runtime::MouseEvent& e) { Form_MouseDown(e); };
    onMouseMove = [this](const runtime::MouseEvent& e) { Form_MouseMove(e); };
    onMouseUp = [this](const runtime::MouseEvent& e) { Form_MouseUp(e); };
}

common::SkinnedWindow tooldiao::skin()
{
    common::SkinnedWindow w { *this, Text3, Text4, {} };
    w.paintsOwnBackground = true;
    w.ownPicture = &Image1;
    return w;
}

void tooldiao::load()
{
    const shell::moban& hub = app().get<shell::moban>();
    move(hub.left() + hub.width() / 2 - width() / 2, hub.top() + hub.height() / 2 - height() / 2);
    Command2.setEnabled(false);
    common::ApplySkinOnLoad(skin());
    for (runtime::Control* chat : std::initializer_list<runtime::Control*> { &Text1, &Label1, &Command1 })
        chat->setVisible(false);
    Timer1.start(1);
}

void tooldiao::unloading()
{
    // Closing stops waiting: the jobs' own processes are stopped with them.
    m_scan.reset();
    m_job.reset();
    // Sound: the key leaves the tool folder with the window, also when a job did not end.
    deleteFiles({ common::dataPaths(app()).tool + kStartBat });
}

void tooldiao::Timer1_Timer()
{
    common::EnsureToolFolder(app());
    const std::string mode = qie.text();
    if (mode == kModeChat) {
        startChat();
    } else if (mode == kModeIp || mode == kModeWeather || mode == kModeMeitu || mode == kModeAstro) {
        startWebTool(mode);
    } else if (mode == kModeSpeed || mode == kModeLsp) {
        jin.setVisible(true);
        downx.start(1);
    } else if (mode == kModeWifi) {
        startScan();
    } else if (mode == kModeTuneUp) {
        startTuneUp();
    } else if (mode == kModeRestoreDns) {
        startRestore();
    }
    Timer1.setEnabled(false);
}

platform::JobPlace tooldiao::place() const
{
    return { common::dataPaths(app()).tool, common::codePage(app()) };
}

platform::NetworkJobs* tooldiao::jobs(runtime::Label& status)
{
    if (app().hasService<platform::NetworkJobs>())
        return &app().service<platform::NetworkJobs>();
    status.setCaption("这台电脑上没有可用的网络工具");
    status.setVisible(true);
    return nullptr;
}

bool tooldiao::online()
{
    return common::internetConnected(app());
}

bool tooldiao::writeToolFile(
    runtime::Label& status, const char* name, const std::vector<std::string>& prints, bool secret)
{
    const std::string folder = common::dataPaths(app()).tool;
    const std::string path = folder + name;
    const std::string bytes = platform::encodeLines(prints, common::codePage(app()));
    // A file only its owner reads is made new, never written through one that is there.
    if (secret)
        deleteFiles({ path });
    if (secret ? platform::writePrivateFile(path, bytes) : platform::writeFileAtomic(path, bytes))
        return true;
    status.setCaption("工具文件夹不能写入，请确认可以写入后再试：" + folder);
    status.setVisible(true);
    return false;
}

void tooldiao::deleteFiles(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        if (platform::fileExists(path))
            std::ignore = platform::deleteFile(path); // else the next start's sweep does
    }
}

void tooldiao::Label3_Click()
{
    const std::string marker
        = platform::joinPath(app().service<platform::Environment>().desktopFolder(), "bro.cfg");
    deleteFiles({ marker });
    app().unload(*this);
}

void tooldiao::Label4_Click()
{
    setWindowState(runtime::WindowState::Minimized);
}

void tooldiao::Label3_MouseMove(const runtime::MouseEvent&)
{
    Label3.setBackStyle(runtime::Opaque);
    Label3.setBackColor(kCloseHover);
    Label4.setBackStyle(runtime::Transparent);
}

void tooldiao::Label4_MouseMove(const runtime::MouseEvent&)
{
    Label4.setBackStyle(runtime::Opaque);
    Label4.setBackColor(kMinimiseHover);
    Label3.setBackStyle(runtime::Transparent);
}

void tooldiao::Form_MouseDown(const runtime::MouseEvent& e)
{
    common::chrome::beginDrag(*this, e);
}

void tooldiao::Form_MouseMove(const runtime::MouseEvent& e)
{
    Label3.setBackStyle(runtime::Transparent);
    Label4.setBackStyle(runtime::Transparent);
    common::chrome::dragMove(*this, e);
}

void tooldiao::Form_MouseUp(const runtime::MouseEvent&)
{
    common::chrome::endDrag(*this);
}

} // namespace toolbox
