#pragma once
// The outcome of a platform call: whether it worked and, when not, why. There is no default:
// a success says so (Status::success()), and a result that is dropped is a compile error,
// so a caller either handles it or says why it need not.
#include <string>
#include <tuple> // std::ignore, which drops a status on purpose
#include <utility>

namespace platform {

struct [[nodiscard]] Status {
    bool ok;
    std::string error;
    // The failure was a full disk (or a used-up quota): the user can do something about it.
    bool diskFull = false;

    static Status success() { return Status(true, {}, false); }
    static Status failure(std::string why, bool diskFull = false)
    {
        return Status(false, std::move(why), diskFull);
    }
    explicit operator bool() const { return ok; }

private:
    Status(bool worked, std::string why, bool full)
        : ok(worked)
        , error(std::move(why))
        , diskFull(full)
    {
    }
};

} // namespace platform
