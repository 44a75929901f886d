#include "EngineRig.h"
#include "core/pipo/ScanControlIds.h"
#include "core/pipo/engines/ScanEngine.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr std::uint64_t kDiscSectors = 0x8000;

// The window left idle and the tray free, the speed/accuracy box enabled
// again.
void ExpectGivenBack(EngineRig& rig)
{
    EXPECT_FALSE(rig.drive->RemovalPrevented());
    EXPECT_GE(rig.sink.stops, 1);
    EXPECT_EQ(rig.sink.enables[scan_control::kAccuracy], 0) << "disabled once, enabled once";
    EXPECT_EQ(rig.running, 0);
}

bool Sent(const EngineRig& rig, std::uint8_t opcode)
{
    return !rig.CdbsOf(opcode).empty();
}

// Each graph point's largest PI (or PIF): a request per 256 sectors, each
// count the sum over its ECC blocks divided by what the drive counts.
std::vector<std::int32_t> ExpectedPoints(const emu::ErrorProfile& errors, std::uint64_t end, std::uint32_t divisor,
                                         std::uint32_t emu::EccBlockErrors::*count = &emu::EccBlockErrors::pi)
{
    std::vector<std::int32_t> points;
    std::uint64_t interval = 0;
    std::uint32_t intervalMax = 0;
    for (std::uint64_t position = 0; position < end; position += 256) {
        intervalMax = std::max(intervalMax, emu::MeasureSectors(errors, position, 256).total.*count / divisor);
        interval += 256;
        if (interval >= 5243) {
            interval -= 5243;
            points.push_back(static_cast<std::int32_t>(intervalMax));
            intervalMax = 0;
        }
    }
    return points;
}

emu::DriveIdentity LowerCaseAopen()
{
    emu::DriveIdentity identity = *emu::FindDrivePreset("aopen");
    identity.vendor = "aopen";
    return identity;
}

}  // namespace

TEST(ScanPioneer, PioneerAndAopenDrivesScanToTheEndInTheirDialects)
{
    struct Case {
        const char* name;
        emu::DriveIdentity drive;
        std::uint8_t request;  // the opcode of its error reads
        std::uint32_t piDivisor;  // two units of eight ECC blocks per Pioneer request
        bool measuresPif;
    };
    const Case cases[] = {
        {"Pioneer", *emu::FindDrivePreset("pioneer"), 0x3C, 2, true},
        {"AOpen", *emu::FindDrivePreset("aopen"), 0xE7, 1, false},
        {"AOpen in lower case", LowerCaseAopen(), 0xE7, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        emu::MediumDescription disc = SmallDisc(kDiscSectors);
        disc.errors.badZones.push_back({0x4000, 0x1000, {12, 3, 0, 0, 80}});  // PIF on the lower graph
        EngineRig rig(c.drive, disc);
        ScanPioneer(rig.scan);

        EXPECT_EQ(rig.LastStatus(), "Test Complete");
        EXPECT_EQ(rig.sink.progress.back(), 100);
        EXPECT_EQ(rig.scan.state.m_bNotSaved1, 1);
        ExpectGivenBack(rig);
        EXPECT_TRUE(Sent(rig, c.request));
        EXPECT_NE(Sent(rig, 0x3B), c.request == 0xE7) << "WRITE BUFFER only to Pioneer drives";

        EXPECT_EQ(rig.upper.StoreRecord().pi, ExpectedPoints(disc.errors, kDiscSectors - 1, c.piDivisor));
        const PiPoLowerData lower = rig.lower.StoreRecord();
        EXPECT_EQ(lower.pif.size(), 6u);
        EXPECT_EQ(lower.jitter, std::vector<std::int32_t>(6, 0));
        if (c.measuresPif) {
            // PIF per unit of eight ECC blocks, as PI: the zone's 48 a request.
            EXPECT_EQ(lower.pif, ExpectedPoints(disc.errors, kDiscSectors - 1, 2, &emu::EccBlockErrors::pif));
            EXPECT_EQ(rig.scan.state.m_nPOPeak, 24);
            EXPECT_NE(rig.Displays().pifTotal, "0");
        } else {
            EXPECT_EQ(lower.pif, std::vector<std::int32_t>(6, 0));
            EXPECT_EQ(rig.Displays().pifTotal, "0");
            EXPECT_EQ(rig.Displays().pifAvg, "0");
            EXPECT_EQ(rig.Displays().pifPeak, "0");
        }
        EXPECT_EQ(rig.Displays().piPeak, std::to_string(rig.scan.state.m_nPIPeak.load()));
        // The position where the jitter would be, never past the end.
        EXPECT_EQ(rig.Displays().jitterInst, "7FFF");
        EXPECT_EQ(rig.Displays().jitterPeak, "7FFF");
        ExpectSavedScanEqualsLive(rig.upper, rig.lower);
    }
}

TEST(ScanPioneer, FailedRequestsEndWithTheReasonAndTheEndOfDataCompletes)
{
    struct Case {
        const char* name;
        const char* drive;
        bool unreadable;  // a stretch the drive cannot measure
        std::uint64_t rangeBeyondData;  // the range goes on past the recorded sectors
        const char* status;  // the start of the last status
    };
    // clang-format off
    const Case cases[] = {
        {"Pioneer request fails",     "pioneer", true,  0,    "READ BUFFER (3Ch) failed"},
        {"AOpen request fails",       "aopen",   true,  0,    "AOpen error read (E7h) failed"},
        {"Pioneer end of data",       "pioneer", false, 3000, "Test Complete"},
        {"AOpen end of data",         "aopen",   false, 3000, "Test Complete"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EngineRig rig(c.drive, SmallDisc(kDiscSectors));
        if (c.unreadable)
            rig.drive->AddErrorRule(emu::ErrorRule::UnreadableBlocks(12000, 16));
        rig.scan.state.m_llEndLba += static_cast<std::int64_t>(c.rangeBeyondData);
        ScanPioneer(rig.scan);
        EXPECT_EQ(rig.LastStatus().rfind(c.status, 0), 0u) << rig.LastStatus();
        ExpectGivenBack(rig);
        if (c.unreadable) {
            EXPECT_EQ(rig.scan.state.m_bNotSaved1, 0);
            EXPECT_EQ(rig.upper.GetPointCount(), 2u) << "points up to the failed request";
        } else {
            EXPECT_LT(rig.scan.state.m_llStartLba, rig.scan.state.m_llEndLba) << "ended by the drive's marker";
            EXPECT_EQ(rig.scan.state.m_bNotSaved1, 1);
        }
    }

    // A capacity the drive does not give ends the scan before its first request.
    EngineRig rig("pioneer", SmallDisc(kDiscSectors));
    rig.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0x25, {0x02, 0x04, 0x01}));
    ScanPioneer(rig.scan);
    EXPECT_EQ(rig.LastStatus().rfind("READ CAPACITY (25h) failed", 0), 0u) << rig.LastStatus();
    EXPECT_FALSE(Sent(rig, 0x3B));
    ExpectGivenBack(rig);
}

TEST(ScanPioneer, ImplausiblePifNearTheStartIsDroppedAndStopEndsReady)
{
    // PIF 50 in each ECC block is 800 a request, answered as 8000 tenths: 400
    // over its divisor of 20.
    struct Case {
        const char* name;
        std::uint64_t zoneStart;
        int pifPeak;
    };
    const Case cases[] = {{"within the first 1024 sectors", 512, 0}, {"further on", 2048, 400}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        emu::MediumDescription disc = SmallDisc(kDiscSectors);
        disc.errors.pifPerMille = 0;
        disc.errors.badZones.push_back({c.zoneStart, 256, {4, 50, 0, 0, 80}});
        EngineRig rig("pioneer", disc);
        ScanPioneer(rig.scan);
        EXPECT_EQ(rig.scan.state.m_nPOPeak, c.pifPeak);
    }

    EngineRig rig("pioneer", SmallDisc(kDiscSectors));
    rig.sink.onProgress = [&](int) { rig.running = 0; };
    ScanPioneer(rig.scan);
    EXPECT_EQ(rig.LastStatus(), "Ready");
    EXPECT_EQ(rig.upper.GetPointCount(), 1u);
    EXPECT_EQ(rig.scan.state.m_bNotSaved1, 0);
    ExpectGivenBack(rig);
}

// A graph point shows the totals of the requests before the one that closed
// it: that request joins them after the point, as every later one does.
TEST(ScanPioneer, APointShowsTheTotalsOfTheRequestsBeforeIt)
{
    struct Case {
        const char* drive;
        std::uint32_t divisor;
        bool measuresPif;
    };
    for (const Case& c : {Case{"pioneer", 2, true}, Case{"aopen", 1, false}}) {
        SCOPED_TRACE(c.drive);
        // Counts within twice the first full scale: none is damped.
        emu::MediumDescription disc = SmallDisc(kDiscSectors);
        disc.errors.piMean = 1;
        EngineRig rig(c.drive, disc);
        rig.sink.onProgress = [&](int) { rig.running = 0; };  // Stop as the first point shows
        ScanPioneer(rig.scan);
        ASSERT_EQ(rig.upper.GetPointCount(), 1u);
        // 21 requests of 256 sectors fill the first point of 5243; the first
        // request starts the PI total and is added as each one is.
        const auto count = [&](int request, std::uint32_t emu::EccBlockErrors::*field) {
            return emu::MeasureSectors(disc.errors, 256 * static_cast<std::uint64_t>(request), 256).total.*field
                / c.divisor;
        };
        std::uint32_t pi = count(0, &emu::EccBlockErrors::pi);
        std::uint32_t pif = 0;
        for (int request = 0; request < 20; ++request) {
            pi += count(request, &emu::EccBlockErrors::pi);
            pif += c.measuresPif ? count(request, &emu::EccBlockErrors::pif) : 0;
        }
        EXPECT_EQ(rig.Displays().piTotal, std::to_string(pi));
        EXPECT_EQ(rig.Displays().pifTotal, std::to_string(pif));
        EXPECT_EQ(rig.LastStatus(), "Ready");
    }
}
