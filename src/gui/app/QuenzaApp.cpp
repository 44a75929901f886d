#include "gui/app/QuenzaApp.h"

#include "core/base/AppProfile.h"
#include "core/base/LogFile.h"
#include "core/app/Startup.h"
#include "core/base/UserPrompt.h"
#include "core/drive/DriveList.h"
#include "gui/app/QuenzaDlg.h"
#include "platform/sysinfo/SystemFacts.h"

int CQuenzaApp::InitInstance(int argc, const char* const* argv)
{
    const StartupRefusal refusal = CheckStartupGates(GetOSVersionCode(), IsCurrentUserAdmin());
    if (refusal != StartupRefusal::None) {
        AppMessageBox(StartupRefusalText(refusal), StartupRefusalCaption(refusal), MB_OK | MB_ICONERROR);
        return 1;
    }
    const CommandLineArgs args = TakeCommandLine(argc, argv);
    SetProfileRegistryKey("TQL");
    StartLoggingIfWanted(TemporaryFolder());

    std::unique_ptr<CQuenzaDlg> dialog = std::make_unique<CQuenzaDlg>();
    m_pMainDlg = dialog.get();
    if (!args.first.empty())
        dialog->m_strCmdLine1 = args.first;
    if (!args.second.empty())
        dialog->m_strCmdLine2 = args.second;
    // The window ends with 0, or with the exit status of a start-up without a usable drive.
    const int status = dialog->DoModal() == kNoUsableDriveExitStatus ? kNoUsableDriveExitStatus : 0;
    dialog.reset();
    m_pMainDlg = nullptr;
    return status;
}
