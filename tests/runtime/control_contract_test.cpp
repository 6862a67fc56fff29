// The contracts the front end and the console rely on: revisions move only on a change,
// option buttons group by container, timers reschedule from now, properties read as text.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "runtime/app.h"
#include "runtime/controls.h"

using namespace runtime;

namespace {

class Window : public Form {
public:
    explicit Window(App& app)
        : Form(app, "Window")
    {
    }
    Label Label1 { *this, "Label1" };
    TextBox Text1 { *this, "Text1" };
    ListBox List1 { *this, "List1" };
    HScrollBar HScroll1 { *this, "HScroll1" };
    Frame Frame1 { *this, "Frame1" };
    OptionButton Option1 { *this, "Option1" };
    OptionButton Option2 { *this, "Option2" };
    OptionButton Option3 { *this, "Option3" };
    OptionButton Option4 { *this, "Option4" };
    Timer Timer1 { *this, "Timer1" };
};

class ContractTest : public ::testing::Test {
protected:
    App app;
    Window& w = app.get<Window>();
};

} // namespace

// Each row sets a property twice to the same new value: the first call bumps the revision,
// the second leaves it, so a renderer redraws only what changed.
TEST_F(ContractTest, SettersBumpTheRevisionOnlyOnAChange)
{
    struct Row {
        const char* name;
        Control* control;
        std::function<void()> set;
    };
    const std::vector<Row> rows = {
        { "caption", &w.Label1, [&] { w.Label1.setCaption("标题"); } },
        { "width", &w.Label1, [&] { w.Label1.setWidth(120); } },
        { "toolTipText", &w.Label1, [&] { w.Label1.setToolTipText("提示"); } },
        { "text", &w.Text1, [&] { w.Text1.setText("y"); } },
        { "listIndex", &w.List1,
            [&] {
                if (w.List1.listCount() == 0)
                    w.List1.setItems({ "a", "b" });
                w.List1.setListIndex(1);
            } },
        { "value", &w.HScroll1, [&] { w.HScroll1.setValue(200); } },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const uint64_t before = row.control->revision();
        row.set();
        const uint64_t afterChange = row.control->revision();
        EXPECT_GT(afterChange, before) << row.name << " changed without a bump";
        row.set();
        EXPECT_EQ(row.control->revision(), afterChange) << row.name << " bumped without a change";
    }
}

TEST_F(ContractTest, SelectingAnOptionClearsOnlyTheOthersOfItsContainer)
{
    w.Option3.setContainer(&w.Frame1);
    w.Option4.setContainer(&w.Frame1);
    w.Option1.setValue(true);
    w.Option3.setValue(true);
    w.Option2.click();
    EXPECT_FALSE(w.Option1.value());
    EXPECT_TRUE(w.Option2.value());
    // The frame's group is separate: its choice stays.
    EXPECT_TRUE(w.Option3.value());
    w.Option4.setValue(true);
    EXPECT_FALSE(w.Option3.value());
    EXPECT_TRUE(w.Option2.value());
}

TEST_F(ContractTest, ChangingATimerReschedulesItFromNow)
{
    std::vector<int64_t> fired;
    w.Timer1.onTimer = [&] { fired.push_back(app.now()); };
    w.Timer1.start(100);
    app.advance(60);
    // A new interval counts from the change, not from the first start.
    w.Timer1.setInterval(100);
    app.advance(90);
    EXPECT_TRUE(fired.empty());
    app.advance(10);
    EXPECT_EQ(fired, (std::vector<int64_t> { 160 }));
    // An interval of 0 never fires, even while enabled.
    w.Timer1.setInterval(0);
    app.advance(1000);
    EXPECT_EQ(fired.size(), 1u);
}

// What the console scripts do not read already: decimals, the slider and the defaults.
TEST_F(ContractTest, PropertiesReadAsTheConsolePrintsThem)
{
    w.Label1.setLeft(7.5);
    w.Label1.setWidth(960);
    w.HScroll1.setValue(255);
    w.List1.setItems({ "甲", "乙" });
    EXPECT_EQ(w.Label1.property("left"), "7.5");
    EXPECT_EQ(w.Label1.property("width"), "960");
    EXPECT_EQ(w.HScroll1.property("value"), "255");
    EXPECT_EQ(w.List1.property("item.1"), "乙");
    EXPECT_FALSE(w.Label1.property("noSuchProperty").has_value());
    EXPECT_FALSE(w.List1.property("item.2").has_value());
    EXPECT_EQ(w.HScroll1.defaultProperty(), "value");
    EXPECT_EQ(w.Timer1.defaultProperty(), "enabled");
}
