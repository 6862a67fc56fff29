// UTF8EncodeURI on Chinese text, against libcurl's percent-encoder on the same text.
#include <curl/curl.h>

#include <cstdio>

#include "common/page_helpers.h"
#include "net_timing.h"

// libcurl's encoder refuses inputs over 8,000,000 bytes; the text stays below that.

int main()
{
    using namespace net_bench;
    std::string text;
    for (char32_t c = 0x4E00; text.size() < 4000000; c = c >= 0x9FA5 ? 0x4E00 : c + 1) {
        text += static_cast<char>(0xE0 | (c >> 12));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
    size_t encoded = 0;
    const double ours = bestSeconds(5, [&] { encoded = common::UTF8EncodeURI(text).size(); });
    CURL* curl = curl_easy_init();
    size_t curlEncoded = 0;
    const double theirs = bestSeconds(5, [&] {
        char* e = curl_easy_escape(curl, text.data(), static_cast<int>(text.size()));
        curlEncoded = e ? std::string(e).size() : 0;
        curl_free(e);
    });
    curl_easy_cleanup(curl);
    std::printf("%.1f MiB of Chinese text (UTF-8), best of 5 runs\n", mib(text.size()));
    std::printf("  UTF8EncodeURI     : %8.1f MB/s\n", static_cast<double>(text.size()) / ours / 1e6);
    std::printf("  curl_easy_escape  : %8.1f MB/s\n", static_cast<double>(text.size()) / theirs / 1e6);
    std::printf("  ratio             : %8.2f (goal: >= 50 MB/s)\n", theirs / ours);
    return encoded == curlEncoded ? 0 : 1;
}
