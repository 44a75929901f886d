#include "gui/tools/erase/ErasePage.h"

#include "core/base/LogFile.h"
#include "core/base/UserPrompt.h"
#include "core/tools/erase/EraseMedia.h"
#include "gui/app/PageHost.h"
#include "gui/tools/erase/DCErase.h"
#include "gui/tools/erase/EraseDlg.h"
#include "gui/ui/Dialog.h"

#include <memory>
#include <type_traits>

void ErasePage::OnErase()
{
    m_host.ShowStatus("Format Function Running");
    LogEntry("Start OnErase()");
    if (m_host.RefuseWhileDriveHeld())
        return;
    DriveContext& drive = m_host.Core().m_Drives;
    auto present = std::make_shared<int>(0);
    auto mediaType = std::make_shared<int>(0);
    m_host.RunDriveWork(
        [&drive, present, mediaType] {
            *present = drive.mmc.TestMediaPresent();
            if (*present != 0)
                *mediaType = drive.media.GetMediaType();
        },
        [this, present, mediaType] {
            if (*present == 0) {
                m_host.ShowStatus("No media present in drive");
                return;
            }
            RunDialog<CEraseDlg>(erasing::EraseKindFor(*mediaType));
            m_host.ShowStatus("Ready");
            LogEntry("End OnErase()");
        });
}

void ErasePage::DCErase()
{
    m_host.ShowStatus("DC Erase Thread Running");
    LogEntry("Start DCErase()");
    if (m_host.RefuseWhileDriveHeld())
        return;
    // No media check here: the dialog makes its own.
    DriveContext& drive = m_host.Core().m_Drives;
    auto mediaType = std::make_shared<int>(0);
    m_host.RunDriveWork([&drive, mediaType] { *mediaType = drive.media.GetMediaType(); },
                        [this, mediaType] {
                            RunDialog<CDCErase>(erasing::DcEraseKindFor(*mediaType));
                            m_host.ShowStatus("Ready");
                            LogEntry("End DCErase()");
                        });
}

template <class Dialog>
void ErasePage::RunDialog(int kind)
{
    DeviceUseProbe probe = deviceUse;
    if (!probe)
        probe = [](const std::string& node) { return DescribeDeviceUse(node); };
    MainDialogCore& core = m_host.Core();
    Dialog dialog(core.m_Drives, GetUserPrompt(), &m_host.Window(), std::move(probe));
    if constexpr (std::is_same_v<Dialog, CEraseDlg>)
        dialog.Control().clearReport = [&core] { core.m_Report.ClearDisplay(); };
    dialog.SetMediaKind(kind);
    dialog.DoModal();
}
