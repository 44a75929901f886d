#include "core/drive/SenseTexts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

TEST(SenseTexts, SixteenKeysAndNothingOutsideThem)
{
    EXPECT_STREQ(GetSenseKeyText(0), "No Sense");
    EXPECT_STREQ(GetSenseKeyText(5), "Illegal Request");
    EXPECT_STREQ(GetSenseKeyText(15), "RESERVED");
    for (int key = 0; key < static_cast<int>(kSenseKeyTextCount); ++key)
        EXPECT_STRNE(GetSenseKeyText(key), "") << key;
    EXPECT_STREQ(GetSenseKeyText(16), "");
    EXPECT_STREQ(GetSenseKeyText(-1), "");
}

TEST(SenseTexts, TheAscAscqTableAndItsLookup)
{
    std::size_t count = 0;
    const AscAscqText* rows = AscAscqTexts(count);
    ASSERT_EQ(count, 113u);  // 112 rows over 00h-3Ah and the vendor row
    std::set<std::pair<int, int>> pairs;
    for (std::size_t i = 0; i < count; ++i) {
        EXPECT_TRUE(pairs.insert({rows[i].asc, rows[i].ascq}).second) << "row " << i << " repeats its pair";
        EXPECT_TRUE(rows[i].asc <= 0x3A || (rows[i].asc == 0xFF && rows[i].ascq == 0xFF));
    }

    struct Case {
        int asc;
        int ascq;
        const char* text;
    };
    const Case cases[] = {
        {0x00, 0x00, "No more info"},
        {0x04, 0x07, "Not Ready"},
        {0x04, 0x05, ""},  // listed ASC, unlisted qualifier
        {0x11, 0x0A, "Micorrected error"},
        {0x13, 0x00, "Add. mark not found"},
        {0x16, 0x7F, "Data sync mark error"},  // any qualifier
        {0x24, 0x00, "Invalid field in CDB"},
        {0x28, 0x00, "Unsupported Command?"},
        {0x28, 0x55, "Unsupported Command?"},
        {0x3A, 0x00, "Medium not present"},
        {0x3A, 0x02, ""},
        {0x3B, 0x00, ""},
        {0xFF, 0xFF, "Vendor unique error code"},
        {0xFF, 0x00, ""},
        {0x100, 0x00, ""},
        {-1, 0x00, ""},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(std::to_string(test.asc) + "/" + std::to_string(test.ascq));
        EXPECT_STREQ(GetAscAscqText(test.asc, test.ascq), test.text);
    }
}
