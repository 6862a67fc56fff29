#pragma once
#include <string>

#include "downloads/download_queue.h"
#include "runtime/controls.h"
#include "runtime/form.h"

namespace runtime {
class App;
}

namespace downloads {

// The download list "下载列表": every download with its progress and state, the buttons
// that steer the selected one, and the list's settings.
class xiazai : public runtime::Form {
public:
    explicit xiazai(runtime::App& app);
    void load() override;

    runtime::ListBox List1 { *this, "List1" };
    runtime::CommandButton Command1 { *this, "Command1" };
    runtime::CommandButton Command2 { *this, "Command2" };
    runtime::CommandButton Command3 { *this, "Command3" };
    runtime::CommandButton Command4 { *this, "Command4" };
    runtime::CommandButton Command5 { *this, "Command5" };
    runtime::CommandButton Command6 { *this, "Command6" };
    runtime::CommandButton Command7 { *this, "Command7" };
    runtime::CommandButton Command8 { *this, "Command8" };
    runtime::CommandButton Command9 { *this, "Command9" };
    runtime::Label Label1 { *this, "Label1" };
    runtime::TextBox Text1 { *this, "Text1" };
    runtime::Label Label2 { *this, "Label2" };
    runtime::TextBox Text2 { *this, "Text2" };
    runtime::Label Label3 { *this, "Label3" };
    runtime::TextBox Text3 { *this, "Text3" };
    runtime::Label Label4 { *this, "Label4" };
    runtime::TextBox Text4 { *this, "Text4" };
    runtime::CommandButton Command10 { *this, "Command10" };

    void List1_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Command10_Click();
    void Text1_Change();
    // Shows the rows and the buttons as the queue has them now.
    void refresh();

private:
    [[nodiscard]] DownloadQueue& queue() const;
    // The selected row's download, or nullptr.
    [[nodiscard]] const Job* selected() const;
    void moveSelected(int step);
    void applySettings();
};

// The hidden window whose timer moves the downloads on, loaded while any download waits or
// runs (closing the list leaves the downloads running).
class xiazaiqi : public runtime::Form {
public:
    explicit xiazaiqi(runtime::App& app);
    void load() override;

    runtime::Timer Timer1 { *this, "Timer1" };
    void Timer1_Timer();
};

// The titles of the notice a download that ends while every window is hidden shows.
inline constexpr const char* kFinishedNotice = "下载完成";
inline constexpr const char* kFailedNotice = "下载失败";

// Tells the person in a desktop notice that a download ended, when no window of the program
// is on show; a click on the notice opens the download list.
void noticeFinished(runtime::App& app, const Job& job);
// The program's download list (read from the profile on first use).
DownloadQueue& downloadQueue(runtime::App& app);
// Puts a download on the list and makes sure the list moves; its id.
int enqueue(runtime::App& app, const JobRequest& request);
// Whether the program has a download list yet (in use, or kept in the profile).
bool hasDownloadList(runtime::App& app);
// Lets the downloads a previous run left unfinished go on.
void resumeDownloads(runtime::App& app);
// Shows the download list.
void showDownloadList(runtime::App& app);
// The file an address is saved as in the download folder: its last path part, made safe.
std::string fileForAddress(const runtime::App& app, const std::string& url);
// One row of the list as it is shown.
std::string rowText(const Job& job, long long speed, long long secondsLeft);

} // namespace downloads
