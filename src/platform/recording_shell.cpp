#include "platform/recording_shell.h"

namespace platform {

Status RecordingShell::open(const std::string& address, const std::string&)
{
    m_launches.push_back("open " + address);
    return Status::success();
}

Status RecordingShell::start(const std::string& program, const std::string& arguments, int style)
{
    std::string entry = "start " + program;
    if (!arguments.empty())
        entry += " " + arguments;
    entry += " style=" + std::to_string(style);
    m_launches.push_back(entry);
    return Status::success();
}

Status RecordingShell::reveal(const std::string& path)
{
    m_launches.push_back("reveal " + path);
    return Status::success();
}

std::vector<std::string> RecordingShell::takeLaunches()
{
    std::vector<std::string> out(m_launches.begin() + static_cast<long>(m_taken), m_launches.end());
    m_taken = m_launches.size();
    return out;
}

} // namespace platform
