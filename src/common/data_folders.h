#pragma once
// The per-user data folder "my documents/zelv" under the user profile and its files.
#include <string>

namespace runtime {
class App;
}

namespace common {

// Folder and file paths under the user profile, native separators.
struct DataPaths {
    std::string root; // .../my documents/zelv/
    std::string skin; // .../my documents/zelv/skin/
    std::string iniDb; // .../skin/ini.db
    std::string zelvJpg; // .../skin/zelv.jpg
    std::string temp; // .../my documents/zelv/Temp/
    std::string tool; // .../my documents/zelv/tool/
};

DataPaths dataPaths(const runtime::App& app);

// Creates "my documents/zelv" and then its "skin" folder when missing.
void EnsureDataFolders(const runtime::App& app);
// Creates "my documents/zelv" and then its "Temp" folder when missing.
void EnsureTempFolder(const runtime::App& app);
// Creates "my documents/zelv" and then its "tool" folder when missing.
void EnsureToolFolder(const runtime::App& app);

// The text-file code page of this installation.
std::string codePage(const runtime::App& app);

} // namespace common
