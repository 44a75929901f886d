#include "core/info/MediaInfoTables.h"

#include <gtest/gtest.h>

namespace {

TEST(MediaInfoTables, RowCounts)
{
    EXPECT_EQ(AtipMakerRanges().size(), 133u);  // with the closing "Unknown" row
    EXPECT_EQ(HdBurnCertifiedTimes().size(), 9u);
    EXPECT_EQ(HdBurnCapableTimes().size(), 1u);
    EXPECT_EQ(BdRatedSpeeds().size(), 67u);
    EXPECT_EQ(BdLthRatedSpeeds().size(), 6u);
    EXPECT_EQ(DvdMinusRatedSpeeds().size(), 187u);
    EXPECT_EQ(DvdMinusMediaIds().size(), 344u);
    EXPECT_EQ(DvdPlusExtras().size(), 150u);
    EXPECT_STREQ(AtipMakerRanges().back().name, "Unknown");
}

TEST(MediaInfoTables, CdrMakersByLeadInTime)
{
    struct Case {
        int minute, second, frame;
        const char* maker;
    };
    const Case cases[] = {
        // As the public ATIP maker lists give them (Orange Book lead-in codes).
        {97, 24, 1, "Taiyo Yuden Company Limited"},
        {97, 27, 65, "Ricoh Company Limited"},
        {97, 26, 66, "CMC Magnetics Corporation"},
        {97, 34, 23, "Mitsubishi Chemical Corporation"},
        {97, 32, 5, "TDK Corporation"},
        {97, 17, 6, "Moser Baer India, Ltd."},
        {97, 15, 10, "Ritek Co."},
        // Where ranges meet or overlap the first row wins.
        {97, 18, 65, "Taroko International Co., Ltd."},
        {97, 25, 0, "Unspecified"},
        {97, 25, 5, "Moulage Plastique de l'Ouest"},
        {97, 25, 55, "AMS Technology Inc."},
        {96, 43, 35, "Ritek Co."},
        {97, 22, 75, "Unknown"},
        {0, 0, 0, "Unknown"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetCdrManufacturer(c.minute, c.second, c.frame), c.maker)
            << c.minute << ":" << c.second << ":" << c.frame;
}

TEST(MediaInfoTables, HdBurnListsAndSpeedTexts)
{
    EXPECT_EQ(IsHdBurnCertified(97, 34, 23), 1);
    EXPECT_EQ(IsHdBurnCapable(97, 34, 23), 1);
    EXPECT_EQ(IsHdBurnCertified(97, 27, 18), 0);
    EXPECT_EQ(IsHdBurnCapable(97, 24, 1), 0);
    EXPECT_STREQ(BdSpeedText(6), "6.0x  26970KBps");
    EXPECT_STREQ(BdSpeedText(3), "");
    EXPECT_STREQ(DvdMinusSpeedText(24), "20.0+ 27700KBps");
    EXPECT_STREQ(DvdMinusSpeedText(3), "");
    EXPECT_STREQ(DvdPlusSpeedText(2.4), "2.4x 3324KBps");
    EXPECT_STREQ(DvdPlusSpeedText(10), "");
}

}  // namespace
