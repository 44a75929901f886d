#pragma once

#include "core/ui/UiGeometry.h"
#include "gui/app/MainWindowPage.h"
#include "gui/tools/sectorview/GetLBA.h"
#include "gui/ui/ModelessWindow.h"

#include <memory>

class CDialog;
class EventWatch;
class PageHost;
class SideWindows;

// The sector viewer (its tools entry; it shows on page 2): the address
// window slid out beside the main window (the custom command panel slid
// back first), docked to it as it moves, and its
// "Fwd" and "Rev" (WM_READSECTOR, WM_LBAENTERED): one block shown as a dump,
// the address stepped on or back once it was read.
class SectorViewPage : public MainWindowPage {
public:
    explicit SectorViewPage(PageHost& host);
    ~SectorViewPage() override;

    void OnSectorViewer();
    void ReadSectorForViewer(WPARAM lba, bool forward);

    void ToolsItemChosen(int item) override;
    bool OnPageMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void CloseWindows() override { m_pGetLbaDlg.Close(); }

    // The address window, owned here while it exists.
    ModelessWindow<CGetLBA> m_pGetLbaDlg;

private:
    UiRect MainWindowRect() const;

    PageHost& m_host;
    CDialog& m_dlg;
    SideWindows& m_side;
    std::unique_ptr<EventWatch> m_moves;
};
