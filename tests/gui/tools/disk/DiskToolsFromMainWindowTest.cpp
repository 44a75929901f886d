#include "core/app/MainPages.h"
#include "core/base/BusyFlags.h"
#include "core/tools/disk/DiskToolIds.h"
#include "gui/app/MainWindowRig.h"
#include "gui/tools/disk/DiskToolsPage.h"
#include "gui/tools/flashtest/FlashMemoryTest.h"
#include "gui/tools/hddtest/HddErrorTest.h"
#include "gui/tools/sectoredit/HddSectorReadWrite.h"
#include "support/TestSupport.h"
#include "support/gui/ScopedModalHook.h"

#include <QComboBox>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

using namespace disktool;

namespace {

// Lets a disk test window's drive probe end and show its drive.
void ShowProbedDrive(CDialog& window)
{
    if (auto* hdd = dynamic_cast<CHddErrorTest*>(&window))
        hdd->Control().Probe().WaitUntilPosted();
    if (auto* flash = dynamic_cast<CFlashMemoryTest*>(&window))
        flash->Control().Probe().WaitUntilPosted();
    PumpPostedMessages();
}

constexpr const char* kSataPort = "pci0000:00/0000:00:1f.2/ata1/host0/target0:0:0/0:0:0:0";
constexpr const char* kUsbPort = "pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0";
constexpr std::uint64_t kDiskBytes = 8 << 20;

// A disk of the rig's machine: its /sys/block entry and, as its device
// node, a file of zeros in the machine's /dev.
void AddDisk(const MainWindowRig& rig, const std::string& name, const char* port, const std::string& vendor,
             const std::string& model, bool removable)
{
    namespace fs = std::filesystem;
    const std::string target = std::string("../devices/") + port + "/block/" + name;
    const fs::path device = fs::path(rig.SysBlock()) / target;
    fs::create_directories(device / "device");
    fs::create_symlink(target, fs::path(rig.SysBlock()) / name);
    WriteFileText((device / "size").string(), std::to_string(kDiskBytes / 512) + "\n");
    WriteFileText((device / "removable").string(), removable ? "1\n" : "0\n");
    WriteFileText((device / "device/vendor").string(), vendor + "\n");
    WriteFileText((device / "device/type").string(), "0\n");
    WriteFileText((device / "device/model").string(), model + "\n");
    std::ofstream(rig.Dev() + "/" + name, std::ios::binary);
    fs::resize_file(rig.Dev() + "/" + name, kDiskBytes);
}

// A machine with a fixed disk and a flash drive.
struct DiskMachineRig : MainWindowRig {
    DiskMachineRig()
    {
        AddDisk(*this, "sda", kSataPort, "ATA", "Samsung SSD 860", false);
        AddDisk(*this, "sdb", kUsbPort, "SanDisk", "Cruzer Blade", true);
        Start();
    }

    // The entry point pressed or chosen; `window` runs in place of each
    // modal window that opens.
    void Open(int entry, std::function<void(CDialog&)> window)
    {
        ScopedModalHook hook([&, window](CDialog& opening) {
            ++opened;
            window(opening);
            return 0;
        });
        if (entry == IDC_HDDTEST)
            dialog->SendCommand(IDC_HDDTEST);
        else
            ChooseTool(entry);
        Settle();
    }
    std::vector<std::string> ComboItems(CDialog& window) const
    {
        std::vector<std::string> items;
        const auto* combo = window.Item<QComboBox>(IDC_DRIVECOMBO);
        for (int i = 0; i < combo->count(); ++i)
            items.push_back(combo->itemText(i).toStdString());
        return items;
    }
    bool DiskUntouched(const std::string& name) const
    {
        const std::string bytes = ReadFileText(Dev() + "/" + name);
        return bytes.size() == kDiskBytes && bytes.find_first_not_of('\0') == std::string::npos;
    }

    int opened = 0;
};

}  // namespace

TEST(DiskToolsFromMainWindow, EachEntryOpensItsWindowOnTheMachinesDisks)
{
    struct Case {
        const char* name;
        int entry;  // a command button or a tools entry
        const char* title;
        std::vector<std::string> drives;
    };
    const Case cases[] = {
        {"hard disk test",
         IDC_HDDTEST,
         "HDD Error Test",
         {"(sda) ATA     Samsung SSD 860 ", "(sdb) SanDisk Cruzer Blade "}},
        {"flash drive test", kToolsFlashTest, "Flash Memory Tester", {"(sdb) SanDisk Cruzer Blade "}},
        {"sector editor",
         kToolsSectorEditor,
         "Quenzario - Read / Write / Load / Save Hard Disk Sectors or Files",
         {"(sda) ATA     Samsung SSD 860 ", "(sdb) SanDisk Cruzer Blade "}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DiskMachineRig rig;
        const int page = rig.dialog->m_nCurrentPage;
        rig.Open(c.entry, [&](CDialog& window) {
            ShowProbedDrive(window);
            EXPECT_EQ(window.windowTitle().toStdString(), c.title);
            EXPECT_EQ(rig.ComboItems(window), c.drives);
            // The device node of the machine's /dev was opened for its size.
            EXPECT_EQ(window.GetDlgItemText(IDC_FORMATSIZE), "8.00 MB");
            // A device change releases the drive lists while the window is
            // open; its own records stay.
            rig.dialog->m_Core.m_Drives.disks.ReleaseDisks();
            window.Item<QComboBox>(IDC_DRIVECOMBO)->setCurrentIndex(static_cast<int>(c.drives.size()) - 1);
            window.SendNotify(IDC_DRIVECOMBO, Notify::SelChange);
            ShowProbedDrive(window);
            EXPECT_EQ(window.GetDlgItemText(IDC_DRIVELETTER), "sdb");
            EXPECT_EQ(window.GetDlgItemText(IDC_DRIVEMODEL), "Cruzer Blade");
        });
        EXPECT_EQ(rig.opened, 1);
        EXPECT_TRUE(rig.prompt.asked.empty()) << rig.prompt.asked[0].text;
        EXPECT_EQ(rig.dialog->m_nCurrentPage, page);  // a window, not a page
        EXPECT_TRUE(rig.DiskUntouched("sda"));
        EXPECT_TRUE(rig.DiskUntouched("sdb"));
    }
}

TEST(DiskToolsFromMainWindow, ADiskThatCannotBeOpenedShowsTheSizeTheMachineLists)
{
    DiskMachineRig rig;
    std::filesystem::remove(rig.Dev() + "/sda");
    rig.Open(IDC_HDDTEST, [&](CDialog& window) {
        ShowProbedDrive(window);
        EXPECT_EQ(window.GetDlgItemText(IDC_DRIVELETTER), "sda");
        EXPECT_EQ(window.GetDlgItemText(IDC_FORMATSIZE), "8.00 MB");
    });
    EXPECT_EQ(rig.opened, 1);
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_NE(rig.prompt.asked[0].text.find(rig.Dev() + "/sda"), std::string::npos) << rig.prompt.asked[0].text;
}

TEST(DiskToolsFromMainWindow, TheFlashTestWritesOnlyPastTheConfirmationGate)
{
    struct Case {
        const char* name;
        bool mounted;
        int answer;
        bool written;
    };
    const Case cases[] = {
        {"answered no", false, IDNO, false},
        {"answered yes", false, IDYES, true},
        {"mounted: refused unasked", true, IDYES, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DiskMachineRig rig;
        if (c.mounted)
            rig.PageObject<DiskToolsPage>().m_Access.use = [](const std::string& node) {
                DeviceUse use;
                use.mounts.push_back(node + "1 on /media/stick");
                return use;
            };
        rig.prompt.Answer(c.answer);
        rig.Open(kToolsFlashTest, [&](CDialog& window) {
            auto& test = dynamic_cast<CFlashMemoryTest&>(window);
            ShowProbedDrive(window);
            test.SendCommand(IDC_STARTTEST);
            test.Control().JoinWorker();
            PumpPostedMessages();
        });
        ASSERT_FALSE(rig.prompt.asked.empty());
        const std::string node = rig.Dev() + "/sdb";
        EXPECT_NE(rig.prompt.asked[0].text.find(node), std::string::npos) << rig.prompt.asked[0].text;
        EXPECT_NE(rig.prompt.asked[0].text.find(c.mounted ? "is mounted" : "Cruzer Blade"), std::string::npos);
        EXPECT_EQ(rig.prompt.asked[0].type & MB_YESNO, c.mounted ? 0u : unsigned(MB_YESNO));
        EXPECT_EQ(rig.DiskUntouched("sdb"), !c.written);
        EXPECT_TRUE(rig.DiskUntouched("sda"));
        if (c.written) {
            EXPECT_NE(rig.prompt.asked.back().text.find("Test complete, no errors were found."), std::string::npos);
        }
    }
}

TEST(DiskToolsFromMainWindow, NoWindowOpensWhileATestRunsOrWithoutAFlashDrive)
{
    DiskMachineRig rig;
    for (const DriveHolder& b : TestsThatHoldTheDrive()) {
        for (int entry : {int(IDC_HDDTEST), int(kToolsFlashTest), int(kToolsSectorEditor)}) {
            SCOPED_TRACE(std::string(b.name) + ", entry " + std::to_string(entry));
            rig.prompt.asked.clear();
            b.hold(*rig.dialog, true);
            rig.Open(entry, [](CDialog&) {});
            b.hold(*rig.dialog, false);
            EXPECT_EQ(rig.opened, 0);
            ASSERT_EQ(rig.prompt.asked.size(), 1u);
            EXPECT_EQ(rig.prompt.asked[0].text, "You must stop the test first");
            EXPECT_EQ(rig.prompt.asked[0].caption, "Error Test Running!");
        }
    }
    EXPECT_TRUE(rig.dialog->m_Core.m_Drives.disks.m_HddList.empty());  // not even listed

    // A machine without a removable disk: the flash test says so.
    MainWindowRig plain;
    AddDisk(plain, "sda", kSataPort, "ATA", "Samsung SSD 860", false);
    plain.Start();
    ScopedModalHook hook([](CDialog&) {
        ADD_FAILURE() << "a window opened";
        return 0;
    });
    plain.ChooseTool(kToolsFlashTest);
    ASSERT_EQ(plain.prompt.asked.size(), 1u);
    EXPECT_EQ(plain.prompt.asked[0].text,
              "No removable flash drives found (NOTE: eSata flash are not designated as removable)");
}
