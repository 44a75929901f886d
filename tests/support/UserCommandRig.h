#pragma once

#include "core/app/MainDialogCore.h"
#include "core/base/DriveJobRunner.h"
#include "core/tools/usercommand/UserCommandHost.h"
#include "support/EmulatedDriveRig.h"
#include "support/TestSupport.h"

#include <memory>

// The main window as the custom command sees it, over one emulated drive:
// its core, drive work on a thread of its own (Wait runs it and the
// completions to their end) and a fixed frame.
class UserCommandRig : public EmulatedDriveRig, public UserCommandHost {
public:
    UserCommandRig(const char* drivePreset, const char* mediumPreset) :
        EmulatedDriveRig(drivePreset, mediumPreset), core(Sources())
    {
        MakeCurrent(core.m_Drives);
        // The panel sends the transfer the user set, whatever its CDB asks.
        drive->SetTransferLengthCheck(false);
    }

    MainDialogCore& Core() override { return core; }
    std::shared_ptr<ChannelClaim> ClaimChannel(ChannelUse use) override
    {
        std::optional<ChannelClaim> claim = core.m_Drives.coordinator.TryClaim(use);
        return claim ? std::make_shared<ChannelClaim>(std::move(*claim)) : nullptr;
    }
    void RunDriveWork(std::function<void()> work, std::function<void()> done) override
    {
        runner.Run(std::move(work), std::move(done));
    }
    UiRect MainWindowRect() const override { return frame; }
    void ShowOutput() override { ++outputShown; }

    void Wait()
    {
        while (runner.Busy()) {
            runner.WaitForWork();
            runner.RunCompletions();
        }
    }
    const auto& Buffer() const { return core.m_Drives.m_DataBuffer; }

    ScopedProgramLog log;
    ScopedProfile profile;
    MainDialogCore core;
    UiRect frame{100, 50, 850, 650};
    int outputShown = 0;
    // Last: its thread runs work on the core until it is gone.
    DriveJobRunner runner;
};
