#pragma once
// The HTTP cache of the front end's web engine, which only the running engine can empty.
#include "platform/result.h"

namespace platform {

class WebEngineCache {
public:
    virtual ~WebEngineCache() = default;
    // Empties the engine's HTTP cache (nothing to do while no page has been shown).
    virtual Status clear() = 0;
};

} // namespace platform
