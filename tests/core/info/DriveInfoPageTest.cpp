#include "core/app/MainDialogCore.h"
#include "core/info/DriveInfoPage.h"
#include "emu/DrivePresets.h"
#include "emu/MediaPresets.h"
#include "support/EmulatedDriveRig.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

struct RegionCase {
    int dvdDrive, userChanges, vendorResets, typeCode, mask, scheme;
    const char *user, *vendor, *code, *control;
};

}  // namespace

TEST(DriveInfoPage, RegionStateTexts)
{
    const std::vector<RegionCase> cases = {
        {0, 4, 4, 1, 0xFD, 1, "N/A", "N/A", "N/A", "N/A"},  // no DVD drive
        {1, 4, 3, 1, 0xFD, 1, "4", "3", "2", "RPC-2"},
        {1, 5, 4, 0, 0xFD, 1, "5", "4", "Unset", "RPC-2"},  // no region set yet
        {1, 0, 0, 0, 0, 0, "N/A", "N/A", "All", "RPC-1"},  // region free
        {1, 1, 0, 1, 0x7F, 0, "1", "0", "8", "RPC-1"},
        {1, 1, 0, 1, 0xFF, 1, "1", "0", "Unset", "RPC-2"},
        {1, 1, 0, 1, 0xFC, 1, "1", "0", "1,2", "RPC-2"},  // several regions
        {1, 1, 0, 1, 0xFE, 2, "1", "0", "1", "N/A"},
    };
    for (const RegionCase& c : cases) {
        CDevice device;
        device.m_bDvdDrive = c.dvdDrive;
        device.m_nUserChangesLeft = c.userChanges;
        device.m_nVendorResetsLeft = c.vendorResets;
        device.m_nRegionTypeCode = c.typeCode;
        device.m_nRegionMask = c.mask;
        device.m_nRpcScheme = c.scheme;
        const DriveInfoPage page = MakeDriveInfoPage(device, 0x20);
        EXPECT_EQ(page.texts.at(IDC_USER_CHANGES), c.user) << c.mask;
        EXPECT_EQ(page.texts.at(IDC_VENDOR_CHANGES), c.vendor) << c.mask;
        EXPECT_EQ(page.texts.at(IDC_REGION_CODE), c.code) << c.mask;
        EXPECT_EQ(page.texts.at(IDC_REGION_CONTROL), c.control) << c.mask;
    }
}

TEST(DriveInfoPage, NamesOfInterfaceBusAndLoader)
{
    EXPECT_EQ(PhysicalInterfaceName(7), " Serial ATA");
    EXPECT_EQ(PhysicalInterfaceName(9), "Unknown");
    EXPECT_EQ(PhysicalInterfaceName(0xFFFF), "Vendor Unique");
    EXPECT_EQ(StorageBusName(11), "SATA");
    EXPECT_EQ(StorageBusName(-1), "---");
    EXPECT_EQ(StorageBusName(14), "---");
    EXPECT_EQ(LoaderName(0x00), "Slot/Caddy");
    EXPECT_EQ(LoaderName(0x20), "     Tray");
    for (std::uint8_t unknown : {std::uint8_t{3 << 5}, std::uint8_t{7 << 5}})
        EXPECT_EQ(LoaderName(unknown), "  Unknown");
}

TEST(DriveInfoPage, TextsOfTheRecordAndTheDvdPlusReadRule)
{
    CDevice device;
    device.m_strIdentity = "QNZEMU  DVD-RW QDW-2040S";
    device.m_strVendorSpecific = " X ";
    device.m_strFirmware = "1.2";
    device.m_nBufferSizeKB = 0;
    device.m_nVolumeLevels = 256;
    device.m_bDvdPlusRWrite = 1;  // writes DVD+R, says nothing of reading it
    DriveInfoPage page = MakeDriveInfoPage(device, 0x20);
    EXPECT_EQ(page.texts.at(IDC_EXTRA_INFO), "");  // one character is no extra information
    EXPECT_EQ(page.texts.at(IDC_FIRMWARE), " 1.2");  // "%4s"
    EXPECT_EQ(page.texts.count(IDC_BUFFER_SIZE), 0u);  // no buffer size: the field keeps its text
    EXPECT_EQ(page.texts.at(IDC_VOLUME_LEVELS), "256");
    EXPECT_EQ(page.boxes.at(IDC_READ_DVD_PLUS_R), 1);
    EXPECT_EQ(page.boxes.at(IDC_READ_DVD_PLUS_RW), 0);

    device.m_bDvdPlusRRead = 1;
    page = MakeDriveInfoPage(device, 0x20);
    EXPECT_EQ(device.m_bDvdPlusRwRead, 1);  // a DVD+R reader reads DVD+RW
    EXPECT_EQ(page.boxes.at(IDC_READ_DVD_PLUS_RW), 1);
}

TEST(DriveInfoPage, EveryControlHasOneBoxOrFieldAndATooltip)
{
    std::set<int> ids;
    int tooltips = 0;
    for (const CapabilityBox& box : CapabilityBoxes()) {
        EXPECT_TRUE(ids.insert(box.id).second) << box.id;
        EXPECT_FALSE(CapabilityTooltip(box).empty());
        ++tooltips;
    }
    for (const DriveInfoField& field : DriveInfoFields()) {
        EXPECT_TRUE(ids.insert(field.id).second) << field.id;
        ++tooltips;
    }
    EXPECT_EQ(tooltips, 96);
    CDevice device;
    EXPECT_EQ(MakeDriveInfoPage(device, 0).boxes.size(), 76u);  // the unused boxes are left alone
}

TEST(DriveInfoPage, TheEmulatedDvdWriterIsInterrogatedWithItsRegionState)
{
    auto identity = emu::FindDrivePreset("dvd-writer");
    ASSERT_TRUE(identity);
    identity->region = {.typeCode = 0, .vendorResetsLeft = 4, .userChangesLeft = 5, .regionMask = 0xFF, .rpcScheme = 1};
    EmulatedDriveRig rig("dvd-writer", "dvd+r");
    rig.drive = std::make_shared<emu::EmulatedDrive>(*identity, rig.clock);
    ASSERT_TRUE(rig.drive->InsertMedium(*emu::FindMediumPreset("dvd+r")));
    ScopedProgramLog log;
    MainDialogCore core(rig.Sources());
    rig.MakeCurrent(core.m_Drives);

    const DriveInfoFacts facts = core.InterrogateDriveInfo();
    EXPECT_TRUE(facts.notice.messageBox.empty());
    EXPECT_EQ(facts.page.texts.at(IDC_REGION_CODE), "Unset");
    EXPECT_EQ(facts.page.texts.at(IDC_USER_CHANGES), "5");
    EXPECT_EQ(facts.page.texts.at(IDC_REGION_CONTROL), "RPC-2");
    EXPECT_EQ(facts.page.texts.at(IDC_SERIAL_NO), "QDW20400001");
    EXPECT_EQ(facts.page.boxes.at(IDC_WRITE_DVD_PLUS_R), 1);
    EXPECT_EQ(core.m_Drives.list.m_pCurrentDevice->m_bDriveInfoRead, 1);
    EXPECT_EQ(core.m_Report.GetStatusText(), "Ready - DVD+R Loaded");
    bool reportKey = false;
    for (const auto& cdb : rig.Cdbs())
        if (cdb[0] == 0xA4)
            reportKey = cdb == std::vector<std::uint8_t>{0xA4, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0x08, 0};
    EXPECT_TRUE(reportKey);

    // A refused REPORT KEY leaves the region state as it was; without a disc
    // the status says so.
    rig.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0xA4, emu::sense::kInvalidFieldInCdb));
    rig.drive->EjectMedium();
    EXPECT_EQ(core.InterrogateDriveInfo().page.texts.at(IDC_USER_CHANGES), "5");
    EXPECT_EQ(core.m_Report.GetStatusText(), "Ready - No Media loaded");
}
