#pragma once
// The page helpers the online windows share: fetching a page as text, decoding bytes by a
// character set name, percent-encoding a keyword as UTF-8, and the connection test.
#include <string>
#include <string_view>

#include "platform/result.h"

namespace runtime {
class App;
}

namespace platform {
class Network;
}

namespace common {

// Fetches URL synchronously (no events run meanwhile) and returns the page decoded in Cset.
// Empty when no page arrived whole: no connection, a host that does not resolve, a time-out,
// a broken response, or a character set the converter does not know. A page the server
// sends with an error status is returned like any other.
std::string getHTTPPage(platform::Network& network, const std::string& URL, const std::string& Cset);
// The same with the app's Network service.
std::string getHTTPPage(runtime::App& app, const std::string& URL, const std::string& Cset);
// The bytes decoded as text in Cset ("GB2312" reads as GBK, as browsers do); invalid bytes
// become U+FFFD. A failure when the character set is unknown.
platform::Result<std::string> BytesToBstr(std::string_view body, const std::string& Cset);
// Percent-encodes the UTF-8 form of every character from U+0080 up, UTF-16 code unit by code
// unit, with upper-case hex; characters below U+0080 pass unchanged. A surrogate pair is
// encoded as its 4-byte character; a lone surrogate as its 3-byte form.
std::string UTF8EncodeURI(std::string_view szInput);
// Forces a connection attempt to the configured probe address ("probe").
bool internetConnected(runtime::App& app);

} // namespace common
