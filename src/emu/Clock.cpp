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
    m_startUs(m_wall())
{
}

std::uint64_t PacedClock::NowMs() const
{
    const std::uint64_t wallUs = m_wall() - m_startUs;
    return static_cast<std::uint64_t>(static_cast<double>(wallUs) * m_speedup / 1000.0);
}

void PacedClock::Spend(std::uint64_t microseconds)
{
    std::uint64_t wanted = 0;
    {
        std::lock_guard lock(m_mutex);
        m_owedUs += static_cast<double>(microseconds) / m_speedup;
        if (m_owedUs < static_cast<double>(kSleepQuantumUs))
            return;
        wanted = static_cast<std::uint64_t>(m_owedUs);
        m_owedUs -= static_cast<double>(wanted);
    }
    const std::uint64_t before = m_wall();
    m_sleep(wanted);
    const std::uint64_t slept = m_wall() - before;
    // An oversleep is paid ahead, up to a limit, so the pace holds on average.
    std::lock_guard lock(m_mutex);
    m_owedUs = std::max(m_owedUs - (static_cast<double>(slept) - static_cast<double>(wanted)), -kMostCreditUs);
}

}  // namespace emu
