#include "music/page_store.h"

#include "common/page_text.h"
#include "common/skin.h"
#include "platform/config.h"
#include "player/player_window.h"
#include "resources/resources.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"

namespace music {

namespace {

// Where a service's page text comes from: the player address key is named after the
// service in lower case; the page is the shared layout (or the service's own page).
struct StoredPage {
    runtime::Label music::*label;
    const char* service;
};

constexpr StoredPage kStoredPages[] = {
    { &music::kugou, "kugou" },
    { &music::kuwo, "kuwo" },
    { &music::xiami, "xiami" },
    { &music::yyt, "yyt" },
    { &music::jiuku, "jiuku" },
    { &music::duomi, "duomi" },
    { &music::baidu, "baidu" },
    { &music::sougou, "sougou" },
    { &music::QQ, "qq" },
    { &music::douban, "douban" },
    { &music::wangyi, "wangyi" },
    { &music::beiwa, "beiwa" },
};

// The services whose pages share one layout: the title word, the frame's size and its
// negative top margin (none when empty).
struct SharedLayoutPage {
    const char* service;
    const char* titleWord;
    int width;
    int height;
    const char* topOffset;
};

constexpr SharedLayoutPage kSharedLayoutPages[] = {
    { "kugou", "酷狗音乐", 750, 520, "" },
    { "kuwo", "酷我音乐", 750, 520, "" },
    { "xiami", "虾米音乐", 750, 520, "" },
    { "jiuku", "九酷", 750, 520, "" },
    { "duomi", "多米音乐", 750, 520, "" },
    { "baidu", "百度音乐", 740, 550, "-30px" },
    { "sougou", "搜狗", 630, 540, "-60px" },
    { "qq", "QQ", 750, 520, "" },
    { "douban", "豆瓣FM", 750, 520, "" },
    { "wangyi", "网易音乐", 620, 600, "-100px" },
    { "beiwa", "贝瓦电台", 750, 520, "" },
};

const char* const kPlayerSlot = "{player}";
// Only the kugou page starts with a document type line.
const char* const kDocumentType = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n";

// The page text of a service before its player address goes in; empty for an unknown one.
std::string pageText(const std::string& service)
{
    for (const SharedLayoutPage& p : kSharedLayoutPages) {
        if (service != p.service)
            continue;
        std::string frame
            = "width=\"" + std::to_string(p.width) + "\" height=\"" + std::to_string(p.height) + "\"";
        if (*p.topOffset)
            frame += std::string(" style=\"MARGIN-TOP: ") + p.topOffset + "\"";
        std::string page(resources::get("music/shared_layout.htm"));
        page = vb::Replace(page, "{doctype}", service == "kugou" ? kDocumentType : "");
        page = vb::Replace(page, "{title}", p.titleWord);
        return vb::Replace(page, "{frame}", frame);
    }
    return std::string(resources::get("music/" + service + ".htm"));
}

} // namespace

std::string servicePage(const std::string& service, const std::string& playerAddress)
{
    const std::string page = pageText(service);
    return vb::Replace(
        common::pages::withCrLf(page), kPlayerSlot, common::pages::escapeAttribute(playerAddress));
}

music::music(runtime::App& app)
    : runtime::Form(app, "music")
{
    setCaption("Zelvnet音乐盒");
    setOwnChrome(true);
    setWidth(6000);
    setHeight(4200);
    const auto& config = app.service<platform::Config>();
    for (const StoredPage& p : kStoredPages) {
        runtime::Label& label = this->*p.label;
        label.setCaption(servicePage(p.service, config.get(std::string("music.") + p.service)));
        label.setVisible(false);
    }
    Label3.setCaption("×");
    Label4.setCaption("Zelvnet音乐盒");
    onMouseMove = [this](const runtime::MouseEvent& e) { Form_MouseMove(e); };
}

void music::load()
{
    // Centred over the player window, which this loads (hidden) when it is not loaded yet.
    const player::Form5& player = app().get<player::Form5>();
    move(player.left() + player.width() / 2 - width() / 2, player.top() + player.height() / 2 - height() / 2);
    // A reduced skin straight from the tray window's cache: colour or picture, nothing else.
    const common::SkinLines s = common::skinLines(app());
    if (s.mode == common::kModePlain)
        setBackColor(common::colourValue(s.colour));
    else if (s.mode == common::kModePicture)
        setPicture(runtime::loadPicture(s.picture));
}

void music::Form_MouseMove(const runtime::MouseEvent&)
{
    Label3.setBackStyle(runtime::Transparent);
    Label4.setBackStyle(runtime::Transparent);
}

} // namespace music
