#include "platform/posix/step_job.h"

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

void StepJob::fail(std::string words)
{
    m_outcome.failures.push_back(std::move(words));
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

std::string nmcliTrouble(const CommandResult& r)
{
    if (!r.started)
        return "没有找到NetworkManager的nmcli命令";
    // nmcli's own exit codes: 8 when NetworkManager is not running, 10 when the connection or
    // device named does not exist.
    if (r.exitCode == 8)
        return "NetworkManager没有运行";
    const std::string& e = r.err;
    if (e.find("uthoriz") != std::string::npos || e.find("ermission") != std::string::npos
        || e.find("not allowed") != std::string::npos)
        return "没有权限（需要有管理网络权限的账户）";
    if (r.exitCode == 10)
        return "找不到所需的网络连接或网卡";
    std::string first = e.substr(0, e.find('\n'));
    if (first.rfind("Error: ", 0) == 0)
        first = first.substr(7);
    if (first.size() > 200)
        first = first.substr(0, 200);
    if (first.empty())
        return "nmcli执行失败（代码" + std::to_string(r.exitCode) + "）";
    return "nmcli执行失败：" + first;
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

} // namespace platform
