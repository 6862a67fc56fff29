#include <gtest/gtest.h>

#include <csignal>
#include <thread>

#include "platform/posix/child_process.h"

using platform::ChildProcess;
using platform::CommandResult;

namespace {

CommandResult finish(ChildProcess& child)
{
    while (!child.poll())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return child.result();
}

} // namespace

TEST(ChildProcessTest, ARunawayChildCannotHoldTheCaller)
{
    CommandResult r;
    auto flood = ChildProcess::start({ "sh", "-c", "head -c 20971520 /dev/zero" }, r);
    ASSERT_TRUE(flood);
    EXPECT_EQ(finish(*flood).out.size(), size_t(16) << 20);

    auto parent = ChildProcess::start({ "sh", "-c", "sleep 5 & echo started" }, r);
    ASSERT_TRUE(parent);
    const auto begun = std::chrono::steady_clock::now();
    EXPECT_EQ(finish(*parent).out, "started\n");
    EXPECT_LT(std::chrono::steady_clock::now() - begun, std::chrono::seconds(4));
    kill(-parent->pid(), SIGKILL);
}
