#include "platform/posix/posix_environment.h"

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <langinfo.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace platform {

namespace {

std::string envOr(const char* name, const std::string& fallback)
{
    const char* v = std::getenv(name);
    return v && *v ? std::string(v) : fallback;
}

std::string localeCharset()
{
    std::setlocale(LC_CTYPE, "");
    std::string cs = nl_langinfo(CODESET);
    // The C locale reports ASCII; text files are UTF-8 there all the same.
    if (cs.empty() || cs == "ANSI_X3.4-1968" || cs == "ASCII" || cs == "US-ASCII")
        return "UTF-8";
    return cs;
}

std::string executableFolder()
{
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return fs::current_path(ec).string();
    return exe.parent_path().string();
}

} // namespace

std::string xdgUserFolder(const std::string& home, const std::string& configHome, const std::string& name)
{
    std::ifstream in(joinPath(configHome, "user-dirs.dirs"));
    std::string line;
    while (std::getline(in, line)) {
        const std::string key = "XDG_" + name + "_DIR=";
        if (line.rfind(key, 0) != 0)
            continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        const std::string homeVar = "$HOME";
        if (value.rfind(homeVar, 0) == 0)
            value = home + value.substr(homeVar.size());
        if (!value.empty() && value.front() == '/')
            return value;
    }
    return {};
}

std::string xdgDesktopFolder(const std::string& home, const std::string& configHome)
{
    const std::string named = xdgUserFolder(home, configHome, "DESKTOP");
    return named.empty() ? joinPath(home, "Desktop") : named;
}

PosixEnvironment::PosixEnvironment(
    std::string profileOverride, std::string codePageOverride, std::string cacheFolder)
    : m_profile(std::move(profileOverride))
    , m_program(executableFolder())
    , m_codePage(std::move(codePageOverride))
    , m_cache(std::move(cacheFolder))
{
    if (m_profile.empty())
        m_profile = envOr("USERPROFILE", envOr("HOME", "/tmp"));
    while (m_profile.size() > 1 && m_profile.back() == '/')
        m_profile.pop_back();
    if (m_codePage.empty())
        m_codePage = localeCharset();
    if (m_cache.empty())
        m_cache = joinPath(envOr("XDG_CACHE_HOME", joinPath(m_profile, ".cache")), "zelvora/webcache");
}

std::string PosixEnvironment::desktopFolder() const
{
    // With an explicit profile the desktop lives under it; otherwise the user's XDG desktop.
    const std::string home = envOr("HOME", m_profile);
    const std::string folder = home == m_profile
        ? xdgDesktopFolder(home, envOr("XDG_CONFIG_HOME", joinPath(home, ".config")))
        : joinPath(m_profile, "Desktop");
    std::error_code ec;
    fs::create_directories(folder, ec);
    return folder;
}

std::string PosixEnvironment::mediaFolder(bool videos) const
{
    // With an explicit profile the user's own folders are not this profile's.
    const std::string home = envOr("HOME", m_profile);
    if (home != m_profile)
        return m_profile;
    const std::string named = xdgUserFolder(
        home, envOr("XDG_CONFIG_HOME", joinPath(home, ".config")), videos ? "VIDEOS" : "MUSIC");
    std::error_code ec;
    return !named.empty() && fs::is_directory(named, ec) ? named : home;
}

} // namespace platform
