#include "gui/desktop.h"

#include <cstdio>

namespace gui {

int runDesktop(int, char**, const DesktopOptions&)
{
    std::fprintf(stderr, "zelvora: the desktop front end is not built yet; use --headless\n");
    return 1;
}

}  // namespace gui
