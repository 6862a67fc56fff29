#pragma once
// A network for window tests: the connection check answers from a flag and records the
// probe addresses it was asked about; transfers always fail (no test reaches outside).
#include <string>
#include <vector>

#include "platform/network.h"

namespace testing_support {

class FakeNetwork : public platform::Network {
public:
    bool checkConnection(const std::string& probeAddress) override
    {
        probes.push_back(probeAddress);
        return online;
    }
    platform::Status download(const std::string& url, const std::string&,
        const std::function<bool(const platform::TransferProgress&)>&,
        const platform::DownloadOptions& = {}) override
    {
        return platform::Status::failure("no network in this test: " + url);
    }
    platform::HttpResponse get(const std::string&) override { return {}; }

    // What the next connection checks answer.
    bool online = true;
    // Every probe address checked, in order.
    std::vector<std::string> probes;
};

} // namespace testing_support
