#include "video/web_list.h"

#include <algorithm>
#include <cctype>
#include <iterator>

#include "common/json_reader.h"
#include "platform/config.h"
#include "platform/headless_url.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"
#include "video/web_cookies.h"

namespace video {

using common::json::Value;

namespace {
constexpr int64_t kYtdlpLimitMs = 60000;
}

std::optional<std::vector<WebEntry>> readWebList(std::string_view json)
{
    const std::optional<common::json::Document> doc = common::json::parse(json);
    if (!doc || doc->root().kind() != Value::Object || doc->root()["_type"].str() != "playlist")
        return std::nullopt;
    std::vector<WebEntry> entries;
    for (const Value entry : doc->root()["entries"].items()) {
        if (entries.size() >= kMaxEntries)
            break;
        // A flat entry names its page, a resolved one (a page of several videos) its file.
        std::string url = entry["url"].str();
        if (url.empty())
            url = entry["webpage_url"].str();
        if (!platform::isWebAddress(url))
            continue;
        std::string title = vb::Left(vb::Trim(entry["title"].str()), 200);
        if (title.empty())
            title = "第" + std::to_string(entries.size() + 1) + "个视频";
        entries.push_back({ std::move(title), std::move(url) });
    }
    return entries;
}

common::ToolRun askYtdlp(
    runtime::App& app, const std::string& address, const std::function<bool()>& keepGoing)
{
    std::vector<std::string> args = { app.service<platform::Config>().get("ytdlp"), "-J", "--flat-playlist",
        "--no-playlist", "--no-warnings" };
    // The web engine's cookies of the site, so yt-dlp sees what the logged-in browser sees.
    const SiteCookies cookies(app, address);
    if (!cookies.file().empty())
        args.insert(args.end(), { "--cookies", cookies.file() });
    args.insert(args.end(), { "--", address });
    // Sound: yt-dlp gets a minute; the caller's window closing stops it.
    return common::runTool(app, args, kYtdlpLimitMs, keepGoing);
}

std::string loginQuality(std::string_view reason)
{
    std::string lower(reason);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    static const char* const kLoginWords[] = { "registered users", "login", "log in", "logged in", "sign in",
        "account credentials", "--cookies", "premium", "登录", "会员" };
    if (std::none_of(std::begin(kLoginWords), std::end(kLoginWords),
            [&](const char* word) { return lower.find(word) != std::string::npos; }))
        return {};
    // The highest "NNNp" the reason names.
    int best = 0;
    for (size_t i = 0; i < lower.size(); ++i) {
        size_t end = i;
        while (end < lower.size() && std::isdigit(static_cast<unsigned char>(lower[end])))
            ++end;
        const size_t digits = end - i;
        const bool before = i == 0 || !std::isdigit(static_cast<unsigned char>(lower[i - 1]));
        if (before && (digits == 3 || digits == 4) && end < lower.size() && lower[end] == 'p')
            best = std::max(best, std::stoi(lower.substr(i, digits)));
        i = std::max(i, end);
    }
    return best > 0 ? std::to_string(best) + "P" : "高清";
}

std::string numberedName(size_t index, size_t count, const std::string& title)
{
    const size_t width = std::max<size_t>(2, std::to_string(count).size());
    std::string number = std::to_string(index + 1);
    number.insert(0, width - std::min(width, number.size()), '0');
    return number + " " + title;
}

} // namespace video
