#include "EmuTestHelpers.h"
#include "emu/DrivePresets.h"
#include "emu/MediaPresets.h"
#include "emu/MediumGeometry.h"
#include "emu/SpeedModel.h"
#include "scsi/Opcodes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <set>

namespace emu {

namespace {

constexpr double kPi = std::numbers::pi;

SpinPlan Plan(MediumFamily family, int layers, Rotation rotation, double topX, double targetX)
{
    SpinPlan plan;
    plan.geometry = GeometryOf(family, layers);
    plan.rotation = rotation;
    plan.topX = topX;
    plan.targetX = targetX;
    plan.zones = 4;
    return plan;
}

// Blocks from the start of the data zone to a radius: the track's area over
// its pitch, as time at 1x.
double BlocksTo(const TrackGeometry& g, double radius)
{
    return g.blocksPerSecond1x * kPi * (radius * radius - g.startRadius * g.startRadius) / (g.velocity * g.trackPitch);
}

std::vector<std::uint8_t> SetCdSpeed(std::uint16_t kBps, std::uint8_t rotation = 0)
{
    std::vector<std::uint8_t> cdb(12, 0);
    cdb[0] = mmc::kSetCdSpeed;
    cdb[1] = rotation;
    scsi::PutBe16(&cdb[2], kBps);
    scsi::PutBe16(&cdb[4], 0xFFFF);
    return cdb;
}

// Reads the whole disc in large sequential reads without moving its bytes;
// the seconds of virtual time it took.
double ReadWholeDisc(EmulatedDrive& drive, ManualClock& clock, std::uint32_t blocks)
{
    drive.SetTransferLengthCheck(false);
    const std::uint64_t start = clock.NowMs();
    for (std::uint32_t lba = 0; lba < blocks; lba += 1024) {
        const auto count = static_cast<std::uint16_t>(std::min<std::uint32_t>(1024, blocks - lba));
        EXPECT_EQ(Send(drive, Read10(lba, count)).result.outcome, Outcome::Good);
    }
    return static_cast<double>(clock.NowMs() - start) / 1000;
}

}  // namespace

TEST(SpeedModel, EachFamilysTrackSpeedAndRotationByRadius)
{
    struct Family {
        MediumFamily family;
        int layers;
        std::uint64_t fullDisc;  // blocks of a full disc
        double topX;
    };
    const Family families[] = {
        {MediumFamily::Cd, 1, 333000, 52},  // 74 minutes
        {MediumFamily::Dvd, 1, 2295104, 16},  {MediumFamily::Dvd, 2, 2 * 2086912, 12},
        {MediumFamily::HdDvd, 1, 7323000, 3}, {MediumFamily::Bd, 1, 12219392, 12},
    };
    for (const Family& f : families) {
        SCOPED_TRACE(static_cast<int>(f.family) * 10 + f.layers);
        SpinPlan cav = Plan(f.family, f.layers, Rotation::Cav, f.topX, f.topX);
        const std::uint64_t layerEnd = f.fullDisc / static_cast<std::uint64_t>(f.layers);
        if (f.layers == 2)
            cav.layerZeroBlocks = layerEnd;
        // The data zone runs from its start radius to the edge of a 120 mm disc.
        EXPECT_DOUBLE_EQ(cav.RadiusAt(0), cav.geometry.startRadius);
        EXPECT_NEAR(cav.RadiusAt(layerEnd - 1), 0.058, 0.0015);
        // CAV: one rotation speed, the top speed at the edge.
        const double rpm = cav.RpmAt(0);
        for (std::uint64_t lba : {layerEnd / 7, layerEnd / 2, layerEnd - 1})
            EXPECT_NEAR(cav.RpmAt(lba), rpm, rpm * 1e-9);
        EXPECT_NEAR(cav.SpeedAt(layerEnd - 1), f.topX * cav.RadiusAt(layerEnd - 1) / 0.058, 1e-9);
        if (f.layers == 2) {
            // The second layer runs back from the outside in.
            EXPECT_DOUBLE_EQ(cav.RadiusAt(layerEnd), cav.RadiusAt(layerEnd - 1));
            EXPECT_DOUBLE_EQ(cav.RadiusAt(2 * layerEnd - 1), cav.RadiusAt(0));
        }

        // CLV below what the spindle holds at the centre: one read speed,
        // the rotation falling with the radius.
        SpinPlan clv = Plan(f.family, f.layers, Rotation::Clv, f.topX, f.topX / 4);
        for (std::uint64_t lba : {std::uint64_t{0}, layerEnd / 2, layerEnd - 1}) {
            EXPECT_DOUBLE_EQ(clv.SpeedAt(lba), f.topX / 4);
            EXPECT_NEAR(clv.RpmAt(lba), f.topX / 4 * clv.geometry.velocity * 60 / (2 * kPi * clv.RadiusAt(lba)), 1e-6);
        }
        // Asked for the top speed, CLV is held back near the centre (partial CAV).
        SpinPlan fastClv = Plan(f.family, f.layers, Rotation::Clv, f.topX, f.topX);
        EXPECT_NEAR(fastClv.SpeedAt(0), f.topX * fastClv.geometry.startRadius / 0.058, 1e-9);

        // Zoned CLV: four steps, each the CAV speed at its zone's inner edge.
        SpinPlan zoned = Plan(f.family, f.layers, Rotation::ZonedClv, f.topX, f.topX);
        std::set<double> steps;
        double previous = 0;
        for (std::uint64_t lba = 0; lba < layerEnd; lba += layerEnd / 200) {
            const double speed = zoned.SpeedAt(lba);
            EXPECT_GE(speed, previous);
            EXPECT_LE(speed, cav.SpeedAt(lba) + 1e-9);
            steps.insert(speed);
            previous = speed;
        }
        EXPECT_EQ(steps.size(), 4u);
    }
}

// A drive has one spindle ceiling for every family: CLV holds its speed
// wherever the spindle can turn fast enough, so a slow family's CLV (an HD
// DVD at 3x) is CLV to the centre, and only a fast one is held back there.
TEST(SpeedModel, OneSpindleCeilingForEveryFamilyOfADrive)
{
    auto clock = std::make_shared<ManualClock>();
    auto drive = Drive("bd-writer", "hddvd-rom", clock);
    const SpinPlan plan = drive->ReadPlan();
    const TrackGeometry& g = plan.geometry;
    ASSERT_EQ(plan.rotation, Rotation::Clv);
    const auto blocks = FindMediumPreset("hddvd-rom")->capacityBlocks;
    // The bd-writer's fastest: BD at its top (12x) at the edge of the disc.
    const TrackGeometry bd = GeometryOf(MediumFamily::Bd, 1);
    const double bdTopX = drive->Identity().capabilities.bd.readKBps / bd.kBpsPer1x;
    EXPECT_NEAR(bdTopX, 12, 0.1);
    const double ceiling = bdTopX * bd.velocity * 60 / (2 * kPi * bd.outerRadius);
    EXPECT_NEAR(plan.ceilingRpm, ceiling, 1);
    for (std::uint64_t lba : {std::uint64_t{0}, blocks / 2, blocks - 1}) {
        EXPECT_NEAR(plan.SpeedAt(lba), plan.topX, 1e-9) << lba;
        EXPECT_NEAR(plan.RpmAt(lba), plan.topX * g.velocity * 60 / (2 * kPi * plan.RadiusAt(lba)), 1e-6);
    }
    EXPECT_GT(plan.RpmAt(0), 2 * plan.RpmAt(blocks - 1));

    // A fast CLV is held back by the same ceiling near the centre, and CAV
    // turns no faster than it either.
    SpinPlan fast = Plan(MediumFamily::Dvd, 1, Rotation::Clv, 16, 16);
    fast.ceilingRpm = 8000;
    const TrackGeometry& dvd = fast.geometry;
    EXPECT_NEAR(fast.RpmAt(0), 8000, 1e-6);
    EXPECT_NEAR(fast.SpeedAt(0), 8000 * 2 * kPi * dvd.startRadius / 60 / dvd.velocity, 1e-9);
    const std::uint64_t edge = static_cast<std::uint64_t>(BlocksTo(dvd, 0.0579));
    EXPECT_NEAR(fast.SpeedAt(edge), std::min(16.0, 8000 * 2 * kPi * fast.RadiusAt(edge) / 60 / dvd.velocity), 1e-9);
    SpinPlan cav = Plan(MediumFamily::Dvd, 1, Rotation::Cav, 16, 16);
    cav.ceilingRpm = 8000;
    for (std::uint64_t lba : {std::uint64_t{0}, edge})
        EXPECT_NEAR(cav.RpmAt(lba), 8000, 1e-6);
}

// Reading a whole disc takes the time the closed form of the drive's
// rotation gives: CAV 2 pi R (r1 - r0) / (v p X), CLV blocks / (m X), zoned
// CLV one CLV per zone; the first read adds the spin-up from standstill.
TEST(EmulatedDriveTime, AWholeDiscReadTakesTheClosedFormTimeOfItsRotation)
{
    struct Case {
        const char* drive;
        const char* medium;
        std::uint16_t kBps;  // FFFFh: the fastest
        std::uint8_t rotationControl;
        Rotation expected;
    };
    const Case cases[] = {
        {"cd-reader", "cd-rom", 0xFFFF, 0, Rotation::Cav},     {"cd-reader", "cd-r", 8 * 176, 0, Rotation::Clv},
        {"dvd-writer", "dvd+r", 0xFFFF, 0, Rotation::Cav},     {"dvd-writer", "dvd+r", 4 * 1385, 0, Rotation::Clv},
        {"dvd-writer", "dvd-rom", 4 * 1385, 1, Rotation::Cav},  // CAV asked for
        {"bd-writer", "bd-r", 0xFFFF, 0, Rotation::ZonedClv},  {"bd-writer", "hddvd-rom", 0xFFFF, 0, Rotation::Clv},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.drive) + " " + c.medium + " " + std::to_string(c.kBps));
        auto clock = std::make_shared<ManualClock>();
        auto drive = Drive(c.drive, c.medium, clock);
        ASSERT_EQ(Send(*drive, SetCdSpeed(c.kBps, c.rotationControl)).result.outcome, Outcome::Good);
        const SpinPlan plan = drive->ReadPlan();
        ASSERT_EQ(plan.rotation, c.expected);
        const TrackGeometry& g = plan.geometry;
        const auto blocks = static_cast<double>(FindMediumPreset(c.medium)->capacityBlocks);
        const double r0 = g.startRadius;
        const double r1 = plan.RadiusAt(static_cast<std::uint64_t>(blocks) - 1);
        double expected = plan.RpmAt(0) / DriveIdentity{}.rotations.spindleRpmPerSecond;
        const auto cavSeconds = [&](double from, double to, double x) {
            return 2 * kPi * g.outerRadius * (to - from) / (g.velocity * g.trackPitch * x);
        };
        switch (plan.rotation) {
        case Rotation::Cav: expected += cavSeconds(r0, r1, plan.targetX); break;
        case Rotation::Clv:
            // Here always a speed the spindle holds at the centre.
            EXPECT_LE(plan.RpmAt(0), drive->ReadPlan().ceilingRpm);
            expected += blocks / (g.blocksPerSecond1x * plan.targetX);
            break;
        case Rotation::ZonedClv: {
            const double width = (g.outerRadius - r0) / plan.zones;
            for (int zone = 0; zone < plan.zones; ++zone) {
                const double from = r0 + zone * width;
                const double to = std::min(r1, from + width);
                if (to > from)
                    expected += (BlocksTo(g, to) - BlocksTo(g, from))
                        / (g.blocksPerSecond1x * plan.targetX * from / g.outerRadius);
            }
            // The spindle speeds up at each zone's start.
            for (int zone = 1; zone < plan.zones && r0 + zone * width < r1; ++zone) {
                const double from = r0 + zone * width;
                const auto rpm = [&](double x, double r) { return x * g.velocity * 60 / (2 * kPi * r); };
                expected += (rpm(plan.targetX * from / g.outerRadius, from)
                             - rpm(plan.targetX * (from - width) / g.outerRadius, from))
                    / DriveIdentity{}.rotations.spindleRpmPerSecond;
            }
            break;
        }
        }
        EXPECT_NEAR(ReadWholeDisc(*drive, *clock, static_cast<std::uint32_t>(blocks)), expected, expected * 0.002);
    }
}

TEST(EmulatedDriveTime, SpinUpNotReadyWindowsAndTheSpeedRequestsTheDriveKeeps)
{
    auto clock = std::make_shared<ManualClock>();
    auto drive = Drive("dvd-writer", "none", clock);
    ASSERT_TRUE(drive->LoadMedium(*FindMediumPreset("dvd-rom")));
    // Not ready while the disc spins up; then the first read brings the
    // spindle to speed.
    EXPECT_EQ(Send(*drive, kTestUnitReady).SenseCode(), sense::kNotReadyBecomingReady);
    clock->Advance(drive->Identity().spinUpMs);
    Send(*drive, kTestUnitReady);  // the medium change, told once
    ASSERT_EQ(Send(*drive, kTestUnitReady).result.outcome, Outcome::Good);
    EXPECT_EQ(drive->SpindleRpm(), 0);
    std::uint64_t before = clock->NowMs();
    Send(*drive, Read10(0, 32), 32 * 2048);
    const SpinPlan fastest = drive->ReadPlan();
    EXPECT_NEAR(drive->SpindleRpm(), fastest.RpmAt(0), 1e-6);
    const double spinUp = fastest.RpmAt(0) / drive->Identity().rotations.spindleRpmPerSecond;
    EXPECT_NEAR(static_cast<double>(clock->NowMs() - before) / 1000, spinUp + fastest.TransferMicroseconds(0, 32) / 1e6,
                0.002);

    // SET CD SPEED keeps the speed and the rotation asked for.
    ASSERT_EQ(Send(*drive, SetCdSpeed(8 * 1385, 1)).result.outcome, Outcome::Good);
    EXPECT_EQ(drive->ReadPlan().rotation, Rotation::Cav);
    EXPECT_DOUBLE_EQ(drive->ReadPlan().targetX, 8);
    EXPECT_EQ(Send(*drive, SetCdSpeed(0xFFFF, 2)).SenseCode(), sense::kInvalidFieldInCdb);

    // SET STREAMING: 2x as 2,770 kB a second; RDD gives the drive its own way back.
    std::vector<std::uint8_t> streaming(12, 0);
    streaming[0] = mmc::kSetStreaming;
    scsi::PutBe16(&streaming[9], 28);
    std::vector<std::uint8_t> descriptor(28, 0);
    scsi::PutBe32(&descriptor[8], 2000000);
    for (std::size_t at : {12u, 20u})
        scsi::PutBe32(&descriptor[at], 2770);
    for (std::size_t at : {16u, 24u})
        scsi::PutBe32(&descriptor[at], 1000);
    const auto stream = [&](std::vector<std::uint8_t> data, std::uint16_t listLength = 28) {
        scsi::PutBe16(&streaming[9], listLength);
        Answer answer;
        answer.result = drive->Execute(streaming.data(), streaming.size(), DataDirection::Out, data.data(),
                                       data.size());
        return answer;
    };
    ASSERT_EQ(stream(descriptor).result.outcome, Outcome::Good);
    EXPECT_DOUBLE_EQ(drive->ReadPlan().targetX, 2);
    EXPECT_EQ(drive->ReadPlan().rotation, Rotation::Cav) << "SET STREAMING keeps the rotation";
    EXPECT_EQ(stream({descriptor.begin(), descriptor.begin() + 20}, 20).SenseCode(), sense::kParameterListLengthError);
    std::vector<std::uint8_t> noTime = descriptor;
    scsi::PutBe32(&noTime[16], 0);
    EXPECT_EQ(stream(noTime).SenseCode(), sense::kInvalidFieldInParameterList);
    std::vector<std::uint8_t> restore(28, 0);
    restore[0] = 0x04;
    ASSERT_EQ(stream(restore).result.outcome, Outcome::Good);
    EXPECT_DOUBLE_EQ(drive->ReadPlan().targetX, fastest.targetX);
    EXPECT_EQ(drive->ReadPlan().rotation, fastest.rotation);

    // A not-ready window: the read that reaches it and every command that
    // needs the disc find the drive becoming ready until its time is over;
    // then the disc spins up again.
    drive->AddNotReadyWindow({5000, 3000});
    EXPECT_EQ(Send(*drive, Read10(4000, 32), 32 * 2048).result.outcome, Outcome::Good);
    EXPECT_EQ(Send(*drive, Read10(4990, 32), 32 * 2048).SenseCode(), sense::kNotReadyBecomingReady);
    EXPECT_EQ(Send(*drive, kTestUnitReady).SenseCode(), sense::kNotReadyBecomingReady);
    clock->Advance(2999);
    EXPECT_EQ(Send(*drive, Read10(4990, 32), 32 * 2048).SenseCode(), sense::kNotReadyBecomingReady);
    clock->Advance(1);
    EXPECT_EQ(drive->SpindleRpm(), 0);
    before = clock->NowMs();
    EXPECT_EQ(Send(*drive, Read10(4990, 32), 32 * 2048).result.outcome, Outcome::Good);
    EXPECT_GT(clock->NowMs() - before, 1000u * fastest.RpmAt(4990) / 8000 - 1) << "the spin-up";

    // MECHANISM STATUS tells where the head stands and whether the door is open.
    std::vector<std::uint8_t> mechanism(12, 0);
    mechanism[0] = mmc::kMechanismStatus;
    scsi::PutBe16(&mechanism[8], 8);
    Answer status = Send(*drive, mechanism, 8);
    EXPECT_EQ(status.data[1] & 0x10, 0);
    EXPECT_EQ(scsi::GetBe32(&status.data[1]) & 0xFFFFFF, 4990u + 31);
    ASSERT_TRUE(drive->EjectMedium());
    EXPECT_EQ(drive->SpindleRpm(), 0);
    status = Send(*drive, mechanism, 8);
    EXPECT_EQ(status.data[1] & 0x10, 0x10);
}

TEST(EmulatedDriveTime, ReadCdMovesRawSectorsAtTheSectorRateOfItsSpeed)
{
    auto clock = std::make_shared<ManualClock>();
    auto drive = Drive("cd-reader", "cd-rom", clock);
    ASSERT_EQ(Send(*drive, SetCdSpeed(4 * 176)).result.outcome, Outcome::Good);
    std::vector<std::uint8_t> readCd(12, 0);
    readCd[0] = mmc::kReadCd;
    scsi::PutBe32(&readCd[2], 1000);
    scsi::PutBe16(&readCd[7], 32);
    readCd[9] = 0xF8;  // sync, headers, user data, EDC/ECC
    Send(*drive, readCd, 32 * 2352);  // the spin-up
    const std::uint64_t before = clock->NowMs();
    for (int i = 0; i < 10; ++i) {
        const Answer answer = Send(*drive, readCd, 32 * 2352);
        ASSERT_EQ(answer.result.outcome, Outcome::Good);
        EXPECT_EQ(answer.result.transferred, 32u * 2352);
    }
    // 320 sectors at 75 a second times 3.99x (704 of 176.4 kB/s).
    EXPECT_NEAR(static_cast<double>(clock->NowMs() - before), 320 / (75 * 704 / 176.4) * 1000, 1);
}

}  // namespace emu
