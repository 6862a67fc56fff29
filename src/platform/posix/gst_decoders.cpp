#include "platform/posix/gst_decoders.h"

#include <chrono>
#include <thread>

namespace platform {

GstDecoders::GstDecoders()
{
    m_child = ChildProcess::start({ "gst-inspect-1.0", "--print-plugin-auto-install-info" }, m_result);
}

GstDecoders::~GstDecoders() = default;

std::vector<std::string> GstDecoders::missing()
{
    if (m_answered)
        return m_missing;
    m_answered = true;
    if (!m_child)
        return m_missing;
    // A registry that is being rebuilt takes a while; a hung tool is not waited for long.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!m_child->poll()) {
        if (std::chrono::steady_clock::now() > deadline) {
            m_child.reset();
            return m_missing;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const CommandResult& result = m_child->result();
    if (result.exitCode == 0)
        m_missing = formatsWithoutDecoder(result.out);
    m_child.reset();
    return m_missing;
}

} // namespace platform
