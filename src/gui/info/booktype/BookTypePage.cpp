#include "gui/info/booktype/BookTypePage.h"

#include "core/app/DeviceBroadcast.h"
#include "core/base/UserPrompt.h"
#include "gui/app/PageHost.h"
#include "gui/info/booktype/BookTypeEntry.h"
#include "gui/ui/Dialog.h"

#include <memory>

void BookTypePage::OnBooktype()
{
    if (m_host.RefuseWhileDriveHeld())
        return;
    DriveContext& drive = m_host.Core().m_Drives;
    auto choice = std::make_shared<BookTypeChoice>();
    m_host.RunDriveWork([&drive, choice] { *choice = ChooseBookTypeDialog(drive); },
                        [this, &drive, choice] {
                            BookTypeOptions options;
                            options.status = [this](const std::string& text) { m_host.ShowStatus(text); };
                            options.dialogOpen = [this](CDialog* dialog) { m_pDialog = dialog; };
                            options.deviceUse = deviceUse;
                            UserPrompt* prompt = GetUserPrompt();
                            if (prompt)
                                ShowBookTypeChoice(*choice, drive, *prompt, &m_host.DialogParent(), options);
                        });
}

void BookTypePage::DeviceChanged(WPARAM event, const DeviceBroadcast& notice)
{
    if (m_pDialog)
        m_pDialog->SendMessage(WM_DEVICECHANGE, event, KeepDeviceBroadcast(notice));
}
