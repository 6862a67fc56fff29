#include "platform/tray.h"

#include "runtime/control.h"
#include "runtime/form.h"

namespace platform {

void deliverTrayMessage(const NotifyIconRecord& record, int message)
{
    if (!record.window)
        return;
    runtime::MouseEvent e;
    e.button = runtime::NoButton;
    e.x = static_cast<double>(message) * runtime::kTwipsPerPixel;
    record.window->mouseMove(e);
}

bool RecordingTray::add(const NotifyIconRecord& record)
{
    m_calls.push_back("add");
    m_record = record;
    m_shown = true;
    return true;
}

bool RecordingTray::remove(const NotifyIconRecord&)
{
    m_calls.push_back("delete");
    m_shown = false;
    return true;
}

} // namespace platform
