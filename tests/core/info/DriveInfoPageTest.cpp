#include "core/base/Format.h"
#include "core/app/MainDialogCore.h"
#include "core/info/DriveInfoPage.h"
#include "emu/DrivePresets.h"
#include "emu/MediaPresets.h"
#include "support/EmulatedDriveRig.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
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
        device.m_bRegionRead = true;
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
    device.m_bFeaturesRead = device.m_bCapabilitiesPageRead = true;
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

namespace {

// The lines of the report from the one that begins with `from` up to the
// first empty one, trailing blanks cut.
std::vector<std::string> ReportLines(ReportText& report, const std::string& from)
{
    std::vector<std::string> lines;
    bool started = false;
    for (int i = 0; i < ReportText::kReportLines; ++i) {
        std::string line = report.GetLine(i);
        line.erase(line.find_last_not_of(' ') + 1);
        if (!started && line.find(from) != std::string::npos) {
            started = true;
        } else if (!started) {
            continue;
        } else if (line.empty() || line[0] == ' ') {
            break;  // the end, or the next listing's title
        }
        lines.push_back(line);
    }
    return lines;
}

// The strict drive on the main window's core, interrogated as a selection does.
struct StrictDriveRig {
    explicit StrictDriveRig(const std::function<void(emu::EmulatedDrive&)>& prepare = {}) :
        rig("dvd-reader-strict", "dvd-rom"), core(rig.Sources())
    {
        if (prepare)
            prepare(*rig.drive);
        rig.MakeCurrent(core.m_Drives);
        selection = core.InterrogateSelectedDrive();
        info = core.InterrogateDriveInfo();
    }
    ScopedProgramLog log;
    EmulatedDriveRig rig;
    MainDialogCore core;
    SelectionFacts selection;
    DriveInfoFacts info;
};

}  // namespace

TEST(DriveInfoPage, TheStrictDriveShowsWhatItsAnswersHoldAndNothingElse)
{
    StrictDriveRig strict;
    EXPECT_EQ(strict.selection.mmcCompliant, 1);
    EXPECT_EQ(strict.selection.notice.messageBox, "");  // nothing failed that was not worked around
    EXPECT_EQ(strict.selection.mediaTypeName, "DVD-ROM");
    const DriveInfoPage& page = strict.info.page;
    EXPECT_EQ(page.texts.at(IDC_LOADER_TYPE), "     Tray");  // page 2Ah byte 6
    EXPECT_EQ(page.texts.at(IDC_DRIVE_INTERFACE), "ATAPI");  // the Core feature
    EXPECT_EQ(page.texts.at(IDC_CONNECTION_INTERFACE), "ATAPI");
    EXPECT_EQ(page.texts.at(IDC_SERIAL_NO), "QDR16500001");
    EXPECT_EQ(page.texts.at(IDC_BUFFER_SIZE), "256KB");
    EXPECT_EQ(page.texts.at(IDC_REGION_CODE), "2");  // a DVD drive: its region state was read
    EXPECT_EQ(page.texts.at(IDC_REGION_CONTROL), "RPC-2");
    EXPECT_EQ(strict.core.m_Report.GetStatusText(), "Ready - DVD-ROM Loaded");

    // Page 2Ah reads 1Fh (CD-R, CD-RW, method 2, DVD-ROM, DVD-R and -RW), writes
    // nothing, and gives multi-session (71h); the features add DVD-ROM, CD
    // multi-read, power management, CSS and streaming. Every box is known.
    const std::set<int> ticked = {IDC_READ_CD_R,        IDC_READ_CD_RW,        IDC_READ_CD_METHOD2, IDC_READ_DVD_ROM,
                                  IDC_READ_DVD_MINUS_R, IDC_READ_DVD_MINUS_RW, IDC_READ_CD_MULTI,   IDC_MULTISESSION,
                                  IDC_POWER_MANAGEMENT, IDC_CSS_CPPM,          IDC_STREAMING};
    for (const auto& [id, state] : page.boxes) {
        EXPECT_NE(state, kUnknownBox) << id;
        EXPECT_EQ(state, ticked.count(id) ? 1 : 0) << id;
    }

    // The listings hold the drive's two profiles and every feature it gave
    // from feature 0 on; its pages, 2Ah first.
    strict.core.ListDriveFeaturesProfiles();
    const std::vector<std::string> profiles = ReportLines(strict.core.m_Report, "Drive Profiles");
    ASSERT_EQ(profiles.size(), 5u);
    EXPECT_EQ(profiles[1], "Current Profile 0010h");
    EXPECT_EQ(profiles[2].substr(0, 30), "Profile 0000h Reserved Profile");
    EXPECT_EQ(profiles[3].substr(0, 31), "Profile 0010h DVD-ROM Read Only");
    EXPECT_EQ(profiles[3].substr(64), "(Current)");
    EXPECT_EQ(profiles[4], "Profile 0008h CD-ROM Read Only");
    std::vector<std::string> features;
    for (const std::string& line : ReportLines(strict.core.m_Report, "Drive Features"))
        if (line.rfind("Feature ", 0) == 0)
            features.push_back(line.substr(8, 5));
    std::vector<std::string> given = {"0000h"};
    for (const emu::FeatureDescriptor& feature : strict.rig.drive->Identity().features)
        given.push_back(Format("%04xh", feature.code));
    EXPECT_EQ(features, given);
    EXPECT_EQ(strict.core.m_Report.GetStatusText(), "Ready");

    strict.core.ListDriveModePages();
    std::vector<std::string> pages;
    for (const std::string& line : ReportLines(strict.core.m_Report, "Drive Mode pages"))
        pages.push_back(line.substr(line.size() - 3));
    EXPECT_EQ(pages, (std::vector<std::string>{"ges", "2Ah", " 1h", " Dh", " Eh", "1Ah", "1Dh"}));  // title first
}

TEST(DriveInfoPage, WhatADriveWouldNotTellIsShownAsUnknown)
{
    // No mode page at all: the loader, buffer and the boxes of page 2Ah are
    // unknown; the drive class follows the profile list, so the region is read.
    StrictDriveRig noPages([](emu::EmulatedDrive& drive) {
        drive.AddErrorRule(emu::ErrorRule::CheckCondition(0x5A, emu::sense::kInvalidFieldInCdb));
    });
    const DriveInfoPage& page = noPages.info.page;
    EXPECT_EQ(page.texts.at(IDC_LOADER_TYPE), "N/A");
    EXPECT_EQ(page.texts.count(IDC_BUFFER_SIZE), 0u);
    EXPECT_EQ(page.texts.at(IDC_REGION_CODE), "2");
    EXPECT_EQ(page.boxes.at(IDC_READ_DVD_ROM), kUnknownBox);
    EXPECT_EQ(page.boxes.at(IDC_MULTISESSION), kUnknownBox);
    EXPECT_EQ(page.boxes.at(IDC_READ_CD_R), 0);  // the profiles say so
    EXPECT_EQ(page.boxes.at(IDC_CSS_CPPM), 1);
    EXPECT_EQ(noPages.selection.mmcCompliant, 0);
    EXPECT_NE(noPages.selection.notice.messageBox.find(
                  "MODE SENSE(10) (5Ah) failed: Illegal Request - Invalid field in CDB (sense 5/24/00)"),
              std::string::npos);

    // No feature list: the interface, the serial number and the feature boxes
    // are unknown, and the message says which command failed and why; the
    // capabilities page is still read.
    StrictDriveRig noFeatures([](emu::EmulatedDrive& drive) {
        drive.AddErrorRule(emu::ErrorRule::Refusal(emu::ErrorRule::Kind::TransportFailure, 0x46, 0x46));
    });
    const DriveInfoPage& bare = noFeatures.info.page;
    EXPECT_EQ(bare.texts.at(IDC_DRIVE_INTERFACE), "N/A");
    EXPECT_EQ(bare.texts.at(IDC_SERIAL_NO), "N/A");
    EXPECT_EQ(bare.boxes.at(IDC_CSS_CPPM), kUnknownBox);
    EXPECT_EQ(bare.boxes.at(IDC_WRITE_DVD_PLUS_R), kUnknownBox);
    EXPECT_EQ(bare.boxes.at(IDC_READ_DVD_PLUS_R), kUnknownBox);
    EXPECT_EQ(bare.boxes.at(IDC_READ_DVD_ROM), 1);  // page 2Ah was read
    EXPECT_EQ(bare.texts.at(IDC_LOADER_TYPE), "     Tray");
    EXPECT_NE(noFeatures.info.notice.messageBox.find("GET CONFIGURATION (46h) could not be sent"), std::string::npos);
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
    const auto reportKeys = rig.CdbsOf(0xA4);
    const std::vector<std::uint8_t> regionAsked = {0xA4, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0x08, 0};
    EXPECT_TRUE(!reportKeys.empty() && reportKeys.back() == regionAsked);

    // A refused REPORT KEY leaves the region state unknown, not as it was;
    // without a disc the status says so.
    rig.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0xA4, emu::sense::kInvalidFieldInCdb));
    rig.drive->EjectMedium();
    const DriveInfoPage refused = core.InterrogateDriveInfo().page;
    for (int id : {IDC_USER_CHANGES, IDC_VENDOR_CHANGES, IDC_REGION_CODE, IDC_REGION_CONTROL})
        EXPECT_EQ(refused.texts.at(id), "N/A");
    EXPECT_EQ(core.m_Report.GetStatusText(), "Ready - No Media loaded");
}

TEST(DriveInfoPage, AsTextEachFieldWithItsLabelAndTheBoxesByGroup)
{
    DriveInfoPage page;
    page.texts[IDC_MODEL] = "QNZEMU  DVD-RW QDW-2040S";
    page.texts[IDC_FIRMWARE] = "1.00";
    page.texts[IDC_LOADER_TYPE] = "     Tray";
    page.boxes[IDC_READ_CD_R] = 1;
    page.boxes[IDC_READ_DVD_ROM] = 1;
    page.boxes[IDC_READ_BD_R] = 0;
    page.boxes[IDC_WRITE_DVD_PLUS_R] = 1;
    page.boxes[IDC_WRITE_DVD_RAM] = kUnknownBox;
    page.boxes[IDC_SMART] = kUnknownBox;
    page.boxes[IDC_TEST_WRITE] = 1;
    const std::string text = DriveInfoPageText(page);
    const auto lineOf = [&](const std::string& start) {
        const auto at = text.find("\n" + start);
        return at == std::string::npos ? std::string() : text.substr(at + 1, text.find('\n', at + 1) - at - 1);
    };
    EXPECT_EQ(text.substr(0, text.find('\n')), "QNZEMU  DVD-RW QDW-2040S");
    EXPECT_EQ(lineOf("Firmware Revision"), "Firmware Revision:      1.00");
    EXPECT_EQ(lineOf("Loader Type"), "Loader Type:            Tray");
    EXPECT_EQ(lineOf("Serial No"), "Serial No:");
    EXPECT_EQ(lineOf("Reads"), "Reads:                  CD-R, DVD-ROM");
    EXPECT_EQ(lineOf("Writes"), "Writes:                 DVD+R");
    EXPECT_EQ(lineOf("Features"), "Features:               Test Write");
    EXPECT_EQ(lineOf("Not told"), "Not told by the drive:  DVD-RAM write, S.M.A.R.T");
    EXPECT_EQ(text.back(), '\n');
}
