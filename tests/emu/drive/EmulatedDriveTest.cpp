#include "EmuTestHelpers.h"
#include "emu/DrivePresets.h"
#include "emu/EmulatedDrive.h"
#include "emu/MediaPresets.h"
#include "scsi/Profiles.h"
#include "scsi/Bytes.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

using namespace emu;

TEST(EmulatedDrive, InquiryAnswersTheIdentityByteForByteAndCutsToTheAllocationLength)
{
    auto drive = Drive("dvd-writer", "dvd+r");
    std::vector<std::uint8_t> expected = {0x05, 0x80, 0x00, 0x32, 91, 0, 0, 0};
    for (const char* field : {"QNZEMU  ", "DVD-RW QDW-2040S", "1.02", "2024/03/02          "}) {
        const auto bytes = Text(field);
        expected.insert(expected.end(), bytes.begin(), bytes.end());
    }
    expected.resize(96, 0);

    const Answer full = Send(*drive, {0x12, 0, 0, 0, 254, 0}, 254);
    EXPECT_EQ(full.result.outcome, Outcome::Good);
    EXPECT_EQ(full.Received(), expected);

    const Answer cut = Send(*drive, {0x12, 0, 0, 0, 36, 0}, 36);
    EXPECT_EQ(cut.Received(), std::vector<std::uint8_t>(expected.begin(), expected.begin() + 36));

    const Answer serial = Send(*drive, {0x12, 0x01, 0x80, 0, 64, 0}, 64);
    std::vector<std::uint8_t> serialPage = {0x05, 0x80, 0x00, 11};
    const auto serialText = Text("QDW20400001");
    serialPage.insert(serialPage.end(), serialText.begin(), serialText.end());
    EXPECT_EQ(serial.Received(), serialPage);
}

// A host transfer not as long as the CDB asks for (the blocks of a read, an
// allocation length, a parameter list) fails as a data phase error without
// touching the buffer, and the hook is told.
TEST(EmulatedDrive, ATransferNotAsLongAsItsCdbAsksForFails)
{
    std::vector<std::string> told;
    const TransferMismatchHook previous = SetTransferMismatchHook(
        [&told](const std::string& what) { told.push_back(what); });
    auto drive = Drive("dvd-writer", "dvd+r");
    const Sense dataPhase{0x0B, 0x4B, 0x00};
    struct Case {
        const char* what;
        std::vector<std::uint8_t> cdb;
        std::size_t length;
        DataDirection direction;
    };
    std::vector<std::uint8_t> modeSelect = {0x55, 0x10, 0, 0, 0, 0, 0, 0, 16, 0};
    const Case cases[] = {
        {"the whole buffer for a short read", Read10(100, 2), 4 * 2048, DataDirection::In},
        {"no buffer for a read", Read10(100, 2), 0, DataDirection::In},
        {"less room than the allocation length", {0x12, 0, 0, 0, 96, 0}, 10, DataDirection::In},
        {"a longer parameter list", modeSelect, 40, DataDirection::Out},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        told.clear();
        const Answer answer = Send(*drive, c.cdb, c.length, c.direction);
        EXPECT_EQ(answer.result.outcome, Outcome::CheckCondition);
        EXPECT_EQ(answer.SenseCode(), dataPhase);
        EXPECT_EQ(answer.result.transferred, 0u);
        if (c.direction == DataDirection::In) {
            EXPECT_TRUE(std::all_of(answer.data.begin(), answer.data.end(), [](std::uint8_t b) { return b == 0xEE; }));
        }
        ASSERT_EQ(told.size(), 1u);
    }
    EXPECT_EQ(told[0], "command 55h moved 40 bytes where its CDB asks for 16");
    // An answer cut to its allocation length fits a larger buffer (the
    // custom command's sizes): answered, the rest residue, the hook told.
    told.clear();
    const Answer inquiry = Send(*drive, {0x12, 0, 0, 0, 36, 0}, 256);
    EXPECT_EQ(inquiry.result.outcome, Outcome::Good);
    EXPECT_EQ(inquiry.result.transferred, 36u);
    EXPECT_EQ(told.size(), 1u);
    told.clear();
    EXPECT_EQ(Send(*drive, Read10(100, 2), 2 * 2048).result.outcome, Outcome::Good);
    drive->SetTransferLengthCheck(false);
    EXPECT_EQ(Send(*drive, Read10(100, 2), 4 * 2048).result.outcome, Outcome::Good);
    EXPECT_TRUE(told.empty());
    SetTransferMismatchHook(previous);
}

TEST(EmulatedDrive, GetConfigurationListsProfilesWithTheDiscsProfileCurrent)
{
    auto drive = Drive("cd-reader", "cd-rom");
    // Request type 2, feature 0: header, then the profile list alone.
    const Answer profiles = Send(*drive, {0x46, 0x02, 0x00, 0x00, 0, 0, 0, 0x00, 0x40, 0}, 64);
    // clang-format off
    const std::vector<std::uint8_t> expected = {0, 0, 0, 12, 0, 0, 0x00, 0x08,  // length, current profile 08h
                                                0x00, 0x00, 0x03, 4,           // profile list, persistent, current
                                                0x00, 0x08, 0x01, 0x00};       // CD-ROM, current
    // clang-format on
    EXPECT_EQ(profiles.Received(), expected);

    auto writer = Drive("dvd-writer", "dvd+r-dl");
    const Answer header = Send(*writer, {0x46, 0x00, 0, 0, 0, 0, 0, 0x00, 0x08, 0}, 8);
    EXPECT_EQ(scsi::GetBe16(&header.data[6]), profile::kDvdPlusRDl);
    EXPECT_GT(scsi::GetBe32(&header.data[0]), 4u);  // the full length, though only 8 bytes were asked for
    EXPECT_EQ(header.result.transferred, 8u);

    // Only current features: the DVD+R DL write feature is, the BD read feature of no drive here is not.
    const Answer current = Send(*writer, {0x46, 0x01, 0, 0, 0, 0, 0, 0x10, 0x00, 0}, 4096);
    std::vector<std::uint16_t> codes;
    for (std::size_t at = 8; at + 4 <= current.result.transferred; at += 4 + current.data[at + 3]) {
        EXPECT_EQ(current.data[at + 2] & 0x01, 1) << "feature " << scsi::GetBe16(&current.data[at]);
        codes.push_back(scsi::GetBe16(&current.data[at]));
    }
    EXPECT_NE(std::find(codes.begin(), codes.end(), 0x003B), codes.end());
    EXPECT_EQ(std::find(codes.begin(), codes.end(), 0x002B), codes.end());
    EXPECT_EQ(Send(*writer, {0x46, 0x03, 0, 0, 0, 0, 0, 0, 8, 0}, 8).SenseCode(), sense::kInvalidFieldInCdb);
}

TEST(EmulatedDrive, CapabilitiesPageShowsTheLockStateAndChosenSpeed)
{
    auto drive = Drive("cd-reader", "cd-rom");
    const std::vector<std::uint8_t> modeSense2A = {0x5A, 0, 0x2A, 0, 0, 0, 0, 0x01, 0x00, 0};
    const Answer before = Send(*drive, modeSense2A, 256);
    // clang-format off
    const std::vector<std::uint8_t> expected = {
        0x00, 0x26, 0x00, 0x00, 0, 0, 0x00, 0x00,  // mode data length 38, no block descriptors
        0x2A, 0x1E, 0x07, 0x00, 0x71, 0x13, 0x29, 0x03,  // flags; tray, eject, lock supported, unlocked
        0x23, 0xC0, 0x01, 0x00, 0x00, 0x80, 0x23, 0xC0,  // 52x max, 256 volume levels, 128 KB, current 52x
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    // clang-format on
    EXPECT_EQ(before.Received(), expected);

    Send(*drive, {0x1E, 0, 0, 0, 0x01, 0});  // prevent removal
    Send(*drive, {0xBB, 0, 0x06, 0xE0, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0});  // read at 1760 kB/s (10x)
    const Answer after = Send(*drive, modeSense2A, 256);
    EXPECT_EQ(after.data[8 + 6], 0x2B);  // lock state now set
    EXPECT_EQ(scsi::GetBe16(&after.data[8 + 14]), 1760);

    const Answer changeable = Send(*drive, {0x5A, 0, 0x40 | 0x2A, 0, 0, 0, 0, 0x01, 0x00, 0}, 256);
    EXPECT_EQ(changeable.data[8], 0x2A);
    EXPECT_EQ(changeable.data[8 + 6], 0x00);
    const Answer all = Send(*drive, {0x5A, 0, 0x3F, 0, 0, 0, 0, 0x10, 0x00, 0}, 4096);
    EXPECT_EQ(scsi::GetBe16(&all.data[0]) + 2u, all.result.transferred);
}

TEST(EmulatedDrive, ReadCapacityAndReadsOfTheGeneratedPattern)
{
    auto drive = Drive("dvd-writer", "dvd+r");
    const Answer capacity = Send(*drive, {0x25, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 8);
    EXPECT_EQ(capacity.Received(), (std::vector<std::uint8_t>{0x00, 0x20, 0x0B, 0x1F, 0x00, 0x00, 0x08, 0x00}));

    const Answer blocks = Send(*drive, Read10(1000, 2), 4096);
    ASSERT_EQ(blocks.result.outcome, Outcome::Good);
    std::vector<std::uint8_t> expected(4096);
    FillPatternBlock(1000, 2048, expected.data());
    FillPatternBlock(1001, 2048, expected.data() + 2048);
    EXPECT_EQ(blocks.Received(), expected);

    const Answer mechanism = Send(*drive, {0xBD, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0}, 8);
    // The header alone: no changer, one slot.
    EXPECT_EQ(mechanism.Received(), (std::vector<std::uint8_t>{0x00, 0x00, 0x00, 0x03, 0xE9, 0x01, 0x00, 0x00}));
}

TEST(EmulatedDrive, ReadsAnImageFileAndPadsItsShortLastBlock)
{
    TempDir dir;
    std::string image(2 * 2048 + 100, '\0');
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<char>(i % 251);
    WriteFileText(dir.File("disc.iso"), image);
    MediumDescription disc = *FindMediumPreset("dvd-rom");
    disc.imagePath = dir.File("disc.iso");
    EmulatedDrive drive(*FindDrivePreset("dvd-writer"), std::make_shared<ManualClock>());
    ASSERT_TRUE(drive.InsertMedium(disc));

    const Answer capacity = Send(drive, {0x25, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 8);
    EXPECT_EQ(scsi::GetBe32(&capacity.data[0]), 2u);  // three blocks
    const Answer tail = Send(drive, Read10(2, 1), 2048);
    ASSERT_EQ(tail.result.outcome, Outcome::Good);
    EXPECT_EQ(std::string(tail.data.begin(), tail.data.begin() + 100), image.substr(4096));
    EXPECT_EQ(std::vector<std::uint8_t>(tail.data.begin() + 100, tail.data.end()), std::vector<std::uint8_t>(1948, 0));

    disc.imagePath = dir.File("missing.iso");
    std::string error;
    EXPECT_FALSE(drive.LoadMedium(disc, &error));
    EXPECT_NE(error.find("missing.iso"), std::string::npos);
}

TEST(EmulatedDrive, AnswersEachErrorWithItsSense)
{
    struct Case {
        const char* name;
        const char* drive;
        const char* medium;
        std::function<void(EmulatedDrive&)> prepare;
        std::vector<std::uint8_t> cdb;
        Sense expected;
    };
    const auto nothing = [](EmulatedDrive&) {};
    // clang-format off
    const Case cases[] = {
        {"unknown operation code", "dvd-writer", "dvd+r", nothing, {0xE7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         sense::kInvalidOpcode},
        {"unknown vital product page", "dvd-writer", "dvd+r", nothing, {0x12, 0x01, 0x83, 0, 64, 0},
         sense::kInvalidFieldInCdb},
        {"read past the last block", "dvd-writer", "dvd+r", nothing, Read10(2099999, 2), sense::kLbaOutOfRange},
        {"no disc", "dvd-writer", "none", nothing, kTestUnitReady, sense::kNoMedium},
        {"read of an empty drive", "bd-writer", "none", nothing, Read10(0, 1), sense::kNoMedium},
        {"disc the drive cannot read", "cd-reader", "dvd-rom", nothing, kTestUnitReady, sense::kIncompatibleMedium},
        {"saved mode values", "dvd-writer", "dvd+r", nothing, {0x5A, 0, 0xEA, 0, 0, 0, 0, 1, 0, 0},
         sense::kSavingNotSupported},
        {"unknown mode page", "dvd-writer", "dvd+r", nothing, {0x5A, 0, 0x31, 0, 0, 0, 0, 1, 0, 0},
         sense::kInvalidFieldInCdb},
        {"eject while removal is prevented", "dvd-writer", "dvd+r",
         [](EmulatedDrive& d) {
             const std::uint8_t prevent[] = {0x1E, 0, 0, 0, 1, 0};
             d.Execute(prevent, 6, DataDirection::None, nullptr, 0);
         },
         {0x1B, 0, 0, 0, 0x02, 0}, sense::kRemovalPrevented},
        {"injected check condition", "dvd-writer", "dvd+r",
         [](EmulatedDrive& d) { d.AddErrorRule(ErrorRule::CheckCondition(0x00, Sense{0x04, 0x44, 0x00}, 1)); },
         kTestUnitReady, Sense{0x04, 0x44, 0x00}},
    };
    // clang-format on
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        auto drive = Drive(test.drive, test.medium);
        test.prepare(*drive);
        const Answer answer = Send(*drive, test.cdb, 64);
        EXPECT_EQ(answer.result.outcome, Outcome::CheckCondition);
        EXPECT_EQ(answer.SenseCode(), test.expected);
        EXPECT_EQ(answer.result.sense[0] & 0x7F, 0x70);
    }
}

TEST(EmulatedDrive, UnreadableBlocksFailWithTheFirstBadBlockAfterTheGoodOnes)
{
    auto drive = Drive("dvd-writer", "dvd-rom");
    drive->AddErrorRule(ErrorRule::UnreadableBlocks(105, 3));
    const Answer answer = Send(*drive, Read10(100, 16), 16 * 2048);
    EXPECT_EQ(answer.result.outcome, Outcome::CheckCondition);
    EXPECT_EQ(answer.SenseCode(), sense::kUnrecoveredReadError);
    EXPECT_EQ(answer.result.sense[0], 0xF0);  // information field valid
    EXPECT_EQ(scsi::GetBe32(&answer.result.sense[3]), 105u);
    EXPECT_EQ(answer.result.transferred, 5u * 2048);
    EXPECT_EQ(Send(*drive, Read10(108, 16), 16 * 2048).result.outcome, Outcome::Good);
}

TEST(EmulatedDrive, ALoadedDiscIsBecomingReadyThenReportsTheChangeOnce)
{
    auto clock = std::make_shared<ManualClock>();
    auto drive = Drive("dvd-writer", "none", clock);
    ASSERT_TRUE(drive->LoadMedium(*FindMediumPreset("dvd+rw")));

    EXPECT_EQ(Send(*drive, kTestUnitReady).SenseCode(), sense::kNotReadyBecomingReady);
    clock->Advance(drive->Identity().spinUpMs);
    // INQUIRY and GET CONFIGURATION answer without consuming the attention.
    EXPECT_EQ(Send(*drive, {0x12, 0, 0, 0, 36, 0}, 36).result.outcome, Outcome::Good);
    const Answer configuration = Send(*drive, {0x46, 0x02, 0, 0, 0, 0, 0, 0, 8, 0}, 8);
    EXPECT_EQ(scsi::GetBe16(&configuration.data[6]), profile::kDvdPlusRw);
    EXPECT_EQ(Send(*drive, kTestUnitReady).SenseCode(), sense::kMediumChanged);
    EXPECT_EQ(Send(*drive, kTestUnitReady).result.outcome, Outcome::Good);

    // REQUEST SENSE reports a pending attention and clears it.
    ASSERT_TRUE(drive->LoadMedium(*FindMediumPreset("dvd-r")));
    clock->Advance(drive->Identity().spinUpMs);
    const Answer requested = Send(*drive, {0x03, 0, 0, 0, 18, 0}, 18);
    EXPECT_EQ(requested.result.outcome, Outcome::Good);
    const std::vector<std::uint8_t> changed = {0x70, 0, 0x06, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0x28, 0x00, 0, 0, 0, 0};
    EXPECT_EQ(requested.Received(), changed);
    EXPECT_EQ(Send(*drive, kTestUnitReady).result.outcome, Outcome::Good);
}

TEST(EmulatedDrive, TheTrayOpensOnlyWhileRemovalIsAllowed)
{
    auto clock = std::make_shared<ManualClock>();
    auto drive = Drive("bd-writer", "bd-r", clock);
    Send(*drive, {0x1E, 0, 0, 0, 1, 0});
    EXPECT_TRUE(drive->RemovalPrevented());
    EXPECT_FALSE(drive->EjectMedium());
    EXPECT_TRUE(drive->HasMedium());

    Send(*drive, {0x1E, 0, 0, 0, 0, 0});
    EXPECT_TRUE(drive->EjectMedium());
    EXPECT_EQ(Send(*drive, kTestUnitReady).SenseCode(), sense::kNoMediumTrayOpen);
    EXPECT_EQ(Send(*drive, {0xBD, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0, 0}, 8).data[1], 0x10);  // door open

    // START STOP UNIT with load closes the tray over the same disc.
    EXPECT_EQ(Send(*drive, {0x1B, 0, 0, 0, 0x03, 0}).result.outcome, Outcome::Good);
    EXPECT_EQ(Send(*drive, kTestUnitReady).SenseCode(), sense::kNotReadyBecomingReady);
    clock->Advance(drive->Identity().spinUpMs);
    EXPECT_EQ(Send(*drive, kTestUnitReady).SenseCode(), sense::kMediumChanged);
    EXPECT_EQ(drive->CurrentProfile(), profile::kBdRSequential);

    drive->EjectMedium();
    drive->RemoveMedium();
    Send(*drive, {0x1B, 0, 0, 0, 0x03, 0});
    EXPECT_EQ(Send(*drive, kTestUnitReady).SenseCode(), sense::kNoMedium);
}

// A fault in the middle of a run: the disc pulled out, the drive unplugged
// or hung not ready with the command after the given count, the lost ones
// counted.
TEST(EmulatedDrive, ScheduledFaultsComeWithTheirCommand)
{
    auto drive = Drive("dvd-writer", "dvd+r");
    drive->ScheduleFault(MidRunFault::DiscRemoved, 2);
    EXPECT_EQ(Send(*drive, Read10(0, 1), 2048).result.outcome, Outcome::Good);
    EXPECT_EQ(Send(*drive, Read10(1, 1), 2048).result.outcome, Outcome::Good);
    EXPECT_EQ(Send(*drive, Read10(2, 1), 2048).SenseCode(), sense::kNoMedium);
    EXPECT_FALSE(drive->HasMedium());

    drive = Drive("dvd-writer", "dvd+r");
    drive->ScheduleFault(MidRunFault::DriveGone, 1);
    EXPECT_EQ(Send(*drive, kTestUnitReady).result.outcome, Outcome::Good);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Send(*drive, kTestUnitReady).result.outcome, Outcome::DeviceGone);
    EXPECT_EQ(drive->SentCommands(), 4u);
    EXPECT_EQ(drive->Journal().size(), 1u);

    // A hung drive still tells who it is and what went wrong, nothing else.
    drive = Drive("dvd-writer", "dvd+r");
    drive->ScheduleFault(MidRunFault::StuckNotReady, 1);
    EXPECT_EQ(Send(*drive, Read10(0, 1), 2048).result.outcome, Outcome::Good);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Send(*drive, kTestUnitReady).SenseCode(), sense::kNotReady);
        EXPECT_EQ(Send(*drive, Read10(0, 1), 2048).SenseCode(), sense::kNotReady);
        EXPECT_EQ(Send(*drive, {0xAD, 0, 0, 0, 0, 0, 0, 0, 0x08, 0x04, 0, 0}, 2052).SenseCode(), sense::kNotReady);
    }
    const Answer sense = Send(*drive, {0x03, 0, 0, 0, 18, 0}, 18);
    EXPECT_EQ(sense.result.outcome, Outcome::Good);
    EXPECT_EQ(sense.Received()[2] & 0x0F, 0x02);
    EXPECT_EQ(sense.Received()[12], 0x04);
    EXPECT_EQ(Send(*drive, {0x12, 0, 0, 0, 36, 0}, 36).result.outcome, Outcome::Good);
    EXPECT_TRUE(drive->HasMedium());
}

TEST(EmulatedDrive, RefusalsNeverReachTheDriveAndStrictModeRefusesWrongLengths)
{
    auto drive = Drive("dvd-writer", "dvd+r");
    drive->AddErrorRule(ErrorRule::Refusal(ErrorRule::Kind::PermissionDenied, 0xC0, 0xFF));
    drive->AddErrorRule(ErrorRule::Refusal(ErrorRule::Kind::TransportFailure, 0x00, 0x00, 1));

    const Answer vendor = Send(*drive, {0xF3, 0x0E, 0x71, 0, 0, 0, 0, 0, 0x02, 0, 0, 0}, 2);
    EXPECT_EQ(vendor.result.outcome, Outcome::PermissionDenied);
    EXPECT_EQ(vendor.result.sense, FixedSense{});
    EXPECT_EQ(Send(*drive, kTestUnitReady).result.outcome, Outcome::TransportFailure);
    EXPECT_EQ(Send(*drive, kTestUnitReady).result.outcome, Outcome::Good);  // the lost command was a one-off
    ASSERT_EQ(drive->Journal().size(), 1u);

    std::vector<std::uint8_t> nineBytes = Read10(0, 1);
    nineBytes.pop_back();
    EXPECT_EQ(Send(*drive, nineBytes, 2048).result.outcome, Outcome::Good);  // a lenient drive pads it
    drive->SetStrictCdbLength(true);
    EXPECT_EQ(Send(*drive, nineBytes, 2048).SenseCode(), sense::kInvalidOpcode);
    EXPECT_EQ(Send(*drive, Read10(0, 1), 2048).result.outcome, Outcome::Good);
    const auto journal = drive->Journal();
    ASSERT_EQ(journal.size(), 4u);
    EXPECT_EQ(journal[2].Bytes(), nineBytes);
    EXPECT_EQ(journal[2].dataLength, 2048u);
    EXPECT_EQ(journal[2].direction, DataDirection::In);
}

TEST(EmulatedDrive, EveryMediumPresetLoadsWithItsProfileAndUnknownNamesAreRefused)
{
    for (const std::string& name : MediumPresetNames()) {
        SCOPED_TRACE(name);
        std::string error;
        auto drive = MakeEmulatedDrive("bd-writer", name, std::make_shared<ManualClock>(), &error);
        ASSERT_TRUE(drive) << error;
        const auto disc = FindMediumPreset(name);
        EXPECT_EQ(drive->CurrentProfile(), disc ? disc->profile : 0);
    }
    // A DVD-ROM drive would read a DVD+R as DVD-ROM; a CD reader cannot read it at all.
    EXPECT_EQ(Drive("cd-reader", "dvd+r")->CurrentProfile(), 0);
    EXPECT_EQ(Drive("cd-reader", "cd-rw")->CurrentProfile(), profile::kCdRom);

    std::string error;
    EXPECT_FALSE(MakeEmulatedDrive("zip-drive", "none", nullptr, &error));
    EXPECT_EQ(error, "unknown drive preset \"zip-drive\"");
    EXPECT_FALSE(MakeEmulatedDrive("dvd-writer", "floppy", nullptr, &error));
    EXPECT_EQ(error, "unknown medium preset \"floppy\"");
    error.clear();
    EXPECT_FALSE(MakeEmulatedDrive(*FindDrivePreset("cd-reader"), "floppy", nullptr, &error));  // a hand-made drive
    EXPECT_EQ(error, "unknown medium preset \"floppy\"");
    EXPECT_EQ(MakeEmulatedDrive(*FindDrivePreset("cd-reader"), "CD-RW", nullptr, &error)->CurrentProfile(),
              profile::kCdRom);
    EXPECT_TRUE(FindDrivePreset("DVD-Writer"));  // names ignore case
}
