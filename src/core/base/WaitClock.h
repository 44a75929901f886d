#pragma once

#include <cstdint>
#include <memory>

// Time for the bounded waits of drive commands. Tests give a virtual clock
// whose sleep only moves time on, so a ten-second wait takes no real time.
class WaitClock {
public:
    virtual ~WaitClock() = default;
    virtual std::uint64_t NowMs() const = 0;
    virtual void SleepMs(std::uint32_t milliseconds) = 0;
};

// The machine's monotonic clock, shared by everyone who needs real time.
std::shared_ptr<WaitClock> SystemWaitClock();
