// The search worker's picking: which addresses of a result page become results, by the
// address prefixes of each site.
#include "player/player_window.h"
#include "runtime/app.h"
#include "runtime/vbtext.h"
#include "video/search_window.h"

namespace video {

namespace {

// What a rule does with the addresses that match it.
enum class Pick {
    // The match with the rule's number becomes a high-definition result.
    High,
    // Normal candidates: the first ten go to du, the first five become rows.
    Normal,
    // The match with the rule's number becomes a normal result at once.
    Direct,
};

struct Rule {
    Pick pick;
    // The Config key "pick.<site>" of the host the paths belong to.
    const char* site;
    const char* paths[2];
    // Which match is picked (High and Direct).
    int number;
    // Only addresses whose last character is not "0" match.
    bool notEndingInZero;
};

struct SiteRules {
    const char* state;
    const char* status;
    Rule rules[3];
    // Whether the normal candidates are moved on to pu after the scan.
    bool stepsCandidates;
};

constexpr SiteRules kSites[] = {
    { "tudou", "正在搜索：土豆网",
        { { Pick::High, "tudou", { "/albumplay/" }, 1, false },
            { Pick::Normal, "tudou", { "/programs/" }, 0, false },
            { Pick::Direct, "soku", { "/search/" }, 1, false } },
        true },
    { "sohu", "正在搜索：搜狐网", { { Pick::High, "sohu", { "/to?" }, 1, true } }, false },
    { "pptv", "正在搜索：PPTV",
        { { Pick::High, "pptv", { "/show/" }, 3, false },
            { Pick::Normal, "youku", { "/v_show/" }, 0, false } },
        true },
    { "letv", "正在搜索：乐视网",
        { { Pick::High, "letv", { "/ptv/pplay/" }, 1, false },
            { Pick::Normal, "letv", { "/ptv/vplay/" }, 0, false } },
        true },
    { "fengx", "正在搜索：风行网", { { Pick::High, "fengx", { "/subject/" }, 7, false } }, true },
    { "xinlang", "正在搜索：新浪网", { { Pick::High, "xinlang", { "/m/", "/v/" }, 1, false } }, true },
    { "youku", "正在搜索：优酷网", { { Pick::High, "youku", { "/v_show/" }, 1, false } }, true },
};

constexpr size_t kMaxRules = 3;
// Normal candidates kept per site (counter below 11) and rows shown (counter below 6).
constexpr int kCandidateLimit = 11;
constexpr int kNormalRowLimit = 6;
// Resource results per site (counter below 10).
constexpr int kResourceLimit = 10;

std::string numbered(const char* row, int n)
{
    return std::string(row) + "(" + std::to_string(n) + ")";
}

bool startsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

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
    const SiteRules* site = nullptr;
    for (const SiteRules& s : kSites) {
        if (state == s.state)
            site = &s;
    }
    if (!site)
        return;
    setStatus(site->status);
    player::Form5& player = app().get<player::Form5>();

    // The prefixes of each rule, and its counter, which starts at 1 for every site.
    std::vector<std::string> prefixes[kMaxRules];
    int counters[kMaxRules];
    for (size_t r = 0; r < kMaxRules; ++r) {
        counters[r] = 1;
        for (const char* path : site->rules[r].paths) {
            if (site->rules[r].site && path)
                prefixes[r].push_back(pickPrefix(site->rules[r].site, path));
        }
    }
    for (const std::string& address : List2.items()) {
        for (size_t r = 0; r < kMaxRules; ++r) {
            const Rule& rule = site->rules[r];
            bool matches = false;
            for (const std::string& prefix : prefixes[r])
                matches = matches || startsWith(address, prefix);
            if (!matches || (rule.notEndingInZero && vb::Right(address, 1) == "0"))
                continue;
            const int n = counters[r]++;
            if (rule.pick == Pick::High && n == rule.number) {
                gao.addItem(address);
                addResult(player.List6, dizhi6, numbered(kRowHigh, n), address);
            } else if (rule.pick == Pick::Direct && n == rule.number) {
                pu.addItem(address);
                addResult(player.List6, dizhi6, numbered(kRowNormal, n), address);
            } else if (rule.pick == Pick::Normal) {
                if (n < kCandidateLimit)
                    du.addItem(address);
                if (n < kNormalRowLimit)
                    addResult(player.List6, dizhi6, numbered(kRowNormal, n), address);
            }
        }
    }
    if (!site->stepsCandidates)
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
        setStatus("正在搜索：百度影音");
        prefix = "bdhd://";
        row = kRowBaidu;
    } else if (state == "qovd") {
        setStatus("正在搜索：快播资源");
        prefix = pickPrefix("qovd", "/detail.asp?ID=");
        row = kRowQvod;
    } else {
        return;
    }
    player::Form5& player = app().get<player::Form5>();
    int counter = 1;
    for (const std::string& address : List2.items()) {
        if (!startsWith(address, prefix))
            continue;
        const int n = counter++;
        if (n < kResourceLimit) {
            List1.addItem(address);
            addResult(player.List7, dizhi7, numbered(row, n), address);
        }
    }
}

} // namespace video
