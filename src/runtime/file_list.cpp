// The hidden file list box: the files of one folder that match a pattern list.
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "runtime/controls.h"
#include "runtime/vbtext.h"

namespace runtime {

FileListBox::FileListBox(Form& form, std::string name)
    : ListBox(form, std::move(name), ControlKind::FileListBox)
{
    Control::setVisible(false);
}

void FileListBox::setPath(std::string_view folder)
{
    m_path = folder;
    refresh();
}

void FileListBox::setPattern(std::string_view patterns)
{
    m_pattern = patterns;
    refresh();
}

void FileListBox::refresh()
{
    setItems(m_path.empty() ? std::vector<std::string>() : listMatchingFiles(m_path, m_pattern));
}

std::optional<std::string> FileListBox::property(std::string_view name) const
{
    if (name == "path")
        return m_path;
    if (name == "pattern")
        return m_pattern;
    return ListBox::property(name);
}

namespace {

// Matches a file name against one "*.EXT", "*.*" or "NAME.*" style pattern, without case.
bool matchesPattern(const std::string& upperName, const std::string& upperPattern)
{
    if (upperPattern == "*.*" || upperPattern == "*")
        return true;
    // General wildcard match with '*' and '?'.
    size_t n = 0, p = 0, starP = std::string::npos, starN = 0;
    while (n < upperName.size()) {
        if (p < upperPattern.size() && (upperPattern[p] == '?' || upperPattern[p] == upperName[n])) {
            ++n;
            ++p;
        } else if (p < upperPattern.size() && upperPattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < upperPattern.size() && upperPattern[p] == '*')
        ++p;
    return p == upperPattern.size();
}

} // namespace

std::vector<std::string> listMatchingFiles(const std::string& folder, std::string_view patterns)
{
    std::vector<std::string> upperPatterns;
    std::string rest(patterns);
    size_t start = 0;
    while (start <= rest.size()) {
        const size_t end = rest.find(';', start);
        const std::string one
            = vb::Trim(rest.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (!one.empty())
            upperPatterns.push_back(vb::UCase(one));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec);
    if (ec)
        return names;
    for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
        if (ec)
            break;
        std::error_code fe;
        if (!it->is_regular_file(fe))
            continue;
        const std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.')
            continue;
        const std::string upper = vb::UCase(name);
        const bool match = std::any_of(upperPatterns.begin(), upperPatterns.end(),
            [&](const std::string& p) { return matchesPattern(upper, p); });
        if (match)
            names.push_back(name);
    }
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const std::string ua = vb::UCase(a);
        const std::string ub = vb::UCase(b);
        return ua != ub ? ua < ub : a < b;
    });
    return names;
}

} // namespace runtime
