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

// A drive that answers at once (speedup=0): time spent on transfers is not
// waited for.
class SteadyClock : public Clock {
public:
    std::uint64_t NowMs() const override;
    void Spend(std::uint64_t) override {}
};

// The drive's time spent in wall time, shortened by a factor: a read the
// model times at n seconds takes one with speedup n. The clock reads the
// time the drive has spent, so a program timing its reads by it measures the
// model's speeds whatever the speedup; wall time that passes beyond what the
// spends are due (idle time, a program slower than the pace) runs it on at
// the wall's own rate. Spends sleep until they are due, in sleeps of a
// millisecond or more; time the program took in between, or a sleep that
// ran long, is made up by the next sleeps. The wall clock and the sleep are
// given (tests pass their own).
class PacedClock : public Clock {
public:
    using WallMicroseconds = std::function<std::uint64_t()>;
    using Sleep = std::function<void(std::uint64_t microseconds)>;
    explicit PacedClock(double speedup, WallMicroseconds wall = {}, Sleep sleep = {});

    std::uint64_t NowMs() const override;
    void Spend(std::uint64_t microseconds) override;
    double Speedup() const { return m_speedup; }

private:
    // Wall time past the due time beyond the credit: the part the clock runs on at the wall's rate.
    double Overrun(std::uint64_t wallUs) const;

    double m_speedup;
    WallMicroseconds m_wall;
    Sleep m_sleep;
    mutable std::mutex m_mutex;
    double m_modelUs = 0;  // the drive's time up to the due time
    double m_dueUs = 0;  // wall time by which the spends so far are slept off
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
