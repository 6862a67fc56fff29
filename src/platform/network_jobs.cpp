#include "platform/network_jobs.h"

#include "platform/textfile.h"

namespace platform {

namespace {

std::string padded(std::string text, int columns, int used)
{
    text.append(static_cast<size_t>(columns > used ? columns - used : 1), ' ');
    return text;
}

// Tabs and line ends would split a record; connection names may hold them.
std::string oneField(std::string text)
{
    for (char& c : text) {
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    }
    return text;
}

std::vector<std::string> splitTabs(const std::string& line)
{
    std::vector<std::string> out(1);
    for (char c : line) {
        if (c == '\t')
            out.emplace_back();
        else
            out.back() += c;
    }
    return out;
}

std::string recordPath(const JobPlace& place)
{
    return place.toolFolder + kDnsRecordFile;
}

// The record file is a few lines; anything much larger is not one.
constexpr size_t kMaxRecordBytes = 1 << 20;

} // namespace

std::string interfaceTableLine(bool connected, const std::string& name)
{
    // The state columns hold three-character words: each counts as three characters.
    std::string line = padded("已启用", 15, 3);
    line += connected ? padded("已连接", 15, 3) : padded("已断开连接", 15, 5);
    line += "专用";
    line += std::string(10, ' ');
    return line + name;
}

std::vector<std::string> interfaceTableHeading()
{
    return { "", padded("管理员状态", 15, 5) + padded("状态", 15, 2) + padded("类型", 12, 2) + "接口名称",
        std::string(73, '-') };
}

std::vector<DnsRecord> readDnsRecords(const JobPlace& place)
{
    std::vector<std::string> lines;
    std::vector<DnsRecord> out;
    if (readLinesChecked(recordPath(place), place.codePage, lines, kMaxRecordBytes) != ReadOutcome::Read)
        return out;
    for (const std::string& line : lines) {
        const std::vector<std::string> f = splitTabs(line);
        if (f.size() != 5 || f[0].empty())
            continue;
        out.push_back({ f[0], f[1], f[2], f[3], f[4] });
    }
    return out;
}

bool writeDnsRecords(const JobPlace& place, const std::vector<DnsRecord>& records)
{
    if (records.empty())
        return !fileExists(recordPath(place)) || deleteFile(recordPath(place)).ok;
    std::vector<std::string> lines;
    lines.reserve(records.size());
    for (const DnsRecord& r : records) {
        lines.push_back(oneField(r.uuid) + '\t' + oneField(r.device) + '\t' + oneField(r.name) + '\t'
            + oneField(r.servers) + '\t' + oneField(r.ignoreAuto));
    }
    return writeLines(recordPath(place), lines, place.codePage).ok;
}

} // namespace platform
