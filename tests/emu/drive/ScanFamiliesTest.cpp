#include "EmuTestHelpers.h"
#include "emu/DrivePresets.h"
#include "emu/MediaPresets.h"
#include "emu/MediumGeometry.h"
#include "scsi/VendorSignatures.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace emu {

namespace {

const std::vector<std::uint8_t> kSamsungErrorRead = {0xF3, 0x0E, 0, 0, 0, 0, 0, 0, 0x10, 0, 0, 0};
const std::vector<std::uint8_t> kBtcErrorRead = {0xF3, 0x0E, 0, 0, 0, 0, 0, 0, 0, 0};

std::vector<std::uint8_t> Seek(std::uint32_t lba)
{
    std::vector<std::uint8_t> cdb(10, 0);
    cdb[0] = 0x2B;
    scsi::PutBe32(&cdb[2], lba);
    return cdb;
}

std::vector<std::uint8_t> IhasF3(std::uint8_t sub)
{
    return {0xF3, sub, 0, 0, 0, 0, 0, 0, static_cast<std::uint8_t>(sub == 0x02 ? 0x08 : 0), 0, 0, 0};
}

std::vector<std::uint8_t> NecF3(std::uint8_t sub, std::uint32_t lba = 0)
{
    std::vector<std::uint8_t> cdb = {0xF3, sub, 0, 0, 0, 0, 0, 0, 0x08, 0, 0, 0};
    scsi::PutBe32(&cdb[2], lba);
    return cdb;
}

std::vector<std::uint8_t> GenericF3(std::uint8_t function, std::uint32_t address = 0)
{
    const auto& tag = vendor_signature::kGenericF3;
    if (function == 0x00)
        return {0xF3, 0x0C, 0x00, tag[0], tag[1], tag[2], tag[3], tag[4], 0, 0, 0, 0xAA};
    if (function == 0x01)
        return {0xF3, 0x0C, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0xAA};
    return {0xF3,
            0x0C,
            0x07,
            static_cast<std::uint8_t>(address >> 16),
            static_cast<std::uint8_t>(address >> 8),
            static_cast<std::uint8_t>(address),
            0,
            0,
            0,
            0,
            0,
            0};
}

std::vector<std::uint8_t> GenericRead(std::uint8_t blocks)
{
    return {0xF3, 0x0E, 0x80, 0, 0, 0, 0, 0, blocks, 0, 0, 0};
}

std::vector<std::uint8_t> LiteonJitterRead(std::uint32_t lba, std::uint32_t count)
{
    std::vector<std::uint8_t> cdb = {0xDF, 0x1B, 0x82, 0x01, 0, 0, 0, 0, 0, 0, 0, 0};
    scsi::PutBe32(&cdb[4], lba);
    scsi::PutBe32(&cdb[8], count);
    return cdb;
}

std::vector<std::uint8_t> CyberSignature(std::uint8_t value, std::uint8_t tagByte = 0)
{
    const auto& tag = vendor_signature::kCyberdrive;
    return {0x33, 0x6C, 0x80, value, static_cast<std::uint8_t>(tag[0] ^ tagByte), tag[1], tag[2], 0, 0, 8, 0, 0};
}

std::vector<std::uint8_t> BenqFd(std::uint8_t sub)
{
    const auto& tag = vendor_signature::kBenq;
    return {0xFD, sub, tag[0], tag[1], tag[2], tag[3], 0, 0, 0, 0, 0, 0};
}

struct Report {
    std::uint32_t position;
    std::uint32_t pi;
    std::uint32_t pif;
};

Report SamsungRead(EmulatedDrive& drive)
{
    const Answer answer = Send(drive, kSamsungErrorRead, 16);
    EXPECT_EQ(answer.result.outcome, Outcome::Good);
    return {scsi::GetBe32(answer.data.data()) & 0xFFFFFF, scsi::GetBe16(&answer.data[4]),
            scsi::GetBe16(&answer.data[6])};
}

std::shared_ptr<EmulatedDrive> DriveWith(const char* drivePreset, MediumDescription disc,
                                         std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>())
{
    auto drive = std::make_shared<EmulatedDrive>(*FindDrivePreset(drivePreset), std::move(clock));
    EXPECT_TRUE(drive->InsertMedium(disc));
    return drive;
}

}  // namespace

TEST(ErrorProfile, IsTheSameForTheSameSeedAndBlockAndKeepsItsBadZones)
{
    ErrorProfile profile;
    profile.seed = 42;
    profile.piMean = 5;
    profile.pifPerMille = 100;
    ErrorProfile other = profile;
    other.seed = 43;
    std::uint64_t piSum = 0;
    std::uint32_t failures = 0;
    bool differs = false;
    for (std::uint64_t block = 0; block < 4000; ++block) {
        const EccBlockErrors errors = profile.Block(block);
        EXPECT_EQ(errors, profile.Block(block));
        EXPECT_LE(errors.pi, 10u);
        EXPECT_EQ(errors.po, errors.pif);
        EXPECT_GE(errors.jitter, 70u);
        EXPECT_LE(errors.jitter, 90u);
        piSum += errors.pi;
        failures += errors.pif;
        differs = differs || errors != other.Block(block);
    }
    EXPECT_TRUE(differs);
    EXPECT_NEAR(static_cast<double>(piSum) / 4000, 5.0, 0.3);
    EXPECT_NEAR(failures, 400, 80);

    // A zone gives each ECC block it touches its counts, here above 255 a block
    // summed over eight.
    profile.badZones.push_back({100 * kEccBlockSectors + 5, 40, {150, 12, 30, 2, 140}});
    const ErrorProfile withoutZones{profile.seed, 5, 100, 80, {}};
    EXPECT_EQ(profile.Block(99), withoutZones.Block(99));
    for (std::uint64_t block = 100; block <= 102; ++block)
        EXPECT_EQ(profile.Block(block), (EccBlockErrors{150, 12, 30, 2, 140}));
    const ErrorSum eight = MeasureSectors(profile, 96 * kEccBlockSectors, 8 * kEccBlockSectors);
    EXPECT_EQ(eight.blocks, 8u);
    EXPECT_GE(eight.total.pi, 450u);
    EXPECT_EQ(eight.peak.pi, 150u);
    EXPECT_EQ(eight.peak.pof, 2u);
}

TEST(ScanFamilies, SeekStartsTheMeasurementWhichReportsEachEccBlockOfTheProfileAndSpendsItsTransferTime)
{
    auto clock = std::make_shared<ManualClock>();
    MediumDescription disc = *FindMediumPreset("dvd+r");
    disc.errors.seed = 7;
    auto drive = DriveWith("samsung", disc, clock);
    ASSERT_EQ(Send(*drive, Seek(1000)).result.outcome, Outcome::Good);  // from the ECC block of 1000 on: 992
    for (std::uint32_t i = 0; i < 64; ++i) {
        const Report report = SamsungRead(*drive);
        const EccBlockErrors expected = disc.errors.Block(62 + i);
        EXPECT_EQ(report.position, 992 + 16 * i);
        EXPECT_EQ(report.pi, expected.pi);
        EXPECT_EQ(report.pif, expected.pif);
    }
    // The spin-up from standstill, then 64 blocks of 16 sectors at the
    // drive's fastest, 16x DVD CAV, at their radius.
    const SpinPlan plan = drive->ReadPlan();
    double seconds = plan.RpmAt(992) / DriveIdentity{}.rotations.spindleRpmPerSecond;
    for (std::uint32_t i = 0; i < 64; ++i)
        seconds += 16 / (plan.SpeedAt(992 + 16 * i + 8) * plan.geometry.blocksPerSecond1x);
    EXPECT_NEAR(static_cast<double>(clock->NowMs()), seconds * 1000, 2);

    // At 1x set by SET CD SPEED (read at constant linear velocity) a READ(10)
    // of 16 sectors takes 23.66 ms once the spindle has slowed down.
    std::vector<std::uint8_t> speed = {0xBB, 0, 0x05, 0x69, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(Send(*drive, speed).result.outcome, Outcome::Good);
    Send(*drive, Read10(0, 16), 16 * 2048);
    const std::uint64_t before = clock->NowMs();
    for (int i = 0; i < 100; ++i)
        Send(*drive, Read10(0, 16), 16 * 2048);
    EXPECT_NEAR(static_cast<double>(clock->NowMs() - before), 2366, 1);
}

TEST(ScanFamilies, StuckPositionsAndInjectedFailuresOfTheMeasurement)
{
    auto drive = DriveWith("samsung", *FindMediumPreset("dvd+r"));
    drive->AddStuckPosition({64, 3, false});
    Send(*drive, Seek(0));
    std::vector<std::uint32_t> positions;
    for (int i = 0; i < 8; ++i)
        positions.push_back(SamsungRead(*drive).position);
    EXPECT_EQ(positions, (std::vector<std::uint32_t>{0, 16, 32, 48, 64, 64, 64, 64}));  // then it moves on
    EXPECT_EQ(SamsungRead(*drive).position, 80u);

    // A drive that lost its address reports 0 for ever.
    drive->AddStuckPosition({200, -1, true});
    Send(*drive, Seek(208));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(SamsungRead(*drive).position, 0u);

    // An unreadable stretch fails the read with its sense; the position stays.
    auto failing = DriveWith("samsung", *FindMediumPreset("dvd+r"));
    failing->AddErrorRule(ErrorRule::UnreadableBlocks(40, 4));
    Send(*failing, Seek(16));
    EXPECT_EQ(SamsungRead(*failing).position, 16u);
    for (int i = 0; i < 2; ++i) {
        const Answer refused = Send(*failing, kSamsungErrorRead, 16);
        EXPECT_EQ(refused.result.outcome, Outcome::CheckCondition);
        EXPECT_EQ(refused.SenseCode(), sense::kUnrecoveredReadError);
    }
    failing->ClearErrorRules();
    EXPECT_EQ(SamsungRead(*failing).position, 32u);

    // Without a disc the read is refused as not ready.
    auto empty = Drive("samsung", "none");
    EXPECT_EQ(Send(*empty, kSamsungErrorRead, 16).SenseCode(), sense::kNoMedium);
}

TEST(ScanFamilies, EachFamilyTakesItsOwnProbesAndRefusesTheOthersAsADriveWould)
{
    const std::vector<std::uint8_t> nuProbe = {0xF3, 0x0E, 0x71, 0, 0, 0, 0, 0, 0x02, 0, 0, 0};
    const std::vector<std::uint8_t> nuStatus = {0xF3, 0x0F, 0x02, 0, 0, 0, 0x07, 0, 0x08, 0, 0, 0};
    struct Probe {
        const char* name;
        std::vector<std::uint8_t> cdb;
        std::size_t length;
        std::vector<std::string> owners;  // the family presets that take it
    };
    const Probe probes[] = {
        {"BenQ vendor mode", BenqFd(0x11), 0, {"benq"}},
        {"Lite-On jitter read", LiteonJitterRead(0x30200, 512), 12, {"liteon"}},
        {"Samsung error read", kSamsungErrorRead, 16, {"samsung", "liteon"}},
        {"generic F3 probe", nuProbe, 2, {"generic-f3"}},
        {"Nu/QSI status query", nuStatus, 8, {"generic-f3"}},  // not the end of another family's session
        {"Cyberdrive signature", CyberSignature(1), 8, {"cyberdrive"}},
        {"iHAS session start", IhasF3(0x01), 2048, {"ihas", "nec"}},
        {"BTC error read", kBtcErrorRead, 10, {"btc"}},
    };
    const char* drives[] = {"benq", "liteon", "samsung", "generic-f3", "cyberdrive",
                            "ihas", "nec",    "btc",     "dvd-writer"};
    for (const Probe& probe : probes) {
        for (const char* preset : drives) {
            SCOPED_TRACE(std::string(probe.name) + " on " + preset);
            auto drive = Drive(preset, "dvd+r");
            const Answer answer = Send(*drive, probe.cdb, probe.length);
            if (std::find(probe.owners.begin(), probe.owners.end(), preset) != probe.owners.end()) {
                EXPECT_EQ(answer.result.outcome, Outcome::Good);
                continue;
            }
            ASSERT_EQ(answer.result.outcome, Outcome::CheckCondition);
            // A drive that knows the opcode for other sub-commands says the field is wrong.
            const bool knowsOpcode = probe.cdb[0] == 0xF3
                && (std::string(preset) == "samsung" || std::string(preset) == "liteon"
                    || std::string(preset) == "generic-f3" || std::string(preset) == "ihas"
                    || std::string(preset) == "nec" || std::string(preset) == "btc");
            EXPECT_EQ(answer.SenseCode(), knowsOpcode ? sense::kInvalidFieldInCdb : sense::kInvalidOpcode);
        }
    }
}

TEST(ScanFamilies, VendorModesOpenAndCloseAsTheDriveKeepsThem)
{
    // BenQ: the older vendor mode (11h/12h) and the service mode (F1h/F2h).
    auto benq = Drive("benq", "dvd+r");
    EXPECT_EQ(Send(*benq, BenqFd(0x11)).result.outcome, Outcome::Good);
    EXPECT_TRUE(benq->VendorState().benq.vendorMode);
    Send(*benq, BenqFd(0x12));
    EXPECT_FALSE(benq->VendorState().benq.vendorMode);
    Send(*benq, BenqFd(0xF1));
    EXPECT_TRUE(benq->VendorState().benq.serviceMode);
    Send(*benq, BenqFd(0xF2));
    EXPECT_FALSE(benq->VendorState().benq.serviceMode);
    DriveIdentity newerFirmware = *FindDrivePreset("benq");
    newerFirmware.vendorSettings.benq.vendorModeAllowed = false;
    EmulatedDrive closed(newerFirmware, std::make_shared<ManualClock>());
    EXPECT_EQ(Send(closed, BenqFd(0x11)).SenseCode(), sense::kInvalidFieldInCdb);

    // Cyberdrive: the measuring mode behind the signature.
    auto cyber = Drive("cyberdrive", "dvd+r");
    const Answer opened = Send(*cyber, CyberSignature(1), 8);
    EXPECT_EQ(opened.Received(), (std::vector<std::uint8_t>{1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(cyber->VendorState().cyberdrive.measuringMode);
    Send(*cyber, CyberSignature(0), 8);
    EXPECT_FALSE(cyber->VendorState().cyberdrive.measuringMode);
    EXPECT_EQ(Send(*cyber, CyberSignature(1, 0x20), 8).SenseCode(), sense::kInvalidFieldInCdb);

    // iHAS: reads only inside the session; each covers eight ECC blocks.
    MediumDescription disc = *FindMediumPreset("dvd+r");
    auto ihas = DriveWith("ihas", disc);
    EXPECT_EQ(Send(*ihas, IhasF3(0x03), 8).SenseCode(), sense::kCommandSequenceError);
    Send(*ihas, IhasF3(0x01), 2048);
    Send(*ihas, IhasF3(0x02), 8);
    Send(*ihas, Seek(256));
    const Answer first = Send(*ihas, IhasF3(0x03), 8);
    const Answer second = Send(*ihas, IhasF3(0x03), 8);
    EXPECT_EQ(scsi::GetBe32(first.data.data()), 256u);
    EXPECT_EQ(scsi::GetBe32(second.data.data()), 384u);
    EXPECT_EQ(scsi::GetBe16(&second.data[4]), MeasureSectors(disc.errors, 384, 128).total.pi);
    Send(*ihas, IhasF3(0x0F), 8);
    EXPECT_EQ(Send(*ihas, IhasF3(0x03), 8).SenseCode(), sense::kCommandSequenceError);
    // The C9h query that tells iHAS drives apart.
    const auto& tag = vendor_signature::kNec;
    const Answer tagged = Send(*ihas, {0xC9, 0x02, 0x02, 0x01, tag[0], tag[1], tag[2], tag[3], tag[4], 0}, 20);
    EXPECT_EQ(tagged.result.outcome, Outcome::Good);
}

TEST(ScanFamilies, LiteOnJitterReadsTheProfilesJitterOnlyOnModelsThatMeasureIt)
{
    MediumDescription disc = *FindMediumPreset("dvd+r");
    disc.errors.badZones.push_back({0x30200, 512, {0, 0, 0, 0, 123}});
    auto liteon = DriveWith("liteon", disc);
    const Answer answer = Send(*liteon, LiteonJitterRead(0x30200, 512), 12);
    ASSERT_EQ(answer.result.outcome, Outcome::Good);
    EXPECT_EQ(answer.data[0], 0x01);
    EXPECT_EQ(scsi::GetBe32(&answer.data[8]), 123u);

    auto older = DriveWith("liteon-sohw812", disc);
    EXPECT_EQ(Send(*older, LiteonJitterRead(0x30200, 512), 12).SenseCode(), sense::kInvalidFieldInCdb);
    // Its book-type commands still answer.
    EXPECT_EQ(Send(*older, {0xDF, 0x00, 0x0F, 0, 0, 0, 0, 0x80, 0, 0, 0, 0}, 128).result.outcome, Outcome::Good);
}

TEST(ScanFamilies, MakersTextsOfDvdMinusAndDvdRamDiscs)
{
    auto minus = Drive("dvd-writer", "dvd-r");
    const Answer prepits = Send(*minus, {0xAD, 0, 0, 0, 0, 0, 0, 0x0E, 0, 68, 0, 0}, 68);
    ASSERT_EQ(prepits.result.outcome, Outcome::Good);
    EXPECT_EQ(std::string(prepits.data.begin() + 21, prepits.data.begin() + 27), "MCC 03");
    EXPECT_EQ(std::string(prepits.data.begin() + 29, prepits.data.begin() + 33), "RG20");
    EXPECT_EQ(Send(*Drive("dvd-writer", "dvd+r"), {0xAD, 0, 0, 0, 0, 0, 0, 0x0E, 0, 68, 0, 0}, 68).SenseCode(),
              sense::kInvalidFieldInCdb);

    auto ram = Drive("dvd-writer", "dvd-ram");
    const Answer physical = Send(*ram, {0xAD, 0, 0, 0, 0, 0, 0, 0x00, 0x08, 0x04, 0, 0}, 2052);
    EXPECT_EQ(std::string(physical.data.begin() + 553, physical.data.begin() + 563), "MATSUSHITA");
}

TEST(ScanFamilies, NecSessionReadsFromTheCursorItsArmPutsAtAnLbaAndOlderFirmwareHasNone)
{
    MediumDescription disc = *FindMediumPreset("dvd+r");
    auto nec = DriveWith("nec", disc);
    EXPECT_EQ(Send(*nec, NecF3(0x03), 8).SenseCode(), sense::kCommandSequenceError);
    ASSERT_EQ(Send(*nec, NecF3(0x01), 2048).result.outcome, Outcome::Good);
    Send(*nec, NecF3(0x02, 1000), 8);  // the ECC block of 1000: 992
    const auto position = [&] { return scsi::GetBe32(Send(*nec, NecF3(0x03, 77), 8).data.data()); };
    EXPECT_EQ(position(), 992u);  // the read's own LBA is not where it reads
    EXPECT_EQ(position(), 1120u);
    Send(*nec, NecF3(0x02, 992), 8);  // back to the last good read
    const Answer again = Send(*nec, NecF3(0x03), 8);
    EXPECT_EQ(scsi::GetBe32(again.data.data()), 992u);
    EXPECT_EQ(scsi::GetBe16(&again.data[6]), MeasureSectors(disc.errors, 992, 128).total.pif);
    Send(*nec, NecF3(0x0F), 8);
    EXPECT_FALSE(nec->VendorState().nec.sessionOpen);

    DriveIdentity older = *FindDrivePreset("nec");
    older.vendorSettings.nec.errorRateCommands = false;
    EmulatedDrive old(older, std::make_shared<ManualClock>());
    ASSERT_TRUE(old.InsertMedium(disc));
    EXPECT_EQ(Send(old, NecF3(0x01), 2048).SenseCode(), sense::kInvalidOpcode);
    // The iHAS arm keeps the cursor where the SEEK put it.
    auto ihas = DriveWith("ihas", disc);
    Send(*ihas, IhasF3(0x01), 2048);
    Send(*ihas, Seek(512));
    Send(*ihas, NecF3(0x02, 4096), 8);
    EXPECT_EQ(scsi::GetBe32(Send(*ihas, IhasF3(0x03), 8).data.data()), 512u);
}

TEST(ScanFamilies, GenericF3MeasurementOpensBehindItsAccessSequenceAndReportsPhysicalSectors)
{
    MediumDescription disc = *FindMediumPreset("dvd+r");
    disc.errors.badZones.push_back({0x1000, 16, {40, 3, 9, 2, 95}});
    auto drive = DriveWith("generic-f3", disc);
    EXPECT_EQ(Send(*drive, GenericRead(16), 32768).SenseCode(), sense::kCommandSequenceError);
    std::vector<std::uint8_t> wrongTag = GenericF3(0x00);
    wrongTag[5] ^= 0x20;
    EXPECT_EQ(Send(*drive, wrongTag, 36).SenseCode(), sense::kInvalidFieldInCdb);
    ASSERT_EQ(Send(*drive, GenericF3(0x00), 36).result.outcome, Outcome::Good);
    ASSERT_EQ(Send(*drive, {0xF3, 0x0E, 0x01, 0xFF, 0x01, 0, 0, 0, 0, 0, 0, 0}, 36).result.outcome, Outcome::Good);
    EXPECT_EQ(Send(*drive, GenericF3(0x07, 0x2FFFF), 36).SenseCode(), sense::kLbaOutOfRange);
    ASSERT_EQ(Send(*drive, GenericF3(0x07, 0x30000 + 0xF00), 36).result.outcome, Outcome::Good);
    // 16 ECC blocks a read (256 sectors); more than 32 are read as 32.
    const Answer first = Send(*drive, GenericRead(16), 32768);
    ASSERT_EQ(first.result.transferred, 32768u);
    EXPECT_EQ(scsi::GetBe32(first.data.data()), 0x30F00u);
    const Answer zone = Send(*drive, GenericRead(200), 32768);
    EXPECT_EQ(scsi::GetBe32(zone.data.data()), 0x31000u);
    const ErrorSum expected = MeasureSectors(disc.errors, 0x1000, 512);
    EXPECT_EQ(scsi::GetBe16(&zone.data[4]), expected.total.pi);
    EXPECT_EQ(scsi::GetBe16(&zone.data[6]), expected.total.pif);
    EXPECT_EQ(scsi::GetBe16(&zone.data[10]), expected.total.pof);
    EXPECT_EQ(scsi::GetBe16(&zone.data[16]), expected.total.jitter);
    EXPECT_EQ(scsi::GetBe32(Send(*drive, GenericRead(1), 32768).data.data()), 0x31200u);
    // A drive that lost its address says 0, not the first data sector.
    drive->AddStuckPosition({0x1210, -1, true});
    EXPECT_EQ(scsi::GetBe32(Send(*drive, GenericRead(1), 32768).data.data()), 0u);
    Send(*drive, GenericF3(0x01), 36);
    EXPECT_FALSE(drive->VendorState().nuQsi.measuringOpen);
}

TEST(ScanFamilies, BtcCountsFourTimesOverAndAMisreadIsGoneAfterASeekBack)
{
    MediumDescription disc = *FindMediumPreset("dvd+r");
    DriveIdentity identity = *FindDrivePreset("btc");
    identity.vendorSettings.btc.spikeSectors = {300};
    EmulatedDrive drive(identity, std::make_shared<ManualClock>());
    ASSERT_TRUE(drive.InsertMedium(disc));
    Send(drive, Seek(128));
    const auto read = [&] {
        const Answer answer = Send(drive, kBtcErrorRead, 10);
        EXPECT_EQ(answer.result.outcome, Outcome::Good);
        return Report{scsi::GetBe32(answer.data.data()) & 0xFFFFFF, scsi::GetBe16(&answer.data[4]),
                      scsi::GetBe16(&answer.data[6])};
    };
    // Each read reports where it ended.
    const Report first = read();
    EXPECT_EQ(first.position, 256u);
    EXPECT_EQ(first.pi, 4 * MeasureSectors(disc.errors, 128, 128).total.pi);
    const Report spike = read();
    EXPECT_EQ(spike.position, 384u);
    EXPECT_GT(spike.pi >> 2, 2560u);
    EXPECT_GT(spike.pif >> 2, 2560u);
    Send(drive, Seek(first.position));
    const Report reread = read();
    EXPECT_EQ(reread.position, 384u);
    EXPECT_EQ(reread.pi, 4 * MeasureSectors(disc.errors, 256, 128).total.pi);
}

}  // namespace emu

namespace emu {

namespace {

std::vector<std::uint8_t> F9(std::size_t length)
{
    return {0xF9, 0, 0, 0, 0, 0, 0, 0, static_cast<std::uint8_t>(length), 0, 0, 0};
}

std::vector<std::uint8_t> F8(std::uint16_t length)
{
    return {0xF8, 0, 0, 0, 0, 0, 0, static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length), 0, 0, 0};
}

// One parameter block out and its answer in.
Answer Exchange(EmulatedDrive& drive, std::vector<std::uint8_t> block, std::uint16_t answerLength)
{
    const std::size_t length = block.size();
    CommandResult sent = drive.Execute(F9(length).data(), 12, DataDirection::Out, block.data(), length);
    if (sent.outcome != Outcome::Good)
        return {sent, {}};
    return Send(drive, F8(answerLength), answerLength);
}

std::vector<std::uint8_t> AddressBlock(std::uint8_t kind, std::uint32_t psn)
{
    return {0xD4,
            kind,
            static_cast<std::uint8_t>(psn >> 16),
            static_cast<std::uint8_t>(psn >> 8),
            static_cast<std::uint8_t>(psn),
            0};
}

const std::vector<std::uint8_t> kStatistics = {0xC1, 0x9A, 0, 0};

void ArmStatistics(EmulatedDrive& drive, std::uint32_t psn)
{
    ASSERT_EQ(Send(drive, BenqFd(0xF1)).result.outcome, Outcome::Good);
    ASSERT_EQ(Exchange(drive, {0xC8, 0x99, 121, 0, 0, 0, 0, 0, 0, 0}, 2).result.outcome, Outcome::Good);
    ASSERT_EQ(Exchange(drive, AddressBlock(0x91, psn), 2).result.outcome, Outcome::Good);
}

struct Statistics {
    std::uint8_t status = 0;
    bool data = false;
    std::uint32_t psn = 0;
    std::uint32_t pi = 0;
    std::uint32_t pif = 0;
    std::uint32_t pof = 0;
    std::uint32_t rawJitter = 0;
};

Statistics ReadStatistics(EmulatedDrive& drive)
{
    const Answer answer = Exchange(drive, kStatistics, 258);
    EXPECT_EQ(answer.result.outcome, Outcome::Good);
    const std::uint8_t* d = answer.data.data();
    Statistics s;
    s.status = d[0];
    s.data = d[1] == 'd' && d[2] == 'v' && d[3] == 'd';
    s.psn = scsi::GetBe24(&d[7]);
    for (int i = 0; i < 5; ++i)
        s.pi += scsi::GetBe16(&d[12 + 2 * i]);
    s.pif = scsi::GetBe16(&d[22]);
    s.pof = scsi::GetBe16(&d[56]);
    s.rawJitter = scsi::GetBe16(&d[59]);
    return s;
}

}  // namespace

TEST(ScanFamilies, NewerBenqStatisticsAnswerEach128SectorsInSixteenBitWordsFromTheStartAddress)
{
    MediumDescription disc = *FindMediumPreset("dvd+r");
    disc.errors.badZones.push_back({4096, 256, {150, 12, 30, 2, 80}});
    auto drive = DriveWith("benq", disc);
    // Outside service mode the exchange does not exist.
    EXPECT_EQ(Send(*drive, F8(2), 2).SenseCode(), sense::kInvalidOpcode);
    Send(*drive, BenqFd(0xF1));
    // Not armed yet: "not initialised".
    EXPECT_EQ(ReadStatistics(*drive).status, 0x22);
    ArmStatistics(*drive, 0x30000 + 4096 - 128);
    const Statistics before = ReadStatistics(*drive);
    EXPECT_TRUE(before.data);
    EXPECT_EQ(before.psn, 0x30000u + 4096 - 128);
    EXPECT_EQ(before.pi, MeasureSectors(disc.errors, 4096 - 128, 128).total.pi);
    const Statistics bad = ReadStatistics(*drive);
    EXPECT_EQ(bad.psn, 0x30000u + 4096);
    EXPECT_EQ(bad.pi, 8 * 150u);  // words above 255
    EXPECT_EQ(bad.pif, 8 * 12u);
    EXPECT_EQ(bad.pof, 8 * 2u);
    // 8.0 % as the drive's raw word: 1000 x sqrt((r / 16 - 2.83) / 1024) = 80.
    EXPECT_EQ(bad.rawJitter, 151u);

    // The speed block sets CAV speeds by code and refuses unknown codes.
    EXPECT_EQ(Exchange(*drive, {0xD2, 0x0A, 5, 0}, 2).result.outcome, Outcome::Good);
    EXPECT_EQ(drive->VendorState().benq.speedCode, 5);
    EXPECT_EQ(Exchange(*drive, {0xD2, 0x0A, 7, 0}, 2).SenseCode(), sense::kInvalidFieldInParameterList);
    // Statistics mode 0 stops the statistics.
    Exchange(*drive, {0xC8, 0x99, 0, 0, 0, 0, 0, 0, 0, 0}, 2);
    EXPECT_EQ(ReadStatistics(*drive).status, 0x22);

    // The older model knows none of it.
    auto older = DriveWith("benq-dw1620", disc);
    Send(*older, BenqFd(0xF1));
    EXPECT_EQ(Exchange(*older, {0xD2, 0x0A, 2, 0}, 2).SenseCode(), sense::kInvalidOpcode);
}

TEST(ScanFamilies, NewerBenqStatisticsFaultsAnswerTheirStatusOrNothingUntilUsedUpOrRearmed)
{
    auto clock = std::make_shared<ManualClock>();
    DriveIdentity identity = *FindDrivePreset("benq");
    identity.vendorSettings.benq.faults = {{1024, 0x32, 1, 0}, {2048, 0, 3, 0}, {3072, 0, -1, 0}, {4096, 0, 0, 5000}};
    EmulatedDrive drive(identity, clock);
    ASSERT_TRUE(drive.InsertMedium(*FindMediumPreset("dvd+r")));
    ArmStatistics(drive, 0x30000 + 1024);
    EXPECT_EQ(ReadStatistics(drive).status, 0x32);  // overflow, once
    EXPECT_EQ(ReadStatistics(drive).psn, 0x30000u + 1024);

    Exchange(drive, AddressBlock(0x91, 0x30000 + 2048), 2);
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(ReadStatistics(drive).data);
    EXPECT_EQ(ReadStatistics(drive).psn, 0x30000u + 2048);

    // A drive that hangs until the statistics are armed again.
    Exchange(drive, AddressBlock(0x91, 0x30000 + 3072), 2);
    for (int i = 0; i < 300; ++i)
        ASSERT_FALSE(ReadStatistics(drive).data);
    Exchange(drive, AddressBlock(0x18, 0x30000 + 3072), 2);
    EXPECT_EQ(ReadStatistics(drive).psn, 0x30000u + 3072);

    // A stall on the drive's clock: empty answers while the time passes.
    Exchange(drive, AddressBlock(0x91, 0x30000 + 4096), 2);
    const std::uint64_t start = clock->NowMs();
    EXPECT_FALSE(ReadStatistics(drive).data);
    clock->Advance(5000);
    const Statistics after = ReadStatistics(drive);
    EXPECT_TRUE(after.data);
    EXPECT_GE(clock->NowMs() - start, 5000u);

    // Past the recorded data there is nothing to measure.
    Exchange(drive, AddressBlock(0x91, 0x30000 + 2100000), 2);
    EXPECT_FALSE(ReadStatistics(drive).data);
}

TEST(ScanFamilies, NewerBenqStatisticsFollowTheSecondLayerByPhysicalSectorNumbers)
{
    MediumDescription disc = *FindMediumPreset("dvd+r-dl");
    auto drive = DriveWith("benq", disc);
    const auto layerZero = static_cast<std::uint32_t>(LayerZeroBlocks(disc));
    const std::uint32_t layerZeroEnd = 0x30000 + layerZero - 1;
    const std::uint32_t layerOneStart = ~layerZeroEnd & 0xFFFFFF;
    // The middle zone after the first layer is measured with linear numbers.
    ArmStatistics(*drive, layerZeroEnd + 1);
    EXPECT_TRUE(ReadStatistics(*drive).data);
    Exchange(*drive, AddressBlock(0x91, layerOneStart + 256), 2);
    const Statistics second = ReadStatistics(*drive);
    EXPECT_EQ(second.psn, layerOneStart + 256);
    EXPECT_EQ(second.pi, MeasureSectors(disc.errors, layerZero + 256, 128).total.pi);
    EXPECT_EQ(ReadStatistics(*drive).psn, layerOneStart + 384);
}

TEST(ScanFamilies, OlderBenqF0ReadsMeasureTheirRangeInTheVendorMode)
{
    MediumDescription disc = *FindMediumPreset("dvd+r");
    disc.errors.badZones.push_back({512, 256, {150, 12, 30, 2, 95}});
    auto drive = DriveWith("benq-dw1620", disc);
    const auto f0 = [](std::uint32_t first, std::uint32_t end, std::uint8_t kind) {
        std::vector<std::uint8_t> cdb = {0xF0, 0x08, 0, 0, 0, 0, 0, 0, 0, 0, 0x03, kind};
        scsi::PutBe32(&cdb[2], first);
        scsi::PutBe32(&cdb[6], end);
        return cdb;
    };
    EXPECT_EQ(Send(*drive, f0(0, 256, 4), 8).SenseCode(), sense::kInvalidOpcode);  // not in the vendor mode
    Send(*drive, BenqFd(0x11));
    const Answer good = Send(*drive, f0(256, 512, 4), 8);
    EXPECT_EQ(scsi::GetBe32(good.data.data()), 2 * MeasureSectors(disc.errors, 256, 256).total.pi);
    const Answer bad = Send(*drive, f0(512, 768, 4), 8);
    EXPECT_EQ(scsi::GetBe32(bad.data.data()), 2 * 16 * 150u);
    EXPECT_EQ(scsi::GetBe32(&bad.data[4]), 16 * 12u);
    EXPECT_EQ(Send(*drive, f0(512, 768, 0), 8).data[2], 95);
    Send(*drive, BenqFd(0x12));
    EXPECT_EQ(Send(*drive, f0(0, 256, 4), 8).SenseCode(), sense::kInvalidOpcode);
    // The newer models dropped it.
    auto newer = DriveWith("benq", disc);
    Send(*newer, BenqFd(0x11));
    EXPECT_EQ(Send(*newer, f0(0, 256, 4), 8).SenseCode(), sense::kInvalidOpcode);
}

TEST(ScanFamilies, CyberdriveMeasuresFromItsCursorInItsMeasuringMode)
{
    MediumDescription disc = *FindMediumPreset("dvd+r");
    disc.errors.badZones.push_back({1024, 128, {300, 12, 30, 2, 100}});
    auto drive = DriveWith("cyberdrive", disc);
    const auto a9 = [](std::uint32_t lba) {
        return std::vector<std::uint8_t>{0x33,
                                         0x6C,
                                         0xA9,
                                         static_cast<std::uint8_t>((lba >> 16) | 0x80),
                                         static_cast<std::uint8_t>(lba >> 8),
                                         static_cast<std::uint8_t>(lba),
                                         0xFF,
                                         0,
                                         0,
                                         0,
                                         0,
                                         0};
    };
    const std::vector<std::uint8_t> b1 = {0x33, 0x6C, 0xB1, 0, 0, 0, 0x00, 0x80, 0x00, 0, 0, 0};
    EXPECT_EQ(Send(*drive, a9(1024), 32).SenseCode(), sense::kCommandSequenceError);
    Send(*drive, CyberSignature(1), 8);
    EXPECT_EQ(Send(*drive, b1, 32768).SenseCode(), sense::kCommandSequenceError);  // not placed yet
    ASSERT_EQ(Send(*drive, a9(1024), 32).result.outcome, Outcome::Good);
    const Answer answer = Send(*drive, b1, 32768);
    ASSERT_EQ(answer.result.transferred, 32768u);
    EXPECT_EQ(answer.data[0] & 0x80, 0x80);
    EXPECT_EQ(scsi::GetBe24(answer.data.data()) & 0x7FFFFF, 1024u + 128);  // where it has come to
    EXPECT_EQ(scsi::GetBe16(&answer.data[3]), 8 * 300u);
    EXPECT_EQ(scsi::GetBe16(&answer.data[5]), 8 * 30u);
    EXPECT_EQ(scsi::GetBe16(&answer.data[10]), 103u);  // 1000 x sqrt(103 / 10 / 1024) = 100
    // At the end of the recorded data: the end, and nothing counted.
    Send(*drive, a9(2100000 - 16), 32);
    EXPECT_EQ(scsi::GetBe24(Send(*drive, b1, 32768).data.data()) & 0x7FFFFF, 2100000u);
    const Answer atEnd = Send(*drive, b1, 32768);
    EXPECT_EQ(scsi::GetBe24(atEnd.data.data()) & 0x7FFFFF, 2100000u);
    EXPECT_EQ(scsi::GetBe16(&atEnd.data[3]), 0u);
    Send(*drive, CyberSignature(0), 8);
    EXPECT_EQ(Send(*drive, b1, 32768).SenseCode(), sense::kCommandSequenceError);
}

}  // namespace emu
