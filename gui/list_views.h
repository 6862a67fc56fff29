#pragma once
// Views of lists: list boxes (also file lists) and combo boxes.
#include <QAbstractListModel>
#include <QComboBox>
#include <QListView>
#include <cstdint>
#include <string>
#include <vector>

#include "gui/control_view.h"

namespace runtime {
class ListBox;
class ComboBox;
} // namespace runtime

namespace gui {

// The entries of a list box as a Qt model, read from the control when shown (a playlist may
// hold a hundred thousand entries; nothing is copied).
class ListEntries : public QAbstractListModel {
public:
    explicit ListEntries(runtime::ListBox& list);
    [[nodiscard]] int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex& index, int role) const override;
    // Tells the views that the entries changed, when they did.
    void refresh();
    // Forgets the control.
    void detach();

private:
    runtime::ListBox* m_list;
    uint64_t m_fingerprint = 0;
};

// A list box. Choosing an entry sets the list index (which raises the click event); a
// double click anywhere in the list raises the double click, also below the last entry.
class ListView : public QListView, public ControlView {
public:
    ListView(Session& session, runtime::ListBox& list, QWidget* parent);
    QWidget* widget() override { return this; }
    void detach() override;

protected:
    void syncKind(runtime::Control& control) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    ListEntries m_entries;
    bool m_updating = false;
};

// A drop-down list with an editable text.
class ComboView : public QComboBox, public ControlView {
public:
    ComboView(Session& session, runtime::ComboBox& combo, QWidget* parent);
    QWidget* widget() override { return this; }

protected:
    void syncKind(runtime::Control& control) override;

private:
    std::vector<std::string> m_items;
    bool m_updating = false;
};

// A fingerprint of a list's entries (their number and text), to tell a change cheaply.
uint64_t entriesFingerprint(const std::vector<std::string>& items);

} // namespace gui
