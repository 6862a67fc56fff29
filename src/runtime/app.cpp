#include "runtime/app.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "runtime/controls.h"
#include "runtime/engines.h"
#include "runtime/media_controls.h"

namespace runtime {

void Host::popupMenu(Form&, Menu&) { }

App::App(std::unique_ptr<Clock> clock)
    : m_clock(std::move(clock))
{
    if (!m_clock) {
        auto v = std::make_unique<VirtualClock>();
        m_virtual = v.get();
        m_clock = std::move(v);
    } else {
        m_virtual = dynamic_cast<VirtualClock*>(m_clock.get());
    }
}

App::~App()
{
    // Windows go first: their timers and controls still talk to the app while they die.
    m_retired.clear();
    for (auto it = m_loadOrder.rbegin(); it != m_loadOrder.rend(); ++it) {
        Form* f = *it;
        for (auto fi = m_forms.begin(); fi != m_forms.end(); ++fi) {
            if (fi->second.get() == f) {
                m_forms.erase(fi);
                break;
            }
        }
    }
    m_forms.clear();
}

void App::adopt(std::type_index type, std::unique_ptr<Form> form)
{
    Form* f = form.get();
    // The window is registered before its load runs, so the load may refer to it.
    m_forms.emplace(type, std::move(form));
    m_loadOrder.push_back(f);
    touch();
    dispatch([f] { f->load(); });
}

void App::unload(Form& form)
{
    if (!form.m_loaded)
        return;
    auto it = std::find_if(
        m_forms.begin(), m_forms.end(), [&](const auto& e) { return e.second.get() == &form; });
    if (it == m_forms.end())
        return;
    form.m_loaded = false;
    m_host->formUnloaded(form);
    dispatch([&form] { form.unloading(); });
    // The unload handler may have run code that referred to the window again; it is
    // retired all the same, as the code that unloads it asked.
    it = std::find_if(m_forms.begin(), m_forms.end(), [&](const auto& e) { return e.second.get() == &form; });
    if (it == m_forms.end())
        return;
    form.hide();
    // Windows owned by this one close with it (they stay loaded, hidden, without an owner).
    for (auto& entry : m_forms) {
        Form* other = entry.second.get();
        if (other->m_owner == &form) {
            other->m_owner = nullptr;
            other->hide();
        }
    }
    for (Control* c : form.controls()) {
        if (c->kind() == ControlKind::Timer)
            static_cast<Timer*>(c)->setEnabled(false);
    }
    m_retired.push_back(std::move(it->second));
    m_forms.erase(it);
    m_loadOrder.erase(std::remove(m_loadOrder.begin(), m_loadOrder.end(), &form), m_loadOrder.end());
    touch();
    if (m_depth == 0)
        collectRetired();
}

const WindowEntry* App::windowEntry(const std::string& name) const
{
    for (const WindowEntry& e : m_windows) {
        if (e.name == name)
            return &e;
    }
    return nullptr;
}

Form* App::loadedForm(const std::string& name) const
{
    for (Form* f : m_loadOrder) {
        if (f->name() == name)
            return f;
    }
    return nullptr;
}

std::vector<Form*> App::forms() const
{
    return m_loadOrder;
}

void App::missingService(const char* name)
{
    std::fprintf(stderr, "zelvora: no service of type %s was provided\n", name);
    std::abort();
}

void App::setBrowserFactory(std::function<std::unique_ptr<BrowserEngine>(WebBrowser&)> f)
{
    m_browserFactory = std::move(f);
}

void App::setMediaFactory(std::function<std::unique_ptr<MediaEngine>(MediaPlayer&)> f)
{
    m_mediaFactory = std::move(f);
}

std::unique_ptr<BrowserEngine> App::createBrowserEngine(WebBrowser& browser)
{
    if (m_browserFactory) {
        if (auto engine = m_browserFactory(browser))
            return engine;
    }
    return std::make_unique<RecordingBrowserEngine>();
}

std::unique_ptr<MediaEngine> App::createMediaEngine(MediaPlayer& player)
{
    if (m_mediaFactory) {
        if (auto engine = m_mediaFactory(player))
            return engine;
    }
    return std::make_unique<RecordingMediaEngine>();
}

void App::timerChanged(Timer& timer)
{
    const bool active = timer.enabled() && timer.interval() > 0 && timer.form().loaded();
    if (!active) {
        m_timers.erase(&timer);
    } else {
        m_timers[&timer] = Scheduled { now() + timer.interval(), ++m_seq, ++m_generation };
    }
    m_host->timersChanged();
}

void App::timerGone(Timer& timer)
{
    m_timers.erase(&timer);
    m_firing.erase(std::remove(m_firing.begin(), m_firing.end(), &timer), m_firing.end());
}

Timer* App::nextDue(int64_t limit) const
{
    Timer* best = nullptr;
    const Scheduled* bestS = nullptr;
    for (const auto& [t, s] : m_timers) {
        if (s.due > limit)
            continue;
        // A timer whose handler is still running (a nested pump) does not fire again.
        if (std::find(m_firing.begin(), m_firing.end(), t) != m_firing.end())
            continue;
        if (!bestS || s.due < bestS->due || (s.due == bestS->due && s.seq < bestS->seq)) {
            best = t;
            bestS = &s;
        }
    }
    return best;
}

void App::fire(Timer* timer)
{
    const uint64_t generation = m_timers.at(timer).generation;
    m_firing.push_back(timer);
    dispatch([timer] {
        if (timer->onTimer)
            timer->onTimer();
    });
    m_firing.erase(std::remove(m_firing.begin(), m_firing.end(), timer), m_firing.end());
    // Unless the handler rescheduled or stopped it, the timer runs again one interval on.
    auto it = m_timers.find(timer);
    if (it != m_timers.end() && it->second.generation == generation)
        it->second.due = now() + timer->interval();
}

void App::advance(int64_t ms)
{
    if (!m_virtual) {
        runDue();
        return;
    }
    const int64_t target = now() + std::max<int64_t>(ms, 0);
    runPosted();
    while (!m_ended) {
        Timer* t = nextDue(target);
        if (!t)
            break;
        m_virtual->set(std::max(now(), m_timers.at(t).due));
        m_host->beforeTick();
        runPosted();
        // The tick hook may have changed the schedule.
        if (m_timers.count(t) && m_timers.at(t).due <= now())
            fire(t);
    }
    if (now() < target)
        m_virtual->set(target);
    runPosted();
}

void App::runDue()
{
    runPosted();
    const int64_t limit = now();
    while (!m_ended) {
        Timer* t = nextDue(limit);
        if (!t)
            break;
        fire(t);
    }
    runPosted();
}

bool App::runUntilIdle(int64_t maxMs)
{
    const int64_t deadline = now() + std::max<int64_t>(maxMs, 0);
    while (!m_ended && !m_timers.empty()) {
        int64_t soonest = INT64_MAX;
        for (const auto& [t, s] : m_timers)
            soonest = std::min(soonest, s.due);
        if (soonest > deadline)
            break;
        advance(std::max<int64_t>(soonest - now(), 0));
    }
    if (!m_timers.empty() && now() < deadline)
        advance(deadline - now());
    return m_timers.empty();
}

std::optional<int64_t> App::nextDueIn() const
{
    if (m_timers.empty())
        return std::nullopt;
    int64_t soonest = INT64_MAX;
    for (const auto& [t, s] : m_timers)
        soonest = std::min(soonest, s.due);
    return std::max<int64_t>(soonest - now(), 0);
}

void App::doEvents()
{
    ++m_depth;
    m_host->pumpEvents();
    runDue();
    --m_depth;
}

void App::dispatch(const std::function<void()>& handler)
{
    // The depth is restored however the handler leaves, so retired windows are always freed.
    struct Depth {
        int& depth;
        explicit Depth(int& d)
            : depth(d)
        {
            ++depth;
        }
        ~Depth() { --depth; }
    };
    {
        Depth guard(m_depth);
        if (handler)
            handler();
    }
    if (m_depth == 0)
        collectRetired();
}

void App::post(std::function<void()> work)
{
    {
        std::lock_guard<std::mutex> lock(m_postMutex);
        m_posted.push_back(std::move(work));
    }
    m_host->workPosted();
}

void App::runPosted()
{
    for (;;) {
        std::vector<std::function<void()>> batch;
        {
            std::lock_guard<std::mutex> lock(m_postMutex);
            batch.swap(m_posted);
        }
        if (batch.empty())
            return;
        for (auto& work : batch)
            dispatch(work);
    }
}

void App::collectRetired()
{
    while (!m_retired.empty()) {
        auto retired = std::move(m_retired);
        m_retired.clear();
        retired.clear();
    }
}

void App::end()
{
    if (m_ended)
        return;
    m_ended = true;
    for (Form* form : forms())
        form->programEnding();
    m_timers.clear();
    m_host->programEnded();
}

void App::setHost(Host* host)
{
    m_host = host ? host : &m_defaultHost;
}

} // namespace runtime
