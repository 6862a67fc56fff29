#pragma once
// One character set conversion through the C library's iconv.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "platform/result.h"

namespace platform {

class IconvConverter {
public:
    // A conversion from one character set name to another; ok() says whether both are known.
    IconvConverter(const std::string& to, const std::string& from);
    ~IconvConverter();
    IconvConverter(const IconvConverter&) = delete;
    IconvConverter& operator=(const IconvConverter&) = delete;

    [[nodiscard]] bool ok() const;
    // Runs the conversion to its end and gives back out with the converted text appended
    // (taking and giving back the text lets a caller convert piece by piece into one text).
    // At a sequence it cannot convert, onInvalid (given the text so far and the sequence's
    // first byte) appends what stands for it and says how many input bytes to skip; returning
    // 0 stops the conversion and makes it a failure.
    Result<std::string> run(std::string_view input, std::string out,
        const std::function<size_t(std::string&, unsigned char)>& onInvalid);

private:
    void* m_cd;
};

} // namespace platform
