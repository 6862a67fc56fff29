#pragma once
// Assembling and starting the program, the same for the desktop and the headless console.
namespace rt {
class App;
}

namespace shell {

// Registers every window of the program under its name.
void registerWindows(rt::App& app);
// Starts the program as the desktop does: loads the hub (its start-up sequence loads the
// online music window and the tray window) and shows it.
void startProgram(rt::App& app);

} // namespace shell
