#pragma once
#include <string>
#include <vector>

#include "runtime/controls.h"
#include "runtime/form.h"

namespace music {

// The list of supported video sites: one button opens each site in the desktop's browser.
class Form3 : public runtime::Form {
public:
    explicit Form3(runtime::App& app);
    void load() override;

    runtime::Label Label1 { *this, "Label1" };
    runtime::CommandButton Command1 { *this, "Command1" };
    runtime::CommandButton Command2 { *this, "Command2" };
    runtime::CommandButton Command3 { *this, "Command3" };
    runtime::CommandButton Command4 { *this, "Command4" };
    runtime::CommandButton Command5 { *this, "Command5" };
    runtime::CommandButton Command6 { *this, "Command6" };
    runtime::CommandButton Command7 { *this, "Command7" };
    runtime::CommandButton Command8 { *this, "Command8" };
    runtime::CommandButton Command9 { *this, "Command9" };
    runtime::CommandButton Command10 { *this, "Command10" };
    runtime::CommandButton Command11 { *this, "Command11" };
    runtime::CommandButton Command12 { *this, "Command12" };
    runtime::CommandButton Command13 { *this, "Command13" };
    runtime::CommandButton Command14 { *this, "Command14" };
    runtime::CommandButton Command15 { *this, "Command15" };
    runtime::CommandButton Command16 { *this, "Command16" };
    runtime::CommandButton Command17 { *this, "Command17" };
    runtime::CommandButton Command18 { *this, "Command18" };
    runtime::CommandButton Command19 { *this, "Command19" };
    runtime::CommandButton Command20 { *this, "Command20" };

    // A site button's click: the page the button stands for.
    void Command_Click(int index);
    void Command20_Click();
    // Opens a page in the desktop's browser; nothing is reported.
    void OpenWebSite(const std::string& address);

private:
    std::vector<runtime::CommandButton*> siteButtons();
};

} // namespace music
