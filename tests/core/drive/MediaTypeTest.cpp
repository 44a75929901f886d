#include "core/drive/MediaType.h"

#include <gtest/gtest.h>

#include <vector>

TEST(MediaType, TheMediaIdTableHoldsItsRowsInOrderAndTheFirstMatchWins)
{
    const auto table = MediaIdTable();
    ASSERT_EQ(table.size(), 136u);
    EXPECT_STREQ(table.front().mediaId, "3AM0    411");
    EXPECT_STREQ(table.back().mediaId, "YUDEN000T03");
    for (const MediaIdEntry& entry : table) {
        EXPECT_EQ(std::string(entry.mediaId).size(), 11u) << entry.mediaId;
        EXPECT_TRUE(entry.mediaType == kMediaDvdPlusR || entry.mediaType == kMediaDvdPlusRw
                    || entry.mediaType == kMediaDvdPlusRDl);
    }
    const MediaIdEntry* ricoh = FindMediaId("RICOHJPND01");
    ASSERT_NE(ricoh, nullptr);
    EXPECT_EQ(ricoh->mediaType, kMediaDvdPlusRDl);
    EXPECT_EQ(ricoh->ratedSpeed, 2.4);  // the row listed first
    EXPECT_EQ(FindMediaId("MCC     004")->ratedSpeed, 16.0);
    EXPECT_EQ(FindMediaId("ricohjpnd01"), nullptr);  // exact, case included
    EXPECT_EQ(FindMediaId(""), nullptr);
}

TEST(MediaType, TheMediaIdKeyPadsTheManufacturerAndRightAlignsTheType)
{
    const auto answerWith = [](const std::string& manufacturer, const std::string& type) {
        std::vector<std::uint8_t> answer(2052, 0);
        std::copy(manufacturer.begin(), manufacturer.end(), answer.begin() + 23);
        std::copy(type.begin(), type.end(), answer.begin() + 31);
        return answer;
    };
    EXPECT_EQ(disc_structure::MediaIdKey(answerWith("MCC", "004")), "MCC     004");
    EXPECT_EQ(disc_structure::MediaIdKey(answerWith("RICOHJPN", "D1")), "RICOHJPN D1");
    EXPECT_EQ(disc_structure::MediaIdKey(answerWith("", "R01")), "");
    const std::vector<std::uint8_t> cut = {0, 0, 0, 0, 0xA1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 'M'};
    EXPECT_EQ(disc_structure::MediaIdKey(cut), "M          ");  // the text ends with the answer
    EXPECT_EQ(disc_structure::BookType(cut), 10);
    EXPECT_EQ(disc_structure::PlusMediaKind(cut), -1);

    std::vector<std::uint8_t> plus(2052, 0);
    plus[35] = '8';
    EXPECT_EQ(disc_structure::PlusMediaKind(plus), kMediaDvdPlusR);
    plus[35] = '9';
    EXPECT_EQ(disc_structure::PlusMediaKind(plus), kMediaDvdPlusRw);
}

TEST(MediaType, NamesByCodeAndByProfile)
{
    struct Case {
        int mediaType;
        const char* name;
    };
    const Case cases[] = {
        {kMediaDvdRom, "DVD-ROM"},         {kMediaDvdMinusRDl, "DVD-RDL"}, {kMediaDvdRam, "DVD-RAM"},
        {kMediaDvdPlusRDl, "DVD+R DL"},    {kMediaBdRe, "BD-RE"},          {kMediaHdDvdRw, "HD DVD-RW"},
        {kMediaPlusUnknownId, "DVD+R/RW"}, {kMediaNoStructure, "UNKNOWN"}, {1, "UNKNOWN"},
        {kMediaHdDvdRam, "UNKNOWN"},       {kMediaBdRRandom, "UNKNOWN"},   {kMediaHdDvdRwDl, "UNKNOWN"},
    };
    for (const Case& test : cases)
        EXPECT_STREQ(MediaTypeName(test.mediaType), test.name) << test.mediaType;
    EXPECT_STREQ(ProfileMediaName(0x09), "CD-R");
    EXPECT_STREQ(ProfileMediaName(0x81), "HD-BURN");
    EXPECT_EQ(ProfileMediaName(0x1B), nullptr);
    EXPECT_EQ(MediaTypeOfProfile(0x2B), kMediaDvdPlusRDl);
    EXPECT_EQ(MediaTypeOfProfile(0x82), kMediaCdRw);
    EXPECT_EQ(MediaTypeOfProfile(0x10), std::nullopt);  // the disc is asked
    EXPECT_EQ(MediaTypeOfProfile(0x41), std::nullopt);
}
