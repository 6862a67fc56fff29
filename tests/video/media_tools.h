#pragma once
// Media for the tests of the web video tools, made with the real ffmpeg, and what ffprobe
// says about a file.
#include <array>
#include <cstdio>
#include <string>

namespace media_testing {

// The standard output of a shell command line (the test's own fixed commands only).
inline std::string output(const std::string& command)
{
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        std::array<char, 4096> buffer {};
        size_t n = 0;
        while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
            out.append(buffer.data(), n);
        pclose(pipe);
    }
    return out;
}

// A test picture with a tone, of this size and length, encoded with codec; extra options
// come before the output (for example an HLS muxer).
inline bool makeClip(const std::string& target, const std::string& size, int seconds,
    const std::string& codec = "libx264", const std::string& extra = "-f mp4")
{
    const std::string t = std::to_string(seconds);
    return std::system(("ffmpeg -v error -y -f lavfi -i testsrc=size=" + size + ":rate=25:duration=" + t
               + " -f lavfi -i sine=frequency=440:duration=" + t + " -c:v " + codec
               + " -pix_fmt yuv420p -g 25 -c:a aac " + extra + " '" + target + "'")
                           .c_str())
        == 0;
}

// ffprobe's "key=value" lines of a file's duration and streams (codec type, name, width).
inline std::string probe(const std::string& file)
{
    return output("ffprobe -v error -show_entries format=duration:stream=codec_type,codec_name,width -of "
                  "default=nw=1 '"
        + file + "' 2>/dev/null");
}

// The duration ffprobe gives, in seconds (0 when none).
inline double duration(const std::string& file)
{
    const std::string p = probe(file);
    const size_t at = p.find("duration=");
    return at == std::string::npos ? 0 : std::atof(p.c_str() + at + 9);
}

} // namespace media_testing
