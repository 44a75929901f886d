#pragma once

// Seeds of the drive fuzz targets: what an emulated drive answers to a run,
// recorded in the input's form (FuzzDrive.h).

#include "FuzzDrive.h"
#include "emu/Clock.h"
#include "emu/EmulatedDrive.h"
#include "platform/passthrough/EmulatedPassThrough.h"

#include <functional>
#include <memory>
#include <string>

namespace fuzzdrive {

// The program's waits move the emulated drive's clock.
class EmulatedWaitClock : public WaitClock {
public:
    explicit EmulatedWaitClock(std::shared_ptr<emu::ManualClock> clock) : m_clock(std::move(clock)) {}
    std::uint64_t NowMs() const override { return m_clock->NowMs(); }
    void SleepMs(std::uint32_t milliseconds) override { m_clock->Advance(milliseconds); }

private:
    std::shared_ptr<emu::ManualClock> m_clock;
};

// The answers of a drive of a preset with a disc of a preset to what body
// sends, after prefix.
inline std::string RecordAnswers(const char* drivePreset, const char* mediumPreset,
                                 const std::function<void(FuzzCore&)>& body, std::string prefix = {})
{
    std::string record = std::move(prefix);
    {
        const auto clock = std::make_shared<emu::ManualClock>();
        std::string error;
        auto drive = emu::MakeEmulatedDrive(drivePreset, mediumPreset, clock, &error);
        if (!drive)
            return record;
        auto recorded = std::make_shared<RecordingPassThrough>(std::make_unique<EmulatedPassThrough>(drive), record);
        FuzzCore fuzz(std::make_shared<OneDriveOpener>(recorded), std::make_shared<EmulatedWaitClock>(clock));
        body(fuzz);
    }
    return record;
}

}  // namespace fuzzdrive
