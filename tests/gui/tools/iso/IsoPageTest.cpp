#include "core/app/TestPageControls.h"
#include "gui/app/MainWindowRig.h"
#include "gui/graphs/GraphStatic.h"
#include "gui/tools/testpage/TestResultsList.h"
#include "support/gui/ScriptedFileDialogs.h"

#include <QAbstractButton>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>

namespace fs = std::filesystem;
using namespace testpage;

namespace {

int RunShell(const std::string& command)
{
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class FixedMountRoots : public MountRoots {
public:
    explicit FixedMountRoots(std::string root) : m_root(std::move(root)) {}
    std::optional<std::string> MountRootOf(const std::string& driveText) const override
    {
        return driveText == "emu0" ? std::optional(m_root) : std::nullopt;
    }

private:
    std::string m_root;
};

// The main window on an emulated DVD writer whose disc is an ISO image made
// by xorriso from a small tree with a VIDEO_TS folder.
class IsoPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directories(m_files.File("tree/VIDEO_TS"));
        fs::create_directories(m_files.File("tree/docs"));
        WriteFileText(m_files.File("tree/VIDEO_TS/VIDEO_TS.IFO"), std::string(12288, 'i'));
        WriteFileText(m_files.File("tree/VIDEO_TS/VTS_01_1.VOB"), std::string(300000, 'v'));
        WriteFileText(m_files.File("tree/docs/readme.txt"), "read me\n");
        ASSERT_EQ(
            RunShell("xorriso -as mkisofs -quiet -o '" + Source() + "' '" + m_files.File("tree") + "' >/dev/null 2>&1"),
            0);
        emu::MediumDescription disc = *emu::FindMediumPreset("dvd+r");
        disc.imagePath = Source();
        ASSERT_TRUE(rig.drives[0]->InsertMedium(disc));
        rig.Start();
        rig.dialog->SendCommand(IDC_COMPARE);
        rig.Settle();
    }
    std::string Source() const { return m_files.File("source.iso"); }
    CQuenzaDlg& Dialog() { return *rig.dialog; }
    std::vector<std::string> Asked() const
    {
        std::vector<std::string> texts;
        for (const auto& asked : rig.prompt.asked)
            texts.push_back(asked.text);
        return texts;
    }
    std::vector<std::string> ListLines()
    {
        std::vector<std::string> lines;
        auto* list = Dialog().Item<TestResultsList>(kResults);
        for (int i = 0; i < list->count(); ++i)
            lines.push_back(list->Line(i));
        return lines;
    }
    void CompareWith(int radio, std::vector<std::optional<FileDialogAnswer>> answers)
    {
        Dialog().Item<QAbstractButton>(radio)->click();
        for (auto& answer : answers)
            dialogs.Answer(answer);
        Dialog().SendCommand(IDC_START);
        Dialog().WaitForToolWork();
    }

    TempDir m_files;
    MainWindowRig rig{{{"dvd-writer", "none"}}};
    ScriptedFileDialogs dialogs;
};

FileDialogAnswer Path(const std::string& path)
{
    return {path, 1};
}

}  // namespace

TEST_F(IsoPageTest, TheIsoButtonShowsThePage)
{
    EXPECT_EQ(Dialog().m_nCurrentPage, kPageCompare);
    EXPECT_EQ(rig.Text(IDC_START), "Compare");
    EXPECT_EQ(rig.Text(IDC_SAVE), "Create");
    EXPECT_EQ(rig.Text(kGroupBox), "CD / DVD ISO Compare / Create");
    EXPECT_EQ(rig.Text(kLabelReadErrors), "Sector");
    EXPECT_EQ(rig.Text(kFieldMediaType), "DVD+R");
    for (int id : {kFieldLength, kFieldRead, kResults, kIsoRadio, int{IDC_PROGRESS2}, int{IDC_MEDIATYPE}})
        EXPECT_TRUE(rig.Shown(id)) << id;
    EXPECT_FALSE(rig.Shown(IDC_OUTPUT));
    EXPECT_FALSE(rig.Shown(IDC_MODEL));
    // Another page takes the ISO page's controls away and gives the drive's fields back.
    Dialog().SendCommand(IDC_DRIVEINFO);
    rig.Settle();
    EXPECT_FALSE(rig.Shown(kResults));
    EXPECT_TRUE(rig.Shown(IDC_MEDIATYPE));
    EXPECT_TRUE(rig.Shown(IDC_MODEL));
}

TEST_F(IsoPageTest, CreateWritesTheDiscsImageAndCompareFindsItIdentical)
{
    const std::string copy = m_files.File("copy.iso");
    dialogs.Answer(Path(copy));
    Dialog().SendCommand(IDC_SAVE);
    Dialog().WaitForToolWork();
    EXPECT_EQ(RunShell("cmp -s '" + Source() + "' '" + copy + "'"), 0);
    EXPECT_EQ(Asked(), std::vector<std::string>{"ISO File create complete"});
    EXPECT_EQ(dialogs.requests.back().title, "Choose a FileName for the ISO Image");
    EXPECT_EQ(Dialog().m_nCurrentPage, kPageCompare);
    EXPECT_EQ(rig.dialog->m_Core.m_Report.GetStatusText(), "Ready");
    EXPECT_TRUE(Dialog().GetDlgItem(IDC_START)->isEnabled());
    EXPECT_FALSE(Dialog().GetDlgItem(IDC_STOP)->isEnabled());
    EXPECT_EQ(g_bCreateIsoRunning, 0);
    EXPECT_EQ(ListLines(), std::vector<std::string>{"                         Read Errors"});
    EXPECT_EQ(Dialog().Item<CGraphStatic>(kGraph)->Snapshot().blockCounter, 1);

    // Creating onto the image that is there asks first, naming it; No reads nothing.
    rig.prompt.asked.clear();
    WriteFileText(copy, "kept");
    rig.prompt.Answer(IDNO);
    dialogs.Answer(Path(copy));
    Dialog().SendCommand(IDC_SAVE);
    Dialog().WaitForToolWork();
    EXPECT_EQ(Asked(), std::vector<std::string>{copy + " already exists.\nDo you want to replace it?"});
    EXPECT_EQ(ReadFileText(copy), "kept");
    EXPECT_EQ(g_bCreateIsoRunning, 0);
    EXPECT_TRUE(Dialog().GetDlgItem(IDC_START)->isEnabled());
    ASSERT_EQ(RunShell("cp '" + Source() + "' '" + copy + "'"), 0);

    rig.prompt.asked.clear();
    CompareWith(kIsoRadio, {Path(copy)});
    EXPECT_EQ(Asked(), std::vector<std::string>{"They are identical"});
    EXPECT_EQ(g_bCompareRunning, 0);
    EXPECT_TRUE(Dialog().GetDlgItem(IDC_START)->isEnabled());
    EXPECT_EQ(rig.Text(IDC_SAVE), "Create");
}

TEST_F(IsoPageTest, ACompareListsTheDifferencesOfAChangedImage)
{
    std::string bytes = ReadFileText(Source());
    bytes[bytes.size() - 1] ^= 0x21;
    WriteFileText(m_files.File("changed.iso"), bytes);
    CompareWith(kIsoRadio, {Path(m_files.File("changed.iso"))});
    EXPECT_EQ(Asked(), std::vector<std::string>{"Differences were found"});
    const std::vector<std::string> lines = ListLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "                       Differences");
    EXPECT_EQ(lines[1].rfind("LBA=", 0), 0u);
    // The block map shows the cell of the difference.
    const RateGraphState map = Dialog().Item<CGraphStatic>(kGraph)->Snapshot();
    EXPECT_EQ(map.blockCounter, 1);
    EXPECT_EQ(map.badBlocks.size(), 1u);
    EXPECT_TRUE(rig.Shown(kGraph));
}

TEST_F(IsoPageTest, FolderAndVideoTsComparesRunFromTheRadios)
{
    fs::copy(m_files.File("tree"), m_files.File("other"), fs::copy_options::recursive);
    dialogs.AnswerFolder(m_files.File("tree"));
    dialogs.AnswerFolder(m_files.File("other"));
    CompareWith(kFolderRadio, {});
    EXPECT_EQ(Asked(), std::vector<std::string>{"They were identical"});
    EXPECT_EQ(rig.Text(kLabelReadErrors), "Files Left");
    EXPECT_EQ(dialogs.requests[0].title, "SELECT THE FIRST FOLDER TO COMPARE");

    rig.prompt.asked.clear();
    Dialog().SetMountRoots(std::make_unique<FixedMountRoots>(m_files.File("tree")));
    CompareWith(kVideoRadio, {Path(m_files.File("other/VIDEO_TS/VIDEO_TS.IFO"))});
    EXPECT_EQ(Asked(), std::vector<std::string>{"They were identical"});
    EXPECT_EQ(ListLines().back(), "VTS_01_1.VOB - Identical");

    // A chooser cancelled changes nothing.
    rig.prompt.asked.clear();
    CompareWith(kIsoRadio, {std::nullopt});
    EXPECT_TRUE(Asked().empty());
    EXPECT_EQ(ListLines().back(), "VTS_01_1.VOB - Identical");
}

TEST_F(IsoPageTest, AVideoTsCompareOnADiscNotMountedSaysSoAndGivesThePageBack)
{
    Dialog().SetMountRoots(std::make_unique<SystemMountRoots>(m_files.File("mountinfo"), "/dev"));
    WriteFileText(m_files.File("mountinfo"), "");
    CompareWith(kVideoRadio, {Path(m_files.File("tree/VIDEO_TS/VIDEO_TS.IFO"))});
    EXPECT_EQ(Asked(),
              std::vector<std::string>{"The disc is not mounted (no mount of /dev/emu0 in " + m_files.File("mountinfo")
                                       + " was found): mount it to compare its VIDEO_TS folder."});
    EXPECT_TRUE(Dialog().GetDlgItem(IDC_START)->isEnabled());
    EXPECT_FALSE(Dialog().GetDlgItem(IDC_STOP)->isEnabled());
    EXPECT_TRUE(Dialog().GetDlgItem(IDC_DEVICES)->isEnabled());
    EXPECT_FALSE(Dialog().m_Core.m_Drives.coordinator.InUse());
}

TEST_F(IsoPageTest, NoDiscNoCompareAndNoImage)
{
    rig.drives[0]->RemoveMedium();
    CompareWith(kIsoRadio, {Path(Source())});
    EXPECT_EQ(rig.dialog->m_Core.m_Report.GetStatusText(), "No Media loaded");
    EXPECT_TRUE(Dialog().GetDlgItem(IDC_START)->isEnabled());
    EXPECT_TRUE(Dialog().GetDlgItem(IDC_DEVICES)->isEnabled());
    Dialog().SendCommand(IDC_SAVE);
    Dialog().WaitForToolWork();
    EXPECT_EQ(rig.dialog->m_Core.m_Report.GetStatusText(), "No media present in drive");
    EXPECT_EQ(Dialog().m_nCurrentPage, kPageCompare);
    EXPECT_TRUE(Asked().empty());
    for (int id : {IDC_START, IDC_DEVICES, IDC_TOOLS, IDC_SAVE})
        EXPECT_TRUE(Dialog().GetDlgItem(id)->isEnabled()) << id;
    EXPECT_FALSE(Dialog().m_Core.m_Drives.coordinator.InUse()) << "every early end gives the drive back";
}
