#include "gui/media_surface.h"

#include "gui/session.h"
#include "platform/media_remote.h"
#include "runtime/app.h"

#include <QContextMenuEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QShortcut>
#include <QSlider>
#include <QToolButton>
#include <QWheelEvent>

#include "gui/equalizer_window.h"
#include "gui/media_engine.h"
#include "gui/media_menu.h"
#include "runtime/media_controls.h"

namespace gui {

namespace {

constexpr double kSeekStep = 5;
constexpr int kVolumeStep = 5;

void paintBlack(QWidget* w)
{
    w->setAutoFillBackground(true);
    QPalette p = w->palette();
    p.setColor(QPalette::Window, Qt::black);
    w->setPalette(p);
}

} // namespace

MediaSurface::MediaSurface(Session& session, runtime::MediaPlayer& player, VideoSurface* video)
    : m_session(session)
    , m_player(&player)
    , m_video(video)
    , m_bar(new TransportBar(session, player, this))
{
    paintBlack(this);
    setFocusPolicy(Qt::ClickFocus);
    m_video->setParent(this);
    m_video->installEventFilter(this);
    m_video->setAcceptDrops(true);
    m_bar->onFullScreen = [this] { setFullScreen(!isFullScreen()); };
    m_space = new QShortcut(QKeySequence(Qt::Key_Space), this, [this] { playerKey(Qt::Key_Space); });
    m_space->setContext(Qt::WindowShortcut);
    m_barTimer.setSingleShot(true);
    m_barTimer.setInterval(kBarShownMs);
    connect(&m_barTimer, &QTimer::timeout, this, [this] { hideBar(); });
    placeParts();
}

MediaSurface::~MediaSurface()
{
    m_bar->detach();
    // The full-screen window holds the video and the bar; they go with the surface.
    if (m_window) {
        m_video->setParent(this);
        m_bar->setParent(this);
        m_window->removeEventFilter(this);
        m_window->hide();
    }
}

void MediaSurface::setFullScreen(bool on)
{
    if (!m_video || on == isFullScreen())
        return;
    m_space->setEnabled(!on);
    if (on) {
        // A new window each time: a widget that was full screen once keeps that state and is
        // shown framed at its old size the next time.
        QScreen* screen = window()->screen();
        m_window.reset(new QWidget(nullptr, Qt::Window));
        m_window->setObjectName(QStringLiteral("fullscreen"));
        m_window->setWindowTitle(window()->windowTitle());
        paintBlack(m_window.get());
        m_window->setMouseTracking(true);
        m_window->installEventFilter(this);
        m_video->setParent(m_window.get());
        m_video->setMouseTracking(true);
        m_bar->setParent(m_window.get());
        m_video->show();
        // Without a window manager nothing would size the window: it asks for the screen.
        if (screen)
            m_window->setGeometry(screen->geometry());
        m_window->showFullScreen();
        m_window->raise();
        m_window->activateWindow();
        m_window->setFocus();
        m_lastPointer = QCursor::pos();
        placeParts();
        showBarForAWhile();
        return;
    }
    m_barTimer.stop();
    const LaterPtr<QWidget> window = std::move(m_window);
    m_video->setParent(this);
    m_video->setMouseTracking(false);
    m_video->unsetCursor();
    m_bar->setParent(this);
    placeParts();
    m_video->show();
    m_bar->show();
    window->removeEventFilter(this);
    window->hide();
    this->window()->activateWindow();
    setFocus();
}

bool MediaSurface::dropSubtitles(QDropEvent* event, bool drop)
{
    // Only subtitle files on a playing medium; anything else goes to the player's window.
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile() && isSubtitleFile(url.toLocalFile()))
            files << url.toLocalFile();
    }
    if (!m_engine || !m_engine->active() || files.isEmpty()
        || files.size() != event->mimeData()->urls().size())
        return false;
    event->acceptProposedAction();
    if (drop) {
        for (const QString& file : files)
            m_engine->loadSubtitle(file);
    }
    return true;
}

void MediaSurface::openEqualizer()
{
    if (!m_player)
        return;
    if (!m_equalizer)
        m_equalizer = new EqualizerWindow(this, *m_bar, m_player->equalizer());
    m_equalizer->show();
    m_equalizer->raise();
    m_equalizer->activateWindow();
}

void MediaSurface::placeParts()
{
    if (m_window) {
        // The video covers the screen; the bar lies over its bottom edge.
        const QRect all = m_window->rect();
        if (m_video)
            m_video->setGeometry(all);
        m_bar->setGeometry(0, all.height() - TransportBar::kHeight, all.width(), TransportBar::kHeight);
        m_bar->raise();
        return;
    }
    const int barTop = std::max(0, height() - TransportBar::kHeight);
    m_bar->setGeometry(0, barTop, width(), TransportBar::kHeight);
    if (m_video)
        m_video->setGeometry(0, 0, width(), barTop);
}

void MediaSurface::showBarForAWhile()
{
    if (!m_window)
        return;
    m_bar->show();
    m_window->unsetCursor();
    m_video->unsetCursor();
    m_barTimer.start();
}

void MediaSurface::hideBar()
{
    // Not while the person drags one of its sliders.
    if (!m_window || m_bar->positionSlider()->isSliderDown() || m_bar->volumeSlider()->isSliderDown())
        return;
    m_bar->hide();
    m_window->setCursor(Qt::BlankCursor);
    m_video->setCursor(Qt::BlankCursor);
}

void MediaSurface::toggleDeskLyrics()
{
    m_session.run([this] {
        runtime::App& app = m_session.app();
        if (app.hasService<platform::MediaRemote>())
            app.service<platform::MediaRemote>().toggleDeskLyrics();
    });
}

bool MediaSurface::playerKey(int key)
{
    switch (key) {
    case Qt::Key_Space:
        m_bar->act([](auto& c) { c.playOrPause(); });
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
        m_bar->seekBy(key == Qt::Key_Left ? -kSeekStep : kSeekStep);
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        m_bar->changeVolume(key == Qt::Key_Up ? kVolumeStep : -kVolumeStep);
        return true;
    case Qt::Key_M:
        m_bar->muteButton()->click();
        return true;
    case Qt::Key_F:
        if (isFullScreen() || m_bar->fullScreenButton()->isEnabled())
            setFullScreen(!isFullScreen());
        return true;
    case Qt::Key_Escape:
        setFullScreen(false);
        return true;
    case Qt::Key_L:
        toggleDeskLyrics();
        return true;
    case Qt::Key_BracketLeft:
    case Qt::Key_BracketRight:
    case Qt::Key_Backspace: {
        const int direction = key == Qt::Key_BracketLeft ? -1 : 1;
        m_bar->act([key, direction](runtime::MediaPlayer& c) {
            c.setRate(key == Qt::Key_Backspace ? 1.0 : rateStep(c.rate(), direction));
        });
        return true;
    }
    default:
        return false;
    }
}

void MediaSurface::resizeEvent(QResizeEvent*)
{
    placeParts();
}

void MediaSurface::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier) || !playerKey(event->key()))
        QWidget::keyPressEvent(event);
}

bool MediaSurface::eventFilter(QObject* watched, QEvent* event)
{
    const bool onVideo = watched == m_video;
    const bool onWindow = m_window && watched == m_window.get();
    // Showing or hiding the bar makes Qt repeat the last position: only a real move counts.
    if (event->type() == QEvent::MouseMove && (onVideo || onWindow) && QCursor::pos() != m_lastPointer) {
        m_lastPointer = QCursor::pos();
        showBarForAWhile();
    }
    if (onVideo && videoEvent(event))
        return true;
    if (onWindow && windowEvent(event))
        return true;
    return QWidget::eventFilter(watched, event);
}

bool MediaSurface::videoEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonDblClick:
        if (isFullScreen() || m_bar->fullScreenButton()->isEnabled()) {
            setFullScreen(!isFullScreen());
            return true;
        }
        return false;
    case QEvent::MouseButtonPress: {
        // A line of a song's lyrics seeks the song there.
        auto* press = static_cast<QMouseEvent*>(event);
        return press->button() == Qt::LeftButton && m_video->clickLyric(press->position().toPoint());
    }
    case QEvent::ContextMenu:
        if (!m_player)
            return false;
        mediaMenu(
            this, *m_player, *m_bar, m_engine, [this] { openEqualizer(); }, [this] { toggleDeskLyrics(); })
            ->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return dropSubtitles(static_cast<QDropEvent*>(event), event->type() == QEvent::Drop);
    case QEvent::Wheel: {
        m_wheelRest += static_cast<QWheelEvent*>(event)->angleDelta().y();
        const int notches = m_wheelRest / 120;
        m_wheelRest -= notches * 120;
        if (notches != 0)
            m_bar->changeVolume(notches * kVolumeStep);
        return true;
    }
    default:
        return false;
    }
}

bool MediaSurface::windowEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        return !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && playerKey(key->key());
    }
    case QEvent::Resize:
        placeParts();
        return false;
    case QEvent::Close:
        // The window manager's close leaves full screen instead of losing the video.
        QMetaObject::invokeMethod(
            this, [this] { setFullScreen(false); }, Qt::QueuedConnection);
        event->ignore();
        return true;
    default:
        return false;
    }
}

} // namespace gui
