#include "MainWindowRig.h"
#include "core/base/AppProfile.h"
#include "gui/info/booktype/BookTypeDialog.h"
#include "gui/tools/erase/EraseDlg.h"
#include "gui/tools/sectoredit/HddSectorReadWrite.h"
#include "gui/tools/usercommand/UserCommandPage.h"
#include "gui/ui/ShellOpen.h"
#include "support/gui/ManualSlideClock.h"
#include "support/gui/ScopedModalHook.h"

#include <QAbstractButton>

#include <filesystem>
#include <functional>

namespace {

// Presses the window's "Help" button as a click does.
void PressHelp(QWidget& window)
{
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (button->text().remove('&') == "Help") {
            button->click();
            return;
        }
    }
    ADD_FAILURE() << "no Help button in " << window.windowTitle().toStdString();
}

// The program as installed: <prefix>/bin, its pages in <prefix>/share/quenzario/help.
class InstalledProgram {
public:
    InstalledProgram()
    {
        std::filesystem::create_directories(m_prefix.File("bin"));
        std::filesystem::create_directories(HelpFolder());
        SetProgramFolderForTests(m_prefix.File("bin") + "/");
    }
    ~InstalledProgram() { SetProgramFolderForTests({}); }
    std::string HelpFolder() const { return m_prefix.File("share/quenzario/help") + "/"; }

private:
    TempDir m_prefix;
};

}  // namespace

TEST(HelpButtons, TheToolWindowsOpenTheirPagesOfAnInstalledProgram)
{
    struct Case {
        const char* name;
        MainWindowRig::Presets presets;
        std::function<void(MainWindowRig&)> open;
        std::function<bool(CDialog&)> isTheWindow;
    };
    const Case cases[] = {
        {"erase window",
         {{"dvd-writer", "dvd+rw"}},
         [](MainWindowRig& rig) { rig.dialog->SendCommand(IDC_ERASE); },
         [](CDialog& window) { return dynamic_cast<CEraseDlg*>(&window) != nullptr; }},
        {"book type dialog",
         {{"benq", "dvd+rw"}},
         [](MainWindowRig& rig) { rig.dialog->SendCommand(IDC_BOOKTYPE); },
         [](CDialog& window) { return dynamic_cast<CBookTypeDialog*>(&window) != nullptr; }},
        {"sector editor",
         {{"dvd-writer", "dvd+r"}},
         [](MainWindowRig& rig) { rig.ChooseTool(kToolsSectorEditor); },
         [](CDialog& window) { return dynamic_cast<CHddSectorReadWrite*>(&window) != nullptr; }},
        {"custom command panel",
         {{"dvd-writer", "dvd+r"}},
         [](MainWindowRig& rig) {
             WriteAppProfileInt("WarningDialog", 1);
             rig.ChooseTool(kToolsCustomCommand);
             CUserCommand* panel = rig.PageObject<UserCommandPage>().m_pUserCommandDlg.Get();
             ASSERT_NE(panel, nullptr);
             PressHelp(*panel);
         },
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const InstalledProgram installed;
        const ManualSlideClock slideClock;
        MainWindowRig rig(c.presets);
        rig.Start();
        std::vector<std::string> opened;
        SetShellOpenHook([&opened](const std::string& target) {
            opened.push_back(target);
            return true;
        });
        int windows = 0;
        {
            ScopedModalHook hook([&](CDialog& window) {
                if (c.isTheWindow && c.isTheWindow(window)) {
                    ++windows;
                    PressHelp(window);
                }
                return IDCANCEL;
            });
            c.open(rig);
            rig.Settle();
        }
        SetShellOpenHook(nullptr);
        EXPECT_EQ(windows, c.isTheWindow ? 1 : 0);
        ASSERT_EQ(opened.size(), 1u);
        const std::string& page = opened[0];
        ASSERT_EQ(page.rfind(installed.HelpFolder(), 0), 0u) << page;
        // The page asked for ships with the program.
        EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::path(QUENZA_SOURCE_DIR) / "resources/help"
                                                     / page.substr(installed.HelpFolder().size())))
            << page;
        for (const auto& asked : rig.prompt.asked)
            EXPECT_EQ(asked.text.find("The help page"), std::string::npos) << asked.text;
    }
}
