#include "core/pipo/ScanLbaRange.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

constexpr std::int32_t kHighest = 0x23101F;  // 2297887

}  // namespace

TEST(ScanLbaRange, OpensOnTheRecordedAreaAndSwitchesBase)
{
    ScanLbaRange range(0, kHighest);
    EXPECT_EQ(range.startText, "0");
    EXPECT_EQ(range.endText, "23101F");
    EXPECT_EQ(range.startMegabytes, "0000");
    EXPECT_EQ(range.endMegabytes, "4488");
    EXPECT_EQ(range.startSlider, 0);
    EXPECT_EQ(range.endSlider, 2297856);
    EXPECT_EQ(range.StartSliderMax(), kHighest - 1);

    range.SetBase(ScanLbaRange::Decimal);
    EXPECT_EQ(range.endText, "2297887");
    range.SetBase(ScanLbaRange::Hexadecimal);
    EXPECT_EQ(range.endText, "23101F");
}

// Every edit's text is checked as a whole: characters the base does not
// allow are removed wherever they stand.
TEST(ScanLbaRange, EditsKeepOnlyTheBasesDigits)
{
    struct Case {
        ScanLbaRange::Base base;
        bool end;
        const char* typed;
        const char* kept;
        std::optional<std::string> message;
    };
    const Case cases[] = {
        {ScanLbaRange::Hexadecimal, false, "1G", "1", kLbaHexOnly},
        {ScanLbaRange::Hexadecimal, false, "G1", "1", kLbaHexOnly},  // not only the last character
        {ScanLbaRange::Hexadecimal, false, "1a2b", "1A2B", std::nullopt},
        {ScanLbaRange::Hexadecimal, false, "-5", "5", kLbaHexOnly},
        {ScanLbaRange::Decimal, false, "12A", "12", kLbaDecimalOnly},
        {ScanLbaRange::Decimal, true, "1x00", "100", kLbaDecimalOnly},
        {ScanLbaRange::Hexadecimal, true, "10 0", "100", kLbaHexOnly},
        {ScanLbaRange::Hexadecimal, false, "", "", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        ScanLbaRange range(0, kHighest);
        range.SetBase(c.base);
        const auto message = c.end ? range.OnEndTextChanged(c.typed) : range.OnStartTextChanged(c.typed);
        EXPECT_EQ(c.end ? range.endText : range.startText, c.kept);
        EXPECT_EQ(message, c.message);
    }

    ScanLbaRange range(0, kHighest);
    EXPECT_FALSE(range.OnStartTextChanged("10000"));
    EXPECT_EQ(range.startSlider, 0x10000);
    EXPECT_EQ(range.startMegabytes, "0128");
}

TEST(ScanLbaRange, AnEndBeyondTheRecordedAreaResetsEverything)
{
    ScanLbaRange range(0, kHighest);
    range.OnStartTextChanged("400");
    EXPECT_EQ(range.OnEndTextChanged("231020"), std::string(kLbaBeyondEnd));
    EXPECT_EQ(range.startText, "0");
    EXPECT_EQ(range.endText, "23101F");

    range.OnStartMegabytesChanged("0001");
    EXPECT_EQ(range.startText, "200");
    EXPECT_EQ(range.OnEndMegabytesChanged("4489"), std::string(kLbaEndBeyondEnd));
    EXPECT_EQ(range.startText, "0");
    EXPECT_FALSE(range.OnEndMegabytesChanged("0100"));
    EXPECT_EQ(range.endText, "C800");
    EXPECT_EQ(range.endSlider, 0xC800);
}

TEST(ScanLbaRange, SlidersStayApart)
{
    ScanLbaRange range(0, kHighest);
    range.OnEndSlider(5000);
    EXPECT_EQ(range.endText, "1388");
    range.OnStartSlider(5000);
    EXPECT_EQ(range.startSlider, 4999) << "put back one LBA before the end";
    EXPECT_EQ(range.startText, "0");
    range.OnStartSlider(1024);
    EXPECT_EQ(range.startText, "400");
    EXPECT_EQ(range.startMegabytes, "0002");
    range.OnEndSlider(1000);
    EXPECT_EQ(range.endSlider, 1025);
    EXPECT_EQ(range.endText, "1388");
}

TEST(ScanLbaRange, AcceptGivesHexadecimalTextsOfAValidRangeOnly)
{
    ScanLbaRange range(0, kHighest);
    range.SetBase(ScanLbaRange::Decimal);
    range.OnStartTextChanged("6699");
    range.OnEndTextChanged("100000");
    std::string message;
    const auto accepted = range.Accept(message);
    ASSERT_TRUE(accepted) << message;
    EXPECT_EQ(accepted->startText, "1A2B");
    EXPECT_EQ(accepted->endText, "186A0");
    EXPECT_EQ(accepted->start, 6699);

    struct Refused {
        const char* start;
        const char* end;
        const char* message;
    };
    const Refused refused[] = {
        {"", "100", kLbaMissing},
        {"200", "100", kLbaStartAboveEnd},
    };
    for (const Refused& r : refused) {
        ScanLbaRange other(0, kHighest);
        other.OnStartTextChanged(r.start);
        other.OnEndTextChanged(r.end);
        EXPECT_FALSE(other.Accept(message));
        EXPECT_EQ(message, r.message);
        EXPECT_EQ(other.startText, r.start) << "kept for the user to correct";
    }
}
