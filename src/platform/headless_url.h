#pragma once
// Web addresses as a browser resolves them against the address of the page they are on.
#include <string>

namespace platform {

// The absolute address that ref names on a page at base: scheme-relative, root-relative,
// query, fragment and path references are resolved (dot segments removed); a reference with
// a scheme of its own ("bdhd://...", "javascript:") is returned as it is, and so is every
// reference when base is not hierarchical ("about:blank"). Surrounding blanks and embedded
// tabs and line breaks are dropped, as browsers do.
std::string resolveAddress(const std::string& base, const std::string& ref);

// Resolves many references against one base (the base is taken apart once).
class AddressResolver {
public:
    explicit AddressResolver(const std::string& base);
    // resolveAddress(base, ref).
    [[nodiscard]] std::string resolve(const std::string& ref) const;

private:
    bool m_hierarchical = false;
    bool m_web = false;
    std::string m_scheme;
    std::string m_origin;
    std::string m_path;
    std::string m_query;
    std::string m_folder;
};
// The scheme of an address in lower case ("http", "about", "file"), or an empty text.
std::string addressScheme(const std::string& address);
// Whether an address is on the web: it starts with "http://" or "https://" as written.
[[nodiscard]] bool isWebAddress(const std::string& address);
// A local absolute path as a file address ("/tmp/a b.html" -> "file:///tmp/a%20b.html").
std::string fileAddress(const std::string& path);

} // namespace platform
