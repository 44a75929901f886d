#include "core/tools/iso/CompareStart.h"

#include "core/app/TestPageControls.h"
#include "core/base/UserPrompt.h"
#include "core/drive/DriveContext.h"

namespace {

constexpr int kReadyWaitSeconds = 15;

}  // namespace

std::optional<int> StartDiscCompare(DriveContext& drives, TestPageEvents& events)
{
    using namespace testpage;
    const auto refuse = [&](const char* status, bool beep) -> std::optional<int> {
        events.ShowStatus(status);
        if (beep)
            events.Beep(MB_OK);
        events.EnablePageButton(PageButton::Start, true);
        events.Enable(kDevices, true);
        return std::nullopt;
    };
    if (drives.mmc.TestMediaPresent() != 1) {
        events.SetText(kFieldMediaType, "");
        return refuse("No Media loaded", true);
    }
    std::string name;
    drives.media.GetMediaTypeName(name);
    events.SetText(kFieldMediaType, name);
    // The head to the start of the disc; whether the drive takes it does not matter.
    drives.mmc.Seek(0);
    events.ShowStatus("Waiting for unit to become ready");
    if (drives.mmc.WaitForUnitReady(kReadyWaitSeconds) == 1)
        return refuse("Timeout waiting for unit", false);
    if (!drives.reads.ReadCapacityAnswer().ok)
        return refuse("Error Reading Media", true);
    events.ShowStatus("Ready - Initialising Test...");
    events.Enable(kDevices, false);
    events.ShowStatus("Ready");
    events.SetPageRunning(true);
    int profile = 0;
    if (drives.media.GetDriveProfile(profile) != 0)
        return 0;
    return profile;
}
