#pragma once
// A fresh folder under the system's temporary folder, removed with its contents at the end.
#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // The path of a name inside the folder, as text.
    std::string file(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// Whole file contents as bytes, or an empty text when unreadable.
std::string readBytes(const std::filesystem::path& file);
// Writes bytes to a file, creating its folder.
void writeBytes(const std::filesystem::path& file, const std::string& bytes);

// One row of a table: its name (the first column, which every failure in the row should carry)
// and the cells after it, counted from 0.
struct TableRow : std::vector<std::string> {
    std::string name;
};

// A fixed expectation kept as a file under tests/data (name relative to it), or a table there:
// one row a line, columns parted by tabs. The first line names the columns and the first column
// is "name"; a last column name ending in "..." takes any number of cells. With escapes,
// \r \n \t \\ and \xHH in a column stand for those bytes (line ends, tabs and binary bytes).
std::filesystem::path testData(const std::string& name);
std::vector<TableRow> testRows(const std::string& name, bool escapes = false);

} // namespace testing_support
