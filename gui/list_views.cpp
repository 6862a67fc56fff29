#include "gui/list_views.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QScopedValueRollback>

#include "gui/input_views.h"
#include "gui/look.h"
#include "runtime/controls.h"

namespace gui {

uint64_t entriesFingerprint(const std::vector<std::string>& items)
{
    // FNV-1a over every entry with a separator, seeded with the count.
    uint64_t h = 1469598103934665603ULL ^ items.size();
    for (const std::string& item : items) {
        for (char c : item)
            h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        h = (h ^ 0xFFu) * 1099511628211ULL;
    }
    return h;
}

ListEntries::ListEntries(runtime::ListBox& list)
    : m_list(&list)
{
}

int ListEntries::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_list ? 0 : m_list->listCount();
}

QVariant ListEntries::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !m_list)
        return QVariant();
    return qs(m_list->list(index.row()));
}

void ListEntries::refresh()
{
    const uint64_t fingerprint = m_list ? entriesFingerprint(m_list->items()) : 0;
    if (fingerprint == m_fingerprint)
        return;
    m_fingerprint = fingerprint;
    beginResetModel();
    endResetModel();
}

void ListEntries::detach()
{
    beginResetModel();
    m_list = nullptr;
    endResetModel();
}

ListView::ListView(Session& session, runtime::ListBox& list, QWidget* parent)
    : QListView(parent)
    , ControlView(session, list)
    , m_entries(list)
{
    setModel(&m_entries);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    relay(viewport(), RelayOptions { false, true });
    connect(
        selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
            if (!m_updating)
                fire([row = current.row()](
                         runtime::Control& c) { static_cast<runtime::ListBox&>(c).setListIndex(row); });
        });
}

void ListView::detach()
{
    m_entries.detach();
    ControlView::detach();
}

void ListView::mousePressEvent(QMouseEvent* event)
{
    const int before = currentIndex().row();
    QListView::mousePressEvent(event);
    // A press on the entry that is already chosen changes nothing but still is a click.
    const QModelIndex pressed = indexAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !pressed.isValid() || pressed.row() != before)
        return;
    fire([before](runtime::Control& c) {
        if (static_cast<runtime::ListBox&>(c).listIndex() == before)
            c.click();
    });
}

void ListView::syncKind(runtime::Control& control)
{
    auto& list = static_cast<runtime::ListBox&>(control);
    QScopedValueRollback<bool> guard(m_updating, true);
    m_entries.refresh();
    if (currentIndex().row() != list.listIndex()) {
        const QModelIndex index = m_entries.index(list.listIndex());
        if (index.isValid()) {
            selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
            // The chosen entry is in sight, also when the program chose it (the next song).
            scrollTo(index);
        } else
            selectionModel()->clear();
    }
    if (list.topIndex() > 0 && list.topIndex() < list.listCount())
        scrollTo(m_entries.index(list.topIndex()), QAbstractItemView::PositionAtTop);
    setFrameShape(list.borderStyle() == 0 ? QFrame::NoFrame : QFrame::StyledPanel);
    applyColors(*this, list, QPalette::Base, QPalette::Text);
}

ComboView::ComboView(Session& session, runtime::ComboBox& combo, QWidget* parent)
    : QComboBox(parent)
    , ControlView(session, combo)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    relay(this, RelayOptions { false, false });
    connect(this, QOverload<int>::of(&QComboBox::activated), this, [this](int index) {
        if (m_updating)
            return;
        // Choosing an entry makes it the text without a change event, as on the platform.
        fire([index](runtime::Control& c) { static_cast<runtime::ComboBox&>(c).setListIndex(index); });
    });
    connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString& t) {
        if (m_updating)
            return;
        const std::string text = utf8(t);
        fire([text](runtime::Control& c) { static_cast<runtime::ComboBox&>(c).setText(text); });
    });
}

void ComboView::syncKind(runtime::Control& control)
{
    auto& box = static_cast<runtime::ComboBox&>(control);
    QScopedValueRollback<bool> guard(m_updating, true);
    if (m_items != box.items()) {
        m_items = box.items();
        clear();
        for (const std::string& item : m_items)
            addItem(qs(item));
    }
    if (currentIndex() != box.listIndex())
        setCurrentIndex(box.listIndex());
    if (lineEdit()->text() != qs(box.text()))
        lineEdit()->setText(qs(box.text()));
    applyColors(*this, box, QPalette::Base, QPalette::Text);
}

} // namespace gui
