#pragma once
#include <string>
#include <vector>

#include "common/skin.h"
#include "runtime/controls.h"
#include "runtime/form.h"

namespace toolbox {

// The mode codes the toolbox hands to the tool runner in its field qie.
inline constexpr const char* kModeChat = "QQ";
inline constexpr const char* kModeIp = "IP";
inline constexpr const char* kModeWeather = "TQ";
inline constexpr const char* kModeAstro = "TL";
inline constexpr const char* kModeSpeed = "JS";
inline constexpr const char* kModeWifi = "WF";
inline constexpr const char* kModeLsp = "LSP";
inline constexpr const char* kModeTuneUp = "KDJS";
inline constexpr const char* kModeMeitu = "meitu";
// Puts back the DNS settings of the last tune-up instead of tuning up.
inline constexpr const char* kModeRestoreDns = "HFDNS";

// Whether a running process's description occurs inside szExeFileName (both upper-cased).
bool CheckApplicationIsRun(runtime::App& app, const std::string& szExeFileName);

// The toolbox: nine tiles that open the tool runner in one of its modes.
class tool : public runtime::Form {
public:
    explicit tool(runtime::App& app);
    void load() override;

    runtime::Image Image2 { *this, "Image2" };
    runtime::Image Image3 { *this, "Image3" };
    runtime::Image Image4 { *this, "Image4" };
    runtime::Image Image5 { *this, "Image5" };
    runtime::Image Image6 { *this, "Image6" };
    runtime::Image Image7 { *this, "Image7" };
    runtime::Image Image8 { *this, "Image8" };
    runtime::Image Image9 { *this, "Image9" };
    runtime::Image Image10 { *this, "Image10" };
    runtime::TextBox Text3 { *this, "Text3" };
    runtime::TextBox Text4 { *this, "Text4" };
    runtime::Timer Timer5 { *this, "Timer5" };

    // The nine tiles, Image2 to Image10.
    std::vector<runtime::Image*> tiles();

    // Loads the runner, hands it the mode code and shows it modally.
    void OpenToolWindow(const std::string& mode);
    bool CheckApplicationIsRun(const std::string& szExeFileName);

    void Image2_Click();
    void Image3_Click();
    void Image4_Click();
    void Image5_Click();
    void Image6_Click();
    void Image7_Click();
    void Image8_Click();
    void Image9_Click();
    void Image10_Click();
    void Image_MouseMove(runtime::Image& tile);
    void Timer5_Timer();
    void Form_MouseDown(const runtime::MouseEvent& e);
    void Form_MouseMove(const runtime::MouseEvent& e);
    void Form_MouseUp(const runtime::MouseEvent& e);

private:
    common::SkinnedWindow skin();
    // Opens a local tool's mode when its program is in the tool folder, otherwise offers the
    // maker's site.
    void openLocalTool(const char* program, const char* mode, const char* missingText);
};

} // namespace toolbox
