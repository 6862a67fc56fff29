#include "desklyrics/desk_lyrics_window.h"

#include <iterator>

#include "common/chrome.h"
#include "desklyrics/unlock_bar.h"
#include "runtime/app.h"

namespace desklyrics {

namespace {

// Colours as the controls take them (0x00BBGGRR).
constexpr int64_t rgb(int r, int g, int b)
{
    return r | (g << 8) | (b << 16);
}

// The sung colour of each scheme; the unsung text is white, outlined in near black.
constexpr int64_t kSung[kSchemes]
    = { rgb(0x30, 0xc8, 0xff), rgb(0xff, 0x40, 0x68), rgb(0x40, 0xe0, 0x70), rgb(0xff, 0xd2, 0x3c) };
constexpr int64_t kUnsung = geci::kHoverText;
constexpr int64_t kOutline = rgb(0x10, 0x10, 0x10);

// The bar's width (pixels) and its default place (twips).
constexpr int kWidth = 800;
constexpr int kDefaultLeft = 240 * runtime::kTwipsPerPixel;
constexpr int kDefaultTop = 800 * runtime::kTwipsPerPixel;
// How long the hover bar stays after the mouse was last over the window.
constexpr int kHoverMs = 2500;
// How often a locked bar looks where the pointer is: often enough to answer a resting
// pointer at once, seldom enough to cost nothing.
constexpr int kPointerPollMs = 200;

} // namespace

geci::geci(runtime::App& app)
    : runtime::Form(app, "geci")
{
    setCaption(kTitle);
    setScaleMode(runtime::ScaleMode::Pixels);
    setOwnChrome(true);
    setFloating(true);
    Frame1.move(0, 0, kWidth, kHoverHeight);
    Frame1.setBackColor(kHoverBack);
    Frame1.setVisible(false);
    int x = kWidth / 2 - 3 * 60 / 2;
    for (auto [button, caption] : { std::pair { &suo, kLock }, { &she, "设置" }, { &guan, "关闭" } }) {
        button->setContainer(&Frame1);
        button->move(x, 3, 56, kHoverHeight - 6);
        button->setCaption(button == &suo ? "锁定" : caption);
        button->setAlignment(runtime::AlignCenter);
        button->setForeColor(kUnsung);
        button->setBackStyle(runtime::Transparent);
        x += 60;
    }
    suo.setToolTipText(kLock);
    ci.setForeColor(kUnsung);
    ci.setOutlineColor(kOutline);
    ci.onMouseDown = [this](const runtime::MouseEvent& e) { ci_MouseDown(e); };
    ci.onMouseMove = [this](const runtime::MouseEvent& e) { ci_MouseMove(e); };
    ci.onMouseUp = [this](const runtime::MouseEvent& e) { ci_MouseUp(e); };
    suo.onClick = [this] { suo_Click(); };
    she.onClick = [this] { she_Click(); };
    guan.onClick = [this] { guan_Click(); };
    Timer1.onTimer = [this] { Timer1_Timer(); };
    Timer2.setInterval(kPointerPollMs);
    Timer2.onTimer = [this] { Timer2_Timer(); };
    suoding.onClick = [this] { suoding_Click(); };
    guanbi.onClick = [this] { guanbi_Click(); };
    for (int i = 0; i < static_cast<int>(std::size(kFontSizes)); ++i)
        sizeItem(i)->onClick = [this, i] { chooseSize(i); };
    for (int i = 0; i < kSchemes; ++i)
        schemeItem(i)->onClick = [this, i] { chooseScheme(i); };
}

void geci::load()
{
    m_settings = readSettings(app());
    move(m_settings.left >= 0 ? m_settings.left : kDefaultLeft,
        m_settings.top >= 0 ? m_settings.top : kDefaultTop);
    apply();
}

void geci::programEnding()
{
    keep();
}

runtime::Menu* geci::sizeItem(int size)
{
    runtime::Menu* items[] = { &zixiao, &zizhong, &zida };
    return size >= 0 && size < 3 ? items[size] : nullptr;
}

runtime::Menu* geci::schemeItem(int scheme)
{
    runtime::Menu* items[] = { &selan, &sehong, &selv, &sejin };
    return scheme >= 0 && scheme < kSchemes ? items[scheme] : nullptr;
}

void geci::apply()
{
    const int font = kFontSizes[m_settings.size];
    // Two lines with room for their outline, under the hover bar's strip.
    const int lines = font * 3;
    setWidth(kWidth * runtime::kTwipsPerPixel);
    setHeight((kHoverHeight + lines) * runtime::kTwipsPerPixel);
    ci.move(0, kHoverHeight, kWidth, lines);
    ci.setFontSize(font * 3 / 4.0);
    ci.setFontBold(true);
    ci.setFillColor(kSung[m_settings.scheme]);
    for (int i = 0; i < static_cast<int>(std::size(kFontSizes)); ++i)
        sizeItem(i)->setChecked(i == m_settings.size);
    for (int i = 0; i < kSchemes; ++i)
        schemeItem(i)->setChecked(i == m_settings.scheme);
    suoding.setCaption(m_settings.locked ? kUnlock : kLock);
    setClickThrough(m_settings.locked);
    if (m_settings.locked)
        Frame1.setVisible(false);
    followPointer();
}

void geci::toggle()
{
    m_settings.shown = !visible();
    if (m_settings.shown)
        show();
    else
        hide();
    followPointer();
    keep();
}

void geci::setLocked(bool locked)
{
    m_settings.locked = locked;
    apply();
    keep();
}

void geci::chooseSize(int size)
{
    m_settings.size = size;
    apply();
    keep();
}

void geci::chooseScheme(int scheme)
{
    m_settings.scheme = scheme;
    apply();
    keep();
}

void geci::showHoverBar()
{
    if (m_settings.locked)
        return;
    Frame1.setVisible(true);
    Timer1.setEnabled(false);
    Timer1.start(kHoverMs);
}

void geci::keep()
{
    m_settings.left = left();
    m_settings.top = top();
    writeSettings(app(), m_settings);
}

void geci::ci_MouseDown(const runtime::MouseEvent& e)
{
    if (e.button == runtime::LeftButton)
        common::chrome::beginDrag(*this, e);
    else if (e.button == runtime::RightButton)
        popupMenu(caidan);
}

void geci::ci_MouseMove(const runtime::MouseEvent& e)
{
    showHoverBar();
    common::chrome::dragMove(*this, e);
}

void geci::ci_MouseUp(const runtime::MouseEvent&)
{
    if (!drag.dragging)
        return;
    common::chrome::endDrag(*this);
    keep();
}

void geci::suo_Click()
{
    setLocked(true);
}

void geci::she_Click()
{
    popupMenu(caidan);
}

void geci::guan_Click()
{
    if (visible())
        toggle();
}

void geci::Timer1_Timer()
{
    Timer1.setEnabled(false);
    Frame1.setVisible(false);
}

void geci::followPointer()
{
    const bool polling = m_settings.locked && visible();
    Timer2.setEnabled(polling);
    if (!polling)
        hideUnlockBar();
}

void geci::hideUnlockBar()
{
    if (jiesuolan* bar = app().find<jiesuolan>(); bar && bar->visible())
        bar->hide();
}

void geci::Timer2_Timer()
{
    const std::optional<runtime::Host::ScreenPlace> at = app().host().pointerPlace();
    const bool over
        = at && at->x >= left() && at->x < left() + width() && at->y >= top() && at->y < top() + height();
    if (!over) {
        hideUnlockBar();
        return;
    }
    jiesuolan& bar = app().get<jiesuolan>();
    bar.placeOver(left(), top(), width());
    if (!bar.visible())
        bar.show();
}

void geci::suoding_Click()
{
    setLocked(!m_settings.locked);
}

void geci::guanbi_Click()
{
    guan_Click();
}

void restoreDeskLyrics(runtime::App& app)
{
    if (readSettings(app).shown) {
        geci& bar = app.get<geci>();
        bar.show();
        bar.followPointer();
    }
}

} // namespace desklyrics
