#include "music/page_store.h"

#include "platform/config.h"
#include "player/player_window.h"
#include "resources/resources.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"
#include "shell/page_text.h"
#include "shell/skin.h"

namespace zelvora {

namespace {

// Where a service's page text comes from: the page resource and the player address key
// are both named after the service in lower case.
struct StoredPage {
    rt::Label music::*label;
    const char* service;
};

constexpr StoredPage kStoredPages[] = {
    {&music::kugou, "kugou"},
    {&music::kuwo, "kuwo"},
    {&music::xiami, "xiami"},
    {&music::yyt, "yyt"},
    {&music::jiuku, "jiuku"},
    {&music::duomi, "duomi"},
    {&music::baidu, "baidu"},
    {&music::sougou, "sougou"},
    {&music::QQ, "qq"},
    {&music::douban, "douban"},
    {&music::wangyi, "wangyi"},
    {&music::beiwa, "beiwa"},
};

const char* const kPlayerSlot = "{player}";

}  // namespace

std::string servicePage(const std::string& service, const std::string& playerAddress)
{
    const std::string_view page = resources::get("music/" + service + ".htm");
    return vb::Replace(pages::withCrLf(page), kPlayerSlot, pages::escapeAttribute(playerAddress));
}

music::music(rt::App& app)
    : rt::Form(app, "music")
{
    setCaption("Zelvnet音乐盒");
    setOwnChrome(true);
    setWidth(6000);
    setHeight(4200);
    const auto& config = app.service<platform::Config>();
    for (const StoredPage& p : kStoredPages) {
        rt::Label& label = this->*p.label;
        label.setCaption(servicePage(p.service, config.get(std::string("music.") + p.service)));
        label.setVisible(false);
    }
    Label3.setCaption("×");
    Label4.setCaption("Zelvnet音乐盒");
    onMouseMove = [this](const rt::MouseEvent& e) { Form_MouseMove(e); };
}

void music::load()
{
    // Centred over the player window, which this loads (hidden) when it is not loaded yet.
    const Form5& player = app().get<Form5>();
    move(player.left() + player.width() / 2 - width() / 2, player.top() + player.height() / 2 - height() / 2);
    // A reduced skin straight from the tray window's cache: colour or picture, nothing else.
    const SkinLines s = skinLines(app());
    if (s.mode == kModePlain)
        setBackColor(colourValue(s.colour));
    else if (s.mode == kModePicture)
        setPicture(rt::loadPicture(s.picture));
}

void music::Form_MouseMove(const rt::MouseEvent&)
{
    Label3.setBackStyle(rt::Transparent);
    Label4.setBackStyle(rt::Transparent);
}

}  // namespace zelvora
