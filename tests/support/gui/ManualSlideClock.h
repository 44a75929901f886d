#pragma once

#include "gui/ui/Dialog.h"
#include "gui/ui/SlidingWindow.h"

#include <QPointer>

#include <algorithm>
#include <cstdint>
#include <vector>

// The sliding windows' clock, owned by the test: their ticks fall due only
// as the test moves it on, whatever the machine's speed.
class ManualSlideClock : public SlideClock {
public:
    ManualSlideClock() { SetSlideClock(this); }
    ~ManualSlideClock() override { SetSlideClock(nullptr); }
    ManualSlideClock(const ManualSlideClock&) = delete;
    ManualSlideClock& operator=(const ManualSlideClock&) = delete;

    void Schedule(CDialog& window, int timerId, int milliseconds) override
    {
        Cancel(window, timerId);
        m_pending.push_back({&window, timerId, m_nowMs + static_cast<std::uint64_t>(std::max(milliseconds, 0))});
    }
    void Cancel(CDialog& window, int timerId) override
    {
        std::erase_if(m_pending, [&](const Tick& tick) { return tick.window == &window && tick.timerId == timerId; });
    }

    // Moves time on by `milliseconds`, running the ticks that fall due in
    // their order; the number of ticks run.
    int Advance(std::uint64_t milliseconds)
    {
        const std::uint64_t end = m_nowMs + milliseconds;
        int ran = 0;
        for (;;) {
            std::erase_if(m_pending, [](const Tick& tick) { return tick.window.isNull(); });
            const auto next = std::min_element(m_pending.begin(), m_pending.end(),
                                               [](const Tick& a, const Tick& b) { return a.dueMs < b.dueMs; });
            if (next == m_pending.end() || next->dueMs > end)
                break;
            const Tick tick = *next;
            m_pending.erase(next);
            m_nowMs = tick.dueMs;
            tick.window->FireTimer(tick.timerId);
            ++ran;
        }
        m_nowMs = end;
        return ran;
    }
    // Runs every tick until none waits; the number run.
    int RunAll()
    {
        int ran = 0;
        while (!m_pending.empty() && ran < 10000)
            ran += Advance(1);
        return ran;
    }
    bool Pending() const { return !m_pending.empty(); }
    std::uint64_t NowMs() const { return m_nowMs; }

private:
    struct Tick {
        QPointer<CDialog> window;
        int timerId;
        std::uint64_t dueMs;
    };
    std::vector<Tick> m_pending;
    std::uint64_t m_nowMs = 0;
};
