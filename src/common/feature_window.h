#pragma once
// What the feature windows hosted by the hub share: their design size and look.
#include "runtime/form.h"
#include "runtime/picture.h"

namespace common {

// Gives a hosted feature window its design look: pixel scale, its own chrome, the child size.
void setupFeatureWindow(runtime::Form& window, const char* caption);

// One of the program's own pictures, by resource path ("pictures/ui/logo.png"); an empty
// picture when there is none.
runtime::Picture resourcePicture(const char* path);

} // namespace common
