#pragma once
// The files the tool runner writes into the tool folder, the interface list it reads, and the
// checks of what the user types before any of it reaches a script.
#include <string>
#include <vector>

namespace toolbox {

// A text held as a resource under toolbox/, with CR LF line ends and no final line end.
std::string toolText(const char* resource);

// The first piece of the interface-renaming line of "start.bat".
inline constexpr const char* kStart1 = "netsh interface set interface name=\"";

// "start.bat": the stop block for the previous connection, the hosted network with its name
// and key, and the sharing of the chosen connection; one text per print. A name or key the
// command interpreter would misread is left out, with a note line before its line.
std::vector<std::string> startBatPrints(const std::string& closed1, const std::string& previous,
    const std::string& closed2, const std::string& ssid, const std::string& key, const std::string& start2,
    const std::string& start3, const std::string& connection);
// "close.bat": the stop block for the connection (left out as in start.bat).
std::vector<std::string> closeBatPrints(
    const std::string& closed1, const std::string& connection, const std::string& closed2);
// "kdjs.bat": caches, temporary files, the adapter lookup and the two DNS servers on the
// usual connections.
std::string kdjsText(
    const std::string& closed1, const std::string& primaryDns, const std::string& secondaryDns);

// The connection names in the interface list: the lines whose characters 16 to 18 are
// "已连接", each cut after its rightmost run of ten spaces.
std::vector<std::string> connectedLines(const std::vector<std::string>& lines);
// The name after the line's rightmost run of ten spaces; false when it has none.
bool interfaceName(const std::string& line, std::string& name);

// Why the name, key and connection cannot go into a hotspot (empty when they can).
std::string hotspotRefusal(const std::string& ssid, const std::string& key, const std::string& connection);
// Whether text holds a character a batch script would interpret.
bool hasScriptCharacter(const std::string& text);
// Words one after another, parted by "；".
std::string joinedWords(const std::vector<std::string>& words);
// Whether text is a dotted IPv4 address.
bool isIpv4(const std::string& text);
// The text percent-encoded for a URL query value (UTF-8, everything but letters, digits and
// "-._~").
std::string queryValue(const std::string& text);

} // namespace toolbox
