#include "downloads/list_file.h"

#include <charconv>

#include "platform/textfile.h"

namespace downloads {

namespace {

// The first line of the file; a file that does not start with it is not read.
constexpr const char* kHeading = "zelvora-downloads 1";
// The list is small; a larger file is not ours.
constexpr size_t kMaxListBytes = size_t { 16 } * 1024 * 1024;

std::string escaped(const std::string& field)
{
    std::string out;
    for (char c : field) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

std::string unescaped(const std::string& field)
{
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            out += field[i];
            continue;
        }
        const char c = field[++i];
        out += c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
    }
    return out;
}

std::vector<std::string> fieldsOf(const std::string& line)
{
    std::vector<std::string> out;
    size_t start = 0;
    while (true) {
        const size_t tab = line.find('\t', start);
        out.push_back(
            unescaped(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start)));
        if (tab == std::string::npos)
            return out;
        start = tab + 1;
    }
}

// A whole decimal number within [low, high], else fallback.
long long number(const std::string& text, long long low, long long high, long long fallback)
{
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        return fallback;
    return value;
}

constexpr long long kHuge = 1LL << 50;

bool readJob(const std::vector<std::string>& f, Job& job)
{
    if (f.size() < 13)
        return false;
    job.id = static_cast<int>(number(f[1], 1, 1 << 30, 0));
    const long long state = number(f[2], 0, 4, -1);
    if (job.id == 0 || state < 0 || f[5].empty())
        return false;
    job.state = static_cast<JobState>(state);
    // A download the last run was fetching goes on where it stopped.
    if (job.state == JobState::Running)
        job.state = JobState::Waiting;
    job.title = f[3];
    job.url = f[4];
    job.file = f[5];
    job.size = number(f[6], 0, kHuge, 0);
    job.received = number(f[7], 0, kHuge, 0);
    job.fragments = f[8] == "1";
    job.joined = static_cast<int>(number(f[9], 0, 1 << 30, 0));
    job.version = f[10];
    job.reason = f[11];
    for (size_t i = 12; i < f.size(); ++i) {
        if (!f[i].empty())
            job.headers.push_back(f[i]);
    }
    return true;
}

bool readPiece(const std::vector<std::string>& f, Job& job)
{
    if (f.size() != 6)
        return false;
    Piece piece;
    piece.url = f[1];
    piece.first = number(f[2], -1, kHuge, -2);
    piece.last = number(f[3], -1, kHuge, -2);
    piece.done = number(f[4], 0, kHuge, -1);
    piece.finished = f[5] == "1";
    if (piece.first < -1 || piece.last < -1 || piece.done < 0)
        return false;
    job.pieces.push_back(std::move(piece));
    return true;
}

// A job whose pieces do not add up starts its pieces again rather than joining wrong bytes.
void checkPieces(Job& job)
{
    bool sound = job.joined <= static_cast<int>(job.pieces.size());
    for (const Piece& piece : job.pieces) {
        if (piece.first >= 0 && piece.last >= 0 && piece.done > piece.last - piece.first + 1)
            sound = false;
    }
    if (!sound) {
        job.pieces.clear();
        job.joined = 0;
        job.received = 0;
    }
}

} // namespace

ListContent readList(const std::string& path)
{
    ListContent content;
    const auto file = platform::readFile(path, kMaxListBytes);
    if (!file)
        return content;
    const std::string& bytes = *file;
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        lines.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    if (lines.empty() || lines.front() != kHeading)
        return content;
    Job* job = nullptr;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::vector<std::string> f = fieldsOf(lines[i]);
        if (f[0] == "settings" && (f.size() == 4 || f.size() == 5)) {
            content.settings.parallel = static_cast<int>(number(f[1], 1, kMaxParallel, 3));
            content.settings.speedLimitKb = static_cast<int>(number(f[2], 0, 1 << 30, 0));
            content.settings.connections = static_cast<int>(number(f[3], 1, kMaxConnections, 4));
            // A list written before the clipboard offer existed leaves it off.
            content.settings.offerCopied = f.size() == 5 && f[4] == "1";
        } else if (f[0] == "job") {
            Job read;
            job = readJob(f, read) ? &content.jobs.emplace_back(std::move(read)) : nullptr;
        } else if (f[0] == "piece" && job && !readPiece(f, *job)) {
            job->pieces.clear();
        }
    }
    for (Job& each : content.jobs)
        checkPieces(each);
    return content;
}

platform::Status writeList(const std::string& path, const ListContent& content, bool durable)
{
    std::string out = std::string(kHeading) + "\n";
    const QueueSettings& s = content.settings;
    out += "settings\t" + std::to_string(s.parallel) + "\t" + std::to_string(s.speedLimitKb) + "\t"
        + std::to_string(s.connections) + "\t" + (s.offerCopied ? "1" : "0") + "\n";
    for (const Job& job : content.jobs) {
        // A download a window waits for is kept as paused: after a restart it goes on when
        // that window starts it again (its name and address are the window's to choose) or
        // when the person resumes it in the list, never behind the window's back.
        const bool waitedFor
            = job.oneTry && (job.state == JobState::Waiting || job.state == JobState::Running);
        const JobState state = waitedFor ? JobState::Paused : job.state;
        out += "job\t" + std::to_string(job.id) + "\t" + std::to_string(static_cast<int>(state)) + "\t"
            + escaped(job.title) + "\t" + escaped(job.url) + "\t" + escaped(job.file) + "\t"
            + std::to_string(job.size) + "\t" + std::to_string(job.received) + "\t"
            + (job.fragments ? "1" : "0") + "\t" + std::to_string(job.joined) + "\t" + escaped(job.version)
            + "\t" + escaped(job.reason);
        for (const std::string& header : job.headers)
            out += "\t" + escaped(header);
        if (job.headers.empty())
            out += "\t";
        out += "\n";
        for (const Piece& piece : job.pieces) {
            out += "piece\t" + escaped(piece.url) + "\t" + std::to_string(piece.first) + "\t"
                + std::to_string(piece.last) + "\t" + std::to_string(piece.done) + "\t"
                + (piece.finished ? "1" : "0") + "\n";
        }
    }
    return platform::replaceFile(path, out, durable);
}

} // namespace downloads
