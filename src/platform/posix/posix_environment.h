#pragma once
// The environment of this machine: HOME (or USERPROFILE; the password database's home when
// both are unset or empty), XDG folders, the locale charset.
#include "platform/environment.h"

namespace platform {

class PosixEnvironment : public Environment {
public:
    // codePageOverride and cacheFolder come from the configuration; empty means the default.
    PosixEnvironment(std::string profileOverride, std::string codePageOverride, std::string cacheFolder);
    [[nodiscard]] std::string userProfile() const override { return m_profile; }
    [[nodiscard]] std::string programFolder() const override { return m_program; }
    [[nodiscard]] std::string desktopFolder() const override;
    [[nodiscard]] std::string browserCacheFolder() const override { return m_cache; }
    [[nodiscard]] std::string mediaFolder(bool videos) const override;
    [[nodiscard]] std::string codePage() const override { return m_codePage; }
    [[nodiscard]] std::string profileProblem() const override;

private:
    std::string m_profile;
    std::string m_program;
    std::string m_codePage;
    std::string m_cache;
};

// The folder XDG user-dirs names for key ("DESKTOP", "MUSIC", "VIDEOS") under home; empty
// when it names none.
std::string xdgUserFolder(const std::string& home, const std::string& configHome, const std::string& key);
// The desktop folder named by XDG user-dirs under home, or home/Desktop. A user-dirs file or
// a named folder that another user owns or may write is not followed.
std::string xdgDesktopFolder(const std::string& home, const std::string& configHome);

} // namespace platform
