#pragma once
// The program with the toolbox runner's job service running a fake nmcli first on PATH.
#include <gtest/gtest.h>

#include "platform/posix/nmcli_jobs.h"
#include "support/fake_network.h"
#include "support/test_program.h"
#include "toolbox/fake_tools.h"
#include "toolbox/runner_window.h"
#include "toolbox/toolbox_window.h"

namespace testing_support {

class RunnerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        p.app.provide<platform::Network>(net);
        p.app.provide<platform::NetworkJobs>(
            std::make_shared<platform::NmcliJobs>(cache(), p.env->userProfile()));
        p.start();
        p.app.advance(1);
    }
    // Opens the runner from the toolbox in a mode and lets its dispatcher run.
    toolbox::tooldiao& open(const char* mode)
    {
        p.app.get<toolbox::tool>().OpenToolWindow(mode);
        p.app.advance(1);
        return r();
    }
    toolbox::tooldiao& r() { return p.app.get<toolbox::tooldiao>(); }
    bool runnerOpen() const { return p.app.isLoaded<toolbox::tooldiao>(); }
    std::string tool(const std::string& name) const { return p.dataFile("tool/" + name); }
    // A file as the program is designed to write it, kept under tests/data/toolbox.
    static std::string designed(const std::string& name) { return readBytes(testData("toolbox/" + name)); }
    std::string cache() const { return (p.dir.path() / "webcache").string(); }
    // Lets real processes and the virtual clock run until done().
    bool until(const std::function<bool()>& done, int stepMs = 100) { return runUntil(p.app, done, stepMs); }

    TestProgram p;
    FakeTools tools;
    std::shared_ptr<FakeNetwork> net = std::make_shared<FakeNetwork>();
};

} // namespace testing_support
