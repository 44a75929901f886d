#include "emu/Clock.h"

#include <chrono>

namespace emu {

std::uint64_t SteadyClock::NowMs() const
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

}  // namespace emu
