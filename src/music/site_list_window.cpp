#include "music/site_list_window.h"

#include "common/feature_window.h"
#include "platform/config.h"
#include "platform/environment.h"
#include "platform/shell.h"
#include "runtime/app.h"
#include "video/resolve_page.h"
#include "video/video_window.h"

namespace music {

namespace {

// One button of the list: its caption, and the page it opens as a configuration key with a
// path (the maker's site for the forum).
struct SiteButton {
    const char* caption;
    const char* key;
    const char* path;
};

// Command1 ... Command19 in order.
const SiteButton kButtons[] = {
    { "乐视", "site.9", "/" },
    { "迅雷看看", "site.16", "/" },
    { "激动网", "site.5", "/" },
    { "网易视频", "site.6", "/" },
    { "新浪视频", "site.7", "/" },
    { "腾讯视频", "site.13", "/" },
    { "PPS", "site.18", "/" },
    { "风行", "site.17", "/" },
    { "CNTV", "site.15", "/" },
    { "凤凰视频", "site.14", "/" },
    { "酷6网", "site.12", "/" },
    { "56网", "site.11", "/" },
    { "优酷", "site.10", "/" },
    { "土豆", "site.8", "/" },
    { "没有我想要的，点此申述", "maker_site", "/forbbs-30.html" },
    { "华数TV", "site.3", "/" },
    { "糖豆网", "site.4", "/" },
    { "酷狗MV", "site.2", "/mvweb/html/index.html" },
    { "音悦台", "site.1", "/" },
};

constexpr int kColumns = 4;
constexpr int kButtonWidth = 110;
constexpr int kButtonHeight = 30;
constexpr int kGap = 10;

} // namespace

Form3::Form3(runtime::App& app)
    : runtime::Form(app, "Form3")
{
    setScaleMode(runtime::ScaleMode::Pixels);
    setCaption("Zelvora");
    setWidth((kColumns * (kButtonWidth + kGap) + kGap) * runtime::kTwipsPerPixel);
    setHeight(330 * runtime::kTwipsPerPixel);
    Label1.setCaption("本软件支持以下网站视频的解析");
    Label1.setFontBold(true);
    Label1.setBackStyle(0);
    Label1.move(kGap, 10, kColumns * (kButtonWidth + kGap) - kGap, 22);
    const std::vector<runtime::CommandButton*> buttons = siteButtons();
    int slot = 0;
    for (size_t i = 0; i < buttons.size(); ++i) {
        buttons[i]->setCaption(kButtons[i].caption);
        buttons[i]->onClick = [this, i] { Command_Click(static_cast<int>(i)); };
        if (buttons[i] == &Command15)
            continue;
        const int row = slot / kColumns;
        const int column = slot % kColumns;
        ++slot;
        buttons[i]->move(kGap + column * (kButtonWidth + kGap), 42 + row * (kButtonHeight + kGap),
            kButtonWidth, kButtonHeight);
    }
    // The forum and the close button span the width below the sites.
    Command15.move(kGap, 42 + 5 * (kButtonHeight + kGap), 2 * kButtonWidth + kGap, kButtonHeight);
    Command20.setCaption("我已经了解，关闭弹窗");
    Command20.move(kGap + 2 * (kButtonWidth + kGap), 42 + 5 * (kButtonHeight + kGap), 2 * kButtonWidth + kGap,
        kButtonHeight);
    Command20.onClick = [this] { Command20_Click(); };
}

std::vector<runtime::CommandButton*> Form3::siteButtons()
{
    return { &Command1, &Command2, &Command3, &Command4, &Command5, &Command6, &Command7, &Command8,
        &Command9, &Command10, &Command11, &Command12, &Command13, &Command14, &Command15, &Command16,
        &Command17, &Command18, &Command19 };
}

void Form3::load()
{
    runtime::App& a = app();
    // The built-in picture the tray window holds, whatever skin the user chose.
    setPicture(common::resourcePicture("pictures/skin.jpg"));
    const video::Form2& resolver = a.get<video::Form2>();
    move(resolver.left() + resolver.width() / 2 - width() / 2,
        resolver.top() + resolver.height() / 2 - height() / 2);
}

void Form3::Command_Click(int index)
{
    const SiteButton& site = kButtons[static_cast<size_t>(index)];
    const platform::Config& config = app().service<platform::Config>();
    const bool maker = std::string(site.key) == "maker_site";
    OpenWebSite(
        maker ? config.get("maker_site") + site.path : video::siteHomePage(config, site.key, site.path));
}

void Form3::Command20_Click()
{
    app().unload(*this);
}

void Form3::OpenWebSite(const std::string& address)
{
    runtime::App& a = app();
    // The desktop's browser reports its own trouble; the list has nothing to show for it.
    std::ignore
        = a.service<platform::Shell>().open(address, a.service<platform::Environment>().programFolder());
}

} // namespace music
