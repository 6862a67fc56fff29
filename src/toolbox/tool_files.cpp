#include "toolbox/tool_files.h"

#include "common/page_text.h"
#include "resources/resources.h"
#include "runtime/vbtext.h"

namespace toolbox {

namespace {

const char* const kConnectedWord = "已连接";
const std::string kTenSpaces(10, ' ');

// The connections the tune-up sets, after the adapter the batch finds itself.
const char* const kUsualConnections[]
    = { "%myname%", "本地连接", "无线网络连接", "无线网络连接2", "zelvina_wifi", "宽带连接", "宽带连接2" };

// The note that stands before a line whose name or key was left out.
const char* const kLeftOutNote = "rem 名称或密码里有批处理会误读的字符，下一行没有写入它";

// Prints a line, after the note when a name or key was left out of it.
void print(std::vector<std::string>& prints, bool leftOut, std::string line)
{
    if (leftOut)
        prints.emplace_back(kLeftOutNote);
    prints.push_back(std::move(line));
}

// Sound: a name or key goes into a batch line only when the command interpreter reads it as
// plain text; otherwise the line gets nothing in its place (and a note before it), so the
// file stays well formed whatever the user typed.
std::string plain(const std::string& text, bool& leftOut)
{
    if (!hasScriptCharacter(text))
        return text;
    leftOut = true;
    return {};
}

// Lines 3 to 14 of the stop block: the adapter lookup the tune-up shares.
std::string adapterLookup(const std::string& closed1)
{
    std::string out;
    size_t start = 0;
    for (int line = 1; line <= 14 && start <= closed1.size(); ++line) {
        size_t end = closed1.find("\r\n", start);
        if (end == std::string::npos)
            end = closed1.size();
        if (line >= 3)
            out += closed1.substr(start, end - start) + "\r\n";
        start = end + 2;
    }
    return out;
}

} // namespace

std::string toolText(const char* resource)
{
    std::string text = common::pages::withCrLf(resources::get(std::string("toolbox/") + resource));
    while (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
        text.resize(text.size() - 2);
    return text;
}

std::vector<std::string> startBatPrints(const std::string& closed1, const std::string& previous,
    const std::string& closed2, const std::string& ssid, const std::string& key, const std::string& start2,
    const std::string& start3, const std::string& connection)
{
    std::vector<std::string> prints = closeBatPrints(closed1, previous, closed2);
    prints.emplace_back("netsh wlan set hostednetwork mode=allow");
    bool leftOut = false;
    const std::string name = plain(ssid, leftOut);
    const std::string secret = plain(key, leftOut);
    print(prints, leftOut, "netsh wlan set hostednetwork ssid=" + name + " Key =" + secret);
    prints.emplace_back("netsh wlan start hostednetwork");
    leftOut = false;
    const std::string shared = plain(connection, leftOut);
    print(prints, leftOut, kStart1 + shared + start2 + shared + start3);
    return prints;
}

std::vector<std::string> closeBatPrints(
    const std::string& closed1, const std::string& connection, const std::string& closed2)
{
    std::vector<std::string> prints;
    bool leftOut = false;
    const std::string name = plain(connection, leftOut);
    print(prints, leftOut, closed1 + name + closed2);
    return prints;
}

std::string kdjsText(
    const std::string& closed1, const std::string& primaryDns, const std::string& secondaryDns)
{
    std::string text = toolText("kdjs_head.txt") + "\r\n" + adapterLookup(closed1);
    text += "set BDLJ=\"%myname%\"\r\n";
    text += "set DNS1=" + primaryDns + "\r\n";
    text += "set DNS2=" + secondaryDns + "\r\n";
    text += "::------------------------------------\r\n";
    for (const char* name : kUsualConnections) {
        text += "netsh interface ip set dns name=\"" + std::string(name)
            + "\" source=static addr=%DNS1% register=PRIMARY\r\n";
        text += "netsh interface ip add dns name=\"" + std::string(name) + "\" addr=%DNS2%\r\n";
    }
    // The print adds the last line end.
    return text + "echo.\r\n\r\n";
}

std::vector<std::string> connectedLines(const std::vector<std::string>& lines)
{
    std::vector<std::string> out;
    for (const std::string& line : lines) {
        if (vb::Mid(line, 16, 3) == kConnectedWord)
            out.push_back(line);
    }
    return out;
}

bool interfaceName(const std::string& line, std::string& name)
{
    // The rightmost run of ten spaces: the shortest tail of the line that starts with one.
    const size_t at = line.rfind(kTenSpaces);
    if (at == std::string::npos)
        return false;
    name = line.substr(at + kTenSpaces.size());
    return true;
}

bool hasScriptCharacter(const std::string& text)
{
    return text.find_first_of("\"%&|<>^\r\n") != std::string::npos;
}

std::string hotspotRefusal(const std::string& ssid, const std::string& key, const std::string& connection)
{
    if (ssid.empty() || ssid.size() > 32)
        return "网络名称必须是1到32个字节";
    if (key.size() < 8 || key.size() > 63)
        return "密码必须是8到63个英文字母、数字或符号";
    for (char c : key) {
        if (c < 0x20 || c > 0x7E)
            return "密码必须是8到63个英文字母、数字或符号";
    }
    // Sound: "已断网" stands for no connection and never becomes one.
    if (connection.empty() || connection == "已断网")
        return "没有可共享的网络连接，请先连上网络";
    // Sound: everything WPA2 takes is taken; nmcli gets it without a shell between, and the
    // batch files leave out what they cannot hold.
    return {};
}

std::string joinedWords(const std::vector<std::string>& words)
{
    std::string out;
    for (const std::string& w : words)
        out += (out.empty() ? "" : "；") + w;
    return out;
}

bool isIpv4(const std::string& text)
{
    int parts = 0;
    size_t i = 0;
    while (i <= text.size()) {
        size_t end = text.find('.', i);
        if (end == std::string::npos)
            end = text.size();
        const std::string part = text.substr(i, end - i);
        if (part.empty() || part.size() > 3 || part.find_first_not_of("0123456789") != std::string::npos
            || std::stoi(part) > 255)
            return false;
        ++parts;
        i = end + 1;
    }
    return parts == 4;
}

std::string queryValue(const std::string& text)
{
    static const char* const kHex = "0123456789ABCDEF";
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.'
            || c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

} // namespace toolbox
