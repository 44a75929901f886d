#include "EngineRig.h"
#include "core/pipo/engines/ScanEngine.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr std::uint64_t kDiscSectors = 0x8000;
constexpr int kAccuracy = 0;  // "Accuracy": every group read
constexpr int kFastest = 3;  // "Fastest": one group in eight

// A disc without scattered errors whose first `zoneSectors` read with the
// given counts in every ECC block.
emu::MediumDescription ZoneDisc(std::uint64_t zoneSectors, std::uint32_t pi, std::uint32_t pif)
{
    emu::MediumDescription disc = SmallDisc(kDiscSectors);
    disc.errors.piMean = 0;
    disc.errors.pifPerMille = 0;
    disc.errors.badZones.push_back({0, zoneSectors, {pi, pif, 0, 0, 80}});
    return disc;
}

struct Averages {
    int piAvg = 0;
    int pifAvg = 0;
    int pifPeak = 0;
};

Averages ScanAt(const char* drive, const emu::MediumDescription& disc, int accuracy)
{
    EngineRig rig(drive, disc);
    rig.scan.state.m_nAccuracy = accuracy;
    rig.scan.choices.show.showJitter = 0;
    if (std::string(drive) == "plextor")
        ScanPlextor(rig.scan);
    else
        ScanPioneer(rig.scan);
    EXPECT_EQ(rig.LastStatus(), "Test Complete");
    return {std::stoi(rig.Displays().piAvg), std::stoi(rig.Displays().pifAvg), std::stoi(rig.Displays().pifPeak)};
}

}  // namespace

// The root-mean-square averages weigh each group read at a sampling factor
// as that many groups: the same disc gives the same averages at "Fastest"
// as at "Accuracy", never above the peak.
TEST(SamplingFactor, RootMeanSquareAveragesDoNotGrowWithTheFactor)
{
    struct Case {
        const char* name;
        const char* drive;
        std::uint64_t zoneSectors;
        bool pi;  // the PI average is a root mean square too
    };
    // clang-format off
    const Case cases[] = {
        {"Plextor PIF, whole disc", "plextor", kDiscSectors,     false},
        {"Plextor PIF, bad zone",   "plextor", kDiscSectors / 4, false},
        {"Pioneer, whole disc",     "pioneer", kDiscSectors,     true},
        {"Pioneer, bad zone",       "pioneer", kDiscSectors / 4, true},
        {"AOpen, bad zone",         "aopen",   kDiscSectors / 4, true},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const emu::MediumDescription disc = ZoneDisc(c.zoneSectors, 6, 12);
        const Averages accurate = ScanAt(c.drive, disc, kAccuracy);
        const Averages fastest = ScanAt(c.drive, disc, kFastest);
        if (c.pi) {
            ASSERT_GT(accurate.piAvg, 0);
            EXPECT_NEAR(fastest.piAvg, accurate.piAvg, accurate.piAvg / 10 + 1);
        }
        if (std::string(c.drive) != "aopen") {  // the AOpen answer has no PIF
            ASSERT_GT(accurate.pifAvg, 0);
            EXPECT_NEAR(fastest.pifAvg, accurate.pifAvg, accurate.pifAvg / 10 + 1);
            EXPECT_LE(fastest.pifAvg, fastest.pifPeak);
        }
    }
}
