// The playlist menu's commands.
#include "traymenu/tray_window.h"

namespace zelvora {

void Form6::wirePlaylistMenu() {}

}  // namespace zelvora
