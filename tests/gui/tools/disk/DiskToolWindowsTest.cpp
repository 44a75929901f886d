#include "core/base/MessageIds.h"
#include "core/tools/disk/DiskToolIds.h"
#include "gui/graphs/HddGraphStatic.h"
#include "gui/tools/flashtest/FlashMemoryTest.h"
#include "gui/tools/hddtest/HddErrorTest.h"
#include "gui/tools/sectoredit/HddSectorReadWrite.h"
#include "gui/ui/MessageClassDlg.h"
#include "gui/ui/MyEdit.h"
#include "gui/ui/TextProgressCtrl.h"
#include "support/DiskToolSupport.h"
#include "support/TestSupport.h"
#include "support/gui/ScopedModalHook.h"
#include "support/gui/ScriptedFileDialogs.h"

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QSlider>
#include <QTextBlock>

#include <gtest/gtest.h>

#include <memory>

using namespace disktool;

namespace {

constexpr std::uint64_t kMiB = 1 << 20;

// Opens a window as its owner does (its modal run answered at once).
template <class Window>
std::unique_ptr<Window> OpenWindow(const DiskToolHost& host)
{
    auto window = std::make_unique<Window>(host);
    RunModalAnswered(*window);
    if constexpr (requires { window->Control().Probe(); }) {
        window->Control().Probe().WaitUntilPosted();  // the drive chosen as it opened
        PumpPostedMessages();
    }
    return window;
}

bool AskedSomething(const ScriptedPrompt& prompt, const std::string& part)
{
    for (const auto& asked : prompt.asked)
        if ((asked.caption + "\n" + asked.text).find(part) != std::string::npos)
            return true;
    return false;
}

QRgb CellPixel(CHddGraphStatic& map, int cell)
{
    map.RefreshNow();
    return map.Cache().pixel(1 + 5 * (cell % 100), 1 + 5 * (cell / 100));
}

}  // namespace

TEST(DiskToolWindows, TheHardDiskErrorTestRunsToItsEnd)
{
    ScopedProfile profile;
    ScriptedPrompt prompt;
    FakeDiskHost disk(32 * kMiB, false);
    disk.disk->AddBadSectors(60000, 2);
    auto window = OpenWindow<CHddErrorTest>(disk.host);
    EXPECT_EQ(window->windowTitle(), "HDD Error Test");
    EXPECT_EQ(window->DriveCombo().currentText(), "(sdz) SanDisk Cruzer Blade ");
    EXPECT_EQ(window->GetDlgItemText(IDC_DRIVELETTER), "sdz");
    EXPECT_EQ(window->GetDlgItemText(IDC_DRIVEMODEL), "Cruzer Blade");
    EXPECT_EQ(window->GetDlgItemText(IDC_FORMATSIZE), "32.00 MB");
    EXPECT_EQ(window->GetDlgItemText(IDC_SIZEPERPLOT), "4.00 KB");
    EXPECT_EQ(window->GetDlgItemText(IDC_DRIVETYPE), "Fixed");
    EXPECT_EQ(window->GetDlgItemText(IDC_BUFFERSIZE), "24MB");
    EXPECT_EQ(window->BufferSlider().maximum(), 8);
    EXPECT_EQ(window->BufferSlider().value(), 8);
    EXPECT_EQ(window->Control().m_nBufferSectors, 49152u);
    EXPECT_EQ(window->size(), QSize(CDiskTestDialog::kWidth, CDiskTestDialog::kHeight));
    window->BufferSlider().setValue(1);
    EXPECT_EQ(window->GetDlgItemText(IDC_BUFFERSIZE), " 3MB");
    EXPECT_EQ(window->Control().m_nBufferSectors, 6144u);

    window->SendCommand(IDC_STARTTEST);
    EXPECT_FALSE(window->GetDlgItem(IDC_STARTTEST)->isEnabled());
    EXPECT_TRUE(window->GetDlgItem(IDC_STOPTEST)->isEnabled());
    window->Control().JoinWorker();
    PumpPostedMessages();
    EXPECT_TRUE(window->GetDlgItem(IDC_STARTTEST)->isEnabled());
    EXPECT_FALSE(window->GetDlgItem(IDC_STOPTEST)->isEnabled());
    EXPECT_TRUE(window->GetDlgItem(IDC_BUFFERSLIDER)->isEnabled());
    EXPECT_EQ(window->GetDlgItemText(IDC_TOTALERRORS), "2");
    EXPECT_EQ(window->GetDlgItemText(IDC_SECTORSREMAINING), "0");
    EXPECT_EQ(window->GetDlgItemText(IDC_AMOUNTREMAINING), "0 GB");
    EXPECT_EQ(window->Progress().GetWindowText(), "100% Complete");
    EXPECT_EQ(window->Progress().GetPos(), 100);
    EXPECT_TRUE(AskedSomething(prompt, "sectors 60000 to 60001")) << prompt.asked.back().text;
    EXPECT_EQ(window->CellMap().CellCount(), 8192);
    EXPECT_EQ(CellPixel(window->CellMap(), 60000 * 512 / 4096), qRgb(0xFF, 0, 0));
    EXPECT_EQ(CellPixel(window->CellMap(), 10), qRgb(0, 0xB4, 0));
    window->OnClose();
    EXPECT_EQ(window->ModalResult(), 0);
}

TEST(DiskToolWindows, StopAndCloseOfTheHardDiskTestReturnWhileTheDiskHangs)
{
    ScopedProfile profile;
    ScriptedPrompt prompt;
    FakeDiskHost disk(32 * kMiB, false);
    auto window = OpenWindow<CHddErrorTest>(disk.host);
    disk.disk->HoldReads();
    window->SendCommand(IDC_STARTTEST);
    disk.disk->WaitForHeldReads(1);
    window->SendCommand(IDC_STOPTEST);
    window->Control().JoinWorker();
    PumpPostedMessages();
    EXPECT_TRUE(window->GetDlgItem(IDC_STARTTEST)->isEnabled());
    EXPECT_FALSE(window->GetDlgItem(IDC_STOPTEST)->isEnabled());
    EXPECT_TRUE(window->GetDlgItem(IDC_BUFFERSLIDER)->isEnabled());

    // Started again, and closed while that read hangs too.
    window->SendCommand(IDC_STARTTEST);
    disk.disk->WaitForHeldReads(2);
    window->OnClose();
    EXPECT_EQ(window->ModalResult(), 0);
    window.reset();
    EXPECT_TRUE(prompt.asked.empty()) << prompt.asked[0].text;
    disk.disk->ReleaseReads();
    disk.disk->WaitUntilNoReadHeld();
}

TEST(DiskToolWindows, TheFlashMemoryTestAsksThenRunsToItsEnd)
{
    struct Case {
        const char* name;
        bool wraps;
        const char* says;
    };
    const Case cases[] = {
        {"an honest drive", false, "Test complete, no errors were found."},
        {"a fake capacity", true, "the device holds about 64.00 MB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedProfile profile;
        ScriptedPrompt prompt;
        FakeDiskHost disk(256 * kMiB, true);
        if (c.wraps)
            disk.disk->WrapAt(64 * kMiB / 512);
        auto window = OpenWindow<CFlashMemoryTest>(disk.host);
        EXPECT_EQ(window->windowTitle(), "Flash Memory Tester");
        EXPECT_EQ(window->GetDlgItemText(IDC_DRIVETYPE), "Removable");
        EXPECT_EQ(window->IsDlgButtonChecked(IDC_QUICKTEST), 1);
        prompt.Answer(IDYES);
        window->SendCommand(IDC_STARTTEST);
        EXPECT_FALSE(window->GetDlgItem(IDC_STARTTEST)->isEnabled());
        window->Control().JoinWorker();
        PumpPostedMessages();
        EXPECT_TRUE(AskedSomething(prompt, "/dev/sdz"));
        EXPECT_TRUE(AskedSomething(prompt, c.says));
        EXPECT_EQ(window->Progress().GetWindowText(), "100% Complete");
        EXPECT_TRUE(window->GetDlgItem(IDC_STARTTEST)->isEnabled());
        EXPECT_TRUE(window->GetDlgItem(IDC_QUICKTEST)->isEnabled());
    }
}

TEST(DiskToolWindows, TheFlashMemoryTestRefusesAFixedDisk)
{
    ScopedProfile profile;
    ScriptedPrompt prompt;
    FakeDiskHost disk(64 * kMiB, false);
    auto window = OpenWindow<CFlashMemoryTest>(disk.host);
    prompt.Answer(IDYES);
    window->SendCommand(IDC_STARTTEST);
    EXPECT_TRUE(window->GetDlgItem(IDC_STARTTEST)->isEnabled());
    EXPECT_TRUE(AskedSomething(prompt, "is not a removable drive"));
    EXPECT_EQ(disk.disk->Writes(), 0);
}

namespace {

struct EditorWindowRig {
    EditorWindowRig() : original(2 * kMiB, '\0')
    {
        for (std::size_t i = 0; i < original.size(); ++i)
            original[i] = static_cast<char>(i * 7 + (i >> 9));
        WriteFileText(dir.File("sdz"), original);
        host.drives = {record.get()};
        host.access.devRoot = dir.Path();
        host.access.use = [](const std::string&) { return DeviceUse(); };
        host.access.freeBytes = [](const std::string&) { return std::uint64_t{0}; };
        window = OpenWindow<CHddSectorReadWrite>(host);
    }
    void Type(int id, const std::string& text)
    {
        window->SetDlgItemText(id, text);
        if (id == IDC_STARTSECTOR)
            Q_EMIT window->Item<QLineEdit>(id)->textEdited(QString::fromStdString(text));
    }
    // A double click on the grid at (line, column).
    void DoubleClick(int line, int column)
    {
        QTextCursor cursor = window->HexGrid().textCursor();
        cursor.setPosition(window->HexGrid().document()->findBlockByNumber(line).position() + column);
        window->HexGrid().setTextCursor(cursor);
        window->SendMessage(WM_OUTPUTEDITNOTIFY, CMyEdit::SelectionParam(cursor.position(), cursor.position()));
    }

    TempDir dir;
    ScopedProfile profile;
    ScriptedPrompt prompt;
    ScriptedFileDialogs files;
    std::string original;
    std::unique_ptr<CDevice> record = MakeDiskRecord("sdz", "ATA", "Test Disk", "1.0", false, 11);
    DiskToolHost host;
    std::unique_ptr<CHddSectorReadWrite> window;
};

}  // namespace

TEST(DiskToolWindows, TheSectorEditorReadsPicksChangesAndWritesBack)
{
    EditorWindowRig rig;
    CHddSectorReadWrite& window = *rig.window;
    EXPECT_EQ(window.GetDlgItemText(IDC_DRIVELETTER), "sdz");
    EXPECT_EQ(window.GetDlgItemText(IDC_FORMATSIZE), "2.00 MB");
    EXPECT_EQ(window.GetDlgItemText(IDC_STARTSECTOR), "0");
    EXPECT_EQ(window.GetDlgItemText(IDC_VALUE), "00");
    EXPECT_EQ(window.IsDlgButtonChecked(IDC_HEXADECIMAL), 1);
    EXPECT_EQ(window.size(), QSize(CHddSectorReadWrite::kWidth, CHddSectorReadWrite::kHeight));

    rig.Type(IDC_STARTSECTOR, "c00");
    EXPECT_EQ(window.GetDlgItemText(IDC_STARTSECTOR), "C00");
    window.SendCommand(IDC_READ);
    EXPECT_EQ(window.GetDlgItemText(IDC_STARTSECTOR), "C01");
    EXPECT_EQ(window.HexGrid().document()->blockCount(), 2 + 32 + 1);  // the text ends with a line break
    const std::size_t sector = 0xC00 * 512;
    const std::string row3 = window.HexGrid().document()->findBlockByNumber(3).text().toStdString();
    EXPECT_EQ(row3.substr(0, 9), "00000010 ");

    rig.DoubleClick(3, 9 + 3 * 2);  // byte 0x12
    EXPECT_EQ(window.GetDlgItemText(IDC_BUFFEROFFSET), "12");
    EXPECT_EQ(window.GetDlgItemText(IDC_VALUE),
              QString::asprintf("%02X", static_cast<unsigned char>(rig.original[sector + 0x12])).toStdString());
    EXPECT_FALSE(window.Editor().m_bChanged);
    rig.Type(IDC_VALUE, "ee");
    EXPECT_EQ(window.GetDlgItemText(IDC_VALUE), "EE");
    window.SendCommand(IDC_SET);
    EXPECT_NE(window.HexGrid().document()->findBlockByNumber(3).text().toStdString().find(" EE "), std::string::npos);
    rig.prompt.Answer(IDYES);
    window.SendCommand(IDC_WRITE);
    std::string expected = rig.original;
    expected[sector + 0x12] = static_cast<char>(0xEE);
    EXPECT_EQ(ReadFileText(rig.dir.File("sdz")), expected);
    EXPECT_FALSE(window.Editor().m_bChanged);
    window.OnClose();
    EXPECT_EQ(window.ModalResult(), 0);
}

TEST(DiskToolWindows, TheSectorEditorLoadsSavesAndWritesAFileWhereTold)
{
    EditorWindowRig rig;
    CHddSectorReadWrite& window = *rig.window;
    WriteFileText(rig.dir.File("in.bin"), std::string(700, 'F'));
    rig.files.Answer(FileDialogAnswer{rig.dir.File("in.bin"), 1});
    window.SendCommand(IDC_LOAD);
    EXPECT_EQ(window.GetDlgItemText(IDC_SECTORCOUNT), "2");
    EXPECT_EQ(rig.files.requests.back().title, "Choose a file to load");
    window.SendCommand(IDC_SET);  // offset 0 := 00

    // "Extended": the whole sectors.
    rig.files.Answer(FileDialogAnswer{rig.dir.File("out.bin"), 1});
    {
        ScopedModalHook hook([](CDialog& dialog) {
            auto* question = dynamic_cast<CMessageClassDlg*>(&dialog);
            EXPECT_NE(question, nullptr);
            EXPECT_EQ(question ? question->m_strYes : std::string(), "Orginal");
            return 0;
        });
        window.SendCommand(IDC_SAVE);
    }
    std::string saved(1024, '\0');
    std::fill(saved.begin() + 1, saved.begin() + 700, 'F');
    EXPECT_EQ(ReadFileText(rig.dir.File("out.bin")), saved);
    EXPECT_TRUE(AskedSomething(rig.prompt, "File write successful"));

    // Written only to the sector typed after the load.
    window.SendCommand(IDC_SET);
    window.SendCommand(IDC_WRITE);
    EXPECT_TRUE(AskedSomething(rig.prompt, "type the sector to write it to"));
    EXPECT_EQ(ReadFileText(rig.dir.File("sdz")), rig.original);
    rig.Type(IDC_STARTSECTOR, "A00");
    rig.prompt.Answer(IDYES);
    window.SendCommand(IDC_WRITE);
    std::string expected = rig.original;
    expected.replace(0xA00 * 512, 1024, saved);
    EXPECT_EQ(ReadFileText(rig.dir.File("sdz")), expected);
}

namespace {

template <class Window>
void ChooseAHungDriveThenClose()
{
    ScopedProfile profile;
    ScriptedPrompt prompt;
    FakeDiskHost disk(32 * kMiB, true);
    auto window = OpenWindow<Window>(disk.host);
    window->Progress().SetWindowText("100% Complete");
    disk.disk->HoldReads();
    window->SendNotify(IDC_DRIVECOMBO, Notify::SelChange);  // returns while the probe waits
    disk.disk->WaitForHeldReads(1);
    EXPECT_FALSE(window->GetDlgItem(IDC_STARTTEST)->isEnabled());
    EXPECT_EQ(window->Progress().GetWindowText(), "Testing buffer sizes...");
    window->SendCommand(IDC_STARTTEST);
    PumpPostedMessages();
    EXPECT_FALSE(window->GetDlgItem(IDC_STOPTEST)->isEnabled());
    EXPECT_TRUE(prompt.asked.empty());

    window->OnClose();  // returns while the read hangs
    EXPECT_EQ(window->ModalResult(), 0);
    window.reset();
    disk.disk->ReleaseReads();
    disk.disk->WaitUntilNoReadHeld();
    PumpPostedMessages();
}

}  // namespace

TEST(DiskToolWindows, ChoosingAHungDriveLeavesTheWindowFreeAndClosingDoesNotWait)
{
    {
        SCOPED_TRACE("hard-disk test");
        ChooseAHungDriveThenClose<CHddErrorTest>();
    }
    {
        SCOPED_TRACE("flash test");
        ChooseAHungDriveThenClose<CFlashMemoryTest>();
    }
}

TEST(DiskToolWindows, AProbedDriveGivesStartAndTheProgressTextBack)
{
    ScopedProfile profile;
    FakeDiskHost disk(32 * kMiB, false);
    auto window = OpenWindow<CHddErrorTest>(disk.host);
    window->Progress().SetWindowText("100% Complete");
    disk.disk->HoldReads();
    window->SendNotify(IDC_DRIVECOMBO, Notify::SelChange);
    disk.disk->WaitForHeldReads(1);
    EXPECT_EQ(window->Progress().GetWindowText(), "Testing buffer sizes...");
    disk.disk->ReleaseReads();
    window->Control().Probe().WaitUntilPosted();
    PumpPostedMessages();
    EXPECT_TRUE(window->GetDlgItem(IDC_STARTTEST)->isEnabled());
    EXPECT_EQ(window->Progress().GetWindowText(), "100% Complete");
    EXPECT_EQ(window->GetDlgItemText(IDC_FORMATSIZE), "32.00 MB");
    window->OnClose();
}
