#pragma once
// Files handed to the program from outside: a file manager's "open with", or a second start.
#include <string>
#include <vector>

namespace runtime {
class App;
}

namespace assembly {

// Brings the hub back with the media player chosen, which then adds and plays the files as
// dropped files; with no files the hub only comes back (a second start without a file).
void openFiles(runtime::App& app, const std::vector<std::string>& files);

} // namespace assembly
