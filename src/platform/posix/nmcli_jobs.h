#pragma once
// The network jobs done with NetworkManager's nmcli and the resolver's own tools.
#include <string>

#include "platform/network_jobs.h"

namespace platform {

class NmcliJobs : public NetworkJobs {
public:
    // browserCacheFolder: the web engine's cache, emptied by the tune-up (nothing when empty);
    // protectedFolder: a folder never emptied, nor any folder above it (the user profile).
    NmcliJobs(std::string browserCacheFolder, std::string protectedFolder);

    std::unique_ptr<NetworkJob> scan(const JobPlace& place) override;
    std::unique_ptr<NetworkJob> hotspotOn(const HotspotRequest& request) override;
    std::unique_ptr<NetworkJob> hotspotOff(const JobPlace& place, const std::string& connection) override;
    std::unique_ptr<NetworkJob> tuneUp(const TuneUpRequest& request) override;
    std::unique_ptr<NetworkJob> restoreDns(const JobPlace& place) override;

private:
    std::string m_cache;
    std::string m_protected;
};

} // namespace platform
