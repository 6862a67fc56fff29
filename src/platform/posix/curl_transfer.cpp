#include "platform/posix/curl_transfer.h"

#include <algorithm>
#include <mutex>

namespace platform::curl {

void initialiseOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

Transfer::Transfer(const CurlOptions& options, const std::string& address)
{
    initialiseOnce();
    m_easy = curl_easy_init();
    if (!m_easy)
        return;
    curl_easy_setopt(m_easy, CURLOPT_ERRORBUFFER, m_error);
    // Worker threads run transfers too: no signals, the threaded resolver keeps time-outs.
    curl_easy_setopt(m_easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(m_easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(m_easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(m_easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(m_easy, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(m_easy, CURLOPT_AUTOREFERER, 1L);
    curl_easy_setopt(m_easy, CURLOPT_USERAGENT, options.userAgent.c_str());
    curl_easy_setopt(m_easy, CURLOPT_CONNECTTIMEOUT_MS, options.connectTimeoutMs);
    // Less than one byte a second for stallSeconds counts as a dead transfer.
    curl_easy_setopt(m_easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(m_easy, CURLOPT_LOW_SPEED_TIME, options.stallSeconds);
    curl_easy_setopt(m_easy, CURLOPT_BUFFERSIZE, options.bufferBytes);
    curl_easy_setopt(m_easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(m_easy, CURLOPT_SSL_VERIFYHOST, 2L);
    m_ready = curl_easy_setopt(m_easy, CURLOPT_URL, address.c_str()) == CURLE_OK;
}

Transfer::~Transfer()
{
    if (m_easy)
        curl_easy_cleanup(m_easy);
}

CURLcode Transfer::run(const std::function<bool()>& poll, int pollMs)
{
    return runTogether({ this }, poll, pollMs, 1).front();
}

std::vector<CURLcode> runTogether(const std::vector<Transfer*>& transfers, const std::function<bool()>& poll,
    int pollMs, long maxConnections)
{
    std::vector<CURLcode> results(transfers.size(), CURLE_URL_MALFORMAT);
    CURLM* multi = curl_multi_init();
    if (!multi) {
        std::fill(results.begin(), results.end(), CURLE_OUT_OF_MEMORY);
        return results;
    }
    curl_multi_setopt(multi, CURLMOPT_MAX_TOTAL_CONNECTIONS, maxConnections);
    std::vector<CURL*> added;
    for (size_t i = 0; i < transfers.size(); ++i) {
        if (transfers[i]->ready() && curl_multi_add_handle(multi, transfers[i]->handle()) == CURLM_OK) {
            added.push_back(transfers[i]->handle());
            results[i] = CURLE_OK;
        }
    }
    // Each transfer's result as it ends; the ones still running when the loop stops share
    // the reason it stopped.
    std::vector<bool> done(transfers.size(), false);
    auto collect = [&] {
        int queued = 0;
        while (CURLMsg* msg = curl_multi_info_read(multi, &queued)) {
            for (size_t i = 0; msg->msg == CURLMSG_DONE && i < transfers.size(); ++i) {
                if (msg->easy_handle == transfers[i]->handle()) {
                    results[i] = msg->data.result;
                    done[i] = true;
                }
            }
        }
    };
    CURLcode failure = CURLE_OK;
    while (!added.empty()) {
        int running = 0;
        if (curl_multi_perform(multi, &running) != CURLM_OK) {
            failure = CURLE_RECV_ERROR;
            break;
        }
        collect();
        if (running == 0)
            break;
        if (poll && !poll()) {
            failure = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        if (curl_multi_poll(multi, nullptr, 0, pollMs, nullptr) != CURLM_OK) {
            failure = CURLE_RECV_ERROR;
            break;
        }
    }
    for (size_t i = 0; i < transfers.size(); ++i) {
        if (failure != CURLE_OK && results[i] == CURLE_OK && !done[i])
            results[i] = failure;
    }
    for (CURL* handle : added)
        curl_multi_remove_handle(multi, handle);
    curl_multi_cleanup(multi);
    return results;
}

std::string Transfer::errorText(CURLcode code) const
{
    if (code == CURLE_OK)
        return {};
    std::string text = curl_easy_strerror(code);
    if (m_error[0] != '\0')
        text += std::string(": ") + m_error;
    return text;
}

int Transfer::status() const
{
    long code = 0;
    if (m_easy)
        curl_easy_getinfo(m_easy, CURLINFO_RESPONSE_CODE, &code);
    return static_cast<int>(code);
}

std::string Transfer::effectiveAddress() const
{
    char* url = nullptr;
    if (m_easy)
        curl_easy_getinfo(m_easy, CURLINFO_EFFECTIVE_URL, &url);
    return url ? std::string(url) : std::string();
}

long long Transfer::announcedLength() const
{
    curl_off_t length = -1;
    if (m_easy)
        curl_easy_getinfo(m_easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    return length > 0 ? static_cast<long long>(length) : 0;
}

long Transfer::redirects() const
{
    long count = 0;
    if (m_easy)
        curl_easy_getinfo(m_easy, CURLINFO_REDIRECT_COUNT, &count);
    return count;
}

} // namespace platform::curl
