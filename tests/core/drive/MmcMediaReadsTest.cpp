#include "WrapperRig.h"
#include "core/drive/CommandBlock.h"
#include "core/drive/DriveContext.h"
#include "emu/DrivePresets.h"
#include "emu/MediaPresets.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"
#include "support/EmulatedDriveRig.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

using scsi::GetBe32;

TEST(MmcMediaReads, TrackAndCapacity)
{
    WrapperRig rig("dvd-writer", "dvd+r");
    std::uint8_t track[48] = {};
    EXPECT_TRUE(rig.context.reads.ReadTrackInformation(track, sizeof track, 1));
    EXPECT_EQ(rig.Cdbs().back(), (Bytes{0x52, 0x01, 0, 0, 0, 0x01, 0, 0x00, 0x30, 0}));
    EXPECT_EQ(GetBe32(&track[24]), 2100000u);
    EXPECT_FALSE(rig.context.reads.ReadTrackInformation(track, sizeof track, 2));

    rig.drive->ClearJournal();
    EXPECT_EQ(rig.context.reads.ReadCapacity(), 2099999);
    EXPECT_EQ(rig.Cdbs(), (std::vector<Bytes>{kTestUnitReady, {0x25, 0, 0, 0, 0, 0, 0, 0, 0, 0}}));

    WrapperRig empty("dvd-writer", "none");
    EXPECT_EQ(empty.context.reads.ReadCapacity(), 0);
    EXPECT_EQ(empty.Cdbs(), std::vector<Bytes>{kTestUnitReady});  // nothing read without a disc
}

TEST(MmcMediaReads, DiscStructures)
{
    WrapperRig rig("bd-writer", "bd-r");
    BDDiscInfo info{};
    EXPECT_EQ(rig.context.reads.GetBDDiStruct(info), 0);
    EXPECT_EQ(rig.Cdbs().back(), (Bytes{0xAD, 0x01, 0, 0, 0, 0, 0, 0x00, 0x10, 0x04, 0, 0}));
    EXPECT_EQ(std::string(info.identifier, 2), "DI");
    EXPECT_EQ(std::string(info.discTypeId, 3), "BDR");
    EXPECT_EQ(std::string(info.manufacturerId, 6), "VERBAT");
    EXPECT_EQ(std::string(info.mediaTypeId, 3), "IMe");
    EXPECT_EQ(info.productRevision, 0x01);
    EXPECT_EQ(info.unitsPerBlock >> 3, 1);  // one unit in the block, for layer 0
    EXPECT_EQ(info.sequenceNumber, 0);
    EXPECT_EQ(info.bytesInUse, 112);
    EXPECT_EQ(BdLayerCount(info), 1);
    emu::MediumDescription dualLayer = *emu::FindMediumPreset("bd-r");
    dualLayer.layers = 2;
    WrapperRig twoLayers("bd-writer", "none");
    twoLayers.Insert(dualLayer);
    ASSERT_EQ(twoLayers.context.reads.GetBDDiStruct(info), 0);
    EXPECT_EQ(BdLayerCount(info), 2);

    WrapperRig dvd("dvd-writer", "dvd+r");
    std::vector<std::uint8_t> buffer(4100, 0);
    EXPECT_EQ(dvd.context.reads.GetBDDiStruct(info), 1);  // not a BD
    EXPECT_EQ(dvd.LastSense(), emu::sense::kIncompatibleFormat);
    dvd.drive->ClearJournal();
    EXPECT_EQ(dvd.context.reads.ReadDVDStruct(0, 0, 0x11, 0, 4100, buffer.data()), 0);
    EXPECT_EQ(dvd.Cdbs(), (std::vector<Bytes>{kTestUnitReady, {0xAD, 0x00, 0, 0, 0, 0, 0, 0x11, 0x10, 0x04, 0, 0}}));
    EXPECT_EQ(std::string(&buffer[23], &buffer[26]), "MCC");

    WrapperNotice notice;
    EXPECT_EQ(dvd.context.reads.ReadDVDStruct(0, 0, 0x00, 0, 2052, buffer.data(), &notice), -1);
    EXPECT_EQ(notice.messageBox.rfind("ReadBDStruct Buffer size wrong.", 0), 0u);
    dvd.drive->ClearJournal();
    EXPECT_EQ(dvd.context.reads.ReadDiscStructureNoCheck(0x10, 1, 0x0E, 68, buffer.data()), 1);  // not offered
    EXPECT_EQ(dvd.Cdbs(), (std::vector<Bytes>{{0xAD, 0x00, 0, 0, 0, 0x10, 0x01, 0x0E, 0x00, 0x44, 0, 0}}));

    WrapperRig empty("dvd-writer", "none");
    EXPECT_EQ(empty.context.reads.ReadDVDStruct(0, 0, 0x00, 0, 4100, buffer.data()), 1);
    EXPECT_EQ(empty.Cdbs(), std::vector<Bytes>{kTestUnitReady});
}

TEST(MmcMediaReads, FormatCapacitiesAskTwiceAndCheckTheListLength)
{
    WrapperRig rewritable("dvd-writer", "dvd+rw");
    std::vector<std::uint8_t> buffer(2048, 0xEE);
    WrapperNotice notice;
    EXPECT_EQ(rewritable.context.reads.GetFormatCapacities(buffer.data(), buffer.size(), &notice), 16);
    EXPECT_EQ(rewritable.Cdbs(),
              (std::vector<Bytes>{{0x23, 0, 0, 0, 0, 0, 0, 0x00, 0x04, 0}, {0x23, 0, 0, 0, 0, 0, 0, 0x00, 0x14, 0}}));
    EXPECT_EQ(buffer[12 + 4], 0x98);  // the DVD+RW format, type 26h
    EXPECT_TRUE(notice.status.empty());

    struct Case {
        const char* name;
        const char* medium;
        std::function<void(emu::EmulatedDrive&)> prepare;
        const char* status;
    };
    const Case cases[] = {
        {"a list of one descriptor", "dvd+r", [](emu::EmulatedDrive&) {}, "Allocation length incorrect"},
        {"refused", "dvd+rw",
         [](emu::EmulatedDrive& d) { d.AddErrorRule(emu::ErrorRule::CheckCondition(0x23, emu::sense::kNoMedium)); },
         "Error, SCSI_Cmd_ReadFormatCapacities"},
        {"no disc", "none", [](emu::EmulatedDrive&) {}, "Allocation length incorrect"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        WrapperRig rig("dvd-writer", test.medium);
        test.prepare(*rig.drive);
        WrapperNotice told;
        EXPECT_EQ(rig.context.reads.GetFormatCapacities(buffer.data(), buffer.size(), &told), 0);
        EXPECT_EQ(told.status, test.status);
    }
}

TEST(MmcMediaReads, ReadBlocksChecksTheFormatCapacitiesFirst)
{
    struct Case {
        const char* name;
        const char* medium;
        bool unformatted;
        std::int64_t lba;
        int count;
        bool quiet;
        int result;
        const char* message;
        bool reads;
    };
    const Case cases[] = {
        {"two blocks", "dvd+r", false, 1000, 2, false, 0, "", true},
        {"no blocks still checks", "dvd+r", false, 0, 0, false, 0, "", true},
        {"last block", "dvd+r", false, 2099999, 1, false, 0, "", true},
        {"first block past the end", "dvd+r", false, 2100000, 1, false, -1,
         "Your requested block is beyond the last readable block.", false},
        {"unformatted disc", "bd-re", true, 0, 1, false, -1, "This media is unformatted, reading blocks is pointless.",
         false},
        {"no disc", "none", false, 0, 1, false, -1, "No Media present or media is unformatted", false},
        {"no disc, quietly", "none", false, 0, 1, true, -1, "", false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        WrapperRig rig("bd-writer", test.medium);
        if (test.unformatted)
            rig.Insert(Unformatted(test.medium));
        std::vector<std::uint8_t> buffer(2 * 2048, 0xEE);
        WrapperNotice notice;
        EXPECT_EQ(rig.context.reads.ReadBlocks(buffer.data(), buffer.size(), test.lba, test.count, test.quiet, &notice),
                  test.result);
        EXPECT_EQ(notice.messageBox, test.message);
        std::vector<Bytes> expected = {kTestUnitReady, {0x23, 0, 0, 0, 0, 0, 0, 0x00, 0x0C, 0}};
        if (test.reads) {
            Bytes read10 = {0x28, 0, 0, 0, 0, 0, 0, 0, 0, 0};
            scsi::PutBe32(&read10[2], static_cast<std::uint32_t>(test.lba));
            read10[8] = static_cast<std::uint8_t>(test.count);
            expected.push_back(kTestUnitReady);
            expected.push_back(read10);
        }
        EXPECT_EQ(rig.Cdbs(), expected);
    }

    WrapperRig rig("dvd-writer", "dvd+r");
    std::vector<std::uint8_t> buffer(2048, 0);
    EXPECT_EQ(rig.context.reads.ReadBlocks(buffer.data(), buffer.size(), 0, 2, false), -1);  // buffer too small
    EXPECT_EQ(rig.context.reads.ReadBlocks(buffer.data(), buffer.size(), -1, 1, false), -1);
    EXPECT_EQ(rig.context.reads.ReadBlocks(buffer.data(), buffer.size(), 0, 0x10000, false), -1);
    EXPECT_TRUE(rig.Cdbs().empty());
    std::vector<std::uint8_t> pattern(2048);
    emu::FillPatternBlock(7, 2048, pattern.data());
    EXPECT_EQ(rig.context.reads.ReadBlocks(buffer.data(), buffer.size(), 7, 1, false), 0);
    EXPECT_EQ(buffer, pattern);
}

TEST(MmcMediaReads, TypedReadsDecodeTheAnswerAndKeepTheSense)
{
    WrapperRig rig("dvd-writer", "dvd+r");
    const CapacityAnswer capacity = rig.context.reads.ReadCapacityAnswer();
    EXPECT_TRUE(capacity.ok);
    EXPECT_EQ(capacity.lastLba, 2099999u);
    EXPECT_EQ(capacity.blockLength, 2048u);
    EXPECT_EQ(capacity.received, 8u);
    EXPECT_EQ(rig.Cdbs(), (std::vector<Bytes>{{0x25, 0, 0, 0, 0, 0, 0, 0, 0, 0}}));

    std::vector<std::uint8_t> buffer(2 * 2048);
    rig.drive->ClearJournal();
    const BlockReadResult read = rig.context.reads.Read10(0x1234, 2, buffer, kForceUnitAccess);
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.transferred, buffer.size());
    EXPECT_EQ(rig.Cdbs().back(), (Bytes{0x28, 0x08, 0, 0, 0x12, 0x34, 0, 0, 0x02, 0}));

    // A failed read keeps its own sense and the block the drive names.
    rig.drive->AddErrorRule(emu::ErrorRule::UnreadableBlocks(0x2000, 1));
    const BlockReadResult bad = rig.context.reads.Read10(0x1FFF, 2, buffer);
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.sense.key, 3);
    EXPECT_EQ(bad.sense.asc, 0x11);
    EXPECT_EQ(bad.badBlock, std::optional<std::uint32_t>{0x2000});

    WrapperRig cd("dvd-writer", "cd-rom");
    std::vector<std::uint8_t> raw(2352);
    EXPECT_TRUE(cd.context.reads.ReadCdRaw(16, 1, raw).ok);
    EXPECT_EQ(cd.Cdbs().back(), (Bytes{0xBE, 0, 0, 0, 0, 0x10, 0, 0, 0x01, 0xF8, 0, 0}));

    WrapperRig empty("dvd-writer", "none");
    const CapacityAnswer none = empty.context.reads.ReadCapacityAnswer();
    EXPECT_FALSE(none.ok);
    EXPECT_EQ(none.sense.key, 2);
    EXPECT_EQ(none.sense.asc, 0x3A);
}
