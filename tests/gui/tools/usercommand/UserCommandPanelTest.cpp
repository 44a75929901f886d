#include "core/base/AppProfile.h"
#include "core/base/HexDump.h"
#include "gui/tools/usercommand/UserCommand.h"
#include "gui/ui/Beep.h"
#include "gui/ui/EditEx.h"
#include "gui/ui/ShellOpen.h"
#include "gui/ui/WarningDlg.h"
#include "support/TestSupport.h"
#include "support/UserCommandRig.h"
#include "support/gui/ManualSlideClock.h"
#include "support/gui/ScopedModalHook.h"
#include "support/gui/ScriptedFileDialogs.h"

#include <QApplication>
#include <QFocusEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

void TypeKey(QWidget& widget, int key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&widget, &press);
}

// The panel opened beside a stand-in main window, as the tools list opens it.
struct PanelRig : UserCommandRig {
    PanelRig() : UserCommandRig("dvd-writer", "dvd+r")
    {
        SetBeepHook([this](unsigned) { ++beeps; });
        modalHook.Set([this](CDialog& dialog) {
            warnings += dialog.TemplateId() == CWarningDlg::IDD ? 1 : 0;
            return warningAnswer;
        });
    }
    ~PanelRig() override
    {
        SetBeepHook(nullptr);
        panel.Close();
        PumpPostedMessages();
    }
    bool Open() { return OpenUserCommand(panel, *this, &mainWindow); }
    // Opened without the warning, slid out, its first dump shown.
    bool OpenOut()
    {
        WriteAppProfileInt("WarningDialog", 1);
        if (!Open())
            return false;
        Slide();
        Settle();
        return true;
    }
    CUserCommand& Panel() { return *panel.Get(); }
    // Runs the slide to its end on the test's own clock.
    int Slide() { return slideClock.RunAll(); }
    // The panel's messages, then the drive work they gave, then its completions' effects.
    void Settle()
    {
        PumpPostedMessages();
        Wait();
        PumpPostedMessages();
    }
    std::string Text(int id) { return Panel().GetDlgItemText(id); }

    ManualSlideClock slideClock;
    ScriptedPrompt prompt;
    QWidget mainWindow;
    ModelessWindow<CUserCommand> panel;
    int warningAnswer = 0;
    int warnings = 0;
    int beeps = 0;
    ScopedModalHook modalHook;
};

TEST(CUserCommand, OpensAfterTheWarningAndSlidesOutAndBack)
{
    PanelRig rig;
    rig.warningAnswer = 1;  // "I Dont Accept"
    EXPECT_FALSE(rig.Open());
    EXPECT_FALSE(rig.panel);
    EXPECT_EQ(rig.warnings, 1);

    rig.warningAnswer = 0;
    ASSERT_TRUE(rig.Open());
    ASSERT_TRUE(rig.panel);
    EXPECT_EQ(rig.core.m_Report.m_bHexView, 1);
    EXPECT_FALSE(rig.Panel().IsHidden());
    // Moves of a 25th of its 399 pixels, a step further each tick: 26 of
    // them 50 ms and then 25 ms apart, and the docking.
    EXPECT_EQ(rig.slideClock.Advance(50), 1);
    EXPECT_EQ(rig.Panel().geometry(), QRect(850 - 399 + 15, 297, 399, 314));
    EXPECT_EQ(rig.Slide(), 26);
    EXPECT_EQ(rig.slideClock.NowMs(), 50u + 26u * 25u);
    EXPECT_TRUE(rig.Panel().isVisible());
    // Docked at the main window's right edge, 247 pixels below its top.
    EXPECT_EQ(rig.Panel().geometry(), QRect(850, 297, 399, 316));
    rig.Settle();
    EXPECT_EQ(rig.core.m_Report.GetHexLines().size(), 128u);  // the 2048 bytes shown

    // Opened again while out: a beep. Not asked again once "WarningDialog" is 1.
    WriteAppProfileInt("WarningDialog", 1);
    EXPECT_TRUE(rig.Open());
    EXPECT_EQ(rig.beeps, 1);
    EXPECT_EQ(rig.warnings, 2);

    // The main window moves: the docked panel follows.
    rig.frame = rig.frame.Offset(10, 20);
    rig.Panel().Dock();
    EXPECT_EQ(rig.Panel().geometry(), QRect(860, 317, 399, 316));

    // Close slides it back and hides it; Enter does nothing.
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(&rig.Panel(), &enter);
    EXPECT_TRUE(rig.Panel().isVisible());
    rig.Panel().SendCommand(IDCANCEL);
    EXPECT_TRUE(rig.Panel().IsHidden());
    rig.Slide();
    EXPECT_FALSE(rig.Panel().isVisible());
    ASSERT_TRUE(rig.panel);  // kept for the next opening
    EXPECT_TRUE(rig.Open());
    EXPECT_FALSE(rig.Panel().IsHidden());
}

TEST(CUserCommand, InquiryExampleFromThePanelToTheDump)
{
    PanelRig rig;
    ASSERT_TRUE(rig.OpenOut());
    CUserCommand& panel = rig.Panel();

    panel.SendCommand(CUserCommand::IDC_EXAMPLE);
    ASSERT_FALSE(rig.prompt.asked.empty());
    EXPECT_EQ(rig.prompt.asked.back().text, UserCommandPanel::kExampleNotice);
    EXPECT_EQ(rig.Text(CUserCommand::IDC_CDB0), "12");
    EXPECT_EQ(rig.Text(CUserCommand::IDC_CDB0 + 4), "78");
    EXPECT_EQ(rig.Text(CUserCommand::IDC_CDBSIZE), "6");
    EXPECT_TRUE(panel.GetDlgItem(CUserCommand::IDC_CDB0 + 5)->isEnabled());
    EXPECT_FALSE(panel.GetDlgItem(CUserCommand::IDC_CDB0 + 6)->isEnabled());
    EXPECT_EQ(panel.IsDlgButtonChecked(CUserCommand::IDC_READ), 1);
    EXPECT_EQ(panel.IsDlgButtonChecked(CUserCommand::IDC_WRITE), 0);

    rig.drive->ClearJournal();
    rig.prompt.Answer(IDYES);  // "Are you sure you want to send this command?"
    panel.SendCommand(CUserCommand::IDC_SEND);
    rig.Settle();
    EXPECT_EQ(rig.prompt.asked.back().text, "Are you sure you want to send this command?");
    EXPECT_EQ(rig.Cdbs(), (std::vector<std::vector<std::uint8_t>>{{0x12, 0, 0, 0, 0x78, 0}}));
    EXPECT_EQ(rig.core.m_Report.GetStatusText(), "Ready - 96 of 2048 bytes moved");
    const std::string display = rig.core.m_Report.GetDisplayText();
    EXPECT_EQ(display.rfind(kHexDumpHeader, 0), 0u);
    EXPECT_NE(display.find("QNZEMU"), std::string::npos);  // the vendor at byte 8

    // A double click on byte 8 of the dump picks it for Get and Set.
    QPlainTextEdit output;
    output.setPlainText(QString::fromStdString(display));
    const int blockOfLine0 = output.document()->findBlockByNumber(2).position();
    const int position = DumpTextPosition(output, blockOfLine0 + 9 + 3 * 8 + 1);
    EXPECT_EQ(position, 150 + 9 + 3 * 8 + 1);
    panel.OnOutputEditNotify(position);
    rig.Settle();
    EXPECT_EQ(rig.Text(CUserCommand::IDC_VALUE), "51");  // 'Q'
    EXPECT_EQ(rig.Text(CUserCommand::IDC_OFFSET), "8");
}

TEST(CUserCommand, ControlsFollowTheFields)
{
    PanelRig rig;
    ASSERT_TRUE(rig.OpenOut());
    CUserCommand& panel = rig.Panel();

    // READ and WRITE swap.
    panel.SendCommand(CUserCommand::IDC_WRITE);
    EXPECT_EQ(panel.IsDlgButtonChecked(CUserCommand::IDC_READ), 0);
    EXPECT_EQ(panel.IsDlgButtonChecked(CUserCommand::IDC_WRITE), 1);
    panel.SendCommand(CUserCommand::IDC_WRITE);
    EXPECT_EQ(panel.IsDlgButtonChecked(CUserCommand::IDC_READ), 1);

    // A CDB size of 13 beeps and becomes 1; typing marks the data entered.
    EXPECT_EQ(panel.Panel().m_bDataEntered, 0);
    panel.Item<CCEditEx>(CUserCommand::IDC_CDBSIZE)->setText("13");
    EXPECT_EQ(rig.beeps, 1);
    EXPECT_EQ(rig.Text(CUserCommand::IDC_CDBSIZE), "1");
    EXPECT_FALSE(panel.GetDlgItem(CUserCommand::IDC_CDB0 + 1)->isEnabled());
    EXPECT_EQ(panel.Panel().m_bDataEntered, 1);

    // Offset and value upper-case as typed.
    auto* value = panel.Item<CCEditEx>(CUserCommand::IDC_VALUE);
    value->setText("ab");
    EXPECT_EQ(value->text(), "AB");
    EXPECT_EQ(value->cursorPosition(), 2);

    // The example list: a heading says so; a row fills in its mended size.
    auto* examples = panel.Item<QComboBox>(CUserCommand::IDC_EXAMPLES);
    examples->setCurrentIndex(1);
    panel.SendNotify(CUserCommand::IDC_EXAMPLES, Notify::SelChange);
    EXPECT_EQ(rig.prompt.asked.back().text, UserCommandPanel::kHeadingChosen);
    examples->setCurrentIndex(examples->findText("Media"));
    panel.SendNotify(CUserCommand::IDC_EXAMPLES, Notify::SelChange);
    EXPECT_EQ(rig.Text(CUserCommand::IDC_BUFFERSIZE), "128");
    EXPECT_EQ(rig.Text(CUserCommand::IDC_CDB0), "4A");
    EXPECT_EQ(rig.Text(CUserCommand::IDC_CDBSIZE), "10");

    // A size that is no multiple of 16 is refused before anything is posted.
    panel.Item<CCEditEx>(CUserCommand::IDC_BUFFERSIZE)->setText("20");
    rig.drive->ClearJournal();
    rig.prompt.Answer(IDYES);
    panel.SendCommand(CUserCommand::IDC_SEND);
    rig.Settle();
    EXPECT_EQ(rig.prompt.asked.back().text, "Error, Buffer size must be a multiple of 16");
    EXPECT_TRUE(rig.drive->Journal().empty());

    // Set and Get through the main window's side.
    panel.Item<CCEditEx>(CUserCommand::IDC_BUFFERSIZE)->setText("64");
    panel.Item<CCEditEx>(CUserCommand::IDC_OFFSET)->setText("2a");
    value->setText("5C");
    panel.SendCommand(CUserCommand::IDC_SET);
    rig.Settle();
    EXPECT_EQ(rig.Buffer()[0x2A], 0x5C);
    value->setText("00");
    panel.SendCommand(CUserCommand::IDC_GET);
    rig.Settle();
    EXPECT_EQ(value->text(), "5C");

    // Help opens its page, which ships with the program.
    std::string opened;
    SetShellOpenHook([&](const std::string& target) {
        opened = target;
        return true;
    });
    panel.SendCommand(CUserCommand::IDC_HELPBUTTON);
    SetShellOpenHook(nullptr);
    EXPECT_EQ(opened, ProgramFolder() + "help/" + CUserCommand::kHelpTopic);
    EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::path(QUENZA_SOURCE_DIR) / "resources" / "help"
                                                 / CUserCommand::kHelpTopic));

    // The prompt box writes its profile value.
    panel.CheckDlgButton(CUserCommand::IDC_PROMPT, 0);
    panel.SendCommand(CUserCommand::IDC_PROMPT);
    EXPECT_EQ(GetAppProfileInt(UserCommandPanel::kPromptEntry, 1), 0);
}

TEST(CUserCommand, PreloadOffersBinFiles)
{
    PanelRig rig;
    ASSERT_TRUE(rig.OpenOut());
    TempDir dir;
    WriteFileText(dir.File("data.bin"), std::string(4096, '\x5A'));
    ScriptedFileDialogs dialogs;
    dialogs.Answer(FileDialogAnswer{dir.File("data.bin"), 1});
    rig.Panel().SendCommand(CUserCommand::IDC_PRELOAD);
    rig.Settle();
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].title, "Select a bin file to pre-load in buffer");
    EXPECT_NE(dialogs.requests[0].filter.find("*.bin"), std::string::npos);
    EXPECT_EQ(dialogs.requests[0].defaultExtension, "bin");
    EXPECT_EQ(rig.Buffer()[4095], 0x5A);

    // Cancelled: the buffer is cleared.
    rig.Panel().SendCommand(CUserCommand::IDC_PRELOAD);
    rig.Settle();
    EXPECT_EQ(rig.Buffer()[0], 0);
    EXPECT_EQ(rig.Buffer()[2047], 0);
    EXPECT_EQ(rig.Buffer()[2048], 0x5A);
}

TEST(CUserCommand, BackspaceEditsTheFieldsAndARangeErrorIsShownOnce)
{
    PanelRig rig;
    ASSERT_TRUE(rig.OpenOut());
    CUserCommand& panel = rig.Panel();
    EXPECT_EQ(rig.Text(CUserCommand::IDC_TIMEOUT), "Timeout 20 s");

    // Typed over with Backspace, as in any field.
    auto* size = panel.Item<CCEditEx>(CUserCommand::IDC_BUFFERSIZE);
    size->setCursorPosition(4);
    for (int i = 0; i < 4; ++i)
        TypeKey(*size, Qt::Key_Backspace, "\b");
    EXPECT_EQ(size->text(), "");
    for (const char* digit : {"4", "1", "1", "2"})
        TypeKey(*size, digit[0], digit);
    EXPECT_EQ(size->text(), "4112");
    EXPECT_EQ(panel.Panel().m_strBufferSize, "4112");

    // Leaving a CDB byte: one box, even though the box takes the focus
    // from the field again, and the size that passed comes back.
    auto* cdb = panel.Item<CCEditEx>(CUserCommand::IDC_CDB0);
    int focusLosses = 0;
    rig.prompt.onAsk = [&](const ScriptedPrompt::Asked&) {
        if (focusLosses++ > 0)
            return;
        QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(cdb, &out);
    };
    rig.prompt.asked.clear();
    QFocusEvent left(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(cdb, &left);
    rig.prompt.onAsk = nullptr;
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, "Error, Value must be between 0 - 4096");
    EXPECT_EQ(size->text(), "2048");

    // A CDB under 6 bytes: the panel says the kernel will not take it.
    auto* cdbSize = panel.Item<CCEditEx>(CUserCommand::IDC_CDBSIZE);
    cdbSize->setText("5");
    EXPECT_EQ(rig.Text(CUserCommand::IDC_CDBSIZENOTE), "The kernel refuses CDBs under 6 bytes");
    cdbSize->setText("6");
    EXPECT_EQ(rig.Text(CUserCommand::IDC_CDBSIZENOTE), "");
}

}  // namespace
