#include "platform/sysinfo/CycleCounters.h"

#include <ctime>

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#define QUENZA_HAS_TSC 1
#else
#define QUENZA_HAS_TSC 0
#endif

bool MachineCycleCounters::HasTimeStampCounter() const
{
    return QUENZA_HAS_TSC != 0;
}

std::uint64_t MachineCycleCounters::TimeStamp()
{
#if QUENZA_HAS_TSC
    return __rdtsc();
#else
    return 0;
#endif
}

std::uint64_t MachineCycleCounters::Counter()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC_RAW, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1'000'000'000u + static_cast<std::uint64_t>(now.tv_nsec);
}
