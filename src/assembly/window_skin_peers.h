#pragma once
// Connects the shared skin procedures to the windows that hold the skin's state.
namespace runtime {
class App;
}

namespace assembly {

// Provides the common::SkinPeers service backed by the tray, hub, settings and updater windows.
void provideSkinPeers(runtime::App& app);

} // namespace assembly
