#include "gui/app/PageHost.h"

#include "core/base/UserPrompt.h"
#include "gui/ui/Dialog.h"

void PageHost::PlaceDlgItem(int id, const UiRect& at)
{
    Window().MoveDlgItem(id, at.left, at.top, at.Width(), at.Height());
}

QWidget& PageHost::DialogParent()
{
    return Window();
}

MessageTargetPtr PageHost::MessageTarget()
{
    return Window().GetMessageTarget();
}

void PageHost::SetPageRunning(bool running)
{
    EnablePageButton(PageButton::Start, !running);
    EnablePageButton(PageButton::Stop, running);
}

bool PageHost::RefuseWhileDriveHeld()
{
    if (RefuseWhileTesting(true))
        return true;
    if (!Core().m_Drives.coordinator.InUse())
        return false;
    AppMessageBox("You must stop the test first", "Error Test Running!", MB_OK | MB_ICONEXCLAMATION);
    return true;
}
