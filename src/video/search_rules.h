#pragma once
// The search worker's picking rules: which addresses of a site's result page become results,
// by the address prefixes of each site. Free of windows, so the rules can be run on any page.
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace video {

struct SiteRules;

// What one site's rules make of the addresses of its result page, in page order.
struct SitePicks {
    // High-definition results (the worker's gao).
    std::vector<std::string> high;
    // Normal results picked at once (pu).
    std::vector<std::string> direct;
    // Normal candidates (du).
    std::vector<std::string> candidates;
    // The result rows with the address each one leads to.
    std::vector<std::pair<std::string, std::string>> rows;
};

// The rules of a search state ("tudou", "sohu"...), or null for a state without them.
const SiteRules* siteRules(const std::string& state);
// The status text shown while the site is searched.
const char* siteStatus(const SiteRules& site);
// Whether the site's normal candidates are moved on to pu after the scan.
bool siteStepsCandidates(const SiteRules& site);
// Applies a site's rules to the addresses; prefixOf gives the address prefix of a rule's
// site key and path.
SitePicks pickSite(const SiteRules& site, const std::vector<std::string>& addresses,
    const std::function<std::string(const char* site, const char* path)>& prefixOf);
// The resource results: the addresses that begin with prefix, at most nine, each with its row
// text, row followed by its number.
std::vector<std::pair<std::string, std::string>> pickResources(
    const std::vector<std::string>& addresses, const std::string& prefix, const char* row);

} // namespace video
