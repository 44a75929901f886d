#include "core/base/AppProfile.h"
#include "gui/app/QuenzaDlg.h"
#include "support/TestSupport.h"
#include "support/XdgTree.h"
#include "support/gui/ScopedModalHook.h"

#include <gtest/gtest.h>

namespace {

// No machine drives: an empty /sys/block and /dev.
DriveSources EmptyMachine(const TempDir& dir, const std::string& emulate)
{
    ScopedEnv variable(kEmulateVariable, emulate.empty() ? nullptr : emulate.c_str());
    DriveSources sources = DriveSources::FromEnvironment();
    sources.sysBlockRoot = dir.Path();
    sources.devRoot = dir.Path();
    sources.watchIntervalMs = 0;
    return sources;
}

int RunAndExit(CQuenzaDlg& dialog)
{
    ScopedModalHook hook([](CDialog& dlg) {
        auto& main = dynamic_cast<CQuenzaDlg&>(dlg);
        main.WaitForDriveWork();
        if (main.ModalResult() == -1)
            main.OnExitProgram();
        return main.ModalResult();
    });
    return dialog.DoModal();
}

}  // namespace

TEST(QuenzaDlgDrives, StartsOnTheEmulatedDrivesAndSavesTheSelectionAtExit)
{
    TempDir machine;
    ScopedProfile profile;
    XdgTree desktop(false);  // the start-up's association check looks here
    WriteAppProfileInt("SelectedDevice", 1);
    ScopedProgramLog log;
    CQuenzaDlg dialog(EmptyMachine(machine, "default"));
    EXPECT_EQ(RunAndExit(dialog), 0);
    EXPECT_TRUE(dialog.m_Core.m_Drives.list.m_DeviceList.empty());  // released at exit
    EXPECT_EQ(GetAppProfileInt("SelectedDevice", -9), 1);

    const std::string text = log.Text();
    std::size_t at = 0;
    for (const char* line :
         {" Start main window class\n", " FillDeviceComboList() - Probing emu0\n", " associate -  handle created\n",
          " FillDeviceComboList() - Probing emu1\n", " FillDeviceComboList() - Probing emu2\n",
          " Device selected = emu1 QNZEMU  BD-RE QBR-1240\n", " Saving current device\n",
          " Destroying device list array\n", " Calling EndDialog()\n"}) {
        at = text.find(line, at);
        EXPECT_NE(at, std::string::npos) << line;
    }
}

TEST(QuenzaDlgDrives, WithoutAnyDriveTheUserIsToldAndTheWindowEnds)
{
    TempDir machine;
    ScopedProfile profile;
    XdgTree desktop(false);  // the start-up's association check looks here
    ScriptedPrompt prompt;
    CQuenzaDlg dialog(EmptyMachine(machine, ""));
    EXPECT_EQ(RunAndExit(dialog), kNoUsableDriveExitStatus);
    ASSERT_EQ(prompt.asked.size(), 2u);
    EXPECT_EQ(
        prompt.asked[0].text.rfind("No optical devices were found. Quenzario cannot run without one drive at least", 0),
        0u);
    EXPECT_NE(prompt.asked[0].text.find("No optical drive node"), std::string::npos);
    EXPECT_EQ(prompt.asked[1].text, kNoUsableDriveMessage);
    EXPECT_NE(prompt.asked[1].text.find("QUENZARIO_EMULATE"), std::string::npos);
    EXPECT_EQ(prompt.asked[1].text.find("administrator"), std::string::npos);
}
