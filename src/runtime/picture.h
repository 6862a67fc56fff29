#pragma once
// Pictures as the windows hold them: the bytes of a picture file with its format and size.
#include <memory>
#include <string>
#include <string_view>

namespace runtime {

// A loaded picture. An empty picture (no bytes) is what clearing a picture property leaves.
struct Picture {
    std::shared_ptr<const std::string> bytes;
    std::string format; // "jpeg", "gif", "bmp" or "png"
    int width = 0;
    int height = 0;
    std::string source; // the file it was loaded from, when any

    [[nodiscard]] bool empty() const { return !bytes; }
    bool operator==(const Picture& o) const { return bytes == o.bytes && source == o.source; }
};

// Recognises a picture by its content, whatever the file's extension: JPEG, GIF, BMP or PNG.
// Returns an empty picture when the bytes are none of these or the header is damaged.
Picture pictureFromBytes(std::string bytes, std::string_view source = {});
// Loads a picture file; an empty path, a missing or unreadable file or a file that is not a
// picture gives an empty picture.
Picture loadPicture(const std::string& path);

} // namespace runtime
