#pragma once
// Desktop notices: short messages beside the notification-area icon (a finished download).
// Every notice is remembered, so the console and tests read what the person was told; the
// front end shows them and reports a click on one.
#include <functional>
#include <string>
#include <vector>

namespace platform {

struct Notice {
    std::string title;
    std::string text;
    // What a click on the notice does (may be empty).
    std::function<void()> onClick {};
};

class Notices {
public:
    // Shows a notice: remembered, and handed to the presenter when there is one.
    void show(Notice notice);
    // The notices shown so far, oldest first (at most kKept).
    [[nodiscard]] const std::vector<Notice>& shown() const { return m_shown; }
    // The person clicked the latest notice; false when there is none.
    bool clickLatest();
    // Where the front end shows a notice (the tray icon's message); none without a display.
    void setPresenter(std::function<void(const Notice&)> presenter) { m_presenter = std::move(presenter); }

    static constexpr size_t kKept = 50;

private:
    std::vector<Notice> m_shown;
    std::function<void(const Notice&)> m_presenter;
};

} // namespace platform
