#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "runtime/vbtext.h"
#include "shell/hub_window.h"
#include "shell/updater_window.h"
#include "support/network_fixture.h"
#include "support/test_program.h"

using testing_support::FixtureServer;
using testing_support::readBytes;
using testing_support::TestProgram;
using testing_support::writeBytes;

namespace {

class UpdateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        server.addPage("/", "portal");
        start(p);
    }
    // Starts a program whose probe and update server are the loopback server.
    void start(TestProgram& program)
    {
        program.app.provide<platform::Network>(
            std::make_shared<platform::CurlNetwork>(network_testing::quickOptions()));
        program.config->set("probe", server.url("/"));
        program.config->set("update_server", server.url(""));
        program.start();
    }
    shell::moban& hub() { return p.app.get<shell::moban>(); }
    std::string line(const char* suffix) { return std::string("当前版本:V1.0.0.13  ") + suffix; }
    std::string versionFile() const { return p.dataFile("Temp/update.ini"); }
    // Clicks the update line and lets the check run (from the start-up text, since a click
    // on the new-version text starts the update instead).
    void check()
    {
        hub().Label1.setCaption(line(shell::kUpdateIdle));
        hub().Label1.click();
        EXPECT_EQ(hub().Label1.caption(), line(shell::kUpdateChecking));
        p.app.runUntilIdle();
    }
    FixtureServer server;
    TestProgram p;
};

} // namespace

TEST_F(UpdateTest, TheServersLastLineIsComparedAsANumberOrAsText)
{
    EXPECT_EQ(hub().Label1.caption(), line(shell::kUpdateIdle));
    // Served whole, as a page (the streaming route cannot send an empty body).
    p.config->set("update_server", server.url("/compressed"));
    // Each row of versions.tsv: the case, the published file and the outcome.
    const std::map<std::string, const char*> outcomes { { "available", shell::kUpdateAvailable },
        { "latest", shell::kUpdateLatest }, { "failed", shell::kUpdateFailed } };
    for (const auto& r : testing_support::testRows("shell/versions.tsv", true)) {
        SCOPED_TRACE(r.name);
        server.addPage("/xin.txt", r.at(0), "text/plain");
        check();
        EXPECT_EQ(hub().Label1.caption(), line(outcomes.at(r.at(1))));
        EXPECT_EQ(readBytes(versionFile()), r[0]);
        EXPECT_FALSE(hub().xin.enabled());
    }
    // Endless redirects end the check as failed too, never as the latest.
    p.config->set("update_server", server.url("/redirect/50?to=/xin.txt") + "#");
    check();
    EXPECT_EQ(hub().Label1.caption(), line(shell::kUpdateFailed));
}

TEST_F(UpdateTest, OfflineCheckOnlyReportsBeingOffline)
{
    p.config->set("probe", FixtureServer::refusedUrl());
    check();
    EXPECT_EQ(hub().Label1.caption(), line(shell::kUpdateOffline));
    EXPECT_FALSE(std::filesystem::exists(versionFile()));
    EXPECT_EQ(server.hits("/xin.txt"), 0);
}

TEST_F(UpdateTest, TheNewVersionClickHandsOverToTheUpdater)
{
    server.addPage("/xin.txt", "14", "text/plain");
    const struct {
        const char* name;
        bool updater;
        int answer;
        std::vector<std::string> launches;
        std::vector<std::string> messages;
    } rows[] = {
        { "declined", false, platform::AnswerNo, {}, { "有新版本，是否更新？" } },
        { "update program present", true, platform::AnswerYes, { "start /update.exe style=4" },
            { "有新版本，是否更新？" } },
        { "portable edition", false, platform::AnswerYes, { "open " + server.url("") + "/Zelvora绿色版.exe" },
            { "有新版本，是否更新？", "您好，您的版本是绿色版，不需要在线更新，直接到官网下载即可" } },
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        TestProgram q;
        if (r.updater)
            writeBytes(q.env->programFolder() + "/update.exe", "MZ");
        start(q);
        auto& line1 = q.app.get<shell::moban>().Label1;
        line1.click();
        q.app.runUntilIdle();
        ASSERT_EQ(line1.caption(), line(shell::kUpdateAvailable));
        q.dialogs->queueAnswer(r.answer);
        q.shell->takeLaunches();
        line1.click();
        EXPECT_EQ(q.messages(), r.messages);
        std::vector<std::string> launches = q.shell->takeLaunches();
        for (auto& l : launches)
            l = vb::Replace(l, q.env->programFolder(), "");
        EXPECT_EQ(launches, r.launches);
        EXPECT_EQ(q.host.ended, r.answer == platform::AnswerYes);
        EXPECT_FALSE(q.app.get<shell::moban>().xin.enabled());
    }
}

class UpdaterWindowTest : public UpdateTest {
protected:
    void SetUp() override
    {
        UpdateTest::SetUp();
        std::filesystem::create_directories(p.env->desktopFolder());
        p.app.advance(1);
    }
    shell::Form4& updater() { return p.app.get<shell::Form4>(); }
    std::string target() const { return p.env->desktopFolder() + "/ZelvoraV1.0.0.13.exe"; }
};

TEST_F(UpdaterWindowTest, UpgradeDownloadsTheNewVersionToTheDesktop)
{
    const std::string program = FixtureServer::pattern(0, 300000);
    server.addPage("/zelv.dll", program, "application/octet-stream");
    updater().Command1.click();
    EXPECT_EQ(readBytes(target()), program);
    ASSERT_EQ(p.dialogs->messages().size(), 1u);
    EXPECT_EQ(p.dialogs->messages()[0].request.icon, platform::Information);
    EXPECT_EQ(p.messages(), std::vector<std::string> { "更新成功，版本号V1.0.0.13" });
    EXPECT_FALSE(updater().Command1.enabled());
    EXPECT_EQ(updater().Label1.caption(), "■■■■■■■■■■");
    EXPECT_EQ(updater().Command1.caption(), "正在升级100%");
}

TEST_F(UpdaterWindowTest, AFailedUpgradeKeepsTheDesktopFile)
{
    writeBytes(target(), "the older build");
    p.config->set("update_server", server.url("/cut/200000#"));
    updater().Command1.click();
    EXPECT_EQ(readBytes(target()), "the older build");
    EXPECT_EQ(p.messages(), std::vector<std::string> { "更新失败，您刚刚断网了" });
    EXPECT_FALSE(updater().Command1.enabled());
    for (const auto& e : std::filesystem::directory_iterator(p.env->desktopFolder()))
        EXPECT_EQ(e.path().filename().string(), "ZelvoraV1.0.0.13.exe");
}

TEST_F(UpdaterWindowTest, ProgressCountsInWholeTens)
{
    // Each row of upgrade_progress.tsv: the bytes received and announced, the bar, the caption.
    for (const auto& r : testing_support::testRows("shell/upgrade_progress.tsv")) {
        SCOPED_TRACE(r.name);
        updater().oDownload_OnProgress(std::stoll(r.at(0)), std::stoll(r.at(1)), 0, 5, "");
        EXPECT_EQ(updater().Label1.caption(), r.at(2)) << r[0];
        EXPECT_EQ(updater().Command1.caption(), r.at(3)) << r[0];
    }
    // Reports without a length or without bytes leave both alone.
    updater().oDownload_OnProgress(0, 100, 0, 5, "");
    updater().oDownload_OnProgress(100, 0, 0, 5, "");
    EXPECT_EQ(updater().Command1.caption(), "正在升级100%");
}
