#include "player/playlist_formats.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>

#include "common/page_text.h"
#include "platform/xml_reader.h"
#include "player/page_templates.h"
#include "runtime/ascii.h"
#include "runtime/vbtext.h"

namespace player::playlists {

namespace {

// Calls line(text) for every line of text (LF, CR LF or a lone CR ends one), skipping the
// over-long ones; stops when it returns false.
template <class F> void forEachLine(std::string_view text, F line)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find_first_of("\r\n", at);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view l = text.substr(at, end - at);
        at = end
            + (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2
                                                                                                        : 1);
        if (l.size() <= kMaxLine && !line(runtime::trimmedView(l)))
            return;
    }
}

std::vector<Entry> readM3u(std::string_view text, bool* cut)
{
    std::vector<Entry> out;
    std::string title;
    forEachLine(text, [&](std::string_view l) {
        if (l.empty())
            return true;
        if (l.front() == '#') {
            // "#EXTINF:seconds,title" names the entry on the next line.
            if (runtime::startsWithNoCase(l, "#extinf:")) {
                const size_t comma = l.find(',');
                title = comma == std::string_view::npos
                    ? std::string()
                    : std::string(runtime::trimmedView(l.substr(comma + 1)));
            }
            return true;
        }
        if (out.size() >= kMaxEntries) {
            *cut = true;
            return false;
        }
        out.push_back({ std::string(l), std::move(title) });
        title.clear();
        return true;
    });
    return out;
}

std::vector<Entry> readPls(std::string_view text, bool* cut)
{
    // FileN and TitleN by their numbers: the numbers may have gaps and come in any order, and
    // NumberOfEntries is often wrong, so it is not trusted.
    std::map<long, Entry> byNumber;
    bool inPlaylist = false;
    forEachLine(text, [&](std::string_view l) {
        if (!l.empty() && l.front() == '[') {
            inPlaylist = runtime::asciiLower(l) == "[playlist]";
            return true;
        }
        const size_t eq = l.find('=');
        if (!inPlaylist || eq == std::string_view::npos)
            return true;
        const std::string key = runtime::asciiLower(runtime::trimmedView(l.substr(0, eq)));
        const std::string_view value = runtime::trimmedView(l.substr(eq + 1));
        const bool file = key.starts_with("file");
        const bool named = key.starts_with("title");
        if (!file && !named)
            return true;
        const std::string digits = key.substr(file ? 4 : 5);
        if (digits.empty() || digits.size() > 9
            || !std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c); }))
            return true;
        const long n = std::stol(digits);
        if (!byNumber.count(n) && byNumber.size() >= kMaxEntries) {
            *cut = true;
            return true;
        }
        (file ? byNumber[n].location : byNumber[n].title) = std::string(value);
        return true;
    });
    std::vector<Entry> out;
    for (auto& [n, entry] : byNumber) {
        if (!entry.location.empty())
            out.push_back(std::move(entry));
    }
    return out;
}

constexpr std::string_view kXspfNamespace = "http://xspf.org/ns/0/";

// The tracks of an XSPF document: each playlist/trackList/track element's first location
// and title of its own (a title inside an extension or another namespace is not the track's).
std::vector<Entry> readXspf(std::string_view text, bool* cut)
{
    std::vector<Entry> out;
    // The open elements: an XSPF element by its local name, any other as empty.
    std::vector<std::string> open;
    Entry track;
    std::string content;
    const auto at = [&open](std::initializer_list<std::string_view> names) {
        return open.size() == names.size() && std::equal(open.begin(), open.end(), names.begin());
    };
    const auto inField = [&at] {
        return at({ "playlist", "trackList", "track", "location" })
            || at({ "playlist", "trackList", "track", "title" });
    };
    platform::xml::Handler handler;
    handler.start = [&](const platform::xml::Name& name) {
        const bool ours = name.space.empty() || name.space == kXspfNamespace;
        open.push_back(ours ? name.local : std::string());
        if (at({ "playlist", "trackList", "track" }))
            track = {};
        content.clear();
    };
    handler.text = [&](std::string_view piece) {
        if (inField() && content.size() <= kMaxLine)
            content += piece;
    };
    handler.end = [&](const platform::xml::Name&) {
        if (inField()) {
            std::string& field = open.back() == "location" ? track.location : track.title;
            if (field.empty())
                field = std::string(runtime::trimmedView(content));
        } else if (at({ "playlist", "trackList", "track" }) && !track.location.empty()) {
            if (out.size() < kMaxEntries)
                out.push_back(std::move(track));
            else
                *cut = true;
        }
        content.clear();
        open.pop_back();
    };
    if (!platform::xml::read(text, handler))
        return {};
    return out;
}

std::string xmlEscaped(std::string s)
{
    // Control characters cannot stand in XML 1.0 text.
    s.erase(std::remove_if(
                s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; }),
        s.end());
    return common::pages::escapeAttribute(s);
}

// A location as written: absolute paths stay paths in M3U and PLS, become file URIs in XSPF.
std::string uriOf(const std::string& location)
{
    return !location.empty() && location.front() == '/' ? fileUriOf(location) : location;
}

// A title on one line.
std::string oneLine(std::string s)
{
    std::replace_if(
        s.begin(), s.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return s;
}

} // namespace

Format formatOf(const std::string& path, std::string_view head)
{
    const size_t dot = path.rfind('.');
    const std::string ext
        = dot == std::string::npos ? std::string() : runtime::asciiLower(path.substr(dot + 1));
    if (ext == "m3u" || ext == "m3u8")
        return Format::M3u;
    if (ext == "pls")
        return Format::Pls;
    if (ext == "xspf")
        return Format::Xspf;
    if (head.substr(0, 3) == "\xEF\xBB\xBF")
        head.remove_prefix(3);
    head = runtime::trimmedView(head.substr(0, 512));
    if (runtime::startsWithNoCase(head, "#extm3u"))
        return Format::M3u;
    if (runtime::startsWithNoCase(head, "[playlist]"))
        return Format::Pls;
    if (head.find("<playlist") != std::string_view::npos && head.find("xspf.org") != std::string_view::npos)
        return Format::Xspf;
    return Format::None;
}

std::vector<Entry> read(Format format, std::string_view text, bool* cut)
{
    bool ignored = false;
    if (!cut)
        cut = &ignored;
    *cut = false;
    switch (format) {
    case Format::M3u:
        return readM3u(text, cut);
    case Format::Pls:
        return readPls(text, cut);
    case Format::Xspf:
        return readXspf(text, cut);
    case Format::None:
        break;
    }
    return {};
}

std::string write(Format format, const std::vector<Entry>& entries)
{
    std::string out;
    if (format == Format::M3u) {
        out = "#EXTM3U\n";
        for (const Entry& e : entries)
            out += "#EXTINF:" + std::to_string(e.seconds) + "," + oneLine(e.title) + "\n"
                + oneLine(e.location) + "\n";
    } else if (format == Format::Pls) {
        out = "[playlist]\n";
        for (size_t i = 0; i < entries.size(); ++i) {
            const std::string n = std::to_string(i + 1);
            out += "File" + n + "=" + oneLine(entries[i].location) + "\n";
            if (!entries[i].title.empty())
                out += "Title" + n + "=" + oneLine(entries[i].title) + "\n";
        }
        out += "NumberOfEntries=" + std::to_string(entries.size()) + "\nVersion=2\n";
    } else if (format == Format::Xspf) {
        out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\">\n  <trackList>\n";
        for (const Entry& e : entries) {
            out += "    <track><location>" + xmlEscaped(uriOf(e.location)) + "</location>";
            if (!e.title.empty())
                out += "<title>" + xmlEscaped(e.title) + "</title>";
            out += "</track>\n";
        }
        out += "  </trackList>\n</playlist>\n";
    }
    return out;
}

std::string localPathOfFileUri(std::string_view uri)
{
    if (!runtime::startsWithNoCase(uri, "file:"))
        return {};
    std::string_view rest = uri.substr(5);
    // "file:///p" and "file://localhost/p"; another host is not this machine's file.
    if (rest.substr(0, 2) == "//") {
        rest.remove_prefix(2);
        const size_t slash = rest.find('/');
        if (slash == std::string_view::npos)
            return {};
        const std::string host = runtime::asciiLower(rest.substr(0, slash));
        if (!host.empty() && host != "localhost")
            return {};
        rest.remove_prefix(slash);
    }
    if (rest.empty() || rest.front() != '/')
        return {};
    std::string path;
    for (size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == '%' && i + 2 < rest.size() && std::isxdigit(static_cast<unsigned char>(rest[i + 1]))
            && std::isxdigit(static_cast<unsigned char>(rest[i + 2]))) {
            path += static_cast<char>(std::stoi(std::string(rest.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else if (rest[i] == '?' || rest[i] == '#') {
            break;
        } else {
            path += rest[i];
        }
    }
    // A NUL cannot be in a path.
    if (path.find('\0') != std::string::npos)
        return {};
    return path;
}

std::string fileUriOf(const std::string& path)
{
    return "file://" + pages::percentEncode(path, " \"%#<>?[\\]^`{|}");
}

bool isWebAddress(const std::string& location)
{
    const size_t colon = location.find("://");
    if (colon == std::string::npos || colon == 0 || colon > 10)
        return false;
    const std::string scheme = vb::LCase(location.substr(0, colon));
    return scheme != "file";
}

std::string resolve(const std::string& location, const std::string& folder)
{
    // Sound: a NUL cannot be in a path or an address; what follows it would be cut off by
    // every file call and the playlist files would hold a line no one can use.
    if (location.empty() || location.find('\0') != std::string::npos)
        return {};
    if (isWebAddress(location))
        return location;
    std::string path = localPathOfFileUri(location);
    if (path.empty()) {
        if (location.starts_with("file:"))
            return {};
        path = location;
        // A drive path of the system the list was made on stays as written (and is missing
        // here); a relative path written with backslashes is one with slashes.
        const bool drive = path.size() >= 2 && path[1] == ':';
        if (!drive && path.find('/') == std::string::npos)
            std::replace(path.begin(), path.end(), '\\', '/');
        if (!drive && path.front() != '/')
            path = folder + "/" + path;
    }
    if (path.front() != '/')
        return path;
    return std::filesystem::path(path).lexically_normal().string();
}

} // namespace player::playlists
