#pragma once
// Controls: the state a window shows, with the property names a forms programmer expects.
// Every setter that changes a value bumps the control's revision, so a renderer redraws
// only what changed. Events are plain callbacks that the owning window wires to its handlers.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace runtime {

class Form;
class App;

enum class ControlKind {
    Label,
    TextBox,
    CommandButton,
    ListBox,
    ComboBox,
    PictureBox,
    Image,
    Frame,
    OptionButton,
    CheckBox,
    HScrollBar,
    Timer,
    FileListBox,
    Menu,
    WebBrowser,
    MediaPlayer,
    LyricsBar,
};

// Mouse buttons as the forms runtime numbers them.
enum MouseButton { NoButton = 0, LeftButton = 1, RightButton = 2, MiddleButton = 4 };

// A mouse event: button, shift state and position in the form's scale units.
struct MouseEvent {
    int button = LeftButton;
    int shift = 0;
    double x = 0;
    double y = 0;
};

// Back style of labels: 0 transparent, 1 opaque.
enum BackStyle { Transparent = 0, Opaque = 1 };

// Text alignment of labels and text boxes.
enum Alignment { AlignLeft = 0, AlignRight = 1, AlignCenter = 2 };

// The base of every control: identity, geometry, look and the common events.
class Control {
public:
    Control(Form& form, std::string name, ControlKind kind);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    [[nodiscard]] const std::string& name() const { return m_name; }
    [[nodiscard]] ControlKind kind() const { return m_kind; }
    [[nodiscard]] Form& form() const { return m_form; }
    [[nodiscard]] App& app() const;
    // Increases on every visible change of the control.
    [[nodiscard]] uint64_t revision() const { return m_revision; }

    // The frame that contains the control, or nullptr for the form itself.
    [[nodiscard]] Control* container() const { return m_container; }
    void setContainer(Control* frame);

    [[nodiscard]] bool visible() const { return m_visible; }
    void setVisible(bool v);
    [[nodiscard]] bool enabled() const { return m_enabled; }
    void setEnabled(bool v);
    [[nodiscard]] double left() const { return m_left; }
    [[nodiscard]] double top() const { return m_top; }
    [[nodiscard]] double width() const { return m_width; }
    [[nodiscard]] double height() const { return m_height; }
    void setLeft(double v);
    void setTop(double v);
    void setWidth(double v);
    void setHeight(double v);
    void move(double left, double top, double width, double height);

    [[nodiscard]] const std::string& caption() const { return m_caption; }
    void setCaption(std::string_view v);
    [[nodiscard]] const std::string& toolTipText() const { return m_toolTip; }
    void setToolTipText(std::string_view v);
    [[nodiscard]] bool fontBold() const { return m_fontBold; }
    void setFontBold(bool v);
    [[nodiscard]] double fontSize() const { return m_fontSize; }
    void setFontSize(double v);
    [[nodiscard]] const std::string& fontName() const { return m_fontName; }
    void setFontName(std::string_view v);
    [[nodiscard]] int64_t foreColor() const { return m_foreColor; }
    void setForeColor(int64_t v);
    [[nodiscard]] int64_t backColor() const { return m_backColor; }
    void setBackColor(int64_t v);
    [[nodiscard]] int backStyle() const { return m_backStyle; }
    void setBackStyle(int v);
    [[nodiscard]] int borderStyle() const { return m_borderStyle; }
    void setBorderStyle(int v);
    [[nodiscard]] int alignment() const { return m_alignment; }
    void setAlignment(int v);

    // Reads a property by its runtime name (caption, text, visible, ...) as text, the way the
    // automation console prints it; nothing when the control has no such property.
    [[nodiscard]] virtual std::optional<std::string> property(std::string_view name) const;
    // The property that a bare reference to the control means (caption, text or items).
    [[nodiscard]] virtual std::string defaultProperty() const { return "caption"; }

    // Whether a person can reach the control: visible and enabled, and so are its frames.
    [[nodiscard]] bool reachable() const;

    // Events. Raising one runs the wired handler, if any.
    std::function<void()> onClick;
    std::function<void()> onDblClick;
    std::function<void()> onChange;
    std::function<void(const MouseEvent&)> onMouseDown;
    std::function<void(const MouseEvent&)> onMouseMove;
    std::function<void(const MouseEvent&)> onMouseUp;
    // The pointer left the control. The platform the windows were written for had no such
    // event; the desktop raises it so hover looks do not outlive the hover.
    std::function<void()> onMouseLeave;
    // Files dropped from the file manager (full local paths).
    std::function<void(const std::vector<std::string>&)> onDragDrop;

    virtual void click();
    void dblClick();
    void mouseDown(const MouseEvent& e);
    void mouseMove(const MouseEvent& e);
    void mouseUp(const MouseEvent& e);
    void mouseLeave();
    void dropFiles(const std::vector<std::string>& paths);

protected:
    void touch();
    void raiseChange();

    template <class T> void assign(T& field, const T& value)
    {
        if (!(field == value)) {
            field = value;
            touch();
        }
    }

private:
    Form& m_form;
    std::string m_name;
    ControlKind m_kind;
    uint64_t m_revision = 1;
    Control* m_container = nullptr;
    bool m_visible = true;
    bool m_enabled = true;
    double m_left = 0;
    double m_top = 0;
    double m_width = 0;
    double m_height = 0;
    std::string m_caption;
    std::string m_toolTip;
    bool m_fontBold = false;
    double m_fontSize = 9;
    std::string m_fontName = "宋体";
    int64_t m_foreColor = 0x000000;
    int64_t m_backColor = 0xFFFFFF;
    int m_backStyle = Opaque;
    int m_borderStyle = 0;
    int m_alignment = AlignLeft;
};

// Formats a property value the way the console prints it.
std::string propertyText(bool v);
std::string propertyText(double v);
std::string propertyText(int64_t v);
std::string propertyText(int v);

} // namespace runtime
