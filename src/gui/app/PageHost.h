#pragma once

#include "core/app/MainControls.h"
#include "core/app/MainDialogCore.h"
#include "core/base/MessageTarget.h"
#include "core/drive/ChannelCoordinator.h"
#include "core/ui/UiGeometry.h"

#include <functional>
#include <memory>
#include <string>
#include <typeindex>

class CDialog;
class CTextProgressCtrl;
class QWidget;
class MountRoots;
class PageEvents;

// What a page or tool of the main window may ask of it (gui/tools,
// gui/info). The main window implements it; pages never see the window's
// class. Everything is called on the window's thread.
class PageHost {
public:
    // Controls by id, the data exchange, posted messages; the parent of the
    // page's controls and dialogs.
    virtual CDialog& Window() = 0;
    void PlaceDlgItem(int id, const UiRect& at);
    // The parent of a page's dialogs and the context of its timers.
    QWidget& DialogParent();
    MessageTargetPtr MessageTarget();
    // The main dialog core: the drives, the report, the interrogations.
    virtual MainDialogCore& Core() = 0;
    void ShowStatus(const std::string& text) { Core().m_Report.ShowStatus(text); }
    // The report emptied (the output box).
    void ClearReport() { Core().m_Report.ClearDisplay(); }
    // The current drive's record; null when there is none.
    CDevice* CurrentDevice() { return Core().m_Drives.list.m_pCurrentDevice; }
    // Whether an operation holds the drive's channel, and the stop of one.
    bool DriveHeld() { return Core().m_Drives.coordinator.InUse(); }
    void RequestStop(ChannelUse use) { Core().m_Drives.coordinator.RequestStop(use); }
    // A drive command's notice: its status line and message box.
    virtual void ShowNotice(const WrapperNotice& notice) = 0;
    // The drive's texts by control id (the drive information page's fields,
    // the drive's name and the disc's media ID), as the data exchange shows them.
    virtual std::string& DriveInfoText(int id) = 0;

    // Pages: the current one, and the views of the window.
    virtual int CurrentPage() const = 0;
    virtual void SetCurrentPage(int page) = 0;
    // Makes a page current and shows the view its row of MainPages() names.
    virtual void ShowPage(int page) = 0;
    // What the page's command button does (its Show).
    virtual void OpenPage(int page) = 0;
    // The drive information page shown (every page's own controls hidden first), or hidden.
    virtual void ShowDriveInfoPage(bool show) = 0;
    // The output box at its full size (page 2), or hidden.
    virtual void ShowInfoDisplay(bool show) = 0;
    virtual void ShowComboBoxes() = 0;
    // The tools list's current entry run again.
    virtual void RunToolsEntryAgain() = 0;
    // The drive list's choice taken again (after a tool let the drive go).
    virtual void SelectDrive() = 0;

    // The main buttons and the page buttons.
    virtual void ShowMainButtons(bool show) = 0;
    // Start, Stop and Save enabled or not: the one place they are set, the
    // workers' changes too (ApplyTestPageChanges).
    virtual void EnablePageButton(PageButton button, bool enable) = 0;
    // A run started (Start off, Stop on) or ended (the other way round).
    void SetPageRunning(bool running);
    // The page buttons' captions and whether they show.
    void SetPageButtonText(PageButton button, const std::string& text);
    void ShowPageButton(PageButton button, bool show);
    void ShowPageButtons(bool show);
    // The drive list, and the tools list with it, usable or not (a run
    // keeps its drive current until it ends).
    void EnableDriveList(bool enable);
    void EnableDriveLists(bool enable);
    // The tools list's current entry (ToolsItem number).
    int ToolsEntry();
    // Drive list (and tools list) usable, Start on, Stop off: a page at rest.
    virtual void RestorePageButtons(bool toolsToo) = 0;
    // Refuses a command while a test runs ("You must stop the test first"); true when refused.
    virtual bool RefuseWhileTesting(bool withScanWindow, bool withCreateIso = true) = 0;
    // The same refusal while a test or the scan window runs, or while
    // another operation holds the drive's channel (a compare, a hash, a raw
    // command): for the tools that send their own commands.
    bool RefuseWhileDriveHeld();
    virtual bool ScanWindowOpen() const = 0;
    // The program's home page opened.
    virtual void ShowHomePage() = 0;

    // Drive work runs on the drive thread, then `done` on this one, in
    // order; tool work the same on the tools' worker (one at a time), the
    // test-page changes shown when it ends. Nothing runs after the exit.
    virtual void RunDriveWork(std::function<void()> work, std::function<void()> done = {}) = 0;
    virtual void WhenDriveIdle(std::function<void()> action) = 0;
    virtual void RunToolWork(std::function<void()> work, std::function<void()> done = {}) = 0;
    // The drive's channel for one long operation, held by whoever holds the
    // pointer; null while another operation holds it.
    virtual std::shared_ptr<ChannelClaim> ClaimChannel(ChannelUse use) = 0;

    virtual CTextProgressCtrl& Progress() = 0;
    virtual CTextProgressCtrl& Progress2() = 0;

    // The one way from a page's workers to the window: what they tell
    // (status, control texts and states, the results list, the second
    // progress bar, the block map, questions, beeps, posted messages), kept
    // in the test-page state and shown on this thread with WM_TESTPAGECHANGED
    // or at once with ApplyTestPageChanges.
    virtual PageEvents& Events() = 0;
    virtual void ApplyTestPageChanges() = 0;
    // Where discs are mounted.
    virtual MountRoots& Mounts() = 0;

    // A part several pages share (the test pages' controls), made with this
    // host on first use and kept until the pages are gone.
    template <class Part>
    Part& Shared()
    {
        std::shared_ptr<void>& slot = SharedSlot(typeid(Part));
        if (!slot)
            slot = std::make_shared<Part>(*this);
        return *static_cast<Part*>(slot.get());
    }

protected:
    ~PageHost() = default;
    virtual std::shared_ptr<void>& SharedSlot(std::type_index part) = 0;
};
