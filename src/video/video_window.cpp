#include "video/video_window.h"

#include "common/chrome.h"
#include "common/feature_window.h"
#include "downloads/list_window.h"
#include "music/site_list_window.h"
#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "runtime/app.h"
#include "video/resolve_page.h"
#include "video/web_play_window.h"

namespace video {

namespace {
constexpr const char* kNoTask = "暂无任务";
constexpr int64_t kCloseHover = 0x0000FF;
constexpr int64_t kMinimiseHover = 0x80FF80;
} // namespace

Form2::Form2(runtime::App& app)
    : runtime::Form(app, "Form2")
{
    common::setupFeatureWindow(*this, "视频下载");
    layout();
    Command9.onClick = [this] { Command9_Click(); };
    Command10.onClick = [this] { Command10_Click(); };
    Command11.onClick = [this] { Command11_Click(); };
    Command12.onClick = [this] { Command12_Click(); };
    Check1.onClick = [this] { Check1_Click(); };
    Text3.onClick = [this] { Text3_Click(); };
    Text4.onClick = [this] { Text4_Click(); };
    Text5.onClick = [this] { Text5_Click(); };
    Text4.onChange = [this] { Text4_Change(); };
    Combo1.onClick = [this] { Combo1_Click(); };
    Timer3.onTimer = [this] { Timer3_Timer(); };
    Timer5.onTimer = [this] { Timer5_Timer(); };
    Label1.onClick = [this] { Label1_Click(); };
    Label2.onClick = [this] { Label2_Click(); };
    Label1.onMouseMove = [this](const runtime::MouseEvent&) { Label1_MouseMove(); };
    Label2.onMouseMove = [this](const runtime::MouseEvent&) { Label2_MouseMove(); };
    Label5.onClick = [this] { Label5_Click(); };
    Label17.onClick = [this] { Label17_Click(); };
    Label19.onClick = [this] { Label19_Click(); };
    onMouseDown = [this](const runtime::MouseEvent& e) { Form_MouseDown(e); };
    onMouseMove = [this](const runtime::MouseEvent& e) { Form_MouseMove(e); };
    onMouseUp = [this](const runtime::MouseEvent& e) { Form_MouseUp(e); };
}

void Form2::layout()
{
    Label1.setCaption("-");
    Label1.move(902, 2, 24, 22);
    Label2.setCaption("×");
    Label2.move(930, 2, 24, 22);
    // Hosted in the hub the window wears the hub's title strip; its own minimise and close
    // labels are shown when it stands alone (the web play window shows them).
    for (runtime::Label* title : { &Label1, &Label2 }) {
        title->setAlignment(runtime::AlignCenter);
        title->setBackStyle(0);
        title->setVisible(false);
    }
    Text3.move(40, 40, 809, 28);
    Command9.setCaption("解析");
    Command9.move(864, 40, 80, 28);

    Label6.setCaption("普清版解析:");
    Label6.move(10, 96, 90, 24);
    Text4.move(100, 92, 280, 26);
    Command10.setCaption("下载");
    Command10.move(390, 92, 70, 26);
    Label8.setCaption(kHighDefinitionCaption);
    Label8.move(10, 134, 90, 24);
    Text5.move(100, 130, 280, 26);
    Command11.setCaption("下载");
    Command11.move(390, 130, 70, 26);

    Combo1.move(100, 166, 360, 24);
    Combo1.setVisible(false);
    Label4.setCaption("下载视频提示区");
    Label4.move(10, 194, 460, 40);
    Label9.setCaption("名称：");
    Label9.move(10, 236, 50, 20);
    Label7.setCaption(kNoTask);
    Label7.move(60, 236, 400, 20);
    Label10.setCaption("进度：");
    Label10.move(10, 262, 50, 20);
    Label3.setCaption(kNoTask);
    Label3.move(60, 262, 400, 20);
    Label12.setCaption("路径：");
    Label12.move(10, 288, 50, 20);
    Label11.setCaption("保存在桌面的“Zelvora下载区”文件夹");
    Label11.move(60, 288, 400, 20);

    Label15.move(10, 318, 460, 160);
    Label17.setCaption("点击观看视频");
    Label17.move(10, 566, 200, 20);
    Label5.setCaption("点击查看本软件支持的网站");
    Label5.move(10, 592, 240, 20);
    Command12.setCaption("下载列表");
    Command12.move(270, 588, 90, 26);
    Label18.move(10, 166, 120, 20);
    Label18.setForeColor(0x0000FF);
    Label19.setCaption("登录后重试");
    Label19.move(140, 166, 100, 20);
    Label19.setForeColor(0xFF0000);
    for (runtime::Label* login : { &Label18, &Label19 }) {
        login->setBackStyle(0);
        login->setVisible(false);
    }
    Check1.setCaption("复制视频地址时提示下载");
    Check1.move(370, 590, 200, 22);
    Check1.setBackStyle(0);
    for (runtime::Label* link : { &Label17, &Label5 })
        link->setForeColor(0xFF0000);
    // Texts lie on the skin: only the notes take the skin's colour.
    for (runtime::Label* text : { &Label4, &Label6, &Label8, &Label9, &Label7, &Label10, &Label3, &Label12,
             &Label11, &Label17, &Label5 })
        text->setBackStyle(0);

    yulan.setAlignment(runtime::AlignCenter);
    for (runtime::Control* hidden :
        { static_cast<runtime::Control*>(&Text6), static_cast<runtime::Control*>(&youj1),
            static_cast<runtime::Control*>(&youj2), static_cast<runtime::Control*>(&youj3),
            static_cast<runtime::Control*>(&bgc), static_cast<runtime::Control*>(&bgt) })
        hidden->setVisible(false);
    youj1.setCaption(previewPiece(1));
    youj2.setCaption(previewPiece(2));
    youj3.setCaption(previewPiece(3));
}

common::SkinnedWindow Form2::skin()
{
    common::SkinnedWindow w { *this, bgc, bgt, { &Label15 } };
    w.refreshesCache = true;
    w.styleUpdater = true;
    return w;
}

void Form2::load()
{
    common::ApplySkinOnLoad(skin());
    Label15.setCaption(usageNotes());
    Text3.setText(kAddressPrompt);
    for (runtime::Control* locked : { static_cast<runtime::Control*>(&Command9),
             static_cast<runtime::Control*>(&Text4), static_cast<runtime::Control*>(&Command10),
             static_cast<runtime::Control*>(&Text5), static_cast<runtime::Control*>(&Command11) })
        locked->setEnabled(false);
    Label17.setVisible(false);
    yulan.setCaption("\r\n\r\n视频预览区");
    yulan.move(480, 88, 481, 400);
    WebBrowser1.move(480, 88, 481, 400);
    WebBrowser1.setVisible(false);
    WebBrowser1.navigate("about:blank");
    WebBrowser1.setSilent(true);
    runtime::App& a = app();
    Check1.setValue(
        downloads::hasDownloadList(a) && downloads::downloadQueue(a).settings().offerCopied ? 1 : 0);
}

void Form2::showVideoName(const std::string& name)
{
    Label7.setCaption(name);
    // Sound: "下载完成！" or a failure of the video before is no result of this one.
    Label3.setCaption(kNoTask);
}

void Form2::Timer5_Timer()
{
    common::RefreshSkin(skin(), Timer5);
}

void Form2::Text3_Click()
{
    Command9.setEnabled(true);
    if (schemeLength(Text3.text()) == 0)
        Text3.setText("");
}

void Form2::copyResult(const runtime::TextBox& box)
{
    runtime::App& a = app();
    a.service<platform::Clipboard>().setText("");
    a.service<platform::Clipboard>().setText(box.text());
    platform::MessageBoxRequest message;
    message.text = "复制成功!";
    message.title = "提示";
    message.icon = platform::Information;
    a.service<platform::Dialogs>().messageBox(message);
}

void Form2::Text4_Click()
{
    copyResult(Text4);
}

void Form2::Text5_Click()
{
    copyResult(Text5);
}

void Form2::Label5_Click()
{
    app().get<music::Form3>().show(true, this);
}

void Form2::Label17_Click()
{
    // Text1 := the page address, the browser navigated to it, the window shown (not modal).
    app().get<play>().playPage(Text3.text());
}

void Form2::Label1_Click()
{
    setWindowState(runtime::WindowState::Minimized);
}

void Form2::Label2_Click()
{
    Label1.setVisible(false);
    Label2.setVisible(false);
    app().unload(*this);
}

void Form2::Label1_MouseMove()
{
    Label2.setBackStyle(0);
    Label1.setBackStyle(1);
    Label1.setBackColor(kMinimiseHover);
}

void Form2::Label2_MouseMove()
{
    Label1.setBackStyle(0);
    Label2.setBackStyle(1);
    Label2.setBackColor(kCloseHover);
}

void Form2::Form_MouseDown(const runtime::MouseEvent& e)
{
    common::chrome::beginDrag(*this, e);
}

void Form2::Form_MouseMove(const runtime::MouseEvent& e)
{
    Label1.setBackStyle(0);
    Label2.setBackStyle(0);
    common::chrome::dragMove(*this, e);
}

void Form2::Form_MouseUp(const runtime::MouseEvent&)
{
    common::chrome::endDrag(*this);
}

} // namespace video
