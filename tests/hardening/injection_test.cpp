// Every text a person or a web page controls, tried with hostile values at each place where
// it lands in a generated page, address or file name: the bytes that land are checked.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/config.h"
#include "platform/posix/curl_network.h"
#include "player/page_templates.h"
#include "player/player_window.h"
#include "runtime/vbtext.h"
#include "support/test_program.h"
#include "toolbox/runner_window.h"
#include "toolbox/tool_files.h"
#include "video/download_folder.h"
#include "video/harvest_copy.h"
#include "video/resolve_page.h"
#include "video/search_window.h"
#include "video/web_play_window.h"

namespace {

using testing_support::TestProgram;

// One too long for any field, and those of tests/data/hardening/hostile_values.txt.
std::vector<std::string> hostileValues()
{
    std::vector<std::string> values { std::string(100000, 'A') + "\"<>" };
    for (const auto& row : testing_support::testRows("hardening/hostile_values.txt", true))
        values.push_back(row.at(0));
    return values;
}

// Where a value lands, which decides what its bytes may hold.
enum class Sink {
    // Inside a generated HTML page: the page's markup is that of a harmless value.
    Page,
    // Inside an address: the part the value became holds no byte that ends or splits it.
    Address,
    // A single file name in a known folder.
    FileName,
    // An address as it goes on the wire: no blank, control or non-ASCII byte (or refused).
    Wire,
    // A line of a generated batch script: the script's syntax is that of a harmless value.
    Script,
};

struct Row {
    const char* feeds;
    const char* landsIn;
    Sink sink;
    std::function<std::string(TestProgram&, const std::string&)> land;
    // Why the window refuses the value (empty when it takes it); none when nothing refuses.
    std::function<std::string(const std::string&)> refusal = nullptr;
};

// The characters of text that are syntax, in order: markup of a page, or what a batch
// script interprets.
std::string syntax(const std::string& text, std::string_view characters)
{
    std::string out;
    for (const char c : text) {
        if (characters.find(c) != std::string_view::npos)
            out += c;
    }
    return out;
}

// The part of after that differs from before (one place of insertion).
std::string inserted(const std::string& before, const std::string& after)
{
    size_t head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head])
        ++head;
    size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head
        && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    return after.substr(head, after.size() - head - tail);
}

void checkLanded(const Row& row, TestProgram& p, const std::string& value)
{
    const std::string label
        = std::string(row.feeds) + " -> " + row.landsIn + " with \"" + vb::Left(value, 40) + "\"";
    if (row.refusal) {
        if (const std::string why = row.refusal(value); !why.empty())
            return; // refused with a text the window shows
    }
    const std::string harmless = row.land(p, "harmless");
    const std::string landed = row.land(p, value);
    ASSERT_NE(landed, harmless) << label << ": the value does not land";
    switch (row.sink) {
    case Sink::Page:
        EXPECT_EQ(syntax(landed, "\"'<>"), syntax(harmless, "\"'<>")) << label;
        break;
    case Sink::Address: {
        const std::string part = inserted(harmless, landed);
        for (const char c : part) {
            const auto u = static_cast<unsigned char>(c);
            ASSERT_TRUE(u > 0x20 && u != 0x7F && std::string_view("\"#&<>").find(c) == std::string_view::npos)
                << label << ": byte " << int(u) << " lands raw";
        }
        break;
    }
    case Sink::FileName:
        EXPECT_FALSE(landed.empty()) << label;
        EXPECT_NE(landed.front(), '.') << label;
        EXPECT_LE(landed.size(), 255u) << label;
        EXPECT_EQ(landed.find_first_of(std::string("/\\\r\n\0", 5)), std::string::npos) << label;
        EXPECT_EQ(vb::toUtf8(vb::toUtf16(landed)), landed) << label << ": not UTF-8";
        break;
    case Sink::Wire:
        for (const char c : landed) {
            const auto u = static_cast<unsigned char>(c);
            ASSERT_TRUE(u > 0x20 && u < 0x7F) << label << ": byte " << int(u) << " goes on the wire";
        }
        break;
    case Sink::Script:
        EXPECT_EQ(syntax(landed, "\"%&|<>^\r\n"), syntax(harmless, "\"%&|<>^\r\n")) << label;
        break;
    }
}

// "start.bat" as the hotspot writes it, one line per print; the comments that stand for a
// value left out are not syntax.
std::string startBat(const std::string& ssid, const std::string& key, const std::string& connection)
{
    std::string out;
    for (const std::string& line :
        toolbox::startBatPrints("stop \"", "", "\"", ssid, key, "\" new=\"", "\"", connection)) {
        if (line.rfind("rem ", 0) != 0)
            out += line + "\r\n";
    }
    return out;
}

const std::vector<Row>& rows()
{
    static const std::vector<Row> table = {
        { "scraped video name", "download file name", Sink::FileName,
            [](TestProgram&, const std::string& v) { return video::safeFileName(v) + ".flv"; } },
        { "harvested song name", "copy's file name", Sink::FileName,
            [](TestProgram& p, const std::string& v) {
                return video::HarvestCopier(p.profilePath("harvest"))
                    .nameFor({ 1, "http://x/a.mp3", ".mp3", v, -1, -1, {} });
            } },
        { "channel and service addresses (Config)", "request address", Sink::Wire,
            [](TestProgram& p, const std::string& v) {
                p.config->set("channel.1", "http://127.0.0.1/" + v);
                return platform::normalizeWebAddress(p.config->get("channel.1"));
            } },
        { "scraped addresses", "preview page", Sink::Page,
            [](TestProgram&, const std::string& v) {
                return video::previewPage("<a href=\"", v, "\">x</a><a href=\"", v, "\">y</a>");
            } },
        { "typed page address", "parsing service query", Sink::Address,
            [](TestProgram& p, const std::string& v) {
                return video::parseServiceQuery(*p.config, v, true);
            } },
        { "search words", "site search address", Sink::Address,
            [](TestProgram& p, const std::string& v) {
                return p.app.get<video::search>().queryAddress("tudou", v);
            } },
        { "seed link / dropped file", "QVOD player page", Sink::Page,
            [](TestProgram& p, const std::string& v) {
                return player::pages::withUrlParameter(p.app.get<player::Form5>().qvod.text(), v);
            } },
        { "dropped file", "flash player page", Sink::Page,
            [](TestProgram& p, const std::string& v) {
                return player::pages::flashPage(p.app.get<player::Form5>().zelv.text(), "/tmp/zelv", v);
            } },
        { "stream address", "web play window's page", Sink::Page,
            [](TestProgram& p, const std::string& v) {
                video::play& w = p.app.get<video::play>();
                return w.playerPage(w.bdyy1, w.bdyy2, v);
            } },
        { "maker site (Config)", "player page templates", Sink::Page,
            [](TestProgram&, const std::string& v) { return player::pages::loadTemplate("qvod", v); } },
        { "network name", "start.bat", Sink::Script,
            [](TestProgram&, const std::string& v) { return startBat(v, "goodkey123", "eth0"); },
            [](const std::string& v) { return toolbox::hotspotRefusal(v, "goodkey123", "eth0"); } },
        { "network key", "start.bat", Sink::Script,
            [](TestProgram&, const std::string& v) { return startBat("zelvora", v, "eth0"); },
            [](const std::string& v) { return toolbox::hotspotRefusal("zelvora", v, "eth0"); } },
        { "connection name", "start.bat", Sink::Script,
            [](TestProgram&, const std::string& v) { return startBat("zelvora", "goodkey123", v); },
            [](const std::string& v) { return toolbox::hotspotRefusal("zelvora", "goodkey123", v); } },
        { "QQ number", "chat address", Sink::Address,
            [](TestProgram& p, const std::string& v) {
                toolbox::tooldiao& w = p.app.get<toolbox::tooldiao>();
                w.Text1.setText(v);
                w.Command1.click();
                return w.WebBrowser1.location();
            } },
    };
    return table;
}

TEST(Injection, HostileTextLandsNeutralised)
{
    TestProgram p;
    p.start();
    for (const Row& row : rows()) {
        for (const std::string& value : hostileValues())
            checkLanded(row, p, value);
    }
}

} // namespace
