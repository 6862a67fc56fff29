#include "toolbox/runner_fixture.h"

#include "platform/textfile.h"
#include "toolbox/tool_files.h"

using testing_support::readBytes;
using testing_support::RunnerTest;

namespace {

const char* const kDevices = "nmcli -t -f DEVICE,TYPE,STATE,CONNECTION device";
// Two connections to share (one name with an escaped colon), a WiFi card and the loopback.
const std::string kTwoConnections = readBytes(testing_support::testData("toolbox/devices.txt"));

class HotspotTest : public RunnerTest {
protected:
    // Opens the hotspot mode and waits for the scan.
    toolbox::tooldiao& scanned()
    {
        toolbox::tooldiao& w = open("WF");
        EXPECT_TRUE(until([&] { return !w.wf.enabled(); }));
        return w;
    }
};

} // namespace

TEST_F(HotspotTest, CreatingAHotspotFromAScannedConnection)
{
    tools.on(kDevices, kTwoConnections);
    tools.on("nmcli connection delete*", "", 10, "Error: unknown connection 'zelvina_wifi'.\n");
    toolbox::tooldiao& w = scanned();
    EXPECT_EQ(w.Combo1.items(), (std::vector<std::string> { "有线 连接 1", "Home:Net" }));

    w.mi.setText("1234567");
    EXPECT_FALSE(w.Command2.enabled());
    EXPECT_EQ(w.wfts.caption(), "密码必须大于或等于8位");

    // Any key and name WPA2 takes; the key reaches nmcli only through a file of its owner.
    w.ssid.setText("我的\"WiFi&|");
    w.mi.setText("a \"b&%c\\ d");
    w.Command2.click();
    EXPECT_EQ(w.wfts.caption(), "正在创建WiFi...");
    ASSERT_TRUE(until([&] { return !w.jk.enabled(); }));
    EXPECT_EQ(w.wfts.caption(), "WiFi创建成功，获取生效时间...");
    const auto calls = tools.calls();
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[3] + "\n", designed("hotspot_add.txt"));
    // What a crash left behind goes at the next start.
    testing_support::writeBytes(tool("start.bat"), "key");
    testing_support::writeBytes(tool("wifi_key.txt"), "key");
    p.start();
    EXPECT_FALSE(platform::fileExists(tool("start.bat")) || platform::fileExists(tool("wifi_key.txt")));

    for (const char* shown : { "5", "4", "3", "2", "1" }) {
        p.app.advance(1000);
        EXPECT_EQ(w.wfts.caption(), std::string("距离生效时间还有：") + shown);
    }
    p.app.advance(1000);
    EXPECT_FALSE(runnerOpen());
    const auto shown = p.messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("首选DNS服务器设置成114.114.114.114，备用DNS服务器设置成8.8.8.8即可上网"),
        std::string::npos);
}

TEST_F(HotspotTest, TheDesignedFilesAreWrittenByteForByte)
{
    {
        testing_support::FakeTools scanning;
        scanning.hang("nmcli -t*");
        open("WF");
        EXPECT_EQ(
            readBytes(tool("wan.bat")), "netsh interface show interface>\"" + tool("wan.txt") + "\"\r\n");
        p.app.unload<toolbox::tooldiao>();
    }
    tools.on(kDevices, kTwoConnections);
    tools.hang("nmcli connection*");
    testing_support::writeBytes(tool("wan.db"), "旧连接\r\n");
    toolbox::tooldiao& v = scanned();
    v.ssid.setText("我的WiFi");
    v.mi.setText("pass word!");
    v.Combo1.setListIndex(1);
    v.Command2.click();
    EXPECT_EQ(readBytes(tool("wan.db")), "Home:Net\r\n");
    EXPECT_EQ(readBytes(tool("start.bat")), designed("start.bat"));
    const std::string script = readBytes(tool("ics.vbs"));
    EXPECT_EQ(script.substr(script.size() - 2), "\r\n");
    EXPECT_EQ(script.find('\n'), script.find("\r\n") + 1);

    // A delete after the create: the marker no longer reaches the batch.
    v.Command3.click();
    EXPECT_EQ(v.start1.caption(), "close");
    EXPECT_EQ(readBytes(tool("close.bat")), designed("close.bat"));
    std::filesystem::remove(tool("start.bat"));
    v.Command2.click();
    EXPECT_NE(readBytes(tool("start.bat")).find("\r\nnetsh interface set interface name=\"Home:Net\""),
        std::string::npos);
    // Closing stops waiting for the jobs that never end.
    v.Label3.click();
    EXPECT_FALSE(runnerOpen());
}

TEST_F(HotspotTest, BadInputIsRefusedBeforeAnythingRuns)
{
    tools.on(kDevices, kTwoConnections);
    // Each row of hotspot_refusals.tsv: the name, the key, the connection chosen and the refusal.
    toolbox::tooldiao& w = scanned();
    for (const auto& r : testing_support::testRows("toolbox/hotspot_refusals.tsv")) {
        SCOPED_TRACE(r.name);
        w.ssid.setText(r[0]);
        w.mi.setText(r[1]);
        if (r[2] == "offline") {
            w.Combo1.addItem("已断网", 0);
            w.Combo1.setListIndex(0);
        }
        w.Command2.click();
        EXPECT_EQ(w.wfts.caption(), r[3]);
        EXPECT_FALSE(w.jk.enabled());
    }
    EXPECT_FALSE(platform::fileExists(tool("start.bat")));
    EXPECT_FALSE(platform::fileExists(tool("wan.db")));
    EXPECT_FALSE(platform::fileExists(tool("ics.vbs")));
    EXPECT_EQ(tools.calls().size(), 1u);
}

TEST_F(HotspotTest, UnusableScanOutputOffersOnlyOffline)
{
    const struct {
        const char* name;
        std::function<void(testing_support::FakeTools&)> setUp;
        const char* status;
    } rows[] = {
        { "garbage",
            [](auto& t) { t.on(kDevices, std::string("\x01\xff::::\n\n", 8) + std::string(100000, 'z')); },
            nullptr },
        { "ten megabytes", [](auto& t) { t.run(kDevices, "head -c 10485760 /dev/zero | tr '\\0' x"); },
            nullptr },
        { "nothing connected", [](auto& t) { t.on(kDevices, "wlan0:wifi:disconnected:\n"); }, nullptr },
        { "not running", [](auto& t) { t.on(kDevices, "", 8, "Error: NetworkManager is not running.\n"); },
            "NetworkManager没有运行" },
        { "absent", [](auto& t) { t.remove(); }, "没有找到NetworkManager的nmcli命令" },
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        testing_support::FakeTools fresh;
        r.setUp(fresh);
        toolbox::tooldiao& w = scanned();
        EXPECT_EQ(w.Combo1.items(), std::vector<std::string> { "已断网" });
        EXPECT_EQ(w.wfts.visible(), r.status != nullptr);
        if (r.status) {
            EXPECT_EQ(w.wfts.caption(), r.status);
        }
        w.Label3.click();
    }
}

TEST_F(HotspotTest, JobOutcomesDecideWhetherTheRunnerStays)
{
    tools.on(kDevices, kTwoConnections);
    tools.on("nmcli connection up*", "", 4,
        "Error: Connection activation failed: Not authorized to control networking.\n");
    tools.on("nmcli connection delete*", "", 10, "Error: unknown connection 'zelvina_wifi'.\n");
    toolbox::tooldiao& w = scanned();
    w.mi.setText("12345678");
    w.Command2.click();
    ASSERT_TRUE(until([&] { return !w.jk.enabled(); }));
    EXPECT_EQ(w.wfts.caption(),
        "WiFi没有建立：没有权限：需要“org.freedesktop.NetworkManager.network-"
        "control”授权（在本机登录的桌面里运行）（"
        "Connection activation failed: Not authorized to control networking.）");
    w.Command3.click();
    ASSERT_TRUE(until([&] { return !w.jk.enabled(); }));
    EXPECT_EQ(w.wfts.caption(), "没有找到本程序建立的WiFi");
    EXPECT_FALSE(platform::fileExists(tool("close.bat")));
    p.app.advance(10000);
    EXPECT_TRUE(runnerOpen());

    // A delete that works counts down and closes the runner without the DNS hint.
    testing_support::FakeTools working;
    working.on("nmcli connection delete zelvina_wifi", "");
    w.Command3.click();
    EXPECT_EQ(w.wfts.caption(), "正在关闭WiFi...");
    ASSERT_TRUE(until([&] { return !w.jk.enabled(); }));
    EXPECT_EQ(w.wfts.caption(), "WiFi删除成功，获取生效时间...");
    p.app.advance(6000);
    EXPECT_FALSE(runnerOpen());
    EXPECT_TRUE(p.dialogs->messages().empty());
}

TEST(InterfaceListTest, InterfaceLinesAreReadByTheirColumns)
{
    // Each row of interfaces.tsv: a line of the interface table, whether it counts as
    // connected, and the name read from it (none: no name).
    for (const auto& row : testing_support::testRows("toolbox/interfaces.tsv", true)) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(toolbox::connectedLines({ row[0] }).size(), row.at(1) == "1" ? 1u : 0u);
        std::string name;
        EXPECT_EQ(toolbox::interfaceName(row[0], name), row.size() > 2);
        EXPECT_EQ(name, row.size() > 2 ? row[2] : "");
    }
    EXPECT_EQ(toolbox::connectedLines({ platform::interfaceTableLine(true, "x") }).size(), 1u);
    EXPECT_TRUE(toolbox::connectedLines({ platform::interfaceTableLine(false, "x") }).empty());
}
