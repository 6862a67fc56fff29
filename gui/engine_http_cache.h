#pragma once
// The web engine's HTTP cache, emptied through the web module while it runs.
#include "platform/web_engine_cache.h"

namespace gui {

class WebModule;

class EngineHttpCache : public platform::WebEngineCache {
public:
    explicit EngineHttpCache(WebModule& web)
        : m_web(web)
    {
    }
    platform::Status clear() override;

private:
    WebModule& m_web;
};

} // namespace gui
