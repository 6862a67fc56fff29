#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/controls.h"
#include "runtime/form.h"
#include "runtime/media_controls.h"

namespace video {

// The states of the search, in the order they run, as they stand in Text1.
inline constexpr const char* kSearchFirstState = "tudou";

// The texts the search shows in the player's status label.
inline constexpr const char* kSearchStarted = "正在搜索网络资源...";
inline constexpr const char* kSearchFinished = "搜索完毕";
inline constexpr const char* kSearchOffline = "搜索失败，网络已断开";
inline constexpr const char* kSearchNoSite = "搜索失败，没有一个网站给出结果页，请检查网络或稍后再试";
// The status texts of the two resource sites.
inline constexpr const char* kSearchBaidu = "正在搜索：百度影音";
inline constexpr const char* kSearchQvod = "正在搜索：快播资源";

// The result rows the search writes into the player's lists (followed by "(n)").
inline constexpr const char* kRowHigh = "高清视频：";
inline constexpr const char* kRowNormal = "普清视频：";
inline constexpr const char* kRowBaidu = "百度影音：";
inline constexpr const char* kRowQvod = "快播视频：";

// How long a result page may take to load before its site is skipped.
inline constexpr int64_t kSiteTimeLimitMs = 10000;

// The hidden video search: walks the video and resource sites' result pages for the words in
// the player's address box, one site per step, and fills the player's result lists.
class search : public runtime::Form {
public:
    explicit search(runtime::App& app);

    // The state: the key of the site being searched.
    runtime::TextBox Text1 { *this, "Text1" };
    runtime::WebBrowser WebBrowser1 { *this, "WebBrowser1" };
    // The link and image addresses of the current page.
    runtime::ListBox List2 { *this, "List2" };
    // High-definition and normal-quality results, normal candidates, resource addresses.
    runtime::ListBox gao { *this, "gao" };
    runtime::ListBox pu { *this, "pu" };
    runtime::ListBox du { *this, "du" };
    runtime::ListBox List1 { *this, "List1" };
    // The address of each row of the player's List6 and List7, at the row's index.
    runtime::ListBox dizhi6 { *this, "dizhi6" };
    runtime::ListBox dizhi7 { *this, "dizhi7" };
    // The query step, the video-site scraper and the resource-site scraper.
    runtime::Timer Timer1 { *this, "Timer1" };
    runtime::Timer Timer2 { *this, "Timer2" };
    runtime::Timer bdhd { *this, "bdhd" };

    // Forgets every result and stops a search under way, before a new search starts.
    void clearResults();
    // The query address of a state for the keyword; empty for a state without a query.
    [[nodiscard]] std::string queryAddress(const std::string& state, const std::string& keyword) const;

    void Timer1_Timer();
    void Timer2_Timer();
    void bdhd_Timer();

private:
    // What the picking rules of one site produce.
    struct Picks;
    // Reads the links of the loaded page into List2; false while the page is still loading.
    bool collectPage();
    void pickVideoResults(const std::string& state);
    void pickResourceResults(const std::string& state);
    // Adds a result row to one of the player's lists, with its address beside it here.
    void addResult(runtime::ListBox& rows, runtime::ListBox& addresses, const std::string& row,
        const std::string& address);
    void setStatus(const std::string& text);
    // Moves on to the next state through the query step.
    void nextState(const std::string& state, runtime::Timer& scraper);
    [[nodiscard]] std::string pickPrefix(const std::string& site, const std::string& path) const;

    // When the current page was asked for (the app's clock).
    int64_t m_queryStarted = 0;
    // How many sites of this search gave a result page in time.
    int m_sitesAnswered = 0;
};

} // namespace video
