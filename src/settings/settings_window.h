#pragma once
#include <string>
#include <vector>

#include "runtime/controls.h"
#include "runtime/form.h"

namespace zelvora {

// The settings window: background colour sliders, a dropped background picture, apply and
// restore.
class setz : public rt::Form {
public:
    explicit setz(rt::App& app);
    void load() override;

    // Title strip ("*选项设置*" while a colour change is not applied), drag surface, close
    // button and the "背景设置" tab.
    rt::Label Label1 { *this, "Label1" };
    rt::Label Label2 { *this, "Label2" };
    rt::Label Label3 { *this, "Label3" };
    rt::Label Label4 { *this, "Label4" };
    // Colour panel and picture panel.
    rt::Frame Frame1 { *this, "Frame1" };
    rt::Frame Frame2 { *this, "Frame2" };
    // Plain colour mode and picture plus colour mode, with their labels.
    rt::OptionButton Option1 { *this, "Option1" };
    rt::OptionButton Option2 { *this, "Option2" };
    rt::Label Label12 { *this, "Label12" };
    rt::Label Label13 { *this, "Label13" };
    // Red, green and blue sliders with their labels and values.
    rt::HScrollBar HScroll1 { *this, "HScroll1" };
    rt::HScrollBar HScroll2 { *this, "HScroll2" };
    rt::HScrollBar HScroll3 { *this, "HScroll3" };
    rt::Label Label5 { *this, "Label5" };
    rt::Label Label6 { *this, "Label6" };
    rt::Label Label7 { *this, "Label7" };
    rt::TextBox Text2 { *this, "Text2" };
    rt::TextBox Text3 { *this, "Text3" };
    rt::TextBox Text4 { *this, "Text4" };
    // The colour swatch and the colour value this window applies.
    rt::Label Label8 { *this, "Label8" };
    rt::TextBox Text5 { *this, "Text5" };
    // The picture drop target, its label, the dropped path and the size note.
    rt::Label Label9 { *this, "Label9" };
    rt::Label Label10 { *this, "Label10" };
    rt::TextBox Text6 { *this, "Text6" };
    rt::Label Label11 { *this, "Label11" };
    // What the preview timer shows: "chun" (the colour) or "tu" (the picture).
    rt::TextBox qie { *this, "qie" };
    rt::Timer bg { *this, "bg" };
    rt::CommandButton Command1 { *this, "Command1" };
    rt::CommandButton Command2 { *this, "Command2" };
    rt::CommandButton Command3 { *this, "Command3" };

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
    void Label3_MouseMove(const rt::MouseEvent& e);
    void Label4_Click();
    void Form_MouseDown(const rt::MouseEvent& e);
    void Form_MouseMove(const rt::MouseEvent& e);
    void Form_MouseUp(const rt::MouseEvent& e);

private:
    void designLayout();
    void wireEvents();
    void placeFrames();
    void sliderMoved(const rt::HScrollBar& slider, rt::TextBox& valueText);
    void previewColour();
    void previewPicture();
    // The colour of Text5 as the text that goes into the settings file.
    std::string appliedColour() const;
    void showMessage(const std::string& text);

    // The slider values as last stored.
    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;
    // Set while the load selects the option of the saved mode.
    bool m_choosingAtLoad = false;
};

// Whether a dropped file's name is one of the background picture types: its upper-cased last
// three characters are JPG, GIF or BMP, or its last four are JPEG.
bool isBackgroundPictureName(const std::string& path);

} // namespace zelvora
