#pragma once
// Start-up care of the data folder: commits a killed run left half done, and temporaries.
#include <string>

namespace runtime {
class App;
}

namespace common {

// Finishes or drops the file commits that a crash interrupted, then removes the temporary
// files that killed runs left in the data folders, the desktop download folder and the
// folders noted with noteTemporaryFolder (those written before this program started and open
// in no process). Returns how many it removed.
int removeStaleTemporaries(const runtime::App& app);
// Notes a folder outside the data and download folders (an export's) before the program
// writes a temporary file there, so that a start after a killed run sweeps it too.
void noteTemporaryFolder(const runtime::App& app, const std::string& folder);

} // namespace common
