#include "video/split_window.h"

#include "platform/config.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"
#include "video/download_folder.h"
#include "video/resolve_page.h"
#include "video/video_window.h"

namespace video {

namespace {
constexpr int kNarrowWidth = 4785;
constexpr int kWideWidth = 10665;
constexpr int kHeight = 5700;
// Sound: the join button (beyond the design) has a row of its own below the start button; the
// window grows by that row while it is shown, so the button is not cut at the bottom edge.
constexpr int kJoinRow = 40 * runtime::kTwipsPerPixel;
constexpr const char* kTitleStart = "此视频被该网站分割为";
constexpr const char* kTitleEnd = "个片段";
} // namespace

fenge::fenge(runtime::App& app)
    : runtime::Form(app, "fenge")
{
    setScaleMode(runtime::ScaleMode::Pixels);
    setCaption("Zelvora");
    setHeight(kHeight);
    setBackColor(0xFFFFFF);
    Label3.move(8, 8, 300, 20);
    Label3.setFontBold(true);
    Label1.setCaption("正在剖析分割视频中...");
    Label1.move(8, 120, 300, 20);
    Label1.setAlignment(runtime::AlignCenter);
    List1.move(8, 32, 300, 260);
    Command2.setCaption("开始下载");
    Command2.move(108, 300, 100, 28);
    Label4.setCaption("正在启动下载器...");
    Label4.move(320, 8, 380, 150);
    Label5.setCaption("网速：");
    Label5.move(320, 166, 380, 20);
    Label8.setCaption("状态：");
    Label8.move(320, 192, 380, 40);
    Label10.move(320, 238, 380, 40);
    Label9.setCaption("提示：软件会自动完成下载，请耐心等待");
    Label9.move(320, 300, 380, 20);
    Label9.setForeColor(0x0000FF);
    Text3.setText("0");
    for (runtime::Control* hidden :
        { static_cast<runtime::Control*>(&WebBrowser1), static_cast<runtime::Control*>(&Text1),
            static_cast<runtime::Control*>(&List2), static_cast<runtime::Control*>(&Text3) })
        hidden->setVisible(false);
    Text1.setMultiLine(true);
    Timer1.onTimer = [this] { Timer1_Timer(); };
    Timer2.onTimer = [this] { Timer2_Timer(); };
    Command2.onClick = [this] { Command2_Click(); };
    Command3.setCaption("合并为一个视频");
    Command3.move(8, 334, 300, 28);
    Command3.setVisible(false);
    Command3.onClick = [this] { Command3_Click(); };
    Text1.onChange = [this] { Text1_Change(); };
}

void fenge::showJoinRow(bool shown)
{
    setHeight(shown ? kHeight + kJoinRow : kHeight);
}

void fenge::centreOverResolver()
{
    // The video window may have gone (another tile was chosen); it is not loaded again.
    const Form2* resolver = app().find<Form2>();
    if (resolver)
        move(resolver->left() + resolver->width() / 2 - width() / 2,
            resolver->top() + resolver->height() / 2 - height() / 2);
}

void fenge::load()
{
    runtime::App& a = app();
    setWidth(kNarrowWidth);
    centreOverResolver();
    Form2& resolver = a.get<Form2>();
    // A format from yt-dlp comes with its pieces' addresses: no result page to read.
    if (resolver.pendingJoin) {
        WebJoin job = std::move(*resolver.pendingJoin);
        resolver.pendingJoin.reset();
        beginWebJoin(std::move(job));
        return;
    }
    WebBrowser1.navigate(parseServiceQuery(a.service<platform::Config>(), resolver.Text3.text(), false));
    Timer1.start(1000);
    resolver.Label4.setCaption("分割数据提取成功");
    resolver.Text4.setText("");
    resolver.Text5.setText("");
    Command2.setEnabled(false);
    List1.setVisible(false);
}

void fenge::unloading()
{
    Timer1.setEnabled(false);
    Timer2.setEnabled(false);
    // A segment still arriving goes on in the download list; the next run continues it.
}

void fenge::Timer1_Timer()
{
    if (WebBrowser1.busy())
        return;
    WebBrowser1.setBodyScroll("no");
    // Every link goes in front of the ones before it, so the text lists them last first;
    // built in one pass, however many links the page has.
    const std::vector<runtime::BrowserLink> links = WebBrowser1.links();
    std::string gathered;
    for (auto link = links.rbegin(); link != links.rend(); ++link)
        gathered += link->href + "\r\n";
    Text1.setText(gathered + Text1.text());

    const std::vector<std::string> segments = segmentAddresses(Text1.text());
    List2.setItems(segments);
    for (const std::string& segment : segments)
        List1.addItem(segment);
    setCaption(kTitleStart + vb::Str(List2.listCount()) + kTitleEnd);
    Timer1.setEnabled(false);
}

void fenge::Text1_Change()
{
    Command2.setEnabled(true);
    Label1.setVisible(false);
    List1.setVisible(true);
}

void fenge::Command2_Click()
{
    // Sound: the video's name is taken from this window's own label once, at the first start,
    // and made one that no file of the download folder has: a later read of the video window
    // (which may have gone and come back with its placeholder) or a second video of the same
    // name never changes where the segments go.
    if (m_name.empty() && !m_web) {
        std::vector<std::string> endings = { ".flv" };
        for (int i = 0; i < List1.listCount(); ++i)
            endings.push_back("(" + vb::Str(i) + ").flv");
        m_name = unusedName(app(), safeFileName(Label3.caption()), endings);
    }
    setWidth(kWideWidth);
    centreOverResolver();
    Timer2.start(1000);
    Command2.setEnabled(false);
    m_run = {};
}

} // namespace video
