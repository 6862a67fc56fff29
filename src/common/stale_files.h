#pragma once
// Start-up care of the data folder: commits a killed run left half done, and temporaries.
namespace runtime {
class App;
}

namespace common {

// Finishes or drops the file commits that a crash interrupted, then removes the temporary
// files that killed runs left in the data folders and the desktop download folder (those
// written before this program started and open in no process). Returns how many it removed.
int removeStaleTemporaries(const runtime::App& app);

} // namespace common
