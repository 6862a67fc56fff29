#include "video/harvest_copy.h"

#include "platform/environment.h"
#include "platform/textfile.h"
#include "runtime/vbtext.h"

namespace video {

namespace {

// A song's own name is shown after the number; a name this long is cut.
constexpr int kTitleChars = 80;

// Sound: the song's name from a web address becomes one safe file-name part: no separators,
// no control characters, bytes that are not UTF-8 replaced, bounded length.
std::string safeTitle(const std::string& title)
{
    std::string out;
    size_t i = 0;
    while (i < title.size()) {
        char32_t c = vb::decodeUtf8(title, i);
        if (c < 0x20 || c == 0x7F || c == '/' || c == '\\')
            c = '_';
        vb::appendUtf8(out, c);
    }
    out = vb::Trim(out);
    if (vb::Len(out) > kTitleChars)
        out = vb::Left(out, kTitleChars);
    return out == "." || out == ".." ? std::string() : out;
}

} // namespace

HarvestCopier::HarvestCopier(std::string folder)
    : m_folder(std::move(folder))
{
}

std::string HarvestCopier::nameFor(const platform::CachedMedia& entry)
{
    std::string stem = "未命名 - " + std::to_string(entry.group);
    const std::string title = safeTitle(entry.title);
    if (!title.empty())
        stem += " " + title;
    // Sound: the designed name repeats for every song of one cache subfolder and replaced
    // earlier copies; a taken name (in this harvest or already in the folder) gets a number.
    std::string name = stem + entry.extension;
    for (int n = 2; m_used.count(name) || platform::fileExists(platform::joinPath(m_folder, name))
         || platform::folderExists(platform::joinPath(m_folder, name));
         ++n)
        name = stem + " (" + std::to_string(n) + ")" + entry.extension;
    m_used.insert(name);
    return name;
}

bool HarvestCopier::take(platform::MediaCache& cache, const platform::CachedMedia& entry)
{
    const std::string name = nameFor(entry);
    const std::string target = platform::joinPath(m_folder, name);
    const platform::Status copied = cache.copy(entry, target);
    const long long size = platform::fileSize(target);
    // Sound: the original goes only when its copy is whole; a failed copy keeps it.
    if (!copied || size < 0 || (entry.size >= 0 && size != entry.size)) {
        if (copied)
            platform::deleteFile(target);
        m_used.erase(name);
        ++m_tally.failed;
        return false;
    }
    const auto key = std::make_pair(size, platform::fileFingerprint(target));
    const auto [first, last] = m_copies.equal_range(key);
    for (auto it = first; it != last; ++it) {
        if (platform::sameFileBytes(it->second, target)) {
            platform::deleteFile(target);
            m_used.erase(name);
            ++m_tally.duplicates;
            return true;
        }
    }
    m_copies.emplace(key, target);
    ++m_tally.copied;
    return true;
}

} // namespace video
