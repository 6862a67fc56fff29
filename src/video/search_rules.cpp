// The search worker's picking rules, by the address prefixes of each site.
#include "video/search_rules.h"

#include <algorithm>
#include <string_view>

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

} // namespace

struct SiteRules {
    const char* state;
    const char* status;
    Rule rules[3];
    // Whether the normal candidates are moved on to pu after the scan.
    bool stepsCandidates;
};

namespace {

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

// What follows "http://" or "https://" in text; the text itself when it has neither.
std::string_view afterWebScheme(std::string_view text)
{
    for (std::string_view scheme : { "http://", "https://" }) {
        if (text.starts_with(scheme))
            return text.substr(scheme.size());
    }
    return text;
}

// Sound: the sites moved to https while the picking hosts were written with http, so a prefix
// with a web scheme matches its host and path over either scheme.
bool matchesPrefix(const std::string& address, const std::string& prefix)
{
    const std::string_view host = afterWebScheme(prefix);
    if (host.size() == prefix.size())
        return address.starts_with(prefix);
    const std::string_view rest = afterWebScheme(address);
    return rest.size() != address.size() && rest.starts_with(host);
}

// Whether the address is one a rule counts: under one of its prefixes, and not ending in "0"
// where the rule leaves those out.
bool ruleTakes(const Rule& rule, const std::vector<std::string>& prefixes, const std::string& address)
{
    const bool matches = std::any_of(prefixes.begin(), prefixes.end(),
        [&address](const std::string& prefix) { return matchesPrefix(address, prefix); });
    return matches && !(rule.notEndingInZero && vb::Right(address, 1) == "0");
}

// Files the address as the rule's n-th: the high or direct pick when n is the rule's number,
// a candidate and a row while n is under the limits for the rest.
void addPick(SitePicks& picks, const Rule& rule, int n, const std::string& address)
{
    if (rule.pick == Pick::High && n == rule.number) {
        picks.high.push_back(address);
        picks.rows.emplace_back(numbered(kRowHigh, n), address);
    } else if (rule.pick == Pick::Direct && n == rule.number) {
        picks.direct.push_back(address);
        picks.rows.emplace_back(numbered(kRowNormal, n), address);
    } else if (rule.pick == Pick::Normal) {
        if (n < kCandidateLimit)
            picks.candidates.push_back(address);
        if (n < kNormalRowLimit)
            picks.rows.emplace_back(numbered(kRowNormal, n), address);
    }
}

} // namespace

const SiteRules* siteRules(const std::string& state)
{
    for (const SiteRules& s : kSites) {
        if (state == s.state)
            return &s;
    }
    return nullptr;
}

const char* siteStatus(const SiteRules& site)
{
    return site.status;
}

bool siteStepsCandidates(const SiteRules& site)
{
    return site.stepsCandidates;
}

SitePicks pickSite(const SiteRules& site, const std::vector<std::string>& addresses,
    const std::function<std::string(const char* site, const char* path)>& prefixOf)
{
    SitePicks picks;
    // The prefixes of each rule, and its counter, which starts at 1 for every site.
    std::vector<std::string> prefixes[kMaxRules];
    int counters[kMaxRules];
    for (size_t r = 0; r < kMaxRules; ++r) {
        counters[r] = 1;
        for (const char* path : site.rules[r].paths) {
            if (site.rules[r].site && path)
                prefixes[r].push_back(prefixOf(site.rules[r].site, path));
        }
    }
    for (const std::string& address : addresses) {
        for (size_t r = 0; r < kMaxRules; ++r) {
            if (ruleTakes(site.rules[r], prefixes[r], address))
                addPick(picks, site.rules[r], counters[r]++, address);
        }
    }
    return picks;
}

std::vector<std::pair<std::string, std::string>> pickResources(
    const std::vector<std::string>& addresses, const std::string& prefix, const char* row)
{
    std::vector<std::pair<std::string, std::string>> rows;
    int counter = 1;
    for (const std::string& address : addresses) {
        if (!matchesPrefix(address, prefix))
            continue;
        const int n = counter++;
        if (n < kResourceLimit)
            rows.emplace_back(numbered(row, n), address);
    }
    return rows;
}

} // namespace video
