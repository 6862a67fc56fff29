#pragma once
#include "runtime/controls.h"
#include "runtime/form.h"

namespace zelvora {

// Tile looks: the selected tile is bold and black, the others grey.
inline constexpr int64_t kTileGrey = 0x808080;
inline constexpr int64_t kTileBlack = 0;

// The hub: the start-up window with the logo, the title buttons, the tiles that choose the
// feature window shown below it, and the update line.
class moban : public rt::Form {
public:
    explicit moban(rt::App& app);
    void load() override;

    rt::Image Image2 { *this, "Image2" };
    rt::Label Label2 { *this, "Label2" };
    rt::Label Label5 { *this, "Label5" };
    rt::Label Label4 { *this, "Label4" };
    rt::Label Label3 { *this, "Label3" };
    rt::Label Label6 { *this, "Label6" };
    rt::Label Label7 { *this, "Label7" };
    rt::Label Label8 { *this, "Label8" };
    rt::Label Label9 { *this, "Label9" };
    rt::Label Label10 { *this, "Label10" };
    rt::Label Label1 { *this, "Label1" };
    rt::TextBox qied { *this, "qied" };
    rt::TextBox sjsj { *this, "sjsj" };
    rt::TextBox Text3 { *this, "Text3" };
    rt::TextBox Text4 { *this, "Text4" };
    rt::Image Image3 { *this, "Image3" };
    rt::Timer Timer1 { *this, "Timer1" };
    rt::Timer xin { *this, "xin" };

    // Selects a feature tile by its caption, as a left-button press on it does.
    void selectTile(const std::string& caption);

    void Form_MouseDown(const rt::MouseEvent& e);
    void Form_MouseMove(const rt::MouseEvent& e);
    void Form_MouseUp(const rt::MouseEvent& e);
    void Label6_MouseDown(const rt::MouseEvent& e);
    void Label7_MouseDown(const rt::MouseEvent& e);
    void Label8_MouseDown(const rt::MouseEvent& e);
    void Label9_MouseDown(const rt::MouseEvent& e);
    void Label10_MouseDown(const rt::MouseEvent& e);
    void Label10_MouseMove(const rt::MouseEvent& e);
    void Label2_Click();
    void Label3_Click();
    void Label4_Click();
    void Label5_Click();
    void Label3_MouseMove(const rt::MouseEvent& e);
    void Label4_MouseMove(const rt::MouseEvent& e);
    void Label5_MouseMove(const rt::MouseEvent& e);
    void Timer1_Timer();

private:
    void designLayout();
    void applyStartupSkin();
    void showChild(rt::Form& child, int childHeight);
    void setTileLooks(rt::Label* selected);
    void hoverTitleButton(rt::Label& hovered);
    void glueChildren();
};

} // namespace zelvora
