#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace testing_support {

TempDir::TempDir()
{
    std::random_device rd;
    const auto base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = base / ("zelvora-test-" + std::to_string(rd()));
        std::error_code ec;
        if (std::filesystem::create_directory(candidate, ec)) {
            m_path = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::permissions(
        m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_path, ec);
}

std::string readBytes(const std::filesystem::path& file)
{
    // Through the stream buffer: GCC's null-dereference check misfires inside
    // istreambuf_iterator at -O2.
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return std::move(bytes).str();
}

void writeBytes(const std::filesystem::path& file, const std::string& bytes)
{
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::filesystem::path testData(const std::string& name)
{
    return std::filesystem::path(ZELVORA_TEST_DATA) / name;
}

namespace {

std::string unescaped(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        if (c == 'x' && i + 2 < text.size()) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c;
        }
    }
    return out;
}

std::vector<std::string> cells(const std::string& line, bool escapes)
{
    // Every tab separates two cells, so an empty last cell is kept.
    std::vector<std::string> row;
    for (size_t start = 0;;) {
        const size_t tab = line.find('\t', start);
        const std::string column = line.substr(start, tab - start);
        row.push_back(escapes ? unescaped(column) : column);
        if (tab == std::string::npos)
            return row;
        start = tab + 1;
    }
}

// A header that does not start with the name column means a table written without one, whose
// first row would be taken for the header.
bool checkedHeader(const std::string& table, const std::vector<std::string>& header)
{
    if (header.front() == "name" && header.size() > 1)
        return true;
    ADD_FAILURE() << "tests/data/" << table << " does not start with a header line \"name\t...\"";
    return false;
}

} // namespace

std::vector<TableRow> testRows(const std::string& table, bool escapes)
{
    std::vector<TableRow> rows;
    std::istringstream lines(readBytes(testData(table)));
    std::string line;
    std::getline(lines, line);
    const std::vector<std::string> header = cells(line, false);
    if (!checkedHeader(table, header))
        return rows;
    const bool openEnded = header.back().ends_with("...");
    while (std::getline(lines, line)) {
        TableRow& row = rows.emplace_back();
        std::vector<std::string> all = cells(line, escapes);
        row.name = all.front();
        row.assign(all.begin() + 1, all.end());
        if (row.name.empty() || (!openEnded && all.size() > header.size()))
            ADD_FAILURE() << "tests/data/" << table << " row \"" << row.name
                          << "\": no name, or more cells than the header names";
    }
    // A table that is gone or empty would make every loop over it pass without a check.
    if (rows.empty())
        ADD_FAILURE() << "no rows in tests/data/" << table;
    return rows;
}

} // namespace testing_support
