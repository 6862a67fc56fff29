#pragma once
// The outcome of a platform call: whether it worked and, when not, why.
#include <string>
#include <utility>

namespace platform {

struct Status {
    bool ok = true;
    std::string error;

    static Status success() { return {}; }
    static Status failure(std::string why) { return { false, std::move(why) }; }
    explicit operator bool() const { return ok; }
};

} // namespace platform
