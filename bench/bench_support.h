#pragma once
// What benchmarks share: a scratch folder and the iconv baseline.
#include <iconv.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace bench {

// A fresh scratch folder, removed with its contents at the end.
class Scratch {
public:
    Scratch()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "zelvora-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~Scratch()
    {
        std::error_code ec;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ec);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    const std::filesystem::path& path() const { return m_path; }
    std::string file(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// Decodes bytes to UTF-8 with iconv(3), the system's own converter: the decoding baseline.
inline std::string iconvDecode(const std::string& bytes, const char* from)
{
    iconv_t cd = iconv_open("UTF-8", from);
    std::string out(bytes.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    out.resize(out.size() - outLeft);
    return out;
}

} // namespace bench
