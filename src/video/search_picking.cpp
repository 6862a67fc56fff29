// The search worker's picking: which addresses of a result page become results, by the
// address prefixes of each site.
#include "player/player_window.h"
#include "runtime/app.h"
#include "video/search_rules.h"
#include "video/search_window.h"

namespace video {

void search::Timer2_Timer()
{
    if (!collectPage())
        return;
    const std::string state = Text1.text();
    pickVideoResults(state);
    nextState(state, Timer2);
}

void search::bdhd_Timer()
{
    if (!collectPage())
        return;
    const std::string state = Text1.text();
    pickResourceResults(state);
    nextState(state, bdhd);
}

void search::pickVideoResults(const std::string& state)
{
    const SiteRules* site = siteRules(state);
    if (!site)
        return;
    setStatus(siteStatus(*site));
    player::Form5& player = app().get<player::Form5>();
    const SitePicks picks = pickSite(*site, List2.items(),
        [this](const char* siteKey, const char* path) { return pickPrefix(siteKey, path); });
    for (const std::string& address : picks.high)
        gao.addItem(address);
    for (const std::string& address : picks.direct)
        pu.addItem(address);
    for (const std::string& address : picks.candidates)
        du.addItem(address);
    for (const auto& [row, address] : picks.rows)
        addResult(player.List6, dizhi6, row, address);
    if (!siteStepsCandidates(*site))
        return;
    // Designed: every other candidate goes on to pu, up to and including the position just past
    // the end (an empty address), and du keeps the earlier sites' candidates, so they are
    // handed on again by every later site.
    for (int i = 0; i <= du.listCount(); i += 2)
        pu.addItem(du.list(i));
}

void search::pickResourceResults(const std::string& state)
{
    std::string prefix;
    const char* row = nullptr;
    if (state == "bdhd") {
        setStatus(kSearchBaidu);
        prefix = "bdhd://";
        row = kRowBaidu;
    } else if (state == "qovd") {
        setStatus(kSearchQvod);
        prefix = pickPrefix("qovd", "/detail.asp?ID=");
        row = kRowQvod;
    } else {
        return;
    }
    player::Form5& player = app().get<player::Form5>();
    for (const auto& [text, address] : pickResources(List2.items(), prefix, row)) {
        List1.addItem(address);
        addResult(player.List7, dizhi7, text, address);
    }
}

} // namespace video
