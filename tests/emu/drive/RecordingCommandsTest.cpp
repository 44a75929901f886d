#include "emu/DrivePresets.h"
#include "emu/MediaPresets.h"
#include "emu/drive/EmuTestHelpers.h"
#include "scsi/VendorSignatures.h"

#include <gtest/gtest.h>

namespace emu {
namespace {

const std::vector<std::uint8_t> kRequestSense = {0x03, 0, 0, 0, 18, 0};
const std::vector<std::uint8_t> kReadCapacities = {0x23, 0, 0, 0, 0, 0, 0, 0x08, 0x00, 0};
const std::vector<std::uint8_t> kDiscInformation = {0x51, 0, 0, 0, 0, 0, 0, 0, 34, 0};

std::vector<std::uint8_t> FormatList(std::uint8_t flags, std::uint8_t type, std::uint32_t blocks = 0xFFFFFFFF,
                                     std::uint8_t last = 0)
{
    std::vector<std::uint8_t> list = {0, flags, 0, 8, 0, 0, 0, 0, static_cast<std::uint8_t>(type << 2), 0, 0, last};
    scsi::PutBe32(&list[4], blocks);
    return list;
}

CommandResult FormatUnit(EmulatedDrive& drive, std::vector<std::uint8_t> list)
{
    const std::uint8_t cdb[] = {0x04, 0x11, 0, 0, 0, 0};
    return drive.Execute(cdb, 6, DataDirection::Out, list.data(), list.size());
}

CommandResult Write10(EmulatedDrive& drive, std::uint32_t lba, std::uint16_t blocks, std::uint8_t fill = 0)
{
    std::vector<std::uint8_t> data(std::size_t{blocks} * 2048, fill);
    std::vector<std::uint8_t> cdb(10, 0);
    cdb[0] = 0x2A;
    scsi::PutBe32(&cdb[2], lba);
    scsi::PutBe16(&cdb[7], blocks);
    return drive.Execute(cdb.data(), cdb.size(), DataDirection::Out, data.data(), data.size());
}

int BackgroundFormatStatus(EmulatedDrive& drive)
{
    const Answer info = Send(drive, kDiscInformation, 34);
    EXPECT_EQ(info.result.outcome, Outcome::Good);
    return info.data[7] & 0x03;
}

// The format types a disc offers, after the current descriptor.
std::vector<std::pair<std::uint8_t, std::uint32_t>> Offers(EmulatedDrive& drive)
{
    const Answer answer = Send(drive, kReadCapacities, 2048);
    std::vector<std::pair<std::uint8_t, std::uint32_t>> offers;
    for (std::size_t at = 12; at + 8 <= 4u + answer.data[3]; at += 8)
        offers.emplace_back(answer.data[at + 4] >> 2, scsi::GetBe24(&answer.data[at + 5]));
    return offers;
}

TEST(RecordingCommands, EachRewritableDiscListsItsFormats)
{
    using Offer = std::pair<std::uint8_t, std::uint32_t>;
    struct Case {
        const char* drive;
        const char* medium;
        std::vector<Offer> offers;
    };
    const Case cases[] = {
        {"dvd-writer", "cd-rw", {{0x10, 32}}},
        {"dvd-writer", "dvd-rw", {{0x00, 16}, {0x10, 16}, {0x15, 16}}},
        {"dvd-writer", "dvd+rw", {{0x26, 0}}},
        {"dvd-writer", "dvd-ram", {{0x00, 2048}}},
        {"bd-writer", "bd-re", {{0x00, 0}, {0x30, 0}, {0x31, 0}}},
        {"dvd-writer", "dvd+r", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.medium);
        EXPECT_EQ(Offers(*Drive(c.drive, c.medium)), c.offers);
    }
}

TEST(RecordingCommands, BlankReportsItsProgressAndLeavesABlankDisc)
{
    auto clock = std::make_shared<ManualClock>();
    auto drive = Drive("dvd-writer", "cd-rw", clock);
    ASSERT_EQ(Send(*drive, {0xA1, 0x10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}).result.outcome, Outcome::Good);  // full, IMMED
    const std::uint32_t duration = drive->Identity().fullBlankMs;
    clock->Advance(duration / 2);
    const Answer busy = Send(*drive, kTestUnitReady);
    EXPECT_EQ(busy.SenseCode(), sense::kLongOperationInProgress);
    EXPECT_EQ(busy.result.sense[15], 0x80);
    EXPECT_EQ(scsi::GetBe16(&busy.result.sense[16]), 0x8000);
    clock->Advance(duration / 2);
    EXPECT_EQ(Send(*drive, kTestUnitReady).result.outcome, Outcome::Good);
    const MediumDescription disc = *drive->CurrentMedium();
    EXPECT_EQ(disc.status, DiscStatus::Blank);
    EXPECT_EQ(disc.capacityBlocks, 0u);
    EXPECT_EQ(Send(*drive, kDiscInformation, 34).data[2] & 0x03, 0);  // blank
    EXPECT_TRUE(drive->ReadsAsZeros(0, 64));

    // Only CD-RW and DVD-RW are blanked; a minimal blank keeps the old data behind the blank TOC.
    EXPECT_EQ(Send(*Drive("dvd-writer", "dvd+rw"), {0xA1, 0x11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}).SenseCode(),
              sense::kCannotWriteMedium);
    auto minus = Drive("dvd-writer", "dvd-rw", clock);
    ASSERT_EQ(Send(*minus, {0xA1, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}).result.outcome, Outcome::Good);  // waited for
    EXPECT_EQ(minus->CurrentMedium()->status, DiscStatus::Blank);
    EXPECT_EQ(minus->CurrentProfile(), 0x14);
    EXPECT_FALSE(minus->ReadsAsZeros(0, 1));
}

TEST(RecordingCommands, DvdMinusFormatsGoToRestrictedOverwriteWithZeros)
{
    for (std::uint8_t type : {0x00, 0x15}) {
        SCOPED_TRACE(type);
        auto clock = std::make_shared<ManualClock>();
        auto drive = Drive("dvd-writer", "dvd-rw", clock);
        ASSERT_EQ(FormatUnit(*drive, FormatList(0x02, type, type ? 0 : 2298496)).outcome, Outcome::Good);
        EXPECT_EQ(Send(*drive, kTestUnitReady).SenseCode(), sense::kFormatInProgress);
        clock->Advance(type ? drive->Identity().quickFormatMs : drive->Identity().formatMs);
        EXPECT_EQ(Send(*drive, kTestUnitReady).result.outcome, Outcome::Good);
        EXPECT_EQ(drive->CurrentProfile(), 0x13);
        EXPECT_EQ(Send(*drive, kDiscInformation, 34).data[2] & 0x03, 3);  // random writable
        EXPECT_TRUE(drive->ReadsAsZeros(0, 32));
    }
}

TEST(RecordingCommands, PlusRwFormatsInTheForegroundThenInTheBackground)
{
    auto clock = std::make_shared<ManualClock>();
    auto drive = Drive("dvd-writer", "dvd+rw-blank", clock);
    EXPECT_EQ(BackgroundFormatStatus(*drive), 0);
    ASSERT_EQ(FormatUnit(*drive, FormatList(0x82, 0x26)).outcome, Outcome::Good);
    clock->Advance(drive->Identity().formatMs / 4);
    EXPECT_EQ(scsi::GetBe16(&Send(*drive, kTestUnitReady).result.sense[16]), 0x4000);
    clock->Advance(drive->Identity().formatMs * 3 / 4);

    // Ready: the disc is used while the rest is formatted; REQUEST SENSE tells how far.
    EXPECT_EQ(Send(*drive, kTestUnitReady).result.outcome, Outcome::Good);
    EXPECT_EQ(BackgroundFormatStatus(*drive), 2);
    const std::uint32_t background = drive->Identity().backgroundFormatMs;
    clock->Advance(background / 2);
    const Answer progress = Send(*drive, kRequestSense, 18);
    EXPECT_EQ(progress.data[2] & 0x0F, 0);
    EXPECT_EQ(progress.data[15], 0x80);
    EXPECT_EQ(scsi::GetBe16(&progress.data[16]), 0x8000);
    EXPECT_EQ(Write10(*drive, 0, 16, 0x5A).outcome, Outcome::Good);

    // A close stops the background format half-way; a restart goes on from there.
    ASSERT_EQ(Send(*drive, {0x5B, 0x01, 0, 0, 0, 0, 0, 0, 0, 0}).result.outcome, Outcome::Good);
    EXPECT_EQ(Send(*drive, kTestUnitReady).SenseCode(), sense::kLongOperationInProgress);
    clock->Advance(drive->Identity().closeMs);
    EXPECT_EQ(BackgroundFormatStatus(*drive), 1);
    EXPECT_EQ(drive->CurrentMedium()->formatStoppedAt, 0x8000);
    ASSERT_EQ(FormatUnit(*drive, FormatList(0x82, 0x26, 0xFFFFFFFF, 0x01)).outcome, Outcome::Good);
    EXPECT_EQ(Send(*drive, kTestUnitReady).result.outcome, Outcome::Good);  // no foreground part
    EXPECT_EQ(BackgroundFormatStatus(*drive), 2);
    clock->Advance(background / 2);
    EXPECT_EQ(BackgroundFormatStatus(*drive), 3);
    EXPECT_FALSE(drive->ReadsAsZeros(0, 16));  // what was written stays
    EXPECT_TRUE(drive->ReadsAsZeros(16, 16));

    // Nothing to restart on a disc whose format is complete.
    EXPECT_EQ(FormatUnit(*drive, FormatList(0x82, 0x26, 0xFFFFFFFF, 0x01)).outcome, Outcome::CheckCondition);
}

TEST(RecordingCommands, WritesReadBackOnRandomWritableDiscsOnly)
{
    auto drive = Drive("bd-writer", "bd-re");
    ASSERT_EQ(Write10(*drive, 0, 32).outcome, Outcome::Good);
    EXPECT_TRUE(drive->ReadsAsZeros(0, 32));
    EXPECT_FALSE(drive->ReadsAsZeros(32, 1));
    const Answer read = Send(*drive, Read10(31, 2), 4096);
    EXPECT_EQ(read.data[0], 0);  // block 31 written with zeros
    EXPECT_EQ(read.data[2048], 'Q');  // block 32 as the disc came

    EXPECT_EQ(Send(*drive, {0x01, 0, 0, 0, 0, 0}).result.outcome, Outcome::Good);  // REZERO UNIT
    drive->AddErrorRule({ErrorRule::Kind::Sense, 0x2A, 0x2A, 40, 1, sense::kWriteError, 1});
    const CommandResult failed = Write10(*drive, 32, 32);
    EXPECT_EQ(failed.outcome, Outcome::CheckCondition);
    EXPECT_EQ(failed.sense[12], 0x0C);
    EXPECT_EQ(scsi::GetBe32(&failed.sense[3]), 40u);  // where it failed

    EXPECT_EQ(Write10(*Drive("dvd-writer", "dvd-r"), 0, 1).outcome, Outcome::CheckCondition);
    EXPECT_EQ(Write10(*Drive("bd-writer", "bd-re-blank"), 0, 1).outcome, Outcome::CheckCondition);
}

TEST(RecordingCommands, ALongOperationCanBeMadeToFailAtItsEnd)
{
    auto clock = std::make_shared<ManualClock>();
    auto drive = Drive("dvd-writer", "cd-rw", clock);
    drive->FailNextLongOperation(sense::kFormatCorrupted);
    ASSERT_EQ(Send(*drive, {0xA1, 0x10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}).result.outcome, Outcome::Good);
    clock->Advance(drive->Identity().fullBlankMs);
    EXPECT_EQ(Send(*drive, kTestUnitReady).SenseCode(), sense::kFormatCorrupted);  // told once
    EXPECT_EQ(Send(*drive, kTestUnitReady).result.outcome, Outcome::Good);
    EXPECT_EQ(drive->CurrentMedium()->status, DiscStatus::Complete);  // nothing was blanked
}

TEST(RecordingCommands, TheDriveTakesNoOtherWorkWhileItClosesAndABdRejectsTheClose)
{
    const std::vector<std::uint8_t> close = {0x5B, 0x01, 0x02, 0, 0, 0, 0, 0, 0, 0};
    const std::vector<std::uint8_t> stopUnit = {0x1B, 0x01, 0, 0, 0x00, 0};
    struct Case {
        const char* name;
        bool readyWhileClosing;
        bool readyToTestUnitReady;  // while the close runs
    };
    for (const Case c : {Case{"reports the close", false, false}, Case{"answers ready while closing", true, true}}) {
        SCOPED_TRACE(c.name);
        DriveIdentity identity = *FindDrivePreset("dvd-writer");
        identity.readyWhileClosing = c.readyWhileClosing;
        auto clock = std::make_shared<ManualClock>();
        auto drive = std::make_shared<EmulatedDrive>(identity, clock);
        ASSERT_TRUE(drive->InsertMedium(*FindMediumPreset("dvd+rw")));
        ASSERT_EQ(Send(*drive, close).result.outcome, Outcome::Good);
        EXPECT_EQ(Send(*drive, kTestUnitReady).result.outcome == Outcome::Good, c.readyToTestUnitReady);
        EXPECT_EQ(Send(*drive, stopUnit).SenseCode(), sense::kLongOperationInProgress);
        EXPECT_EQ(Send(*drive, {0x1B, 0x01, 0, 0, 0x02, 0}).SenseCode(), sense::kLongOperationInProgress);
        EXPECT_FALSE(drive->TrayOpen());  // no eject in the middle of it
        clock->Advance(identity.closeMs);
        EXPECT_EQ(Send(*drive, stopUnit).result.outcome, Outcome::Good);
    }
    // BD drives refuse CLOSE TRACK/SESSION on BD-RE.
    EXPECT_EQ(Send(*Drive("bd-writer", "bd-re"), {0x5B, 0x01, 0, 0, 0, 0, 0, 0, 0, 0}).SenseCode(),
              sense::kInvalidFieldInCdb);
}

// DC erase of the Nu/QSI family.
std::vector<std::uint8_t> Dc(std::uint8_t function, std::initializer_list<std::uint8_t> bytes = {},
                             std::uint8_t byte11 = 0)
{
    std::vector<std::uint8_t> cdb = {0xF3, 0x0C, function, 0, 0, 0, 0, 0, 0, 0, 0, byte11};
    std::size_t at = 3;
    for (std::uint8_t b : bytes)
        cdb[at++] = b;
    return cdb;
}

std::vector<std::uint8_t> EnterEraseMode()
{
    const auto& access = vendor_signature::kDcEraseAccess;
    return Dc(0x00, {access[0], access[1], access[2], access[3], access[4]});
}

TEST(RecordingCommands, DcEraseRunsInTheFamilysEraseMode)
{
    auto clock = std::make_shared<ManualClock>();
    auto drive = Drive("nu", "dvd-rw", clock);
    // Refused before the mode is open, and with another access sequence.
    EXPECT_EQ(Send(*drive, Dc(0x02, {0x0A, 0, 4}), 2048).SenseCode(), sense::kCommandSequenceError);
    EXPECT_EQ(Send(*drive, Dc(0x00, {'A', 'B', 'C', 'D', 'E'}), 2048).SenseCode(), sense::kInvalidFieldInCdb);
    ASSERT_EQ(Send(*drive, EnterEraseMode(), 2048).result.outcome, Outcome::Good);
    ASSERT_EQ(Send(*drive, Dc(0x02, {0x0A, 0, 4}), 2048).result.outcome, Outcome::Good);

    // The status word counts down with each one-block write until the drive takes ranges.
    EXPECT_EQ(Send(*drive, Dc(0x05, {0x02, 0xFE, 0x00, 0x03, 0x00, 0x00}), 2048).SenseCode(),
              sense::kCommandSequenceError);
    std::vector<int> words;
    for (int write = 0; write < 3; ++write) {
        EXPECT_EQ(Send(*drive, Dc(0x03, {0, 0, 1}), 2048, DataDirection::Out).result.outcome, Outcome::Good);
        words.push_back(scsi::GetBe16(Send(*drive, Dc(0x04), 2048).data.data()));
    }
    EXPECT_EQ(words, (std::vector<int>{38, 30, 22}));

    // Busy, then idle: the lead-in erased, the disc reads blank.
    ASSERT_EQ(Send(*drive, Dc(0x05, {0x02, 0xFE, 0x00, 0x03, 0x00, 0x00}), 2048).result.outcome, Outcome::Good);
    EXPECT_EQ(Send(*drive, Dc(0x06), 2048).data[3], 1);
    clock->Advance(2000);
    EXPECT_EQ(Send(*drive, Dc(0x06), 2048).data[3], 0);
    EXPECT_EQ(drive->VendorState().nuQsi.dcErase.erased, (std::vector<DcErasedRange>{{0x2FE00, 0x30000, false}}));
    EXPECT_EQ(drive->CurrentMedium()->status, DiscStatus::Blank);
    ASSERT_EQ(Send(*drive, Dc(0x01), 2048).result.outcome, Outcome::Good);
    EXPECT_FALSE(drive->VendorState().nuQsi.dcErase.eraseMode);

    // The error measurement behind the same opcode stays apart (byte 11 AAh).
    const auto& access = vendor_signature::kGenericF3;
    EXPECT_EQ(Send(*drive, Dc(0x00, {access[0], access[1], access[2], access[3], access[4]}, 0xAA), 36).result.outcome,
              Outcome::Good);
    EXPECT_TRUE(drive->VendorState().nuQsi.measuringOpen);
}

TEST(RecordingCommands, DcEraseRefusesWriteOnceDiscsAndAbortsWhereInjected)
{
    auto writeOnce = Drive("nu", "dvd-r");
    ASSERT_EQ(Send(*writeOnce, EnterEraseMode(), 2048).result.outcome, Outcome::Good);
    EXPECT_EQ(Send(*writeOnce, Dc(0x02, {0x0A, 0, 4}), 2048).SenseCode(), sense::kCannotWriteMedium);

    DriveIdentity identity = *FindDrivePreset("nu");
    identity.vendorSettings.nuQsi.dcErase.abortAtSector = 0x2FE10;
    auto clock = std::make_shared<ManualClock>();
    auto drive = std::make_shared<EmulatedDrive>(identity, clock);
    ASSERT_TRUE(drive->InsertMedium(*FindMediumPreset("dvd-rw")));
    Send(*drive, EnterEraseMode(), 2048);
    Send(*drive, Dc(0x02, {0x0A, 0, 4}), 2048);
    for (int write = 0; write < 3; ++write)
        Send(*drive, Dc(0x03, {0, 0, 1}), 2048, DataDirection::Out);
    ASSERT_EQ(Send(*drive, Dc(0x05, {0x02, 0xFE, 0x00, 0x02, 0xFE, 0x19}), 2048).result.outcome, Outcome::Good);
    clock->Advance(2000);
    EXPECT_EQ(Send(*drive, Dc(0x06), 2048).data[3], 2);
    EXPECT_EQ(drive->CurrentMedium()->status, DiscStatus::Complete);
}

}  // namespace
}  // namespace emu
