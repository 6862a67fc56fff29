#pragma once
// Views of lists: list boxes (also file lists) and combo boxes.
#include <QComboBox>
#include <QListWidget>
#include <string>
#include <vector>

#include "gui/control_view.h"

namespace rt {
class ListBox;
class ComboBox;
}  // namespace rt

namespace gui {

// A list box. Choosing an entry sets the list index (which raises the click event); a
// double click anywhere in the list raises the double click, also below the last entry.
class ListView : public QListWidget, public ControlView {
public:
    ListView(Session& session, rt::ListBox& list, QWidget* parent);
    QWidget* widget() override { return this; }

protected:
    void syncKind(rt::Control& control) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::vector<std::string> m_items;
    bool m_updating = false;
};

// A drop-down list with an editable text.
class ComboView : public QComboBox, public ControlView {
public:
    ComboView(Session& session, rt::ComboBox& combo, QWidget* parent);
    QWidget* widget() override { return this; }

protected:
    void syncKind(rt::Control& control) override;

private:
    std::vector<std::string> m_items;
    bool m_updating = false;
};

// Replaces the entries of a list widget when they differ from `items`, remembering them.
bool syncItems(std::vector<std::string>& shown, const std::vector<std::string>& items, QStringList& out);

}  // namespace gui
