#include "runtime/desktop_close.h"

#include <map>

#include "runtime/form.h"

namespace runtime {

namespace {

// By window name: a window is one global instance, and a handler gets the live one.
std::map<std::string, std::function<void(Form&)>>& handlers()
{
    static std::map<std::string, std::function<void(Form&)>> byName;
    return byName;
}

} // namespace

void setDesktopCloseHandler(const std::string& windowName, std::function<void(Form&)> handler)
{
    handlers()[windowName] = std::move(handler);
}

bool handleDesktopClose(Form& form)
{
    const auto it = handlers().find(form.name());
    if (it == handlers().end() || !it->second)
        return false;
    it->second(form);
    return true;
}

} // namespace runtime
