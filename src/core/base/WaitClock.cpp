#include "core/base/WaitClock.h"

#include <chrono>
#include <thread>

namespace {

class SteadyWaitClock : public WaitClock {
public:
    std::uint64_t NowMs() const override
    {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
    }
    void SleepMs(std::uint32_t milliseconds) override
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
};

}  // namespace

std::shared_ptr<WaitClock> SystemWaitClock()
{
    static const std::shared_ptr<WaitClock> clock = std::make_shared<SteadyWaitClock>();
    return clock;
}
