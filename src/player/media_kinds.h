#pragma once
// What kind of media an address is, judged by its upper-cased ending or prefix, and the
// folder patterns that list each kind.
#include <initializer_list>
#include <string>
#include <string_view>

namespace player::media {

// The four tables a path is classified by; None is not a media file.
enum class Kind { None, Seed, PictureText, Music, Video };

// Folder patterns of the file list box, one per kind.
inline constexpr const char* kSeedPattern = "*.QSED;*.TORRENT;*.BSED";
inline constexpr const char* kPicturePattern
    = "*.TXT;*.INI;*.IDX;*.VBAK;*.JPG;*.JPEG;*.JPE;*.PNG;*.GIF;*.ICO;*.BMP;*.TIF;*.PCX;*.TGA";
inline constexpr const char* kMusicPattern
    = "*.WAV;*.MP2;*.OGG;*.M4A;*.AMR;*.MMF;*.AAC;*.FLAC;*.MP3;*.WMA;*.MID";
inline constexpr const char* kVideoPattern
    = "*.MOV;*.3GP;*.AVI;*.SWF;*.MP4;*.WMV;*.MPG;*.VOB;*.RMVB;*.MKV;*.FLV";
// Every kind a folder scan of the playlist menu adds.
inline constexpr const char* kAddFolderPattern
    = "*.mp3;*.WAV;*.MP2;*.OGG;*.M4A;*.AMR;*.MMF;*.AAC;*.FLAC;*.MP3;*.WMA;*.MID;*.MOV;*.3GP;*.AVI;*.SWF;*."
      "MP4;"
      "*.WMV;*.MPG;*.VOB;*.RMVB;*.MKV;*.FLV;*.QSED;*.TORRENT;*.BSED";

// The text after the last "." of a path, upper-cased; the whole path when it has no ".".
std::string extensionOf(std::string_view path);
// Whether the upper-cased address ends with one of the endings.
bool endsWithAny(std::string_view upper, std::initializer_list<std::string_view> endings);
// Whether the upper-cased address starts with one of the prefixes.
bool startsWithAny(std::string_view upper, std::initializer_list<std::string_view> prefixes);

// Whether an address has a scheme the player plays: web and stream addresses (http, https,
// mms, rtsp, rtmp) and the seed players' and FTP links (qvod, bdhd, ftp).
bool isStreamAddress(std::string_view address);
// ".QSED", ".BSED" or ".TORRENT" at the end.
bool isSeed(std::string_view path);
// A picture or text file by its extension.
bool isPictureOrText(std::string_view path);
// One of the music endings.
bool isMusic(std::string_view path);
// One of the video endings.
bool isVideo(std::string_view path);
// The first table that holds the path, in the order seed, picture and text, music, video.
Kind kindOf(std::string_view path);
// The folder pattern of a kind (empty for None).
const char* patternOf(Kind kind);
// Whether the media player may be given the address: a path that is a regular file or
// nothing yet (the engine reports a missing file itself), or an address of a scheme the
// dispatcher plays. A FIFO, device, socket or folder is not: opening one can wait for ever.
bool reachesEngine(const std::string& address);

} // namespace player::media
