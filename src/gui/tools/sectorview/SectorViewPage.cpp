#include "gui/app/QuenzaDlg.h"
#include "gui/ui/Beep.h"

#include <QMoveEvent>

#include <algorithm>

// The sector viewer: the address window beside the main window, and the
// blocks it asks for shown as a dump in the output.

namespace {

constexpr std::size_t kClearedBytes = 2052;

}  // namespace

void CQuenzaDlg::OnSectorViewer()
{
    m_Core.m_Report.m_bHexView = 1;
    ShowInfoDisplay(true);
    m_Core.m_Report.ClearDisplay();
    RunDriveWork([this] {
        auto& buffer = m_Core.m_Drives.m_DataBuffer;
        std::fill_n(buffer.begin(), std::min(kClearedBytes, buffer.size()), std::uint8_t{0});
    });
    const bool created = !m_pGetLbaDlg;
    if (created) {
        auto* viewer = new CGetLBA(this);
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

void CQuenzaDlg::ReadSectorForViewer(WPARAM lba, bool forward)
{
    auto notice = std::make_shared<WrapperNotice>();
    auto failure = std::make_shared<std::string>();
    auto result = std::make_shared<int>(1);
    RunDriveWork(
        [this, lba, notice, failure, result] {
            *result = m_Core.ReadSectorForView(static_cast<std::int64_t>(lba), *notice, failure.get());
        },
        [this, notice, failure, result, forward] {
            ShowNotice(*notice);
            if (*result != 0) {
                // The address stays: the same block is asked for again.
                MessageBeep();
                ShowStatus(failure->empty() ? "Error reading sector!" : "Error reading sector! " + *failure);
                return;
            }
            if (CGetLBA* viewer = m_pGetLbaDlg.Get()) {
                if (forward)
                    viewer->NextLBA();
                else
                    viewer->PrevLBA();
            }
            ShowDlgItem(IDC_OUTPUT, true);
        });
}

UiRect CQuenzaDlg::MainWindowRect() const
{
    const QRect frame = frameGeometry();
    return {frame.left(), frame.top(), frame.left() + frame.width(), frame.top() + frame.height()};
}

void CQuenzaDlg::moveEvent(QMoveEvent* event)
{
    CDialog::moveEvent(event);
    // A docked sector viewer moves along.
    if (CGetLBA* viewer = m_pGetLbaDlg.Get()) {
        viewer->SetMainRect(MainWindowRect());
        viewer->Dock();
    }
}
