#include "platform/config.h"

#include <cstdlib>
#include <sstream>
#include <utility>

#include "platform/textfile.h"
#include "runtime/ascii.h"

namespace platform {

namespace {

// A configuration is a page of key=value lines; a bigger file is not one.
constexpr size_t kMaxConfigBytes = size_t { 4 } * 1024 * 1024;

} // namespace

Config::Config()
{
    m_values = {
        { "probe", "https://www.qq.com" },
        { "update_server", "https://update.zelvora.cn" },
        { "maker_site", "https://www.zelvora.cn" },
        { "parse_service", "https://www.flvcd.com" },
        { "search.tudou", "https://www.soku.com" },
        { "search.sohu", "https://so.tv.sohu.com" },
        { "search.pptv", "https://search.pptv.com" },
        { "search.letv", "https://so.le.com" },
        { "search.fengx", "https://www.fun.tv" },
        { "search.xinlang", "https://search.sina.com.cn" },
        { "search.youku", "https://so.youku.com" },
        { "search.bdhd", "https://www.bdhdzy.net" },
        { "search.qovd", "https://www.qvodzy.net" },
        { "dns.primary", "114.114.114.114" },
        { "dns.secondary", "8.8.8.8" },
        { "browser_cache", "" },
        { "music.kugou", "https://web.kugou.com/" },
        { "music.kuwo", "https://www.kuwo.cn/" },
        { "music.xiami", "https://www.xiami.com/" },
        { "music.yyt", "https://www.yinyuetai.com/" },
        { "music.jiuku", "https://www.9ku.com/" },
        { "music.duomi", "https://www.duomi.com/" },
        { "music.baidu", "https://fm.baidu.com/" },
        { "music.sougou", "https://mp3.sogou.com/" },
        { "music.qq", "https://y.qq.com/portal/player.html" },
        { "music.douban", "https://douban.fm/" },
        { "music.wangyi", "https://music.163.com/" },
        { "music.beiwa", "https://www.beva.com/" },
        { "codepage", "" },
        { "ytdlp", "yt-dlp" },
        { "ffmpeg", "ffmpeg" },
        // The supported video sites, in the order the video download window checks them.
        { "site.1", "v.yinyuetai.com" },
        { "site.2", "www.kugou.com" },
        { "site.3", "www.wasu.cn" },
        { "site.4", "www.tangdou.com" },
        { "site.5", "www.joy.cn" },
        { "site.6", "v.163.com" },
        { "site.7", "video.sina.com.cn" },
        { "site.8", "www.tudou.com" },
        { "site.9", "www.letv.com" },
        { "site.10", "v.youku.com" },
        { "site.11", "www.56.com" },
        { "site.12", "v.ku6.com" },
        { "site.13", "v.qq.com" },
        { "site.14", "v.ifeng.com" },
        { "site.15", "tv.cntv.cn" },
        { "site.16", "vod.kankan.com" },
        { "site.17", "www.funshion.com" },
        { "site.18", "www.pps.tv" },
        // The toolbox's web tools and chat link.
        { "tool.ip", "https://www.ip138.com" },
        { "tool.weather", "https://www.baidu.com" },
        { "tool.meitu", "https://xiuxiu.web.meitu.com" },
        { "tool.astro", "https://astro.women.sohu.com" },
        { "chat", "https://wpa.qq.com" },
        { "chat.site", "zelvora" },
    };
    // The hosts of the addresses the video search picks from result pages, and the channel
    // pages of the player's network list.
    const std::pair<const char*, const char*> webVideo[] = {
        { "pick.tudou", "http://www.tudou.com" },
        { "pick.soku", "http://www.soku.com" },
        { "pick.sohu", "http://so.tv.sohu.com" },
        { "pick.pptv", "http://v.pptv.com" },
        { "pick.youku", "http://v.youku.com" },
        { "pick.letv", "http://www.le.com" },
        { "pick.fengx", "http://www.fun.tv" },
        { "pick.xinlang", "http://video.sina.com.cn" },
        { "pick.qovd", "http://www.qvodzy.net" },
        { "channel.1", "http://www.tudou.com/tvp/" },
        { "channel.2", "http://www.youku.com/" },
        { "channel.3", "http://www.iqiyi.com/" },
        { "channel.4", "http://v.qq.com/" },
        { "channel.5", "http://www.ku6.com/" },
        { "channel.6", "http://tv.sohu.com/movie/" },
        { "channel.7", "http://www.kankan.com/" },
        { "channel.8", "http://tv.sohu.com/movie/" },
        { "channel.9", "http://v.ifeng.com/" },
        { "channel.10", "http://www.kumi.cn/" },
        { "channel.11", "http://www.le.com/" },
        { "channel.12", "http://app.aplus.pptv.com/360app/desktop/list/1____//1.html" },
        { "channel.13", "http://app.aplus.pptv.com/360app/desktop/list/2____//1.html" },
        { "channel.14", "http://app.aplus.pptv.com/360app/desktop/list/3____//1.html" },
        { "channel.15", "http://app.aplus.pptv.com/360app/desktop/list/4____//1.html" },
        { "channel.16", "http://app.aplus.pptv.com/360app/desktop/list/7____//1.html" },
        { "channel.17", "http://app.aplus.pptv.com/360app/desktop/list/6____//1.html" },
        { "channel.18", "http://tv.cntv.cn/live/" },
        { "channel.19", "http://tv.hao123.com/" },
        { "channel.20", "http://www.tvsou.com/player/tv.swf" },
        { "channel.21", "http://www.tvmao.com/live/" },
        { "channel.22", "http://www.tvmao.com/program/" },
        { "channel.23", "http://www.radio.cn/" },
        { "channel.24", "http://www.qingting.fm/" },
        { "channel.25", "http://www.ximalaya.com/" },
        { "channel.26", "https://www.zelvora.cn/index.html" },
    };
    for (const auto& [key, value] : webVideo)
        m_values[key] = value;
}

Status Config::loadFile(const std::string& path)
{
    // Only a regular file is read, so a FIFO or a device named as the file cannot stall start-up.
    auto bytes = readFile(path, kMaxConfigBytes);
    if (!bytes)
        return Status::failure("cannot read the configuration file " + path);
    std::istringstream in(std::move(*bytes));
    std::string line;
    int number = 0;
    std::string bad;
    while (std::getline(in, line)) {
        ++number;
        const std::string t = runtime::trimmed(line);
        if (t.empty() || t[0] == '#')
            continue;
        const auto eq = t.find('=');
        if (eq == std::string::npos || eq == 0) {
            bad += (bad.empty() ? "" : ", ") + std::to_string(number);
            continue;
        }
        m_values[runtime::trimmed(t.substr(0, eq))] = runtime::trimmed(t.substr(eq + 1));
    }
    if (!bad.empty())
        return Status::failure(path + ": lines without key=value: " + bad);
    return Status::success();
}

std::string Config::get(const std::string& key) const
{
    auto it = m_values.find(key);
    return it == m_values.end() ? std::string() : it->second;
}

void Config::set(const std::string& key, const std::string& value)
{
    m_values[key] = value;
}

std::string Config::fileFromEnvironment()
{
    const char* v = std::getenv("ZELVORA_CONFIG");
    return v ? std::string(v) : std::string();
}

} // namespace platform
