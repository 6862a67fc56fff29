#pragma once
// What the network tests share: a loopback server, a temporary folder and the libcurl
// network with short time-outs, so a failing case ends in about a second.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/network.h"
#include "platform/posix/curl_network.h"
#include "support/fixture_server.h"
#include "support/temp_dir.h"

namespace network_testing {

inline platform::CurlOptions quickOptions()
{
    platform::CurlOptions o;
    o.connectTimeoutMs = 2000;
    o.probeTimeoutMs = 3000;
    o.stallSeconds = 1;
    o.heartbeatMs = 20;
    return o;
}

class NetworkTest : public ::testing::Test {
protected:
    testing_support::FixtureServer server;
    testing_support::TempDir dir;
    platform::CurlNetwork net { quickOptions() };
};

// Phases of the reports of one transfer, as letters: S start, P progress, E stop.
inline std::string phases(const std::vector<platform::TransferProgress>& reports)
{
    std::string out;
    for (const auto& r : reports)
        out += r.phase == platform::TransferProgress::Start ? 'S'
            : r.phase == platform::TransferProgress::Stop   ? 'E'
                                                            : 'P';
    return out;
}

} // namespace network_testing
