#pragma once

#include "core/drive/ChannelCoordinator.h"
#include "core/ui/UiGeometry.h"

#include <functional>
#include <memory>

class MainDialogCore;

// What the custom command panel needs of the main window: its drive side
// and text (the channel, the current drive, the data buffer, the report and
// status line), the channel's claim, its drive thread, its frame for docking
// and its output control.
class UserCommandHost {
public:
    virtual ~UserCommandHost() = default;

    virtual MainDialogCore& Core() = 0;
    // The channel for one operation; null while another one holds it.
    virtual std::shared_ptr<ChannelClaim> ClaimChannel(ChannelUse use) = 0;
    // Runs work on the drive thread after the work given before it, then
    // done on the window's thread.
    virtual void RunDriveWork(std::function<void()> work, std::function<void()> done) = 0;
    // The main window's frame on the screen.
    virtual UiRect MainWindowRect() const = 0;
    // Shows the output control, where the report and the dump appear.
    virtual void ShowOutput() = 0;
};
