#include "gui/tools/erase/ErasePage.h"

#include "core/base/LogFile.h"
#include "core/base/UserPrompt.h"
#include "core/drive/Device.h"
#include "core/drive/DriveContext.h"
#include "core/drive/MediaType.h"
#include "core/tools/erase/EraseMedia.h"
#include "gui/app/PageHost.h"
#include "gui/tools/erase/DCErase.h"
#include "gui/tools/erase/EraseDlg.h"
#include "gui/ui/Dialog.h"
#include "gui/ui/WindowThread.h"

#include <QTimer>

#include <memory>
#include <type_traits>

namespace {

constexpr const char* kDriveBusy = "Drive busy - still erasing the disc";  // the status line holds 40 columns
constexpr int kBusyPollMs = 5000;
constexpr int kKindOfLongestWait = erasing::kKindDvdPlusRw;  // two hours: the longest any erase runs

// Whether the drive answers that it is still at work (NOT READY, 04h/xx).
bool StillWorking(const CommandAnswer& answer)
{
    return !answer.ok && !answer.lost && answer.sense.key == 0x02 && answer.sense.asc == 0x04;
}

std::string CurrentDeviceName(DriveContext& drive)
{
    const CDevice* device = drive.list.m_pCurrentDevice;
    return device ? device->m_strDriveText : std::string();
}

}  // namespace

ErasePage::ErasePage(PageHost& host) : m_host(host)
{
    schedule = [this](int milliseconds, std::function<void()> action) {
        QTimer::singleShot(milliseconds, &m_host.DialogParent(), std::move(action));
    };
}

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
        [this, &drive, present, mediaType] {
            if (*present == 0) {
                m_host.ShowStatus("No media present in drive");
                return;
            }
            if (!erasing::IsErasableMedium(*mediaType)) {
                m_host.ShowStatus(std::string(MediaTypeName(*mediaType)) + " disc cannot be erased");
                if (UserPrompt* prompt = GetUserPrompt())
                    prompt->MessageBox(erasing::NotErasableText(*mediaType), "Erase", MB_OK | MB_ICONINFORMATION);
                return;
            }
            if (RunDialog<CEraseDlg>(erasing::EraseKindFor(*mediaType))) {
                LogEntry("End OnErase() - the drive goes on with its work");
                FollowBusyDrive(CurrentDeviceName(drive),
                                static_cast<int>(erasing::LongestOperationMs(kKindOfLongestWait) / kBusyPollMs));
                return;
            }
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

void ErasePage::FollowBusyDrive(const std::string& device, int triesLeft)
{
    DriveContext& drive = m_host.Core().m_Drives;
    if (CurrentDeviceName(drive) != device)
        return;  // another drive was chosen: its own state is shown
    m_host.ShowStatus(kDriveBusy);
    auto working = std::make_shared<bool>(true);
    m_host.RunDriveWork([&drive, working] { *working = StillWorking(drive.mmc.TestUnitReady()); },
                        [this, &drive, device, triesLeft, working] {
                            if (CurrentDeviceName(drive) != device)
                                return;
                            if (*working && triesLeft > 0) {
                                m_host.ShowStatus(kDriveBusy);
                                schedule(kBusyPollMs,
                                         [this, device, triesLeft] { FollowBusyDrive(device, triesLeft - 1); });
                                return;
                            }
                            m_host.ShowStatus("Ready");
                            m_host.SelectDrive();  // the disc read again as the drive left it
                        });
}

template <class Dialog>
bool ErasePage::RunDialog(int kind)
{
    DeviceUseProbe probe = deviceUse;
    if (!probe)
        probe = [](const std::string& node) { return DescribeDeviceUse(node); };
    MainDialogCore& core = m_host.Core();
    Dialog dialog(core.m_Drives, GetUserPrompt(), &m_host.DialogParent(), std::move(probe));
    if constexpr (std::is_same_v<Dialog, CEraseDlg>)
        dialog.Control().clearReport = [this, &core] {
            RunOnWindowThread(&m_host.Window(), [&core] { core.m_Report.ClearDisplay(); });
        };
    dialog.SetMediaKind(kind);
    dialog.DoModal();
    if constexpr (std::is_same_v<Dialog, CEraseDlg>)
        return dialog.LeftDriveWorking();
    else
        return false;
}
