#include "downloads/list_window.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "common/data_folders.h"
#include "platform/dialogs.h"
#include "platform/environment.h"
#include "platform/headless_url.h"
#include "platform/network.h"
#include "platform/notices.h"
#include "platform/shell.h"
#include "platform/textfile.h"
#include "runtime/app.h"

namespace downloads {

namespace {

// The list file in the profile.
constexpr const char* kListFileName = "downloads.lst";
// How often the downloads are moved on and the rows redrawn.
constexpr int kTickMs = 50;
constexpr int kRowsWidth = 720;
// The desktop folder every download goes into.
constexpr const char* kDownloadFolderName = "Zelvora下载区";

struct QueueHolder {
    std::unique_ptr<DownloadQueue> queue;
};

std::string sizeText(long long bytes)
{
    char text[32];
    if (bytes >= (1LL << 30))
        std::snprintf(text, sizeof text, "%.2f GB", static_cast<double>(bytes) / (1LL << 30));
    else if (bytes >= (1LL << 20))
        std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / (1LL << 20));
    else
        std::snprintf(text, sizeof text, "%lld KB", (bytes + 1023) / 1024);
    return text;
}

std::string timeText(long long seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

std::string progressText(const Job& job)
{
    long long percent = -1;
    if (job.state == JobState::Done)
        percent = 100;
    else if (job.size > 0)
        percent = job.received * 100 / job.size;
    else if (job.fragments && !job.pieces.empty())
        percent = job.joined * 100LL / static_cast<long long>(job.pieces.size());
    return percent < 0 ? "--" : std::to_string(std::min(percent, 100LL)) + "%";
}

} // namespace

std::string fileForAddress(const runtime::App& app, const std::string& url)
{
    const std::string path = url.substr(0, url.find_first_of("?#"));
    const size_t hostEnd = path.find('/', path.find("://") + 3);
    std::string name = hostEnd == std::string::npos ? std::string() : path.substr(path.rfind('/') + 1);
    for (char& c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>'
            || c == '|')
            c = '_';
    }
    if (name.empty() || name[0] == '.' || name.size() > 120)
        name = "下载";
    const std::string folder
        = platform::joinPath(app.service<platform::Environment>().desktopFolder(), kDownloadFolderName);
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return platform::joinPath(folder, name);
}

std::string rowText(const Job& job, long long speed, long long secondsLeft)
{
    const std::string size = job.size > 0 ? sizeText(job.size)
        : job.received > 0                ? sizeText(job.received)
                                          : "--";
    const bool running = job.state == JobState::Running;
    std::string state = stateWord(job.state);
    if (job.state == JobState::Failed && !job.reason.empty())
        state += "：" + job.reason;
    return job.title + "  |  " + size + "  |  " + progressText(job) + "  |  "
        + (running ? sizeText(speed) + "/s" : "--") + "  |  "
        + (running && secondsLeft >= 0 ? timeText(secondsLeft) : "--") + "  |  " + state;
}

DownloadQueue& downloadQueue(runtime::App& app)
{
    if (!app.hasService<QueueHolder>()) {
        common::EnsureDataFolders(app);
        auto holder = std::make_shared<QueueHolder>();
        holder->queue = std::make_unique<DownloadQueue>(
            app.service<platform::Network>(), common::dataPaths(app).root + kListFileName);
        app.provide<QueueHolder>(holder);
    }
    return *app.service<QueueHolder>().queue;
}

int enqueue(runtime::App& app, const JobRequest& request)
{
    const int id = downloadQueue(app).add(request);
    app.get<xiazaiqi>().Timer1.setEnabled(true);
    if (xiazai* list = app.find<xiazai>())
        list->refresh();
    return id;
}

bool hasDownloadList(runtime::App& app)
{
    return app.hasService<QueueHolder>() || platform::fileExists(common::dataPaths(app).root + kListFileName);
}

void resumeDownloads(runtime::App& app)
{
    // Without a list there is nothing to go on with (and nothing to read at start).
    if (!hasDownloadList(app))
        return;
    if (downloadQueue(app).busy())
        app.get<xiazaiqi>().Timer1.setEnabled(true);
}

void showDownloadList(runtime::App& app)
{
    xiazai& list = app.get<xiazai>();
    list.refresh();
    list.show();
}

xiazaiqi::xiazaiqi(runtime::App& app)
    : runtime::Form(app, "xiazaiqi")
{
    Timer1.setInterval(kTickMs);
    Timer1.onTimer = [this] { Timer1_Timer(); };
}

void xiazaiqi::load()
{
    runtime::App& a = app();
    downloadQueue(a).onFinished = [&a](const Job& job) {
        if (xiazai* list = a.find<xiazai>())
            list->refresh();
        noticeFinished(a, job);
    };
}

void noticeFinished(runtime::App& app, const Job& job)
{
    const std::vector<runtime::Form*> forms = app.forms();
    const bool anyShown
        = std::any_of(forms.begin(), forms.end(), [](const runtime::Form* f) { return f->visible(); });
    if (anyShown || !app.hasService<platform::Notices>())
        return;
    const bool done = job.state == JobState::Done;
    app.service<platform::Notices>().show({ .title = done ? kFinishedNotice : kFailedNotice,
        .text = done || job.reason.empty() ? job.title : job.title + "：" + job.reason,
        .onClick = [&app] { showDownloadList(app); } });
}

void xiazaiqi::Timer1_Timer()
{
    runtime::App& a = app();
    DownloadQueue& queue = downloadQueue(a);
    // On a virtual clock (the console, tests) time between ticks is not real: a tick gives the
    // network the time its interval stands for.
    const bool virtualTime = dynamic_cast<runtime::VirtualClock*>(&a.clock()) != nullptr;
    queue.tick(a.now(), virtualTime ? kTickMs : 0);
    if (xiazai* list = a.find<xiazai>())
        list->refresh();
    if (!queue.busy())
        Timer1.setEnabled(false);
}

xiazai::xiazai(runtime::App& app)
    : runtime::Form(app, "xiazai")
{
    setScaleMode(runtime::ScaleMode::Pixels);
    setCaption("下载列表");
    setWidth((kRowsWidth + 20) * runtime::kTwipsPerPixel);
    setHeight(460 * runtime::kTwipsPerPixel);
    List1.move(10, 10, kRowsWidth, 260);
    const char* captions[]
        = { "暂停", "继续", "取消", "删除", "重试", "上移", "下移", "打开文件", "打开文件夹" };
    runtime::CommandButton* buttons[] = { &Command1, &Command2, &Command3, &Command4, &Command5, &Command6,
        &Command7, &Command8, &Command9 };
    for (int i = 0; i < 9; ++i) {
        buttons[i]->setCaption(captions[i]);
        buttons[i]->move(10 + i * 80, 280, 74, 28);
    }
    Label1.setCaption("同时下载：");
    Label1.move(10, 324, 80, 22);
    Text1.move(90, 320, 50, 24);
    Label2.setCaption("限速（KB/s，0为不限）：");
    Label2.move(160, 324, 170, 22);
    Text2.move(330, 320, 70, 24);
    Label3.setCaption("每个下载的连接：");
    Label3.move(420, 324, 130, 22);
    Text3.move(550, 320, 50, 24);
    Label4.move(10, 360, kRowsWidth, 22);
    Text4.move(10, 388, kRowsWidth - 110, 24);
    Command10.setCaption("新建下载");
    Command10.move(kRowsWidth - 90, 386, 100, 28);
    Command10.onClick = [this] { Command10_Click(); };
    List1.onClick = [this] { List1_Click(); };
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
    Command4.onClick = [this] { Command4_Click(); };
    Command5.onClick = [this] { Command5_Click(); };
    Command6.onClick = [this] { Command6_Click(); };
    Command7.onClick = [this] { Command7_Click(); };
    Command8.onClick = [this] { Command8_Click(); };
    Command9.onClick = [this] { Command9_Click(); };
    Text1.onChange = [this] { Text1_Change(); };
    Text2.onChange = [this] { Text1_Change(); };
    Text3.onChange = [this] { Text1_Change(); };
}

void xiazai::load()
{
    const QueueSettings& s = queue().settings();
    Text1.setText(std::to_string(s.parallel));
    Text2.setText(std::to_string(s.speedLimitKb));
    Text3.setText(std::to_string(s.connections));
    refresh();
}

DownloadQueue& xiazai::queue() const
{
    return downloadQueue(app());
}

const Job* xiazai::selected() const
{
    const int index = List1.listIndex();
    const std::vector<Job>& jobs = queue().jobs();
    return index >= 0 && index < static_cast<int>(jobs.size()) ? &jobs[static_cast<size_t>(index)] : nullptr;
}

void xiazai::refresh()
{
    DownloadQueue& q = queue();
    std::vector<std::string> rows;
    int running = 0;
    for (const Job& job : q.jobs()) {
        rows.push_back(rowText(job, q.speed(job.id), q.secondsLeft(job.id)));
        running += job.state == JobState::Running ? 1 : 0;
    }
    if (rows != List1.items()) {
        const int index = List1.listIndex();
        List1.setItems(rows);
        if (index < static_cast<int>(rows.size()))
            List1.setListIndex(index);
    }
    Label4.setCaption(
        "共 " + std::to_string(rows.size()) + " 个下载，" + std::to_string(running) + " 个正在下载");
    const Job* job = selected();
    const JobState state = job ? job->state : JobState::Done;
    Command1.setEnabled(job && (state == JobState::Waiting || state == JobState::Running));
    Command2.setEnabled(job && state == JobState::Paused);
    Command3.setEnabled(job && state != JobState::Done);
    Command4.setEnabled(job != nullptr);
    Command5.setEnabled(job && state == JobState::Failed);
    Command6.setEnabled(job && List1.listIndex() > 0);
    Command7.setEnabled(job && List1.listIndex() + 1 < List1.listCount());
    Command8.setEnabled(job && state == JobState::Done);
    Command9.setEnabled(job != nullptr);
}

void xiazai::List1_Click()
{
    refresh();
}

void xiazai::Command1_Click()
{
    if (const Job* job = selected())
        queue().pause(job->id);
    refresh();
}

void xiazai::Command2_Click()
{
    if (const Job* job = selected())
        queue().resume(job->id);
    resumeDownloads(app());
    refresh();
}

void xiazai::Command3_Click()
{
    if (const Job* job = selected())
        queue().cancel(job->id);
    refresh();
}

void xiazai::Command4_Click()
{
    const Job* job = selected();
    if (!job)
        return;
    bool deleteFile = false;
    if (job->state == JobState::Done && platform::fileExists(job->file)) {
        platform::MessageBoxRequest ask;
        ask.text = "同时删除已下载的文件“" + std::filesystem::path(job->file).filename().string() + "”吗？";
        ask.title = "删除下载";
        ask.buttons = platform::YesNoCancel;
        ask.icon = platform::Question;
        ask.defaultButton = platform::DefaultButton2;
        const int answer = app().service<platform::Dialogs>().messageBox(ask);
        if (answer == platform::AnswerCancel || answer == platform::AnswerNone)
            return;
        deleteFile = answer == platform::AnswerYes;
    }
    queue().remove(job->id, deleteFile);
    refresh();
}

void xiazai::Command5_Click()
{
    Command2_Click();
}

void xiazai::moveSelected(int step)
{
    const Job* job = selected();
    if (!job)
        return;
    queue().move(job->id, step);
    List1.setListIndex(List1.listIndex() + step);
    refresh();
}

void xiazai::Command6_Click()
{
    moveSelected(-1);
}

void xiazai::Command7_Click()
{
    moveSelected(1);
}

void xiazai::Command8_Click()
{
    if (const Job* job = selected())
        std::ignore = app().service<platform::Shell>().open(job->file); // the desktop says why
}

void xiazai::Command9_Click()
{
    const Job* job = selected();
    if (!job)
        return;
    platform::Shell& shell = app().service<platform::Shell>();
    if (job->state == JobState::Done && platform::fileExists(job->file))
        std::ignore = shell.reveal(job->file); // the desktop says why
    else
        std::ignore = shell.open(std::filesystem::path(job->file).parent_path().string()); // as above
}

// A typed address goes on the list; anything else is explained in the status line.
void xiazai::Command10_Click()
{
    const std::string url = Text4.text();
    if (!platform::isWebAddress(url)) {
        Label4.setCaption("请输入以 http:// 或 https:// 开头的下载地址");
        return;
    }
    const std::string file = fileForAddress(app(), url);
    enqueue(app(), { .title = std::filesystem::path(file).filename().string(), .url = url, .file = file });
    Text4.setText("");
    refresh();
}

void xiazai::Text1_Change()
{
    applySettings();
}

// A box that holds a whole number in range changes the setting; anything else is left for
// the person to finish typing.
void xiazai::applySettings()
{
    auto value = [](const runtime::TextBox& box, int low, int high, int fallback) {
        const std::string& text = box.text();
        if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
            return fallback;
        const int v = std::stoi(text);
        return v < low || v > high ? fallback : v;
    };
    const QueueSettings& now = queue().settings();
    QueueSettings next = now;
    next.parallel = value(Text1, 1, kMaxParallel, now.parallel);
    next.speedLimitKb = value(Text2, 0, 1 << 30, now.speedLimitKb);
    next.connections = value(Text3, 1, kMaxConnections, now.connections);
    if (next.parallel != now.parallel || next.speedLimitKb != now.speedLimitKb
        || next.connections != now.connections)
        queue().setSettings(next);
}

} // namespace downloads
