// The tool runner's web tools, chat link and local tool programs.
#include "common/data_folders.h"
#include "platform/config.h"
#include "platform/shell.h"
#include "runtime/app.h"
#include "toolbox/runner_window.h"
#include "toolbox/tool_files.h"
#include "toolbox/toolbox_window.h"

namespace toolbox {

namespace {

const char* const kOfflineCaption = "网络已断开";

// A web tool: its loading caption (nothing keeps "定位中..."), its page, and the runner's
// height and the browser's size against the runner once the page has loaded.
struct WebTool {
    const char* mode;
    double fontSize;
    const char* caption;
    const char* hostKey;
    const char* path;
    int runnerHeight;
    int widthBeyond;
    int heightBeyond;
};

const WebTool kWebTools[] = {
    { kModeIp, 70, nullptr, "tool.ip", "/dingwei", 6800, 300, 600 },
    { kModeWeather, 40, "正在读取中央预报...", "tool.weather", "/aladdin/flash/weather/index.swf", 7000, 0,
        -450 },
    { kModeMeitu, 40, "正在读取远程数据...", "tool.meitu", "/main.html", 7000, 0, -450 },
    { kModeAstro, 40, "正在读取占卜程序...", "tool.astro", "/tal/tal.swf", 7000, 0, -450 },
};

const WebTool* webTool(const std::string& mode)
{
    for (const WebTool& t : kWebTools) {
        if (mode == t.mode)
            return &t;
    }
    return nullptr;
}

} // namespace

void tooldiao::startChat()
{
    if (!online()) {
        Label2.setCaption(kOfflineCaption);
        Label2.setVisible(true);
        return;
    }
    for (runtime::Control* chat : std::initializer_list<runtime::Control*> { &Text1, &Label1, &Command1 })
        chat->setVisible(true);
}

void tooldiao::startWebTool(const std::string& mode)
{
    const WebTool* t = webTool(mode);
    if (!online()) {
        Label2.setCaption(kOfflineCaption);
        Label2.setVisible(true);
        return;
    }
    Label2.setFontSize(t->fontSize);
    if (t->caption)
        Label2.setCaption(t->caption);
    Label2.setVisible(true);
    WebBrowser1.setVisible(true);
    WebBrowser1.navigate(app().service<platform::Config>().get(t->hostKey) + t->path);
    WebBrowser1.setSilent(true);
    Timer2.start(1);
}

void tooldiao::Timer2_Timer()
{
    if (WebBrowser1.busy())
        return;
    WebBrowser1.setBodyScroll("no");
    if (const WebTool* t = webTool(qie.text())) {
        Label2.setVisible(false);
        setHeight(t->runnerHeight);
        WebBrowser1.move(-10, 450, width() + t->widthBeyond, height() + t->heightBeyond);
    }
    Timer2.setEnabled(false);
}

void tooldiao::Command1_Click()
{
    const platform::Config& config = app().service<platform::Config>();
    WebBrowser1.navigate("about:blank");
    // Sound: the number is percent-encoded, so what is typed cannot add to the link's query.
    WebBrowser1.navigate(config.get("chat") + "/msgrd?V=1&Uin=" + queryValue(Text1.text())
        + "&Site=" + queryValue(config.get("chat.site")) + "&Menu=yes");
    WebBrowser1.setSilent(true);
    WebBrowser1.move(-10, 3000, width() + 20, height() - 3000);
    WebBrowser1.setVisible(true);
}

void tooldiao::downx_Timer()
{
    const std::string mode = qie.text();
    if (mode == kModeSpeed || mode == kModeLsp) {
        const std::string program
            = common::dataPaths(app()).tool + (mode == kModeSpeed ? "speed.exe" : "lsp.exe");
        jin.setVisible(false);
        // Window style 4: a normal window that does not take the focus.
        const platform::Status started = app().service<platform::Shell>().start(program, "", 4);
        // Sound: "启动成功..." only when the program did start.
        Label2.setCaption(started ? "启动成功..." : "没有启动成功，请确认工具程序可以运行");
        Label2.setVisible(true);
    }
    downx.setEnabled(false);
}

} // namespace toolbox
