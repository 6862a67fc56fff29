#pragma once
// The video windows against the loopback server: the parsing service, the probe and the
// first supported site all point at it, and the browsers load their pages from it.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/codec.h"
#include "platform/headless_browser.h"
#include "platform/network.h"
#include "platform/posix/curl_network.h"
#include "support/fixture_server.h"
#include "support/network_fixture.h"
#include "support/test_program.h"
#include "video/download_folder.h"
#include "video/split_window.h"
#include "video/video_window.h"

namespace video_testing {

// A result page of the parsing service laid out the way the window reads it: the name
// after "</strong>&nbsp;", the address after "下载地址：<b><a href=\"" up to "false;", and
// the high-definition mark after "<B>高清版本：".
inline std::string resultPage(const std::string& title, const std::string& address, const std::string& mark)
{
    return "<html><head><meta charset=\"gb2312\"></head><body><strong>当前解析视频：</strong>&nbsp;" + title
        + "<strong>（请用右键“目标另存为”）</strong><br>下载地址：<b><a href=\"" + address
        + "\" target=_blank>下载</a></b><br><B>高清版本：" + mark + "</B></body></html>";
}

class VideoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        p.config->set("probe", server.url("/"));
        p.config->set("parse_service", server.url(""));
        // Every loopback page address is on a supported site.
        p.config->set("site.1", "127.0.0.1:" + std::to_string(server.port()));
        // The designed resolving alone: the tests of today's sites name the real yt-dlp.
        p.config->set("ytdlp", "zelvora-test-no-ytdlp");
        p.app.provide<platform::Network>(net);
        p.app.setBrowserFactory(platform::headlessBrowserFactory(p.app, net, "GBK"));
        p.start();
        p.app.advance(1);
    }
    video::Form2& w() { return p.app.get<video::Form2>(); }
    // The page of a video on the loopback site.
    std::string pageAddress(const std::string& name = "play/1.html") const { return server.url("/" + name); }
    // The parsing service's answer for an address, as GB2312 bytes.
    void serveResult(const std::string& address, const std::string& page, bool highDefinition = false)
    {
        const std::string query
            = "/parse.php?format=&kw=" + address + (highDefinition ? "&flag=one&format=real" : "");
        server.addPage(query, platform::encode(page, "GBK"), "text/html; charset=gb2312");
    }
    // Types an address into the box as a user does and presses the resolve button.
    void resolve(const std::string& address)
    {
        w().Text3.click();
        w().Text3.setText(address);
        w().Command9.click();
    }
    void settle() { ASSERT_TRUE(platform::settleHeadlessBrowsers(p.app, 5000)); }
    std::string downloaded(const std::string& file) const
    {
        return platform::joinPath(
            p.env->desktopFolder(), std::string(video::kDownloadFolderName) + "/" + file);
    }

    testing_support::FixtureServer server;
    testing_support::TestProgram p;
    std::shared_ptr<platform::CurlNetwork> net
        = std::make_shared<platform::CurlNetwork>(network_testing::quickOptions());
};

} // namespace video_testing
