#include "video/harvest_copy.h"

#include <filesystem>

#include "platform/environment.h"
#include "platform/textfile.h"
#include "runtime/vbtext.h"

namespace video {

namespace {

namespace fs = std::filesystem;

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
    // Sound: the folder is read once; a name lookup per candidate name made a large folder
    // slow with the square of its size.
    std::error_code ec;
    for (fs::directory_iterator it(m_folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        m_used.insert(name);
        std::error_code sizeError;
        const auto size = it->is_regular_file(sizeError) ? fs::file_size(it->path(), sizeError) : 0;
        if (!sizeError && platform::isMediaName(name) && !platform::isTemporaryName(name))
            m_unprinted.emplace(static_cast<long long>(size), it->path().string());
    }
}

std::string HarvestCopier::nameFor(const platform::CachedMedia& entry)
{
    std::string stem = "未命名 - " + std::to_string(entry.group);
    const std::string title = safeTitle(entry.title);
    if (!title.empty())
        stem += " " + title;
    // Sound: the designed name repeats for every song of one cache subfolder and replaced
    // earlier copies; a taken name (in this harvest or already in the folder) gets a number,
    // counting on from the last number given for it.
    const std::string plain = stem + entry.extension;
    std::string name = plain;
    if (m_used.count(name)) {
        int& n = m_nextNumber.try_emplace(plain, 2).first->second;
        do
            name = stem + " (" + std::to_string(n++) + ")" + entry.extension;
        while (m_used.count(name));
    }
    m_used.insert(name);
    return name;
}

void HarvestCopier::release(const std::string& name)
{
    m_used.erase(name);
}

const std::string* HarvestCopier::sameSong(const std::string& file, const Key& key)
{
    const auto [first, last] = m_unprinted.equal_range(key.first);
    for (auto it = first; it != last; ++it)
        m_songs.emplace(Key { it->first, platform::fileFingerprint(it->second) }, it->second);
    m_unprinted.erase(first, last);
    const auto [from, to] = m_songs.equal_range(key);
    for (auto it = from; it != to; ++it) {
        if (it->second != file && platform::sameFileBytes(it->second, file))
            return &it->second;
    }
    return nullptr;
}

bool HarvestCopier::removeOriginal(
    platform::MediaCache& cache, const platform::CachedMedia& entry, int& count)
{
    switch (cache.remove(entry)) {
    case platform::MediaStep::Done:
        ++count;
        return true;
    case platform::MediaStep::Changed:
        ++m_tally.partial;
        return false;
    case platform::MediaStep::Failed:
        // The song is in the folder; the next harvest finds it there and tries again.
        ++count;
        return false;
    }
    return false;
}

bool HarvestCopier::take(platform::MediaCache& cache, const platform::CachedMedia& entry)
{
    // Sound: a song the folder holds already (a harvest that was stopped half-way, or the
    // same song cached twice) is not copied again; only its original goes.
    if (!entry.file.empty() && entry.size >= 0) {
        const Key key { entry.size, platform::fileFingerprint(entry.file) };
        if (sameSong(entry.file, key))
            return removeOriginal(cache, entry, m_tally.duplicates);
    }
    const std::string name = nameFor(entry);
    const std::string target = platform::joinPath(m_folder, name);
    const platform::MediaStep copied = cache.copy(entry, target);
    const long long size = platform::fileSize(target);
    // Sound: the original goes only when its copy is whole; a failed copy keeps it.
    if (copied != platform::MediaStep::Done || size < 0 || (entry.size >= 0 && size != entry.size)) {
        if (copied == platform::MediaStep::Done)
            // A copy that cannot be removed stays in the folder; the tally does not count it.
            std::ignore = platform::deleteFile(target);
        release(name);
        ++(copied == platform::MediaStep::Changed ? m_tally.partial : m_tally.failed);
        return false;
    }
    const Key key { size, platform::fileFingerprint(target) };
    if (entry.file.empty() && sameSong(target, key)) {
        std::ignore = platform::deleteFile(target); // as above
        release(name);
        return removeOriginal(cache, entry, m_tally.duplicates);
    }
    const auto song = m_songs.emplace(key, target);
    int copies = 0;
    const bool removed = removeOriginal(cache, entry, copies);
    // Sound: a song that changed after its copy was made (a browser still writing it) keeps
    // its original, and the copy, which is not the whole song, goes.
    if (copies == 0) {
        m_songs.erase(song);
        std::ignore = platform::deleteFile(target); // as above
        release(name);
    }
    m_tally.copied += copies;
    return removed;
}

} // namespace video
