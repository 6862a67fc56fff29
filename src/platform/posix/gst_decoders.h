#pragma once
// GStreamer's decoders, asked once through gst-inspect-1.0 in the background from start-up.
#include <memory>

#include "platform/decoders.h"
#include "platform/posix/child_process.h"

namespace platform {

class GstDecoders : public Decoders {
public:
    // Starts the question (a child process of a fraction of a second).
    GstDecoders();
    ~GstDecoders() override;
    // Waits for the answer at most a few seconds; empty when the tool is absent or fails.
    std::vector<std::string> missing() override;

private:
    std::unique_ptr<ChildProcess> m_child;
    CommandResult m_result;
    bool m_answered = false;
    std::vector<std::string> m_missing;
};

} // namespace platform
