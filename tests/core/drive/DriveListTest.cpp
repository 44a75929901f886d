#include "SysBlockTree.h"
#include "core/base/AppProfile.h"
#include "core/base/BusyFlags.h"
#include "core/base/MessageIds.h"
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

std::shared_ptr<emu::EmulatedDrive> Emulated(const char* drive, const char* medium)
{
    std::string error;
    auto made = emu::MakeEmulatedDrive(drive, medium, std::make_shared<emu::ManualClock>(), &error);
    EXPECT_TRUE(made) << error;
    return made;
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
    drives.list.hooks.driveAdded = [&](const std::string& message, const std::string& title) {
        shown.emplace_back(message, title);
    };

    ASSERT_TRUE(drives.list.FillDeviceComboList());
    EXPECT_EQ(drives.list.DeviceComboEntries(),
              (std::vector<std::string>{"QNZEMU  DVD-RW QDW-2040S (sr0)", "QNZEMU  BD-RE QBR-1240 (emu0)"}));
    EXPECT_EQ(drives.list.GetDeviceComboSel(), 0);
    ASSERT_EQ(drives.list.m_DeviceList.size(), 2u);
    EXPECT_EQ(drives.list.m_DeviceList[1]->m_nEnumIndex, 1);  // the drives that gave no answer are not counted
    EXPECT_EQ(drives.list.m_DeviceList[1]->m_strFirmware, "2.10");
    EXPECT_EQ(drives.list.m_DeviceList[0]->m_nBusType, kBusAtapi);
    EXPECT_EQ(shown,
              (std::vector<std::pair<std::string, std::string>>{
                  {" Adding drive QNZEMU  DVD-RW QDW-2040S", "Quenzario Drive Scan 25% Complete"},
                  {" Adding drive QNZEMU  BD-RE QBR-1240", "Quenzario Drive Scan 100% Complete"}}));
    EXPECT_EQ(drives.list.m_pCurrentDevice, nullptr);  // no record stays current after its probe
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
        const DriveListResult started = drives.list.InitInterfaces();
        EXPECT_FALSE(started);
        EXPECT_TRUE(prompt.asked.empty());  // the list shows nothing itself: its caller does
        ASSERT_EQ(started.messages.size(), 2u);
        std::string reason = test.reason.empty() ? "sr0 is not an optical drive" : test.reason;
        if (const auto at = reason.find("DEV"); at != std::string::npos)
            reason.replace(at, 3, tree.Dev());
        EXPECT_EQ(started.messages[0].text,
                  "No optical devices were found. Quenzario cannot run without one drive at least\n\n" + reason);
        EXPECT_EQ(started.messages[1].text, kNoUsableDriveMessage);
        ShowDriveListMessages(started.messages);
        ASSERT_EQ(prompt.asked.size(), 2u);
        EXPECT_EQ(prompt.asked[0].text, started.messages[0].text);
        EXPECT_EQ(prompt.asked[1].text, started.messages[1].text);
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
        ASSERT_TRUE(drives.list.InitInterfaces());
        EXPECT_EQ(drives.list.GetDeviceComboSel(), test.selected);
        CDevice* current = drives.list.m_DeviceList[static_cast<std::size_t>(test.selected)].get();
        EXPECT_EQ(drives.list.m_pCurrentDevice, current);
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
    ASSERT_TRUE(drives.list.InitInterfaces());
    CDevice* first = drives.list.m_pCurrentDevice;
    ASSERT_NE(first, nullptr);

    const DriveListMessage stopFirst("You must stop the test first", "Error Test Running!", MB_OK | MB_ICONEXCLAMATION);
    drives.list.SetDeviceComboSel(1);
    g_bSpeedTestRunning = 1;
    const SelectionResult whileTesting = drives.list.OnSelchangeDevicescombo();
    g_bSpeedTestRunning = 0;
    EXPECT_EQ(whileTesting.outcome, SelectionOutcome::Refused);
    EXPECT_EQ(whileTesting.messages, std::vector<DriveListMessage>{stopFirst});
    const SelectionResult whileScanning = drives.list.OnSelchangeDevicescombo(true);  // the scan window is open
    EXPECT_EQ(whileScanning.outcome, SelectionOutcome::Refused);
    EXPECT_EQ(whileScanning.messages, std::vector<DriveListMessage>{stopFirst});
    EXPECT_EQ(drives.list.m_pCurrentDevice, first);

    drives.m_DataBuffer[17] = 0xAB;
    const SelectionResult selected = drives.list.OnSelchangeDevicescombo();
    EXPECT_EQ(selected.outcome, SelectionOutcome::Selected);
    EXPECT_TRUE(selected.messages.empty());
    EXPECT_EQ(drives.list.m_pCurrentDevice, drives.list.m_DeviceList[1].get());
    EXPECT_EQ(drives.m_DataBuffer[17], 0);

    drives.list.ReleaseDevices();
    EXPECT_EQ(drives.list.m_pCurrentDevice, nullptr);
    EXPECT_EQ(drives.m_ScsiCommand.GetCurrentDevice(), nullptr);
    EXPECT_TRUE(drives.list.DeviceComboEntries().empty());
    *drives.m_ScsiCommand.Cdb(0) = 0x00;
    *drives.m_ScsiCommand.Cdb(5) = 0;
    EXPECT_EQ(drives.m_ScsiCommand.Execute(DataDirection::None, nullptr, 0), 1);  // refused, not sent to a freed record
    EXPECT_EQ(drives.m_ScsiCommand.LastErrorText(), "no drive is selected");
    const SelectionResult none = drives.list.OnSelchangeDevicescombo();
    EXPECT_EQ(none.outcome, SelectionOutcome::Fatal);
    ASSERT_FALSE(none.messages.empty());
    EXPECT_EQ(none.messages.back().text, "Fatal Error Getting Selected Device");

    ASSERT_TRUE(drives.list.FillDeviceComboList());  // a rescan lists them again
    EXPECT_EQ(drives.list.DeviceComboEntries().size(), 2u);
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
    DriveContext drives(std::move(sources));
    const DriveListResult started = drives.list.InitInterfaces();
    ASSERT_TRUE(started);
    ASSERT_EQ(started.messages.size(), 1u);
    EXPECT_EQ(started.messages[0].caption, "Emulated drives");
    EXPECT_NE(started.messages[0].text.find("\"nonsense\" is not drive:medium"), std::string::npos);
    EXPECT_NE(started.messages[0].text.find(
                  "Drive presets: dvd-writer, bd-writer, cd-reader, dvd-reader-strict, usb-dvd-reader, aopen"),
              std::string::npos);
    EXPECT_EQ(drives.list.DeviceComboEntries(), std::vector<std::string>{"QNZEMU  CD-ROM QCD-5200 (emu0)"});

    ScopedEnv none(kEmulateVariable, nullptr);
    EXPECT_TRUE(DriveSources::FromEnvironment().emulated.empty());
}
