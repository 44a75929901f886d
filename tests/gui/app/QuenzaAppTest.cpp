#include "core/base/AppProfile.h"
#include "core/base/LogFile.h"
#include "gui/app/QuenzaApp.h"
#include "gui/app/QuenzaDlg.h"
#include "platform/passthrough/EmulatedDrives.h"
#include "support/TestSupport.h"
#include "support/XdgTree.h"
#include "support/gui/ScopedModalHook.h"

#include <gtest/gtest.h>

TEST(QuenzaApp, RunsTheMainDialogWithTheArgumentsAndLogs)
{
    ScopedProfile profile;
    XdgTree desktop(false);  // the start-up's association check looks here
    TempDir tmp;
    ScopedEnv tmpdir("TMPDIR", tmp.Path().c_str());
    ScopedEnv drives(kEmulateVariable, "default");  // drive work runs whatever the machine has
    std::string first;
    std::string second;
    int ended = -1;
    ScopedModalHook hook([&](CDialog& dlg) {
        // The scan window the start-up step opens for the ".QNZX" argument
        // (when its timer fires during the wait) closes at once.
        if (dynamic_cast<CQuenzaDlg*>(&dlg) == nullptr)
            return 0;
        auto& main = dynamic_cast<CQuenzaDlg&>(dlg);
        first = main.m_strCmdLine1;
        second = main.m_strCmdLine2;
        main.WaitForDriveWork();  // else the exit waits for it, and for an event loop that never runs
        main.OnExitProgram();
        ended = main.ModalResult();
        return ended;
    });
    const char* argv[] = {"quenzario", "disc.QNZX", "second", "third"};
    CQuenzaApp app;
    EXPECT_EQ(app.InitInstance(4, argv), 0);
    StopProgramLog();
    EXPECT_EQ(ended, 0);
    EXPECT_EQ(first, "disc.QNZX");
    EXPECT_EQ(second, "second");
    EXPECT_EQ(app.MainDialog(), nullptr);
    const std::string log = ReadFileText(tmp.File("Quenzario.log"));
    EXPECT_EQ(log.rfind("Log Started ", 0), 0u);
    EXPECT_NE(log.find(" Start main window class\n"), std::string::npos);
    EXPECT_NE(log.find(" Calling EndDialog()\n"), std::string::npos);
}
