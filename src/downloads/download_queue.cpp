#include "downloads/download_queue.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <tuple>
#include <utility>

#include "common/hls_playlist.h"
#include "platform/network.h"
#include "platform/textfile.h"

namespace downloads {

namespace fs = std::filesystem;

namespace {

// A file this large is fetched as ranges; a smaller one in one piece.
constexpr long long kRangeFileBytes = 2LL << 20;
// Ranges are at least this long; a download gets about four per connection, so a slow
// connection holds up the end of the file by one short range only.
constexpr long long kMinRangeBytes = 1LL << 20;
constexpr int kRangesPerConnection = 4;
// Fragments fetched ahead of the next one to join, per connection.
constexpr int kFragmentsAhead = 4;
// A throttled download without a Retry-After waits twice as long each time, up to this.
constexpr int64_t kMaxBackoffMs = 30000;
// Pieces that go through before a throttled download tries one connection more.
constexpr int kGoodPiecesToGrow = 8;
// While downloads run, the list is written at least this often.
constexpr int64_t kSaveEveryMs = 1000;
// Bytes asked for again before a resume point when the file has no version to name.
constexpr long long kOverlapBytes = 64LL * 1024;

void removeQuietly(const std::string& path)
{
    std::error_code ignored;
    fs::remove(path, ignored);
}

long long sizeOf(const std::string& path)
{
    std::error_code error;
    const auto size = fs::file_size(path, error);
    return error ? -1 : static_cast<long long>(size);
}

// count bytes of a file from at; fewer when the file is shorter or cannot be read.
std::string bytesAt(const std::string& path, long long at, long long count)
{
    std::ifstream in(path, std::ios::binary);
    std::string bytes(static_cast<size_t>(count), '\0');
    if (!in.seekg(at))
        return {};
    in.read(bytes.data(), count);
    bytes.resize(static_cast<size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return bytes;
}

// Appends a fragment's bytes to the partial file.
bool appendFile(const std::string& from, const std::string& to)
{
    std::ifstream in(from, std::ios::binary);
    std::ofstream out(to, std::ios::binary | std::ios::app);
    if (!in || !out)
        return false;
    out << in.rdbuf();
    out.flush();
    return static_cast<bool>(out);
}

std::vector<Piece> rangesOf(long long size, int connections)
{
    const long long count = std::clamp<long long>(
        size / kMinRangeBytes, 1, static_cast<long long>(connections) * kRangesPerConnection);
    std::vector<Piece> pieces;
    for (long long i = 0; i < count; ++i) {
        Piece piece;
        piece.first = size * i / count;
        piece.last = size * (i + 1) / count - 1;
        pieces.push_back(piece);
    }
    return pieces;
}

Piece fragment(const std::string& url)
{
    Piece piece;
    piece.url = url;
    return piece;
}

std::string failureReason(const platform::PieceOutcome& outcome)
{
    if (outcome.status >= 400)
        return "服务器拒绝（HTTP " + std::to_string(outcome.status) + "）";
    if (outcome.error.starts_with("the file cannot be written"))
        return "无法写入文件";
    return "网络错误";
}

// Why a playlist's pieces cannot be downloaded into one file, nothing when they can.
const char* refusalOf(const common::HlsPlaylist& playlist)
{
    if (playlist.encrypted)
        return "加密的视频流，不能下载";
    if (playlist.byteRanges)
        return "分段方式不支持";
    // Sound: a list longer than any video is refused rather than held.
    if (playlist.tooLong)
        return "视频片段太多，不能下载";
    return playlist.pieces.empty() ? "找不到视频片段" : nullptr;
}

} // namespace

std::string partialPath(const std::string& file)
{
    const fs::path path(file);
    return (path.parent_path() / ("." + path.filename().string() + ".zdl")).string();
}

std::string fragmentPath(const std::string& file, size_t index)
{
    return partialPath(file) + "." + std::to_string(index);
}

const char* stateWord(JobState state)
{
    switch (state) {
    case JobState::Waiting:
        return "等待";
    case JobState::Running:
        return "下载中";
    case JobState::Paused:
        return "已暂停";
    case JobState::Done:
        return "已完成";
    case JobState::Failed:
        return "失败";
    }
    return "";
}

// What a download holds only while it runs.
struct DownloadQueue::Live {
    // Pieces at once now: the setting, halved by each throttling.
    int connections = 1;
    int64_t waitUntil = 0;
    int throttles = 0;
    int goodPieces = 0;
    // Bytes fetched by pieces that ended, for the speed.
    long long fetched = 0;
    int64_t sampleAt = -1;
    long long sampleBytes = 0;
    long long speed = 0;
};

DownloadQueue::DownloadQueue(platform::Network& network, std::string listFile)
    : m_network(network)
    , m_listFile(std::move(listFile))
{
    ListContent content = readList(m_listFile);
    m_settings = content.settings;
    m_jobs = std::move(content.jobs);
}

DownloadQueue::~DownloadQueue()
{
    // Bytes already in place stay counted for the next run.
    const bool running = !m_running.empty();
    for (const Job& job : m_jobs)
        cancelPieces(job.id);
    if (running || m_dirty)
        save();
}

const Job* DownloadQueue::job(int id) const
{
    for (const Job& each : m_jobs) {
        if (each.id == id)
            return &each;
    }
    return nullptr;
}

Job* DownloadQueue::find(int id)
{
    return const_cast<Job*>(job(id));
}

void DownloadQueue::setSettings(const QueueSettings& settings)
{
    m_settings.parallel = std::clamp(settings.parallel, 1, kMaxParallel);
    m_settings.speedLimitKb = std::max(settings.speedLimitKb, 0);
    m_settings.connections = std::clamp(settings.connections, 1, kMaxConnections);
    m_settings.offerCopied = settings.offerCopied;
    save();
}

int DownloadQueue::add(const JobRequest& request)
{
    Job job;
    for (const Job& each : m_jobs)
        job.id = std::max(job.id, each.id);
    ++job.id;
    job.title = request.title;
    job.url = request.url;
    job.file = request.replace ? request.file : freeName(request.file);
    job.headers = request.headers;
    job.oneTry = request.oneTry;
    job.replace = request.replace;
    job.givenSize = std::max(request.size, 0LL);
    if (!request.pieces.empty()) {
        job.fragments = true;
        for (const std::string& url : request.pieces)
            job.pieces.push_back(fragment(url));
    }
    m_jobs.push_back(std::move(job));
    save();
    return m_jobs.back().id;
}

std::string DownloadQueue::freeName(const std::string& wanted) const
{
    const fs::path path(wanted);
    auto taken = [&](const std::string& name) {
        if (platform::fileExists(name) || platform::fileExists(partialPath(name)))
            return true;
        // Sound: a finished row whose file the person deleted does not keep its name taken.
        return std::any_of(m_jobs.begin(), m_jobs.end(),
            [&](const Job& j) { return j.file == name && j.state != JobState::Done; });
    };
    std::string name = wanted;
    for (int n = 2; taken(name); ++n)
        name = (path.parent_path()
            / (path.stem().string() + " (" + std::to_string(n) + ")" + path.extension().string()))
                   .string();
    return name;
}

void DownloadQueue::save(bool durable)
{
    // A list that could not be written is tried again at the next tick.
    m_dirty = !writeList(m_listFile, { m_settings, m_jobs }, durable);
}

bool DownloadQueue::busy() const
{
    return std::any_of(m_jobs.begin(), m_jobs.end(),
        [](const Job& j) { return j.state == JobState::Waiting || j.state == JobState::Running; });
}

void DownloadQueue::stop(int id)
{
    cancelPieces(id);
    m_live.erase(id);
}

void DownloadQueue::cancelPieces(int id)
{
    Job* job = find(id);
    for (auto it = m_running.begin(); it != m_running.end();) {
        if (it->second.first != id) {
            ++it;
            continue;
        }
        Piece& piece = job->pieces[it->second.second];
        // Bytes of a range are in place and count; a fragment or a whole body starts again.
        if (piece.first >= 0 && !job->fragments)
            piece.done += m_fetcher->written(it->first);
        m_fetcher->cancel(it->first);
        it = m_running.erase(it);
    }
}

void DownloadQueue::pause(int id)
{
    Job* job = find(id);
    if (!job || (job->state != JobState::Waiting && job->state != JobState::Running))
        return;
    stop(id);
    job->state = JobState::Paused;
    save();
}

void DownloadQueue::resume(int id)
{
    Job* job = find(id);
    if (!job || (job->state != JobState::Paused && job->state != JobState::Failed))
        return;
    job->state = JobState::Waiting;
    job->reason.clear();
    job->status = 0;
    save();
}

void DownloadQueue::cancel(int id)
{
    Job* job = find(id);
    if (!job || job->state == JobState::Done)
        return;
    stop(id);
    removeQuietly(partialPath(job->file));
    for (size_t i = 0; i < job->pieces.size(); ++i)
        removeQuietly(fragmentPath(job->file, i));
    if (!job->fragments)
        job->pieces.clear();
    for (Piece& piece : job->pieces)
        piece = fragment(piece.url);
    job->joined = 0;
    job->received = 0;
    job->version.clear();
    job->state = JobState::Failed;
    job->reason = kCancelledReason;
    save();
}

void DownloadQueue::remove(int id, bool deleteFile)
{
    Job* job = find(id);
    if (!job)
        return;
    if (job->state != JobState::Done)
        cancel(id);
    else if (deleteFile)
        removeQuietly(job->file);
    m_jobs.erase(m_jobs.begin() + (job - m_jobs.data()));
    save();
}

void DownloadQueue::setOneTry(int id, bool oneTry)
{
    if (Job* job = find(id))
        job->oneTry = oneTry;
}

void DownloadQueue::move(int id, int step)
{
    Job* job = find(id);
    if (!job)
        return;
    const long at = job - m_jobs.data();
    const long to = at + step;
    if (to < 0 || to >= static_cast<long>(m_jobs.size()))
        return;
    std::swap(m_jobs[static_cast<size_t>(at)], m_jobs[static_cast<size_t>(to)]);
    save();
}

void DownloadQueue::fail(Job& job, const std::string& reason)
{
    stop(job.id);
    job.state = JobState::Failed;
    job.reason = reason;
    m_dirty = true;
    if (onFinished)
        onFinished(job);
}

void DownloadQueue::restart(Job& job)
{
    cancelPieces(job.id);
    removeQuietly(partialPath(job.file));
    job.pieces.clear();
    job.version.clear();
    job.received = 0;
    job.size = 0;
}

// The pieces of a download about to start: those of the list file where they still hold,
// else from the playlist or the file's length.
bool DownloadQueue::prepare(Job& job)
{
    const std::string partial = partialPath(job.file);
    // A run that ended between putting the file in place and writing the list: the file is
    // there whole, and is not fetched a second time.
    const bool allFetched = !job.pieces.empty()
        && std::all_of(job.pieces.begin(), job.pieces.end(), [](const Piece& p) { return p.finished; });
    if (allFetched && sizeOf(partial) < 0 && job.received > 0 && sizeOf(job.file) == job.received) {
        m_live.erase(job.id);
        job.state = JobState::Done;
        return false;
    }
    if (job.fragments) {
        keepJoinedFragments(job, partial);
        return true;
    }
    if (!job.pieces.empty() && sizeOf(partial) < 0)
        job.pieces.clear();
    if (!job.pieces.empty())
        return true;
    job.received = 0;
    if (common::isHlsAddress(job.url))
        return listFragments(job);
    const long long length = job.givenSize > 0 ? std::exchange(job.givenSize, 0)
                                               : m_network.contentLengths({ job.url }, {}).front();
    job.size = std::max(length, 0LL);
    if (length >= kRangeFileBytes)
        job.pieces = rangesOf(length, m_settings.connections);
    else if (length > 0)
        job.pieces = rangesOf(length, 1);
    else
        job.pieces = { Piece {} };
    removeQuietly(partial);
    return true;
}

// Joined bytes beyond the recorded ones are cut off; fewer mean the file was lost. Fragments
// not joined yet count as fetched only while their files are there.
void DownloadQueue::keepJoinedFragments(Job& job, const std::string& partial)
{
    const long long have = sizeOf(partial);
    if (have < job.received || (have < 0 && job.joined > 0)) {
        job.joined = 0;
        job.received = 0;
        removeQuietly(partial);
    } else if (have > job.received) {
        std::error_code ignored;
        fs::resize_file(partial, static_cast<uintmax_t>(job.received), ignored);
    }
    for (size_t i = static_cast<size_t>(job.joined); i < job.pieces.size(); ++i) {
        Piece& piece = job.pieces[i];
        piece.finished = piece.finished && sizeOf(fragmentPath(job.file, i)) >= 0;
        piece.done = 0;
    }
    for (size_t i = 0; i < static_cast<size_t>(job.joined); ++i)
        job.pieces[i].finished = true;
}

// The pieces of a playlist download: its fragments, from the best stream of a master
// playlist. False, with the download failed, when it has none or refuses them.
bool DownloadQueue::listFragments(Job& job)
{
    common::HlsPlaylist playlist = common::readHlsPlaylist(m_network.get(job.url).body, job.url);
    if (!playlist.variant.empty())
        playlist = common::readHlsPlaylist(m_network.get(playlist.variant).body, playlist.variant);
    if (const char* refusal = refusalOf(playlist)) {
        fail(job, refusal);
        return false;
    }
    job.fragments = true;
    job.joined = 0;
    for (const std::string& url : playlist.pieces)
        job.pieces.push_back(fragment(url));
    return true;
}

int DownloadQueue::runningPieces(int id) const
{
    return static_cast<int>(std::count_if(
        m_running.begin(), m_running.end(), [id](const auto& r) { return r.second.first == id; }));
}

void DownloadQueue::startPieces(Job& job, Live& live, int64_t now)
{
    if (now < live.waitUntil)
        return;
    int running = runningPieces(job.id);
    for (size_t i = 0; i < job.pieces.size() && running < live.connections; ++i) {
        Piece& piece = job.pieces[i];
        const bool taken = std::any_of(m_running.begin(), m_running.end(),
            [&](const auto& r) { return r.second.first == job.id && r.second.second == i; });
        if (piece.finished || taken)
            continue;
        // Fragments are fetched a little ahead of the next one to join, never far.
        if (job.fragments
            && i >= static_cast<size_t>(job.joined) + static_cast<size_t>(live.connections) * kFragmentsAhead)
            break;
        platform::PieceOutcome refused;
        const int fetcherId = m_fetcher->start(pieceRequest(job, piece, i), &refused);
        if (fetcherId == 0) {
            fail(job, refused.error.starts_with("the file cannot be written") ? "无法写入文件" : "地址无效");
            return;
        }
        m_running[fetcherId] = { job.id, i };
        ++running;
    }
}

// The request for piece i of a download: a fragment into its own file, a range into the
// partial file from where it stopped, or the whole file from its start.
platform::PieceRequest DownloadQueue::pieceRequest(const Job& job, Piece& piece, size_t i)
{
    platform::PieceRequest request;
    request.url = piece.url.empty() ? job.url : piece.url;
    request.headers = job.headers;
    if (job.fragments) {
        request.file = fragmentPath(job.file, i);
        removeQuietly(request.file);
        return request;
    }
    request.file = partialPath(job.file);
    if (piece.first < 0) {
        piece.done = 0;
        removeQuietly(request.file);
        return request;
    }
    request.offset = piece.first + piece.done;
    request.rangeFirst = piece.first + piece.done;
    request.rangeLast = piece.last;
    request.ifRange = job.version;
    // Sound: with no version to name, a resume asks again for the bytes before its point and
    // goes on only when they repeat what the file holds; otherwise the answer is refused and
    // the file is fetched again from its start.
    const long long back = std::min(piece.done, kOverlapBytes);
    if (job.version.empty() && back > 0) {
        request.overlap = bytesAt(request.file, request.offset - back, back);
        if (static_cast<long long>(request.overlap.size()) == back)
            request.rangeFirst -= back;
        else
            request.overlap.clear();
    }
    return request;
}

void DownloadQueue::handle(const platform::PieceOutcome& outcome, int64_t now)
{
    const auto it = m_running.find(outcome.id);
    if (it == m_running.end())
        return;
    const auto [id, index] = it->second;
    m_running.erase(it);
    Job* job = find(id);
    Live& live = *m_live[id];
    Piece& piece = job->pieces[index];
    live.fetched += outcome.written;
    piece.done = piece.first >= 0 && !job->fragments ? piece.done + outcome.written : outcome.written;
    m_dirty = true;
    if (!keepsVersion(*job, outcome)) {
        restart(*job);
        // A download this ends (already there whole, or failed) has its state set by it.
        std::ignore = prepare(*job);
        return;
    }
    if (outcome.ok) {
        pieceFetched(*job, live, piece);
        return;
    }
    if (outcome.rangeRefused && !job->fragments) {
        // The server sends only whole files (or the file changed): fetched again, whole.
        restart(*job);
        job->pieces = { Piece {} };
        return;
    }
    if (outcome.throttled && !job->oneTry) {
        slowDown(live, outcome, now);
        return;
    }
    job->status = outcome.status >= 400 ? outcome.status : 0;
    fail(*job, failureReason(outcome));
}

// Whether the bytes of a piece belong to the version of the file the download holds; the
// first version named becomes the download's.
bool DownloadQueue::keepsVersion(Job& job, const platform::PieceOutcome& outcome)
{
    // Sound: a piece cut short also names the version its bytes belong to, so a later resume
    // asks for the rest of that version only (If-Range), and bytes of two versions never
    // make one file.
    if (!outcome.ok && !job.fragments && outcome.written > 0 && !outcome.version.empty()) {
        if (job.version.empty())
            job.version = outcome.version;
        else if (job.version != outcome.version)
            return false;
    }
    if (outcome.ok) {
        // Sound: ranges of two versions of a file never make one file.
        if (!job.version.empty() && !outcome.version.empty() && outcome.version != job.version)
            return false;
        if (job.version.empty() && !job.fragments)
            job.version = outcome.version;
    }
    return true;
}

// A piece came whole: a connection more after enough of them, fragments joined, and the
// download completed when it was the last.
void DownloadQueue::pieceFetched(Job& job, Live& live, Piece& piece)
{
    piece.finished = true;
    if (++live.goodPieces >= kGoodPiecesToGrow && live.connections < m_settings.connections) {
        ++live.connections;
        live.goodPieces = 0;
    }
    if (job.fragments)
        joinFragments(job);
    if (job.state == JobState::Running
        && std::all_of(job.pieces.begin(), job.pieces.end(), [](const Piece& p) { return p.finished; }))
        complete(job);
}

// A server that asks for less, or breaks connections off, gets fewer connections and a
// pause, as long as it takes: being throttled never fails a download.
void DownloadQueue::slowDown(Live& live, const platform::PieceOutcome& outcome, int64_t now)
{
    live.connections = std::max(1, live.connections / 2);
    live.goodPieces = 0;
    ++live.throttles;
    const int64_t backoff = std::min<int64_t>(kMaxBackoffMs, 500LL << std::min(live.throttles, 6));
    const int64_t wait = outcome.retryAfterSeconds >= 0 ? outcome.retryAfterSeconds * 1000LL : backoff;
    live.waitUntil = std::max(live.waitUntil, now + wait);
}

void DownloadQueue::joinFragments(Job& job)
{
    const std::string partial = partialPath(job.file);
    while (job.joined < static_cast<int>(job.pieces.size())
        && job.pieces[static_cast<size_t>(job.joined)].finished) {
        const std::string fragment = fragmentPath(job.file, static_cast<size_t>(job.joined));
        if (!appendFile(fragment, partial)) {
            fail(job, "无法写入文件");
            return;
        }
        removeQuietly(fragment);
        ++job.joined;
        job.received = std::max(sizeOf(partial), 0LL);
    }
}

void DownloadQueue::complete(Job& job)
{
    stop(job.id);
    const std::string partial = partialPath(job.file);
    const long long have = sizeOf(partial);
    if (!job.fragments && job.size > 0 && have != job.size) {
        fail(job, "文件不完整");
        return;
    }
    job.received = have;
    // Sound: a file that appeared under the name meanwhile is never replaced.
    if (platform::fileExists(job.file) && !job.replace) {
        const std::string file = job.file;
        job.file.clear();
        job.file = freeName(file);
    }
    // The list knows the bytes are whole before they take the file's name, so a run cut
    // short between the two finds the file and does not fetch it again.
    save();
    std::error_code error;
    fs::rename(partial, job.file, error);
    if (error) {
        fail(job, "无法写入文件");
        return;
    }
    if (job.size == 0)
        job.size = job.received;
    job.state = JobState::Done;
    job.reason.clear();
    m_dirty = true;
    if (onFinished)
        onFinished(job);
}

void DownloadQueue::measure(int64_t now)
{
    for (Job& job : m_jobs) {
        auto it = m_live.find(job.id);
        if (it == m_live.end() || job.state != JobState::Running)
            continue;
        Live& live = *it->second;
        long long inFlight = 0;
        for (const auto& [fetcherId, owner] : m_running) {
            if (owner.first != job.id)
                continue;
            inFlight += m_fetcher->written(fetcherId);
            // A file fetched whole whose length was not known before: its answer tells it.
            if (job.size == 0 && !job.fragments && job.pieces[owner.second].first < 0)
                job.size = m_fetcher->announced(fetcherId);
        }
        if (!job.fragments) {
            long long done = 0;
            for (const Piece& piece : job.pieces)
                done += piece.done;
            job.received = done + inFlight;
        }
        const long long bytes = live.fetched + inFlight;
        if (live.sampleAt < 0) {
            live.sampleAt = now;
            live.sampleBytes = bytes;
        } else if (now - live.sampleAt >= 1000) {
            live.speed = (bytes - live.sampleBytes) * 1000 / (now - live.sampleAt);
            live.sampleAt = now;
            live.sampleBytes = bytes;
        }
    }
}

bool DownloadQueue::canFetch()
{
    if (!m_fetcher)
        m_fetcher = m_network.pieceFetcher();
    return m_fetcher != nullptr;
}

void DownloadQueue::tick(int64_t nowMs, int waitMs)
{
    m_now = nowMs;
    if (!canFetch())
        return;
    // Sound: the limit is shared by every piece of every download as their bytes come, so a
    // download that starts later, a connection given up, or a file the server sends at once
    // cannot take more than the limit together.
    m_fetcher->setSpeedLimit(static_cast<long long>(m_settings.speedLimitKb) * 1024);
    for (const platform::PieceOutcome& outcome : m_fetcher->poll(waitMs))
        handle(outcome, nowMs);
    int running = static_cast<int>(m_live.size());
    for (Job& job : m_jobs) {
        if (running >= m_settings.parallel)
            break;
        if (job.state != JobState::Waiting)
            continue;
        job.state = JobState::Running;
        auto live = std::make_unique<Live>();
        live->connections = m_settings.connections;
        m_live[job.id] = std::move(live);
        m_dirty = true;
        if (!prepare(job))
            continue;
        ++running;
        // The pieces of a run cut short just before its end are all there already.
        if (job.fragments)
            joinFragments(job);
        const bool whole = job.fragments
            ? job.joined == static_cast<int>(job.pieces.size())
            : std::all_of(job.pieces.begin(), job.pieces.end(), [](const Piece& p) { return p.finished; });
        if (!job.pieces.empty() && whole && job.state == JobState::Running)
            complete(job);
    }
    for (Job& job : m_jobs) {
        auto it = m_live.find(job.id);
        if (job.state == JobState::Running && it != m_live.end())
            startPieces(job, *it->second, nowMs);
    }
    measure(nowMs);
    // Progress alone is written without waiting for the disk: a sync there would wait for
    // the pieces' own bytes, and a lost progress line only costs fetching a few bytes again.
    if (m_dirty || (!m_running.empty() && nowMs - m_lastSave >= kSaveEveryMs)) {
        m_lastSave = nowMs;
        save(false);
    }
}

long long DownloadQueue::speed(int id) const
{
    auto it = m_live.find(id);
    return it == m_live.end() ? 0 : it->second->speed;
}

long long DownloadQueue::secondsLeft(int id) const
{
    const Job* j = job(id);
    const long long rate = speed(id);
    if (!j || rate <= 0 || j->size <= 0 || j->fragments)
        return -1;
    return (j->size - j->received + rate - 1) / rate;
}

} // namespace downloads
