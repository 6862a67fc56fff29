#include "platform/posix/iconv_converter.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <utility>

namespace platform {

namespace {

iconv_t handle(void* cd)
{
    return static_cast<iconv_t>(cd);
}

} // namespace

IconvConverter::IconvConverter(const std::string& to, const std::string& from)
    : m_cd(iconv_open(to.c_str(), from.c_str()))
{
}

IconvConverter::~IconvConverter()
{
    if (ok())
        iconv_close(handle(m_cd));
}

bool IconvConverter::ok() const
{
    const auto failed
        = reinterpret_cast<iconv_t>(-1); // NOLINT(performance-no-int-to-ptr): iconv_open's failure value
    return handle(m_cd) != failed;
}

Result<std::string> IconvConverter::run(std::string_view input, std::string out,
    const std::function<size_t(std::string&, unsigned char)>& onInvalid)
{
    char buffer[16384];
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t r = iconv(handle(m_cd), &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        if (r != static_cast<size_t>(-1) || errno == E2BIG)
            continue;
        const size_t skip = std::min(onInvalid(out, static_cast<unsigned char>(*in)), inLeft);
        if (skip == 0)
            return Result<std::string>::failure("a character the conversion cannot hold");
        in += skip;
        inLeft -= skip;
        iconv(handle(m_cd), nullptr, nullptr, nullptr, nullptr);
    }
    return Result<std::string>::success(std::move(out));
}

} // namespace platform
