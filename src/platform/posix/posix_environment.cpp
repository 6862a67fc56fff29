#include "platform/posix/posix_environment.h"

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <langinfo.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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

// The home folder the password database gives this user ("" when it gives none).
std::string passwordHome()
{
    std::vector<char> buffer(16384);
    struct passwd entry { };
    struct passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found
        || !found->pw_dir)
        return {};
    const std::string home = found->pw_dir;
    return home.starts_with('/') ? home : std::string();
}

// Why path may not hold this user's files: it belongs to another user, or others may write
// into it (a group other than the user's own included). "" for a missing path too.
std::string foreignWrites(const std::string& path)
{
    struct stat st { };
    if (::stat(path.c_str(), &st) != 0)
        return {};
    if (st.st_uid != ::geteuid())
        return path + " belongs to another user";
    if ((st.st_mode & S_IWOTH) != 0 || ((st.st_mode & S_IWGRP) != 0 && st.st_gid != ::getegid()))
        return path + " may be written by other users";
    return {};
}

// Why a folder above a profile would let another user swap the profile for a folder of
// theirs: it is another user's (root aside), or others may write into it without the sticky
// bit that keeps them from renaming what is not theirs.
std::string foreignAncestors(const std::string& folder)
{
    std::error_code ec;
    fs::path path = fs::absolute(folder, ec).lexically_normal();
    while (path.has_relative_path()) {
        path = path.parent_path();
        struct stat st { };
        if (::stat(path.c_str(), &st) != 0)
            return path.string() + ": cannot be checked";
        if (st.st_uid != 0 && st.st_uid != ::geteuid())
            return path.string() + " belongs to another user";
        const bool othersWrite
            = (st.st_mode & S_IWOTH) != 0 || ((st.st_mode & S_IWGRP) != 0 && st.st_gid != ::getegid());
        if (othersWrite && (st.st_mode & S_ISVTX) == 0)
            return path.string() + " may be written by other users";
    }
    return {};
}

} // namespace

std::string xdgUserFolder(const std::string& home, const std::string& configHome, const std::string& name)
{
    const std::string file = joinPath(configHome, "user-dirs.dirs");
    // Sound: a user-dirs file someone else prepared (a shared folder standing in for home)
    // would send the downloads into that user's folder.
    if (!foreignWrites(configHome).empty() || !foreignWrites(file).empty())
        return {};
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        const std::string key = "XDG_" + name + "_DIR=";
        if (line.rfind(key, 0) != 0)
            continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        const std::string homeVar = "$HOME";
        if (value.starts_with(homeVar))
            value.replace(0, homeVar.size(), home);
        if (!value.empty() && value.front() == '/' && foreignWrites(value).empty())
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
    // Sound: without HOME the home comes from the password database, never from a shared
    // folder (another user may have prepared one); with none at all profileProblem says so.
    if (m_profile.empty())
        m_profile = envOr("USERPROFILE", envOr("HOME", passwordHome()));
    while (m_profile.size() > 1 && m_profile.back() == '/')
        m_profile.pop_back();
    if (m_codePage.empty())
        m_codePage = localeCharset();
    if (m_cache.empty())
        m_cache = joinPath(envOr("XDG_CACHE_HOME", joinPath(m_profile, ".cache")), "zelvora/webcache");
}

std::string PosixEnvironment::profileProblem() const
{
    if (m_profile.empty())
        return "no home folder: HOME is not set and the password database names none";
    std::error_code ec;
    if (!fs::is_directory(m_profile, ec))
        return m_profile + " is not a folder";
    if (std::string problem = foreignAncestors(m_profile); !problem.empty())
        return problem;
    for (const char* folder : { "", "my documents", "my documents/zelv" }) {
        if (std::string problem = foreignWrites(joinPath(m_profile, folder)); !problem.empty())
            return problem;
    }
    return {};
}

std::string PosixEnvironment::desktopFolder() const
{
    // With an explicit profile the desktop lives under it; otherwise the user's XDG desktop.
    const std::string home = envOr("HOME", m_profile);
    std::string folder = home == m_profile
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
