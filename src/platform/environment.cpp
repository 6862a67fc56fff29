#include "platform/environment.h"

namespace platform {

std::string joinPath(const std::string& folder, const std::string& relative)
{
    if (folder.empty())
        return relative;
    std::string rel = relative;
    while (!rel.empty() && rel.front() == kSeparator)
        rel.erase(rel.begin());
    if (folder.back() == kSeparator)
        return folder + rel;
    return folder + kSeparator + rel;
}

FixedEnvironment::FixedEnvironment(std::string profile, std::string programFolder, std::string codePage)
    : m_profile(std::move(profile))
    , m_program(std::move(programFolder))
    , m_codePage(std::move(codePage))
{
}

std::string FixedEnvironment::desktopFolder() const
{
    return m_desktop.empty() ? joinPath(m_profile, "Desktop") : m_desktop;
}

} // namespace platform
