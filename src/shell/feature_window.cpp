#include "shell/feature_window.h"

#include "resources/resources.h"
#include "shell/window_sizes.h"

namespace zelvora {

void setupFeatureWindow(rt::Form& window, const char* caption)
{
    window.setScaleMode(rt::ScaleMode::Pixels);
    window.setOwnChrome(true);
    window.setCaption(caption);
    window.setWidth(kChildWidth);
    window.setHeight(kChildHeight);
    window.setBackColor(0xFFFFFF);
}

rt::Picture resourcePicture(const char* path)
{
    return rt::pictureFromBytes(std::string(resources::get(path)), path);
}

} // namespace zelvora
