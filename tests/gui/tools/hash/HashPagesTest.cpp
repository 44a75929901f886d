#include "core/base/Format.h"
#include "gui/app/MainWindowRig.h"
#include "gui/tools/hash/GetMD5LBAs.h"
#include "gui/tools/hash/HashPages.h"
#include "gui/ui/TextProgressCtrl.h"
#include "gui/ui/UiTestHelpers.h"
#include "support/HashToolSupport.h"
#include "support/gui/ScriptedFileDialogs.h"

#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

struct HashPagesRig : MainWindowRig {
    HashPagesRig()
    {
        Start();
        folder = dir.File("folder");
        fs::create_directories(folder + "/sub");
        WriteFileText(folder + "/a", "first file");
        WriteFileText(folder + "/sub/b", std::string(70000, 'b'));
        WriteFileText(folder + "/c", "last file");
    }
    CHashPages& Pages() { return PageObject<CHashPages>(); }
    bool Enabled(int id) const { return dialog->GetDlgItem(id)->isEnabled(); }
    ReportText& Report() { return dialog->m_Core.m_Report; }

    TempDir dir;
    std::string folder;
    ScriptedFileDialogs files;
};

}  // namespace

TEST(HashPages, AFolderHashRunsOffTheWindowShowsItsProgressAndItsDigests)
{
    HashPagesRig rig;
    rig.ChooseTool(kToolsFileSha2);
    rig.files.AnswerFolder(rig.folder);
    rig.dialog->SendCommand(IDC_STOP);  // "Folder"

    // Running: "Folder" stops it, nothing else may start.
    EXPECT_EQ(rig.Text(IDC_STOP), "Stop");
    EXPECT_FALSE(rig.Enabled(IDC_START));
    EXPECT_FALSE(rig.Enabled(IDC_TOOLS));
    EXPECT_FALSE(rig.Enabled(IDC_DEVICES));
    rig.dialog->SendCommand(IDC_START);  // refused: no file chooser
    EXPECT_EQ(rig.files.requests.size(), 1u);
    EXPECT_EQ(rig.files.requests[0].title, "Please choose the start folder");

    rig.Pages().WaitForFileHash();
    rig.Settle();
    EXPECT_EQ(DigestsInReport(rig.Report()), ReferenceFolderDigests(rig.folder));
    EXPECT_EQ(rig.Report().GetStatusText(), "Ready");
    EXPECT_EQ(rig.Text(IDC_STOP), "Folder");
    EXPECT_TRUE(rig.Enabled(IDC_START));
    EXPECT_TRUE(rig.Enabled(IDC_TOOLS));
    EXPECT_EQ(rig.dialog->Item<CTextProgressCtrl>(IDC_PROGRESS2)->GetPos(), 100);
    EXPECT_EQ(rig.dialog->Item<CTextProgressCtrl>(IDC_PROGRESS)->GetWindowText(), "File 2 of 3 is 100% Complete");
    EXPECT_TRUE(rig.prompt.asked.empty());
}

TEST(HashPages, AFileThatCannotBeOpenedIsAskedAboutAndAStopLeavesNoDigests)
{
    HashPagesRig rig;
    // Listed first, and never readable: the hash waits at its question.
    fs::create_directory_symlink("..", rig.folder + "/sub/0-up");
    rig.ChooseTool(kToolsFileMd5);

    rig.prompt.Answer(IDNO);
    rig.files.AnswerFolder(rig.folder);
    rig.dialog->SendCommand(IDC_STOP);
    rig.Pages().WaitForFileHash();
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text,
              "Error opening a file, do you want to abort?\n\n" + rig.folder
                  + "/sub/0-up\nleads back to a folder that holds it");
    EXPECT_EQ(rig.prompt.asked[0].caption, "File open error");
    EXPECT_EQ(DigestsInReport(rig.Report())[0], ReferenceFolderDigests(rig.folder)[0]);

    // Stopped while it waits for the answer: the question goes unasked, no digest is shown.
    rig.files.AnswerFolder(rig.folder);
    rig.dialog->SendCommand(IDC_STOP);
    rig.dialog->SendCommand(IDC_STOP);  // "Stop"
    rig.Pages().WaitForFileHash();
    EXPECT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(LineOf(rig.Report(), "MD5 Hash Value"), -1);
    EXPECT_EQ(rig.Report().GetStatusText(), "Aborted scan at user request.");
    EXPECT_EQ(rig.Text(IDC_STOP), "Folder");

    // The window goes while a hash waits for its answer: the hash ends with it.
    rig.files.AnswerFolder(rig.folder);
    rig.dialog->SendCommand(IDC_STOP);
    rig.dialog.reset();
    EXPECT_EQ(rig.prompt.asked.size(), 1u);
}

TEST(HashPages, AFileHashShowsEveryDigestOfTheChosenFile)
{
    HashPagesRig rig;
    rig.ChooseTool(kToolsFileSha1);
    rig.files.Answer(FileDialogAnswer{rig.folder + "/sub/b"});
    rig.dialog->SendCommand(IDC_START);  // "File"
    rig.Pages().WaitForFileHash();
    const SixDigests tools = CoreutilsDigests(rig.folder + "/sub/b");
    const SixDigests shown = DigestsInReport(rig.Report());
    EXPECT_EQ(shown[0], tools[0]);
    EXPECT_EQ(shown[1], tools[1]);
    EXPECT_EQ(shown[2], "");  // no SHA-2 chosen
    EXPECT_EQ(rig.files.requests.back().title, "Please choose the file");
    EXPECT_FALSE(rig.Shown(IDC_PROGRESS));
    // The share of the file read, as the disc hash shows its blocks.
    EXPECT_TRUE(rig.Shown(IDC_PROGRESS2));
    EXPECT_EQ(rig.dialog->Item<CTextProgressCtrl>(IDC_PROGRESS2)->GetPos(), 100);

    // Cancelled: nothing runs.
    rig.dialog->SendCommand(IDC_START);
    EXPECT_FALSE(rig.Pages().FileHashRunning());
    EXPECT_EQ(rig.Report().GetLine(0), std::string(73, ' '));
}

TEST(HashPages, TheDiscHashRunsOverTheCustomRangeAndStops)
{
    HashPagesRig rig;
    rig.ChooseTool(kToolsDiscSha2);
    MainDialogCore& core = rig.dialog->m_Core;
    const std::int64_t lastBlock = core.m_nHashEndLba;
    ASSERT_GT(lastBlock, 1000);

    // A range beyond the disc is refused on OK as well; then 10 to 99.
    std::vector<int> results;
    ScopedModalHook hook([&](CDialog& shown) {
        auto& range = static_cast<CGetMD5LBAs&>(shown);
        range.SetDlgItemText(CGetMD5LBAs::IDC_ENDLBA, std::to_string(lastBlock + 1));
        range.SendCommand(IDOK);
        results.push_back(range.ModalResult());
        EXPECT_EQ(range.GetDlgItemText(CGetMD5LBAs::IDC_ENDLBA), std::to_string(lastBlock));
        range.SetDlgItemText(CGetMD5LBAs::IDC_STARTLBA, "10");
        range.SetDlgItemText(CGetMD5LBAs::IDC_ENDLBA, "99");
        range.SendCommand(IDOK);
        return range.ModalResult();
    });
    rig.dialog->SendCommand(IDC_SAVE);  // "Custom"
    EXPECT_EQ(results, std::vector<int>{-1});
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, "End LBA cannot be beyond end of the disc");
    EXPECT_EQ(core.m_nHashStartLba, 10);
    EXPECT_EQ(core.m_nHashEndLba, 99);

    rig.dialog->SendCommand(IDC_START);
    EXPECT_EQ(g_bMediaHashRunning, 1);
    EXPECT_FALSE(rig.Shown(IDC_SETTINGS));
    EXPECT_TRUE(rig.Enabled(IDC_STOP));
    rig.Settle();
    EXPECT_EQ(g_bMediaHashRunning, 0);
    EXPECT_TRUE(rig.Shown(IDC_SETTINGS));
    EXPECT_FALSE(rig.Enabled(IDC_STOP));
    EXPECT_TRUE(rig.Enabled(IDC_START));
    EXPECT_NE(LineOf(rig.Report(), "Computing from Logical Block Addresses A (10) to 63 (99)"), -1);
    EXPECT_EQ(DigestsInReport(rig.Report())[5].size(), 128u);
    EXPECT_EQ(rig.Report().GetStatusText(), "Ready");

    // Stopped at once over the whole disc: no digests.
    rig.ChooseTool(kToolsDiscMd5);
    rig.dialog->SendCommand(IDC_START);
    rig.dialog->SendCommand(IDC_STOP);
    rig.Settle();
    EXPECT_EQ(LineOf(rig.Report(), "MD5 Hash Value"), -1);
    EXPECT_EQ(rig.Report().GetStatusText(), "User aborted");
}

TEST(GetMD5LBAs, EachEditIsCheckedAsItLosesTheFocusAndCancelKeepsTheRange)
{
    struct Case {
        int edit;
        const char* typed;
        std::vector<std::string> messages;
        const char* restored;
    };
    const Case cases[] = {
        {CGetMD5LBAs::IDC_STARTLBA, "-1", {"Start LBA cannot be smaller than zero"}, "5"},
        {CGetMD5LBAs::IDC_STARTLBA, "1000", {"Start LBA cannot be greater or equal to End LBA"}, "5"},
        {CGetMD5LBAs::IDC_ENDLBA,
         "0",
         {"End LBA must be above zero", "End LBA cannot be smaller or equal to Start LBA"},
         "1000"},
        {CGetMD5LBAs::IDC_ENDLBA,
         "abc",
         {"End LBA must be above zero", "End LBA cannot be smaller or equal to Start LBA"},
         "1000"},
        {CGetMD5LBAs::IDC_ENDLBA, "1001", {"End LBA cannot be beyond end of the disc"}, "1000"},
        {CGetMD5LBAs::IDC_ENDLBA, "6", {}, "6"},
    };
    for (const Case& tested : cases) {
        SCOPED_TRACE(tested.typed);
        ScriptedPrompt prompt;
        ScopedModalHook hook([&](CDialog& shown) {
            shown.SetDlgItemText(tested.edit, tested.typed);
            shown.SendNotify(tested.edit, Notify::KillFocus);
            EXPECT_EQ(shown.GetDlgItemText(tested.edit), tested.restored);
            shown.SendCommand(IDCANCEL);
            return shown.ModalResult();
        });
        CGetMD5LBAs range;
        range.SetStartLBA(5);
        range.SetEndLBA(1000);
        EXPECT_EQ(range.DoModal(), 1);
        std::vector<std::string> messages;
        for (const auto& asked : prompt.asked)
            messages.push_back(asked.text);
        EXPECT_EQ(messages, tested.messages);
    }
}
