// The tool runner's broadband tune-up with its progress animation, and putting back the DNS
// settings it changed.
#include "common/data_folders.h"
#include "platform/config.h"
#include "platform/environment.h"
#include "platform/web_engine_cache.h"
#include "runtime/app.h"
#include "toolbox/runner_window.h"
#include "toolbox/tool_files.h"

namespace toolbox {

namespace {

constexpr int kBarLength = 77;

} // namespace

void tooldiao::startTuneUp()
{
    const platform::Config& config = app().service<platform::Config>();
    const std::string primary = config.get("dns.primary");
    const std::string secondary = config.get("dns.secondary");
    Label2.setFontSize(40);
    Label2.setVisible(true);
    // Sound: the two addresses go into a script and into the connections' settings, so only
    // plain addresses do.
    if (!isIpv4(primary) || !isIpv4(secondary)) {
        Label2.setFontSize(12);
        Label2.setCaption("DNS服务器地址设置有误：" + primary + " " + secondary);
        return;
    }
    Label2.setCaption("正在优化宽带网速...");
    kdjs.setCaption(kdjsText(closed1.caption(), primary, secondary));
    platform::NetworkJobs* service = jobs(Label2);
    if (!service || !writeToolFile(Label2, "kdjs.bat", { kdjs.caption() })) {
        Label2.setFontSize(12);
        return;
    }
    platform::TuneUpRequest request { place(), primary, secondary, {} };
    if (app().hasService<platform::WebEngineCache>()) {
        platform::WebEngineCache* engine = &app().service<platform::WebEngineCache>();
        request.clearEngineCache = [engine] { return engine->clear(); };
    }
    m_job = service->tuneUp(request);
    start1.setCaption(kMarkerTuneUp);
    jk.start(1);
    jindutiao.start(10);
}

void tooldiao::Command4_Click()
{
    startRestore();
}

void tooldiao::startRestore()
{
    // Sound: one job at a time; the button is hidden while a job runs.
    if (m_job)
        return;
    platform::NetworkJobs* service = jobs(Label2);
    if (!service)
        return;
    m_job = service->restoreDns(place());
    Command4.setVisible(false);
    Label2.setLeft(5);
    Label2.setFontSize(12);
    Label2.setCaption("正在恢复原DNS...");
    Label2.setVisible(true);
    start1.setCaption(kMarkerRestore);
    jk.start(1);
    jindutiao.start(10);
}

void tooldiao::finishTuneUpJob()
{
    runtime::App& a = app();
    const bool ok = !m_job || m_job->outcome().ok;
    const std::string failures = m_job ? joinedWords(m_job->outcome().failures) : std::string();
    Label2.setLeft(5);
    if (start1.caption() == kMarkerTuneUp) {
        // Sound: success is said only when every step succeeded; otherwise what did not.
        Label2.setFontSize(ok ? 30 : 12);
        Label2.setCaption(ok ? "宽带加速成功，您打开网页试试..." : "宽带加速没有全部完成：" + failures);
        const platform::Environment& env = a.service<platform::Environment>();
        deleteFiles({ platform::joinPath(env.userProfile(), "mac_all.ini"),
            common::dataPaths(a).tool + "kdjs.bat", platform::joinPath(env.programFolder(), "mac_all.ini") });
    } else {
        std::string caption = ok ? "已恢复原来的DNS" : "原来的DNS没有全部恢复：" + failures;
        for (const std::string& note : m_job ? m_job->outcome().notes : std::vector<std::string>())
            caption += "\n" + note;
        Label2.setFontSize(12);
        Label2.setCaption(caption);
    }
    // Sound: the bar stops with whichever job ran.
    Label7.setCaption("");
    jindutiao.setEnabled(false);
    Command4.setVisible(!platform::readDnsRecords(place()).empty());
}

void tooldiao::jindutiao_Timer()
{
    Label7.setCaption(Label7.caption() + ">");
    if (Label7.caption() == std::string(kBarLength, '>'))
        Label7.setCaption("");
}

} // namespace toolbox
