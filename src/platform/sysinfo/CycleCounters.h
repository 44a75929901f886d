#pragma once

#include <cstdint>

// The processor's time-stamp counter and a steady high-resolution counter,
// behind an interface so tests own the time.
class CycleCounters {
public:
    virtual ~CycleCounters() = default;
    // False where the processor has no time-stamp counter that a program
    // may read (not x86).
    virtual bool HasTimeStampCounter() const = 0;
    virtual std::uint64_t TimeStamp() = 0;
    // The steady counter and its ticks per second.
    virtual std::uint64_t Counter() = 0;
    virtual std::uint64_t CounterFrequency() const = 0;
};

// This machine's counters: RDTSC on x86, and the monotonic raw clock in
// nanoseconds.
class MachineCycleCounters : public CycleCounters {
public:
    bool HasTimeStampCounter() const override;
    std::uint64_t TimeStamp() override;
    std::uint64_t Counter() override;
    std::uint64_t CounterFrequency() const override { return 1'000'000'000; }
};
