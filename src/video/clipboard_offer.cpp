#include "video/clipboard_offer.h"

#include "downloads/list_window.h"
#include "platform/clipboard.h"
#include "platform/config.h"
#include "platform/headless_url.h"
#include "platform/notices.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"
#include "shell/hub_window.h"
#include "video/resolve_page.h"
#include "video/video_window.h"

namespace video {

namespace {

constexpr int kLookMs = 1000;

// Shows the video window with the address in its box, ready for the person to resolve.
void offerInVideoWindow(runtime::App& app, const std::string& address)
{
    shell::moban& hub = app.get<shell::moban>();
    hub.show();
    hub.selectTileFromTray(shell::kTileVideo);
    Form2& resolver = app.get<Form2>();
    resolver.Text3.setText(address);
    resolver.Command9.setEnabled(true);
}

} // namespace

jiantie::jiantie(runtime::App& app)
    : runtime::Form(app, "jiantie")
{
    Timer1.setInterval(kLookMs);
    Timer1.onTimer = [this] { Timer1_Timer(); };
}

void jiantie::load()
{
    // What the clipboard held before the offer was turned on is not offered.
    m_seen = app().service<platform::Clipboard>().text();
}

void jiantie::Timer1_Timer()
{
    runtime::App& a = app();
    const std::string text = a.service<platform::Clipboard>().text();
    if (text == m_seen)
        return;
    m_seen = text;
    const std::string address = vb::Trim(text);
    if (!platform::isWebAddress(address) || address.size() > 2000
        || address.find_first_of(" \r\n\t") != std::string::npos || address == m_offered
        || !siteSupported(a.service<platform::Config>(), address) || !a.hasService<platform::Notices>())
        return;
    // The same address copied again is not offered again.
    m_offered = address;
    a.service<platform::Notices>().show({ .title = kOfferNotice, .text = address, .onClick = [&a, address] {
                                             offerInVideoWindow(a, address);
                                         } });
}

void watchClipboard(runtime::App& app)
{
    const bool on = downloads::hasDownloadList(app) && downloads::downloadQueue(app).settings().offerCopied;
    if (on)
        app.get<jiantie>().Timer1.setEnabled(true);
    else if (jiantie* watcher = app.find<jiantie>())
        watcher->Timer1.setEnabled(false);
}

void setClipboardOffer(runtime::App& app, bool on)
{
    downloads::DownloadQueue& queue = downloads::downloadQueue(app);
    downloads::QueueSettings settings = queue.settings();
    settings.offerCopied = on;
    queue.setSettings(settings);
    watchClipboard(app);
}

} // namespace video
