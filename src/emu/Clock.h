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
};

class SteadyClock : public Clock {
public:
    std::uint64_t NowMs() const override;
};

class ManualClock : public Clock {
public:
    std::uint64_t NowMs() const override { return m_nowMs.load(); }
    void Advance(std::uint64_t milliseconds) { m_nowMs += milliseconds; }

private:
    std::atomic<std::uint64_t> m_nowMs{0};
};

}  // namespace emu
