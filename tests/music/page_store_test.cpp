#include <gtest/gtest.h>

#include "music/page_store.h"
#include "player/player_window.h"
#include "support/test_program.h"
#include "traymenu/tray_window.h"

using testing_support::TestProgram;
using testing_support::writeBytes;

namespace {

struct PageRow {
    const char* label;
    const char* key;
    const char* title;
    int width;
    int height;
    const char* offset;
};

const PageRow kPages[] = {
    { "kugou", "kugou", "酷狗音乐", 750, 520, nullptr },
    { "kuwo", "kuwo", "酷我音乐", 750, 520, nullptr },
    { "xiami", "xiami", "虾米音乐", 750, 520, nullptr },
    { "jiuku", "jiuku", "九酷", 750, 520, nullptr },
    { "duomi", "duomi", "多米音乐", 750, 520, nullptr },
    { "baidu", "baidu", "百度音乐", 740, 550, "-30px" },
    { "sougou", "sougou", "搜狗", 630, 540, "-60px" },
    { "QQ", "qq", "QQ", 750, 520, nullptr },
    { "douban", "douban", "豆瓣FM", 750, 520, nullptr },
    { "wangyi", "wangyi", "网易音乐", 620, 600, "-100px" },
    { "beiwa", "beiwa", "贝瓦电台", 750, 520, nullptr },
};

std::string crlf(const std::vector<std::string>& lines)
{
    std::string out;
    for (const std::string& l : lines)
        out += l + "\r\n";
    return out;
}

std::string sharedLayout(const PageRow& r, const std::string& src)
{
    std::vector<std::string> lines;
    if (std::string(r.label) == "kugou")
        lines.push_back("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">");
    const std::string style = r.offset ? std::string(" style=\"MARGIN-TOP: ") + r.offset + "\"" : "";
    const std::vector<std::string> rest = { "<html>", "<head>",
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">",
        std::string("<title>Zelvnet音乐盒之") + r.title + "</title>", "<base target=\"_blank\">",
        "<style type=\"text/css\">", "body {", "\tmargin-left: 0px;", "\tmargin-top: 0px;",
        "\tmargin-right: 0px;", "\tmargin-bottom: 0px;", "}", "</style>", "</head>",
        "<body id=\"news_body\" oncontextmenu=\"return false;\" onselectstart=\"return false\" "
        "ondragstart=\"return false\" onkeydown=\"if(event.keyCode==78 && event.ctrlKey) return false;\">",
        "<noscript><iframe src=\"*.htm\"></iframe></noscript>", "<table width=\"100%\" border=\"0\">",
        "  <tr>",
        "    <td align=\"center\" bgcolor=\"#F9F9F9\"><iframe src=\"" + src + "\" width=\""
            + std::to_string(r.width) + "\" height=\"" + std::to_string(r.height) + "\"" + style
            + " marginwidth=\"0\" marginheight=\"0\" hspace=\"0\" vspace=\"0\" frameborder=\"0\" "
              "scrolling=\"no\"></iframe></td>",
        "  </tr>", "</table>", "</body>", "</html>" };
    lines.insert(lines.end(), rest.begin(), rest.end());
    return crlf(lines);
}

std::string yytLayout(const std::string& src)
{
    return crlf({ "<html>", "<head>", "<title>Zelvnet音乐盒之音悦台TV</title>",
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">",
        "<style type=\"text/css\">", "<!--", "body {", "\tbackground-color: #000000;", "}", "-->", "</style>",
        "</head>", "<body>",
        "<center><iframe src=\"" + src
            + "\" height=\"450\" width=\"800\" style=\"MARGIN-TOP: -0px\" marginwidth=\"0\" "
              "marginheight=\"0\" "
              "hspace=\"0\" vspace=\"0\" frameborder=\"0\" scrolling=\"no\"></iframe></center>",
        "</body>", "</html>" });
}

std::string caption(runtime::Form& store, const char* label)
{
    runtime::Control* c = store.control(label);
    return c ? c->caption() : "(no label " + std::string(label) + ")";
}

} // namespace

TEST(ServicePages, EveryPageHasItsLayoutWithTheConfiguredPlayerAddress)
{
    TestProgram p;
    p.start();
    // Addresses with query strings and quotes must stay inside the src attribute.
    for (const PageRow& r : kPages)
        p.config->set(
            std::string("music.") + r.key, std::string("http://127.0.0.1:9/") + r.key + "?a=1&b=\"2\"");
    p.config->set("music.yyt", "http://127.0.0.1:9/yyt<tv>");
    music::music& store = p.app.get<music::music>();
    for (const PageRow& r : kPages) {
        SCOPED_TRACE(r.label);
        const std::string src = std::string("http://127.0.0.1:9/") + r.key + "?a=1&amp;b=&quot;2&quot;";
        EXPECT_EQ(caption(store, r.label), sharedLayout(r, src));
    }
    EXPECT_EQ(caption(store, "yyt"), yytLayout("http://127.0.0.1:9/yyt&lt;tv&gt;"));
    EXPECT_EQ(music::servicePage("nosuchservice", "https://x/"), "");
}

TEST(PageStore, LoadOpensThePlayerAndWearsTheCachedSkin)
{
    // backColor -1: the window keeps its designed colour (not the saved one).
    struct Row {
        const char* name;
        std::string iniDb;
        int64_t backColor;
        bool picture;
    };
    const Row rows[] = {
        { "plain", "255\r\nx\r\nchun\r\n", 255, false },
        { "picture", "255\r\n{gif}\r\ntu + chun\r\n", -1, true },
        { "unknown mode", "255\r\n{gif}\r\nzzz\r\n", -1, false },
        { "damaged colour", "red\r\nx\r\nchun\r\n", 11599360, false },
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TestProgram p;
        const std::string gif = p.dir.file("back.gif");
        writeBytes(gif, std::string("GIF89a\x02\x00\x03\x00", 10));
        std::string ini = r.iniDb;
        if (const auto at = ini.find("{gif}"); at != std::string::npos)
            ini.replace(at, 5, gif);
        writeBytes(p.dataFile("skin/ini.db"), ini);
        p.start();
        ASSERT_FALSE(p.app.isLoaded<music::music>());
        music::music& store = p.app.get<music::music>();
        ASSERT_TRUE(p.app.isLoaded<player::Form5>());
        EXPECT_FALSE(store.visible());
        if (r.backColor >= 0) {
            EXPECT_EQ(store.backColor(), r.backColor);
        } else {
            EXPECT_NE(store.backColor(), 255);
        }
        EXPECT_EQ(store.picture().empty(), !r.picture);
        if (r.picture) {
            EXPECT_EQ(store.picture().source, gif);
        }
    }
}

TEST(PageStore, HoverMakesTheTitleLabelsTransparent)
{
    TestProgram p;
    p.start();
    music::music& store = p.app.get<music::music>();
    store.Label3.setBackStyle(runtime::Opaque);
    store.Label4.setBackStyle(runtime::Opaque);
    store.mouseMove({ runtime::NoButton, 0, 10, 10 });
    EXPECT_EQ(store.Label3.backStyle(), runtime::Transparent);
    EXPECT_EQ(store.Label4.backStyle(), runtime::Transparent);
}
