#pragma once

#include "core/tools/disk/DiskAccess.h"
#include "gui/app/MainWindowPage.h"

#include <memory>
#include <vector>

class CDevice;
class PageHost;

// The disk tools of the main window: the hard-disk error test (its command
// button), the flash drive test and the sector editor (their tools
// entries). Each lists the disks once per run, then opens its window
// modally over copies of the records it offers, so a device change that
// releases the drive lists meanwhile leaves the window's drives in place.
// Refused while a test runs.
class DiskToolsPage : public MainWindowPage {
public:
    explicit DiskToolsPage(PageHost& host);

    void ShowHddErrorTest();
    void ShowFlashDriveTest();
    void ShowSectorEditor();

    void Show(int page) override;
    void ToolsItemChosen(int item) override;

    // How the windows reach the disks; the device folder is the drive
    // lists' own. Tests may replace the opener and the use probe.
    DiskAccess m_Access;

private:
    enum class Tool { HddTest, FlashTest, SectorEditor };
    // The checks, the disk list, then the window, once the drive work
    // queued before has ended.
    void Open(Tool tool);
    void RunWindow(Tool tool);
    void FillHDDComboList();

    PageHost& m_host;
    bool m_bWindowOpen = false;
};
