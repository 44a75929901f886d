#include "EmuTestHelpers.h"
#include "emu/DrivePresets.h"
#include "emu/MediaPresets.h"

#include <gtest/gtest.h>

#include <functional>

using namespace emu;

namespace {

std::vector<std::uint8_t> Cdb12(std::uint8_t opcode, std::initializer_list<std::pair<std::size_t, std::uint8_t>> bytes)
{
    std::vector<std::uint8_t> cdb(12, 0);
    cdb[0] = opcode;
    for (const auto& [index, value] : bytes)
        cdb[index] = value;
    return cdb;
}

std::vector<std::uint8_t> DiscStructure(std::uint8_t mediaType, std::uint8_t format, std::uint16_t length,
                                        std::uint8_t layer = 0)
{
    return Cdb12(0xAD, {{1, mediaType}, {6, layer}, {7, format}, {8, length >> 8}, {9, length & 0xFF}});
}

// READ DISC INFORMATION and READ TRACK INFORMATION.
std::vector<std::uint8_t> Cdb10(std::uint8_t opcode, std::uint8_t byte1, std::uint32_t address,
                                std::uint16_t allocation)
{
    std::vector<std::uint8_t> cdb(10, 0);
    cdb[0] = opcode;
    cdb[1] = byte1;
    scsi::PutBe32(&cdb[2], address);
    scsi::PutBe16(&cdb[7], allocation);
    return cdb;
}

std::vector<std::uint8_t> ReadToc(std::uint8_t format, bool msf, std::uint8_t track = 0)
{
    return {0x43, static_cast<std::uint8_t>(msf ? 0x02 : 0), format, 0, 0, 0, track, 0x08, 0x00, 0};
}

std::vector<std::uint8_t> Slice(const std::vector<std::uint8_t>& bytes, std::size_t from, std::size_t count)
{
    return {bytes.begin() + static_cast<long>(from), bytes.begin() + static_cast<long>(from + count)};
}

std::shared_ptr<EmulatedDrive> DriveWith(const char* drivePreset, MediumDescription disc,
                                         std::shared_ptr<Clock> clock = std::make_shared<ManualClock>())
{
    auto drive = std::make_shared<EmulatedDrive>(*FindDrivePreset(drivePreset), std::move(clock));
    EXPECT_TRUE(drive->InsertMedium(disc));
    return drive;
}

MediumDescription Preset(const char* name)
{
    return *FindMediumPreset(name);
}

const std::vector<std::uint8_t> kRequestSense = {0x03, 0, 0, 0, 18, 0};

}  // namespace

TEST(MediaCommands, PhysicalFormatOfDvdPlusRCarriesBookTypeAddressesAndMediaId)
{
    auto drive = Drive("dvd-writer", "dvd+r");
    const Answer answer = Send(*drive, DiscStructure(0, 0x00, 2052), 2052);
    ASSERT_EQ(answer.result.outcome, Outcome::Good);
    ASSERT_EQ(answer.result.transferred, 2052u);
    const std::vector<std::uint8_t> expected = {
        0x08, 0x02, 0x00, 0x00,  // 2050 bytes follow
        0xA0, 0x02, 0x02, 0x00,  // DVD+R book, 120 mm, one recordable layer, 0.267 um/bit and 0.74 um/track
        0x00, 0x03, 0x00, 0x00, 0x00, 0x23, 0x0B, 0x1F,  // data from 030000h to 030000h + 2100000 - 1
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // no layer 0 end, no BCA
        'M',  'C',  'C',  0x00, 0x00, 0x00, 0x00, 0x00, '0', '0', '4', 0x01};  // media ID, revision
    EXPECT_EQ(Slice(answer.data, 0, expected.size()), expected);

    // The same identification through the pre-groove (ADIP) of a DVD+RW.
    const Answer adip = Send(*Drive("dvd-writer", "dvd+rw"), DiscStructure(0, 0x11, 260), 260);
    ASSERT_EQ(adip.result.transferred, 260u);
    EXPECT_EQ(scsi::GetBe16(&adip.data[0]), 258);
    EXPECT_EQ(std::string(adip.data.begin() + 23, adip.data.begin() + 34), std::string("RICOHJPNW11"));
}

TEST(MediaCommands, DualLayerDiscsReportTheirLayerBreakAndOppositeTrackPath)
{
    auto drive = Drive("dvd-writer", "dvd+r-dl");
    const Answer answer = Send(*drive, DiscStructure(0, 0x00, 2052), 2052);
    EXPECT_EQ(answer.data[4 + 2], 0x32);  // two layers, opposite track path, recordable
    EXPECT_EQ(answer.data[4 + 3], 0x10);  // 0.293 um/bit
    EXPECT_EQ(scsi::GetBe32(&answer.data[4 + 12]), 0x22D7FFu);  // layer 0 full: 2086912 blocks
    EXPECT_EQ(scsi::GetBe32(&answer.data[4 + 8]), 0xFA58FFu);  // counted on from the complement

    const Answer performance = Send(*drive, Cdb12(0xAC, {{1, 0x10}, {9, 2}}), 40);
    ASSERT_EQ(performance.result.outcome, Outcome::Good);
    EXPECT_EQ(scsi::GetBe32(&performance.data[0]), 4u + 2 * 16);
    EXPECT_EQ(scsi::GetBe32(&performance.data[8 + 8]), 2086911u);  // first extent ends with layer 0
    EXPECT_EQ(scsi::GetBe32(&performance.data[8 + 16]), 2086912u);
    EXPECT_EQ(scsi::GetBe32(&performance.data[8 + 24]), 3999999u);

    const Answer one = Send(*drive, Cdb12(0xAC, {{1, 0x10}, {9, 1}}), 24);  // at most one descriptor
    EXPECT_EQ(one.result.transferred, 8u + 16);
}

TEST(MediaCommands, GetPerformanceDescribesNominalReadAndWriteExtents)
{
    auto drive = Drive("dvd-writer", "dvd+r");
    const Answer read = Send(*drive, Cdb12(0xAC, {{1, 0x10}, {9, 2}}), 40);
    const std::vector<std::uint8_t> expected = {
        0x00, 0x00, 0x00, 0x14, 0x00, 0x00, 0x00, 0x00,  // 20 bytes follow, read, nominal
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x22, 0xA0,  // from LBA 0 at 8864 kB/s (CAV inside)
        0x00, 0x20, 0x0B, 0x1F, 0x00, 0x00, 0x56, 0x90};  // to the last block at 22160 kB/s
    EXPECT_EQ(read.Received(), expected);

    const Answer write = Send(*drive, Cdb12(0xAC, {{1, 0x14}, {9, 2}}), 40);
    EXPECT_EQ(write.data[4], 0x02);
    EXPECT_EQ(scsi::GetBe32(&write.data[8 + 8]), 2295103u);  // the whole disc
    EXPECT_EQ(Send(*Drive("dvd-writer", "dvd-rom"), Cdb12(0xAC, {{1, 0x14}, {9, 2}}), 40).result.transferred,
              8u);  // nothing to write on a pressed disc
    EXPECT_EQ(Send(*drive, Cdb12(0xAC, {{9, 2}, {10, 0x02}}), 40).SenseCode(), sense::kInvalidFieldInCdb);
    EXPECT_EQ(Send(*Drive("dvd-writer", "none"), Cdb12(0xAC, {{9, 2}}), 40).SenseCode(), sense::kNoMedium);

    // Type 03h: the write speeds the drive offers for the disc, fastest first.
    const Answer speeds = Send(*drive, Cdb12(0xAC, {{9, 8}, {10, 0x03}}), 136);
    ASSERT_EQ(speeds.result.transferred, 8u + 4 * 16);
    EXPECT_EQ(scsi::GetBe32(&speeds.data[0]), 4u + 4 * 16);
    EXPECT_EQ(scsi::GetBe32(&speeds.data[8 + 4]), 2295103u);  // End LBA: the whole disc
    EXPECT_EQ(scsi::GetBe32(&speeds.data[8 + 8]), 16u * 1385);  // read speed
    EXPECT_EQ(scsi::GetBe32(&speeds.data[8 + 12]), 20u * 1385);
    EXPECT_EQ(scsi::GetBe32(&speeds.data[8 + 3 * 16 + 12]), 4u * 1385);
    EXPECT_EQ(Send(*drive, Cdb12(0xAC, {{9, 1}, {10, 0x03}}), 24).result.transferred, 8u + 16);
    EXPECT_EQ(Send(*Drive("dvd-writer", "dvd-rom"), Cdb12(0xAC, {{9, 8}, {10, 0x03}}), 136).result.transferred, 8u);
    EXPECT_EQ(Send(*Drive("cd-reader", "cd-r"), Cdb12(0xAC, {{9, 8}, {10, 0x03}}), 136).result.transferred,
              8u);  // a reader writes nothing
}

TEST(MediaCommands, SpeedsFollowTheLoadedMedium)
{
    struct Case {
        const char* drive;
        const char* medium;
        std::uint16_t read, write;
        std::size_t writeSpeeds;
    };
    // clang-format off
    const Case cases[] = {
        {"dvd-writer", "cd-r",   48 * 176,  48 * 176,  5},
        {"dvd-writer", "dvd+r",  16 * 1385, 20 * 1385, 4},
        {"dvd-writer", "none",   48 * 176,  48 * 176,  5},  // without a disc: the CD speeds
        {"bd-writer",  "dvd+r",  16 * 1385, 16 * 1385, 4},
        {"bd-writer",  "bd-r",   12 * 4496, 12 * 4496, 5},
        {"bd-writer",  "cd-rom", 48 * 176,  24 * 176,  3},
        {"cd-reader",  "cd-rom", 52 * 176,  0,         0},
    };
    // clang-format on
    for (const Case& test : cases) {
        SCOPED_TRACE(std::string(test.drive) + " " + test.medium);
        auto drive = Drive(test.drive, test.medium);
        const Answer page = Send(*drive, {0x5A, 0, 0x2A, 0, 0, 0, 0, 0x01, 0x00, 0}, 256);
        const std::uint8_t* caps = &page.data[8];
        EXPECT_EQ(scsi::GetBe16(&caps[8]), test.read);
        EXPECT_EQ(scsi::GetBe16(&caps[14]), test.read);  // the current speed: nothing set
        EXPECT_EQ(scsi::GetBe16(&caps[18]), test.write);
        EXPECT_EQ(scsi::GetBe16(&caps[30]), test.writeSpeeds);
        EXPECT_EQ(caps[1] + 2u, 32 + 4 * test.writeSpeeds);
        if (std::string(test.medium) != "none") {
            const Answer read = Send(*drive, Cdb12(0xAC, {{1, 0x10}, {9, 2}}), 40);
            EXPECT_EQ(scsi::GetBe32(&read.data[8 + 12]), test.read);  // the top speed at the outside
        }
    }
    // SET CD SPEED is held to the medium's top speed.
    auto drive = Drive("dvd-writer", "cd-r");
    Send(*drive, Cdb12(0xBB, {{2, 0x7F}, {3, 0xFF}, {4, 0x7F}, {5, 0xFF}}));
    const Answer page = Send(*drive, {0x5A, 0, 0x2A, 0, 0, 0, 0, 0x01, 0x00, 0}, 256);
    EXPECT_EQ(scsi::GetBe16(&page.data[8 + 14]), 48 * 176);
}

TEST(MediaCommands, BdDiscInformationHoldsOneUnitPerLayer)
{
    auto drive = Drive("bd-writer", "bd-r");
    const Answer answer = Send(*drive, DiscStructure(1, 0x00, 4100), 4100);
    ASSERT_EQ(answer.result.transferred, 4100u);
    EXPECT_EQ(scsi::GetBe16(&answer.data[0]), 4098);
    const std::uint8_t* unit = &answer.data[4];
    EXPECT_EQ(std::string(unit, unit + 2), "DI");
    EXPECT_EQ(std::string(unit + 8, unit + 11), "BDR");
    EXPECT_EQ(std::string(unit + 100, unit + 109), "VERBATIMe");
    EXPECT_EQ(unit[112], 0);  // a single layer
    const Answer rewritable = Send(*Drive("bd-writer", "bd-re"), DiscStructure(1, 0x00, 4100), 4100);
    EXPECT_EQ(std::string(&rewritable.data[4 + 8], &rewritable.data[4 + 11]), "BDW");

    // The unit header as the BD format lays it out: units in the DI block and
    // the unit's layer at byte 3, its sequence number at byte 5, bytes in use
    // at byte 6; the number of recording layers at byte 12.
    MediumDescription dualLayer = Preset("bd-r");
    dualLayer.layers = 2;
    const Answer two = Send(*DriveWith("bd-writer", dualLayer), DiscStructure(1, 0x00, 4100), 4100);
    for (std::size_t layer = 0; layer < 2; ++layer) {
        SCOPED_TRACE(layer);
        const std::uint8_t* at = &two.data[4 + 112 * layer];
        EXPECT_EQ(std::string(at, at + 2), "DI");
        EXPECT_EQ(at[3] >> 3, 2);  // two units in the block
        EXPECT_EQ(at[3] & 0x07, layer);
        EXPECT_EQ(at[5], layer);
        EXPECT_EQ(at[6], 112);
        EXPECT_EQ(at[12] >> 4, 2);
    }
    // A BD-ROM's units are 64 bytes and carry no maker.
    const Answer pressed = Send(*Drive("bd-writer", "bd-rom"), DiscStructure(1, 0x00, 4100), 4100);
    EXPECT_EQ(std::string(&pressed.data[4 + 8], &pressed.data[4 + 11]), "BDO");
    EXPECT_EQ(pressed.data[4 + 6], 64);
    EXPECT_EQ(pressed.data[4 + 12] >> 4, 1);
}

TEST(MediaCommands, StructuresOfTheMediaInformationReport)
{
    // The format layer list answers for either media type, one code a layer.
    struct Layers {
        const char* drive;
        const char* medium;
        std::uint8_t mediaType;
        std::uint8_t code;
    };
    for (const Layers& c : {Layers{"bd-writer", "bd-r", 1, 0x40}, Layers{"bd-writer", "dvd+r", 0, 0x10},
                            Layers{"bd-writer", "dvd+r", 1, 0x10}, Layers{"toshiba", "hddvd-rom", 0, 0x50}}) {
        SCOPED_TRACE(c.medium);
        EXPECT_EQ(Send(*Drive(c.drive, c.medium), DiscStructure(c.mediaType, 0x90, 4100), 4100).Received(),
                  (std::vector<std::uint8_t>{0, 6, 0, 0, 1, 0, 0, c.code}));
    }
    const Answer rmd = Send(*Drive("dvd-writer", "dvd-r"), DiscStructure(0, 0x0D, 0x8004), 0x8004);
    EXPECT_EQ(rmd.Received().size(), 0x8004u);
    EXPECT_EQ(std::string(rmd.data.begin() + 8, rmd.data.begin() + 24), "PIONEER DVR-112D");
    const Answer dds = Send(*Drive("bd-writer", "bd-re"), DiscStructure(1, 0x08, 56), 56);
    EXPECT_EQ(Slice(dds.data, 4, 2), (std::vector<std::uint8_t>{'D', 'S'}));
    const Answer spare = Send(*Drive("bd-writer", "bd-re"), DiscStructure(1, 0x0A, 16), 16);
    EXPECT_EQ(scsi::GetBe32(&spare.data[8]), 0x2F00u);
    EXPECT_EQ(Send(*Drive("dvd-writer", "dvd-rom"), DiscStructure(0, 0x01, 8), 8).Received(),
              (std::vector<std::uint8_t>{0, 6, 0, 0, 0, 0, 0, 0}));

    // The catalogue number of a CD from the Q sub-channel: MCVal and 13 digits.
    const std::vector<std::uint8_t> subQ = {0x42, 0, 0x40, 0x02, 0, 0, 0, 0, 24, 0};
    const Answer catalog = Send(*Drive("cd-reader", "cd-rom"), subQ, 24);
    EXPECT_EQ(catalog.data[8], 0x80);
    EXPECT_EQ(std::string(catalog.data.begin() + 9, catalog.data.begin() + 22), "4006381333931");
    EXPECT_EQ(Send(*Drive("cd-reader", "cd-r"), subQ, 24).data[8], 0x00);  // none on the disc
    EXPECT_EQ(Send(*Drive("dvd-writer", "dvd+r"), subQ, 24).SenseCode(), sense::kIncompatibleFormat);

    // The head's position where a SEEK left it, on the disc's clock and the
    // track's; a track without an ISRC says so; no track 9, no format 04h.
    auto cd = Drive("cd-reader", "cd-rom");
    Send(*cd, {0x2B, 0, 0, 0, 0x01, 0x2C, 0, 0, 0, 0});  // SEEK to block 300
    const Answer position = Send(*cd, {0x42, 0x02, 0x40, 0x01, 0, 0, 0, 0, 16, 0}, 16);
    EXPECT_EQ(position.Received(),
              (std::vector<std::uint8_t>{0, 0x15, 0, 12, 0x01, 0x14, 1, 1, 0, 0, 6, 0, 0, 0, 4, 0}));
    EXPECT_EQ(scsi::GetBe32(&Send(*cd, {0x42, 0, 0x40, 0x01, 0, 0, 0, 0, 16, 0}, 16).data[8]), 300u);
    const Answer isrc = Send(*cd, {0x42, 0, 0x40, 0x03, 0, 0, 1, 0, 24, 0}, 24);
    EXPECT_EQ(Slice(isrc.data, 0, 9), (std::vector<std::uint8_t>{0, 0x15, 0, 20, 0x03, 0x34, 1, 0, 0}));
    EXPECT_EQ(Send(*cd, {0x42, 0, 0x40, 0x03, 0, 0, 9, 0, 24, 0}, 24).SenseCode(), sense::kInvalidFieldInCdb);
    EXPECT_EQ(Send(*cd, {0x42, 0, 0x40, 0x04, 0, 0, 0, 0, 24, 0}, 24).SenseCode(), sense::kInvalidFieldInCdb);
}

TEST(MediaCommands, DiscStructureRefusals)
{
    struct Case {
        const char* name;
        const char* drive;
        const char* medium;
        std::vector<std::uint8_t> cdb;
        Sense expected;
    };
    const Case cases[] = {
        {"BD structure of a DVD", "dvd-writer", "dvd+r", DiscStructure(1, 0x00, 4100), sense::kIncompatibleFormat},
        {"DVD structure of a BD", "bd-writer", "bd-r", DiscStructure(0, 0x00, 2052), sense::kIncompatibleFormat},
        {"DVD structure of a CD", "dvd-writer", "cd-r", DiscStructure(0, 0x00, 2052), sense::kIncompatibleFormat},
        {"second layer of a single-layer disc", "dvd-writer", "dvd+r", DiscStructure(0, 0x00, 2052, 1),
         sense::kInvalidFieldInCdb},
        {"pre-groove of a pressed DVD", "dvd-writer", "dvd-rom", DiscStructure(0, 0x11, 260),
         sense::kInvalidFieldInCdb},
        {"format not offered", "dvd-writer", "dvd+r", DiscStructure(0, 0x30, 260), sense::kInvalidFieldInCdb},
        {"no disc", "dvd-writer", "none", DiscStructure(0, 0x00, 2052), sense::kNoMedium},
        {"format layers of a CD", "bd-writer", "cd-r", DiscStructure(1, 0x90, 4100), sense::kIncompatibleFormat},
        {"recording data of a blank DVD-R", "dvd-writer", "dvd-r-blank", DiscStructure(0, 0x0D, 2052),
         sense::kInvalidFieldInCdb},
        {"recording data of a DVD+R", "dvd-writer", "dvd+r", DiscStructure(0, 0x0D, 2052), sense::kInvalidFieldInCdb},
        {"definition structure of a BD-ROM", "bd-writer", "bd-rom", DiscStructure(1, 0x08, 56),
         sense::kInvalidFieldInCdb},
        {"spare areas of a blank BD-R", "bd-writer", "bd-r-blank", DiscStructure(1, 0x0A, 16),
         sense::kInvalidFieldInCdb},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(Send(*Drive(test.drive, test.medium), test.cdb, 4100).SenseCode(), test.expected);
    }
}

TEST(MediaCommands, TocOfACdRInLbaAndTimeForms)
{
    auto drive = Drive("dvd-writer", "cd-r");
    const Answer lba = Send(*drive, ReadToc(0, false), 2048);
    const std::vector<std::uint8_t> expected = {
        0x00, 0x12, 0x01, 0x01,  // 18 bytes follow, tracks 1 to 1
        0x00, 0x14, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00,  // track 1, data, at LBA 0
        0x00, 0x14, 0xAA, 0x00, 0x00, 0x04, 0x93, 0xE0};  // lead-out at 300000
    EXPECT_EQ(lba.Received(), expected);
    const Answer msf = Send(*drive, ReadToc(0, true), 2048);
    EXPECT_EQ(Slice(msf.data, 8, 4), (std::vector<std::uint8_t>{0, 0, 2, 0}));  // 00:02:00
    EXPECT_EQ(Slice(msf.data, 16, 4), (std::vector<std::uint8_t>{0, 66, 42, 0}));
    EXPECT_EQ(Send(*drive, ReadToc(0, false, 0xAA), 2048).result.transferred, 12u);  // the lead-out alone
    EXPECT_EQ(Send(*drive, ReadToc(0, false, 2), 2048).SenseCode(), sense::kInvalidFieldInCdb);

    const Answer sessions = Send(*drive, ReadToc(1, false), 2048);
    EXPECT_EQ(sessions.Received(),
              (std::vector<std::uint8_t>{0x00, 0x0A, 0x01, 0x01, 0x00, 0x14, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00}));

    const Answer full = Send(*drive, ReadToc(2, false), 2048);
    ASSERT_EQ(full.result.transferred, 4u + 4 * 11);
    EXPECT_EQ(Slice(full.data, 4, 11), (std::vector<std::uint8_t>{1, 0x14, 0, 0xA0, 0, 0, 0, 0, 1, 0, 0}));
    EXPECT_EQ(Slice(full.data, 26, 11), (std::vector<std::uint8_t>{1, 0x14, 0, 0xA2, 0, 0, 0, 0, 66, 42, 0}));
    EXPECT_EQ(Slice(full.data, 37, 11), (std::vector<std::uint8_t>{1, 0x14, 0, 0x01, 0, 0, 0, 0, 0, 2, 0}));
}

TEST(MediaCommands, AtipOnRecordableCdsOnly)
{
    const Answer atip = Send(*Drive("dvd-writer", "cd-rw"), ReadToc(4, true), 2048);
    std::vector<std::uint8_t> expected = {0x00, 0x1A, 0x00, 0x00,  // 26 bytes follow
                                          0xD0, 0x40, 0xC0, 0x00,  // unrestricted use; bit 7, rewritable
                                          97,   15,   10,   0x00,  // lead-in starts at 97:15:10
                                          79,   59,   71,   0x00};  // lead-out no later than 79:59:71
    expected.resize(28, 0);
    EXPECT_EQ(atip.Received(), expected);
    EXPECT_EQ(Send(*Drive("dvd-writer", "cd-r"), ReadToc(4, true), 2048).data[6], 0x80);  // write-once

    struct Case {
        const char* medium;
        std::uint8_t format;
        bool answered;
    };
    // clang-format off
    const Case cases[] = {
        {"cd-rom", 4, false}, {"dvd+r", 4, false}, {"dvd+r", 2, false}, {"bd-r", 1, true}, {"cd-r", 3, true},
        {"cd-rom", 3, false}, {"cd-rom", 5, true},  {"dvd-rom", 5, false}, {"cd-r", 6, false},
    };
    // clang-format on
    for (const Case& test : cases) {
        SCOPED_TRACE(std::string(test.medium) + " format " + std::to_string(test.format));
        const Answer answer = Send(*Drive("bd-writer", test.medium), ReadToc(test.format, true), 2048);
        EXPECT_EQ(answer.result.outcome == Outcome::Good, test.answered);
        if (!test.answered) {
            EXPECT_EQ(answer.SenseCode(), sense::kInvalidFieldInCdb);
        }
    }
}

TEST(MediaCommands, DiscAndTrackInformationOfAClosedDisc)
{
    auto drive = Drive("dvd-writer", "dvd+r");
    const Answer disc = Send(*drive, Cdb10(0x51, 0, 0, 34), 34);
    const std::vector<std::uint8_t> expectedDisc = {
        0x00, 0x20, 0x0E, 0x01, 0x01, 0x01, 0x01, 0x20,  // complete session, complete disc; one track; unrestricted
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  //
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // nothing more can be written
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(disc.Received(), expectedDisc);

    const Answer track = Send(*drive, Cdb10(0x52, 0x01, 1, 48), 48);
    std::vector<std::uint8_t> expectedTrack(48, 0);
    expectedTrack[1] = 46;
    expectedTrack[2] = 1;  // track 1
    expectedTrack[3] = 1;  // session 1
    expectedTrack[5] = 0x04;  // data, recorded uninterrupted
    expectedTrack[6] = 0x01;
    expectedTrack[7] = 0x02;  // last recorded address valid
    scsi::PutBe32(&expectedTrack[20], 16);  // ECC block
    scsi::PutBe32(&expectedTrack[24], 2100000);
    scsi::PutBe32(&expectedTrack[28], 2099999);
    EXPECT_EQ(track.Received(), expectedTrack);

    EXPECT_EQ(Send(*drive, Cdb10(0x52, 0x00, 1234567, 48), 48).data[2], 1);  // the track that holds the block
    EXPECT_EQ(Send(*drive, Cdb10(0x52, 0x00, 2100000, 48), 48).SenseCode(), sense::kLbaOutOfRange);
    EXPECT_EQ(Send(*drive, Cdb10(0x52, 0x01, 0xFF, 48), 48).SenseCode(), sense::kInvalidFieldInCdb);
    EXPECT_EQ(Send(*drive, Cdb10(0x51, 0x02, 0, 34), 34).SenseCode(), sense::kInvalidFieldInCdb);

    // A closed disc described without tracks is refused, not read past its end.
    MediumDescription trackless = Preset("dvd+r");
    trackless.tracks.clear();
    auto bare = DriveWith("dvd-writer", trackless);
    EXPECT_EQ(Send(*bare, Cdb10(0x51, 0, 0, 34), 34).SenseCode(), sense::kIncompatibleMedium);
    EXPECT_EQ(Send(*bare, Cdb10(0x52, 0x01, 1, 48), 48).SenseCode(), sense::kInvalidFieldInCdb);
    EXPECT_EQ(Send(*bare, ReadToc(0, false), 2048).SenseCode(), sense::kInvalidFieldInCdb);
}

TEST(MediaCommands, BlankAndAppendableDiscsAsRealDrivesReportThem)
{
    // The disc information: status byte, last track; the last session's
    // lead-in start and the last possible lead-out start (times on a CD).
    // The open track: its start, next writable address and free blocks.
    struct Case {
        const char* medium;
        std::uint8_t status, lastTrack;
        std::vector<std::uint8_t> leadIn, leadOut;
        std::uint32_t trackStart, nextWritable, free;
    };
    // clang-format off
    const Case cases[] = {
        // A blank CD-R: the maker's lead-in start from the pre-groove, not 00:02:00.
        {"cd-r-blank",        0x00, 1, {0, 97, 27, 18}, {0, 79, 59, 71}, 0, 0, 359846},
        // One closed session of 120000 blocks: its lead-out (6750), the next
        // lead-in (4500) and the pre-gap (150) come before the next writable address.
        {"cd-r-appendable",   0x05, 2, {0, 28, 12, 0},  {0, 79, 59, 71}, 126750 + 4500, 131400, 359846 - 131400},
        {"dvd-r-blank",       0x00, 1, {0, 0, 0, 0},    {0, 0x23, 0x12, 0x80}, 0, 0, 2298496},
        {"dvd+r-blank",       0x00, 1, {0, 0, 0, 0},    {0, 0x23, 0x05, 0x40}, 0, 0, 2295104},
        {"dvd+r-appendable",  0x05, 2, {0, 0x0A, 0xDE, 0x60}, {0, 0x23, 0x05, 0x40}, 712288, 712288, 2295104 - 712288},
        {"dvd-r-appendable",  0x05, 2, {0, 0x0A, 0xDE, 0x60}, {0, 0x23, 0x12, 0x80}, 712288, 712288, 2298496 - 712288},
        {"bd-r-blank",        0x00, 1, {0, 0, 0, 0},    {0, 0xBA, 0x74, 0x00}, 0, 0, 12219392},
        {"bd-r-appendable",   0x05, 2, {0, 0x2D, 0xC6, 0xC0}, {0, 0xBA, 0x74, 0x00}, 3000000, 3000000, 12219392 - 3000000},
    };
    // clang-format on
    for (const Case& test : cases) {
        SCOPED_TRACE(test.medium);
        auto drive = Drive("bd-writer", test.medium);
        const Answer disc = Send(*drive, Cdb10(0x51, 0, 0, 34), 34);
        ASSERT_EQ(disc.result.outcome, Outcome::Good);
        EXPECT_EQ(disc.data[2], test.status);
        EXPECT_EQ(disc.data[6], test.lastTrack);
        EXPECT_EQ(Slice(disc.data, 16, 4), test.leadIn);
        EXPECT_EQ(Slice(disc.data, 20, 4), test.leadOut);

        const Answer track = Send(*drive, Cdb10(0x52, 0x01, 0xFF, 48), 48);
        ASSERT_EQ(track.result.outcome, Outcome::Good);
        EXPECT_EQ(track.data[2], test.lastTrack);
        EXPECT_EQ(track.data[6] & 0x40, 0x40);  // blank
        EXPECT_EQ(track.data[7], 0x01);  // next writable address valid
        EXPECT_EQ(scsi::GetBe32(&track.data[8]), test.trackStart);
        EXPECT_EQ(scsi::GetBe32(&track.data[12]), test.nextWritable);
        EXPECT_EQ(scsi::GetBe32(&track.data[16]), test.free);
    }
    // A blank disc has no table of contents, and READ CAPACITY gives block 0.
    auto blank = Drive("dvd-writer", "cd-r-blank");
    EXPECT_EQ(Send(*blank, ReadToc(0, false), 2048).SenseCode(), sense::kInvalidFieldInCdb);
    EXPECT_EQ(Send(*blank, ReadToc(4, true), 2048).result.outcome, Outcome::Good);  // the ATIP is there

    const Answer rewritable = Send(*Drive("dvd-writer", "dvd+rw"), Cdb10(0x51, 0, 0, 34), 34);
    EXPECT_EQ(rewritable.data[2], 0x1F);  // erasable, complete session, random writable
    EXPECT_EQ(rewritable.data[7], 0x23);  // background format completed
}

TEST(MediaCommands, FormatCapacitiesPerMedium)
{
    MediumDescription unformatted = Preset("bd-re");
    unformatted.formatted = false;
    struct Case {
        const char* name;
        std::function<std::shared_ptr<EmulatedDrive>()> make;
        std::vector<std::uint8_t> expected;
    };
    // clang-format off
    const Case cases[] = {
        {"no disc", [] { return Drive("bd-writer", "none"); },
         {0, 0, 0, 8, 0x00, 0xBA, 0x74, 0x00, 0x03, 0x00, 0x08, 0x00}},
        {"closed DVD+R: formatted at its recorded size", [] { return Drive("dvd-writer", "dvd+r"); },
         {0, 0, 0, 8, 0x00, 0x20, 0x0B, 0x20, 0x02, 0x00, 0x08, 0x00}},
        {"DVD+RW with its format", [] { return Drive("dvd-writer", "dvd+rw"); },
         {0, 0, 0, 16, 0x00, 0x23, 0x05, 0x40, 0x02, 0x00, 0x08, 0x00,  //
          0x00, 0x23, 0x05, 0x40, 0x98, 0x00, 0x00, 0x00}},
        {"unformatted BD-RE", [&] { return DriveWith("bd-writer", unformatted); },
         {0, 0, 0, 32, 0x00, 0xB4, 0x74, 0x00, 0x01, 0x00, 0x08, 0x00,  //
          0x00, 0xB4, 0x74, 0x00, 0x00, 0x00, 0x00, 0x00,  //
          0x00, 0xB4, 0x74, 0x00, 0xC0, 0x00, 0x00, 0x00,  // full format with spare areas (30h)
          0x00, 0xB4, 0x74, 0x00, 0xC4, 0x00, 0x00, 0x00}},  // and without (31h)
    };
    // clang-format on
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const Answer answer = Send(*test.make(), {0x23, 0, 0, 0, 0, 0, 0, 0x00, 0xFC, 0}, 252);
        EXPECT_EQ(answer.Received(), test.expected);
    }
    // The allocation length cuts the answer: header and half a descriptor.
    EXPECT_EQ(Send(*Drive("dvd-writer", "dvd+rw"), {0x23, 0, 0, 0, 0, 0, 0, 0, 8, 0}, 8).result.transferred, 8u);

    auto clock = std::make_shared<ManualClock>();
    auto loading = Drive("dvd-writer", "none", clock);
    loading->LoadMedium(Preset("dvd+r"));
    EXPECT_EQ(Send(*loading, {0x23, 0, 0, 0, 0, 0, 0, 0, 12, 0}, 12).SenseCode(), sense::kNotReadyBecomingReady);
}

TEST(MediaCommands, AnImmediateFormatReportsItsProgressUntilItEnds)
{
    MediumDescription unformatted = Preset("bd-re");
    unformatted.formatted = false;
    auto clock = std::make_shared<ManualClock>();
    auto drive = DriveWith("bd-writer", unformatted, clock);
    std::vector<std::uint8_t> parameters = {0x00, 0x02, 0x00, 0x08,  // immediate, one descriptor
                                            0x00, 0xB4, 0x74, 0x00, 0x00, 0x00, 0x00, 0x00};  // format type 00h
    const std::uint8_t formatUnit[] = {0x04, 0x11, 0, 0, 0, 0};
    ASSERT_EQ(drive->Execute(formatUnit, 6, DataDirection::Out, parameters.data(), parameters.size()).outcome,
              Outcome::Good);

    const std::uint32_t duration = drive->Identity().formatMs;
    clock->Advance(duration / 4);
    const Answer quarter = Send(*drive, kTestUnitReady);
    EXPECT_EQ(quarter.SenseCode(), sense::kFormatInProgress);
    EXPECT_EQ(quarter.result.sense[15], 0x80);
    EXPECT_EQ(scsi::GetBe16(&quarter.result.sense[16]), 0x4000);
    clock->Advance(duration / 4);
    const Answer half = Send(*drive, kRequestSense, 18);
    EXPECT_EQ(half.SenseCode(), Sense{});  // the request itself succeeds ...
    EXPECT_EQ(half.data[2] & 0x0F, 0x02);  // ... and tells the format
    EXPECT_EQ(scsi::GetBe16(&half.data[16]), 0x8000);
    EXPECT_EQ(Send(*drive, Read10(0, 1), 2048).SenseCode(), sense::kFormatInProgress);

    clock->Advance(duration / 2);
    EXPECT_EQ(Send(*drive, kTestUnitReady).result.outcome, Outcome::Good);
    const Answer capacities = Send(*drive, {0x23, 0, 0, 0, 0, 0, 0, 0, 12, 0}, 12);
    EXPECT_EQ(capacities.data[8], 0x02);  // formatted now
}

TEST(MediaCommands, FormatUnitRefusals)
{
    std::vector<std::uint8_t> parameters = {0x00, 0x02, 0x00, 0x08, 0x00, 0x23, 0x05, 0x40, 0x98, 0, 0, 0};
    struct Case {
        const char* name;
        const char* medium;
        std::vector<std::uint8_t> cdb;
        std::size_t listLength;
        std::uint8_t formatType;
        Sense expected;
    };
    // clang-format off
    const Case cases[] = {
        {"write-once disc", "dvd+r", {0x04, 0x11, 0, 0, 0, 0}, 12, 0x26, sense::kCannotFormatMedium},
        {"format the disc does not offer", "dvd+rw", {0x04, 0x11, 0, 0, 0, 0}, 12, 0x00,
         sense::kInvalidFieldInParameterList},
        {"short parameter list", "dvd+rw", {0x04, 0x11, 0, 0, 0, 0}, 8, 0x26, Sense{0x0B, 0x4B, 0x00}},
        {"no format data", "dvd+rw", {0x04, 0x01, 0, 0, 0, 0}, 12, 0x26, sense::kInvalidFieldInCdb},
        {"no disc", "none", {0x04, 0x11, 0, 0, 0, 0}, 12, 0x26, sense::kNoMedium},
    };
    // clang-format on
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        auto drive = Drive("dvd-writer", test.medium);
        std::vector<std::uint8_t> list = parameters;
        list[8] = static_cast<std::uint8_t>(test.formatType << 2);
        const ExpectedMismatches mismatches;  // the short list is one
        const CommandResult result = drive->Execute(test.cdb.data(), test.cdb.size(), DataDirection::Out, list.data(),
                                                    test.listLength);
        EXPECT_EQ(result.outcome, Outcome::CheckCondition);
        EXPECT_EQ((Sense{static_cast<std::uint8_t>(result.sense[2] & 0x0F), result.sense[12], result.sense[13]}),
                  test.expected);
    }
}
