#pragma once
// What the feature windows hosted by the hub share: their design size and look.
#include "runtime/form.h"

namespace zelvora {

// Gives a hosted feature window its design look: pixel scale, its own chrome, the child size.
void setupFeatureWindow(rt::Form& window, const char* caption);

}  // namespace zelvora
