#pragma once
#include <memory>
#include <string>
#include <vector>

#include "common/skin.h"
#include "platform/network_jobs.h"
#include "runtime/controls.h"
#include "runtime/form.h"
#include "runtime/media_controls.h"

namespace toolbox {

// The job markers written into start1's caption when a job is launched.
inline constexpr const char* kMarkerCreate = "start";
inline constexpr const char* kMarkerDelete = "close";
inline constexpr const char* kMarkerTuneUp = "kdjs";
inline constexpr const char* kMarkerRestore = "dns";
// The connection entry offered when no interface is connected.
inline constexpr const char* kOffline = "已断网";
// The hotspot's batch, which holds the key.
inline constexpr const char* kStartBat = "start.bat";

// Removes the tool folder's files that hold the WiFi key (a job's own remove them when it
// ends; these are what a crash left).
void removeSecretFiles(const runtime::App& app);

// The tool runner: a small modal window doing one tool of the toolbox, chosen by its mode.
class tooldiao : public runtime::Form {
public:
    explicit tooldiao(runtime::App& app);
    void load() override;
    void unloading() override;

    // Mode code, written by the toolbox.
    runtime::TextBox qie { *this, "qie" };
    runtime::Timer Timer1 { *this, "Timer1" };
    // WiFi hotspot.
    runtime::Timer wf { *this, "wf" };
    runtime::ListBox wf1 { *this, "wf1" };
    runtime::ListBox wf2 { *this, "wf2" };
    runtime::Label Label5 { *this, "Label5" };
    runtime::TextBox ssid { *this, "ssid" };
    runtime::Label Label6 { *this, "Label6" };
    runtime::TextBox mi { *this, "mi" };
    runtime::Label Label8 { *this, "Label8" };
    runtime::ComboBox Combo1 { *this, "Combo1" };
    runtime::CommandButton Command2 { *this, "Command2" };
    runtime::CommandButton Command3 { *this, "Command3" };
    runtime::Label wfts { *this, "wfts" };
    runtime::Timer jk { *this, "jk" };
    runtime::TextBox djs { *this, "djs" };
    runtime::Timer jsq { *this, "jsq" };
    // Pieces of the generated files; start1 also carries the job marker.
    runtime::Label start1 { *this, "start1" };
    runtime::Label start2 { *this, "start2" };
    runtime::Label start3 { *this, "start3" };
    runtime::Label closed1 { *this, "closed1" };
    runtime::Label closed2 { *this, "closed2" };
    runtime::Label wan { *this, "wan" };
    runtime::Label diao { *this, "diao" };
    runtime::Label vbs { *this, "vbs" };
    // Close and minimise.
    runtime::Label Label3 { *this, "Label3" };
    runtime::Label Label4 { *this, "Label4" };
    // The runner's own skin picture, and its sign.
    runtime::Image Image1 { *this, "Image1" };
    runtime::Image Image2 { *this, "Image2" };
    runtime::TextBox Text3 { *this, "Text3" };
    runtime::TextBox Text4 { *this, "Text4" };
    // Web tools, chat, local tools and the broadband tune-up.
    runtime::Label Label2 { *this, "Label2" };
    runtime::WebBrowser WebBrowser1 { *this, "WebBrowser1" };
    runtime::Timer Timer2 { *this, "Timer2" };
    runtime::Label Label1 { *this, "Label1" };
    runtime::TextBox Text1 { *this, "Text1" };
    runtime::CommandButton Command1 { *this, "Command1" };
    runtime::Timer downx { *this, "downx" };
    runtime::Label jin { *this, "jin" };
    runtime::Label kdjs { *this, "kdjs" };
    runtime::Timer jindutiao { *this, "jindutiao" };
    runtime::Label Label7 { *this, "Label7" };
    // Puts back the DNS settings a tune-up changed.
    runtime::CommandButton Command4 { *this, "Command4" };

    void Timer1_Timer();
    void wf_Timer();
    void mi_Change();
    void Command2_Click();
    void Command3_Click();
    void jk_Timer();
    void jsq_Timer();
    void Timer2_Timer();
    void Command1_Click();
    void downx_Timer();
    void jindutiao_Timer();
    void Command4_Click();
    void Label3_Click();
    void Label4_Click();
    void Label3_MouseMove(const runtime::MouseEvent& e);
    void Label4_MouseMove(const runtime::MouseEvent& e);
    void Form_MouseDown(const runtime::MouseEvent& e);
    void Form_MouseMove(const runtime::MouseEvent& e);
    void Form_MouseUp(const runtime::MouseEvent& e);

private:
    void designLayout();
    void wireEvents();
    common::SkinnedWindow skin();
    [[nodiscard]] platform::JobPlace place() const;
    // The job service, or nothing (the refusal is then shown in status).
    platform::NetworkJobs* jobs(runtime::Label& status);
    // The job service with the sharing script both hotspot jobs need written; null (and the
    // reason in wfts) when either is missing.
    platform::NetworkJobs* hotspotJobs();
    // The branches of the dispatcher.
    void startScan();
    void startWebTool(const std::string& mode);
    void startChat();
    void startTuneUp();
    // Puts back the DNS settings a tune-up recorded, with the bar running meanwhile.
    void startRestore();
    bool online();
    [[nodiscard]] std::string chosenConnection() const;
    // Writes a tool-folder file, each text ended by a line end as a print ends it, readable by
    // its owner only when secret; false (and says so in status) when the folder cannot be
    // written.
    bool writeToolFile(runtime::Label& status, const char* name, const std::vector<std::string>& prints,
        bool secret = false);
    void deleteFiles(const std::vector<std::string>& paths);
    void finishHotspotJob();
    void finishTuneUpJob();

    std::unique_ptr<platform::NetworkJob> m_scan;
    std::unique_ptr<platform::NetworkJob> m_job;
};

} // namespace toolbox
