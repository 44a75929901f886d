#include "gui/tools/usercommand/UserCommandPage.h"

#include "core/app/MainControls.h"
#include "core/app/MainPages.h"
#include "gui/app/PageHost.h"
#include "gui/ui/Dialog.h"
#include "gui/ui/EventWatch.h"
#include "gui/ui/SideWindows.h"

#include <QPlainTextEdit>

UserCommandPage::UserCommandPage(PageHost& host) : m_host(host), m_side(host.Shared<SideWindows>())
{
    m_side.Add(this, [this] {
        if (CUserCommand* panel = m_pUserCommandDlg.Get(); panel && !panel->IsHidden())
            panel->StartSlide();
    });
    // A docked panel moves along with the window.
    m_moves = std::make_unique<EventWatch>(&host.Window(), QEvent::Move, [this](QEvent&) {
        if (CUserCommand* panel = m_pUserCommandDlg.Get())
            panel->Dock();
    });
}

UserCommandPage::~UserCommandPage()
{
    m_side.Remove(this);
}

void UserCommandPage::ToolsItemChosen(int)
{
    m_side.SlideBackAllBut(this);
    // The warning not accepted: the drive information page instead.
    if (!OpenUserCommand(m_pUserCommandDlg, *this, &m_host.DialogParent()))
        m_host.OpenPage(kPageDriveInfo);
}

bool UserCommandPage::OnPageMessage(UINT message, WPARAM wParam, LPARAM)
{
    if (message != WM_OUTPUTEDITNOTIFY)
        return false;
    // A double click in the dump picks its byte for the open panel.
    CUserCommand* panel = m_pUserCommandDlg.Get();
    const auto* output = m_host.Window().Item<QPlainTextEdit>(IDC_OUTPUT);
    if (panel && output && m_host.Core().m_Report.m_bHexView == 1)
        panel->OnOutputEditNotify(DumpTextPosition(*output, static_cast<int>(wParam & 0xFFFFu)));
    return true;
}

MainDialogCore& UserCommandPage::Core()
{
    return m_host.Core();
}

std::shared_ptr<ChannelClaim> UserCommandPage::ClaimChannel(ChannelUse use)
{
    return m_host.ClaimChannel(use);
}

void UserCommandPage::RunDriveWork(std::function<void()> work, std::function<void()> done)
{
    m_host.RunDriveWork(std::move(work), std::move(done));
}

UiRect UserCommandPage::MainWindowRect() const
{
    const QRect frame = m_host.Window().frameGeometry();
    return {frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()};
}

void UserCommandPage::ShowOutput()
{
    m_host.ShowInfoDisplay(true);
}
