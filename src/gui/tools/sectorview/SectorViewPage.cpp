#include "gui/tools/sectorview/SectorViewPage.h"

#include "gui/app/PageHost.h"
#include "gui/ui/Beep.h"
#include "gui/ui/Dialog.h"
#include "gui/ui/EventWatch.h"
#include "gui/ui/SideWindows.h"

#include <algorithm>

namespace {

constexpr std::size_t kClearedBytes = 2052;

}  // namespace

SectorViewPage::SectorViewPage(PageHost& host) : m_host(host), m_dlg(host.Window()), m_side(host.Shared<SideWindows>())
{
    m_side.Add(this, [this] {
        if (CGetLBA* viewer = m_pGetLbaDlg.Get(); viewer && !viewer->IsHidden())
            viewer->StartSlide();
    });
    // A docked viewer moves along with the window.
    m_moves = std::make_unique<EventWatch>(&m_dlg, QEvent::Move, [this](QEvent&) {
        if (CGetLBA* viewer = m_pGetLbaDlg.Get()) {
            viewer->SetMainRect(MainWindowRect());
            viewer->Dock();
        }
    });
}

SectorViewPage::~SectorViewPage()
{
    m_side.Remove(this);
}

void SectorViewPage::ToolsItemChosen(int)
{
    OnSectorViewer();
}

bool SectorViewPage::OnPageMessage(UINT message, WPARAM wParam, LPARAM)
{
    if (message != WM_READSECTOR && message != WM_LBAENTERED)
        return false;
    ReadSectorForViewer(wParam, message == WM_READSECTOR);
    return true;
}

void SectorViewPage::OnSectorViewer()
{
    MainDialogCore& core = m_host.Core();
    core.m_Report.m_bHexView = 1;
    m_host.ShowInfoDisplay(true);
    core.m_Report.ClearDisplay();
    m_host.RunDriveWork([&core] {
        auto& buffer = core.m_Drives.m_DataBuffer;
        std::fill_n(buffer.begin(), std::min(kClearedBytes, buffer.size()), std::uint8_t{0});
    });
    m_side.SlideBackAllBut(this);
    const bool created = !m_pGetLbaDlg;
    if (created) {
        auto* viewer = new CGetLBA(&m_dlg);
        viewer->SetModeless(true);
        viewer->Create();
        m_pGetLbaDlg.Adopt(viewer);
    }
    CGetLBA* viewer = m_pGetLbaDlg.Get();
    if (!created && !viewer->IsHidden()) {
        MessageBeep();
        return;
    }
    viewer->SetMainRect(MainWindowRect());
    viewer->show();
    viewer->StartSlide();
}

void SectorViewPage::ReadSectorForViewer(WPARAM lba, bool forward)
{
    MainDialogCore& core = m_host.Core();
    auto notice = std::make_shared<WrapperNotice>();
    auto failure = std::make_shared<std::string>();
    auto result = std::make_shared<int>(1);
    m_host.RunDriveWork(
        [&core, lba, notice, failure, result] {
            *result = core.ReadSectorForView(static_cast<std::int64_t>(lba), *notice, failure.get());
        },
        [this, notice, failure, result, forward] {
            m_host.ShowNotice(*notice);
            if (*result != 0) {
                // The address stays: the same block is asked for again.
                MessageBeep();
                m_host.ShowStatus(failure->empty() ? "Error reading sector!" : "Error reading sector! " + *failure);
                return;
            }
            if (CGetLBA* viewer = m_pGetLbaDlg.Get()) {
                if (forward)
                    viewer->NextLBA();
                else
                    viewer->PrevLBA();
            }
            m_dlg.ShowDlgItem(IDC_OUTPUT, true);
        });
}

UiRect SectorViewPage::MainWindowRect() const
{
    const QRect frame = m_dlg.frameGeometry();
    return {frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()};
}
