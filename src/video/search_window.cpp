// The search worker: its controls, the query step of every state and the reading of a
// result page.
#include "video/search_window.h"

#include "common/page_helpers.h"
#include "platform/config.h"
#include "player/page_templates.h"
#include "player/player_window.h"
#include "runtime/app.h"
#include "video/search_rules.h"

namespace video {

namespace {

// The query of one site: its search page, the path and key before the keyword, what follows.
struct Query {
    const char* state;
    const char* path;
    const char* after;
    bool resourceSite;
};

constexpr Query kQueries[] = {
    { "tudou", "/t/nisearch/", "", false },
    { "sohu", "/mts?box=1&wd=", "", false },
    { "pptv", "/s_video/q_", "", false },
    { "letv", "/s?wd=", "&from=pc", false },
    { "fengx", "/search/media?rec=1&sall=&kt=&ta=uoc&word=", "", false },
    { "xinlang", "/search/index.php?k=", "", false },
    { "youku", "/search_video/q_", "", false },
    { "bdhd", "/?s=", "", true },
    { "qovd", "/index.asp?keyword=", "", true },
};

const Query* queryOf(const std::string& state)
{
    for (const Query& q : kQueries) {
        if (state == q.state)
            return &q;
    }
    return nullptr;
}

} // namespace

search::search(runtime::App& app)
    : runtime::Form(app, "search")
{
    Timer1.onTimer = [this] { Timer1_Timer(); };
    Timer2.onTimer = [this] { Timer2_Timer(); };
    bdhd.onTimer = [this] { bdhd_Timer(); };
}

void search::clearResults()
{
    // Sound: a new search also stops the scrapers of the one under way, so a page of the old
    // search is never read as a result page of the new one, and it forgets the resource
    // addresses too, so every row keeps its own address.
    Timer1.setEnabled(false);
    Timer2.setEnabled(false);
    bdhd.setEnabled(false);
    for (runtime::ListBox* list : { &gao, &du, &pu, &List1, &List2, &dizhi6, &dizhi7 })
        list->clear();
    m_sitesAnswered = 0;
}

std::string search::queryAddress(const std::string& state, const std::string& keyword) const
{
    const Query* q = queryOf(state);
    if (!q)
        return {};
    // Sound: the characters that would end the keyword's part of the address (an "&" starting
    // another key, a "#" starting a fragment, a blank ending the request line, a "%" read as an
    // escape) are percent-encoded; every other character goes as the sites expect it, the
    // non-ASCII ones as UTF-8.
    const std::string safe = player::pages::percentEncode(keyword, " \"#%&'+/<>?\\^`{|}");
    return app().service<platform::Config>().get(std::string("search.") + q->state) + q->path
        + common::UTF8EncodeURI(safe) + q->after;
}

void search::Timer1_Timer()
{
    const std::string state = Text1.text();
    player::Form5& player = app().get<player::Form5>();
    if (const Query* q = queryOf(state)) {
        // Sound: the site's status shows while its page loads, not only once it has arrived.
        if (const SiteRules* site = siteRules(state))
            setStatus(siteStatus(*site));
        else
            setStatus(state == "bdhd" ? kSearchBaidu : kSearchQvod);
        WebBrowser1.navigate(queryAddress(state, player.Text4.text()));
        WebBrowser1.setSilent(true);
        m_queryStarted = app().now();
        (q->resourceSite ? bdhd : Timer2).start(1);
        Timer1.setEnabled(false);
    } else if (state == "ting") {
        player.List6.setVisible(true);
        setStatus("正在搜索：优酷网");
        setStatus("正在启动百度搜索引擎");
        Text1.setText("bdhd");
    } else if (state == "chating") {
        player.List7.setVisible(true);
        setStatus("正在搜索：快播视频");
        // Sound: a search that no site answered says so instead of "finished".
        setStatus(m_sitesAnswered > 0 ? kSearchFinished : kSearchNoSite);
        Timer1.setEnabled(false);
    }
}

bool search::collectPage()
{
    if (WebBrowser1.busy()) {
        if (app().now() - m_queryStarted < kSiteTimeLimitMs)
            return false;
        // Sound: a page that does not finish loading in time is given up; its site counts as
        // one without results and the search goes on.
        WebBrowser1.stop();
        List2.clear();
        return true;
    }
    WebBrowser1.setBodyScroll("no");
    // The page is not reloaded after it has been read: the hidden browser never shows it, and
    // loading every result page a second time doubled the time of a search.
    std::vector<std::string> addresses;
    for (runtime::BrowserLink& link : WebBrowser1.linksAndImages())
        addresses.push_back(std::move(link.href));
    // A result page has links; a page without any is a failed load or an error page.
    if (!addresses.empty())
        ++m_sitesAnswered;
    List2.setItems(std::move(addresses));
    return true;
}

void search::setStatus(const std::string& text)
{
    app().get<player::Form5>().Label4.setCaption(text);
}

void search::addResult(
    runtime::ListBox& rows, runtime::ListBox& addresses, const std::string& row, const std::string& address)
{
    // The address list follows the rows one for one; rows that were cleared or written by
    // another player window than the one shown now are not paired with stale addresses.
    std::vector<std::string> paired = addresses.items();
    paired.resize(static_cast<size_t>(rows.listCount()));
    paired.push_back(address);
    addresses.setItems(std::move(paired));
    rows.addItem(row);
}

void search::nextState(const std::string& state, runtime::Timer& scraper)
{
    static constexpr const char* kOrder[]
        = { "tudou", "sohu", "pptv", "letv", "fengx", "xinlang", "youku", "ting", "bdhd", "qovd", "chating" };
    for (size_t i = 0; i + 1 < std::size(kOrder); ++i) {
        if (state == kOrder[i]) {
            Text1.setText(kOrder[i + 1]);
            break;
        }
    }
    Timer1.start(1);
    scraper.setEnabled(false);
}

std::string search::pickPrefix(const std::string& site, const std::string& path) const
{
    return app().service<platform::Config>().get("pick." + site) + path;
}

} // namespace video
