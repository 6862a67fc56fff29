#pragma once
// Where the program's folders are on this machine.
#include <string>

namespace platform {

class Environment {
public:
    virtual ~Environment() = default;
    // The user profile folder (no trailing separator).
    [[nodiscard]] virtual std::string userProfile() const = 0;
    // The folder the program runs from (companion programs are looked up there).
    [[nodiscard]] virtual std::string programFolder() const = 0;
    // The user's desktop folder, created when missing.
    [[nodiscard]] virtual std::string desktopFolder() const = 0;
    // The browser's cache folder (configured, or the front end's web cache).
    [[nodiscard]] virtual std::string browserCacheFolder() const = 0;
    // Where the user keeps music (or videos): the desktop's folder for them where it names
    // one that exists, else the user's home. File dialogs start there.
    [[nodiscard]] virtual std::string mediaFolder(bool videos) const
    {
        (void)videos;
        return userProfile();
    }
    // The code page of text files ("UTF-8" here, "GBK" on Chinese Windows).
    [[nodiscard]] virtual std::string codePage() const = 0;
    // Why the profile may not hold this user's files ("" when it may): there is no home, it is
    // no folder, or it, a folder above it or the data folder in it is another user's or open
    // to other users' writes.
    [[nodiscard]] virtual std::string profileProblem() const { return {}; }
};

// Builds a path by joining a folder and a relative part with the native separator.
std::string joinPath(const std::string& folder, const std::string& relative);
// The native path separator.
constexpr char kSeparator = '/';

// Folders given explicitly: tests and the console's --profile use it.
class FixedEnvironment : public Environment {
public:
    FixedEnvironment(std::string profile, std::string programFolder, std::string codePage = "UTF-8");
    [[nodiscard]] std::string userProfile() const override { return m_profile; }
    [[nodiscard]] std::string programFolder() const override { return m_program; }
    [[nodiscard]] std::string desktopFolder() const override;
    [[nodiscard]] std::string browserCacheFolder() const override { return m_cache; }
    [[nodiscard]] std::string codePage() const override { return m_codePage; }
    void setBrowserCacheFolder(std::string v) { m_cache = std::move(v); }
    void setCodePage(std::string v) { m_codePage = std::move(v); }

private:
    std::string m_profile;
    std::string m_program;
    std::string m_desktop;
    std::string m_cache;
    std::string m_codePage;
};

} // namespace platform
