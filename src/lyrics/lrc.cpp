#include "lyrics/lrc.h"

#include <algorithm>
#include <charconv>

namespace lyrics {

namespace {

std::string_view trimmed(std::string_view s)
{
    const size_t first = s.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

// Reads up to `most` digits at i; -1 when there is none.
long digitsAt(std::string_view s, size_t& i, size_t most)
{
    const size_t start = i;
    long value = 0;
    while (i < s.size() && i - start < most && s[i] >= '0' && s[i] <= '9')
        value = value * 10 + (s[i++] - '0');
    return i == start ? -1 : value;
}

// A time "m:ss", "mm:ss.xx", "mm:ss.xxx" or "mm:ss:xx" in milliseconds; -1 when it is none.
int timeOf(std::string_view t)
{
    size_t i = 0;
    const long minutes = digitsAt(t, i, 4);
    if (minutes < 0 || i >= t.size() || t[i++] != ':')
        return -1;
    const long seconds = digitsAt(t, i, 2);
    if (seconds < 0)
        return -1;
    long ms = 0;
    if (i < t.size() && (t[i] == '.' || t[i] == ':')) {
        const size_t from = ++i;
        const long fraction = digitsAt(t, i, 3);
        if (fraction < 0)
            return -1;
        ms = fraction * (i - from == 1 ? 100 : i - from == 2 ? 10 : 1);
    }
    return i == t.size() ? static_cast<int>(minutes * 60000 + seconds * 1000 + ms) : -1;
}

// A line's text after its time tags, split at its word times ("<mm:ss.xx>"); text before the
// first word time is sung from the line's own time.
Line lineOf(int ms, int offset, std::string_view rest)
{
    Line line;
    line.ms = std::max(0, ms - offset);
    int wordMs = line.ms;
    bool timedWords = false;
    size_t i = 0;
    while (i <= rest.size()) {
        const size_t open = rest.find('<', i);
        const size_t close = open == std::string_view::npos ? open : rest.find('>', open);
        const int at = close == std::string_view::npos ? -1 : timeOf(rest.substr(open + 1, close - open - 1));
        const size_t end = at >= 0 ? open : rest.size();
        if (end > i)
            line.words.push_back({ wordMs, std::string(rest.substr(i, end - i)) });
        if (at < 0)
            break;
        timedWords = true;
        wordMs = std::max(0, at - offset);
        i = close + 1;
    }
    for (const Word& w : line.words)
        line.text += w.text;
    line.text = std::string(trimmed(line.text));
    if (!timedWords)
        line.words.clear();
    return line;
}

// The lines of stamped texts in time order: the second line of a time is the first one's
// translation.
Lyrics timedLyrics(const std::vector<std::pair<int, std::string_view>>& stamped, int offset)
{
    Lyrics out;
    for (size_t k = 0; k < stamped.size(); ++k) {
        Line line = lineOf(stamped[k].first, offset, stamped[k].second);
        if (k > 0 && stamped[k].first == stamped[k - 1].first && out.lines.back().translation.empty()
            && !out.lines.back().text.empty()) {
            out.lines.back().translation = line.text;
            continue;
        }
        out.lines.push_back(std::move(line));
    }
    return out;
}

} // namespace

Lyrics parseLrc(std::string_view text)
{
    int offset = 0;
    std::vector<std::pair<int, std::string_view>> stamped;
    std::vector<std::string_view> untimed;
    size_t from = 0;
    while (from <= text.size()) {
        size_t end = text.find('\n', from);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view raw = trimmed(text.substr(from, end - from));
        from = end + 1;
        std::vector<int> times;
        bool tagLine = false;
        size_t i = 0;
        while (i < raw.size() && raw[i] == '[') {
            const size_t close = raw.find(']', i);
            if (close == std::string_view::npos)
                break;
            const std::string_view tag = raw.substr(i + 1, close - i - 1);
            if (const int t = timeOf(tag); t >= 0)
                times.push_back(t);
            else if (!times.empty())
                break;
            else if (tag.starts_with("offset:"))
                std::from_chars(
                    tag.data() + 7 + (tag.size() > 7 && tag[7] == '+'), tag.data() + tag.size(), offset);
            else
                tagLine = true;
            i = close + 1;
        }
        for (int t : times)
            stamped.push_back({ t, raw.substr(i) });
        if (times.empty() && !tagLine && !raw.empty())
            untimed.push_back(raw);
    }
    Lyrics out;
    if (stamped.empty()) {
        for (std::string_view l : untimed)
            out.lines.push_back({ -1, std::string(l), {}, {} });
        return out;
    }
    std::stable_sort(
        stamped.begin(), stamped.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return timedLyrics(stamped, offset);
}

int lineAt(const Lyrics& lyrics, int ms)
{
    if (!lyrics.timed())
        return -1;
    const auto after = std::upper_bound(
        lyrics.lines.begin(), lyrics.lines.end(), ms, [](int t, const Line& l) { return t < l.ms; });
    return static_cast<int>(after - lyrics.lines.begin()) - 1;
}

namespace {

// Characters (not bytes) of UTF-8 text.
size_t charactersOf(std::string_view s)
{
    return static_cast<size_t>(std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

} // namespace

double sungShare(const Line& line, int ms, int endMs)
{
    if (ms < line.ms)
        return 0;
    if (line.words.empty())
        return 1;
    size_t total = 0;
    for (const Word& w : line.words)
        total += charactersOf(w.text);
    if (total == 0)
        return 1;
    double sung = 0;
    for (size_t i = 0; i < line.words.size() && ms >= line.words[i].ms; ++i) {
        const Word& w = line.words[i];
        const int until = i + 1 < line.words.size() ? line.words[i + 1].ms : std::max(endMs, w.ms);
        const double part
            = until > w.ms ? std::min(1.0, static_cast<double>(ms - w.ms) / (until - w.ms)) : 1.0;
        sung += part * static_cast<double>(charactersOf(w.text));
    }
    return std::clamp(sung / static_cast<double>(total), 0.0, 1.0);
}

std::string plainText(const Lyrics& lyrics)
{
    std::string out;
    for (const Line& l : lyrics.lines) {
        out += l.text + "\n";
        if (!l.translation.empty())
            out += l.translation + "\n";
    }
    return out;
}

} // namespace lyrics
