#include "ScanRig.h"
#include "core/drive/CommandFailure.h"
#include "core/pipo/ScanDriveClassification.h"
#include "emu/DrivePresets.h"
#include "scsi/VendorSignatures.h"

#include <gtest/gtest.h>

namespace {

using Cdb = std::vector<std::uint8_t>;

constexpr const char* kUnsuitable
    = "Your drive is not suitable for PIPO scanning, but you can load QNZ - QNZX files to view them.";
constexpr const char* kToshiba = "Toshiba drives do not support pi//po scanning";

emu::DriveIdentity Rebadged(const char* preset, const char* vendor, const char* product)
{
    emu::DriveIdentity identity = *emu::FindDrivePreset(preset);
    identity.vendor = vendor;
    identity.product = product;
    return identity;
}

emu::DriveIdentity Preset(const char* preset)
{
    return *emu::FindDrivePreset(preset);
}

// A BenQ of newer firmware without the older vendor mode: only service mode.
emu::DriveIdentity ServiceModeOnlyBenq()
{
    emu::DriveIdentity identity = Preset("benq");
    identity.vendorSettings.benq.vendorModeAllowed = false;
    return identity;
}

std::vector<std::string> Texts(const ScriptedPrompt& prompt)
{
    std::vector<std::string> texts;
    for (const auto& asked : prompt.asked)
        texts.push_back(asked.text);
    return texts;
}

// The CDBs of the probes, byte for byte.
const Cdb kTur = {0x00, 0, 0, 0, 0, 0};
Cdb BenqFd(std::uint8_t sub)
{
    const auto& tag = vendor_signature::kBenq;
    return {0xFD, sub, tag[0], tag[1], tag[2], tag[3], 0, 0, 0, 0, 0, 0};
}
Cdb IhasC9()
{
    const auto& tag = vendor_signature::kNec;
    return {0xC9, 0x02, 0x02, 0x01, tag[0], tag[1], tag[2], tag[3], tag[4], 0x00};
}
const Cdb kJitterProbe = {0xDF, 0x1B, 0x82, 0x01, 0x00, 0x03, 0x02, 0x00, 0x00, 0x00, 0x02, 0x00};
const Cdb kBookTypeProbe = {0xDF, 0x1B, 0x00, 0x02, 0x00, 0x03, 0x02, 0x00, 0x00, 0x00, 0x02, 0x00};
Cdb LiteonDf0F(std::uint8_t function)
{
    return {0xDF, 0x00, 0x0F, function, 0, 0, 0, 0x80, 0, 0, 0, 0};
}
const Cdb kSeekStart = {0x2B, 0, 0, 0, 0, 0, 0, 0, 0, 0};
const Cdb kSamsungRead = {0xF3, 0x0E, 0x00, 0, 0, 0, 0, 0, 0x10, 0, 0, 0};
const Cdb kGenericProbe = {0xF3, 0x0E, 0x71, 0, 0, 0, 0, 0, 0x02, 0, 0, 0};
Cdb CyberSignature(std::uint8_t value)
{
    const auto& tag = vendor_signature::kCyberdrive;
    return {0x33, 0x6C, 0x80, value, tag[0], tag[1], tag[2], 0x00, 0x00, 0x08, 0x00, 0x00};
}
Cdb IhasF3(std::uint8_t sub)
{
    return {0xF3, sub, 0, 0, 0, 0, 0, 0, static_cast<std::uint8_t>(sub == 0x02 ? 0x08 : 0), 0, 0, 0};
}

std::vector<Cdb> Join(std::initializer_list<std::vector<Cdb>> parts)
{
    std::vector<Cdb> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

const std::vector<Cdb> kBenqProbes = {kTur, BenqFd(0x11), kTur, BenqFd(0xF1)};
const std::vector<Cdb> kLiteonProbes = {kTur, kJitterProbe,     kTur, LiteonDf0F(0x00), kTur, kBookTypeProbe,
                                        kTur, LiteonDf0F(0x10), kTur, kBookTypeProbe,   kTur, LiteonDf0F(0x20)};
const std::vector<Cdb> kSamsungProbe = {kTur, kSeekStart, kTur, kSeekStart, kTur, kSamsungRead};

}  // namespace

TEST(ScanDriveClassification, EachIdentityAndProbeAnswerGivesItsFamily)
{
    struct Case {
        const char* name;
        emu::DriveIdentity identity;
        int code;
        int jitterCapable;  // -1: not asked
    };
    const Case cases[] = {
        {"Plextor PX-716A", Preset("plextor"), kDrivePlextor, -1},
        {"another Plextor goes on to the probes", Rebadged("plextor", "PLEXTOR", "DVDR   PX-755A"), kDriveUnsuitable,
         0},
        {"Pioneer", Preset("pioneer"), kDrivePioneer, -1},
        {"Pioneer sold as PIODATA", Rebadged("pioneer", "PIODATA", "DVD-RW  DVR-112"), kDrivePioneer, -1},
        {"ASUS DRW-1608P", Rebadged("pioneer", "ASUS", "DRW-1608P"), kDrivePioneer, -1},
        {"AOpen", Preset("aopen"), kDriveAopen, -1},
        {"AOpen in lower case, any product", Rebadged("pioneer", "aopen", "DVD-RW XYZ"), kDriveAopen, -1},
        {"BenQ (vendor mode)", Preset("benq"), kDriveBenq, -1},
        {"older BenQ", Preset("benq-dw1620"), kDriveBenq, -1},
        {"BenQ taking only service mode", ServiceModeOnlyBenq(), kDriveBenq, -1},
        {"a BenQ calling itself iHAS", Rebadged("benq", "ATAPI", "iHAS120   6"), kDriveBenq, -1},
        {"BTC", Preset("btc"), kDriveBtc, -1},
        {"NEC", Preset("nec"), kDriveNec, -1},
        {"Optiarc", Preset("optiarc"), kDriveNec, -1},
        {"iHAS", Preset("ihas"), kDriveIhas, -1},
        {"Lite-On with jitter", Preset("liteon"), kDriveLiteon, 1},
        {"Lite-On without jitter", Preset("liteon-sohw812"), kDriveLiteon, 0},
        {"a rebadged Lite-On told by its probes", Rebadged("liteon", "QNZEMU", "DVD-RW QL-1"), kDriveLiteon, 1},
        {"ATAPI DH20A3P measures jitter without taking the probe",
         Rebadged("liteon-sohw812", "ATAPI", "DVD A  DH20A3P"), kDriveLiteon, 1},
        {"Samsung", Preset("samsung"), kDriveSamsung, 0},
        {"a rebadged Samsung told by its probe", Rebadged("samsung", "QNZEMU", "DVD-RW QS-1"), kDriveSamsung, 0},
        {"generic F3", Preset("generic-f3"), kDriveGenericF3, 0},
        {"Nu/QSI", Preset("nu"), kDriveGenericF3, 0},
        {"Cyberdrive", Preset("cyberdrive"), kDriveCyberdrive, 0},
        {"an iHAS told by its F3 session", Rebadged("ihas", "QNZEMU", "DVD-RW QI-1"), kDriveIhas, 0},
        {"a drive of no family", Preset("dvd-writer"), kDriveUnsuitable, 0},
        {"Ricoh", Preset("ricoh"), kDriveUnsuitable, 0},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        ScanRig rig(test.identity, "dvd+r");
        rig.scan.state.m_bJitterCapable = -1;
        const ScanDriveDetection detected = DetectScanDrive(rig.scan);
        EXPECT_EQ(detected.code, test.code);
        EXPECT_EQ(rig.scan.state.m_nDriveCode, test.code);
        ASSERT_TRUE(detected.setup);
        EXPECT_EQ(detected.setup->startEnabled, test.code != kDriveUnsuitable);
        EXPECT_FALSE(detected.refused);
        EXPECT_EQ(rig.scan.state.m_bJitterCapable, test.jitterCapable);
        EXPECT_EQ(Texts(rig.prompt),
                  test.code == kDriveUnsuitable ? std::vector<std::string>{kUnsuitable} : std::vector<std::string>{});
        // Whatever a probe opened is closed again.
        const emu::VendorSettings after = rig.drive->VendorState();
        EXPECT_FALSE(after.benq.vendorMode);
        EXPECT_FALSE(after.benq.serviceMode);
        EXPECT_FALSE(after.cyberdrive.measuringMode);
        EXPECT_FALSE(after.ihas.sessionOpen);
    }

    // An iHAS whose C9h query is refused, and any ATAPI drive, are Lite-On drives.
    ScanRig refusing("ihas", "dvd+r");
    refusing.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0xC9, emu::sense::kInvalidOpcode));
    EXPECT_EQ(DetectScanDrive(refusing.scan).code, kDriveLiteon);
    EXPECT_EQ(refusing.scan.state.m_bJitterCapable, 0);
    ScanRig atapi(Rebadged("dvd-writer", "ATAPI", "DVD-RW QA-1"), "dvd+r");
    EXPECT_EQ(DetectScanDrive(atapi.scan).code, kDriveLiteon);
}

TEST(ScanDriveClassification, EachFamilySendsItsProbeChainByteForByte)
{
    const std::vector<Cdb> throughSamsung = Join({kBenqProbes, kLiteonProbes, kSamsungProbe});
    const std::vector<Cdb> throughCyber = Join({throughSamsung, {kGenericProbe, CyberSignature(1)}});
    struct Case {
        const char* name;
        emu::DriveIdentity identity;
        std::vector<Cdb> chain;
    };
    const Case cases[] = {
        {"Plextor: by identity alone", Preset("plextor"), {}},
        {"Pioneer", Preset("pioneer"), {}},
        {"BenQ: vendor mode, left by the set-up", Preset("benq"), {kTur, BenqFd(0x11), kTur, BenqFd(0x12)}},
        {"BenQ: service mode, left again",
         ServiceModeOnlyBenq(),
         {kTur, BenqFd(0x11), kTur, BenqFd(0xF1), kTur, BenqFd(0x12), BenqFd(0xF2)}},
        {"BTC", Preset("btc"), kBenqProbes},
        {"NEC", Preset("nec"), kBenqProbes},
        {"iHAS", Preset("ihas"), Join({kBenqProbes, {IhasC9()}})},
        {"Lite-On", Preset("liteon"), Join({kBenqProbes, {kTur, kJitterProbe, kTur, LiteonDf0F(0x00)}})},
        {"Samsung", Preset("samsung"), throughSamsung},
        {"generic F3", Preset("generic-f3"), Join({throughSamsung, {kGenericProbe}})},
        {"Cyberdrive: the mode is left again", Preset("cyberdrive"), Join({throughCyber, {CyberSignature(0)}})},
        {"iHAS told by its session", Rebadged("ihas", "QNZEMU", "DVD-RW QI-1"),
         Join({throughCyber, {IhasF3(0x01), IhasF3(0x02), IhasF3(0x03), IhasF3(0x0F)}})},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        ScanRig rig(test.identity, "dvd+r");
        DetectScanDrive(rig.scan);
        EXPECT_EQ(rig.TakeCdbs(), test.chain);
    }

    // An ATAPI iHAS whose C9h is refused takes the jitter probe only.
    ScanRig refusing("ihas", "dvd+r");
    refusing.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0xC9, emu::sense::kInvalidOpcode));
    DetectScanDrive(refusing.scan);
    EXPECT_EQ(refusing.TakeCdbs(), Join({kBenqProbes, {IhasC9(), kTur, kJitterProbe}}));

    // The Samsung probe seeks to the start of the scan range.
    ScanRig samsung("samsung", "dvd+r");
    samsung.scan.state.m_llStartLba = 0x12345;
    DetectScanDrive(samsung.scan);
    const auto sent = samsung.TakeCdbs();
    EXPECT_NE(std::find(sent.begin(), sent.end(), Cdb{0x2B, 0, 0, 0x01, 0x23, 0x45, 0, 0, 0, 0}), sent.end());
}

TEST(ScanDriveClassification, AKernelRefusalAsksForRawAccessNamingTheCommandAndIsNoUnsuitableDrive)
{
    struct Case {
        const char* preset;
        std::uint8_t first, last;  // the opcodes the kernel refuses
        const char* probe;
        const char* command;
    };
    const Case cases[] = {
        {"benq", 0xC0, 0xFF, "BenqSignature11", "FD 11 42 45 4E 51 00 00 00 00 00 00"},
        {"liteon", 0xDF, 0xDF, "LiteonProbeDF1B", "DF 1B 82 01 00 03 02 00 00 00 02 00"},
        {"samsung", 0xF3, 0xF3, "SamsungWriteVerifySuccess", "F3 0E 00 00 00 00 00 00 10 00 00 00"},
        {"dvd-writer", 0x33, 0x33, "CyberSignatureCommand", "33 6C 80 01 51 43 59 00 00 08 00 00"},
        {"ihas", 0xC9, 0xC9, "IhasBookTypeProbe", "C9 02 02 01 51 4E 5A 4E 45 00"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.preset);
        ScanRig rig(test.preset, "dvd+r");
        rig.drive->AddErrorRule(
            emu::ErrorRule::Refusal(emu::ErrorRule::Kind::PermissionDenied, test.first, test.last, 1));
        const ScanDriveDetection detected = DetectScanDrive(rig.scan);
        ASSERT_TRUE(detected.refused);
        EXPECT_EQ(detected.refused->probe, test.probe);
        EXPECT_EQ(detected.code, kDriveUnsuitable);
        ASSERT_TRUE(detected.setup);
        EXPECT_FALSE(detected.setup->startEnabled);
        ASSERT_EQ(rig.prompt.asked.size(), 1u);
        const std::string& text = rig.prompt.asked[0].text;
        EXPECT_EQ(text.rfind(RawAccessNeeded(kScanSubject), 0), 0u) << text;
        EXPECT_NE(text.find(test.command), std::string::npos) << text;
        EXPECT_EQ(text.find("not suitable"), std::string::npos);

        // Once the kernel passes the probes on, a drive of no family is told so.
        if (std::string(test.preset) == "dvd-writer") {
            DetectScanDrive(rig.scan);
            EXPECT_EQ(Texts(rig.prompt).back(), kUnsuitable);
        }
    }
}

TEST(ScanDriveClassification, MessagesAndTheWindowSetUp)
{
    // The unsuitable-drive message comes once until another family is found.
    ScanRig unsuitable("dvd-writer", "none");
    for (int i = 0; i < 3; ++i)
        DetectScanDrive(unsuitable.scan);
    EXPECT_EQ(Texts(unsuitable.prompt), std::vector<std::string>{kUnsuitable});
    unsuitable.scan.state.m_nDriveCode = kDriveLiteon;
    DetectScanDrive(unsuitable.scan);
    EXPECT_EQ(unsuitable.prompt.asked.size(), 2u);

    // A Toshiba drive gets its own message once and is a drive that cannot
    // scan: the unsuitable set-up, Start disabled.
    ScanRig toshiba(Rebadged("toshiba", "toshiba", "dvd-ram sd-r9012"), "dvd+r");
    toshiba.scan.state.m_nDriveCode = kDriveSamsung;
    for (int i = 0; i < 3; ++i) {
        const ScanDriveDetection detected = DetectScanDrive(toshiba.scan);
        EXPECT_EQ(detected.code, kDriveUnsuitable);
        ASSERT_TRUE(detected.setup);
        EXPECT_FALSE(detected.setup->startEnabled);
    }
    EXPECT_EQ(toshiba.scan.state.m_nDriveCode, kDriveUnsuitable);
    EXPECT_EQ(Texts(toshiba.prompt), (std::vector<std::string>{kToshiba}));
    EXPECT_TRUE(toshiba.Cdbs().empty());

    // BenQ and Cyberdrive take the CAV speed from its box: 4, 6, 8, else 12.
    for (const auto& [index, speed] : std::vector<std::pair<int, int>>{{0, 4}, {1, 6}, {2, 8}, {-1, 12}}) {
        ScanRig benq("benq", "dvd+r");
        benq.scan.choices.cavSpeedIndex = index;
        DetectScanDrive(benq.scan);
        EXPECT_EQ(benq.scan.state.m_nCavSpeed, speed);
    }

    using Captions = std::vector<std::string>;
    const auto captions = [](int code) {
        const auto& set = WindowSetupFor(code).speedCaptions;
        return set ? Captions(set->begin(), set->end()) : Captions{};
    };
    EXPECT_EQ(captions(kDrivePlextor), (Captions{"1x", "2x", "3x", "4x"}));
    EXPECT_EQ(captions(kDrivePioneer), (Captions{"2x", "4x", "6x", "8x"}));
    EXPECT_EQ(captions(kDriveGenericF3), (Captions{"4x", "8x", "12x", "16x"}));
    EXPECT_TRUE(captions(kDriveBtc).empty());
    EXPECT_EQ(WindowSetupFor(kDriveNec).speedBox, ScanSpeedBox::NecSpeed);
    EXPECT_TRUE(WindowSetupFor(kDriveIhas).resetSpeedAxis);
    EXPECT_EQ(WindowSetupFor(kDriveSamsung).view, ScanViewMode::BtcSamsung);
    EXPECT_EQ(WindowSetupFor(kDriveSamsung).speedBox, ScanSpeedBox::ReadSpeed);
    EXPECT_EQ(WindowSetupFor(kDriveCyberdrive).view, ScanViewMode::PO);
    EXPECT_TRUE(WindowSetupFor(kDrivePlextor).enableAccuracy);
    EXPECT_FALSE(WindowSetupFor(kDrivePlextor).showSpeedToggle);
    EXPECT_TRUE(WindowSetupFor(kDriveLiteon).showSpeedToggle);
}
