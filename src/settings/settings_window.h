#pragma once
#include <string>
#include <vector>

#include "runtime/controls.h"
#include "runtime/form.h"

namespace settings {

// The settings window: background colour sliders, a dropped background picture, apply and
// restore.
class setz : public runtime::Form {
public:
    explicit setz(runtime::App& app);
    void load() override;
    // Centres the window over the hub where the hub is now (the window is loaded at start-up,
    // before the hub takes its size and, on a small screen, its place).
    void centreOverHub();

    // Title strip ("*选项设置*" while a colour change is not applied), drag surface, close
    // button and the "背景设置" tab.
    runtime::Label Label1 { *this, "Label1" };
    runtime::Label Label2 { *this, "Label2" };
    runtime::Label Label3 { *this, "Label3" };
    runtime::Label Label4 { *this, "Label4" };
    // Colour panel and picture panel.
    runtime::Frame Frame1 { *this, "Frame1" };
    runtime::Frame Frame2 { *this, "Frame2" };
    // Plain colour mode and picture plus colour mode, with their labels.
    runtime::OptionButton Option1 { *this, "Option1" };
    runtime::OptionButton Option2 { *this, "Option2" };
    runtime::Label Label12 { *this, "Label12" };
    runtime::Label Label13 { *this, "Label13" };
    // Red, green and blue sliders with their labels and values.
    runtime::HScrollBar HScroll1 { *this, "HScroll1" };
    runtime::HScrollBar HScroll2 { *this, "HScroll2" };
    runtime::HScrollBar HScroll3 { *this, "HScroll3" };
    runtime::Label Label5 { *this, "Label5" };
    runtime::Label Label6 { *this, "Label6" };
    runtime::Label Label7 { *this, "Label7" };
    runtime::TextBox Text2 { *this, "Text2" };
    runtime::TextBox Text3 { *this, "Text3" };
    runtime::TextBox Text4 { *this, "Text4" };
    // The colour swatch and the colour value this window applies.
    runtime::Label Label8 { *this, "Label8" };
    runtime::TextBox Text5 { *this, "Text5" };
    // The picture drop target, its label, the dropped path and the size note.
    runtime::Label Label9 { *this, "Label9" };
    runtime::Label Label10 { *this, "Label10" };
    runtime::TextBox Text6 { *this, "Text6" };
    runtime::Label Label11 { *this, "Label11" };
    // What the preview timer shows: "chun" (the colour) or "tu" (the picture).
    runtime::TextBox qie { *this, "qie" };
    runtime::Timer bg { *this, "bg" };
    runtime::CommandButton Command1 { *this, "Command1" };
    runtime::CommandButton Command2 { *this, "Command2" };
    runtime::CommandButton Command3 { *this, "Command3" };

    void Option1_Click();
    void Option2_Click();
    void HScroll1_Change();
    void HScroll2_Change();
    void HScroll3_Change();
    void Text5_Change();
    void Text6_Change();
    void Label10_DragDrop(const std::vector<std::string>& files);
    void bg_Timer();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Label3_Click();
    void Label3_MouseMove(const runtime::MouseEvent& e);
    void Label4_Click();
    void Form_MouseDown(const runtime::MouseEvent& e);
    void Form_MouseMove(const runtime::MouseEvent& e);
    void Form_MouseUp(const runtime::MouseEvent& e);

private:
    void designLayout();
    void wireEvents();
    void placeFrames();
    void sliderMoved(const runtime::HScrollBar& slider, runtime::TextBox& valueText);
    void previewColour();
    void previewPicture();
    // The colour of Text5 as the text that goes into the settings file.
    [[nodiscard]] std::string appliedColour() const;
    // Hands a colour that is now in use to the colour fields of the open windows.
    void shareColour(const std::string& colour);
    void showMessage(const std::string& text);

    // The slider values as last stored.
    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;
    // Set while the load selects the option of the saved mode.
    bool m_choosingAtLoad = false;
    // Whether the colour was changed since the window opened.
    bool m_colourChosen = false;
};

// Whether a dropped file's name is one of the background picture types: its upper-cased last
// three characters are JPG, GIF or BMP, or its last four are JPEG.
bool isBackgroundPictureName(const std::string& path);

} // namespace settings
