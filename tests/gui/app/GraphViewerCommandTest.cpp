#include "MainWindowRig.h"
#include "gui/graphs/GraphStatic.h"
#include "gui/graphs/IBGGraph.h"
#include "support/WriteGraphFixture.h"
#include "support/gui/ScopedModalHook.h"

#include <gtest/gtest.h>

namespace {

// What the viewer showed when the main window opened it.
struct ViewerSeen {
    int runs = 0;
    std::string file;
    std::size_t samples = 0;
    std::string mediaId;
};

}  // namespace

TEST(GraphViewerCommand, AGraphFileOnTheCommandLineOpensInTheViewerOnce)
{
    MainWindowRig rig;
    TempDir dir;
    const std::string path = dir.File("burn.IBG");
    WriteFileText(path, WriteGraphFixture::Dvd(50).Text());
    ViewerSeen seen;
    ScopedModalHook hook([&](CDialog& dialog) {
        auto* viewer = dynamic_cast<CIBGGraph*>(&dialog);
        if (viewer == nullptr)
            return 0;
        ++seen.runs;
        seen.file = viewer->m_strFileName;
        seen.samples = viewer->Graph().Snapshot().writeSamples.size();
        seen.mediaId = viewer->GetDlgItemText(IDC_IBG_MEDIAID);
        return 0;
    });
    rig.dialog->m_strCmdLine1 = path;
    rig.Start();
    EXPECT_EQ(seen.runs, 1);
    EXPECT_EQ(seen.file, path);
    EXPECT_EQ(seen.samples, 50u);
    EXPECT_EQ(seen.mediaId, "QZMEDIA-R01-00");
    EXPECT_TRUE(rig.dialog->m_strCmdLine1.empty()) << "used once";

    // The Graph button opens an empty viewer; it waits while a test runs.
    rig.dialog->SendCommand(IDC_GRAPHVIEWER);
    EXPECT_EQ(seen.runs, 2);
    EXPECT_TRUE(seen.file.empty());
    g_bSpeedTestRunning = 1;
    rig.dialog->SendCommand(IDC_GRAPHVIEWER);
    g_bSpeedTestRunning = 0;
    EXPECT_EQ(seen.runs, 2);
    ASSERT_FALSE(rig.prompt.asked.empty());
    EXPECT_EQ(rig.prompt.asked.back().text, "You must stop the test first");
}
