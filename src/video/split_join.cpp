// The joining job of the split-video downloader: a format from yt-dlp that comes in pieces
// (HLS, DASH) or as separate picture and sound is fetched piece by piece and joined with
// ffmpeg; a split video's segments are joined on request, in the order of the result page.
#include <filesystem>

#include "common/hls_playlist.h"
#include "common/tool_run.h"
#include "platform/config.h"
#include "platform/network.h"
#include "platform/textfile.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"
#include "video/download_folder.h"
#include "video/join_inputs.h"
#include "video/split_window.h"
#include "video/web_cookies.h"

namespace video {

namespace {

constexpr int64_t kJoinLimitMs = 60LL * 60 * 1000;
constexpr size_t kMaxPlaylistBytes = 16u << 20;
constexpr const char* kTitleStart = "此视频被该网站分割为";
constexpr const char* kTitleEnd = "个片段";
const std::string kTooManyPieces
    = "状态：此视频的分段超过" + std::to_string(common::kMaxHlsPieces) + "个，不能下载合并";
constexpr const char* kNotMedia = "状态：合并失败：有分段不是视频文件，没有合并";

// The ffmpeg muxer of a file extension.
std::string muxerOf(const std::string& ext)
{
    if (ext == "mp4" || ext == "webm" || ext == "flv")
        return ext;
    // Sound and pictures of the mp4 family are written by the mp4 muxer, not as Matroska.
    if (ext == "m4a" || ext == "m4v")
        return "mp4";
    return "matroska";
}

// ffprobe beside the configured ffmpeg.
std::string probeProgram(const std::string& ffmpeg)
{
    const size_t slash = ffmpeg.rfind('/');
    return slash == std::string::npos ? std::string("ffprobe") : ffmpeg.substr(0, slash + 1) + "ffprobe";
}

// A path as a line of ffmpeg's concat list, quoted.
std::string concatLine(const std::string& path)
{
    return "file '" + vb::Replace(path, "'", "'\\''") + "'\n";
}

} // namespace

void fenge::beginWebJoin(WebJoin job)
{
    runtime::App& a = app();
    m_web.emplace();
    m_web->job = std::move(job);
    // Sound: the joined video never replaces a file of the folder.
    m_web->job.name = unusedName(a, m_web->job.name, { "." + m_web->job.ext });
    m_web->folder = downloadFolder(a) + "/." + m_web->job.name + ".pieces";
    Label1.setVisible(false);
    List1.setVisible(true);
    Command2.setEnabled(false);
    Label8.setCaption("状态：正在读取分段列表...");
    if (!ensureDownloadFolder(a)
        || !(platform::folderExists(m_web->folder) || platform::createFolder(m_web->folder))) {
        Label8.setCaption(kSplitFailed);
        return;
    }
    std::vector<std::string> pieces;
    for (const WebFormat& track : m_web->job.tracks) {
        m_web->firsts.push_back(pieces.size());
        const auto listed = trackPieces(track);
        if (!listed) {
            Label8.setCaption(listed.error());
            return;
        }
        pieces.insert(pieces.end(), listed->begin(), listed->end());
        // Sound: no real video comes in this many pieces; a list that long is refused.
        if (pieces.size() > common::kMaxHlsPieces) {
            Label8.setCaption(kTooManyPieces);
            return;
        }
    }
    List2.setItems(pieces);
    List1.setItems(pieces);
    setCaption(kTitleStart + vb::Str(static_cast<int64_t>(pieces.size())) + kTitleEnd);
    Text3.setText("0");
    Command2_Click();
    Timer2.start(1);
}

platform::Result<std::vector<std::string>> fenge::trackPieces(const WebFormat& track)
{
    using Pieces = platform::Result<std::vector<std::string>>;
    if (!track.fragments.empty())
        return Pieces::success(track.fragments);
    if (!track.hls())
        return Pieces::success({ track.url });
    // The playlist names the pieces; a master playlist names its first variant's playlist.
    std::string address = track.url;
    for (int hop = 0; hop < 2; ++hop) {
        runtime::App& a = app();
        const std::string file = m_web->folder + "/playlist.m3u8";
        common::CFileDownload fetch(a, a.service<platform::Network>());
        fetch.setLimits(60, kMaxPlaylistBytes);
        fetch.setHeaders(webHeaders(a, track, address));
        // A playlist that did not arrive whole is not read.
        const auto fetched = fetch.StartDownloading(address, file);
        const auto text = fetched ? platform::readFile(file, kMaxPlaylistBytes)
                                  : platform::Result<std::string>::failure(fetched.error());
        if (!text)
            return Pieces::failure(kSplitFailed);
        const common::HlsPlaylist list = common::readHlsPlaylist(*text, address);
        if (list.tooLong)
            return Pieces::failure(kTooManyPieces);
        // Sound: encrypted pieces would join into a file that does not play; they are refused.
        if (list.encrypted)
            return Pieces::failure("状态：此视频的分段经过加密，不能下载合并");
        // Sound: pieces that are byte ranges of one file would each be fetched whole.
        if (list.byteRanges)
            return Pieces::failure("状态：此视频的分段方式不支持，不能下载合并");
        if (!list.pieces.empty())
            return Pieces::success(list.pieces);
        address = list.variant;
        if (address.empty())
            break;
    }
    return Pieces::failure("状态：没有在播放列表中找到视频分段");
}

size_t fenge::webTrackOf(int index) const
{
    size_t track = 0;
    while (track + 1 < m_web->firsts.size() && m_web->firsts[track + 1] <= static_cast<size_t>(index))
        ++track;
    return track;
}

size_t fenge::webTrackEnd(size_t track) const
{
    return track + 1 < m_web->firsts.size() ? m_web->firsts[track + 1] : List1.items().size();
}

std::string fenge::webTrackPath(size_t track) const
{
    return m_web->folder + "/track" + vb::Str(static_cast<int64_t>(track)) + ".joined";
}

void fenge::piecesFetched()
{
    if (m_web) {
        joinWebPieces();
        return;
    }
    Command3.setVisible(List1.listCount() > 1);
    Command3.setEnabled(true);
    showJoinRow(Command3.visible());
}

void fenge::joinWebPieces()
{
    const WebJoin& job = m_web->job;
    std::vector<std::string> inputs;
    for (size_t t = 0; t < job.tracks.size(); ++t) {
        // The list joined the pieces of each track in order, byte for byte.
        const std::string input = webTrackPath(t);
        // Sound: ffmpeg reads the pieces as the container they hold and opens nothing else; a
        // piece that is a playlist of its own would have made the video any file it names.
        const std::string container = containerOf(input);
        if (container.empty()) {
            Label8.setCaption(kNotMedia);
            return;
        }
        const std::vector<std::string> locked = lockedInput(container);
        inputs.insert(inputs.end(), locked.begin(), locked.end());
        inputs.insert(inputs.end(), { "-i", input });
    }
    if (job.tracks.size() == 1)
        inputs.insert(inputs.end(), { "-map", "0:v?", "-map", "0:a?" });
    else
        inputs.insert(inputs.end(), { "-map", "0:v:0", "-map", "1:a:0" });
    const std::string target = downloadFolder(app()) + "/" + job.name + "." + job.ext;
    if (!runFfmpeg(inputs, target))
        return;
    std::error_code ignored;
    std::filesystem::remove_all(m_web->folder, ignored);
}

bool fenge::runFfmpeg(const std::vector<std::string>& inputs, const std::string& target)
{
    runtime::App& a = app();
    const std::string name = target.substr(target.rfind('/') + 1);
    const std::string ext = target.substr(target.rfind('.') + 1);
    const std::string temp = platform::temporaryPath(target.substr(0, target.rfind('/')), "joining");
    std::vector<std::string> args = { a.service<platform::Config>().get("ffmpeg"), "-nostdin", "-hide_banner",
        "-loglevel", "error", "-y" };
    args.insert(args.end(), inputs.begin(), inputs.end());
    args.insert(args.end(), { "-c", "copy", "-f", muxerOf(ext), temp });
    // Sound: ffmpeg writes a temporary file that becomes the video only once it has exited
    // with 0, so a failed or stopped join never leaves a broken video under the real name.
    Label8.setCaption("状态：正在用 ffmpeg 合并为一个视频...");
    const common::ToolRun run = common::runTool(a, args, kJoinLimitMs, [this] { return loaded(); });
    std::error_code failed;
    if (run.ok())
        std::filesystem::rename(temp, target, failed);
    if (run.ok() && !failed) {
        Label8.setCaption("状态：下载完成，已合并为“" + name + "”，保存在桌面“Zelvora下载区”文件夹");
        return true;
    }
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    if (!run.started)
        Label8.setCaption("状态：没有找到 ffmpeg，不能合并为一个视频；分段已保留，请安装 ffmpeg 后再试");
    else if (run.ok())
        Label8.setCaption("状态：合并失败：" + failed.message());
    else
        Label8.setCaption("状态：合并失败："
            + (run.timedOut ? std::string("ffmpeg 没有按时完成") : common::lastErrorLine(run.err)));
    return false;
}

bool fenge::segmentsJoinable(const std::vector<std::string>& files, const std::string& container)
{
    runtime::App& a = app();
    const std::string ffmpeg = a.service<platform::Config>().get("ffmpeg");
    std::string streams;
    for (const std::string& file : files) {
        // Sound: a segment that is no media file (a playlist, a list of files) is never given
        // to ffprobe or ffmpeg, which would open what it names.
        const std::string own = containerOf(file);
        if (own.empty()) {
            Label8.setCaption(kNotMedia);
            return false;
        }
        std::vector<std::string> args = { probeProgram(ffmpeg), "-v", "error" };
        const std::vector<std::string> locked = lockedInput(own);
        args.insert(args.end(), locked.begin(), locked.end());
        args.insert(
            args.end(), { "-show_entries", "stream=codec_type,codec_name", "-of", "csv=p=0", "--", file });
        const common::ToolRun probe = common::runTool(a, args, 60000, [this] { return loaded(); });
        if (!probe.started) {
            Label8.setCaption("状态：没有找到 ffmpeg，不能合并为一个视频；分段已保留，请安装 ffmpeg 后再试");
            return false;
        }
        if (!probe.ok()) {
            Label8.setCaption("状态：合并失败：" + common::lastErrorLine(probe.err));
            return false;
        }
        // Sound: segments whose codecs (or containers) differ would join into a broken file;
        // they are refused.
        if ((!streams.empty() && probe.out != streams) || own != container) {
            Label8.setCaption("状态：各片段的编码不同，不能合并为一个视频");
            return false;
        }
        streams = probe.out;
    }
    return true;
}

void fenge::Command3_Click()
{
    runtime::App& a = app();
    const int count = List1.listCount();
    // The segment files are numbered from the last link of the page to the first: the page's
    // order is the highest number first.
    std::vector<std::string> files;
    for (int i = count - 1; i >= 0; --i)
        files.push_back(segmentPath(i));
    const std::string container = files.empty() ? std::string() : containerOf(files.front());
    if (!segmentsJoinable(files, container))
        return;
    std::string list;
    for (const std::string& file : files)
        list += concatLine(file);
    const std::string folder = downloadFolder(a);
    const std::string listFile = platform::temporaryPath(folder, "join-list");
    if (!platform::writeFileAtomic(listFile, list).ok) {
        Label8.setCaption("状态：合并失败：不能写入片段列表");
        return;
    }
    Command3.setEnabled(false);
    std::vector<std::string> inputs = lockedInput(container, "concat");
    inputs.insert(inputs.end(), { "-safe", "0", "-i", listFile, "-map", "0:v?", "-map", "0:a?" });
    runFfmpeg(inputs, folder + "/" + m_name + ".flv");
    std::ignore = platform::deleteFile(listFile); // else the next start's sweep does
    Command3.setEnabled(true);
}

} // namespace video
