#include "gui/list_views.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QScopedValueRollback>

#include "gui/input_views.h"
#include "gui/look.h"
#include "runtime/controls.h"

namespace gui {

bool syncItems(std::vector<std::string>& shown, const std::vector<std::string>& items, QStringList& out)
{
    if (shown == items)
        return false;
    shown = items;
    out.clear();
    out.reserve(static_cast<qsizetype>(items.size()));
    for (const std::string& item : items)
        out << qs(item);
    return true;
}

ListView::ListView(Session& session, rt::ListBox& list, QWidget* parent)
    : QListWidget(parent)
    , ControlView(session, list)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setUniformItemSizes(true);
    relay(viewport(), RelayOptions{false, true});
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_updating)
            fire([row](rt::Control& c) { static_cast<rt::ListBox&>(c).setListIndex(row); });
    });
}

void ListView::mousePressEvent(QMouseEvent* event)
{
    const int before = currentRow();
    QListWidget::mousePressEvent(event);
    // A press on the entry that is already chosen changes nothing but still is a click.
    QListWidgetItem* pressed = itemAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !pressed || row(pressed) != before)
        return;
    fire([before](rt::Control& c) {
        if (static_cast<rt::ListBox&>(c).listIndex() == before)
            c.click();
    });
}

void ListView::syncKind(rt::Control& control)
{
    auto& list = static_cast<rt::ListBox&>(control);
    QScopedValueRollback<bool> guard(m_updating, true);
    QStringList entries;
    if (syncItems(m_items, list.items(), entries)) {
        clear();
        addItems(entries);
    }
    if (currentRow() != list.listIndex())
        setCurrentRow(list.listIndex());
    if (list.listIndex() < 0)
        clearSelection();
    if (list.topIndex() > 0 && list.topIndex() < count())
        scrollToItem(item(list.topIndex()), QAbstractItemView::PositionAtTop);
    setFrameShape(list.borderStyle() == 0 ? QFrame::NoFrame : QFrame::StyledPanel);
    applyColors(*this, list, QPalette::Base, QPalette::Text);
}

ComboView::ComboView(Session& session, rt::ComboBox& combo, QWidget* parent)
    : QComboBox(parent)
    , ControlView(session, combo)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    relay(this, RelayOptions{false, false});
    connect(this, QOverload<int>::of(&QComboBox::activated), this, [this](int index) {
        if (m_updating)
            return;
        const std::string text = utf8(itemText(index));
        fire([index, text](rt::Control& c) {
            auto& box = static_cast<rt::ComboBox&>(c);
            box.setText(text);
            box.setListIndex(index);
        });
    });
    connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString& t) {
        if (m_updating)
            return;
        const std::string text = utf8(t);
        fire([text](rt::Control& c) { static_cast<rt::ComboBox&>(c).setText(text); });
    });
}

void ComboView::syncKind(rt::Control& control)
{
    auto& box = static_cast<rt::ComboBox&>(control);
    QScopedValueRollback<bool> guard(m_updating, true);
    QStringList entries;
    if (syncItems(m_items, box.items(), entries)) {
        clear();
        addItems(entries);
    }
    if (currentIndex() != box.listIndex())
        setCurrentIndex(box.listIndex());
    if (lineEdit()->text() != qs(box.text()))
        lineEdit()->setText(qs(box.text()));
    applyColors(*this, box, QPalette::Base, QPalette::Text);
}

}  // namespace gui
