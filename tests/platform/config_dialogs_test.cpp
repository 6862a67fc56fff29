#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/config.h"
#include "platform/dialogs.h"
#include "platform/environment.h"
#include "platform/posix/posix_environment.h"
#include "support/temp_dir.h"

using namespace platform;
using testing_support::TempDir;
using testing_support::writeBytes;

TEST(Config, DefaultsAreOverriddenByTheFile)
{
    Config c;
    TempDir dir;
    writeBytes(dir.path() / "z.conf", "# test\n probe = http://127.0.0.1:9 \n\nnew.key=v=1\r\nbroken line\n");
    const Status s = c.loadFile(dir.file("z.conf"));
    EXPECT_FALSE(s.ok);
    EXPECT_NE(s.error.find("5"), std::string::npos);
    EXPECT_EQ(c.get("probe"), "http://127.0.0.1:9");
    EXPECT_EQ(c.get("new.key"), "v=1");
    EXPECT_EQ(c.get("unknown"), "");
    EXPECT_FALSE(Config().loadFile(dir.file("missing.conf")).ok);
}

// The queueing and the fallback of a yes/no answer are driven through the console's scripts;
// here the other button sets and an empty folder answer.
TEST(ScriptedDialogs, UnansweredDialogsGiveTheirDefaults)
{
    ScriptedDialogs d;
    EXPECT_EQ(d.messageBox({ "i", "t", OkOnly, Information, DefaultButton1 }), AnswerOk);
    EXPECT_EQ(d.messageBox({ "c", "t", YesNoCancel, NoIcon, DefaultButton3 }), AnswerCancel);
    d.queueFolder("");
    EXPECT_FALSE(d.browseFolder("t", "").has_value());
}

TEST(Environment, DesktopFolderFromUserDirs)
{
    TempDir dir;
    const std::string home = dir.path().string();
    writeBytes(dir.path() / ".config/user-dirs.dirs",
        "# x\nXDG_DESKTOP_DIR=\"$HOME/桌面\"\nXDG_MUSIC_DIR=\"/srv/音乐\"\n");
    EXPECT_EQ(xdgDesktopFolder(home, home + "/.config"), home + "/桌面");
    EXPECT_EQ(xdgUserFolder(home, home + "/.config", "MUSIC"), "/srv/音乐");
    EXPECT_EQ(xdgUserFolder(home, home + "/.config", "VIDEOS"), "");
    EXPECT_EQ(xdgDesktopFolder(home, home + "/nowhere"), home + "/Desktop");
    EXPECT_EQ(joinPath("/a/", "/b"), "/a/b");
    EXPECT_EQ(joinPath("/a", "b/"), "/a/b/");
}

TEST(Environment, NoProfileOrDesktopInAFolderAnotherUserMayHavePrepared)
{
    TempDir dir;
    const std::string home = dir.path().string();
    namespace fs = std::filesystem;
    writeBytes(dir.path() / ".config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"$HOME/shared\"\n");
    fs::create_directory(dir.path() / "shared");
    // A desktop named in a file others may write, or a desktop others may write, is not taken.
    fs::permissions(dir.path() / "shared", fs::perms::all);
    EXPECT_EQ(xdgDesktopFolder(home, home + "/.config"), home + "/Desktop");
    fs::permissions(
        dir.path() / "shared", fs::perms::others_write | fs::perms::group_write, fs::perm_options::remove);
    fs::permissions(dir.path() / ".config/user-dirs.dirs", fs::perms::others_write, fs::perm_options::add);
    EXPECT_EQ(xdgDesktopFolder(home, home + "/.config"), home + "/Desktop");

    // Without HOME the home is the password database's (a shared profile: ProfileLock).
    const char* savedHome = std::getenv("HOME");
    const std::string saved = savedHome ? savedHome : "";
    ::unsetenv("HOME");
    ::unsetenv("USERPROFILE");
    EXPECT_EQ(PosixEnvironment("", "", "").userProfile(), ::getpwuid(::geteuid())->pw_dir);
    ::setenv("HOME", saved.c_str(), 1);
}
