#pragma once

#include "core/base/MessageIds.h"

class CDataExchange;
struct DeviceBroadcast;

// A page of the main window, or a tool of the "Tools & Utilities" list: what
// it does when the window tells it something. One object serves the pages
// and tools entries its line of PageClasses() (gui/app/PageList.cpp) names;
// `page` says which of its pages is meant. It reaches the window only through
// the PageHost it is made with. What a page does not override does nothing,
// and a page button it has no command for answers by its row's name that it
// is not available.
class MainWindowPage {
public:
    virtual ~MainWindowPage() = default;

    // While `page` is current: another drive became current, a disc came
    // into the current drive, the current drive's disc went.
    virtual void DriveSelected(int /*page*/) {}
    virtual void DiscArrived(int /*page*/) {}
    virtual void DiscRemoved(int /*page*/) {}
    // The page buttons on `page`; false when the page has no such command.
    virtual bool Start(int /*page*/) { return false; }
    virtual bool Stop(int /*page*/) { return false; }
    virtual bool Save(int /*page*/) { return false; }
    virtual void Refresh(int /*page*/) {}
    // The page's command button: the page set up and made current (kNoPage:
    // the button of a tool without a page, whose window opens).
    virtual void Show(int /*page*/) {}
    // Another view comes: the page's own controls hidden.
    virtual void Hide() {}
    // One of the page's own posted messages; false when it is not the page's.
    virtual bool OnPageMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) { return false; }
    // Every page, current or not: a volume's disc or drive came or went
    // (WM_DEVICECHANGE), for the dialogs the page has open.
    virtual void DeviceChanged(WPARAM /*event*/, const DeviceBroadcast& /*notice*/) {}
    // Its entry of the tools list chosen.
    virtual void ToolsItemChosen(int /*item*/) {}
    // Its members with their controls, in the window's data exchange.
    virtual void DoDataExchange(CDataExchange& /*dx*/) {}
    // The window starts or ends: the page's modeless windows closed.
    virtual void CloseWindows() {}
};
