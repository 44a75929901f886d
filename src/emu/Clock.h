#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>

namespace emu {

// Time as the emulated drive sees it, in milliseconds. Tests use a manual
// clock so that spin-up and later timing models never wait for real time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint64_t NowMs() const = 0;
    // Time the drive spends on its own work (moving data off the disc). A
    // manual clock moves on by it; real time passes by itself.
    virtual void Spend(std::uint64_t microseconds) = 0;
};

// The program's emulated drives answer at once: time spent on transfers is
// not waited for.
class SteadyClock : public Clock {
public:
    std::uint64_t NowMs() const override;
    void Spend(std::uint64_t) override {}
};

// The drive's time spent in wall time, shortened by a factor: with speedup n
// a read the model times at n seconds takes one, and the drive's clock runs n
// times as fast as the wall clock, so spin-ups and busy times shrink alike.
// Short spends are gathered and slept off once they make a millisecond. The wall clock and the sleep are given (tests
// pass their own).
class PacedClock : public Clock {
public:
    using WallMicroseconds = std::function<std::uint64_t()>;
    using Sleep = std::function<void(std::uint64_t microseconds)>;
    explicit PacedClock(double speedup, WallMicroseconds wall = {}, Sleep sleep = {});

    std::uint64_t NowMs() const override;
    void Spend(std::uint64_t microseconds) override;
    double Speedup() const { return m_speedup; }

private:
    double m_speedup;
    WallMicroseconds m_wall;
    Sleep m_sleep;
    std::uint64_t m_startUs;
    std::mutex m_mutex;
    double m_owedUs = 0;  // wall time still to sleep; below 0 when slept ahead
};

class ManualClock : public Clock {
public:
    std::uint64_t NowMs() const override { return m_nowUs.load() / 1000; }
    void Spend(std::uint64_t microseconds) override { m_nowUs += microseconds; }
    void Advance(std::uint64_t milliseconds) { m_nowUs += milliseconds * 1000; }

private:
    std::atomic<std::uint64_t> m_nowUs{0};
};

}  // namespace emu
