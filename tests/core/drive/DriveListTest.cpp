#include "core/app/AppProfile.h"
#include "core/app/BusyFlags.h"
#include "core/app/MessageIds.h"
#include "core/drive/DriveContext.h"
#include "emu/DrivePresets.h"
#include "emu/EmulatedDrive.h"
#include "emu/MediaPresets.h"
#include "platform/devices/BlockDevices.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>

namespace fs = std::filesystem;

namespace {

constexpr const char* kAtaPort = "pci0000:00/0000:00:1f.2/ata1/host0/target0:0:0/0:0:0:0";
constexpr const char* kUsbPort = "pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0";
constexpr const char* kNvmePort = "pci0000:00/0000:00:1d.0/0000:3d:00.0/nvme/nvme0";

// A /sys/block and /dev pair in a temporary folder, shaped as the kernel
// shapes them: each block entry links to its device under ../devices.
class FixtureTree {
public:
    FixtureTree()
    {
        fs::create_directories(SysBlock());
        fs::create_directories(Dev());
    }
    std::string SysBlock() const { return m_dir.File("sys/block"); }
    std::string Dev() const { return m_dir.File("dev"); }

    fs::path AddEntry(const std::string& name, const std::string& port)
    {
        const std::string target = "../devices/" + port + "/block/" + name;
        fs::create_directories(fs::path(SysBlock()) / target);
        fs::create_symlink(target, fs::path(SysBlock()) / name);
        return fs::path(SysBlock()) / target;
    }
    void AddDisk(const std::string& name, const std::string& port, const std::string& vendor, const std::string& model,
                 bool removable, const char* sectors = "1000215216", const char* type = "0")
    {
        const fs::path device = AddEntry(name, port);
        fs::create_directories(device / "device");
        WriteFileText((device / "size").string(), std::string(sectors) + "\n");
        WriteFileText((device / "removable").string(), removable ? "1\n" : "0\n");
        if (!vendor.empty()) {
            WriteFileText((device / "device/vendor").string(), vendor + "\n");
            WriteFileText((device / "device/type").string(), std::string(type) + "\n");
        }
        WriteFileText((device / "device/model").string(), model + "\n");
    }

private:
    TempDir m_dir;
};

std::shared_ptr<emu::EmulatedDrive> Emulated(const char* drive, const char* medium)
{
    std::string error;
    auto made = emu::MakeEmulatedDrive(drive, medium, std::make_shared<emu::ManualClock>(), &error);
    EXPECT_TRUE(made) << error;
    return made;
}

DriveSources Sources(const FixtureTree& tree, std::vector<NamedEmulatedDrive> emulated = {})
{
    DriveSources sources;
    sources.sysBlockRoot = tree.SysBlock();
    sources.devRoot = tree.Dev();
    sources.emulated = std::move(emulated);
    return sources;
}

}  // namespace

TEST(DriveList, OpticalDrivesAreProbedInOrderAndTheOnesThatCannotAnswerAreSkipped)
{
    FixtureTree tree;
    tree.AddEntry("sr0", kAtaPort);  // an emulated drive stands in for this node
    tree.AddEntry("sr1", kUsbPort);  // no node in /dev
    tree.AddEntry("sr2", kAtaPort);  // a node that does not take SG_IO
    fs::create_symlink("/dev/null", tree.Dev() + "/sr2");
    ScopedProgramLog log;
    DriveContext drives(
        Sources(tree, {{"sr0", Emulated("dvd-writer", "dvd+r")}, {"emu0", Emulated("bd-writer", "bd-r")}}));
    std::vector<std::pair<std::string, std::string>> shown;
    drives.Hooks().driveAdded = [&](const std::string& message, const std::string& title) {
        shown.emplace_back(message, title);
    };

    ASSERT_TRUE(drives.FillDeviceComboList());
    EXPECT_EQ(drives.DeviceComboEntries(),
              (std::vector<std::string>{"QNZEMU  DVD-RW QDW-2040S (sr0)", "QNZEMU  BD-RE QBR-1240 (emu0)"}));
    EXPECT_EQ(drives.GetDeviceComboSel(), 0);
    ASSERT_EQ(drives.m_DeviceList.size(), 2u);
    EXPECT_EQ(drives.m_DeviceList[1]->m_nEnumIndex, 1);  // the drives that gave no answer are not counted
    EXPECT_EQ(drives.m_DeviceList[1]->m_strFirmware, "2.10");
    EXPECT_EQ(drives.m_DeviceList[0]->m_nBusType, kBusAtapi);
    EXPECT_EQ(shown,
              (std::vector<std::pair<std::string, std::string>>{
                  {" Adding drive QNZEMU  DVD-RW QDW-2040S", "Quenzario Drive Scan 25% Complete"},
                  {" Adding drive QNZEMU  BD-RE QBR-1240", "Quenzario Drive Scan 100% Complete"}}));
    EXPECT_EQ(drives.m_pCurrentDevice, nullptr);  // no record stays current after its probe
    EXPECT_FALSE(drives.m_ScsiCommand.IsOpen());

    const std::string text = log.Text();
    for (const char* line :
         {" Start FillDeviceComboList()\n", " FillDeviceComboList() - Probing sr0\n", " associate -  handle created\n",
          " FillDeviceComboList() - Probing sr1\n", " associate - cannot open sr1: ",
          " FillDeviceComboList() - Device Inquiry resulted in an error\n", " FillDeviceComboList() - Probing sr2\n",
          " FillDeviceComboList() - Probing emu0\n", " End FillDevicesComboList()\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}

TEST(DriveList, WithoutAnOpticalDriveTheUserIsToldWhyAndStartUpFails)
{
    struct Case {
        const char* name;
        std::function<void(FixtureTree&)> build;
        std::string reason;
    };
    const Case cases[] = {
        {"no drive at all", [](FixtureTree&) {}, "No optical drive node (DEV/srN) exists on this machine."},
        {"a node that is a plain file",
         [](FixtureTree& tree) {
             tree.AddEntry("sr0", kAtaPort);
             WriteFileText(tree.Dev() + "/sr0", "");
         },
         "DEV/sr0 is not a device node"},
        {"a node that does not answer",
         [](FixtureTree& tree) {
             tree.AddEntry("sr0", kAtaPort);
             fs::create_symlink("/dev/null", tree.Dev() + "/sr0");
         },
         "sr0 did not answer INQUIRY: SG_IO failed: Inappropriate ioctl for device"},
        {"a disk where a drive should be", [](FixtureTree& tree) { tree.AddEntry("sr0", kAtaPort); }, ""},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        FixtureTree tree;
        test.build(tree);
        std::vector<NamedEmulatedDrive> emulated;
        if (test.reason.empty()) {
            auto identity = *emu::FindDrivePreset("dvd-writer");
            identity.peripheralType = 0;
            emulated.emplace_back("sr0", std::make_shared<emu::EmulatedDrive>(identity));
        }
        ScopedProfile profile;
        ScopedProgramLog log;
        ScriptedPrompt prompt;
        DriveContext drives(Sources(tree, emulated));
        EXPECT_FALSE(drives.InitInterfaces());
        ASSERT_EQ(prompt.asked.size(), 2u);
        std::string reason = test.reason.empty() ? "sr0 is not an optical drive" : test.reason;
        if (const auto at = reason.find("DEV"); at != std::string::npos)
            reason.replace(at, 3, tree.Dev());
        EXPECT_EQ(prompt.asked[0].text,
                  "No optical devices were found. Quenzario cannot run without one drive at least\n\n" + reason);
        EXPECT_EQ(prompt.asked[1].text, "SPTI init failed For SPTI, your login needs administrator rights.\n");
        const std::string text = log.Text();
        EXPECT_NE(text.find(" FillDevicesComboList() - No suitable devices found\n"), std::string::npos);
        EXPECT_NE(text.find(" Fatal Error - FillDeviceComboList() function failed - returned false\n"),
                  std::string::npos);
        if (test.reason.empty()) {
            EXPECT_NE(text.find(" FillDeviceComboList() - Device Type not DTYPE_CDROM, DTYPE_WORM or DTYPE_DASD\n"),
                      std::string::npos);
        }
    }
}

TEST(DriveList, TheRememberedDriveIsSelectedWhenItStillExists)
{
    struct Case {
        const char* name;
        int remember;
        std::optional<int> saved;
        int selected;
        std::optional<int> stored;
    };
    const Case cases[] = {
        {"remembered", 1, 2, 2, 2},
        {"index equal to the number of drives", 1, 3, 0, 0},
        {"negative index", 1, -4, 0, -4},
        {"not remembering", 0, 2, 0, 0},
        {"nothing saved", 1, std::nullopt, 0, std::nullopt},
    };
    FixtureTree tree;
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        ScopedProfile profile;
        WriteAppProfileInt("RememberDevice", test.remember);
        if (test.saved)
            WriteAppProfileInt("SelectedDevice", *test.saved);
        ScopedProgramLog log;
        std::vector<std::string> problems;
        DriveContext drives(Sources(tree, MakeEmulatedDrives("default", problems)));
        ASSERT_TRUE(drives.InitInterfaces());
        EXPECT_EQ(drives.GetDeviceComboSel(), test.selected);
        CDevice* current = drives.m_DeviceList[static_cast<std::size_t>(test.selected)].get();
        EXPECT_EQ(drives.m_pCurrentDevice, current);
        EXPECT_EQ(drives.m_ScsiCommand.GetCurrentDevice(), current);
        EXPECT_EQ(GetAppProfileString("SelectedDevice", "unset"), test.stored ? std::to_string(*test.stored) : "unset");
        EXPECT_NE(
            log.Text().find(" Device selected = emu" + std::to_string(test.selected) + " " + current->m_strIdentity),
            std::string::npos);
    }
}

TEST(DriveList, ASelectionWaitsForRunningTestsAndAReleaseLeavesNoCurrentDrive)
{
    FixtureTree tree;
    ScopedProfile profile;
    std::vector<std::string> problems;
    DriveContext drives(Sources(tree, MakeEmulatedDrives("dvd-writer:dvd+r,bd-writer:bd-re", problems)));
    ASSERT_TRUE(drives.InitInterfaces());
    CDevice* first = drives.m_pCurrentDevice;
    ASSERT_NE(first, nullptr);

    ScriptedPrompt prompt;
    drives.SetDeviceComboSel(1);
    g_bSpeedTestRunning = 1;
    EXPECT_EQ(drives.OnSelchangeDevicescombo(), SelectionOutcome::Refused);
    g_bSpeedTestRunning = 0;
    EXPECT_EQ(drives.OnSelchangeDevicescombo(true), SelectionOutcome::Refused);  // the scan window is open
    ASSERT_EQ(prompt.asked.size(), 2u);
    EXPECT_EQ(prompt.asked[0].text, "You must stop the test first");
    EXPECT_EQ(prompt.asked[0].caption, "Error Test Running!");
    EXPECT_EQ(prompt.asked[0].type, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_EQ(drives.m_pCurrentDevice, first);

    drives.m_DataBuffer[17] = 0xAB;
    EXPECT_EQ(drives.OnSelchangeDevicescombo(), SelectionOutcome::Selected);
    EXPECT_EQ(drives.m_pCurrentDevice, drives.m_DeviceList[1].get());
    EXPECT_EQ(drives.m_DataBuffer[17], 0);

    drives.ReleaseDevices();
    EXPECT_EQ(drives.m_pCurrentDevice, nullptr);
    EXPECT_EQ(drives.m_ScsiCommand.GetCurrentDevice(), nullptr);
    EXPECT_TRUE(drives.DeviceComboEntries().empty());
    *drives.m_ScsiCommand.Cdb(0) = 0x00;
    *drives.m_ScsiCommand.Cdb(5) = 0;
    EXPECT_EQ(drives.m_ScsiCommand.Execute(DataDirection::None, nullptr, 0), 1);  // refused, not sent to a freed record
    EXPECT_EQ(drives.m_ScsiCommand.LastErrorText(), "no drive is selected");
    EXPECT_EQ(drives.OnSelchangeDevicescombo(), SelectionOutcome::Fatal);
    EXPECT_EQ(prompt.asked.back().text, "Fatal Error Getting Selected Device");

    ASSERT_TRUE(drives.FillDeviceComboList());  // a rescan lists them again
    EXPECT_EQ(drives.DeviceComboEntries().size(), 2u);
}

TEST(DriveList, DisksAreListedOnceWithTheirBusAndOnlyRemovableOnesReachTheFlashTest)
{
    FixtureTree tree;
    tree.AddDisk("sda", kAtaPort, "ATA", "Samsung SSD 860 EVO 500GB", false);
    tree.AddDisk("sdb", kUsbPort, "SanDisk", "Cruzer Blade", true, "30031872");
    tree.AddDisk("sdc", "pci0000:00/0000:00:1f.2/ata3/host2/target2:0:0/2:0:0:0", "ATA", "WDC WD40EFRX-68N", false);
    tree.AddDisk("nvme0n1", kNvmePort, "", "Samsung SSD 970 EVO Plus 1TB", false);
    tree.AddDisk("sdd", kUsbPort, "Generic", "SD/MMC Reader", true, "0");  // no card in it
    tree.AddDisk("sde", kUsbPort, "HL-DT-ST", "DVDRAM GP57EB40", true, "2097152", "7");  // optical memory
    tree.AddEntry("loop0", "virtual");
    tree.AddEntry("sr0", kAtaPort);
    ScopedProgramLog log;
    DriveContext drives(Sources(tree));
    std::vector<std::string> waitBox;
    drives.Hooks().showWaitBox = [&](const std::string& text) { waitBox.push_back(text); };
    drives.Hooks().hideWaitBox = [&] { waitBox.push_back("hidden"); };

    std::string message;
    EXPECT_TRUE(drives.FlashTestDrives(message).empty());
    EXPECT_EQ(message, "No removable flash drives found");

    ASSERT_TRUE(drives.FillHDDComboList());
    EXPECT_EQ(waitBox, (std::vector<std::string>{"Scanning for hard drives...", "hidden"}));
    struct Expected {
        const char* driveText;
        const char* identity;
        int busType;
        bool removable;
    };
    const Expected expected[] = {
        {"nvme0n1", "Samsung SSD 970", kBusNvme, false},
        {"sda", "ATA     Samsung SSD 860", kBusSata, false},
        {"sdb", "SanDisk Cruzer Blade", kBusUsb, true},
        {"sdc", "ATA     WDC WD40EFRX-68N", kBusSata, false},
    };
    ASSERT_EQ(drives.m_HddList.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const CDevice& disk = *drives.m_HddList[i];
        EXPECT_EQ(disk.m_strDriveText, expected[i].driveText);
        EXPECT_EQ(disk.m_strIdentity, expected[i].identity);
        EXPECT_EQ(disk.m_nBusType, expected[i].busType);
        EXPECT_EQ(disk.m_bRemovable, expected[i].removable);
        EXPECT_EQ(disk.m_bDiskRecord, 1);
    }
    EXPECT_NE(log.Text().find(" FillHDDComboList() - Device Type not DTYPE_DASD\n"), std::string::npos);
    EXPECT_EQ(drives.HddTestDrives().size(), 4u);
    const auto flash = drives.FlashTestDrives(message);
    ASSERT_EQ(flash.size(), 1u);
    EXPECT_EQ(flash[0]->m_strDriveText, "sdb");  // the eSATA disk sdc is not flagged removable

    tree.AddDisk("sdf", kUsbPort, "Kingston", "DataTraveler 3.0", true);
    ASSERT_TRUE(drives.FillHDDComboList());
    EXPECT_EQ(drives.m_HddList.size(), 4u);  // built once per run
    drives.ReleaseDevices();
    ASSERT_TRUE(drives.FillHDDComboList());
    EXPECT_EQ(drives.m_HddList.size(), 5u);  // until a device change releases the lists
}

TEST(DriveList, TheFlashTestExplainsWhenNoDiskIsRemovable)
{
    FixtureTree tree;
    tree.AddDisk("sda", "pci0000:00/0000:00:1f.2/ata2/host1/target1:0:0/1:0:0:0", "ATA", "eSATA flash", false);
    DriveContext drives(Sources(tree));
    ASSERT_TRUE(drives.FillHDDComboList());
    std::string message;
    EXPECT_TRUE(drives.FlashTestDrives(message).empty());
    EXPECT_EQ(message, "No removable flash drives found (NOTE: eSata flash are not designated as removable)");
}

TEST(EmulateSetting, TheEnvironmentAddsEmulatedDrivesAndBadItemsAreShown)
{
    FixtureTree tree;
    ScopedEnv emulate(kEmulateVariable, "cd-reader:cd-r,nonsense");
    DriveSources sources = DriveSources::FromEnvironment();
    ASSERT_EQ(sources.emulated.size(), 1u);
    sources.sysBlockRoot = tree.SysBlock();
    sources.devRoot = tree.Dev();
    ScopedProfile profile;
    ScriptedPrompt prompt;
    DriveContext drives(std::move(sources));
    ASSERT_TRUE(drives.InitInterfaces());
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].caption, "Emulated drives");
    EXPECT_NE(prompt.asked[0].text.find("\"nonsense\" is not drive:medium"), std::string::npos);
    EXPECT_NE(prompt.asked[0].text.find("Drive presets: dvd-writer, bd-writer, cd-reader, aopen"), std::string::npos);
    EXPECT_EQ(drives.DeviceComboEntries(), std::vector<std::string>{"QNZEMU  CD-ROM QCD-5200 (emu0)"});

    ScopedEnv none(kEmulateVariable, nullptr);
    EXPECT_TRUE(DriveSources::FromEnvironment().emulated.empty());
}
