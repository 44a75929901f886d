#include "EmuTestHelpers.h"
#include "emu/DrivePresets.h"
#include "emu/EmulatedDrive.h"
#include "emu/MediaPresets.h"

#include <gtest/gtest.h>

using namespace emu;

namespace {

std::vector<std::uint8_t> ReportKey(std::uint8_t keyFormat, std::uint16_t allocation)
{
    std::vector<std::uint8_t> cdb(12, 0);
    cdb[0] = 0xA4;
    scsi::PutBe16(&cdb[8], allocation);
    cdb[10] = keyFormat;
    return cdb;
}

}  // namespace

TEST(RegionState, DvdDrivesReportTheirRpcStateAndCdDrivesDoNotKnowTheCommand)
{
    auto identity = FindDrivePreset("dvd-writer");
    ASSERT_TRUE(identity);
    identity->region = {.typeCode = 2, .vendorResetsLeft = 3, .userChangesLeft = 1, .regionMask = 0xEF, .rpcScheme = 1};
    EmulatedDrive drive(*identity, std::make_shared<ManualClock>());

    // Without a disc too: the region state belongs to the drive.
    const Answer state = Send(drive, ReportKey(0x08, 8), 8);
    ASSERT_EQ(state.result.outcome, Outcome::Good);
    const std::vector<std::uint8_t> expected = {0x00, 0x06, 0x00, 0x00, 0x80 | (3 << 3) | 1, 0xEF, 0x01, 0x00};
    EXPECT_EQ(state.Received(), expected);
    EXPECT_EQ(Send(drive, ReportKey(0x08, 4), 4).Received().size(), 4u);  // cut to the allocation length

    EXPECT_EQ(Send(drive, ReportKey(0x00, 8), 8).SenseCode(), sense::kInvalidFieldInCdb);  // AGID of CSS
    auto cdReader = Drive("cd-reader", "cd-rom");
    EXPECT_EQ(Send(*cdReader, ReportKey(0x08, 8), 8).SenseCode(), sense::kInvalidOpcode);
}

TEST(TrayListener, HearsEveryChangeOfTrayOrDiscOnceAndNothingAfterRemoval)
{
    auto drive = Drive("dvd-writer", "dvd+r");
    int heard = 0;
    const int id = drive->AddTrayListener([&heard] { ++heard; });

    drive->EjectMedium();
    EXPECT_EQ(heard, 1);
    drive->RemoveMedium();
    EXPECT_EQ(heard, 2);
    ASSERT_TRUE(drive->LoadMedium(*FindMediumPreset("dvd-rw")));
    EXPECT_EQ(heard, 3);
    // Commands that leave tray and disc alone are not heard; START STOP UNIT is.
    Send(*drive, kTestUnitReady);
    Send(*drive, {0x1E, 0, 0, 0, 0, 0});
    EXPECT_EQ(heard, 3);
    Send(*drive, {0x1B, 0x01, 0, 0, 0x02, 0});
    EXPECT_TRUE(drive->TrayOpen());
    EXPECT_EQ(heard, 4);

    drive->RemoveTrayListener(id);
    ASSERT_TRUE(drive->InsertMedium(*FindMediumPreset("dvd-rw")));
    EXPECT_EQ(heard, 4);
}
