#pragma once

#include "core/app/ReportText.h"
#include "core/drive/DriveContext.h"

#include <cstdint>

// The Qt-free half of the main window: its drive side and its text, and the
// operations that need both. The window owns one and shows what it holds.
class MainDialogCore {
public:
    explicit MainDialogCore(DriveSources sources = DriveSources::FromEnvironment());

    // How long PollUntilReady waits before it gives up: a spin-up, and an
    // erase or format whose progress is shown.
    static constexpr std::uint32_t kReadyTimeoutSeconds = 120;
    static constexpr std::uint32_t kLongOperationTimeoutSeconds = 4 * 60 * 60;

    // Asks TEST UNIT READY until the drive is ready: 0 then. With the erase
    // progress shown, the status line counts the long operation's progress.
    // 1 when the wait is given up: no disc, the request cannot be sent, or
    // the time bound passed.
    int PollUntilReady(bool showEraseProgress);
    int PollUntilReady(bool showEraseProgress, std::uint32_t timeoutSeconds);

    // Tells why the last command failed, from the channel's sense data: a
    // status text for the common refusals, else line 0 of the report and a
    // message box.
    void ReportSenseError(int opcode);

    // The drive's profiles and features listed in the report.
    void ListDriveFeaturesProfiles();

    DriveContext m_Drives;
    ReportText m_Report;
};
