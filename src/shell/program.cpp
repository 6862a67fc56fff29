#include "shell/program.h"

#include "runtime/app.h"

namespace shell {

void registerWindows(rt::App&) {}

void startProgram(rt::App&) {}

}  // namespace shell
