#include "emu/Clock.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace emu {

std::uint64_t SteadyClock::NowMs() const
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

namespace {

constexpr std::uint64_t kSleepQuantumUs = 1000;
constexpr double kMostCreditUs = 100000;

std::uint64_t SteadyMicroseconds()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(now).count());
}

}  // namespace

PacedClock::PacedClock(double speedup, WallMicroseconds wall, Sleep sleep) :
    m_speedup(speedup > 0 ? speedup : 1.0),
    m_wall(wall ? std::move(wall) : WallMicroseconds(SteadyMicroseconds)),
    m_sleep(sleep ? std::move(sleep)
                  : Sleep([](std::uint64_t us) { std::this_thread::sleep_for(std::chrono::microseconds(us)); })),
    m_dueUs(static_cast<double>(m_wall()))
{
}

double PacedClock::Overrun(std::uint64_t wallUs) const
{
    return std::max(static_cast<double>(wallUs) - m_dueUs - kMostCreditUs, 0.0);
}

std::uint64_t PacedClock::NowMs() const
{
    const std::uint64_t wallUs = m_wall();
    std::lock_guard lock(m_mutex);
    return static_cast<std::uint64_t>((m_modelUs + Overrun(wallUs)) / 1000.0);
}

void PacedClock::Spend(std::uint64_t microseconds)
{
    const std::uint64_t wallUs = m_wall();
    double wanted = 0;
    {
        std::lock_guard lock(m_mutex);
        // Time the clock ran on by the wall is the drive's time from here.
        const double overrun = Overrun(wallUs);
        m_modelUs += overrun + static_cast<double>(microseconds);
        m_dueUs += overrun + static_cast<double>(microseconds) / m_speedup;
        wanted = m_dueUs - static_cast<double>(wallUs);
    }
    if (wanted >= static_cast<double>(kSleepQuantumUs))
        m_sleep(static_cast<std::uint64_t>(wanted));
}

}  // namespace emu
