#include "gui/engine_http_cache.h"

#include "gui/web_module.h"

namespace gui {

namespace {
using ClearFunction = bool (*)();
constexpr const char* kClearSymbol = "zelvoraClearHttpCache";
} // namespace

platform::Status EngineHttpCache::clear()
{
    // Before the module runs, its cache is only the files in the cache folder.
    if (!m_web.loaded())
        return platform::Status::success();
    auto clearCache = reinterpret_cast<ClearFunction>(m_web.symbol(kClearSymbol));
    if (!clearCache)
        return platform::Status::failure("浏览器缓存没有清除");
    clearCache();
    return platform::Status::success();
}

} // namespace gui
