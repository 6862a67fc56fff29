// The resolve job of the video download window: from a typed page address to the scraped
// name and addresses and the preview page.
#include "common/page_helpers.h"
#include "platform/config.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"
#include "video/resolve_page.h"
#include "video/video_window.h"

namespace video {

namespace {
constexpr const char* kOffline = "Oh,My God 断网了，功能不能使用";
constexpr const char* kEmptyAddress = "解析网站不能为空";
constexpr const char* kBadAddress
    = "解析网站格式不对，请输入正确的地址,如：http://v.example.com/play/12345.html";
constexpr const char* kUnsupported = "本软件暂不支持此网站的解析，请期待下一版本的完善";
constexpr const char* kNothingResolved = "没能从解析结果中找到视频地址，请检查地址或稍后再试";
constexpr const char* kPageCharset = "GB2312";
} // namespace

void Form2::Command9_Click()
{
    // Sound: a press while yt-dlp is still working (the pump runs meanwhile) is ignored, so
    // two resolves never write the result fields at once.
    if (m_resolving)
        return;
    runtime::App& a = app();
    const platform::Config& config = a.service<platform::Config>();
    Label15.setVisible(false);
    if (!common::internetConnected(a)) {
        Label4.setCaption(kOffline);
        return;
    }
    const std::string address = Text3.text();
    if (address.empty()) {
        Label4.setCaption(kEmptyAddress);
        return;
    }
    if (schemeLength(address) == 0) {
        Label4.setCaption(kBadAddress);
        return;
    }
    // Designed: the page is fetched before the site is checked.
    const std::string page = common::getHTTPPage(a, parseServiceQuery(config, address, false), kPageCharset);
    m_web.reset();
    Combo1.setVisible(false);
    Label8.setCaption(kHighDefinitionCaption);
    if (!siteSupported(config, address)) {
        resolveOnTheWeb(kUnsupported);
        return;
    }
    // Sound: both the name and the address must be found before anything is shown; a page
    // without its markers (or with them out of order) leaves the result fields locked.
    const std::optional<std::string> title = scrapeTitle(page);
    const std::optional<std::string> normal = scrapeAddress(page);
    if (!title || !normal) {
        resolveOnTheWeb(kNothingResolved);
        return;
    }
    showVideoName(*title);
    Text4.setText(*normal);
    Text4.setEnabled(true);
    Command10.setEnabled(true);

    std::optional<std::string> highDefinition;
    if (offersHighDefinition(page))
        highDefinition
            = scrapeAddress(common::getHTTPPage(a, parseServiceQuery(config, address, true), kPageCharset));
    // Sound: a high-definition page without its markers counts as no high-definition version.
    Text5.setText(highDefinition ? *highDefinition : std::string(kNoHighDefinition));
    Text5.setEnabled(highDefinition.has_value());
    Command11.setEnabled(highDefinition.has_value());
    showPreview();
}

void Form2::showPreview()
{
    if (schemeLength(Text4.text()) != 0) {
        WebBrowser1.setVisible(true);
        WebBrowser1.reload("");
        Text6.setText(
            previewPage(youj1.caption(), Text5.text(), youj2.caption(), Text4.text(), youj3.caption()));
        WebBrowser1.write(Text6.text());
    }
    Label4.setCaption("");
}

void Form2::lockResults()
{
    for (runtime::Control* field :
        { static_cast<runtime::Control*>(&Text4), static_cast<runtime::Control*>(&Command10),
            static_cast<runtime::Control*>(&Text5), static_cast<runtime::Control*>(&Command11) })
        field->setEnabled(false);
}

void Form2::Text4_Change()
{
    Timer3.start(1000);
    Label17.setVisible(true);
    yulan.setVisible(false);
}

} // namespace video
