#include "platform/notices.h"

namespace platform {

void Notices::show(Notice notice)
{
    if (m_shown.size() >= kKept)
        m_shown.erase(m_shown.begin());
    m_shown.push_back(std::move(notice));
    if (m_presenter)
        m_presenter(m_shown.back());
}

bool Notices::clickLatest()
{
    if (m_shown.empty())
        return false;
    // A copy: the click may show another notice.
    const std::function<void()> click = m_shown.back().onClick;
    if (click)
        click();
    return true;
}

} // namespace platform
