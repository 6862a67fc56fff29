#include "common/feature_window.h"

#include "common/window_sizes.h"
#include "resources/resources.h"

namespace common {

void setupFeatureWindow(runtime::Form& window, const char* caption)
{
    window.setScaleMode(runtime::ScaleMode::Pixels);
    window.setOwnChrome(true);
    window.setCaption(caption);
    window.setWidth(kChildWidth);
    window.setHeight(kChildHeight);
    window.setBackColor(0xFFFFFF);
}

runtime::Picture resourcePicture(const char* path)
{
    return runtime::pictureFromBytes(std::string(resources::get(path)), path);
}

} // namespace common
