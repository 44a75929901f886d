#pragma once

#include <atomic>
#include <cstdint>

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

class ManualClock : public Clock {
public:
    std::uint64_t NowMs() const override { return m_nowUs.load() / 1000; }
    void Spend(std::uint64_t microseconds) override { m_nowUs += microseconds; }
    void Advance(std::uint64_t milliseconds) { m_nowUs += milliseconds * 1000; }

private:
    std::atomic<std::uint64_t> m_nowUs{0};
};

}  // namespace emu
