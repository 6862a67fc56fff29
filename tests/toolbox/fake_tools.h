#pragma once
// A fake nmcli (and resolvectl) first on PATH: each call's arguments are recorded, and the
// answer is chosen by the first rule whose shell pattern matches the arguments. As the real
// one, it prints each non-ASCII character as "?" unless its locale is a UTF-8 one.
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace testing_support {

class FakeTools {
public:
    FakeTools()
        : m_oldPath(std::getenv("PATH") ? std::getenv("PATH") : "")
    {
        std::filesystem::create_directories(bin());
        setenv("PATH", (bin() + ":" + m_oldPath).c_str(), 1);
        write();
    }
    ~FakeTools() { setenv("PATH", m_oldPath.c_str(), 1); }

    // Answers calls matching pattern (a shell case pattern over the arguments joined by blanks).
    void on(const std::string& pattern, const std::string& out, int code = 0, const std::string& err = {})
    {
        m_rules.push_back({ pattern, out, code, err, false });
        write();
    }
    // Calls matching pattern never end.
    void hang(const std::string& pattern) { run(pattern, "exec sleep 1000"); }
    // Calls matching pattern run a shell command.
    void run(const std::string& pattern, const std::string& command)
    {
        m_rules.push_back({ pattern, command, 0, {}, true });
        write();
    }
    // PATH holds only an empty folder: no nmcli at all.
    void remove() { setenv("PATH", (m_dir.path() / "empty").c_str(), 1); }
    // The calls so far, "nmcli ARG ARG...", arguments parted by "|".
    std::vector<std::string> calls() const
    {
        std::vector<std::string> out;
        std::istringstream in(readBytes(m_dir.path() / "calls.log"));
        std::string line;
        while (std::getline(in, line))
            out.push_back(line);
        return out;
    }
    // The same as the log's bytes, one call a line.
    std::string log() const { return readBytes(m_dir.path() / "calls.log"); }
    std::string bin() const { return (m_dir.path() / "bin").string(); }

private:
    struct Rule {
        std::string pattern, out;
        int code;
        std::string err;
        bool command;
    };
    static std::string quoted(const std::string& s)
    {
        std::string q = "'";
        for (char c : s)
            q += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return q + "'";
    }
    // The script is tests/data/toolbox/fake_tool.sh with the tool's name, its log and its rules.
    void write()
    {
        for (const char* tool : { "nmcli", "resolvectl" }) {
            std::string rules;
            for (const Rule& r : m_rules) {
                std::string pattern;
                for (char c : r.pattern)
                    pattern += c == ' ' ? std::string("\\ ") : std::string(1, c);
                rules += pattern + ")\n";
                if (r.command) {
                    rules += "  " + r.out + " ;;\n";
                    continue;
                }
                rules += "  printf '%s' " + quoted(r.out) + " | garble\n  printf '%s' " + quoted(r.err)
                    + " | garble >&2\n  exit " + std::to_string(r.code) + " ;;\n";
            }
            std::string script = readBytes(testData("toolbox/fake_tool.sh"));
            for (const auto& [mark, text] : { std::pair<std::string, std::string> { "@TOOL@", tool },
                     { "@LOG@", quoted((m_dir.path() / "calls.log").string()) }, { "@RULES@", rules } })
                for (size_t at; (at = script.find(mark)) != std::string::npos;)
                    script.replace(at, mark.size(), text);
            const auto path = std::filesystem::path(bin()) / tool;
            writeBytes(path, script);
            std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        }
    }

    TempDir m_dir;
    std::string m_oldPath;
    std::vector<Rule> m_rules;
};

} // namespace testing_support
