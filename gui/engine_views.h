#pragma once
// Views of the controls whose content comes from an engine: the web browser's page area and
// the media player's video area.
#include <QPointer>
#include <QWidget>

#include "gui/control_view.h"

namespace runtime {
class WebBrowser;
class MediaPlayer;
} // namespace runtime

namespace gui {

// An area that shows a widget owned by the control's engine (a page, a video) once the
// engine has one, filling the control's rectangle; blank in the given colour until then.
class EngineAreaView : public QWidget, public ControlView {
public:
    EngineAreaView(Session& session, runtime::Control& control, QWidget* parent, QColor blank);
    ~EngineAreaView() override;
    QWidget* widget() override { return this; }
    [[nodiscard]] Layer layer() const override { return Layer::Engine; }
    void detach() override;
    // The engine's widget shown now, or nullptr.
    [[nodiscard]] QWidget* hosted() const { return m_hosted; }

protected:
    // The engine's widget, or nullptr while there is none (must not create an engine).
    virtual QWidget* engineWidget(runtime::Control& control) = 0;
    void syncKind(runtime::Control& control) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void giveBack();

    QPointer<QWidget> m_hosted;
    QPointer<QObject> m_hostedRelay;
};

// A web browser's page area.
class BrowserView : public EngineAreaView {
public:
    BrowserView(Session& session, runtime::WebBrowser& browser, QWidget* parent);
    // The window is on screen: a page read while it was hidden is now shown.
    void windowShown();

protected:
    QWidget* engineWidget(runtime::Control& control) override;
};

// A media player's video area; the mouse over the video reaches the control.
class MediaView : public EngineAreaView {
public:
    MediaView(Session& session, runtime::MediaPlayer& player, QWidget* parent);
    [[nodiscard]] Layer layer() const override { return Layer::Video; }

protected:
    QWidget* engineWidget(runtime::Control& control) override;
};

} // namespace gui
