#include "core/base/AppProfile.h"
#include "core/base/Format.h"
#include "core/base/HexDump.h"
#include "gui/app/MainWindowRig.h"
#include "gui/tools/sectorview/GetLBA.h"
#include "gui/tools/sectorview/SectorViewPage.h"
#include "gui/tools/usercommand/UserCommand.h"
#include "gui/tools/usercommand/UserCommandPage.h"
#include "gui/ui/MyEdit.h"
#include "gui/ui/WarningDlg.h"
#include "support/gui/ManualSlideClock.h"
#include "support/gui/ScopedModalHook.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

// The main window with the custom command panel opened from its tools list;
// the warning is answered with `warningAnswer`, the slides run on the test's clock.
struct PanelEntryRig : MainWindowRig {
    PanelEntryRig()
    {
        Start();
        modalHook.Set([this](CDialog& window) {
            warnings += window.TemplateId() == CWarningDlg::IDD ? 1 : 0;
            return warningAnswer;
        });
    }
    ~PanelEntryRig() { PumpPostedMessages(); }

    ModelessWindow<CUserCommand>& Window() { return PageObject<UserCommandPage>().m_pUserCommandDlg; }
    CUserCommand& Panel() { return *Window().Get(); }
    // The tools entry chosen and the panel slid out.
    void Open()
    {
        ChooseTool(kToolsCustomCommand);
        slideClock.RunAll();
        Pump();
    }
    // The panel's and the window's messages, the drive work they gave, its completions.
    void Pump()
    {
        PumpPostedMessages();
        Settle();
        PumpPostedMessages();
    }
    std::string Output() const { return dialog->Item<QPlainTextEdit>(IDC_OUTPUT)->toPlainText().toStdString(); }

    ManualSlideClock slideClock;
    int warningAnswer = 0;
    int warnings = 0;
    ScopedModalHook modalHook;
};

}  // namespace

TEST(UserCommandEntry, TheToolsEntryOpensThePanelOnlyOnceTheWarningIsAccepted)
{
    PanelEntryRig rig;
    rig.warningAnswer = 1;  // "I Dont Accept"
    rig.ChooseTool(kToolsCustomCommand);
    EXPECT_EQ(rig.warnings, 1);
    EXPECT_FALSE(rig.Window());
    EXPECT_EQ(rig.dialog->m_nCurrentPage, kPageDriveInfo);

    rig.warningAnswer = 0;
    rig.Open();
    ASSERT_TRUE(rig.Window());
    EXPECT_EQ(rig.warnings, 2);
    EXPECT_TRUE(rig.Panel().isVisible());
    EXPECT_FALSE(rig.Panel().IsHidden());
    EXPECT_EQ(rig.dialog->m_nCurrentPage, kPageInfoDisplay);
    EXPECT_TRUE(rig.Shown(IDC_OUTPUT));
    for (const auto& asked : rig.prompt.asked)
        EXPECT_EQ(asked.text.find("not available"), std::string::npos) << asked.text;

    // Docked beside the window, it follows the window's moves.
    const QRect frame = rig.dialog->frameGeometry();
    EXPECT_EQ(rig.Panel().x(), frame.right() + 1);
    rig.dialog->move(rig.dialog->pos() + QPoint(10, 20));
    EXPECT_EQ(rig.Panel().x(), rig.dialog->frameGeometry().right() + 1);

    // The window's start and exit close it.
    QPointer<CUserCommand> panel = rig.Window().Get();
    rig.PageObject<UserCommandPage>().CloseWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(panel.isNull());
    EXPECT_FALSE(rig.Window());
}

TEST(UserCommandEntry, InquiryExampleFromTheToolsListToTheDumpAndBackToThePanel)
{
    PanelEntryRig rig;
    // The panel sends the transfer the user set, whatever its CDB asks.
    rig.drives[0]->SetTransferLengthCheck(false);
    WriteAppProfileInt("WarningDialog", 1);
    rig.Open();
    EXPECT_EQ(rig.warnings, 0);
    CUserCommand& panel = rig.Panel();
    panel.SendCommand(CUserCommand::IDC_EXAMPLE);
    rig.drives[0]->ClearJournal();
    rig.prompt.Answer(IDYES);  // "Are you sure you want to send this command?"
    panel.SendCommand(CUserCommand::IDC_SEND);
    rig.Pump();
    const auto journal = rig.drives[0]->Journal();
    ASSERT_EQ(journal.size(), 1u);
    EXPECT_EQ(journal[0].Bytes(), (std::vector<std::uint8_t>{0x12, 0, 0, 0, 0x78, 0}));
    EXPECT_EQ(journal[0].dataLength, 2048u);
    EXPECT_EQ(rig.dialog->m_Core.m_Report.GetStatusText(), "Ready - 96 of 2048 bytes moved");
    // The main window's output shows the answer as a dump.
    const std::string output = rig.Output();
    EXPECT_EQ(output.rfind(kHexDumpHeader, 0), 0u) << output.substr(0, 160);

    // A double click on byte 8 of the dump picks it for the panel.
    auto& edit = *rig.dialog->Item<QPlainTextEdit>(IDC_OUTPUT);
    const int position = edit.document()->findBlockByNumber(2).position() + 9 + 3 * 8 + 1;
    rig.dialog->PostMessage(WM_OUTPUTEDITNOTIFY, CMyEdit::SelectionParam(position, position));
    rig.Pump();
    EXPECT_EQ(panel.GetDlgItemText(CUserCommand::IDC_VALUE),
              Format("%02X", rig.dialog->m_Core.m_Drives.m_DataBuffer[8]));
    EXPECT_EQ(panel.GetDlgItemText(CUserCommand::IDC_OFFSET), "8");
}

TEST(UserCommandEntry, TheSendIsRefusedWhileASpeedTestHoldsTheDrive)
{
    PanelEntryRig rig;
    WriteAppProfileInt("WarningDialog", 1);
    rig.Open();
    CUserCommand& panel = rig.Panel();
    panel.SendCommand(CUserCommand::IDC_EXAMPLE);
    std::optional<ChannelClaim> speed = rig.dialog->m_Core.m_Drives.coordinator.TryClaim(ChannelUse::SpeedTest);
    ASSERT_TRUE(speed);
    ASSERT_TRUE(speed->Begin());
    rig.drives[0]->ClearJournal();
    rig.prompt.Answer(IDYES);
    panel.SendCommand(CUserCommand::IDC_SEND);
    rig.Pump();
    EXPECT_TRUE(rig.drives[0]->Journal().empty());
    EXPECT_EQ(rig.prompt.asked.back().text, "You must stop the test first");
    EXPECT_EQ(rig.prompt.asked.back().caption, "Error Test Running!");
    speed.reset();
}

TEST(UserCommandEntry, ThePanelAndTheSectorViewerTakeTurnsBesideTheWindow)
{
    PanelEntryRig rig;
    WriteAppProfileInt("WarningDialog", 1);
    rig.ChooseTool(kToolsSectorViewer);
    rig.slideClock.RunAll();
    QPointer<CGetLBA> viewer = rig.PageObject<SectorViewPage>().m_pGetLbaDlg.Get();
    ASSERT_FALSE(viewer.isNull());
    EXPECT_FALSE(viewer->IsHidden());

    rig.Open();
    EXPECT_TRUE(viewer->IsHidden());
    EXPECT_FALSE(viewer->isVisible());
    EXPECT_FALSE(rig.Panel().IsHidden());

    rig.ChooseTool(kToolsSectorViewer);
    rig.slideClock.RunAll();
    EXPECT_FALSE(viewer->IsHidden());
    EXPECT_TRUE(rig.Panel().IsHidden());
    EXPECT_FALSE(rig.Panel().isVisible());
}
