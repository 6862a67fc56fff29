#include "toolbox/runner_fixture.h"

#include "platform/textfile.h"
#include "platform/web_engine_cache.h"

using testing_support::readBytes;
using testing_support::RunnerTest;

namespace {

const char* const kActive = "nmcli -t -f UUID,DEVICE,TYPE,NAME connection show --active";
const char* const kReadDns
    = "nmcli -t -f GENERAL.DEFAULT,ipv4.method,ipv4.dns,ipv4.ignore-auto-dns connection show u-1";

class CountingEngineCache : public platform::WebEngineCache {
public:
    platform::Status clear() override
    {
        ++clears;
        return works ? platform::Status::success() : platform::Status::failure("refused");
    }
    int clears = 0;
    bool works = true;
};

class TuneUpTest : public RunnerTest {
protected:
    toolbox::tooldiao& tuned()
    {
        toolbox::tooldiao& w = open("KDJS");
        EXPECT_TRUE(until([&] { return !w.jk.enabled(); }, 10));
        return w;
    }
};

} // namespace

TEST_F(TuneUpTest, TheTuneUpSwitchesServersRecordingTheOwnOnce)
{
    // A wired connection with the default route beside a VPN, a container bridge, a connection
    // shared to others and a WiFi without the default route (active_connections.txt).
    tools.on(kActive, readBytes(testing_support::testData("toolbox/active_connections.txt")));
    tools.on(kReadDns,
        "GENERAL.DEFAULT:yes\nipv4.method:manual\nipv4.dns:1.1.1.1,9.9.9.9\nipv4.ignore-auto-dns:no\n");
    tools.on("nmcli -t -f * u-s", "GENERAL.DEFAULT:no\nipv4.method:shared\n");
    tools.on("nmcli -t -f * u-w", "GENERAL.DEFAULT:no\nipv4.method:auto\n");
    auto engine = std::make_shared<CountingEngineCache>();
    p.app.provide<platform::WebEngineCache>(engine);
    testing_support::writeBytes(std::filesystem::path(cache()) / "Cache" / "data_1", "cached");
    toolbox::tooldiao& w = open("KDJS");
    EXPECT_EQ(w.Label2.caption(), "正在优化宽带网速...");
    ASSERT_TRUE(until([&] { return !w.jk.enabled(); }, 10));
    EXPECT_EQ(w.Label2.caption(), "宽带加速成功，您打开网页试试...");
    EXPECT_FALSE(platform::fileExists(tool("kdjs.bat")));
    EXPECT_TRUE(std::filesystem::is_empty(cache()));
    EXPECT_EQ(engine->clears, 1);
    // Only the wired connection with the default route is changed.
    EXPECT_EQ(tools.log(), designed("tuneup_calls.txt"));
    EXPECT_EQ(readBytes(tool("dns_record.txt")), "u-1\teth0\t有线\t1.1.1.1,9.9.9.9\tno\r\n");

    // A second tune-up keeps the first record: it is the user's own setting.
    w.Label3.click();
    testing_support::FakeTools second;
    second.on(kActive, "u-1:eth0:802-3-ethernet:有线\n");
    second.on(kReadDns,
        "GENERAL.DEFAULT:yes\nipv4.method:auto\nipv4.dns:114.114.114.114,8.8.8.8\nipv4.ignore-auto-dns:"
        "yes\n");
    tuned();
    EXPECT_EQ(readBytes(tool("dns_record.txt")), "u-1\teth0\t有线\t1.1.1.1,9.9.9.9\tno\r\n");
}

TEST_F(TuneUpTest, TheTuneUpJobWritesItsBatchFileExactly)
{
    tools.hang(kActive);
    testing_support::writeBytes(tool("dns_record.txt"), "u-1\teth0\t有线\t1.1.1.1\tno\r\n");
    toolbox::tooldiao& w = open("KDJS");
    // The restore waits until the tune-up has ended.
    EXPECT_FALSE(w.Command4.visible());
    EXPECT_EQ(readBytes(tool("kdjs.bat")), designed("kdjs.bat"));

    ASSERT_TRUE(until([&] { return !w.Label7.caption().empty(); }, 10));
    size_t longest = 0;
    bool wrapped = false;
    for (int tick = 0; tick < 200; ++tick) {
        const size_t before = w.Label7.caption().size();
        p.app.advance(10);
        longest = std::max(longest, w.Label7.caption().size());
        wrapped = wrapped || w.Label7.caption().size() < before;
    }
    EXPECT_EQ(longest, 76u);
    EXPECT_TRUE(wrapped);
    w.Label3.click();
    EXPECT_FALSE(runnerOpen());
}

TEST_F(TuneUpTest, PartialFailuresReportOnlyWhatSucceeded)
{
    tools.on(kActive, "u-1:eth0:802-3-ethernet:有线\n");
    tools.on(kReadDns, "GENERAL.DEFAULT:yes\nipv4.method:auto\nipv4.dns:1.1.1.1\nipv4.ignore-auto-dns:no\n");
    tools.on("nmcli connection modify*", "", 1,
        "Error: Failed to modify connection 'x': ipv4.dns: this property is not allowed for "
        "'method=shared'\n");
    auto engine = std::make_shared<CountingEngineCache>();
    engine->works = false;
    p.app.provide<platform::WebEngineCache>(engine);
    toolbox::tooldiao& w = tuned();
    EXPECT_EQ(w.Label2.caption(),
        "宽带加速没有全部完成：浏览器缓存没有清除；连接“有线”的DNS没有改成：这个连接不允许这项设置（Failed "
        "to "
        "modify connection 'x': ipv4.dns: this property is not allowed for 'method=shared'）");
    w.Label3.click();

    engine->works = true;

    // A garbled DNS setting is not recorded, and so the connection is left alone.
    testing_support::FakeTools garbled;
    garbled.on(kActive, "u-1:eth0:802-3-ethernet:有线\n");
    garbled.on(kReadDns, "GENERAL.DEFAULT:yes\nipv4.method:auto\nipv4.dns:rm -rf /\n");
    toolbox::tooldiao& v = tuned();
    EXPECT_EQ(v.Label2.caption(), "宽带加速没有全部完成：读不到连接“有线”原来的DNS，未修改它");
    for (const std::string& call : garbled.calls())
        EXPECT_EQ(call.find("modify"), std::string::npos) << call;
    v.Label3.click();

    testing_support::FakeTools none;
    none.remove();
    toolbox::tooldiao& u = tuned();
    EXPECT_EQ(u.Label2.caption(), "宽带加速没有全部完成：DNS没有设置：没有找到NetworkManager的nmcli命令");
    // The record made before the refused change stays until it is put back.
    EXPECT_TRUE(u.Command4.visible());
    u.Command4.click();
    ASSERT_TRUE(until([&] { return !u.jk.enabled(); }, 10));
    EXPECT_EQ(u.Label2.caption(),
        "原来的DNS没有全部恢复：连接“有线”的DNS没有恢复：没有找到NetworkManager的nmcli命令");
    EXPECT_TRUE(platform::fileExists(tool("dns_record.txt")));
    std::filesystem::remove(tool("dns_record.txt"));
    u.Command4.click();
    ASSERT_TRUE(until([&] { return !u.jk.enabled(); }, 10));
    EXPECT_EQ(u.Label2.caption(), "原来的DNS没有全部恢复：没有记录过原来的DNS");
}

TEST_F(TuneUpTest, AToolFolderThatCannotBeWrittenRunsNothing)
{
    std::filesystem::create_directories(p.dataFile(""));
    testing_support::writeBytes(p.dataFile("tool"), "a file where the folder should be");
    toolbox::tooldiao& w = open("KDJS");
    EXPECT_EQ(w.Label2.caption().rfind("工具文件夹不能写入", 0), 0u);
    EXPECT_TRUE(tools.calls().empty());
    w.Label3.click();

    p.config->set("dns.primary", "1.2.3.4 & del");
    std::filesystem::remove(p.dataFile("tool"));
    toolbox::tooldiao& v = open("KDJS");
    EXPECT_EQ(v.Label2.caption(), "DNS服务器地址设置有误：1.2.3.4 & del 8.8.8.8");
    EXPECT_FALSE(platform::fileExists(tool("kdjs.bat")));
}

TEST_F(TuneUpTest, RestoringPutsBackTheRecordedDns)
{
    testing_support::writeBytes(
        tool("dns_record.txt"), "u-1\teth0\t有线\t1.1.1.1\tno\r\nu-9\teth9\t旧\t\tno\r\n");
    tools.on("nmcli connection modify u-9*", "", 10, "Error: unknown connection 'u-9'.\n");
    p.dialogs->queueAnswer(platform::AnswerYes);
    box().Image9.click();
    p.app.advance(1);
    EXPECT_EQ(p.messages(), std::vector<std::string> { "检测到上次加速前的DNS设置，是否恢复原DNS？" });
    EXPECT_EQ(r().Label2.caption(), "正在恢复原DNS...");
    ASSERT_TRUE(until([&] { return !r().jk.enabled(); }, 10));
    EXPECT_EQ(r().Label2.caption(), "已恢复原来的DNS\n连接“旧”已不存在，已删除它的DNS记录");
    EXPECT_FALSE(platform::fileExists(tool("dns_record.txt")));
    EXPECT_EQ(tools.log(), designed("restore_calls.txt"));
}
