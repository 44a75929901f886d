#include "EngineRig.h"
#include "core/pipo/ScanControlIds.h"
#include "core/pipo/engines/ScanEngine.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr std::uint64_t kDiscSectors = 0x8000;
constexpr int kFactor8 = 3;  // "Fastest" of the speed/accuracy box
constexpr emu::Sense kInternalFailure{0x04, 0x44, 0x00};

struct PassChoice {
    const char* name;
    bool pie;
    bool pif;
    bool jitter;
};

void Choose(EngineRig& rig, const PassChoice& choice, int accuracy)
{
    rig.scan.choices.show.showPI = choice.pie ? 1 : 0;
    rig.scan.choices.show.showPIF = choice.pif ? 1 : 0;
    rig.scan.choices.show.showJitter = choice.jitter ? 1 : 0;
    rig.scan.state.m_nAccuracy = accuracy;
}

// The drive left as found: no pass counting, the tray free, the window idle
// with the speed/accuracy box enabled again.
void ExpectDriveGivenBack(EngineRig& rig)
{
    EXPECT_EQ(rig.drive->VendorState().plextor.pass, emu::PlextorPass::None);
    EXPECT_FALSE(rig.drive->RemovalPrevented());
    EXPECT_GE(rig.sink.stops, 1);
    EXPECT_EQ(rig.sink.enables[scan_control::kAccuracy], 0) << "disabled once, enabled once";
    EXPECT_EQ(rig.running, 0);
}

// What the PIE pass draws at a factor: the largest group count (the PI of
// the 8 ECC blocks read) of each graph point, and the running total after
// the last point, each later group weighted by the factor.
struct PieExpectation {
    std::vector<std::int32_t> points;
    std::uint32_t totalAtLastPoint = 0;
    std::uint32_t peak = 0;
};
PieExpectation ExpectedPie(const emu::ErrorProfile& errors, std::uint64_t end, std::uint64_t factor)
{
    PieExpectation expected;
    std::uint64_t interval = 0;
    std::uint32_t intervalMax = 0;
    std::uint32_t total = 0;
    for (std::uint64_t position = 0, step = 0; position < end; position += factor * 128, ++step) {
        const std::uint32_t count = emu::MeasureSectors(errors, position, 128).total.pi;
        intervalMax = std::max(intervalMax, count);
        expected.peak = std::max(expected.peak, count);
        total = step == 0 ? count : total + static_cast<std::uint32_t>(factor * count);
        interval += factor * 128;
        if (interval >= 5243) {
            interval -= 5243;
            expected.points.push_back(static_cast<std::int32_t>(intervalMax));
            intervalMax = 0;
            expected.totalAtLastPoint = total;
        }
    }
    return expected;
}

}  // namespace

TEST(ScanPlextor, PassesAloneAndTogetherAtFactorEightCoverTheRangeAndEndComplete)
{
    // clang-format off
    const PassChoice choices[] = {
        {"PIE alone",    true,  false, false},
        {"PIF alone",    false, true,  false},
        {"jitter alone", false, false, true},
        {"all three",    true,  true,  true},
    };
    // clang-format on
    for (const PassChoice& choice : choices) {
        SCOPED_TRACE(choice.name);
        const emu::MediumDescription disc = SmallDisc(kDiscSectors);
        EngineRig rig("plextor", disc);
        Choose(rig, choice, kFactor8);
        ScanPlextor(rig.scan);

        EXPECT_EQ(rig.LastStatus(), "Test Complete");
        EXPECT_EQ(rig.scan.state.m_bNotSaved1, 1);
        ExpectDriveGivenBack(rig);
        std::vector<std::string> statuses = {"PIE Test Running"};
        if (choice.pif)
            statuses.push_back("PIF Test Running");
        if (choice.jitter)
            statuses.push_back("Jitter Test Running");
        statuses.push_back("Test Complete");
        EXPECT_EQ(rig.sink.statuses, statuses);

        // Each pass fills its third of the progress bar.
        ASSERT_FALSE(rig.sink.progress.empty());
        EXPECT_EQ(rig.sink.progress.back(), 100);
        const std::vector<int> during(rig.sink.progress.begin(), rig.sink.progress.end() - 1);
        const int lowest = choice.pie ? 0 : choice.pif ? 33 : 66;
        const int highest = choice.jitter ? 100 : choice.pif ? 66 : 33;
        EXPECT_GE(*std::min_element(during.begin(), during.end()), lowest);
        EXPECT_LE(*std::max_element(during.begin(), during.end()), highest);

        // Six points of 5243 sectors in each pass that ran, after the first
        // empty point of both graphs.
        const std::size_t points = 6;
        EXPECT_EQ(rig.upper.GetPointCount(), 1 + (choice.pie ? points : 0));
        EXPECT_EQ(rig.lower.GetPointCount(), 1 + (choice.pif ? points : 0));
        EXPECT_EQ(rig.lower.GetJitterCount(), choice.jitter ? points : 0);

        if (choice.pie) {
            // 128 sectors read, then 1024 on: the graph keeps the counts, the
            // total weighs each later group by eight.
            const PieExpectation expected = ExpectedPie(disc.errors, kDiscSectors - 1, 8);
            std::vector<std::int32_t> drawn = rig.upper.StoreRecord().pi;
            drawn.erase(drawn.begin());
            EXPECT_EQ(drawn, expected.points);
            EXPECT_EQ(rig.Displays().piTotal, std::to_string(expected.totalAtLastPoint));
            EXPECT_EQ(rig.scan.state.m_nPIPeak, static_cast<int>(expected.peak));
        }
        if (choice.pif) {
            EXPECT_NE(rig.Displays().pifPeak, "0");
            EXPECT_EQ(rig.lower.StoreRecord().po, std::vector<std::int32_t>(1 + points, 0));
        }
        ExpectSavedScanEqualsLive(rig.upper, rig.lower);
    }
}

TEST(ScanPlextor, ScanWithoutTheJitterPassKeepsItsPifSeriesWhenSavedAndReloaded)
{
    EngineRig rig("plextor", SmallDisc(kDiscSectors));
    Choose(rig, {"PIE and PIF", true, true, false}, kFactor8);
    ScanPlextor(rig.scan);
    ASSERT_EQ(rig.lower.GetJitterCount(), 0u);
    ASSERT_EQ(rig.lower.GetPointCount(), 7u);
    ExpectSavedScanEqualsLive(rig.upper, rig.lower);
}

TEST(ScanPlextor, StopAndFailedResultsInEachPassGiveTheDriveBack)
{
    struct Case {
        const char* name;
        int atProgress;  // the first progress at or above it acts
        bool failResult;  // else Stop
    };
    // clang-format off
    const Case cases[] = {
        {"Stop in the PIE pass",            10, false},
        {"Stop in the PIF pass",            40, false},
        {"Stop in the jitter pass",         70, false},
        {"failed result in the PIF pass",   40, true},
        {"failed result in the jitter pass",70, true},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EngineRig rig("plextor", SmallDisc(kDiscSectors));
        Choose(rig, {"all", true, true, true}, kFactor8);
        bool acted = false;
        rig.sink.onProgress = [&](int position) {
            if (acted || position < c.atProgress || position == 100)
                return;
            acted = true;
            if (c.failResult)
                rig.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0xEA, kInternalFailure, 1));
            else
                rig.running = 0;
        };
        ScanPlextor(rig.scan);
        ASSERT_TRUE(acted);
        if (c.failResult)
            EXPECT_NE(rig.LastStatus().find("(EAh) failed"), std::string::npos) << rig.LastStatus();
        else
            EXPECT_EQ(rig.LastStatus(), "Ready");
        EXPECT_EQ(rig.scan.state.m_bNotSaved1, 0) << "no completion";
        ExpectDriveGivenBack(rig);
        const auto eas = rig.CdbsOf(0xEA);
        ASSERT_FALSE(eas.empty());
        EXPECT_EQ(eas.back()[1], 0x17) << "the pass stopped";
    }
}

TEST(ScanPlextor, JitterPassShowsTheDrivesReadingsInTenthsOfAPercentAndSkipsGroupsWithoutOne)
{
    emu::MediumDescription disc = SmallDisc(kDiscSectors);
    disc.errors.badZones.push_back({0, kDiscSectors, {1, 0, 0, 0, 95}});
    EngineRig rig("plextor", disc);
    // A stretch the drive cannot read gives a group without a reading.
    rig.drive->AddErrorRule(emu::ErrorRule::UnreadableBlocks(4096, 256));
    Choose(rig, {"jitter", false, false, true}, kFactor8);
    ScanPlextor(rig.scan);
    EXPECT_EQ(rig.LastStatus(), "Test Complete");
    const std::vector<std::int32_t> jitter = rig.lower.StoreRecord().jitter;
    ASSERT_FALSE(jitter.empty());
    // 9.5 % is 1090 of the drive's units, 1090 x 1000 / 11474 = 94 tenths.
    EXPECT_EQ(jitter, std::vector<std::int32_t>(jitter.size(), 94));
    EXPECT_EQ(rig.Displays().jitterPeak, "9.5%");
    EXPECT_EQ(rig.Displays().jitterInst, "9.5%");
}

TEST(ScanPlextor, BlankDiscEndsBeforeAnyPass)
{
    emu::MediumDescription disc = SmallDisc(kDiscSectors);
    EngineRig rig("plextor", disc);
    rig.scan.state.m_llEndLba = 0;
    ScanPlextor(rig.scan);
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, "Error, media must be used before it can be scanned");
    EXPECT_EQ(rig.LastStatus(), "Invalid media for command");
    ExpectDriveGivenBack(rig);
    for (const auto& cdb : rig.Cdbs())
        EXPECT_NE(cdb[0], 0xEA);
}

TEST(ScanPlextor, ImplausiblePieCountIsDrawnButKeptOutOfPeakAndTotal)
{
    // PI 400 in each of the eight ECC blocks of the group at 2048: a count of 3200.
    emu::MediumDescription disc = SmallDisc(kDiscSectors);
    disc.errors.badZones.push_back({2048, 128, {400, 0, 0, 0, 80}});
    EngineRig rig("plextor", disc);
    Choose(rig, {"PIE", true, false, false}, kFactor8);
    ScanPlextor(rig.scan);
    const std::vector<std::int32_t> drawn = rig.upper.StoreRecord().pi;
    ASSERT_GE(drawn.size(), 2u);
    EXPECT_EQ(drawn[1], 3200) << "the interval's largest count as the drive gave it";
    EXPECT_LT(rig.scan.state.m_nPIPeak, 2560);
    EXPECT_LT(std::stoi(rig.Displays().piTotal), 3200 * 8);
}
