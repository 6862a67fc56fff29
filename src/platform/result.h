#pragma once
// The outcome of a platform call: whether it worked and, when not, why. There is no default:
// a success says so (Status::success()), and a result that is dropped is a compile error,
// so a caller either handles it or says why it need not.
#include <optional>
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

// The outcome of a platform call that gives a value: the value, or why there is none. Like a
// status it cannot be dropped; the value is read only after checking it is there.
template <class T> class [[nodiscard]] Result {
public:
    static Result success(T value) { return Result(std::move(value), {}); }
    static Result failure(std::string why) { return Result(std::nullopt, std::move(why)); }

    [[nodiscard]] bool ok() const { return m_value.has_value(); }
    explicit operator bool() const { return ok(); }
    // Why there is no value (empty on success).
    [[nodiscard]] const std::string& error() const { return m_error; }

    const T& operator*() const& { return *m_value; }
    T& operator*() & { return *m_value; }
    T&& operator*() && { return std::move(*m_value); }
    const T* operator->() const { return &*m_value; }
    T* operator->() { return &*m_value; }
    // The value, or fallback when there is none.
    T valueOr(T fallback) && { return m_value ? std::move(*m_value) : std::move(fallback); }

private:
    Result(std::optional<T> value, std::string why)
        : m_value(std::move(value))
        , m_error(std::move(why))
    {
    }
    std::optional<T> m_value;
    std::string m_error;
};

} // namespace platform
