#include "test_windows.h"

#include <cmath>

namespace gui_testing {

std::string describe(const std::string& what, const runtime::MouseEvent& e)
{
    return what + " " + std::to_string(e.button) + " " + std::to_string(std::lround(e.x)) + ","
        + std::to_string(std::lround(e.y));
}

Sample::Sample(runtime::App& app)
    : runtime::Form(app, "Sample")
{
    setScaleMode(runtime::ScaleMode::Twips);
    move(1500, 1500);
    setWidth(6000);
    setHeight(4500);
    setBackColor(0x00FF00);
    Label1.move(150, 150, 1500, 300);
    Label1.setCaption("标签");
    Text1.move(150, 600, 3000, 300);
    Text2.move(150, 1050, 3000, 900);
    Text2.setMultiLine(true);
    List1.move(3300, 150, 2400, 1500);
    List1.setItems({ "一", "二", "三" });
    Command1.move(150, 2100, 1500, 450);
    Command1.setCaption("确定");
    Combo1.move(1800, 2100, 1500, 300);
    Combo1.setItems({ "酷狗", "酷我" });
    HScroll1.move(3300, 2100, 2400, 255);
    HScroll1.setRange(0, 255);
    WebBrowser1.move(150, 2700, 3000, 1500);
    WindowsMediaPlayer1.move(3300, 2700, 2400, 1500);
    mnu.setVisible(false);
    mnuHidden.setVisible(false);

    auto log = [this](std::string s) { events.push_back(std::move(s)); };
    onMouseDown = [log](const runtime::MouseEvent& e) { log(describe("Form.MouseDown", e)); };
    onMouseUp = [log](const runtime::MouseEvent& e) { log(describe("Form.MouseUp", e)); };
    onDragDrop = [log](const std::vector<std::string>& files) { log("Form.DragDrop " + files.at(0)); };
    Label1.onMouseDown = [log](const runtime::MouseEvent& e) { log(describe("Label1.MouseDown", e)); };
    Label1.onMouseUp = [log](const runtime::MouseEvent& e) { log(describe("Label1.MouseUp", e)); };
    Label1.onClick = [log] { log("Label1.Click"); };
    Label1.onDblClick = [log] { log("Label1.DblClick"); };
    Label1.onMouseLeave = [log] { log("Label1.MouseLeave"); };
    Text1.onChange = [this, log] { log("Text1.Change " + Text1.text()); };
    Text2.onChange = [this, log] { log("Text2.Change " + Text2.text()); };
    Text1.onDragDrop = [log](const std::vector<std::string>& files) { log("Text1.DragDrop " + files.at(0)); };
    List1.onClick = [this, log] { log("List1.Click " + std::to_string(List1.listIndex())); };
    List1.onDblClick = [log] { log("List1.DblClick"); };
    List1.onDragDrop = [log](const std::vector<std::string>& files) { log("List1.DragDrop " + files.at(0)); };
    List1.onMouseDown = [log](const runtime::MouseEvent& e) { log(describe("List1.MouseDown", e)); };
    Combo1.onClick
        = [this, log] { log("Combo1.Click " + std::to_string(Combo1.listIndex()) + " " + Combo1.text()); };
    Combo1.onChange = [this, log] { log("Combo1.Change " + Combo1.text()); };
    HScroll1.onChange = [this, log] { log("HScroll1.Change " + std::to_string(HScroll1.value())); };
    Command1.onClick = [this, log] {
        log("Command1.Click");
        if (onCommand)
            onCommand();
    };
    Timer1.onTimer = [this, log] {
        log("Timer1.Timer");
        Label1.setCaption("计时");
        Timer1.setEnabled(false);
    };
    WindowsMediaPlayer1.onPlayStateChange
        = [log](int state) { log("PlayStateChange " + std::to_string(state)); };
    mnuOpen.onClick = [log] { log("mnuOpen.Click"); };
    mnuDeep.onClick = [log] { log("mnuDeep.Click"); };
}

Owned::Owned(runtime::App& app)
    : runtime::Form(app, "Owned")
{
    setScaleMode(runtime::ScaleMode::Pixels);
    setOwnChrome(true);
    move(3000, 2250);
    setWidth(3000);
    setHeight(1500);
}

} // namespace gui_testing
