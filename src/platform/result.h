#pragma once
// The outcome of a platform call: whether it worked and, when not, why.
#include <string>
#include <utility>

namespace platform {

struct Status {
    bool ok = true;
    std::string error;
    // The failure was a full disk (or a used-up quota): the user can do something about it.
    bool diskFull = false;

    static Status success() { return {}; }
    static Status failure(std::string why, bool diskFull = false)
    {
        return { false, std::move(why), diskFull };
    }
    explicit operator bool() const { return ok; }
};

} // namespace platform
