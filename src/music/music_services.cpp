// The twelve online music services of the music window, in tile order.
#include "music/music_window.h"
#include "music/page_store.h"

namespace music {

const std::vector<MusicService>& musicServices()
{
    static const std::vector<MusicService> services = {
        { &Form1::Image3, &music::kugou, "酷狗音乐 - 超大屏幕，显示歌词", "正在启动酷狗音乐...",
            "pictures/ui/music_kugou.png" },
        { &Form1::Image7, &music::kuwo, "酷我音乐 - 百万歌曲，一点即播", "正在启动酷我音乐...",
            "pictures/ui/music_kuwo.png" },
        { &Form1::Image8, &music::xiami, "虾米音乐 - 经典老歌与各色榜单", "正在启动虾米音乐...",
            "pictures/ui/music_xiami.png" },
        { &Form1::Image9, &music::yyt, "音悦台TV - 高清MV电台", "正在启动音悦台...",
            "pictures/ui/music_yyt.png" },
        { &Form1::Image10, &music::jiuku, "九酷听听 - 听好歌，上九酷", "正在启动九酷听听...",
            "pictures/ui/music_jiuku.png" },
        { &Form1::Image11, &music::duomi, "多米音乐 - 让音乐跟我走", "正在启动多米音乐...",
            "pictures/ui/music_duomi.png" },
        { &Form1::Image12, &music::baidu, "百度音乐 - 找到自己喜欢的音乐", "正在启动百度音乐...",
            "pictures/ui/music_baidu.png" },
        { &Form1::Image13, &music::sougou, "搜狗音乐盒 - 高音质正版，音乐播放", "正在启动搜狗音乐盒...",
            "pictures/ui/music_sougou.png" },
        { &Form1::Image14, &music::QQ, "QQ音乐 - 音乐你的生活", "正在启动QQ音乐...",
            "pictures/ui/music_qq.png" },
        { &Form1::Image15, &music::douban, "豆瓣FM - 根据你的喜好，播放想听的歌", "正在启动豆瓣FM...",
            "pictures/ui/music_douban.png" },
        { &Form1::Image16, &music::wangyi, "网易音乐 - 好歌听不断，尽在网易音乐", "正在启动网易音乐...",
            "pictures/ui/music_wangyi.png" },
        { &Form1::Image17, &music::beiwa, "贝瓦电台 - 儿童电台", "正在启动贝瓦电台...",
            "pictures/ui/music_beiwa.png" },
    };
    return services;
}

} // namespace music
