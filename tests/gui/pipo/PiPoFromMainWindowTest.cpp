#include "core/pipo/ScanFile.h"
#include "core/pipo/ScanWindowIds.h"
#include "gui/app/MainWindowRig.h"
#include "gui/graphs/GraphStaticPIPO.h"
#include "gui/pipo/PiPo.h"
#include "gui/ui/MatrixStatic.h"
#include "support/SavedScans.h"

#include <gtest/gtest.h>

namespace {

// What the scan window showed when the main window ran it.
struct ScanWindowSeen {
    int runs = 0;
    std::size_t points = 0;
    std::string driveDisplay;
    std::string mediaName;
    int activeWhileOpen = 0;
};

}  // namespace

TEST(ScanWindowFromMainWindow, AScanFileOnTheCommandLineOpensInTheScanWindow)
{
    MainWindowRig rig(MainWindowRig::Presets{{"liteon", "dvd+r"}});
    TempDir dir;
    const std::string path = dir.File("disc.QNZX");
    ScanFile scan = MakeScan(90, 25, 4, "from the command line");
    ASSERT_TRUE(SaveScanFile(path, scan));
    ScanWindowSeen seen;
    CDialog::SetModalRunHook([&](CDialog& dialog) {
        auto* window = dynamic_cast<CPiPo*>(&dialog);
        if (window == nullptr)
            return 0;
        ++seen.runs;
        seen.points = window->UpperGraph(1).GetPointCount();
        seen.driveDisplay = window->DriveDisplay().GetText();
        seen.mediaName = window->GetDlgItemText(IDC_PIPO_MEDIA_NAME);
        seen.activeWhileOpen = rig.dialog->m_bPiPoActive;
        window->OnClose();
        return window->ModalResult();
    });
    rig.dialog->m_strCmdLine1 = path;
    rig.Start();
    EXPECT_EQ(seen.runs, 1);
    EXPECT_EQ(seen.points, 90u);
    EXPECT_EQ(seen.driveDisplay.rfind("from the command line", 0), 0u);
    EXPECT_EQ(seen.mediaName, "DVD+R") << "the file's media texts";
    EXPECT_EQ(seen.activeWhileOpen, 1);
    EXPECT_TRUE(rig.dialog->m_strCmdLine1.empty()) << "loaded once";
    EXPECT_EQ(rig.dialog->m_bPiPoActive, 0);
    for (const auto& asked : rig.prompt.asked)
        ADD_FAILURE() << asked.text;

    // The PI/PO button opens it again, empty; it waits while a test runs.
    rig.dialog->SendCommand(IDC_PIPO);
    EXPECT_EQ(seen.runs, 2);
    EXPECT_EQ(seen.points, 0u);
    g_bSpeedTestRunning = 1;
    rig.dialog->SendCommand(IDC_PIPO);
    g_bSpeedTestRunning = 0;
    EXPECT_EQ(seen.runs, 2);
    ASSERT_FALSE(rig.prompt.asked.empty());
    EXPECT_EQ(rig.prompt.asked.back().text, "You must stop the test first");
    CDialog::SetModalRunHook(nullptr);
}
