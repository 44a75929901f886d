#include "gui/app/PageHost.h"

#include "core/base/UserPrompt.h"
#include "gui/ui/Dialog.h"

#include <QComboBox>

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

void PageHost::SetPageButtonText(PageButton button, const std::string& text)
{
    Window().SetDlgItemText(PageButtonId(button), text);
}

void PageHost::ShowPageButton(PageButton button, bool show)
{
    Window().ShowDlgItem(PageButtonId(button), show);
}

void PageHost::ShowPageButtons(bool show)
{
    for (PageButton button : {PageButton::Start, PageButton::Stop, PageButton::Save})
        ShowPageButton(button, show);
}

void PageHost::EnableDriveList(bool enable)
{
    Window().EnableDlgItem(IDC_DEVICES, enable);
}

void PageHost::EnableDriveLists(bool enable)
{
    EnableDriveList(enable);
    Window().EnableDlgItem(IDC_TOOLS, enable);
}

int PageHost::ToolsEntry()
{
    const auto* tools = Window().Item<QComboBox>(IDC_TOOLS);
    return tools ? tools->currentIndex() : -1;
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
