// The tool runner's WiFi hotspot: the interface scan, create and delete, the job watcher and
// the countdown before the runner closes.
#include "common/data_folders.h"
#include "platform/config.h"
#include "platform/dialogs.h"
#include "platform/environment.h"
#include "platform/textfile.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"
#include "toolbox/runner_window.h"
#include "toolbox/tool_files.h"

namespace toolbox {

namespace {

// The interface list is a page of lines; a larger file is not one.
constexpr size_t kMaxInterfaceList = 1 << 20;

} // namespace

void removeSecretFiles(const runtime::App& app)
{
    const std::string tool = common::dataPaths(app).tool;
    for (const char* name : { kStartBat, platform::kHotspotKeyFile }) {
        if (platform::fileExists(tool + name))
            std::ignore = platform::deleteFile(tool + name); // else the next start's sweep does
    }
    // Half-written copies of them, left by a crash in the middle of a write.
    if (platform::folderExists(tool))
        platform::removeStaleTemporaries(tool, platform::isTemporaryName);
}

std::string tooldiao::chosenConnection() const
{
    return Combo1.listIndex() >= 0 ? Combo1.list(Combo1.listIndex()) : std::string();
}

void tooldiao::startScan()
{
    // Sound: the scan waits for its own job only; it stops no process it did not start.
    const platform::JobPlace where = place();
    writeToolFile(wfts, "wan.bat",
        { wan.caption() + where.toolFolder + platform::kInterfaceListFile + diao.caption() });
    if (platform::NetworkJobs* service = jobs(wfts))
        m_scan = service->scan(where);
    wf.start(1);
    Timer1.setEnabled(false);
}

void tooldiao::wf_Timer()
{
    wf1.clear();
    wf2.clear();
    if (m_scan && !m_scan->poll())
        return;
    const platform::JobPlace where = place();
    const std::string list = where.toolFolder + platform::kInterfaceListFile;
    std::vector<std::string> lines;
    // Sound: a missing, unreadable or oversized list counts as no interface.
    if (platform::readLinesChecked(list, where.codePage, lines, kMaxInterfaceList)
        != platform::ReadOutcome::Read)
        lines.clear();
    wf1.setItems(lines);
    wf2.setItems(connectedLines(lines));
    if (wf2.list(0).empty()) {
        Combo1.addItem(kOffline);
        Combo1.setListIndex(0);
    }
    for (int i = 0; i < wf2.listCount(); ++i) {
        std::string name;
        if (interfaceName(wf2.list(i), name)) {
            Combo1.addItem(name);
            Combo1.setListIndex(0);
        }
    }
    for (runtime::Control* c : std::initializer_list<runtime::Control*> {
             &Label5, &ssid, &Label6, &mi, &Combo1, &Label8, &Command2, &Command3 })
        c->setVisible(true);
    deleteFiles({ list, where.toolFolder + "wan.bat" });
    wf.setEnabled(false);
    if (m_scan && !m_scan->outcome().ok) {
        wfts.setCaption(joinedWords(m_scan->outcome().failures));
        wfts.setVisible(true);
    }
    m_scan.reset();
}

void tooldiao::mi_Change()
{
    if (vb::Len(mi.text()) < 8) {
        Command2.setEnabled(false);
        wfts.setCaption("密码必须大于或等于8位");
        wfts.setVisible(true);
    } else {
        wfts.setVisible(false);
        Command2.setEnabled(true);
    }
}

void tooldiao::Command2_Click()
{
    const std::string connection = chosenConnection();
    // Sound: the name, key and connection are checked before anything is written or run.
    const std::string refusal = hotspotRefusal(ssid.text(), mi.text(), connection);
    if (!refusal.empty()) {
        wfts.setCaption(refusal);
        wfts.setVisible(true);
        return;
    }
    platform::NetworkJobs* service = hotspotJobs();
    if (!service)
        return;
    const platform::JobPlace where = place();
    const std::string db = where.toolFolder + "wan.db";
    std::string previous = connection;
    if (platform::fileExists(db)) {
        std::vector<std::string> old;
        platform::readLinesChecked(db, where.codePage, old, kMaxInterfaceList);
        previous = old.empty() ? std::string() : old.back();
    }
    if (!writeToolFile(wfts, "wan.db", { connection }))
        return;
    // Sound: the batch takes its first piece from the designed text, never from the marker
    // that start1 carries once a job has run. It holds the key: only its owner may read it.
    if (!platform::fileExists(where.toolFolder + kStartBat)
        && !writeToolFile(wfts, kStartBat,
            startBatPrints(closed1.caption(), previous, closed2.caption(), ssid.text(), mi.text(),
                start2.caption(), start3.caption(), connection),
            true))
        return;
    m_job = service->hotspotOn({ where, ssid.text(), mi.text(), connection, previous });
    Command3.setEnabled(true);
    wfts.setCaption("正在创建WiFi...");
    wfts.setVisible(true);
    start1.setCaption(kMarkerCreate);
    jk.start(100);
}

platform::NetworkJobs* tooldiao::hotspotJobs()
{
    platform::NetworkJobs* service = jobs(wfts);
    if (!service)
        return nullptr;
    const platform::JobPlace where = place();
    if (!platform::fileExists(where.toolFolder + "ics.vbs")
        && !writeToolFile(wfts, "ics.vbs", { vbs.caption() }))
        return nullptr;
    return service;
}

void tooldiao::Command3_Click()
{
    std::string connection = chosenConnection();
    // Sound: "已断网" is no connection; the stop block gets an empty name instead.
    if (connection == kOffline)
        connection.clear();
    platform::NetworkJobs* service = hotspotJobs();
    if (!service)
        return;
    const platform::JobPlace where = place();
    if (!platform::fileExists(where.toolFolder + "close.bat")
        && !writeToolFile(
            wfts, "close.bat", closeBatPrints(closed1.caption(), connection, closed2.caption())))
        return;
    m_job = service->hotspotOff(where, connection);
    wfts.setCaption("正在关闭WiFi...");
    wfts.setVisible(true);
    start1.setCaption(kMarkerDelete);
    jk.start(100);
}

void tooldiao::jk_Timer()
{
    // Sound: a job is over when its own processes are, whatever else runs on the machine.
    if (m_job && !m_job->poll())
        return;
    const std::string marker = start1.caption();
    if (marker == kMarkerTuneUp || marker == kMarkerRestore)
        finishTuneUpJob();
    else if (marker == kMarkerCreate || marker == kMarkerDelete)
        finishHotspotJob();
    jk.setEnabled(false);
    m_job.reset();
}

void tooldiao::finishHotspotJob()
{
    runtime::App& a = app();
    const bool create = start1.caption() == kMarkerCreate;
    const std::string tool = common::dataPaths(a).tool;
    const std::string desktopList
        = platform::joinPath(a.service<platform::Environment>().desktopFolder(), "mac_all.ini");
    if (create) {
        deleteFiles({ platform::joinPath(a.service<platform::Environment>().programFolder(), "mac_all.ini"),
            tool + "ics.vbs", tool + kStartBat, desktopList });
    } else {
        deleteFiles({ tool + "ics.vbs", tool + "close.bat", desktopList });
    }
    // Sound: success is said only when the job succeeded; otherwise what went wrong, and the
    // runner stays open.
    if (m_job && !m_job->outcome().ok) {
        wfts.setCaption(joinedWords(m_job->outcome().failures));
        return;
    }
    wfts.setCaption(create ? "WiFi创建成功，获取生效时间..." : "WiFi删除成功，获取生效时间...");
    djs.setText("5");
    jsq.start(1000);
    if (create) {
        Command3.setEnabled(true);
        Command2.setEnabled(false);
    } else {
        Command3.setEnabled(false);
    }
}

void tooldiao::jsq_Timer()
{
    runtime::App& a = app();
    const int64_t n = vb::toLong(djs.text());
    wfts.setCaption("距离生效时间还有：" + vb::Str(n));
    djs.setText(vb::Str(static_cast<int64_t>(vb::Val(djs.text())) - 1));
    if (n != 0)
        return;
    const std::string marker = start1.caption();
    if (marker == kMarkerCreate) {
        const platform::Config& config = a.service<platform::Config>();
        platform::MessageBoxRequest hint;
        hint.text = "如果别人连接您的WiFi，只能登QQ和玩游戏，而不能打开网页，则属于未获取正确的DNS，"
                    "只需让对方手动把首选DNS服务器设置成"
            + config.get("dns.primary") + "，备用DNS服务器设置成" + config.get("dns.secondary")
            + "即可上网，详细教程可参见Zelvora官方网站";
        hint.title = "Zelvora";
        jsq.setEnabled(false);
        a.service<platform::Dialogs>().messageBox(hint);
        a.unload(*this);
    } else if (marker == kMarkerDelete) {
        jsq.setEnabled(false);
        a.unload(*this);
    }
}

} // namespace toolbox
