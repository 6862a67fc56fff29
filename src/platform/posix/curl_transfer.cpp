#include "platform/posix/curl_transfer.h"

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

namespace {

// One multi handle over a set of transfers: each keeps its own result as it ends; the ones
// still running when the pump stops share the reason it stopped.
class MultiRun {
public:
    MultiRun(const std::vector<Transfer*>& transfers, CURLM* multi, long maxConnections)
        : m_transfers(transfers)
        , m_multi(multi)
        , m_results(transfers.size(), CURLE_URL_MALFORMAT)
        , m_done(transfers.size(), false)
    {
        curl_multi_setopt(m_multi, CURLMOPT_MAX_TOTAL_CONNECTIONS, maxConnections);
        for (size_t i = 0; i < m_transfers.size(); ++i) {
            CURL* handle = m_transfers[i]->handle();
            if (m_transfers[i]->ready() && curl_multi_add_handle(m_multi, handle) == CURLM_OK) {
                m_added.push_back(handle);
                m_results[i] = CURLE_OK;
            }
        }
    }
    MultiRun(const MultiRun&) = delete;
    MultiRun& operator=(const MultiRun&) = delete;
    ~MultiRun()
    {
        for (CURL* handle : m_added)
            curl_multi_remove_handle(m_multi, handle);
        curl_multi_cleanup(m_multi);
    }

    // Runs until every transfer ended, poll says stop or the multi handle fails; gives the
    // reason it stopped early, CURLE_OK when it did not.
    [[nodiscard]] CURLcode pump(const std::function<bool()>& poll, int pollMs)
    {
        while (!m_added.empty()) {
            int running = 0;
            if (curl_multi_perform(m_multi, &running) != CURLM_OK)
                return CURLE_RECV_ERROR;
            collect();
            if (running == 0)
                return CURLE_OK;
            if (poll && !poll())
                return CURLE_ABORTED_BY_CALLBACK;
            if (curl_multi_poll(m_multi, nullptr, 0, pollMs, nullptr) != CURLM_OK)
                return CURLE_RECV_ERROR;
        }
        return CURLE_OK;
    }

    [[nodiscard]] std::vector<CURLcode> results(CURLcode failure) const
    {
        std::vector<CURLcode> results = m_results;
        for (size_t i = 0; i < results.size(); ++i) {
            if (failure != CURLE_OK && results[i] == CURLE_OK && !m_done[i])
                results[i] = failure;
        }
        return results;
    }

private:
    void collect()
    {
        int queued = 0;
        while (CURLMsg* msg = curl_multi_info_read(m_multi, &queued)) {
            if (msg->msg == CURLMSG_DONE)
                ended(msg->easy_handle, msg->data.result);
        }
    }

    void ended(CURL* handle, CURLcode result)
    {
        for (size_t i = 0; i < m_transfers.size(); ++i) {
            if (m_transfers[i]->handle() == handle) {
                m_results[i] = result;
                m_done[i] = true;
            }
        }
    }

    const std::vector<Transfer*>& m_transfers;
    CURLM* m_multi;
    std::vector<CURL*> m_added;
    std::vector<CURLcode> m_results;
    std::vector<bool> m_done;
};

} // namespace

std::vector<CURLcode> runTogether(const std::vector<Transfer*>& transfers, const std::function<bool()>& poll,
    int pollMs, long maxConnections)
{
    CURLM* multi = curl_multi_init();
    if (!multi)
        return std::vector<CURLcode>(transfers.size(), CURLE_OUT_OF_MEMORY);
    MultiRun run(transfers, multi, maxConnections);
    const CURLcode failure = run.pump(poll, pollMs);
    return run.results(failure);
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
