#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/app.h"
#include "runtime/controls.h"

using namespace runtime;

namespace {

std::vector<std::string> events;

class First : public Form {
public:
    explicit First(App& app)
        : Form(app, "First")
    {
    }
    TextBox Text1 { *this, "Text1" };
};

// A pumps while it is still due; B is due at the same moment.
class Timers : public Form {
public:
    explicit Timers(App& app)
        : Form(app, "Timers")
    {
        A.onTimer = [this] {
            events.push_back("A@" + std::to_string(this->app().now()));
            this->app().doEvents();
            A.setEnabled(false);
        };
        B.onTimer = [this] {
            events.push_back("B@" + std::to_string(this->app().now()));
            B.setEnabled(false);
        };
    }
    Timer A { *this, "A" };
    Timer B { *this, "B" };
};

class AppTest : public ::testing::Test {
protected:
    void SetUp() override { events.clear(); }
    App app;
};

} // namespace

TEST_F(AppTest, DoEventsInsideAHandlerRunsOtherDueTimersButNotItself)
{
    Timers& t = app.get<Timers>();
    t.A.start(1);
    t.B.start(1);
    app.advance(1);
    // A's handler pumped: B ran inside it; A, still due, did not re-enter.
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
