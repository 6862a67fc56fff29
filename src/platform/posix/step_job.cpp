#include "platform/posix/step_job.h"

#include <utility>

namespace platform {

void StepJob::add(std::vector<std::string> args, Then then)
{
    m_steps.push_back({ std::move(args), std::move(then), {} });
}

void StepJob::addNext(std::vector<std::string> args, Then then)
{
    m_steps.push_front({ std::move(args), std::move(then), {} });
}

void StepJob::addWork(std::function<void()> work)
{
    m_steps.push_back({ {}, {}, std::move(work) });
}

StepJob::~StepJob()
{
    // The processes stop before the files they read go.
    m_child.reset();
    if (m_atEnd)
        m_atEnd();
}

void StepJob::fail(std::string words)
{
    m_outcome.failures.push_back(std::move(words));
}

void StepJob::note(std::string words)
{
    m_outcome.notes.push_back(std::move(words));
}

void StepJob::atEnd(std::function<void()> work)
{
    m_atEnd = std::move(work);
}

bool StepJob::poll()
{
    while (!m_ended) {
        if (m_child) {
            if (!m_child->poll())
                return false;
            const CommandResult result = m_child->result();
            m_child.reset();
            Step step = std::move(m_steps.front());
            m_steps.pop_front();
            if (step.then)
                step.then(result);
            continue;
        }
        if (m_steps.empty()) {
            m_ended = true;
            m_outcome.ok = m_outcome.failures.empty();
            if (m_atEnd)
                std::exchange(m_atEnd, {})();
            break;
        }
        if (m_steps.front().work) {
            Step step = std::move(m_steps.front());
            m_steps.pop_front();
            step.work();
            continue;
        }
        CommandResult result;
        m_child = ChildProcess::start(m_steps.front().args, result);
        if (!m_child) {
            Step step = std::move(m_steps.front());
            m_steps.pop_front();
            if (step.then)
                step.then(result);
        }
    }
    return true;
}

namespace {

bool says(const std::string& text, std::initializer_list<const char*> words)
{
    for (const char* w : words) {
        if (text.find(w) != std::string::npos)
            return true;
    }
    return false;
}

} // namespace

std::string nmcliTrouble(const CommandResult& r)
{
    if (!r.started)
        return "没有找到NetworkManager的nmcli命令";
    // nmcli's own exit codes: 8 when NetworkManager is not running, 10 when the connection or
    // device named does not exist.
    if (r.exitCode == 8)
        return "NetworkManager没有运行";
    std::string first = r.err.substr(0, r.err.find('\n'));
    if (first.starts_with("Error: "))
        first = first.substr(7);
    if (first.size() > 200)
        first = first.substr(0, 200);
    const std::string own = first.empty() ? "代码" + std::to_string(r.exitCode) : first;
    // Sound: each failure is named for what it is. "not allowed for 'method=shared'" is about
    // the connection, not the user, so it is tested first.
    if (says(first, { "not allowed for" }))
        return "这个连接不允许这项设置（" + own + "）";
    if (says(first, { "Insufficient privileges", "uthoriz", "ermission denied" })) {
        if (says(first, { "network-control", "control networking" }))
            return "没有权限：需要“" + std::string(kNetworkControl) + "”授权（在本机登录的桌面里运行）（"
                + own + "）";
        if (says(first, { "share" }))
            return "没有权限：需要“" + std::string(kShareProtected) + "”授权（" + own + "）";
        return "没有权限：需要“" + std::string(kModifySystem) + "”授权（把账户加入netdev组）（" + own + "）";
    }
    if (says(first, { "No suitable device", "not support", "neither AP" }))
        return "没有能做热点的无线网卡（" + own + "）";
    if (r.exitCode == 10 || says(first, { "unknown connection", "not found" }))
        return "找不到所需的网络连接或网卡（" + own + "）";
    return "nmcli执行失败：" + own;
}

std::vector<std::string> terseFields(const std::string& line)
{
    std::vector<std::string> out(1);
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\\' && i + 1 < line.size())
            out.back() += line[++i];
        else if (c == ':')
            out.emplace_back();
        else
            out.back() += c;
    }
    return out;
}

std::vector<std::string> outputLines(const std::string& out)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < out.size()) {
        size_t end = out.find('\n', start);
        if (end == std::string::npos)
            end = out.size();
        std::string line = out.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

std::string terseValue(const std::string& out, const std::string& field)
{
    const std::string prefix = field + ":";
    for (const std::string& line : outputLines(out)) {
        if (line.starts_with(prefix))
            return line.substr(prefix.size());
    }
    return {};
}

} // namespace platform
