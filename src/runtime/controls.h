#pragma once
// The control kinds. Each declares only what it adds to the common control.
#include <string>
#include <vector>

#include "runtime/control.h"
#include "runtime/picture.h"

namespace runtime {

// A caption on the window, also used as a button or tile.
class Label : public Control {
public:
    Label(Form& form, std::string name);
    // A label that shows a progress bar as a run of "■" marks ending its caption: how many
    // marks make the full bar (0: the caption is plain text). They are spread over the width
    // the caption's text leaves, so a full bar ends where the label ends whatever the font.
    [[nodiscard]] int barMarks() const { return m_barMarks; }
    void setBarMarks(int marks);

private:
    int m_barMarks = 0;
};

// A text box; setting a different text raises its change event.
class TextBox : public Control {
public:
    TextBox(Form& form, std::string name);
    [[nodiscard]] const std::string& text() const { return m_text; }
    void setText(std::string_view v);
    [[nodiscard]] bool multiLine() const { return m_multiLine; }
    void setMultiLine(bool v);
    [[nodiscard]] bool locked() const { return m_locked; }
    void setLocked(bool v);
    [[nodiscard]] std::optional<std::string> property(std::string_view name) const override;
    [[nodiscard]] std::string defaultProperty() const override { return "text"; }

private:
    std::string m_text;
    bool m_multiLine = false;
    bool m_locked = false;
};

// A push button.
class CommandButton : public Control {
public:
    CommandButton(Form& form, std::string name);
};

// A list of text entries with one selected index (-1 for none). Setting a different index
// raises the click event, as a user's selection does.
class ListBox : public Control {
public:
    ListBox(Form& form, std::string name, ControlKind kind = ControlKind::ListBox);
    [[nodiscard]] int listCount() const { return static_cast<int>(m_items.size()); }
    [[nodiscard]] int listIndex() const { return m_listIndex; }
    void setListIndex(int index);
    // The entry at index, or an empty text outside the list.
    [[nodiscard]] std::string list(int index) const;
    void setList(int index, std::string_view text);
    void addItem(std::string_view text, int index = -1);
    void removeItem(int index);
    void clear();
    [[nodiscard]] const std::vector<std::string>& items() const { return m_items; }
    // Replaces every entry at once (no events), for loading a whole list.
    void setItems(std::vector<std::string> items);
    // Takes every entry out at once (no events), so that a caller refilling a long list can
    // reuse the entries' storage before setItems.
    std::vector<std::string> takeItems();
    // Increases whenever the entries change (not on a new selection or look).
    [[nodiscard]] uint64_t itemsRevision() const { return m_itemsRevision; }
    [[nodiscard]] int topIndex() const { return m_topIndex; }
    void setTopIndex(int v);
    [[nodiscard]] std::optional<std::string> property(std::string_view name) const override;
    [[nodiscard]] std::string defaultProperty() const override { return "items"; }

protected:
    // Runs after the selection changed, before the click event.
    virtual void selectionChanged() { }

private:
    std::vector<std::string> m_items;
    uint64_t m_itemsRevision = 1;
    int m_listIndex = -1;
    int m_topIndex = 0;
};

// A drop-down list with an editable text.
class ComboBox : public ListBox {
public:
    ComboBox(Form& form, std::string name);
    [[nodiscard]] const std::string& text() const { return m_text; }
    void setText(std::string_view v);
    [[nodiscard]] std::optional<std::string> property(std::string_view name) const override;
    [[nodiscard]] std::string defaultProperty() const override { return "text"; }

protected:
    // Choosing an entry shows it as the text (without a change event, as a user's choice).
    void selectionChanged() override;

private:
    std::string m_text;
};

// A picture holder: PictureBox (a container that can be drawn on) or Image.
class PictureBox : public Control {
public:
    PictureBox(Form& form, std::string name, ControlKind kind = ControlKind::PictureBox);
    [[nodiscard]] const Picture& picture() const { return m_picture; }
    void setPicture(Picture p);
    [[nodiscard]] bool stretch() const { return m_stretch; }
    void setStretch(bool v);
    [[nodiscard]] std::optional<std::string> property(std::string_view name) const override;

private:
    Picture m_picture;
    bool m_stretch = false;
};

// A picture without a window of its own.
class Image : public PictureBox {
public:
    Image(Form& form, std::string name);
};

// A frame grouping other controls; option buttons in one frame form one group.
class Frame : public Control {
public:
    Frame(Form& form, std::string name);
};

// An option button; selecting it clears the other options of the same container.
class OptionButton : public Control {
public:
    OptionButton(Form& form, std::string name);
    [[nodiscard]] bool value() const { return m_value; }
    // Selecting (true) raises the click event, as a user's choice does.
    void setValue(bool v);
    void click() override;
    [[nodiscard]] std::optional<std::string> property(std::string_view name) const override;

private:
    bool m_value = false;
};

// A check box with value 0 (unchecked) or 1 (checked).
class CheckBox : public Control {
public:
    CheckBox(Form& form, std::string name);
    [[nodiscard]] int value() const { return m_value; }
    void setValue(int v);
    void click() override;
    [[nodiscard]] std::optional<std::string> property(std::string_view name) const override;

private:
    int m_value = 0;
};

// A horizontal slider; moving it to a different value raises its change event.
class HScrollBar : public Control {
public:
    HScrollBar(Form& form, std::string name);
    [[nodiscard]] int min() const { return m_min; }
    [[nodiscard]] int max() const { return m_max; }
    [[nodiscard]] int value() const { return m_value; }
    void setRange(int min, int max);
    void setValue(int v);
    [[nodiscard]] std::optional<std::string> property(std::string_view name) const override;
    [[nodiscard]] std::string defaultProperty() const override { return "value"; }

private:
    int m_min = 0;
    int m_max = 32767;
    int m_value = 0;
};

// A timer: while enabled with a non-zero interval, the app raises its timer event every
// interval milliseconds. Changing either reschedules it from now.
class Timer : public Control {
public:
    Timer(Form& form, std::string name, int interval = 0, bool enabled = false);
    ~Timer() override;
    [[nodiscard]] int interval() const { return m_interval; }
    void setInterval(int ms);
    void setEnabled(bool v);
    // Shorthand for the one-shot idiom: interval := ms, enabled := true.
    void start(int ms);
    std::function<void()> onTimer;
    [[nodiscard]] std::optional<std::string> property(std::string_view name) const override;
    [[nodiscard]] std::string defaultProperty() const override { return "enabled"; }

private:
    int m_interval = 0;
};

// A hidden list of the files of one folder that match a pattern list such as "*.MP3;*.WAV":
// extensions compared without case, hidden files left out, sorted by name.
class FileListBox : public ListBox {
public:
    FileListBox(Form& form, std::string name);
    [[nodiscard]] const std::string& path() const { return m_path; }
    // Setting the folder re-reads it; an unreadable folder leaves the list empty.
    void setPath(std::string_view folder);
    [[nodiscard]] const std::string& pattern() const { return m_pattern; }
    void setPattern(std::string_view patterns);
    // Re-reads the folder.
    void refresh();
    [[nodiscard]] std::optional<std::string> property(std::string_view name) const override;

private:
    std::string m_path;
    std::string m_pattern = "*.*";
};

// A menu or menu item. A caption of "-" is a separator. Items with children are submenus.
class Menu : public Control {
public:
    Menu(Form& form, std::string name, std::string_view caption, Menu* parent = nullptr);
    [[nodiscard]] Menu* parent() const { return m_parent; }
    [[nodiscard]] const std::vector<Menu*>& children() const { return m_children; }
    [[nodiscard]] bool checked() const { return m_checked; }
    void setChecked(bool v);
    [[nodiscard]] bool separator() const { return caption() == "-"; }
    [[nodiscard]] std::optional<std::string> property(std::string_view name) const override;

private:
    Menu* m_parent;
    std::vector<Menu*> m_children;
    bool m_checked = false;
};

// Lists the names of the regular, non-hidden files of folder that match one of the patterns
// ("*.MP3;*.WAV", "*.*"), without case, sorted by name. Empty when unreadable.
std::vector<std::string> listMatchingFiles(const std::string& folder, std::string_view patterns);

} // namespace runtime
