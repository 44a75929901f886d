#include "core/graphs/Crc32.h"
#include "core/graphs/WriteGraphChecksum.h"
#include "support/WriteGraphFixture.h"

#include <gtest/gtest.h>

TEST(WriteGraphChecksum, IsTheSumOfTheLinesCrcsInterleavedWithTheirComplements)
{
    EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(Crc32(""), 0u);
    // Sum FDDB9537 of three lines; CR, LF and runs of them are one break.
    EXPECT_EQ(VerifyChecksum("IBGD\r\nA=1\r\n[END_WRITE_GRAPH_VALUES]\r\nignored"), "F0D2D2B4965A3C78");
    EXPECT_EQ(VerifyChecksum("IBGD\n\n\r\nA=1\r[END_WRITE_GRAPH_VALUES]"), "F0D2D2B4965A3C78");
    EXPECT_EQ(VerifyChecksum(""), "0F0F0F0F0F0F0F0F");
}

TEST(WriteGraphChecksum, CoversEveryLineUpToTheLastEndMarker)
{
    const std::string file = WriteGraphFixture::Dvd().Text();
    const size_t end = file.find("[END_WRITE_GRAPH_VALUES]") + 24;
    const std::string checksum = VerifyChecksum(file);
    ASSERT_EQ(StoredChecksum(file), checksum);
    const size_t firstSample = file.find("\r\n", file.find("[START_WRITE")) + 3;
    for (size_t at : {size_t{0}, file.find("DATE="), firstSample, end - 1}) {
        std::string changed = file;
        changed[at] ^= 0x20;
        EXPECT_NE(VerifyChecksum(changed), checksum) << "byte " << at;
    }
    for (size_t at : {end, end + 5, file.size() - 1}) {
        std::string changed = file;
        changed[at] = 'x';
        EXPECT_EQ(VerifyChecksum(changed), checksum) << "byte " << at;
    }
}

TEST(WriteGraphChecksum, ReachesTheEndMarkerWhenTheLastSectionIsShort)
{
    // The start marker of a one-line section lies within the last 200
    // characters; the sum still runs to the end marker.
    const std::string body = "IBGD\r\n[START_WRITE_GRAPH_VALUES]\r\n8.00,0,4\r\n[END_WRITE_GRAPH_VALUES]\r\n";
    EXPECT_EQ(VerifyChecksum(body), "692DE1D2B43CD22D");
    const std::string withVerify = body + "[START_VERIFY_GRAPH_VALUES]\r\n[END_VERIFY_GRAPH_VALUES]\r\n";
    EXPECT_NE(VerifyChecksum(withVerify), VerifyChecksum(body));
    EXPECT_EQ(VerifyChecksum(withVerify), VerifyChecksum(withVerify + "0123456789ABCDEF\r\n"));
}

TEST(WriteGraphChecksum, StoredTextIsTheLineAfterTheEndMarker)
{
    struct Case {
        const char* name;
        std::string text;
        std::string stored;
    };
    const std::string marker = "[END_VERIFY_GRAPH_VALUES]";
    const Case cases[] = {
        {"after CR LF", marker + "\r\n0123456789ABCDEF\r\n", "0123456789ABCDEF"},
        {"verify marker wins", "[END_WRITE_GRAPH_VALUES]\r\nAAAAAAAAAAAAAAAA\r\n" + marker + "\r\nBBBBBBBBBBBBBBBBX",
         "BBBBBBBBBBBBBBBB"},
        {"ends after 16 characters", marker + "\r\n0123456789ABCDEF", ""},
        {"shorter than 16", marker + "\r\n0123", ""},
        {"marker at the end", marker, ""},
        {"no end marker", "IBGD\r\n0123456789ABCDEF\r\n", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StoredChecksum(c.text), c.stored) << c.name;
}

TEST(WriteGraphChecksum, HexDigitValue)
{
    EXPECT_EQ(HexDigitValue("7"), 7u);
    EXPECT_EQ(HexDigitValue("f"), 15u);
    EXPECT_EQ(HexDigitValue("0X1A"), 26u);
    EXPECT_EQ(HexDigitValue("G"), 0u);
    EXPECT_EQ(HexDigitValue(""), 0u);
}
