#pragma once
// Views of the controls drawn on the window itself: labels, pictures and frames.
#include <QWidget>

#include "gui/control_view.h"

namespace runtime {
class PictureBox;
}

namespace gui {

// A caption with the label's font, colours, alignment, back style and border.
class LabelView : public QWidget, public ControlView {
public:
    LabelView(Session& session, runtime::Control& label, QWidget* parent);
    QWidget* widget() override { return this; }
    [[nodiscard]] Layer layer() const override { return Layer::Graphic; }

protected:
    void syncKind(runtime::Control& control) override;
    void paintEvent(QPaintEvent* event) override;
};

// A picture box (a filled, possibly bordered container) or an image (a bare picture).
class PictureView : public QWidget, public ControlView {
public:
    PictureView(Session& session, runtime::PictureBox& picture, QWidget* parent);
    QWidget* widget() override { return this; }
    [[nodiscard]] Layer layer() const override;

protected:
    void syncKind(runtime::Control& control) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_image;
};

// A frame: a filled container with a caption in its border.
class FrameView : public QWidget, public ControlView {
public:
    FrameView(Session& session, runtime::Control& frame, QWidget* parent);
    QWidget* widget() override { return this; }

protected:
    void syncKind(runtime::Control& control) override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace gui
