// Writes the table of character readings the in-list search spells names with: every reading
// (without tones) of each character of a pinyin dictionary, and the simplified form of each
// traditional character. Run at build time on Debian's data files:
//   make_pinyin DICT.yaml TS.txt OUT.cpp
// DICT is a Rime dictionary ("字<TAB>reading[<TAB>weight]" lines after "..."); TS is a
// traditional-to-simplified character list ("繁<TAB>简 [more]" lines).
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The single code point of a UTF-8 text, or 0 when it holds more or none.
char32_t onlyCodePoint(const std::string& s)
{
    if (s.empty())
        return 0;
    const auto b0 = static_cast<unsigned char>(s[0]);
    const size_t n = b0 < 0x80 ? 1 : b0 >= 0xF0 ? 4 : b0 >= 0xE0 ? 3 : b0 >= 0xC0 ? 2 : 0;
    if (n == 0 || s.size() != n)
        return 0;
    char32_t c = n == 1 ? b0 : b0 & (0x7Fu >> n);
    for (size_t i = 1; i < n; ++i)
        c = c << 6 | (static_cast<unsigned char>(s[i]) & 0x3Fu);
    return c;
}

struct Character {
    std::vector<std::string> readings;
    char32_t simplified = 0;
};

bool readDictionary(const char* path, std::map<char32_t, Character>& chars)
{
    std::ifstream in(path);
    if (!in)
        return false;
    std::string line;
    bool body = false;
    while (std::getline(in, line)) {
        if (!body) {
            body = line == "...";
            continue;
        }
        std::istringstream fields(line);
        std::string word;
        std::string reading;
        if (!std::getline(fields, word, '\t') || !(fields >> reading))
            continue;
        const char32_t c = onlyCodePoint(word);
        if (c < 0x2E80 || reading.find_first_not_of("abcdefghijklmnopqrstuvwxyz") != std::string::npos)
            continue;
        auto& readings = chars[c].readings;
        readings.push_back(reading);
        // "ü" is written "v" (lv, nve); people type it as "u" too.
        if (const size_t v = reading.find('v'); v != std::string::npos) {
            reading[v] = 'u';
            readings.push_back(reading);
        }
    }
    return true;
}

bool readTraditional(const char* path, std::map<char32_t, Character>& chars)
{
    std::ifstream in(path);
    if (!in)
        return false;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string from;
        std::string to;
        if (!std::getline(fields, from, '\t') || !(fields >> to))
            continue;
        const char32_t t = onlyCodePoint(from);
        const char32_t s = onlyCodePoint(to);
        if (t && s && t != s)
            chars[t].simplified = s;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_pinyin DICT.yaml TS.txt OUT.cpp\n");
        return 2;
    }
    std::map<char32_t, Character> chars;
    if (!readDictionary(argv[1], chars) || !readTraditional(argv[2], chars)) {
        std::fprintf(stderr, "make_pinyin: cannot read %s or %s\n", argv[1], argv[2]);
        return 1;
    }
    // A traditional character the dictionary has no reading of reads as its simplified form.
    for (auto& [c, ch] : chars) {
        if (ch.readings.empty() && ch.simplified && chars.count(ch.simplified))
            ch.readings = chars[ch.simplified].readings;
    }
    std::set<std::string> syllableSet;
    for (auto& [c, ch] : chars) {
        std::set<std::string> unique(ch.readings.begin(), ch.readings.end());
        ch.readings.assign(unique.begin(), unique.end());
        syllableSet.insert(unique.begin(), unique.end());
    }
    const std::vector<std::string> syllables(syllableSet.begin(), syllableSet.end());
    std::map<std::string, size_t> syllableIndex;
    for (size_t i = 0; i < syllables.size(); ++i)
        syllableIndex[syllables[i]] = i;

    std::ostringstream out;
    out << "// Generated at build time by tools/make_pinyin.cpp from Debian's character readings\n"
           "// and traditional-to-simplified list; do not edit.\n"
           "#include \"pinyin/pinyin_table.h\"\n\nnamespace pinyin::table {\n\n"
           "const char* const kSyllables[] = {";
    for (size_t i = 0; i < syllables.size(); ++i)
        out << (i % 12 == 0 ? "\n    " : " ") << '"' << syllables[i] << "\",";
    out << "\n};\nconst size_t kSyllableCount = " << syllables.size()
        << ";\n\nconst uint16_t kReadings[] = {";
    std::vector<std::pair<char32_t, std::pair<size_t, size_t>>> spans;
    size_t at = 0;
    for (const auto& [c, ch] : chars) {
        for (const std::string& r : ch.readings) {
            out << (at % 16 == 0 ? "\n    " : " ") << syllableIndex[r] << ',';
            ++at;
        }
        spans.push_back({ c, { at - ch.readings.size(), ch.readings.size() } });
    }
    out << "\n};\n\nconst Char kChars[] = {";
    size_t i = 0;
    for (const auto& [c, ch] : chars) {
        const auto& span = spans[i].second;
        out << (i % 4 == 0 ? "\n    " : " ") << "{ 0x" << std::hex << static_cast<unsigned long>(c) << ", 0x"
            << static_cast<unsigned long>(ch.simplified ? ch.simplified : c) << std::dec << ", " << span.first
            << ", " << span.second << " },";
        ++i;
    }
    out << "\n};\nconst size_t kCharCount = " << chars.size() << ";\n\n} // namespace pinyin::table\n";

    std::ofstream file(argv[3], std::ios::binary);
    file << out.str();
    if (!file) {
        std::fprintf(stderr, "make_pinyin: cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
