#include "core/tools/iso/CompareStart.h"

#include "core/app/MainDialogCore.h"
#include "core/app/TestPageControls.h"
#include "core/base/UserPrompt.h"
#include "core/drive/CommandBlock.h"
#include "core/tools/iso/DriveBlockReader.h"
#include "scsi/Opcodes.h"

namespace {

constexpr int kReadyWaitSeconds = 15;

}  // namespace

std::optional<int> StartDiscCompare(MainDialogCore& core, TestPageEvents& events)
{
    using namespace testpage;
    DriveContext& drives = core.m_Drives;
    const auto refuse = [&](const char* status, bool beep) -> std::optional<int> {
        events.ShowStatus(status);
        if (beep)
            events.Beep(MB_OK);
        events.Enable(kStart, true);
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
    CommandBlock(mmc::kSeek10).Execute(drives.m_ScsiCommand, DataDirection::None, nullptr, 0);
    events.ShowStatus("Waiting for unit to become ready");
    if (drives.mmc.WaitForUnitReady(kReadyWaitSeconds) == 1)
        return refuse("Timeout waiting for unit", false);
    DriveBlockReader reader(core);
    if (!reader.ReadLastLba())
        return refuse("Error Reading Media", true);
    events.ShowStatus("Ready - Initialising Test...");
    events.Enable(kDevices, false);
    events.ShowStatus("Ready");
    events.Enable(kStart, false);
    events.Enable(kStop, true);
    return reader.CurrentProfile().value_or(0);
}
