#pragma once

#include "core/tools/usercommand/UserCommandHost.h"
#include "gui/app/MainWindowPage.h"
#include "gui/tools/usercommand/UserCommand.h"
#include "gui/ui/ModelessWindow.h"

#include <memory>

class EventWatch;
class PageHost;
class SideWindows;

// The tools list's "Send Custom Command": the custom command panel slid out
// beside the main window (the sector viewer's window slid back first) and
// kept docked to it as it moves, the double
// click in the main window's dump (WM_OUTPUTEDITNOTIFY) handed to it, and
// the panel closed at start and exit. The panel handles its own requests
// (the send, the buffer) through this object as its UserCommandHost.
class UserCommandPage : public MainWindowPage, private UserCommandHost {
public:
    explicit UserCommandPage(PageHost& host);
    ~UserCommandPage() override;

    void ToolsItemChosen(int item) override;
    bool OnPageMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void CloseWindows() override { m_pUserCommandDlg.Close(); }

    // The panel, owned here while it exists.
    ModelessWindow<CUserCommand> m_pUserCommandDlg;

private:
    // UserCommandHost: the main window as the panel sees it.
    MainDialogCore& Core() override;
    std::shared_ptr<ChannelClaim> ClaimChannel(ChannelUse use) override;
    void RunDriveWork(std::function<void()> work, std::function<void()> done) override;
    UiRect MainWindowRect() const override;
    void ShowOutput() override;

    PageHost& m_host;
    SideWindows& m_side;
    std::unique_ptr<EventWatch> m_moves;
};
