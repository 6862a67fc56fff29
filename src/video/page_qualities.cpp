#include "video/page_qualities.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <tuple>
#include <utility>

#include "common/data_folders.h"
#include "platform/charset_detect.h"
#include "platform/network.h"
#include "platform/textfile.h"
#include "runtime/app.h"
#include "video/web_cookies.h"

namespace video {

namespace {

// Heights a quality name can stand for; other numbers before a "p" are not qualities.
constexpr int kLowestHeight = 144;
constexpr int kHighestHeight = 4320;
// Milliseconds one wait for the page gives the network.
constexpr int kPollMs = 20;

bool asciiAlnum(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The height of the quality name starting at text[at] ("1080P", "4K") and its length; 0 when
// none starts there. A name stands apart from letters and digits around it, but a frame rate
// may follow ("1080P60").
std::pair<int, size_t> qualityAt(std::string_view text, size_t at)
{
    if (at > 0 && asciiAlnum(text[at - 1]))
        return { 0, 0 };
    size_t end = at;
    while (end < text.size() && end - at < 5 && text[end] >= '0' && text[end] <= '9')
        ++end;
    const size_t digits = end - at;
    if (digits == 0 || end >= text.size())
        return { 0, 0 };
    const char unit = static_cast<char>(text[end] & ~0x20);
    const bool apart = end + 1 >= text.size() || !(asciiAlnum(text[end + 1]) && text[end + 1] > '9');
    if (!apart)
        return { 0, 0 };
    const int number = std::stoi(std::string(text.substr(at, digits)));
    if (unit == 'P' && digits >= 3 && number >= kLowestHeight && number <= kHighestHeight)
        return { number, digits + 1 };
    // "2K", "4K", "8K": the heights of their usual pictures.
    if (unit == 'K' && digits == 1 && (number == 2 || number == 4 || number == 8))
        return { number == 2 ? 1440 : number * 540, 2 };
    return { 0, 0 };
}

} // namespace

int bestHeight(const WebVideo& video)
{
    int best = 0;
    for (const WebFormat& format : video.formats)
        best = format.video ? std::max(best, format.height) : best;
    return best;
}

std::string qualityAboveBest(std::string_view page, int bestHeight)
{
    if (bestHeight <= 0)
        return {};
    const std::string text = platform::decodeDetected(page.substr(0, static_cast<size_t>(kMaxPageBytes)));
    int best = bestHeight;
    std::string name;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto [height, length] = qualityAt(text, i);
        if (height > best) {
            best = height;
            name = text.substr(i, length);
            name.back() = static_cast<char>(name.back() & ~0x20);
        }
        i += length > 0 ? length - 1 : 0;
    }
    return name;
}

PageFetch::PageFetch(runtime::App& app, const std::string& address)
    : m_fetcher(app.service<platform::Network>().pieceFetcher())
{
    if (!m_fetcher)
        return;
    common::EnsureTempFolder(app);
    m_file = platform::temporaryPath(common::dataPaths(app).temp, "page");
    platform::PieceRequest request;
    request.url = address;
    request.file = m_file;
    if (std::string cookie = cookieHeader(app, address); !cookie.empty())
        request.headers.push_back(std::move(cookie));
    platform::PieceOutcome refusal;
    m_id = m_fetcher->start(request, &refusal);
}

PageFetch::~PageFetch()
{
    if (m_fetcher && m_id > 0)
        m_fetcher->cancel(m_id);
    if (!m_file.empty())
        std::ignore = platform::deleteFile(m_file); // else the next start's sweep does
}

void PageFetch::poll(int waitMs)
{
    if (!m_fetcher || m_id == 0)
        return;
    for (const platform::PieceOutcome& outcome : m_fetcher->poll(waitMs)) {
        if (outcome.id == m_id) {
            // A broken-off answer keeps what arrived; a refusal's page is not the video's.
            m_refused = !outcome.ok && outcome.status >= 400;
            m_id = 0;
        }
    }
    // Sound: a page that keeps coming is cut at the bytes that are read anyway.
    if (m_id > 0 && m_fetcher->written(m_id) >= kMaxPageBytes)
        m_fetcher->cancel(std::exchange(m_id, 0));
}

std::string PageFetch::bytes(int waitMs)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (m_id > 0 && std::chrono::steady_clock::now() < until)
        poll(kPollMs);
    if (m_file.empty() || m_refused)
        return {};
    std::ifstream in(m_file, std::ios::binary);
    std::string bytes(static_cast<size_t>(kMaxPageBytes), '\0');
    in.read(bytes.data(), kMaxPageBytes);
    bytes.resize(static_cast<size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return bytes;
}

} // namespace video
