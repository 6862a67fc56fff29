// The desktop shell: showing a file in the file manager falls back to opening its folder, and
// every helper the shell starts is reaped.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>
#include <thread>

#include "platform/posix/posix_services.h"
#include "support/temp_dir.h"

using testing_support::readBytes;

namespace {

namespace fs = std::filesystem;

void writeScript(const fs::path& path, const std::string& body)
{
    testing_support::writeBytes(path, "#!/bin/sh\n" + body + "\n");
    fs::permissions(path, fs::perms::owner_all);
}

// No child of this process has ended without being waited for (the check leaves it waitable).
bool noZombie()
{
    siginfo_t info {};
    return waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) != 0 || info.si_pid == 0;
}

bool waitFor(const std::function<bool()>& condition)
{
    for (int i = 0; i < 300; ++i) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

// Puts fake helpers first on the search path for the life of the test.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_path = std::getenv("PATH") ? std::getenv("PATH") : "";
        setenv("PATH", (dir.path().string() + ":" + m_path).c_str(), 1);
        writeScript(dir.path() / "xdg-open", "echo \"$1\" > \"" + opened().string() + "\"");
    }
    void TearDown() override { setenv("PATH", m_path.c_str(), 1); }
    fs::path opened() const { return dir.path() / "opened.txt"; }

    testing_support::TempDir dir;

private:
    std::string m_path;
};

} // namespace

TEST_F(ShellTest, RevealFallsBackToOpeningTheFolder)
{
    struct Row {
        const char* name;
        const char* dbusSend;
        bool folderOpened;
    };
    const Row rows[] = {
        { "no session bus", "exit 1", true },
        { "file manager shows it", "exit 0", false },
        { "bus hangs", "exec sleep 30", true },
        { "no dbus-send at all", nullptr, true },
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        fs::remove(opened());
        fs::remove(dir.path() / "dbus-send");
        if (r.dbusSend)
            writeScript(dir.path() / "dbus-send", r.dbusSend);
        else
            setenv("PATH", dir.path().c_str(), 1);
        platform::PosixShell shell;
        EXPECT_TRUE(shell.reveal("/media/songs/a b.mp3"));
        if (r.folderOpened) {
            ASSERT_TRUE(waitFor([&] { return !readBytes(opened()).empty(); }));
            EXPECT_EQ(readBytes(opened()), "/media/songs\n");
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            EXPECT_FALSE(fs::exists(opened()));
        }
        EXPECT_TRUE(waitFor(noZombie));
    }
}
