#pragma once
// The clipboard.
#include <string>

namespace platform {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void setText(const std::string& text) = 0;
    [[nodiscard]] virtual std::string text() const = 0;
};

// A clipboard held in memory (headless use and tests).
class MemoryClipboard : public Clipboard {
public:
    void setText(const std::string& text) override { m_text = text; }
    [[nodiscard]] std::string text() const override { return m_text; }

private:
    std::string m_text;
};

} // namespace platform
