#pragma once
// A window: its controls, geometry, look and the state the front end renders.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/control.h"
#include "runtime/picture.h"

namespace runtime {

class App;
class Menu;

// The units of a window's inner coordinates. Whole-window geometry is always in twips.
enum class ScaleMode { Twips, Pixels };

constexpr int kTwipsPerPixel = 15;

// The states of a whole window, numbered as the console and the property text show them.
enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };

// Mouse-drag state of a window that is moved by dragging its background.
struct DragState {
    bool dragging = false;
    int grabX = 0;
    int grabY = 0;
};

// A picture stretched over the window: the whole picture drawn at (0, 0) with this size in
// pixels. What a window paints with PaintPicture at load or in its skin timer.
struct PaintedPicture {
    Picture picture;
    int width = 0;
    int height = 0;
    bool operator==(const PaintedPicture& o) const
    {
        return picture == o.picture && width == o.width && height == o.height;
    }
};

// The base of every window. A window declares its controls as members and wires their
// events to its handlers in its constructor; load() runs when the app first loads it.
class Form {
public:
    Form(App& app, std::string name);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    [[nodiscard]] const std::string& name() const { return m_name; }
    [[nodiscard]] App& app() const { return m_app; }
    [[nodiscard]] uint64_t revision() const { return m_revision; }

    // Runs the window's load handler. Called once by the app.
    virtual void load() { }
    // Runs the window's unload handler. Called once by the app before retiring the window.
    virtual void unloading() { }
    // The program is ending (App::end): the window keeps what it must keep across runs.
    virtual void programEnding() { }

    // Whole-window geometry, in twips.
    [[nodiscard]] int left() const { return m_left; }
    [[nodiscard]] int top() const { return m_top; }
    [[nodiscard]] int width() const { return m_width; }
    [[nodiscard]] int height() const { return m_height; }
    void setLeft(int v);
    void setTop(int v);
    void setWidth(int v);
    void setHeight(int v);
    void move(int left, int top);

    void setScaleMode(ScaleMode m);
    // Twips in one unit of the window's scale.
    [[nodiscard]] int twipsPerUnit() const { return m_scaleMode == ScaleMode::Pixels ? kTwipsPerPixel : 1; }
    // The inner width and height in the window's own units: the whole window less the frame
    // the desktop draws around a framed window.
    [[nodiscard]] double scaleWidth() const { return inside(m_width, m_frameWidth); }
    [[nodiscard]] double scaleHeight() const { return inside(m_height, m_frameHeight); }
    // The desktop showed or resized a framed window: its whole size and its frame's (twips), as
    // they are on screen. Raises the resize event when the inside changed size.
    void resizedByDesktop(int width, int height, int frameWidth, int frameHeight);

    [[nodiscard]] const std::string& caption() const { return m_caption; }
    void setCaption(std::string_view v);
    [[nodiscard]] int64_t backColor() const { return m_backColor; }
    void setBackColor(int64_t v);
    // Whether the window draws its own title strip (shown without a system frame).
    [[nodiscard]] bool ownChrome() const { return m_ownChrome; }
    void setOwnChrome(bool v);
    // A window that floats over everything: always on top, without a background of its own
    // (only its controls are drawn), and out of the task bar.
    [[nodiscard]] bool floating() const { return m_floating; }
    void setFloating(bool v);
    // Whether clicks pass through the window to whatever lies below it.
    [[nodiscard]] bool clickThrough() const { return m_clickThrough; }
    void setClickThrough(bool v);

    // The background picture property.
    [[nodiscard]] const Picture& picture() const { return m_picture; }
    void setPicture(Picture p);
    // The picture last stretched over the window (empty when none).
    [[nodiscard]] const PaintedPicture& painted() const { return m_painted; }
    void paintPicture(const Picture& p, int width, int height);
    // Clears the background picture and whatever was painted.
    void clearPicture();

    [[nodiscard]] bool visible() const { return m_visible; }
    [[nodiscard]] bool modal() const { return m_modal; }
    [[nodiscard]] Form* owner() const { return m_owner; }
    [[nodiscard]] WindowState windowState() const { return m_windowState; }
    void setWindowState(WindowState v);
    void show(bool modal = false, Form* owner = nullptr);
    void hide();
    // True while the window is loaded in the app (false once it has been unloaded).
    [[nodiscard]] bool loaded() const { return m_loaded; }

    DragState drag;

    // The control or menu item with this name, or nullptr.
    [[nodiscard]] Control* control(std::string_view name) const;
    [[nodiscard]] const std::vector<Control*>& controls() const { return m_controls; }
    // Reads a window property (loaded, visible, modal, left, top, ...) as the console prints it.
    [[nodiscard]] std::optional<std::string> property(std::string_view name) const;

    // Pops up a menu at the mouse position; the front end shows it and runs the chosen item.
    void popupMenu(Menu& menu);

    // Events on the window's own background.
    std::function<void(const MouseEvent&)> onMouseDown;
    std::function<void(const MouseEvent&)> onMouseMove;
    std::function<void(const MouseEvent&)> onMouseUp;
    std::function<void()> onDblClick;
    std::function<void(const std::vector<std::string>&)> onDragDrop;
    // The inside of the window changed size (the person resized it).
    std::function<void()> onResize;

    void mouseDown(const MouseEvent& e);
    void mouseMove(const MouseEvent& e);
    void mouseUp(const MouseEvent& e);
    void dblClick();
    void dropFiles(const std::vector<std::string>& paths);

    // Called by controls.
    void registerControl(Control* c);
    void unregisterControl(Control* c);
    void touch();

private:
    friend class App;
    [[nodiscard]] double inside(int whole, int frame) const
    {
        return whole > frame ? static_cast<double>(whole - frame) / twipsPerUnit() : 0.0;
    }
    App& m_app;
    std::string m_name;
    uint64_t m_revision = 1;
    std::vector<Control*> m_controls;
    int m_left = 0;
    int m_top = 0;
    int m_width = 4800;
    int m_height = 3600;
    int m_frameWidth = 0;
    int m_frameHeight = 0;
    ScaleMode m_scaleMode = ScaleMode::Twips;
    std::string m_caption;
    int64_t m_backColor = 0x8000000F;
    bool m_ownChrome = false;
    bool m_floating = false;
    bool m_clickThrough = false;
    Picture m_picture;
    PaintedPicture m_painted;
    bool m_visible = false;
    bool m_modal = false;
    Form* m_owner = nullptr;
    WindowState m_windowState = WindowState::Normal;
    bool m_loaded = true;
};

} // namespace runtime
