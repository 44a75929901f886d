#include "EmuTestHelpers.h"
#include "emu/DrivePresets.h"
#include "emu/MediaPresets.h"

#include <gtest/gtest.h>

#include <cmath>

namespace emu {

namespace {

const std::vector<std::uint8_t> kStartPie = {0xEA, 0x15, 0, 0, 0, 0, 0, 0, 0x08, 0x10, 0, 0};
const std::vector<std::uint8_t> kStartPif = {0xEA, 0x15, 0, 0, 0, 0, 0, 0, 0x01, 0x12, 0, 0};
const std::vector<std::uint8_t> kStartJitter = {0xEA, 0x15, 0x10, 0, 0, 0, 0, 0, 0x10, 0, 0, 0};
const std::vector<std::uint8_t> kStop = {0xEA, 0x17, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
const std::vector<std::uint8_t> kErrorResult = {0xEA, 0x16, 0, 0, 0, 0, 0, 0, 0, 0, 0x34, 0};
const std::vector<std::uint8_t> kJitterResult = {0xEA, 0x16, 0x10, 0, 0, 0, 0, 0, 0, 0, 0x10, 0};
const std::vector<std::uint8_t> kReadBuffer = {0x3C, 0x02, 0xE1, 0, 0, 0, 0, 0, 0x20, 0};

std::shared_ptr<EmulatedDrive> DriveWith(const char* drivePreset, MediumDescription disc,
                                         std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>())
{
    auto drive = std::make_shared<EmulatedDrive>(*FindDrivePreset(drivePreset), std::move(clock));
    EXPECT_TRUE(drive->InsertMedium(disc));
    return drive;
}

MediumDescription ScannedDisc()
{
    MediumDescription disc = *FindMediumPreset("dvd+r");
    disc.errors.seed = 11;
    disc.errors.piMean = 6;
    disc.errors.pifPerMille = 300;
    return disc;
}

void ReadBlocks(EmulatedDrive& drive, std::uint32_t lba, int blocks)
{
    for (int i = 0; i < blocks; ++i)
        Send(drive, Read10(lba + 16 * static_cast<std::uint32_t>(i), 16), 16 * 2048);
}

std::uint32_t ErrorResult(EmulatedDrive& drive)
{
    const Answer answer = Send(drive, kErrorResult, 52);
    EXPECT_EQ(answer.result.outcome, Outcome::Good);
    return scsi::GetBe32(&answer.data[36]);
}

std::uint32_t LargestBlockPif(const ErrorProfile& errors, std::uint64_t firstBlock, int blocks)
{
    std::uint32_t largest = 0;
    for (int i = 0; i < blocks; ++i)
        largest = std::max(largest, errors.Block(firstBlock + static_cast<std::uint64_t>(i)).pif);
    return largest;
}

std::vector<std::uint8_t> PioneerRequest(std::uint32_t lba, std::uint32_t count, std::uint8_t unit)
{
    std::vector<std::uint8_t> request(32, 0);
    request[0] = 0xFF;
    request[1] = 0x01;
    scsi::PutBe32(&request[3], lba + 0x30000);
    scsi::PutBe32(&request[7], count);
    request[14] = unit;
    return request;
}

CommandResult WriteRequest(EmulatedDrive& drive, std::vector<std::uint8_t> request)
{
    const std::vector<std::uint8_t> cdb = {0x3B, 0x02, 0xE1, 0, 0, 0, 0, 0, 0x20, 0};
    return drive.Execute(cdb.data(), cdb.size(), DataDirection::Out, request.data(), request.size());
}

std::vector<std::uint8_t> AopenRead(std::uint32_t lba, std::uint16_t count)
{
    std::vector<std::uint8_t> cdb = {0xE7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    scsi::PutBe32(&cdb[2], lba);
    scsi::PutBe16(&cdb[7], count);
    return cdb;
}

}  // namespace

TEST(PlextorFamily, PassesCountTheEccBlocksTheHostReadsPerGroup)
{
    const MediumDescription disc = ScannedDisc();
    auto clock = std::make_shared<ManualClock>();
    auto drive = DriveWith("plextor", disc, clock);
    EXPECT_EQ(Send(*drive, kErrorResult, 52).SenseCode(), sense::kCommandSequenceError) << "no pass running";

    // PIE: the PI of each unit of eight ECC blocks; the largest of the group.
    ASSERT_EQ(Send(*drive, kStartPie).result.outcome, Outcome::Good);
    ReadBlocks(*drive, 0, 8);
    EXPECT_EQ(ErrorResult(*drive), MeasureSectors(disc.errors, 0, 128).total.pi);
    EXPECT_GT(clock->NowMs(), 0u) << "the reads take their time";
    ReadBlocks(*drive, 1024, 8);
    EXPECT_EQ(ErrorResult(*drive), MeasureSectors(disc.errors, 1024, 128).total.pi);
    EXPECT_EQ(ErrorResult(*drive), 0u) << "nothing read since the last result";
    EXPECT_EQ(Send(*drive, kJitterResult, 16).SenseCode(), sense::kCommandSequenceError);
    Send(*drive, kStop);
    EXPECT_EQ(Send(*drive, kErrorResult, 52).SenseCode(), sense::kCommandSequenceError);

    // PIF: per ECC block. An unaligned read counts the block it shares with
    // the read before it once.
    Send(*drive, kStartPif);
    ReadBlocks(*drive, 16, 8);
    EXPECT_EQ(ErrorResult(*drive), LargestBlockPif(disc.errors, 1, 8));
    Send(*drive, Read10(200, 16), 16 * 2048);
    Send(*drive, Read10(216, 16), 16 * 2048);
    EXPECT_EQ(ErrorResult(*drive), LargestBlockPif(disc.errors, 12, 3));
    EXPECT_EQ(drive->VendorState().plextor.pass, PlextorPass::Pif);
    Send(*drive, kStop);
    EXPECT_EQ(drive->VendorState().plextor.pass, PlextorPass::None);

    // A read that fails halfway counts the blocks it delivered.
    drive->AddErrorRule(ErrorRule::UnreadableBlocks(64 + 8, 56));
    Send(*drive, kStartPie);
    ReadBlocks(*drive, 0, 8);
    EXPECT_EQ(ErrorResult(*drive), MeasureSectors(disc.errors, 0, 72).total.pi);
    Send(*drive, kStop);
}

TEST(PlextorFamily, JitterPassGivesTheGroupsMeanJitterInTheDrivesUnits)
{
    MediumDescription disc = ScannedDisc();
    disc.errors.badZones.push_back({256, 256, {0, 0, 0, 0, 95}});
    auto drive = DriveWith("plextor", disc);
    ASSERT_EQ(Send(*drive, kStartJitter).result.outcome, Outcome::Good);
    const Answer none = Send(*drive, kJitterResult, 16);
    EXPECT_EQ(scsi::GetBe16(&none.data[12]), 0) << "no reading without reads";
    ReadBlocks(*drive, 256, 16);
    const Answer answer = Send(*drive, kJitterResult, 16);
    ASSERT_EQ(answer.result.outcome, Outcome::Good);
    EXPECT_EQ(scsi::GetBe16(&answer.data[10]), 16);
    EXPECT_EQ(scsi::GetBe16(&answer.data[12]), std::lround(95 * 11.474));
    EXPECT_EQ(Send(*drive, kErrorResult, 52).SenseCode(), sense::kCommandSequenceError);

    // Other drives know neither the passes nor the counting.
    auto other = DriveWith("dvd-writer", disc);
    EXPECT_EQ(Send(*other, kStartPie).SenseCode(), sense::kInvalidOpcode);
    EXPECT_EQ(Send(*drive, {0xEA, 0x15, 0, 0, 0, 0, 0, 0, 0x08, 0x11, 0, 0}).SenseCode(), sense::kInvalidFieldInCdb);
}

TEST(PioneerFamily, BufferRequestsAnswerTheSumsAndTheUnitsPerQuarter)
{
    const MediumDescription disc = ScannedDisc();
    auto drive = DriveWith("pioneer", disc);
    EXPECT_EQ(Send(*drive, kReadBuffer, 32).SenseCode(), sense::kCommandSequenceError) << "nothing asked yet";

    ASSERT_EQ(WriteRequest(*drive, PioneerRequest(256, 256, 8)).outcome, Outcome::Good);
    Answer answer = Send(*drive, kReadBuffer, 32);
    ASSERT_EQ(answer.result.outcome, Outcome::Good);
    const ErrorSum sum = MeasureSectors(disc.errors, 256, 256);
    EXPECT_EQ(answer.data[0], 0);
    EXPECT_EQ(scsi::GetBe32(&answer.data[3]), sum.total.pif * 10) << "PIF in tenths";
    EXPECT_EQ(scsi::GetBe32(&answer.data[11]), sum.total.pi);
    const std::vector<std::uint8_t> units8 = {0, 1, 0, 1};
    EXPECT_EQ(std::vector<std::uint8_t>(answer.data.begin() + 7, answer.data.begin() + 11), units8);
    EXPECT_EQ(std::vector<std::uint8_t>(answer.data.begin() + 15, answer.data.begin() + 19), units8);

    WriteRequest(*drive, PioneerRequest(0, 256, 1));
    answer = Send(*drive, kReadBuffer, 32);
    EXPECT_EQ(std::vector<std::uint8_t>(answer.data.begin() + 15, answer.data.begin() + 19),
              (std::vector<std::uint8_t>{4, 4, 4, 4}));

    // A request that reaches past the recorded data ends the scan with 10h.
    const auto last = static_cast<std::uint32_t>(disc.capacityBlocks - 100);
    WriteRequest(*drive, PioneerRequest(last, 256, 8));
    answer = Send(*drive, kReadBuffer, 32);
    EXPECT_EQ(answer.data[0], 0x10);
    EXPECT_EQ(scsi::GetBe32(&answer.data[11]), MeasureSectors(disc.errors, last - last % 16, 100).total.pi);

    // A request that cannot be measured leaves no answer.
    drive->AddErrorRule(ErrorRule::UnreadableBlocks(600, 4));
    EXPECT_EQ(WriteRequest(*drive, PioneerRequest(512, 256, 8)).outcome, Outcome::CheckCondition);
    EXPECT_EQ(Send(*drive, kReadBuffer, 32).SenseCode(), sense::kCommandSequenceError);
    std::vector<std::uint8_t> wrongKind(32, 0);
    wrongKind[0] = 0xFF;
    wrongKind[1] = 0x02;
    wrongKind[4] = 3;
    EXPECT_EQ(WriteRequest(*drive, wrongKind).outcome, Outcome::CheckCondition);

    // Other families have no such buffer.
    EXPECT_EQ(Send(*DriveWith("plextor", disc), kReadBuffer, 32).SenseCode(), sense::kInvalidOpcode);
}

TEST(AopenFamily, ErrorReadGivesThePiOfTheSectorsAndTheEndOfData)
{
    const MediumDescription disc = ScannedDisc();
    auto drive = DriveWith("aopen", disc);
    Answer answer = Send(*drive, AopenRead(4096, 256), 16);
    ASSERT_EQ(answer.result.outcome, Outcome::Good);
    EXPECT_EQ(answer.data[0], 0);
    EXPECT_EQ(scsi::GetBe16(&answer.data[6]), MeasureSectors(disc.errors, 4096, 256).total.pi);

    const auto last = static_cast<std::uint32_t>(disc.capacityBlocks - 16);
    answer = Send(*drive, AopenRead(last, 256), 16);
    EXPECT_EQ(answer.data[0], 0x10);
    EXPECT_EQ(scsi::GetBe16(&answer.data[6]), MeasureSectors(disc.errors, last - last % 16, 16).total.pi);

    EXPECT_EQ(Send(*DriveWith("pioneer", disc), AopenRead(0, 256), 16).SenseCode(), sense::kInvalidOpcode);
    EXPECT_EQ(Send(*drive, kReadBuffer, 32).SenseCode(), sense::kInvalidOpcode);
}

}  // namespace emu
