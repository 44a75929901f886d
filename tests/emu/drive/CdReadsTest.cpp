#include "EmuTestHelpers.h"
#include "emu/CdSector.h"
#include "emu/MediaPresets.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace emu;

namespace {

std::vector<std::uint8_t> ReadCd(std::uint32_t lba, std::uint32_t sectors, std::uint8_t fields)
{
    std::vector<std::uint8_t> cdb(12, 0);
    cdb[0] = 0xBE;
    scsi::PutBe32(&cdb[2], lba);
    cdb[6] = static_cast<std::uint8_t>(sectors >> 16);
    scsi::PutBe16(&cdb[7], static_cast<std::uint16_t>(sectors));
    cdb[9] = fields;
    return cdb;
}

std::vector<std::uint8_t> Seek10(std::uint32_t lba)
{
    std::vector<std::uint8_t> cdb(10, 0);
    cdb[0] = 0x2B;
    scsi::PutBe32(&cdb[2], lba);
    return cdb;
}

}  // namespace

TEST(CdSector, AMode1SectorCarriesItsAddressDataAndCheckBytes)
{
    std::array<std::uint8_t, emu::kCdUserDataBytes> user{};
    for (std::size_t i = 0; i < user.size(); ++i)
        user[i] = static_cast<std::uint8_t>(i * 3);
    const auto sector = emu::MakeMode1Sector(16, user);
    EXPECT_EQ(std::vector<std::uint8_t>(sector.begin(), sector.begin() + 16),
              (std::vector<std::uint8_t>{0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0x00, 0x02,
                                         0x16, 1}));  // 00:02:16, mode 1
    EXPECT_TRUE(std::equal(user.begin(), user.end(), sector.begin() + 16));
    // The EDC over sync, header and data, checked the way a reader checks it:
    // the EDC of the covered bytes and the stored EDC together give 0.
    EXPECT_EQ(emu::CdEdc(std::span(sector).first(2068)), 0u);
    EXPECT_TRUE(std::all_of(sector.begin() + 2068, sector.begin() + 2076, [](std::uint8_t b) { return b == 0; }));
    EXPECT_FALSE(std::all_of(sector.begin() + 2076, sector.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST(CdReads, ReadCdGivesWholeSectorsOrTheFieldsAskedFor)
{
    auto drive = Drive("cd-reader", "cd-rom");
    const Answer raw = Send(*drive, ReadCd(100, 2, 0xF8), 2 * 2352);
    ASSERT_EQ(raw.result.outcome, Outcome::Good);
    ASSERT_EQ(raw.result.transferred, 2u * 2352);
    const Answer user = Send(*drive, Read10(100, 2), 2 * 2048);
    // The second sector's user data is what READ(10) gives for its block.
    EXPECT_TRUE(std::equal(user.data.begin() + 2048, user.data.end(), raw.data.begin() + 2352 + 16));
    EXPECT_EQ(raw.data[2352 + 15], 1);  // mode 1

    const Answer onlyUser = Send(*drive, ReadCd(100, 2, 0x10), 2 * 2048);
    EXPECT_EQ(onlyUser.Received(), user.Received());

    EXPECT_EQ(Send(*drive, ReadCd(329999, 2, 0xF8), 2 * 2352).SenseCode(), sense::kLbaOutOfRange);
    auto dvd = Drive("dvd-writer", "dvd-rom");
    EXPECT_EQ(Send(*dvd, ReadCd(0, 1, 0xF8), 2352).SenseCode(), sense::kIllegalModeForTrack);
}

TEST(CdReads, AnAudioTrackIsReadOnlyAsSound)
{
    auto drive = Drive("cd-reader", "none");
    MediumDescription audio = *FindMediumPreset("cd-rom");
    audio.tracks[0].control = 0;
    ASSERT_TRUE(drive->InsertMedium(audio));
    EXPECT_EQ(Send(*drive, Read10(0, 1), 2048).SenseCode(), sense::kIllegalModeForTrack);
    const Answer sound = Send(*drive, ReadCd(0, 3, 0xF8), 3 * 2352);
    EXPECT_EQ(sound.result.outcome, Outcome::Good);
    EXPECT_EQ(sound.result.transferred, 3u * 2352);
}

TEST(CdReads, SeekTakesAddressesOnTheDisc)
{
    auto drive = Drive("dvd-writer", "dvd-rom");
    EXPECT_EQ(Send(*drive, Seek10(0)).result.outcome, Outcome::Good);
    EXPECT_EQ(Send(*drive, Seek10(1999999)).result.outcome, Outcome::Good);
    EXPECT_EQ(Send(*drive, Seek10(2000000)).SenseCode(), sense::kLbaOutOfRange);
}
