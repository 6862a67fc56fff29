#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/app.h"
#include "runtime/controls.h"

using namespace runtime;

namespace {

std::vector<std::string> events;

// A window whose load refers to a second window, as windows do at start-up.
class Second : public Form {
public:
    explicit Second(App& app)
        : Form(app, "Second")
    {
    }
    void load() override { events.push_back("Second.load"); }
    void unloading() override { events.push_back("Second.unload"); }
    TextBox Text1 { *this, "Text1" };
};

class First : public Form {
public:
    explicit First(App& app)
        : Form(app, "First")
    {
        Command1.onClick = [this] { Command1_Click(); };
        Timer1.onTimer = [this] { Timer1_Timer(); };
    }
    void load() override
    {
        events.push_back("First.load");
        app().get<Second>().Text1.setText("from First");
        // Referring to itself during load gives the same instance.
        app().get<First>().Text1.setText("self");
    }
    void Command1_Click()
    {
        app().unload<First>();
        // The instance stays usable until the handler returns.
        Text1.setText("after unload");
        events.push_back("handler finished");
    }
    void Timer1_Timer()
    {
        events.push_back("First.Timer1");
        Timer1.setEnabled(false);
    }
    TextBox Text1 { *this, "Text1" };
    CommandButton Command1 { *this, "Command1" };
    Timer Timer1 { *this, "Timer1" };
};

class AppTest : public ::testing::Test {
protected:
    void SetUp() override { events.clear(); }
    App app;
};

} // namespace

TEST_F(AppTest, GetLoadsOnceAndLoadMayReferToOtherWindows)
{
    EXPECT_FALSE(app.isLoaded<First>());
    First& f = app.get<First>();
    EXPECT_EQ(&f, &app.get<First>());
    EXPECT_EQ(events, (std::vector<std::string> { "First.load", "Second.load" }));
    EXPECT_EQ(app.get<Second>().Text1.text(), "from First");
    EXPECT_EQ(f.Text1.text(), "self");
    EXPECT_FALSE(f.visible());
    ASSERT_EQ(app.forms().size(), 2u);
    EXPECT_EQ(app.forms()[0]->name(), "First");
    // Unloading runs the unload handler once, however often it is asked.
    app.unload<Second>();
    app.unload<Second>();
    EXPECT_EQ(std::count(events.begin(), events.end(), "Second.unload"), 1);
    EXPECT_EQ(app.loadedForm("Second"), nullptr);
}

TEST_F(AppTest, UnloadFromOwnHandlerIsSafeAndNextGetBuildsAFreshWindow)
{
    First& f = app.get<First>();
    f.Text1.setText("old state");
    f.Timer1.start(10);
    f.Command1.click();
    EXPECT_EQ(events.back(), "handler finished");
    EXPECT_FALSE(app.isLoaded<First>());
    // The retired window's timer does not fire.
    app.advance(100);
    EXPECT_EQ(std::count(events.begin(), events.end(), "First.Timer1"), 0);
    First& fresh = app.get<First>();
    EXPECT_EQ(fresh.Text1.text(), "self");
}

namespace {

class Timers : public Form {
public:
    explicit Timers(App& app)
        : Form(app, "Timers")
    {
        for (Timer* t : { &A, &B, &C })
            t->onTimer = [this, t] { fired(*t); };
    }
    void fired(Timer& t)
    {
        events.push_back(t.name() + "@" + std::to_string(app().now()));
        if (&t != &C)
            t.setEnabled(false);
        if (&t == &A && nested)
            app().doEvents();
    }
    Timer A { *this, "A" };
    Timer B { *this, "B" };
    Timer C { *this, "C" };
    bool nested = false;
};

} // namespace

TEST_F(AppTest, OneShotTimersFireInDueOrderTiesInEnableOrder)
{
    Timers& t = app.get<Timers>();
    t.B.start(5);
    t.A.start(1);
    t.C.start(5);
    app.advance(4);
    EXPECT_EQ(events, (std::vector<std::string> { "A@1" }));
    app.advance(1);
    EXPECT_EQ(events, (std::vector<std::string> { "A@1", "B@5", "C@5" }));
    // C repeats every 5 ms until it is switched off.
    app.advance(10);
    EXPECT_EQ(events.back(), "C@15");
    t.C.setEnabled(false);
    EXPECT_TRUE(app.runUntilIdle());
}

TEST_F(AppTest, DoEventsInsideAHandlerRunsOtherDueTimersButNotItself)
{
    Timers& t = app.get<Timers>();
    t.nested = true;
    t.A.start(1);
    t.B.start(1);
    app.advance(1);
    // A's handler pumped: B ran inside it; A did not re-enter.
    EXPECT_EQ(events, (std::vector<std::string> { "A@1", "B@1" }));
}

TEST_F(AppTest, SettingsRaiseEventsAsAUserChangeWould)
{
    First& f = app.get<First>();
    int changes = 0;
    f.Text1.onChange = [&] { ++changes; };
    f.Text1.setText("x");
    f.Text1.setText("x");
    EXPECT_EQ(changes, 1);

    ListBox list(f, "List1");
    int clicks = 0;
    list.onClick = [&] { ++clicks; };
    list.addItem("a");
    list.addItem("b");
    list.setListIndex(1);
    list.setListIndex(1);
    list.setListIndex(7); // out of range: no selection
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(list.listIndex(), -1);

    // Choosing a combo entry shows it as the text without raising Change.
    ComboBox combo(f, "Combo1");
    changes = clicks = 0;
    combo.onChange = [&] { ++changes; };
    combo.onClick = [&] { ++clicks; };
    combo.addItem("优酷");
    combo.addItem("土豆");
    combo.setListIndex(1);
    EXPECT_EQ(combo.text(), "土豆");
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(changes, 0);
}
