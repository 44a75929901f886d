#pragma once

#include "core/base/WaitClock.h"
#include "core/drive/DriveContext.h"
#include "emu/EmulatedDrive.h"
#include "support/TestSupport.h"

#include <cstdint>
#include <memory>
#include <vector>

// A wait clock on the emulated drives' manual clock: sleeping only moves
// time on, so a drive that is becoming ready gets there without real waits.
class VirtualWaitClock : public WaitClock {
public:
    explicit VirtualWaitClock(std::shared_ptr<emu::ManualClock> clock) : m_clock(std::move(clock)) {}
    std::uint64_t NowMs() const override { return m_clock->NowMs(); }
    void SleepMs(std::uint32_t milliseconds) override
    {
        m_clock->Advance(milliseconds);
        m_sleptMs += milliseconds;
    }
    std::uint64_t SleptMs() const { return m_sleptMs; }

private:
    std::shared_ptr<emu::ManualClock> m_clock;
    std::uint64_t m_sleptMs = 0;
};

// One emulated drive ("emu0") of a preset with a disc of a preset, on a
// machine without drives of its own.
class EmulatedDriveRig {
public:
    EmulatedDriveRig(const char* drivePreset, const char* mediumPreset);
    // A drive of a hand-made identity.
    EmulatedDriveRig(emu::DriveIdentity identity, const char* mediumPreset);

    DriveSources Sources() const;
    // Lists the drive, makes it current, runs the context's waits on the
    // virtual clock and empties the journal.
    void MakeCurrent(DriveContext& context);
    // The CDBs the drive received since, each as long as it went out.
    std::vector<std::vector<std::uint8_t>> Cdbs() const;
    // Those of them with this opcode, in order.
    std::vector<std::vector<std::uint8_t>> CdbsOf(std::uint8_t opcode) const;

    std::shared_ptr<emu::ManualClock> clock = std::make_shared<emu::ManualClock>();
    std::shared_ptr<emu::EmulatedDrive> drive;
    std::shared_ptr<VirtualWaitClock> waitClock = std::make_shared<VirtualWaitClock>(clock);

private:
    TempDir m_machine;
};
