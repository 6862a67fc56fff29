#pragma once
// What ffmpeg may read when it joins downloaded pieces: each piece as the container its
// first bytes show, and no other file or address.
#include <string>
#include <vector>

namespace video {

// The ffmpeg demuxer of a downloaded media file, judged by its first bytes: "mpegts", "mov",
// "matroska", "flv", "ogg", "aac" or "mp3"; empty for anything else (a playlist, a list of
// files, a page), which must not reach ffmpeg.
std::string containerOf(const std::string& file);

// The options before an "-i" that make ffmpeg or ffprobe read the input with demuxer and
// open nothing but local files of the formats allowed (demuxer, and for a list of files
// also the list's own demuxer).
std::vector<std::string> lockedInput(const std::string& demuxer, const std::string& listDemuxer = "");

} // namespace video
