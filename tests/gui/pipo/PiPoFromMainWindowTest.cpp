#include "core/pipo/ScanFile.h"
#include "core/pipo/ScanWindowIds.h"
#include "gui/app/MainWindowRig.h"
#include "gui/graphs/ComparePIPO.h"
#include "gui/graphs/GraphStaticPIPO.h"
#include "gui/pipo/PiPo.h"
#include "gui/pipo/SetLogicalBlockAddress.h"
#include "gui/ui/MatrixStatic.h"
#include "support/SavedScans.h"
#include "support/gui/ScopedModalHook.h"
#include "support/gui/ScriptedFileDialogs.h"

#include <QImage>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

// What the scan window showed when the main window ran it.
struct ScanWindowSeen {
    int runs = 0;
    std::size_t points = 0;
    std::string driveDisplay;
    std::string mediaName;
    int activeWhileOpen = 0;
    bool refusedClose = false;
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
    ScopedModalHook hook([&](CDialog& dialog) {
        auto* window = dynamic_cast<CPiPo*>(&dialog);
        if (window == nullptr)
            return 0;
        ++seen.runs;
        seen.points = window->UpperGraph(1).GetPointCount();
        seen.driveDisplay = window->DriveDisplay().GetText();
        seen.mediaName = window->GetDlgItemText(IDC_PIPO_MEDIA_NAME);
        seen.activeWhileOpen = rig.dialog->m_bPiPoActive;
        // A close refused while a scan runs leaves the main window's record.
        window->Context().g_bErrorTestRunning = 1;
        window->OnClose();
        window->Context().g_bErrorTestRunning = 0;
        seen.refusedClose = window->ModalResult() == -1 && rig.dialog->m_bPiPoActive == 1;
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
    EXPECT_TRUE(seen.refusedClose);
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, "You must click 'Stop' first");
    rig.prompt.asked.clear();

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
}

// The whole road: the PI/PO button, a scan of the start of the disc on the
// emulated Lite-On drive, Save, the file loaded into slot 2, Compare, and a
// snapshot of the window read back.
TEST(ScanWindowFromMainWindow, AScanOnTheEmulatedLiteonDriveSavedLoadedComparedAndPictured)
{
    MainWindowRig rig(MainWindowRig::Presets{{"liteon", "dvd+r"}});
    rig.Start();
    ScriptedFileDialogs files;
    TempDir dir;
    const std::string scanPath = dir.File("scan.qnzx");
    const std::string picture = dir.File("window.png");
    struct Seen {
        std::size_t points = 0;
        std::size_t jitterPoints = 0;
        std::string status;
        std::string piTotal;
        std::string rating;
        int notSavedAfterScan = 0;
        int notSavedAfterSave = 0;
        std::size_t slot2Points = 0;
        bool compareEnabled = false;
        int compareRuns = 0;
        QSize pictureSize;
        QSize windowSize;
        bool startEnabledWhileRunning = true;
    } seen;

    {
        ScopedModalHook hook([&](CDialog& dialog) {
            if (auto* range = dynamic_cast<CSetLogicalBlockAddress*>(&dialog)) {
                range->Item<QLineEdit>(CSetLogicalBlockAddress::IDC_END_LBA)->setText("7530");  // 30000
                range->SendCommand(IDOK);
                return range->ModalResult();
            }
            if (dynamic_cast<CComparePIPO*>(&dialog) != nullptr) {
                ++seen.compareRuns;
                return 0;
            }
            auto* window = dynamic_cast<CPiPo*>(&dialog);
            if (window == nullptr)
                return 0;
            window->SendCommand(IDC_PIPO_SET_LBA);
            window->SendCommand(IDC_PIPO_START);
            seen.startEnabledWhileRunning = window->GetDlgItem(IDC_PIPO_START)->isEnabled();
            window->Control().JoinScanThread();
            PumpPostedMessages();
            seen.points = window->UpperGraph(1).GetPointCount();
            seen.jitterPoints = window->LowerGraph(1).GetJitterCount();
            seen.status = window->m_strStatus;  // the display shows again what it showed before
            seen.piTotal = window->GetDlgItemText(IDC_PIPO_PI_TOTAL);
            seen.rating = window->GetDlgItemText(IDC_PIPO_QUALITY_RATING);
            seen.notSavedAfterScan = window->Context().state.m_bNotSaved1;

            files.Answer(FileDialogAnswer{scanPath, 1});
            window->SendCommand(IDC_PIPO_SAVE);
            seen.notSavedAfterSave = window->Context().state.m_bNotSaved1;
            window->SendCommand(IDC_PIPO_GRAPH2);
            files.Answer(FileDialogAnswer{scanPath, 1});
            window->SendCommand(IDC_PIPO_LOAD);
            seen.slot2Points = window->UpperGraph(2).GetPointCount();
            seen.compareEnabled = window->GetDlgItem(IDC_PIPO_COMPARE)->isEnabled();
            window->SendCommand(IDC_PIPO_COMPARE);

            files.Answer(FileDialogAnswer{picture, 1});
            window->SendCommand(IDC_PIPO_SNAPSHOT);
            QImage image;
            if (image.load(QString::fromStdString(picture)))
                seen.pictureSize = image.size();
            seen.windowSize = window->size();
            window->OnClose();
            return window->ModalResult();
        });
        rig.dialog->SendCommand(IDC_PIPO);
    }
    for (const auto& asked : rig.prompt.asked)
        ADD_FAILURE() << asked.text;

    EXPECT_FALSE(seen.startEnabledWhileRunning);
    EXPECT_GE(seen.points, 5u) << "30000 blocks";
    EXPECT_GT(seen.jitterPoints, 0u) << "a jitter-capable Lite-On";
    EXPECT_EQ(seen.status.rfind("Test Complete", 0), 0u) << seen.status;
    EXPECT_NE(seen.piTotal, "---");
    EXPECT_EQ(seen.rating.rfind("Quality Rating", 0), 0u);
    EXPECT_EQ(seen.notSavedAfterScan, 1);
    EXPECT_EQ(seen.notSavedAfterSave, 0);
    EXPECT_EQ(seen.slot2Points, seen.points);
    EXPECT_TRUE(seen.compareEnabled);
    EXPECT_EQ(seen.compareRuns, 1);
    EXPECT_EQ(seen.pictureSize, seen.windowSize);
    EXPECT_EQ(rig.dialog->m_bPiPoActive, 0);
    EXPECT_FALSE(rig.drives[0]->RemovalPrevented()) << "given back at the end";
}

// Every scanning family from the main window's PI/PO button: the drive is
// classified, its engine scans the first 30000 blocks into slot 1, and the
// scan saved and loaded into slot 2 holds the same points. One scan has one
// rating: live, loaded, and after a switch of the graph slots.
TEST(ScanWindowFromMainWindow, EveryFamilyScansAndItsSavedScanLoadsBackEqual)
{
    for (const char* preset : {"generic-f3", "benq", "benq-dw1620", "btc", "liteon", "liteon-sohw812", "cyberdrive",
                               "pioneer", "aopen", "nec", "plextor", "samsung", "ihas"}) {
        SCOPED_TRACE(preset);
        MainWindowRig rig(MainWindowRig::Presets{{preset, "dvd+r"}});
        rig.Start();
        ScriptedFileDialogs files;
        TempDir dir;
        const std::string scanPath = dir.File("scan.qnzx");
        std::size_t points = 0;
        std::size_t reloadedPoints = 0;
        std::string status;
        bool samePoints = false;
        std::string liveRating;
        std::string loadedRating;
        std::string switchedRating;
        ScopedModalHook hook([&](CDialog& dialog) {
            if (auto* range = dynamic_cast<CSetLogicalBlockAddress*>(&dialog)) {
                range->Item<QLineEdit>(CSetLogicalBlockAddress::IDC_END_LBA)->setText("7530");
                range->SendCommand(IDOK);
                return range->ModalResult();
            }
            auto* window = dynamic_cast<CPiPo*>(&dialog);
            if (window == nullptr)
                return 0;
            window->SendCommand(IDC_PIPO_SET_LBA);
            window->SendCommand(IDC_PIPO_START);
            window->Control().JoinScanThread();
            PumpPostedMessages();
            points = window->UpperGraph(1).GetPointCount();
            status = window->m_strStatus;
            liveRating = window->GetDlgItemText(IDC_PIPO_QUALITY_RATING);
            files.Answer(FileDialogAnswer{scanPath, 1});
            window->SendCommand(IDC_PIPO_SAVE);
            window->SendCommand(IDC_PIPO_GRAPH2);
            files.Answer(FileDialogAnswer{scanPath, 1});
            window->SendCommand(IDC_PIPO_LOAD);
            reloadedPoints = window->UpperGraph(2).GetPointCount();
            samePoints = window->UpperGraph(1).StoreRecord() == window->UpperGraph(2).StoreRecord();
            loadedRating = window->GetDlgItemText(IDC_PIPO_QUALITY_RATING);
            window->SendCommand(IDC_PIPO_GRAPH1);
            switchedRating = window->GetDlgItemText(IDC_PIPO_QUALITY_RATING);
            window->OnClose();
            return window->ModalResult();
        });
        rig.dialog->SendCommand(IDC_PIPO);
        for (const auto& asked : rig.prompt.asked)
            ADD_FAILURE() << asked.text;
        EXPECT_GT(points, 0u);
        EXPECT_EQ(status.rfind("Test Complete", 0), 0u) << status;
        EXPECT_EQ(reloadedPoints, points);
        EXPECT_TRUE(samePoints);
        EXPECT_EQ(liveRating.rfind("Quality Rating ", 0), 0u) << liveRating;
        EXPECT_EQ(loadedRating, liveRating);
        EXPECT_EQ(switchedRating, liveRating);
        EXPECT_FALSE(rig.drives[0]->RemovalPrevented()) << "given back at the end";
    }
}
