#include "WrapperBench.h"
#include "core/drive/CommandBlock.h"
#include "core/drive/DriveContext.h"
#include "emu/DrivePresets.h"
#include "emu/MediaPresets.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"
#include "support/EmulatedDriveBench.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Bytes = std::vector<std::uint8_t>;
using scsi::GetBe32;

const Bytes kTestUnitReady = {0x00, 0, 0, 0, 0, 0};

emu::MediumDescription Unformatted(const char* preset)
{
    emu::MediumDescription disc = *emu::FindMediumPreset(preset);
    disc.formatted = false;
    return disc;
}

}  // namespace

TEST(CommandBlock, EveryCommandLeavesWithTheStandardLengthOfItsGroup)
{
    struct Case {
        std::uint8_t opcode;
        std::size_t length;
    };
    for (const Case& test : {Case{0x00, 6}, Case{0x1E, 6}, Case{0x23, 10}, Case{0x28, 10}, Case{0x5A, 10},
                             Case{0x88, 16}, Case{0xAD, 12}, Case{0xBD, 12}, Case{0x60, 0}, Case{0xFD, 0}}) {
        SCOPED_TRACE(test.opcode);
        EXPECT_EQ(StandardCdbLength(test.opcode), test.length);
    }

    WrapperBench bench("dvd-writer", "dvd+r");
    std::uint8_t answer[12] = {};
    // The bytes after the last one written still go out: READ FORMAT CAPACITIES is 10 bytes, not 9.
    EXPECT_EQ(CommandBlock(0x23).SetBe16(7, 12).Execute(bench.context.m_ScsiCommand, DataDirection::In, answer, 12), 0);
    EXPECT_EQ(bench.Cdbs().back(), (Bytes{0x23, 0, 0, 0, 0, 0, 0, 0x00, 0x0C, 0}));
    // A vendor opcode needs its maker's length; without one nothing is sent.
    EXPECT_EQ(CommandBlock(0xFD).Execute(bench.context.m_ScsiCommand, DataDirection::None, nullptr, 0), 1);
    EXPECT_EQ(bench.Cdbs().size(), 1u);
}

TEST(MmcWrappers, UnitReadyAndWaits)
{
    WrapperBench ready("dvd-writer", "dvd+r");
    EXPECT_EQ(ready.context.TestMediaPresent(), 1);
    EXPECT_EQ(ready.context.WaitForUnitReady(10), 0);
    EXPECT_EQ(ready.Cdbs(), (std::vector<Bytes>{kTestUnitReady, kTestUnitReady}));
    EXPECT_EQ(ready.waitClock->SleptMs(), 0u);

    WrapperBench empty("dvd-writer", "none");
    EXPECT_EQ(empty.context.TestMediaPresent(), 0);
    EXPECT_EQ(empty.context.WaitForUnitReady(10), 0);  // no disc: nothing to wait for
    EXPECT_EQ(empty.Cdbs().size(), 2u);

    // A disc just loaded: not ready for its spin-up, then a medium change, then ready.
    WrapperBench loading("dvd-writer", "none");
    ASSERT_TRUE(loading.drive->LoadMedium(*emu::FindMediumPreset("dvd+r")));
    EXPECT_EQ(loading.context.WaitForUnitReady(10), 0);
    const std::uint32_t spinUp = loading.drive->Identity().spinUpMs;
    EXPECT_EQ(loading.waitClock->SleptMs(), (spinUp + 499) / 500 * 500 + 500);  // one more try for the change
    EXPECT_EQ(loading.Cdbs().size(), (spinUp + 499) / 500 + 2);

    // A drive that stays not ready: 2 x 10 tries, 500 ms apart, then 1.
    WrapperBench stuck("dvd-writer", "dvd+r");
    stuck.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0x00, emu::sense::kNotReadyBecomingReady));
    EXPECT_EQ(stuck.context.WaitForUnitReady(10), 1);
    EXPECT_EQ(stuck.Cdbs().size(), 20u);
    EXPECT_EQ(stuck.waitClock->SleptMs(), 19u * 500);

    // The request itself failed (no sense): taken as ready.
    WrapperBench lost("dvd-writer", "dvd+r");
    lost.drive->AddErrorRule(emu::ErrorRule::Refusal(emu::ErrorRule::Kind::TransportFailure, 0x00, 0x00));
    EXPECT_EQ(lost.context.WaitForUnitReady(10), 0);
    EXPECT_EQ(lost.waitClock->SleptMs(), 0u);
}

TEST(MmcWrappers, MmcComplianceLooksForTheCapabilitiesPage)
{
    WrapperBench plain("dvd-writer", "dvd+r");
    EXPECT_EQ(plain.context.TestMMCCompliant(), 1);
    EXPECT_EQ(plain.Cdbs(), (std::vector<Bytes>{{0x5A, 0, 0x3F, 0, 0, 0, 0, 0x00, 0xFC, 0}}));

    // Mode data of 3000 bytes: the first answer is cut, so it asks again for all of it.
    emu::DriveIdentity big = *emu::FindDrivePreset("dvd-writer");
    for (std::uint8_t code = 0x30; code < 0x3C; ++code) {
        Bytes page(250, 0);
        page[0] = code;
        page[1] = 248;
        big.modePages.push_back(page);
    }
    EmulatedDriveBench large("dvd-writer", "dvd+r");
    large.drive = std::make_shared<emu::EmulatedDrive>(big, large.clock);
    ASSERT_TRUE(large.drive->InsertMedium(*emu::FindMediumPreset("dvd+r")));
    ScopedProgramLog log;
    DriveContext context(large.Sources());
    large.MakeCurrent(context);
    EXPECT_EQ(context.TestMMCCompliant(), 1);
    const auto cdbs = large.Cdbs();
    ASSERT_EQ(cdbs.size(), 2u);
    const std::uint32_t dataLength = (cdbs[1][7] << 8) | cdbs[1][8];
    EXPECT_GT(dataLength, 3000u);
    EXPECT_NE(log.Text().find("SCSI_Cmd_ModeSense10 3"), std::string::npos);

    // A refused first request: asked again with 2048.
    WrapperBench refused("dvd-writer", "dvd+r");
    refused.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0x5A, emu::sense::kInvalidFieldInCdb, 1));
    EXPECT_EQ(refused.context.TestMMCCompliant(), 1);
    EXPECT_EQ(refused.Cdbs().back(), (Bytes{0x5A, 0, 0x3F, 0, 0, 0, 0, 0x08, 0x00, 0}));
    refused.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0x5A, emu::sense::kInvalidFieldInCdb));
    EXPECT_EQ(refused.context.TestMMCCompliant(), 0);
    EXPECT_NE(refused.log.Text().find("TestMMCCompliant() failed, SCSI_Cmd_ModeSense10 returned non zero"),
              std::string::npos);
}

TEST(MmcWrappers, ConfigurationTrackAndCapacity)
{
    WrapperBench bench("dvd-writer", "dvd+r");
    std::uint8_t header[8] = {};
    EXPECT_EQ(bench.context.GetConfiguration(1, 0x2B, header, sizeof header), 0);
    EXPECT_EQ(bench.Cdbs().back(), (Bytes{0x46, 0x01, 0x00, 0x2B, 0, 0, 0, 0x00, 0x08, 0}));
    EXPECT_EQ(header[7], 0x1B);  // the current profile: DVD+R
    const int dataLength = bench.context.GetConfigurationDataLength();
    EXPECT_GT(dataLength, 100);
    EXPECT_EQ(bench.Cdbs().back(), (Bytes{0x46, 0x00, 0x00, 0x00, 0, 0, 0, 0x08, 0x00, 0}));

    std::uint8_t track[48] = {};
    EXPECT_TRUE(bench.context.ReadTrackInformation(track, sizeof track, 1));
    EXPECT_EQ(bench.Cdbs().back(), (Bytes{0x52, 0x01, 0, 0, 0, 0x01, 0, 0x00, 0x30, 0}));
    EXPECT_EQ(GetBe32(&track[24]), 2100000u);
    EXPECT_FALSE(bench.context.ReadTrackInformation(track, sizeof track, 2));

    bench.drive->ClearJournal();
    EXPECT_EQ(bench.context.ReadCapacity(), 2099999);
    EXPECT_EQ(bench.Cdbs(), (std::vector<Bytes>{kTestUnitReady, {0x25, 0, 0, 0, 0, 0, 0, 0, 0, 0}}));

    WrapperBench empty("dvd-writer", "none");
    EXPECT_EQ(empty.context.ReadCapacity(), 0);
    EXPECT_EQ(empty.Cdbs(), std::vector<Bytes>{kTestUnitReady});  // nothing read without a disc
}

TEST(MmcWrappers, DiscStructures)
{
    WrapperBench bench("bd-writer", "bd-r");
    BDDiscInfo info{};
    EXPECT_EQ(bench.context.GetBDDiStruct(info), 0);
    EXPECT_EQ(bench.Cdbs().back(), (Bytes{0xAD, 0x01, 0, 0, 0, 0, 0, 0x00, 0x10, 0x04, 0, 0}));
    EXPECT_EQ(std::string(info.identifier, 2), "DI");
    EXPECT_EQ(std::string(info.discTypeId, 3), "BDR");
    EXPECT_EQ(std::string(info.manufacturerId, 6), "VERBAT");
    EXPECT_EQ(std::string(info.mediaTypeId, 3), "IMe");
    EXPECT_EQ(info.productRevision, 0x01);

    WrapperBench dvd("dvd-writer", "dvd+r");
    std::vector<std::uint8_t> buffer(4100, 0);
    EXPECT_EQ(dvd.context.GetBDDiStruct(info), 1);  // not a BD
    EXPECT_EQ(dvd.LastSense(), emu::sense::kIncompatibleFormat);
    dvd.drive->ClearJournal();
    EXPECT_EQ(dvd.context.ReadDVDStruct(0, 0, 0x11, 0, 4100, buffer.data()), 0);
    EXPECT_EQ(dvd.Cdbs(), (std::vector<Bytes>{kTestUnitReady, {0xAD, 0x00, 0, 0, 0, 0, 0, 0x11, 0x10, 0x04, 0, 0}}));
    EXPECT_EQ(std::string(&buffer[23], &buffer[26]), "MCC");

    WrapperNotice notice;
    EXPECT_EQ(dvd.context.ReadDVDStruct(0, 0, 0x00, 0, 2052, buffer.data(), &notice), -1);
    EXPECT_EQ(notice.messageBox.rfind("ReadBDStruct Buffer size wrong.", 0), 0u);
    dvd.drive->ClearJournal();
    EXPECT_EQ(dvd.context.ReadDiscStructureNoCheck(0x10, 1, 0x0E, 68, buffer.data()), 1);  // not offered
    EXPECT_EQ(dvd.Cdbs(), (std::vector<Bytes>{{0xAD, 0x00, 0, 0, 0, 0x10, 0x01, 0x0E, 0x00, 0x44, 0, 0}}));

    WrapperBench empty("dvd-writer", "none");
    EXPECT_EQ(empty.context.ReadDVDStruct(0, 0, 0x00, 0, 4100, buffer.data()), 1);
    EXPECT_EQ(empty.Cdbs(), std::vector<Bytes>{kTestUnitReady});
}

TEST(MmcWrappers, FormatCapacitiesAskTwiceAndCheckTheListLength)
{
    WrapperBench rewritable("dvd-writer", "dvd+rw");
    std::vector<std::uint8_t> buffer(2048, 0xEE);
    WrapperNotice notice;
    EXPECT_EQ(rewritable.context.GetFormatCapacities(buffer.data(), buffer.size(), &notice), 16);
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
        WrapperBench bench("dvd-writer", test.medium);
        test.prepare(*bench.drive);
        WrapperNotice told;
        EXPECT_EQ(bench.context.GetFormatCapacities(buffer.data(), buffer.size(), &told), 0);
        EXPECT_EQ(told.status, test.status);
    }
}

TEST(MmcWrappers, ReadBlocksChecksTheFormatCapacitiesFirst)
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
        WrapperBench bench("bd-writer", test.medium);
        if (test.unformatted)
            bench.Insert(Unformatted(test.medium));
        std::vector<std::uint8_t> buffer(2 * 2048, 0xEE);
        WrapperNotice notice;
        EXPECT_EQ(bench.context.ReadBlocks(buffer.data(), buffer.size(), test.lba, test.count, test.quiet, &notice),
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
        EXPECT_EQ(bench.Cdbs(), expected);
    }

    WrapperBench bench("dvd-writer", "dvd+r");
    std::vector<std::uint8_t> buffer(2048, 0);
    EXPECT_EQ(bench.context.ReadBlocks(buffer.data(), buffer.size(), 0, 2, false), -1);  // buffer too small
    EXPECT_EQ(bench.context.ReadBlocks(buffer.data(), buffer.size(), -1, 1, false), -1);
    EXPECT_EQ(bench.context.ReadBlocks(buffer.data(), buffer.size(), 0, 0x10000, false), -1);
    EXPECT_TRUE(bench.Cdbs().empty());
    std::vector<std::uint8_t> pattern(2048);
    emu::FillPatternBlock(7, 2048, pattern.data());
    EXPECT_EQ(bench.context.ReadBlocks(buffer.data(), buffer.size(), 7, 1, false), 0);
    EXPECT_EQ(buffer, pattern);
}

TEST(MmcWrappers, MediaCapacityIsTheEndOfTheFirstExtent)
{
    struct Case {
        const char* drive;
        const char* medium;
        std::int64_t capacity;
        std::size_t lastCdbLength;
    };
    const Case cases[] = {
        {"dvd-writer", "dvd+r", 2099999, 12},
        {"dvd-writer", "dvd+r-dl", 2086911, 12},  // where layer 0 ends
        {"bd-writer", "bd-rom", 11999999 >> 1, 10},  // half the last block, from READ CAPACITY
        {"dvd-writer", "none", 0, 12},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.medium);
        WrapperBench bench(test.drive, test.medium);
        EXPECT_EQ(bench.context.GetMediaCapacity(), test.capacity);
        EXPECT_EQ(bench.Cdbs().back().size(), test.lastCdbLength);
    }
    WrapperBench bench("dvd-writer", "dvd+r");
    bench.context.GetMediaCapacity();
    EXPECT_EQ(bench.Cdbs().back(), (Bytes{0xAC, 0x10, 0, 0, 0, 0, 0, 0, 0x00, 0x02, 0x00, 0}));
}

TEST(MmcWrappers, SpeedLockDoorAndProgress)
{
    WrapperBench bench("dvd-writer", "dvd+r");
    struct Case {
        int index;
        int unitSpeed;
        int count;
        int step;
        std::uint16_t speed;
    };
    for (const Case& test : {Case{0, 1385, 16, 1, 0xFFFF}, Case{3, 1385, 16, 0, 0xFFFF}, Case{2, 1385, 16, 1, 20775},
                             Case{1, 4495, 16, 1, 0xFFFF} /* above 16 bits: the drive's maximum */}) {
        SCOPED_TRACE(test.index);
        EXPECT_EQ(bench.context.SetCdSpeed(test.index, test.unitSpeed, test.count, test.step, 1), 0);
        Bytes expected = {0xBB, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        scsi::PutBe16(&expected[2], test.speed);
        scsi::PutBe16(&expected[4], test.speed);
        EXPECT_EQ(bench.Cdbs().back(), expected);
    }

    EXPECT_EQ(bench.context.PreventMediumRemoval(1), 0);
    EXPECT_EQ(bench.Cdbs().back(), (Bytes{0x1E, 0, 0, 0, 0x01, 0}));
    EXPECT_EQ(bench.context.m_bTrayLocked, 1);
    EXPECT_TRUE(bench.drive->RemovalPrevented());
    EXPECT_EQ(bench.context.IsDoorOpen(), 0);
    EXPECT_EQ(bench.Cdbs().back(), (Bytes{0xBD, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x20, 0, 0}));
    bench.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0x1E, emu::sense::kInvalidFieldInCdb, 1));
    EXPECT_EQ(bench.context.PreventMediumRemoval(0), 1);
    EXPECT_EQ(bench.context.m_bTrayLocked, 1);  // the drive still holds it
    EXPECT_EQ(bench.context.PreventMediumRemoval(0), 0);
    EXPECT_EQ(bench.context.m_bTrayLocked, 0);
    ASSERT_TRUE(bench.drive->EjectMedium());
    EXPECT_EQ(bench.context.IsDoorOpen(), 1);

    WrapperBench refusing("dvd-writer", "dvd+r");
    refusing.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0x1E, emu::sense::kInvalidFieldInCdb));
    EXPECT_EQ(refusing.context.PreventMediumRemoval(1), 1);
    EXPECT_EQ(refusing.context.m_bTrayLocked, 0);  // a refused lock would block the exit for nothing

    // Idle: TEST UNIT READY carries no progress, so REQUEST SENSE is asked; 0.
    EXPECT_EQ(refusing.context.GetProgress(), 0);
    EXPECT_EQ(refusing.Cdbs().back(), (Bytes{0x03, 0, 0, 0, 0xFF, 0}));
    // While a format runs the progress comes with TEST UNIT READY's sense.
    WrapperBench formatting("bd-writer", "bd-re");
    formatting.Insert(Unformatted("bd-re"));
    std::uint8_t parameters[12] = {0x00, 0x02, 0x00, 0x08, 0x00, 0xB4, 0x74, 0x00, 0x30 << 2, 0, 0, 0};
    CommandBlock formatUnit(mmc::kFormatUnit);
    formatUnit.Set(1, 0x11);
    ASSERT_EQ(formatUnit.Execute(formatting.context.m_ScsiCommand, DataDirection::Out, parameters, 12), 0);
    formatting.clock->Advance(formatting.drive->Identity().formatMs * 3 / 4);
    formatting.drive->ClearJournal();
    EXPECT_EQ(formatting.context.GetProgress(), 0xC000);
    EXPECT_EQ(formatting.Cdbs(), std::vector<Bytes>{kTestUnitReady});
}

TEST(MmcWrappers, SolidBurnProbe)
{
    // BenQ drives and those named in the exceptions are not asked.
    WrapperBench benq("benq", "dvd+r");
    EXPECT_EQ(benq.context.DetectForSolidBurn().value, 0);
    EXPECT_TRUE(benq.Cdbs().empty());

    // A drive without the vendor commands refuses the first one.
    WrapperBench other("dvd-writer", "dvd+r");
    EXPECT_EQ(other.context.DetectForSolidBurn().value, 0);
    EXPECT_EQ(other.Cdbs(), (std::vector<Bytes>{{0xFD, 0x11, 'B', 'E', 'N', 'Q', 0, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(other.LastSense(), emu::sense::kInvalidOpcode);

    EXPECT_EQ(DriveContext::GetRatedSpeedText("MCC 004"),
              "Manufacturer Rated Speed" + std::string(42, ' ') + "Unknown");
}
