#include "runtime/controls.h"

#include <algorithm>

#include "runtime/app.h"
#include "runtime/form.h"
#include "runtime/vbtext.h"

namespace runtime {

Label::Label(Form& form, std::string name)
    : Control(form, std::move(name), ControlKind::Label)
{
}

void Label::setBarMarks(int marks)
{
    assign(m_barMarks, std::max(marks, 0));
}

TextBox::TextBox(Form& form, std::string name)
    : Control(form, std::move(name), ControlKind::TextBox)
{
}

void TextBox::setText(std::string_view v)
{
    if (m_text == v)
        return;
    m_text = v;
    touch();
    raiseChange();
}

void TextBox::setMultiLine(bool v)
{
    assign(m_multiLine, v);
}

void TextBox::setLocked(bool v)
{
    assign(m_locked, v);
}

std::optional<std::string> TextBox::property(std::string_view name) const
{
    if (name == "text")
        return m_text;
    if (name == "locked")
        return propertyText(m_locked);
    return Control::property(name);
}

CommandButton::CommandButton(Form& form, std::string name)
    : Control(form, std::move(name), ControlKind::CommandButton)
{
}

ListBox::ListBox(Form& form, std::string name, ControlKind kind)
    : Control(form, std::move(name), kind)
{
}

void ListBox::setListIndex(int index)
{
    if (index < -1 || index >= listCount())
        index = -1;
    if (index == m_listIndex)
        return;
    m_listIndex = index;
    touch();
    selectionChanged();
    click();
}

std::string ListBox::list(int index) const
{
    if (index < 0 || index >= listCount())
        return {};
    return m_items[static_cast<size_t>(index)];
}

void ListBox::setList(int index, std::string_view text)
{
    if (index < 0 || index >= listCount())
        return;
    m_items[static_cast<size_t>(index)] = std::string(text);
    ++m_itemsRevision;
    touch();
}

void ListBox::addItem(std::string_view text, int index)
{
    if (index < 0 || index > listCount())
        index = listCount();
    m_items.insert(m_items.begin() + index, std::string(text));
    if (m_listIndex >= index)
        ++m_listIndex;
    ++m_itemsRevision;
    touch();
}

void ListBox::removeItem(int index)
{
    if (index < 0 || index >= listCount())
        return;
    m_items.erase(m_items.begin() + index);
    if (m_listIndex == index)
        m_listIndex = -1;
    else if (m_listIndex > index)
        --m_listIndex;
    ++m_itemsRevision;
    touch();
}

void ListBox::clear()
{
    if (m_items.empty() && m_listIndex == -1)
        return;
    m_items.clear();
    m_listIndex = -1;
    m_topIndex = 0;
    ++m_itemsRevision;
    touch();
}

void ListBox::setItems(std::vector<std::string> items)
{
    m_items = std::move(items);
    m_listIndex = -1;
    m_topIndex = 0;
    ++m_itemsRevision;
    touch();
}

std::vector<std::string> ListBox::takeItems()
{
    std::vector<std::string> items = std::move(m_items);
    setItems({});
    return items;
}

void ListBox::setTopIndex(int v)
{
    assign(m_topIndex, std::clamp(v, 0, std::max(0, listCount() - 1)));
}

std::optional<std::string> ListBox::property(std::string_view name) const
{
    if (name == "listIndex")
        return propertyText(m_listIndex);
    if (name == "listCount")
        return propertyText(listCount());
    if (name == "topIndex")
        return propertyText(m_topIndex);
    if (name == "items") {
        std::string out;
        for (size_t i = 0; i < m_items.size(); ++i) {
            if (i)
                out += '\n';
            out += m_items[i];
        }
        return out;
    }
    if (name.substr(0, 5) == "item.") {
        const auto index = vb::tryLong(name.substr(5));
        if (!index || *index < 0 || *index >= listCount())
            return std::nullopt;
        return m_items[static_cast<size_t>(*index)];
    }
    return Control::property(name);
}

ComboBox::ComboBox(Form& form, std::string name)
    : ListBox(form, std::move(name), ControlKind::ComboBox)
{
}

void ComboBox::setText(std::string_view v)
{
    if (m_text == v)
        return;
    m_text = v;
    touch();
    raiseChange();
}

void ComboBox::selectionChanged()
{
    if (listIndex() >= 0)
        m_text = list(listIndex());
}

std::optional<std::string> ComboBox::property(std::string_view name) const
{
    if (name == "text")
        return m_text;
    return ListBox::property(name);
}

PictureBox::PictureBox(Form& form, std::string name, ControlKind kind)
    : Control(form, std::move(name), kind)
{
}

void PictureBox::setPicture(Picture p)
{
    if (m_picture == p)
        return;
    m_picture = std::move(p);
    touch();
}

void PictureBox::setStretch(bool v)
{
    assign(m_stretch, v);
}

std::optional<std::string> PictureBox::property(std::string_view name) const
{
    if (name == "picture")
        return m_picture.empty() ? std::string()
                                 : (m_picture.source.empty() ? "(picture)" : m_picture.source);
    return Control::property(name);
}

Image::Image(Form& form, std::string name)
    : PictureBox(form, std::move(name), ControlKind::Image)
{
}

Frame::Frame(Form& form, std::string name)
    : Control(form, std::move(name), ControlKind::Frame)
{
}

OptionButton::OptionButton(Form& form, std::string name)
    : Control(form, std::move(name), ControlKind::OptionButton)
{
}

void OptionButton::setValue(bool v)
{
    if (v == m_value)
        return;
    m_value = v;
    touch();
    if (!v)
        return;
    for (Control* c : form().controls()) {
        if (c != this && c->kind() == ControlKind::OptionButton && c->container() == container())
            static_cast<OptionButton*>(c)->setValue(false);
    }
    Control::click();
}

void OptionButton::click()
{
    // A click on an option that is already selected still raises the event.
    if (m_value)
        Control::click();
    else
        setValue(true);
}

std::optional<std::string> OptionButton::property(std::string_view name) const
{
    if (name == "value")
        return propertyText(m_value);
    return Control::property(name);
}

CheckBox::CheckBox(Form& form, std::string name)
    : Control(form, std::move(name), ControlKind::CheckBox)
{
}

void CheckBox::setValue(int v)
{
    assign(m_value, v);
}

void CheckBox::click()
{
    setValue(m_value ? 0 : 1);
    Control::click();
}

std::optional<std::string> CheckBox::property(std::string_view name) const
{
    if (name == "value")
        return propertyText(m_value);
    return Control::property(name);
}

HScrollBar::HScrollBar(Form& form, std::string name)
    : Control(form, std::move(name), ControlKind::HScrollBar)
{
}

void HScrollBar::setRange(int min, int max)
{
    assign(m_min, min);
    assign(m_max, max);
    m_value = std::clamp(m_value, std::min(min, max), std::max(min, max));
}

void HScrollBar::setValue(int v)
{
    v = std::clamp(v, std::min(m_min, m_max), std::max(m_min, m_max));
    if (v == m_value)
        return;
    m_value = v;
    touch();
    raiseChange();
}

std::optional<std::string> HScrollBar::property(std::string_view name) const
{
    if (name == "value")
        return propertyText(m_value);
    if (name == "min")
        return propertyText(m_min);
    if (name == "max")
        return propertyText(m_max);
    return Control::property(name);
}

Timer::Timer(Form& form, std::string name, int interval, bool enabled)
    : Control(form, std::move(name), ControlKind::Timer)
    , m_interval(std::max(0, interval))
{
    Control::setVisible(false);
    Control::setEnabled(enabled);
    app().timerChanged(*this);
}

Timer::~Timer()
{
    app().timerGone(*this);
}

void Timer::setInterval(int ms)
{
    m_interval = std::max(0, ms);
    touch();
    app().timerChanged(*this);
}

void Timer::setEnabled(bool v)
{
    Control::setEnabled(v);
    app().timerChanged(*this);
}

void Timer::start(int ms)
{
    m_interval = std::max(0, ms);
    Control::setEnabled(true);
    touch();
    app().timerChanged(*this);
}

std::optional<std::string> Timer::property(std::string_view name) const
{
    if (name == "interval")
        return propertyText(m_interval);
    return Control::property(name);
}

Menu::Menu(Form& form, std::string name, std::string_view caption, Menu* parent)
    : Control(form, std::move(name), ControlKind::Menu)
    , m_parent(parent)
{
    setCaption(caption);
    if (parent)
        parent->m_children.push_back(this);
}

void Menu::setChecked(bool v)
{
    assign(m_checked, v);
}

std::optional<std::string> Menu::property(std::string_view name) const
{
    if (name == "checked")
        return propertyText(m_checked);
    return Control::property(name);
}

} // namespace runtime
