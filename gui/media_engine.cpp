#include "gui/media_engine.h"

#include <QFileInfo>
#include <QUrl>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mpv/client.h>

#include "gui/look.h"
#include "gui/lyrics_follower.h"
#include "gui/media_equalizer.h"
#include "gui/media_frames.h"
#include "gui/media_menu.h"
#include "gui/render_choice.h"
#include "gui/session.h"
#include "gui/song_tags.h"
#include "gui/video_surface.h"
#include "runtime/media_controls.h"

namespace gui {

namespace {

// What the observed properties are told apart by.
enum Observed : uint64_t { kTimePos = 1, kDuration, kPause, kCaching, kMetadata, kAlbumArt, kTracks };
// What a command's or a property's answer is told apart by.
constexpr uint64_t kCoverReply = 100;
constexpr uint64_t kPreloadedTracks = 101;

const char* const kOptions[][2] = {
    { "vo", "libmpv" },
    // A machine without a sound device (a server, CI) still plays, to no output.
    { "ao", "pipewire,pulse,alsa,null" },
    { "audio-client-name", "zelvora" },
    // Between media the player waits for the next one instead of ending.
    { "idle", "yes" },
    { "keep-open", "no" },
    // The program's own settings only: no mpv.conf, no scripts, no keys or drawings of mpv's.
    { "config", "no" },
    { "load-scripts", "no" },
    { "osc", "no" },
    { "ytdl", "no" },
    { "load-stats-overlay", "no" },
    { "load-osd-console", "no" },
    { "load-auto-profiles", "no" },
    { "input-default-bindings", "no" },
    { "input-vo-keyboard", "no" },
    { "osd-level", "0" },
    { "terminal", "no" },
    { "hwdec", "no" },
    // A video's subtitle files load by themselves: NAME.srt and NAME.chs.srt, NAME.zh.ass...
    // in whatever encoding (mpv detects UTF-16, GB18030 and Big5 among others).
    { "sub-auto", "fuzzy" },
    { "sub-codepage", "auto" },
    // The next medium in mpv's list is opened ahead, and its sound follows without a gap.
    { "prefetch-playlist", "yes" },
    { "gapless-audio", "yes" },
    // ReplayGain never lifts a song beyond full scale: the gain stops at the tagged peak.
    { "replaygain-clip", "no" },
};

QString text(const mpv_node& node)
{
    return node.format == MPV_FORMAT_STRING ? QString::fromUtf8(node.u.string).trimmed() : QString();
}

// The tags of mpv's metadata map, whatever case the container writes its keys in.
MediaTags tagsOf(const mpv_node& map)
{
    MediaTags tags;
    if (map.format != MPV_FORMAT_NODE_MAP)
        return tags;
    QString albumArtist;
    for (int i = 0; i < map.u.list->num; ++i) {
        const QString key = QString::fromUtf8(map.u.list->keys[i]).toLower();
        const QString value = text(map.u.list->values[i]);
        if (key == QLatin1String("title"))
            tags.title = value;
        else if (key == QLatin1String("artist"))
            tags.artist = value;
        else if (key == QLatin1String("album"))
            tags.album = value;
        else if (key == QLatin1String("album_artist"))
            albumArtist = value;
    }
    if (tags.artist.isEmpty())
        tags.artist = albumArtist;
    return tags;
}

const mpv_node* field(const mpv_node& map, const char* name)
{
    if (map.format != MPV_FORMAT_NODE_MAP)
        return nullptr;
    for (int i = 0; i < map.u.list->num; ++i) {
        if (std::strcmp(map.u.list->keys[i], name) == 0)
            return &map.u.list->values[i];
    }
    return nullptr;
}

// Whether mpv's track list holds a picture (a moving one or a cover).
bool hasPicture(const mpv_node& list)
{
    if (list.format != MPV_FORMAT_NODE_ARRAY)
        return false;
    for (int i = 0; i < list.u.list->num; ++i) {
        const mpv_node* type = field(list.u.list->values[i], "type");
        if (type && text(*type) == QLatin1String("video"))
            return true;
    }
    return false;
}

// The subtitle tracks of mpv's track list, named by title, language and file.
std::vector<SubtitleTrack> subtitlesOf(const mpv_node& list)
{
    std::vector<SubtitleTrack> tracks;
    if (list.format != MPV_FORMAT_NODE_ARRAY)
        return tracks;
    for (int i = 0; i < list.u.list->num; ++i) {
        const mpv_node& track = list.u.list->values[i];
        const mpv_node* type = field(track, "type");
        const mpv_node* id = field(track, "id");
        if (!type || text(*type) != QLatin1String("sub") || !id || id->format != MPV_FORMAT_INT64)
            continue;
        SubtitleTrack t;
        t.id = static_cast<int>(id->u.int64);
        QStringList parts;
        for (const char* key : { "title", "lang" }) {
            if (const mpv_node* value = field(track, key); value && !text(*value).isEmpty())
                parts << text(*value);
        }
        if (const mpv_node* file = field(track, "external-filename"); file && !text(*file).isEmpty())
            parts << QFileInfo(text(*file)).fileName();
        t.name = QString::number(t.id) + QStringLiteral(": ")
            + (parts.isEmpty() ? QStringLiteral("字幕") : parts.join(QStringLiteral(" · ")));
        const mpv_node* selected = field(track, "selected");
        t.selected = selected && selected->format == MPV_FORMAT_FLAG && selected->u.flag;
        tracks.push_back(t);
    }
    return tracks;
}

// The picture of a "screenshot-raw" answer (rows of bgr0), or a null image.
QImage pictureOf(const mpv_node& shot)
{
    const mpv_node* w = field(shot, "w");
    const mpv_node* h = field(shot, "h");
    const mpv_node* stride = field(shot, "stride");
    const mpv_node* data = field(shot, "data");
    if (!w || !h || !stride || !data || w->format != MPV_FORMAT_INT64 || h->format != MPV_FORMAT_INT64
        || stride->format != MPV_FORMAT_INT64 || data->format != MPV_FORMAT_BYTE_ARRAY)
        return {};
    const int64_t width = w->u.int64, height = h->u.int64, bytesPerLine = stride->u.int64;
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384 || bytesPerLine < width * 4
        || static_cast<int64_t>(data->u.ba->size) < bytesPerLine * height)
        return {};
    QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
    const auto* bytes = static_cast<const uchar*>(data->u.ba->data);
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(image.scanLine(y), bytes + y * bytesPerLine, static_cast<size_t>(width) * 4);
    return image;
}

} // namespace

MpvMediaEngine::MpvMediaEngine(Session& session, runtime::MediaPlayer& player)
    : m_session(session)
    , m_player(player)
    , m_lyrics(std::make_unique<LyricsFollower>(session.app(), player))
{
    m_session.enrolMediaEngine(m_player, *this);
    m_mpv = mpv_create();
    if (!m_mpv)
        return;
    configure();
    if (mpv_initialize(m_mpv) < 0) {
        mpv_terminate_destroy(m_mpv);
        m_mpv = nullptr;
        return;
    }
    // The renderer is made for the first medium with a picture, while mpv holds it before its
    // outputs start: a song without one never pays for it.
    mpv_hook_add(m_mpv, 0, "on_preloaded", 0);
    mpv_observe_property(m_mpv, kTimePos, "time-pos", MPV_FORMAT_DOUBLE);
    mpv_observe_property(m_mpv, kDuration, "duration", MPV_FORMAT_DOUBLE);
    mpv_observe_property(m_mpv, kPause, "pause", MPV_FORMAT_FLAG);
    mpv_observe_property(m_mpv, kCaching, "paused-for-cache", MPV_FORMAT_FLAG);
    mpv_observe_property(m_mpv, kMetadata, "metadata", MPV_FORMAT_NODE);
    mpv_observe_property(m_mpv, kAlbumArt, "current-tracks/video/albumart", MPV_FORMAT_FLAG);
    mpv_observe_property(m_mpv, kTracks, "track-list", MPV_FORMAT_NODE);
    // Called on mpv's threads: the events are read on the interface thread, one queued call
    // for any number of wake-ups before it runs.
    mpv_set_wakeup_callback(
        m_mpv,
        [](void* data) {
            auto* self = static_cast<MpvMediaEngine*>(data);
            if (!self->m_drainQueued->exchange(true))
                QMetaObject::invokeMethod(
                    self, [self] { self->drain(); }, Qt::QueuedConnection);
        },
        this);
}

MpvMediaEngine::~MpvMediaEngine()
{
    m_session.forgetMediaEngine(m_player, *this);
    if (m_surface) {
        m_surface->detach();
        m_surface->setFullScreen(false);
        if (m_surface->video())
            m_surface->video()->setRenderer(nullptr);
        m_surface->hide();
        m_surface->setParent(nullptr);
        m_surface.reset();
    }
    if (!m_mpv)
        return;
    // No wake-up runs past this (mpv holds its lock while calling it); a queued drain dies
    // with this object. The renderer goes before the player, as mpv requires.
    mpv_set_wakeup_callback(m_mpv, nullptr, nullptr);
    m_renderer.reset();
    mpv_terminate_destroy(m_mpv);
}

const char* MpvMediaEngine::rendererName() const
{
    if (!m_mpv || (m_renderer && !m_renderer->ready()))
        return "none";
    // Before the first picture the path that will draw it.
    return m_renderer ? m_renderer->name() : RenderChoice::name(RenderChoice::path());
}

void MpvMediaEngine::makeRenderer(RenderPath path)
{
    m_renderer = std::make_unique<FrameRenderer>(
        m_mpv, this,
        [this] {
            if (m_surface && m_surface->video())
                m_surface->video()->update();
        },
        path);
    if (m_surface && m_surface->video())
        m_surface->video()->setRenderer(m_renderer.get());
}

void MpvMediaEngine::configure()
{
    for (const auto& option : kOptions)
        mpv_set_option_string(m_mpv, option[0], option[1]);
    // For tests and the benchmark: the sound as 16-bit samples appended to a file (as fast as
    // it is decoded) instead of a sound device.
    if (const char* file = std::getenv("ZELVORA_SOUND_FILE"); file && *file) {
        const char* const pcm[][2] = { { "ao", "pcm" }, { "ao-pcm-file", file },
            { "ao-pcm-waveheader", "no" }, { "ao-pcm-append", "yes" }, { "audio-format", "s16" } };
        for (const auto& option : pcm)
            mpv_set_option_string(m_mpv, option[0], option[1]);
    }
}

void MpvMediaEngine::command(std::initializer_list<const char*> args, uint64_t reply)
{
    if (!m_mpv)
        return;
    std::vector<const char*> list(args);
    list.push_back(nullptr);
    mpv_command_async(m_mpv, reply, list.data());
}

void MpvMediaEngine::setFlag(const char* name, bool value)
{
    if (!m_mpv)
        return;
    int flag = value ? 1 : 0;
    mpv_set_property_async(m_mpv, 0, name, MPV_FORMAT_FLAG, &flag);
}

void MpvMediaEngine::setNumber(const char* name, double value)
{
    if (!m_mpv)
        return;
    mpv_set_property_async(m_mpv, 0, name, MPV_FORMAT_DOUBLE, &value);
}

void MpvMediaEngine::drain()
{
    m_drainQueued->store(false);
    while (m_mpv) {
        const mpv_event* event = mpv_wait_event(m_mpv, 0);
        if (!event || event->event_id == MPV_EVENT_NONE)
            break;
        handle(*event);
    }
}

void MpvMediaEngine::handle(const mpv_event& event)
{
    switch (event.event_id) {
    case MPV_EVENT_START_FILE:
        fileStarted(event);
        break;
    case MPV_EVENT_FILE_LOADED: {
        m_loaded = true;
        applyVideoTrack();
        const double seek = m_pendingSeek;
        m_pendingSeek = -1;
        report(m_paused ? runtime::PlayPaused : runtime::PlayPlaying);
        if (seek >= 0)
            setPosition(seek);
        break;
    }
    case MPV_EVENT_END_FILE:
        fileEnded(event);
        break;
    case MPV_EVENT_PROPERTY_CHANGE:
        propertyChanged(event);
        break;
    case MPV_EVENT_VIDEO_RECONFIG:
        if (m_albumArt)
            askForCover();
        break;
    case MPV_EVENT_HOOK:
        m_preloadedHook = static_cast<const mpv_event_hook*>(event.data)->id;
        if (m_renderer)
            mpv_hook_continue(m_mpv, m_preloadedHook);
        else
            mpv_get_property_async(m_mpv, kPreloadedTracks, "track-list", MPV_FORMAT_NODE);
        break;
    case MPV_EVENT_GET_PROPERTY_REPLY:
        if (event.reply_userdata == kPreloadedTracks)
            preloadedTracksRead(event);
        break;
    case MPV_EVENT_COMMAND_REPLY:
        if (event.reply_userdata == kCoverReply && event.error >= 0) {
            m_tags.cover = pictureOf(static_cast<const mpv_event_command*>(event.data)->result);
            showSongCard();
        }
        break;
    default:
        break;
    }
}

void MpvMediaEngine::fileStarted(const mpv_event& event)
{
    if (m_pendingLoads > 0)
        --m_pendingLoads;
    else if (!m_advancedTo.empty())
        m_url = m_advancedTo;
    if (m_filterOptionOld)
        installEqualizer();
    m_entry = static_cast<const mpv_event_start_file*>(event.data)->playlist_entry_id;
    m_loaded = false;
    m_position = m_duration = 0;
    m_tags = {};
    report(runtime::PlayWaiting);
}

void MpvMediaEngine::preloadedTracksRead(const mpv_event& event)
{
    const auto* p = static_cast<const mpv_event_property*>(event.data);
    if (event.error < 0 || p->format != MPV_FORMAT_NODE || !hasPicture(*static_cast<mpv_node*>(p->data))) {
        mpv_hook_continue(m_mpv, m_preloadedHook);
        return;
    }
    // The medium waits for the choice of path, which the interface never does.
    RenderChoice::whenKnown(this, [this, hook = m_preloadedHook](RenderPath path) {
        if (!m_renderer)
            makeRenderer(path);
        mpv_hook_continue(m_mpv, hook);
    });
}

void MpvMediaEngine::positionChanged(double position)
{
    m_position = position;
    for (auto& [owner, listener] : m_positionListeners) {
        if (owner)
            listener(m_position);
    }
    refreshBar(false);
    followLyrics();
}

void MpvMediaEngine::waitingChanged(uint64_t property, bool on)
{
    (property == kPause ? m_paused : m_buffering) = on;
    if (m_entry != 0 && m_reported != runtime::PlayWaiting)
        report(m_paused ? runtime::PlayPaused : m_buffering ? runtime::PlayBuffering : runtime::PlayPlaying);
}

void MpvMediaEngine::albumArtChanged(bool albumArt, bool known)
{
    // No video track at all, a cover, or a moving picture.
    m_albumArt = albumArt;
    m_videoTrack = known && !m_albumArt;
    if (m_albumArt)
        askForCover();
    if (m_loaded)
        applyVideoTrack();
}

void MpvMediaEngine::propertyChanged(const mpv_event& event)
{
    const auto* p = static_cast<const mpv_event_property*>(event.data);
    const bool has = p->format != MPV_FORMAT_NONE && p->data;
    switch (event.reply_userdata) {
    case kTimePos:
        positionChanged(has ? *static_cast<double*>(p->data) : 0);
        break;
    case kDuration:
        m_duration = has ? *static_cast<double*>(p->data) : 0;
        refreshBar(true);
        break;
    case kPause:
    case kCaching:
        waitingChanged(event.reply_userdata, has && *static_cast<int*>(p->data) != 0);
        break;
    case kMetadata: {
        const QImage cover = m_tags.cover;
        m_tags = has ? tagsOf(*static_cast<mpv_node*>(p->data)) : MediaTags();
        m_tags.cover = cover;
        showSongCard();
        break;
    }
    case kTracks:
        m_subtitles = has ? subtitlesOf(*static_cast<mpv_node*>(p->data)) : std::vector<SubtitleTrack>();
        break;
    case kAlbumArt:
        albumArtChanged(has && *static_cast<int*>(p->data) != 0, has);
        break;
    default:
        break;
    }
}

MediaEnd MpvMediaEngine::endOf(int reason, bool quiet)
{
    switch (reason) {
    case MPV_END_FILE_REASON_EOF:
        // The end of a medium is reported as ended, then stopped, as the control does.
        return { { runtime::PlayEnded, runtime::PlayStopped }, false };
    case MPV_END_FILE_REASON_STOP:
        return { quiet ? std::vector<int> {} : std::vector<int> { runtime::PlayStopped }, false };
    case MPV_END_FILE_REASON_ERROR:
        // A medium that cannot be played is ready for the next address, not stopped: a list
        // of unplayable files must not skip through itself.
        return { { runtime::PlayReady }, true };
    default:
        return {};
    }
}

std::string MpvMediaEngine::reasonText(int error)
{
    switch (error) {
    case MPV_ERROR_UNKNOWN_FORMAT:
        return "无法识别的文件格式";
    case MPV_ERROR_NOTHING_TO_PLAY:
        return "文件中没有可播放的音频或视频";
    case MPV_ERROR_LOADING_FAILED:
        return "文件无法打开或读取";
    case MPV_ERROR_AO_INIT_FAILED:
        return "无法打开声音设备";
    case MPV_ERROR_VO_INIT_FAILED:
        return "无法显示视频";
    default:
        return {};
    }
}

void MpvMediaEngine::fileEnded(const mpv_event& event)
{
    const auto* end = static_cast<const mpv_event_end_file*>(event.data);
    bool quiet = m_pendingLoads > 0;
    if (end->reason == MPV_END_FILE_REASON_STOP && m_quietStops > 0) {
        --m_quietStops;
        quiet = true;
    }
    // A video that ended keeps its last picture, a song its card, until the next medium.
    m_entry = 0;
    m_loaded = false;
    m_position = 0;
    m_buffering = false;
    // At its end mpv goes on to the medium put after it.
    if (end->reason == MPV_END_FILE_REASON_EOF && !m_queuedNext.empty())
        m_advancedTo = m_queuedNext;
    m_queuedNext.clear();
    const MediaEnd outcome = endOf(end->reason, quiet);
    if (outcome.undecodable) {
        const std::string reason = reasonText(end->error);
        m_session.run([this, reason] { m_player.reportUndecodable(reason); });
    }
    for (int state : outcome.states)
        report(state);
    refreshBar(true);
}

void MpvMediaEngine::report(int state)
{
    if (state == m_reported)
        return;
    m_reported = state;
    m_session.run([this, state] { m_player.reportPlayState(state); });
    refreshBar(true);
}

void MpvMediaEngine::refreshBar(bool always)
{
    // The bar follows the position four times a second, not at every frame.
    const long long quarter = std::llround(m_position * 4);
    if (!m_surface || (!always && quarter == m_shownQuarter))
        return;
    m_shownQuarter = quarter;
    m_surface->bar()->refresh();
}

void MpvMediaEngine::load(const std::string& url)
{
    // mpv keeps a pause and a chosen subtitle from one medium to the next; a new medium plays
    // by itself with mpv's own choice of subtitle.
    setFlag("pause", false);
    setText("sid", "auto");
    m_queuedNext.clear();
    m_advancedTo.clear();
    command({ "loadfile", url.c_str(), "replace" });
    ++m_pendingLoads;
}

void MpvMediaEngine::setUrl(const std::string& url)
{
    m_reported = runtime::PlayUndefined;
    m_pendingSeek = -1;
    if (url.empty()) {
        close();
        return;
    }
    if (!m_advancedTo.empty() && url == m_advancedTo) {
        // mpv went on to it by itself, without a gap: the control hears the state it plays in
        // (now, or as it starts).
        m_advancedTo.clear();
        m_url = url;
        const int now = m_reported;
        m_reported = runtime::PlayUndefined;
        if (m_entry != 0)
            report(now);
        return;
    }
    m_url = url;
    load(url);
}

void MpvMediaEngine::close()
{
    m_queuedNext.clear();
    m_advancedTo.clear();
    if (m_entry != 0 || m_pendingLoads > 0) {
        ++m_quietStops;
        command({ "stop" });
    }
    m_url.clear();
    m_pendingSeek = -1;
    m_reported = runtime::PlayUndefined;
    m_tags = {};
    m_hasVideo = false;
    m_loaded = false;
    if (m_renderer)
        m_renderer->forget();
    showSongCard();
}

void MpvMediaEngine::play()
{
    if (m_entry != 0 || m_pendingLoads > 0)
        setFlag("pause", false);
    else if (!m_url.empty())
        // A medium that ended or was stopped starts again from its beginning.
        load(m_url);
}

void MpvMediaEngine::stop()
{
    m_pendingSeek = -1;
    m_queuedNext.clear();
    m_advancedTo.clear();
    if (m_entry != 0 || m_pendingLoads > 0)
        command({ "stop" });
}

void MpvMediaEngine::pause()
{
    if (m_entry != 0 || m_pendingLoads > 0)
        setFlag("pause", true);
}

void MpvMediaEngine::setPosition(double seconds)
{
    // A medium that is still loading cannot seek yet: the position is taken once it can (a
    // video that goes on where it was left is sought as it starts).
    if (m_entry == 0 || m_reported == runtime::PlayWaiting || m_pendingLoads > 0) {
        m_pendingSeek = seconds;
        return;
    }
    const std::string to = std::to_string(std::max(0.0, seconds));
    command({ "seek", to.c_str(), "absolute" });
    m_position = std::max(0.0, seconds);
    refreshBar(true);
}

void MpvMediaEngine::setVolume(int percent)
{
    // mpv's volume is heard as even steps of loudness already.
    setNumber("volume", std::clamp(percent, 0, 100));
}

void MpvMediaEngine::setMute(bool mute)
{
    setFlag("mute", mute);
}

void MpvMediaEngine::setText(const char* name, const std::string& value)
{
    if (!m_mpv)
        return;
    const char* text = value.c_str();
    mpv_set_property_async(m_mpv, 0, name, MPV_FORMAT_STRING, &text);
}

void MpvMediaEngine::setReplayGain(runtime::ReplayGain mode)
{
    static const char* const words[] = { "no", "track", "album" };
    setText("replaygain", words[static_cast<int>(mode)]);
}

void MpvMediaEngine::installEqualizer()
{
    setText("af", equalizerFilters(m_gains));
    m_equalizing = true;
    m_filterOptionOld = false;
}

void MpvMediaEngine::setEqualizer(const runtime::EqualizerGains& gains)
{
    const runtime::EqualizerGains before = m_gains;
    m_gains = gains;
    const bool playing = m_entry != 0 || m_pendingLoads > 0;
    if (!m_equalizing) {
        // No filters until a band is moved: a flat equalizer costs nothing.
        if (gains != runtime::EqualizerGains {})
            installEqualizer();
        return;
    }
    if (!playing) {
        installEqualizer();
        return;
    }
    // While a medium plays the filters take the new gains in place, without a gap (setting the
    // filter option would rebuild them); the option follows with the next medium.
    // The pre-gain comes down before a band is raised and goes up after bands are lowered, so
    // no moment between the commands clips.
    const std::string level = preGainText(gains);
    const bool louder = preGain(gains) > preGain(before);
    if (!louder)
        command({ "af-command", kPreGainLabel, "volume", level.c_str() });
    for (int band = 0; band < runtime::kEqualizerBands; ++band) {
        const auto i = static_cast<size_t>(band);
        if (gains[i] == before[i])
            continue;
        const std::string label = bandLabel(band);
        const std::string gain = std::to_string(gains[i]);
        command({ "af-command", label.c_str(), "g", gain.c_str() });
    }
    if (louder)
        command({ "af-command", kPreGainLabel, "volume", level.c_str() });
    m_filterOptionOld = true;
}

void MpvMediaEngine::setNext(const std::string& url)
{
    if (url == m_queuedNext || !active())
        return;
    // Only the medium playing stays in mpv's list, and the next one after it.
    command({ "playlist-clear" });
    m_queuedNext = url;
    if (!url.empty())
        command({ "loadfile", url.c_str(), "append" });
}

void MpvMediaEngine::setSubtitle(const std::string& choice)
{
    if (choice == runtime::kSubtitleAuto || !active())
        return;
    if (choice == runtime::kSubtitleNone)
        setText("sid", "no");
    else if (choice.starts_with("track:"))
        setText("sid", choice.substr(6));
    else
        command({ "sub-add", choice.c_str(), "select" });
}

void MpvMediaEngine::chooseSubtitle(int id)
{
    const std::string choice = id > 0 ? "track:" + std::to_string(id) : runtime::kSubtitleNone;
    setSubtitle(choice);
    m_session.run([this, choice] { m_player.reportSubtitle(choice); });
}

void MpvMediaEngine::loadSubtitle(const QString& path)
{
    const std::string file = path.toStdString();
    setSubtitle(file);
    m_session.run([this, file] { m_player.reportSubtitle(file); });
    if (m_surface && m_surface->video())
        m_surface->video()->showStatus(QStringLiteral("字幕：") + QFileInfo(path).fileName());
}

void MpvMediaEngine::setRate(double rate)
{
    // mpv keeps the pitch (its audio-pitch-correction) at any speed.
    setNumber("speed", rate);
    if (m_surface && m_surface->video() && rate != m_rate)
        m_surface->video()->showStatus(rateText(rate));
    m_rate = rate;
}

void MpvMediaEngine::addPositionListener(QObject* owner, std::function<void(double)> listener)
{
    m_positionListeners.emplace_back(owner, std::move(listener));
}

void MpvMediaEngine::askForCover()
{
    if (m_tags.cover.isNull())
        command({ "screenshot-raw", "video" }, kCoverReply);
}

void MpvMediaEngine::applyVideoTrack()
{
    m_hasVideo = m_videoTrack;
    if (!m_hasVideo && m_renderer)
        m_renderer->forget();
    if (m_surface)
        m_surface->bar()->setHasVideo(m_hasVideo);
    showSongCard();
}

void MpvMediaEngine::showSongCard()
{
    if (!m_surface || !m_surface->video())
        return;
    SongCard card;
    if (!m_url.empty() && !m_hasVideo) {
        const QUrl source = QUrl::fromUserInput(qs(m_url));
        const platform::SongTags& own = songTagsOf(source.toString());
        card.lines << firstText({ qs(own.title), m_tags.title, QFileInfo(source.path()).fileName() });
        for (const QString& line :
            { firstText({ qs(own.artist), m_tags.artist }), firstText({ qs(own.album), m_tags.album }) }) {
            if (!line.isEmpty())
                card.lines << line;
        }
        card.cover = m_tags.cover;
        m_lyrics->refresh();
        card.lyrics = m_lyrics->lyrics();
        // The skin's colour, which the window gives the control.
        card.background = toQColor(m_player.backColor());
    }
    m_surface->video()->setSongCard(std::move(card));
    m_surface->video()->setLyricsLine(m_lyrics->lineAt(m_position));
}

void MpvMediaEngine::followLyrics()
{
    if (!m_surface || !m_surface->video() || m_hasVideo)
        return;
    if (m_lyrics->refresh())
        showSongCard();
    else
        m_surface->video()->setLyricsLine(m_lyrics->lineAt(m_position));
}

QWidget* MpvMediaEngine::videoWidget()
{
    if (!m_surface) {
        auto* video = new VideoSurface();
        video->setRenderer(m_renderer.get());
        m_surface.reset(new MediaSurface(m_session, m_player, video));
        m_surface->setEngine(this);
        video->onLyricClicked = [this](int ms) { m_session.run([this, ms] { m_player.seek(ms / 1000.0); }); };
        m_surface->bar()->setHasVideo(m_hasVideo);
        showSongCard();
    }
    return m_surface.get();
}

} // namespace gui
