#pragma once
// One libcurl transfer with the settings every request of the program shares.
#include <curl/curl.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/posix/curl_network.h"

namespace platform::curl {

// An easy handle set up for one address: our user agent, http and https only (also after
// redirects), redirects followed, certificates verified, connect and stall time-outs.
class Transfer {
public:
    Transfer(const CurlOptions& options, const std::string& address);
    ~Transfer();
    Transfer(const Transfer&) = delete;
    Transfer& operator=(const Transfer&) = delete;

    [[nodiscard]] CURL* handle() const { return m_easy; }
    // Whether the handle was created and accepted the address.
    [[nodiscard]] bool ready() const { return m_ready; }
    // Runs the transfer on the calling thread. poll runs between rounds of network work (at
    // least every pollMs); returning false stops the transfer with CURLE_ABORTED_BY_CALLBACK.
    CURLcode run(const std::function<bool()>& poll, int pollMs);
    // Why the transfer failed, in words.
    [[nodiscard]] std::string errorText(CURLcode code) const;
    // The HTTP status of the last response, 0 when none arrived.
    [[nodiscard]] int status() const;
    // The address of the last response, after redirects.
    [[nodiscard]] std::string effectiveAddress() const;
    // The length the server announced, 0 when unknown.
    [[nodiscard]] long long announcedLength() const;
    // Redirects followed so far.
    [[nodiscard]] long redirects() const;

private:
    CURL* m_easy = nullptr;
    bool m_ready = false;
    char m_error[CURL_ERROR_SIZE] = {};
};

// Runs several transfers at once on the calling thread, at most maxConnections connections
// at a time; poll as in Transfer::run. The result of each, in order.
std::vector<CURLcode> runTogether(const std::vector<Transfer*>& transfers, const std::function<bool()>& poll,
    int pollMs, long maxConnections);

// Initialises libcurl once per process.
void initialiseOnce();

} // namespace platform::curl
