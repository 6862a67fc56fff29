// The console as the executable runs it: the real program assembled from the command-line
// options, started, then driven by the script.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "console/console.h"
#include "support/temp_dir.h"

namespace {

using testing_support::TempDir;

struct ConsoleRun {
    std::string output;
    int status = -1;
};

ConsoleRun runConsole(const console::ConsoleOptions& options, const std::string& script)
{
    std::istringstream in(script);
    std::ostringstream out;
    ConsoleRun run;
    run.status = console::runConsole(options, in, out);
    run.output = out.str();
    return run;
}

class ConsoleProgram : public ::testing::Test {
protected:
    void SetUp() override { unsetenv("ZELVORA_CONFIG"); }
    void TearDown() override { unsetenv("ZELVORA_CONFIG"); }

    console::ConsoleOptions options() const
    {
        console::ConsoleOptions o;
        o.profile = m_dir.file("profile");
        return o;
    }
    TempDir m_dir;
};

TEST_F(ConsoleProgram, ARelativeProfileFolderIsTakenFromTheStartingFolder)
{
    const auto started = std::filesystem::current_path();
    std::filesystem::current_path(m_dir.path());
    console::ConsoleOptions relative;
    relative.profile = "./rel/../profile";
    const ConsoleRun run = runConsole(relative, "get Form6.ini2\n");
    std::filesystem::current_path(started);
    // The skin picture's stored path is the full path inside the profile folder.
    const std::string expected = (m_dir.path() / "profile" / "my documents" / "zelv" / "skin").string();
    EXPECT_EQ(run.output.rfind(expected, 0), 0u) << run.output;
}

TEST_F(ConsoleProgram, AddressesComeFromTheNamedConfigurationOrTheEnvironment)
{
    testing_support::writeBytes(m_dir.path() / "named.cfg", "maker_site = http://127.0.0.1:9/named\n");
    testing_support::writeBytes(m_dir.path() / "env.cfg",
        "# from the environment\nnot a setting\nmaker_site=http://127.0.0.1:9/env\n");
    const std::string script = "click moban.Label2\nlaunches\n";
    setenv("ZELVORA_CONFIG", m_dir.file("env.cfg").c_str(), 1);

    ConsoleRun run = runConsole(options(), script);
    EXPECT_EQ(run.output, "open http://127.0.0.1:9/env\n");
    EXPECT_EQ(run.status, 0);

    console::ConsoleOptions named = options();
    named.configFile = m_dir.file("named.cfg");
    run = runConsole(named, script);
    EXPECT_EQ(run.output, "open http://127.0.0.1:9/named\n");
}

TEST_F(ConsoleProgram, AnUnusableConfigurationProfileOrScriptIsExitStatusTwo)
{
    const std::string fifo = m_dir.file("a.fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    testing_support::writeBytes(m_dir.path() / "afile", "x");
    const std::string folder = m_dir.path().string();
    const std::string absent = m_dir.file("absent");
    const std::string noScript = "error: cannot read the script ";
    const struct {
        const char* name;
        std::string configFile, environment, profile, scriptFile;
        std::string output; // empty: not checked
    } rows[] = {
        { "missing configuration", absent, "", "", "",
            "error: cannot read the configuration file " + absent },
        // A FIFO is refused without waiting for a writer.
        { "configuration is a FIFO", fifo, "", "", "", "" },
        { "environment names a folder", "", folder, "", "", "" },
        { "profile is a file", "", "", m_dir.file("afile"), "",
            "error: cannot use the profile folder " + m_dir.file("afile") },
        { "script is a folder", "", "", "", folder, noScript + folder },
        { "script is a device", "", "", "", "/dev/zero", noScript + "/dev/zero" },
        { "script is a FIFO", "", "", "", fifo, noScript + fifo },
        { "script is missing", "", "", "", absent, noScript + absent },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        console::ConsoleOptions o = options();
        o.configFile = row.configFile;
        o.scriptFile = row.scriptFile;
        if (!row.profile.empty())
            o.profile = row.profile;
        if (!row.environment.empty())
            setenv("ZELVORA_CONFIG", row.environment.c_str(), 1);
        const ConsoleRun run = runConsole(o, "echo not reached\n");
        unsetenv("ZELVORA_CONFIG");
        EXPECT_EQ(run.status, 2);
        if (!row.output.empty()) {
            EXPECT_EQ(run.output, row.output + "\n");
        }
    }
    testing_support::writeBytes(m_dir.path() / "ok.script", "echo read\n");
    console::ConsoleOptions o = options();
    o.scriptFile = m_dir.file("ok.script");
    EXPECT_EQ(runConsole(o, "echo not reached\n").output, "read\n");
}

} // namespace
