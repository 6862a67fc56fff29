#pragma once
// The program with the toolbox runner's job service running a fake nmcli first on PATH, and a
// process list the test sets.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "platform/posix/nmcli_jobs.h"
#include "platform/processes.h"
#include "support/fake_network.h"
#include "support/test_program.h"
#include "toolbox/fake_tools.h"
#include "toolbox/runner_window.h"
#include "toolbox/toolbox_window.h"

namespace testing_support {

class SomeProcesses : public platform::Processes {
public:
    std::vector<platform::ProcessInfo> list() const override
    {
        std::vector<platform::ProcessInfo> out;
        for (const std::string& d : names)
            out.push_back({ 1, d });
        return out;
    }
    std::vector<std::string> names;
};

class RunnerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        p.app.provide<platform::Network>(net);
        p.app.provide<platform::Processes>(processes);
        p.app.provide<platform::NetworkJobs>(
            std::make_shared<platform::NmcliJobs>(cache(), p.env->userProfile()));
        p.start();
        p.app.advance(1);
    }
    // Opens the runner from the toolbox in a mode and lets its dispatcher run.
    toolbox::tooldiao& open(const char* mode)
    {
        box().OpenToolWindow(mode);
        p.app.advance(1);
        return r();
    }
    toolbox::tool& box() { return p.app.get<toolbox::tool>(); }
    toolbox::tooldiao& r() { return p.app.get<toolbox::tooldiao>(); }
    bool runnerOpen() const { return p.app.isLoaded<toolbox::tooldiao>(); }
    std::string tool(const std::string& name) const { return p.dataFile("tool/" + name); }
    // A file as the program is designed to write it, kept under tests/data/toolbox.
    static std::string designed(const std::string& name) { return readBytes(testData("toolbox/" + name)); }
    std::string cache() const { return (p.dir.path() / "webcache").string(); }
    // Moves the virtual clock on while real processes run, until done() or five seconds.
    bool until(const std::function<bool()>& done, int stepMs = 100)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!done() && std::chrono::steady_clock::now() < deadline) {
            p.app.advance(stepMs);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return done();
    }

    TestProgram p;
    FakeTools tools;
    std::shared_ptr<FakeNetwork> net = std::make_shared<FakeNetwork>();
    std::shared_ptr<SomeProcesses> processes = std::make_shared<SomeProcesses>();
};

} // namespace testing_support
