#include "platform/processes.h"

namespace platform {

bool Processes::running(const std::string& description) const
{
    for (const ProcessInfo& p : list()) {
        if (p.description == description)
            return true;
    }
    return false;
}

} // namespace platform
