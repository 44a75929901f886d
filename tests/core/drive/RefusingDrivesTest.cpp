#include "WrapperRig.h"
#include "core/drive/CapabilityWalks.h"
#include "core/drive/CommandBlock.h"
#include "emu/DrivePresets.h"
#include "scsi/Bytes.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

// Real drives refuse valid requests: each refusal of the strict ATAPI drive
// (INVALID FIELD IN CDB, INVALID COMMAND OPERATION CODE) and of the same drive
// behind a bridge that loses what the drive does not know is worked around as
// a careful MMC tool does, after the first try the other drives answer.

namespace {

using Cdb = std::vector<std::uint8_t>;

}  // namespace

TEST(RefusingDrives, EachRefusalIsWorkedAround)
{
    struct Case {
        const char* name;
        std::function<void(WrapperRig&)> check;
    };
    const Case cases[] = {
        {"the page list is asked again, then the pages one by one, 2Ah first",
         [](WrapperRig& rig) {
             EXPECT_EQ(rig.context.mmc.TestMMCCompliant(), 1);
             const auto modeSense = rig.CdbsOf(0x5A);
             ASSERT_EQ(modeSense.size(), 3u);
             EXPECT_EQ(modeSense[0], (Cdb{0x5A, 0, 0x3F, 0, 0, 0, 0, 0x00, 0xFC, 0}));  // the first try stays
             EXPECT_EQ(modeSense[1], (Cdb{0x5A, 0, 0x3F, 0, 0, 0, 0, 0x08, 0x00, 0}));
             EXPECT_EQ(modeSense[2], (Cdb{0x5A, 0, 0x2A, 0, 0, 0, 0, 0x00, 0xFC, 0}));
         }},
        {"the features come from the list from feature 0",
         [](WrapperRig& rig) {
             ASSERT_TRUE(rig.context.configuration.GetDriveConfiguration());
             const auto configuration = rig.CdbsOf(0x46);
             ASSERT_GE(configuration.size(), 3u);
             EXPECT_EQ(scsi::GetBe16(&configuration[2][2]), 0x0001);  // asked from the Core feature first
             const CDevice& device = rig.Record();
             EXPECT_TRUE(device.m_bFeaturesRead);
             EXPECT_EQ(device.m_bDvdRom, 1);  // feature 001Fh
             EXPECT_EQ(device.m_bCssCppm, 1);  // feature 0106h
             EXPECT_TRUE(device.m_bPhysicalInterfaceRead);
             EXPECT_EQ(device.m_nPhysicalInterface, 2);
             EXPECT_TRUE(device.m_bSerialNumberRead);
             EXPECT_EQ(device.m_szSerialNumber, rig.drive->Identity().serialNumber);
             EXPECT_TRUE(device.m_bCapabilitiesPageRead);
             EXPECT_EQ(device.m_bDvdDrive, 1);
             EXPECT_EQ(device.m_nBufferSizeKB, 256);
         }},
        {"the disc's extent comes from READ CAPACITY",
         [](WrapperRig& rig) {
             EXPECT_EQ(rig.context.media.GetMediaCapacity(), 1999999);
             EXPECT_EQ(rig.CdbsOf(0xAC).size(), 1u);
             EXPECT_EQ(rig.Cdbs().back()[0], 0x25);
         }},
        {"blocks are read without the format capacities",
         [](WrapperRig& rig) {
             std::vector<std::uint8_t> block(2048, 0);
             EXPECT_EQ(rig.context.reads.ReadBlocks(block.data(), block.size(), 16, 1, true), 0);
             WrapperNotice notice;
             EXPECT_EQ(rig.context.reads.GetFormatCapacities(block.data(), 2048, &notice), 0);
             EXPECT_EQ(notice.status, "Error, SCSI_Cmd_ReadFormatCapacities");
         }},
        {"track information is not there to read",
         [](WrapperRig& rig) {
             std::vector<std::uint8_t> track(48, 0);
             EXPECT_FALSE(rig.context.reads.ReadTrackInformation(track.data(), 48, 1));
         }},
    };
    for (const char* preset : {"dvd-reader-strict", "usb-dvd-reader"}) {
        for (const Case& test : cases) {
            SCOPED_TRACE(std::string(preset) + ": " + test.name);
            WrapperRig rig(preset, "dvd-rom");
            test.check(rig);
        }
    }
}

TEST(RefusingDrives, TheRefusalsAreTheOnesRealDrivesGive)
{
    struct Case {
        const char* preset;
        Cdb cdb;
        std::uint32_t length;
        bool lost;  // a transport failure without sense
        emu::Sense sense;
    };
    const emu::Sense invalidField = emu::sense::kInvalidFieldInCdb;
    const emu::Sense invalidOpcode = emu::sense::kInvalidOpcode;
    // clang-format off
    const Case cases[] = {
        {"dvd-reader-strict", {0x5A, 0, 0x3F, 0, 0, 0, 0, 0x08, 0x00, 0},             2048, false, invalidField},
        {"dvd-reader-strict", {0x46, 0x00, 0x00, 0x01, 0, 0, 0, 0x08, 0x00, 0},       2048, false, invalidField},
        {"dvd-reader-strict", {0x46, 0x02, 0x01, 0x08, 0, 0, 0, 0x08, 0x00, 0},       2048, false, invalidField},
        {"dvd-reader-strict", {0xAC, 0x10, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0},             2048, false, invalidOpcode},
        {"dvd-reader-strict", {0x23, 0, 0, 0, 0, 0, 0, 0, 0x0C, 0},                   12,   false, invalidOpcode},
        {"dvd-reader-strict", {0x52, 0x01, 0, 0, 0, 1, 0, 0, 0x30, 0},                48,   false, invalidOpcode},
        {"usb-dvd-reader",    {0x5A, 0, 0x3F, 0, 0, 0, 0, 0x08, 0x00, 0},             2048, false, invalidField},
        {"usb-dvd-reader",    {0xAC, 0x10, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0},             2048, true,  {}},
        {"usb-dvd-reader",    {0x23, 0, 0, 0, 0, 0, 0, 0, 0x0C, 0},                   12,   true,  {}},
        {"usb-dvd-reader",    {0x52, 0x01, 0, 0, 0, 1, 0, 0, 0x30, 0},                48,   true,  {}},
        {"usb-dvd-reader",    {0xE7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},                0,    true,  {}},
    };
    // clang-format on
    for (const Case& test : cases) {
        SCOPED_TRACE(std::string(test.preset) + " " + std::to_string(test.cdb[0]));
        WrapperRig rig(test.preset, "dvd-rom");
        std::vector<std::uint8_t> answer(std::max<std::uint32_t>(test.length, 1), 0);
        CommandBlock block(test.cdb[0], test.cdb.size());
        for (std::size_t i = 1; i < test.cdb.size(); ++i)
            block.Set(i, test.cdb[i]);
        EXPECT_EQ(block.Execute(rig.context.m_ScsiCommand, test.length ? DataDirection::In : DataDirection::None,
                                test.length ? answer.data() : nullptr, test.length),
                  1);
        EXPECT_EQ(rig.context.m_ScsiCommand.LastError(),
                  test.lost ? PassThroughError::Transport : PassThroughError::None);
        if (!test.lost) {
            EXPECT_EQ(rig.LastSense(), test.sense);
        }
    }
    // What they refuse as a list they give one at a time.
    WrapperRig rig("dvd-reader-strict", "dvd-rom");
    std::vector<std::uint8_t> page(252, 0);
    EXPECT_EQ(CommandBlock(0x5A).Set(2, 0x2A).SetBe16(7, 252).Execute(rig.context.m_ScsiCommand, DataDirection::In,
                                                                      page.data(), 252),
              0);
    EXPECT_EQ(page[8] & 0x3F, 0x2A);
    std::vector<std::uint8_t> features(2048, 0);
    EXPECT_EQ(rig.context.mmc.GetConfiguration(0, 0, features.data(), 2048), 0);
    EXPECT_TRUE(FindFeature(features, 0x0108).has_value());
}
