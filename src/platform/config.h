#pragma once
// Outside addresses and a few settings: built-in defaults, overridable by a key=value file.
#include <map>
#include <string>
#include <vector>

#include "platform/result.h"

namespace platform {

class Config {
public:
    // Starts with the built-in defaults.
    Config();
    // Reads a key=value file over the defaults: blank lines and lines starting with '#' are
    // skipped, blanks around keys and values are trimmed, unknown keys are kept. A line
    // without '=' is reported in the status (the other lines still apply).
    Status loadFile(const std::string& path);
    // The value of key, or an empty text when it is unknown.
    [[nodiscard]] std::string get(const std::string& key) const;
    // Sets a value (tests point addresses at their loopback server this way).
    void set(const std::string& key, const std::string& value);
    // Every key with its value, sorted by key.
    [[nodiscard]] const std::map<std::string, std::string>& values() const { return m_values; }
    // The file named by the ZELVORA_CONFIG environment variable, or an empty text.
    static std::string fileFromEnvironment();

private:
    std::map<std::string, std::string> m_values;
};

} // namespace platform
