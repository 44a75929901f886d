#include "EmuTestHelpers.h"

#include "emu/Clock.h"
#include "emu/ErrorProfile.h"
#include "emu/MediaPresets.h"
#include "emu/Sense.h"

#include <gtest/gtest.h>

#include <vector>

namespace emu {

namespace {

std::vector<std::uint8_t> ReadCd(std::uint32_t lba, std::uint32_t blocks)
{
    std::vector<std::uint8_t> cdb(12, 0);
    cdb[0] = 0xBE;
    scsi::PutBe32(&cdb[2], lba);
    cdb[6] = static_cast<std::uint8_t>(blocks >> 16);
    cdb[7] = static_cast<std::uint8_t>(blocks >> 8);
    cdb[8] = static_cast<std::uint8_t>(blocks);
    cdb[9] = 0x10;  // user data
    return cdb;
}

}  // namespace

// The scratched presets: a stretch that never reads fails every read that
// touches it at its first block; a marginal one fails as often as it says
// and then reads; reads beside them and writes are not touched.
TEST(ScratchedMedia, UnreadableAndMarginalZonesFailReadsAsTheyDescribe)
{
    for (const char* preset : {"dvd+r-scratched", "cd-r-scratched"}) {
        SCOPED_TRACE(preset);
        const MediumDescription disc = *FindMediumPreset(preset);
        ASSERT_FALSE(disc.unreadable.empty());
        auto drive = Drive(disc.family == MediumFamily::Cd ? "cd-reader" : "dvd-writer", preset);
        int never = 0;
        int marginal = 0;
        for (const UnreadableZone& zone : disc.unreadable) {
            ASSERT_GT(zone.blockCount, 2u);
            const auto first = static_cast<std::uint32_t>(zone.firstBlock);
            for (int attempt = 0; attempt < 3; ++attempt) {
                const Answer answer = Send(*drive, Read10(first - 2, 8), 8 * 2048);
                const bool fails = zone.failures < 0 || attempt < zone.failures;
                ASSERT_EQ(answer.result.outcome == Outcome::CheckCondition, fails) << first << " try " << attempt;
                if (fails) {
                    EXPECT_EQ(answer.SenseCode(), sense::kUnrecoveredReadError);
                    EXPECT_EQ(scsi::GetBe32(&answer.result.sense[3]), first);
                    EXPECT_EQ(answer.result.transferred, 2u * 2048);
                }
            }
            (zone.failures < 0 ? never : marginal) += 1;
            EXPECT_EQ(
                Send(*drive, Read10(first + static_cast<std::uint32_t>(zone.blockCount), 16), 16 * 2048).result.outcome,
                Outcome::Good);
        }
        EXPECT_GE(never, 2) << "red squares";
        EXPECT_GE(marginal, 1) << "white squares";
        if (disc.family == MediumFamily::Cd) {
            const auto first = static_cast<std::uint32_t>(disc.unreadable.front().firstBlock);
            EXPECT_EQ(Send(*drive, ReadCd(first, 4), 4 * 2048).SenseCode(), sense::kUnrecoveredReadError);
        } else {
            // The scratch reads worse in the error scans too.
            const ErrorSum around = MeasureSectors(disc.errors, 600000, 16 * 64);
            const ErrorSum clean = MeasureSectors(disc.errors, 100000, 16 * 64);
            EXPECT_GT(around.total.pi, 10 * clean.total.pi);
            EXPECT_GT(around.total.pif, 10 * clean.total.pif);
        }
    }
    // The plain preset reads everywhere the scratched one does not.
    auto plain = Drive("dvd-writer", "dvd+r");
    EXPECT_EQ(Send(*plain, Read10(620000, 16), 16 * 2048).result.outcome, Outcome::Good);
}

// Paced time: the time a drive spends is slept in wall time divided by the
// speedup, in sleeps of a millisecond or more, and the drive's clock reads
// the time spent, so reads keep the model's timing whatever the speedup.
TEST(PacedClock, SpendsTheModelsTimeInShortenedWallTime)
{
    struct Case {
        double speedup;
        std::uint64_t spendUs;
        int spends;
        std::uint64_t sleptUs;
    };
    const Case cases[] = {
        {1, 300, 100, 30000},    {10, 300, 100, 3000},
        {50, 3000, 1000, 60000}, {10, 3000, 1, 0},  // 300 us owed: not slept yet
        {0.5, 1000, 4, 8000},  // below 1 the drive is slower than its model
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.speedup);
        std::uint64_t wallUs = 1'000'000;
        std::vector<std::uint64_t> sleeps;
        PacedClock clock(
            c.speedup, [&] { return wallUs; },
            [&](std::uint64_t us) {
                sleeps.push_back(us);
                wallUs += us;
            });
        EXPECT_EQ(clock.NowMs(), 0u);
        for (int i = 0; i < c.spends; ++i)
            clock.Spend(c.spendUs);
        std::uint64_t slept = 0;
        for (std::uint64_t us : sleeps) {
            EXPECT_GE(us, 1000u);
            slept += us;
        }
        // Less than a millisecond may still be owed.
        EXPECT_LE(slept, c.sleptUs);
        EXPECT_GT(slept + 1000, c.sleptUs);
        EXPECT_EQ(clock.NowMs(), c.spendUs * static_cast<std::uint64_t>(c.spends) / 1000);
    }
}

// Wall time the program takes between spends is made up by the next sleeps
// and does not count as the drive's; beyond a tenth of a second behind, and
// while nothing is spent, the clock runs on at the wall's rate.
TEST(PacedClock, TimeBetweenSpendsIsMadeUpThenRunsAtTheWallsRate)
{
    std::uint64_t wallUs = 0;
    std::uint64_t slept = 0;
    PacedClock clock(
        10, [&] { return wallUs; },
        [&](std::uint64_t us) {
            slept += us;
            wallUs += us;
        });
    for (int i = 0; i < 100; ++i) {
        clock.Spend(10000);  // 1 ms of wall time each
        wallUs += 400;  // the program's own work
    }
    EXPECT_EQ(clock.NowMs(), 1000u);
    EXPECT_NEAR(static_cast<double>(wallUs), 100000.0, 1000.0);
    EXPECT_NEAR(static_cast<double>(slept), 60000.0, 1000.0);

    // Idle: the drive's time goes on with the wall's, after the credit.
    std::uint64_t before = clock.NowMs();
    wallUs += 50000;
    EXPECT_EQ(clock.NowMs(), before);
    wallUs += 1'000'000;
    EXPECT_NEAR(static_cast<double>(clock.NowMs() - before), 950.0, 1.0);
    // Spending again paces from there: only the credit is read at once.
    before = clock.NowMs();
    slept = 0;
    for (int i = 0; i < 200; ++i)
        clock.Spend(10000);
    EXPECT_EQ(clock.NowMs() - before, 2000u);
    EXPECT_NEAR(static_cast<double>(slept), 100000.0, 1000.0);

    // A program slower than the pace, 3 ms of work for every 1 ms read:
    // what goes past the credit counts at the wall's rate.
    before = clock.NowMs();
    for (int i = 0; i < 100; ++i) {
        clock.Spend(10000);
        wallUs += 3000;
    }
    EXPECT_NEAR(static_cast<double>(clock.NowMs() - before), 1000.0 + 100.0, 2.0);
}

TEST(PacedClock, AnOversleepIsPaidAhead)
{
    // The next spends sleep less.
    std::uint64_t wallUs = 0;
    std::uint64_t slept = 0;
    PacedClock clock(
        2, [&] { return wallUs; },
        [&](std::uint64_t us) {
            slept += us;
            wallUs += us + 4000;  // every sleep 4 ms too long
        });
    for (int i = 0; i < 100; ++i)
        clock.Spend(2000);  // 1 ms each in wall time
    EXPECT_NEAR(static_cast<double>(wallUs), 100000.0, 5000.0);
}

}  // namespace emu
