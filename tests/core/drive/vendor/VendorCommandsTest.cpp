#include "core/drive/WrapperRig.h"
#include "emu/DrivePresets.h"
#include "emu/MediaPresets.h"
#include "scsi/Bytes.h"
#include "scsi/VendorSignatures.h"
#include "scsi/Bytes.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Cdb = std::vector<std::uint8_t>;
using Wrapper = std::function<VendorReply(DriveContext&)>;

using emu::sense::kInvalidOpcode;
const emu::Sense kInvalidField = emu::sense::kInvalidFieldInCdb;

struct FamilyCase {
    const char* name;
    const char* familyPreset;  // the drive that answers it
    Wrapper call;
    int answer;  // what it reads from that drive's answer
    Cdb decidingCdb;  // the command whose answer it reads
};

Cdb NecCdb(std::uint8_t media, std::uint8_t setting)
{
    const auto& tag = vendor_signature::kNec;
    return {0xC9, 0x02, media, 0x01, tag[0], tag[1], tag[2], tag[3], tag[4], setting};
}

Cdb BenqServiceCdb(std::uint8_t sub, std::vector<std::uint8_t> tail = {0, 0, 0})
{
    const auto& tag = vendor_signature::kBenq;
    Cdb cdb = {0xFD, sub, tag[0], tag[1], tag[2], tag[3]};
    cdb.insert(cdb.end(), tail.begin(), tail.end());
    cdb.resize(12, 0);
    return cdb;
}

const std::vector<FamilyCase>& FamilyCases()
{
    // clang-format off
    static const std::vector<FamilyCase> cases = {
        {"NecQueryCounterA", "nec", [](DriveContext& c) { return c.nec.NecQueryCounterA(); }, 4, NecCdb(2, 0)},
        {"NecQueryCounterB", "nec", [](DriveContext& c) { return c.nec.NecQueryCounterB(); }, 100, NecCdb(2, 0)},
        {"NecQueryBookType", "nec", [](DriveContext& c) { return c.nec.NecQueryBookType(1, 1); }, 0x90, NecCdb(1, 1)},
        {"NuQsiQueryF30E", "nu", [](DriveContext& c) { return c.nuQsi.NuQsiQueryF30E(); }, 0x01,
         {0xF3, 0x0E, 0x71, 0, 0, 0, 0, 0, 0x02, 0, 0, 0}},
        {"QueryNuQsiStatus", "nu", [](DriveContext& c) { return c.nuQsi.QueryNuQsiStatus(); }, 0x03,
         {0xF3, 0x0F, 0x02, 0, 0, 0, 0x07, 0, 0x08, 0, 0, 0}},
        {"RicohQueryBookType00", "ricoh", [](DriveContext& c) { return c.ricoh.RicohQueryBookType00(); }, 0x90,
         {0xFA, 0x00, 0, 0, 0, 0, 0, 0, 0x06, 0}},
        {"RicohQueryBookType10", "ricoh", [](DriveContext& c) { return c.ricoh.RicohQueryBookType10(); }, 0xA0,
         {0xFA, 0x10, 0, 0, 0, 0, 0, 0, 0x06, 0}},
        {"BenqQueryBookType00", "benq", [](DriveContext& c) { return c.benq.BenqQueryBookType00(); }, 9,
         {0xFF, 0x00, 0, 0, 0, 0, 0, 0, 0x08, 0, 0, 0}},
        {"BenqQueryBookType10", "benq", [](DriveContext& c) { return c.benq.BenqQueryBookType10(); }, 10,
         {0xFF, 0x10, 0, 0, 0, 0, 0, 0, 0x08, 0, 0, 0}},
        {"LiteonProbeDF1B", "liteon", [](DriveContext& c) { return c.liteon.LiteonProbeDF1B(); }, 1,
         {0xDF, 0x1B, 0, 0x02, 0, 0x03, 0x02, 0, 0, 0, 0x02, 0}},
        {"LiteonQueryBookType", "liteon", [](DriveContext& c) { return c.liteon.LiteonQueryBookType(); }, 0,
         {0xDF, 0x00, 0x0F, 0, 0, 0, 0, 0x80, 0, 0, 0, 0}},
        // Both status bytes 0 is an answer (0), not a refusal.
        {"GetVendorStatusDF10", "liteon", [](DriveContext& c) { return c.liteon.GetVendorStatusDF10(); }, 0,
         {0xDF, 0x00, 0x0F, 0x10, 0, 0, 0, 0x80, 0, 0, 0, 0}},
        {"GetVendorStatusDF20", "liteon", [](DriveContext& c) { return c.liteon.GetVendorStatusDF20(); }, 1,
         {0xDF, 0x00, 0x0F, 0x20, 0, 0, 0, 0x80, 0, 0, 0, 0}},
    };
    // clang-format on
    return cases;
}

bool Holds(const std::vector<Cdb>& cdbs, const Cdb& wanted)
{
    return std::find(cdbs.begin(), cdbs.end(), wanted) != cdbs.end();
}

// The Ricoh queries are only sent to drives that write DVD+ media.
void MarkPlusWriter(WrapperRig& rig)
{
    rig.Record().m_bDvdPlusRwWrite = 1;
    rig.Record().m_bDvdPlusRWrite = 1;
}

emu::DriveIdentity Rebadged(const char* preset, const char* vendor, const char* product)
{
    emu::DriveIdentity identity = *emu::FindDrivePreset(preset);
    identity.vendor = vendor;
    identity.product = product;
    return identity;
}

}  // namespace

TEST(VendorCommands, EachFamilyAnswersItsOwnCommandsAndRefusesTheOthersAsUnknownOpcodes)
{
    const char* drives[] = {"nec", "nu", "ricoh", "benq", "liteon", "dvd-writer"};
    for (const FamilyCase& test : FamilyCases()) {
        for (const char* preset : drives) {
            SCOPED_TRACE(std::string(test.name) + " on " + preset);
            WrapperRig rig(preset);
            MarkPlusWriter(rig);
            const VendorReply reply = test.call(rig.context);
            EXPECT_FALSE(reply.KernelRefused());
            const auto cdbs = rig.TakeCdbs();
            EXPECT_TRUE(Holds(cdbs, test.decidingCdb));
            if (std::string(preset) == test.familyPreset) {
                EXPECT_EQ(reply.value, test.answer);
            } else {
                EXPECT_EQ(reply.value, -1);
                // The families that take F3h for their error scans refuse
                // another sub-command as a wrong field; NEC drives ask for a
                // disc first.
                const bool f3 = test.decidingCdb.at(0) == 0xF3;
                if (f3 && std::string(preset) == "nec") {
                    EXPECT_NE(rig.LastSense(), kInvalidOpcode);
                } else {
                    EXPECT_EQ(rig.LastSense(), f3 && std::string(preset) == "liteon" ? kInvalidField : kInvalidOpcode);
                }
            }
        }
    }
}

TEST(VendorCommands, AKernelRefusalIsReportedAsSuchNotAsAnotherFamily)
{
    std::vector<FamilyCase> cases = FamilyCases();
    cases.push_back(
        {"BenqSetBookType", "benq", [](DriveContext& c) { return c.benq.BenqSetBookType(4, 0x01); }, 1, {}});
    cases.push_back(
        {"BenqSetBookTypeData", "benq", [](DriveContext& c) { return c.benq.BenqSetBookTypeData(2, 0x01); }, 1, {}});
    cases.push_back(
        {"LiteonSetBookType", "liteon", [](DriveContext& c) { return c.liteon.LiteonSetBookType(1, 2); }, 1, {}});
    cases.push_back({"VendorProbeFF09", "benq", [](DriveContext& c) { return c.benq.VendorProbeFF09(); }, -1, {}});
    cases.push_back({"DetectForSolidBurn", "nec", [](DriveContext& c) { return c.benq.DetectForSolidBurn(); }, 0, {}});
    for (const FamilyCase& test : cases) {
        SCOPED_TRACE(test.name);
        WrapperRig rig(test.familyPreset);
        MarkPlusWriter(rig);
        rig.drive->AddErrorRule(emu::ErrorRule::Refusal(emu::ErrorRule::Kind::PermissionDenied, 0xC0, 0xFF));
        const VendorReply reply = test.call(rig.context);
        EXPECT_TRUE(reply.KernelRefused());
        EXPECT_NE(reply.reason.find("kernel refused"), std::string::npos);
        ASSERT_GE(reply.refusedCdb.size(), 10u);  // the first command that did not get through
        EXPECT_GE(reply.refusedCdb[0], 0xC0);
        // What the caller reads is still "refused" (or "not taken" for a set).
        EXPECT_EQ(reply.value, test.decidingCdb.empty() ? test.answer : -1);
    }
}

TEST(VendorCommands, RicohQueriesAreSentOnlyToDrivesThatWriteTheFormatAndAreNoPioneerWriters)
{
    struct Case {
        const char* name;
        emu::DriveIdentity identity;
        int plusRwWrite;
        int plusRWrite;
        int expected00;
        int expected10;
    };
    const Case cases[] = {
        {"Ricoh writing both", *emu::FindDrivePreset("ricoh"), 1, 1, 0x90, 0xA0},
        {"Ricoh writing DVD+R only", *emu::FindDrivePreset("ricoh"), 0, 1, -1, 0xA0},
        {"Ricoh writing neither", *emu::FindDrivePreset("ricoh"), 0, 0, -1, -1},
        {"Pioneer-made Ricoh family", Rebadged("ricoh", "PIODATA", "DVD-RW  DVR-112"), 1, 1, -1, -1},
        {"Pioneer in lower case", Rebadged("ricoh", "pioneer", "dvd-rw  DVR-112"), 1, 1, -1, -1},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        WrapperRig rig(test.identity, "none");
        rig.Record().m_bDvdPlusRwWrite = test.plusRwWrite;
        rig.Record().m_bDvdPlusRWrite = test.plusRWrite;
        EXPECT_EQ(rig.context.ricoh.RicohQueryBookType00().value, test.expected00);
        EXPECT_EQ(rig.context.ricoh.RicohQueryBookType10().value, test.expected10);
        const std::size_t sent = (test.expected00 != -1) + (test.expected10 != -1);
        EXPECT_EQ(rig.TakeCdbs().size(), sent);  // a query it may not send is not sent at all
    }
}

TEST(VendorCommands, BenqCommandsRunInServiceModeAndAlwaysLeaveIt)
{
    WrapperRig rig("benq", "dvd+rw");
    DriveContext& context = rig.context;
    CScsiCommand& channel = context.m_ScsiCommand;
    const auto readOutsideServiceMode = [&] {
        *channel.Cdb(0) = 0xFF;
        *channel.Cdb(8) = 0x08;
        *channel.Cdb(11) = 0;
        std::uint8_t answer[8] = {};
        return channel.Execute(DataDirection::In, answer, sizeof answer);
    };
    EXPECT_EQ(readOutsideServiceMode(), 1);  // hidden until service mode is on
    EXPECT_EQ(rig.LastSense(), kInvalidOpcode);

    EXPECT_EQ(context.benq.BenqSetBookType(0x05, 0x01).value, 0);  // DVD+R written as DVD-ROM
    EXPECT_EQ(context.benq.BenqSetBookType(0x04, 0x92).value, 0);
    EXPECT_EQ(context.benq.BenqQueryBookType10().value, 0);
    EXPECT_EQ(context.benq.BenqQueryBookType00().value, 9);
    const Cdb on = BenqServiceCdb(0xF1);
    const Cdb off = BenqServiceCdb(0xF2);
    EXPECT_EQ(rig.TakeCdbs(),
              (std::vector<Cdb>{Cdb{0xFF, 0, 0, 0, 0, 0, 0, 0, 0x08, 0, 0, 0}, on,
                                Cdb{0xFE, 0x05, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0}, off, on,
                                Cdb{0xFE, 0x04, 0x92, 0, 0, 0, 0, 0, 0, 0, 0, 0}, off, on,
                                Cdb{0xFF, 0x10, 0, 0, 0, 0, 0, 0, 0x08, 0, 0, 0}, off, on,
                                Cdb{0xFF, 0x00, 0, 0, 0, 0, 0, 0, 0x08, 0, 0, 0}, off}));

    // The loaded DVD+RW takes a book type with a block of 2048 zero bytes.
    EXPECT_EQ(context.benq.BenqSetBookTypeData(0x02, 0x01).value, 0);
    const auto journal = rig.drive->Journal();
    ASSERT_EQ(journal.size(), 3u);
    EXPECT_EQ(journal[1].Bytes(), (Cdb{0xFE, 0x02, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(journal[1].direction, DataDirection::Out);
    EXPECT_EQ(journal[1].dataLength, 2048u);
    rig.TakeCdbs();

    // A refused query still takes the drive out of service mode.
    rig.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0xFF, {0x02, 0x04, 0x00}, 1));
    EXPECT_EQ(context.benq.BenqQueryBookType00().value, -1);
    EXPECT_EQ(rig.TakeCdbs().back(), off);
    EXPECT_EQ(readOutsideServiceMode(), 1);

    // Service mode needs the family's signature.
    *channel.Cdb(0) = 0xFD;
    *channel.Cdb(1) = 0xF1;
    for (int i = 2; i < 6; ++i)
        *channel.Cdb(i) = 'X';
    *channel.Cdb(11) = 0;
    EXPECT_EQ(channel.Execute(DataDirection::None, nullptr, 0), 1);
    EXPECT_EQ(rig.LastSense(), kInvalidField);
    EXPECT_EQ(readOutsideServiceMode(), 1);
}

TEST(VendorCommands, NecCommandsNeedTheFamilySignatureAndReadEachSetting)
{
    WrapperRig rig("nec");
    EXPECT_EQ(rig.context.nec.NecQueryBookType(0, 0).value, 0xA0);
    EXPECT_EQ(rig.context.nec.NecQueryBookType(0, 2).value, 0xE0);
    EXPECT_EQ(rig.context.nec.NecQueryBookType(1, 1).value, 0x90);
    rig.TakeCdbs();

    std::vector<std::uint8_t> answer(20, 0);
    Cdb cdb = NecCdb(0, 0);
    cdb[8] ^= 0x20;  // one letter of the signature in the other case
    CScsiCommand& channel = rig.context.m_ScsiCommand;
    for (std::size_t i = 0; i < cdb.size(); ++i)
        *channel.Cdb(static_cast<int>(i)) = cdb[i];
    EXPECT_EQ(channel.Execute(DataDirection::In, answer.data(), 20), 1);
    EXPECT_EQ(rig.LastSense(), kInvalidField);
}

TEST(VendorCommands, LiteonSetBookTypeChangesWhatTheDriveReportsAndWaitsForTheUnitFirst)
{
    WrapperRig rig("liteon", "dvd+r");
    EXPECT_EQ(rig.context.liteon.LiteonSetBookType(1, 2).value, 0);
    const auto journal = rig.drive->Journal();
    ASSERT_EQ(journal.size(), 2u);
    EXPECT_EQ(journal.front().Opcode(), 0x00);  // TEST UNIT READY
    EXPECT_EQ(journal.back().Bytes(), (Cdb{0xDF, 0x00, 0x0F, 0x01, 0x02, 0, 0, 0x80, 0, 0, 0, 0}));
    EXPECT_EQ(journal.back().dataLength, 0u);
    EXPECT_EQ(rig.context.liteon.LiteonQueryBookType().value, 2);
    EXPECT_EQ(rig.context.liteon.LiteonSetBookType(1, 7).value, 1);  // no such choice
}

TEST(VendorCommands, TheProbeSequenceFF09IsSentWholeAndReadsTheLastAnswer)
{
    WrapperRig rig("benq");
    EXPECT_EQ(rig.context.benq.VendorProbeFF09().value, -1);
    const auto cdb = [](std::uint8_t b1, std::uint8_t b2, std::uint8_t b6) {
        return Cdb{0xFF, b1, b2, 0, 0, 0, b6, 0, 0, 0, 0, 0xAA};
    };
    EXPECT_EQ(rig.TakeCdbs(),
              (std::vector<Cdb>{cdb(0x06, 0x12, 0), cdb(0x06, 0x10, 0), cdb(0x06, 0x12, 1), cdb(0x10, 0, 0),
                                cdb(0x09, 0, 0)}));
    rig.context.benq.VendorProbeFF09();
    std::vector<std::size_t> transfers;
    for (const auto& entry : rig.drive->Journal())
        transfers.push_back(entry.dataLength);
    EXPECT_EQ(transfers, (std::vector<std::size_t>{0, 2, 0, 8, 8}));
}

TEST(VendorCommands, SolidBurnIsReportedOnlyWhenTheDriveTakesTheWholeSequence)
{
    const Cdb prepare1 = BenqServiceCdb(0x11), prepare2 = BenqServiceCdb(0x12), on = BenqServiceCdb(0xF1),
              read = BenqServiceCdb(0x1B, {0x16, 0x01, 0x04}), off = BenqServiceCdb(0xF2);
    emu::DriveIdentity capable = Rebadged("benq", "PHILIPS", "DVD+-RW SDVD8820");
    emu::DriveIdentity closedServiceMode = capable;
    closedServiceMode.vendorSettings.benq.serviceModeAllowed = false;
    emu::DriveIdentity withoutSolidBurn = capable;
    withoutSolidBurn.vendorSettings.benq.solidBurn = false;
    struct Case {
        const char* name;
        emu::DriveIdentity identity;
        int expected;
        std::vector<Cdb> sent;
    };
    const Case cases[] = {
        {"a rebadged drive of the family", capable, 1, {prepare1, prepare2, on, read, off}},
        {"a drive that refuses service mode", closedServiceMode, 0, {prepare1, prepare2, on}},
        {"a drive without the feature leaves service mode", withoutSolidBurn, 0, {prepare1, prepare2, on, read, off}},
        {"a drive of another family", *emu::FindDrivePreset("dvd-writer"), 0, {prepare1}},
        {"BenQ's own drives are not asked", *emu::FindDrivePreset("benq"), 0, {}},
        {"nor Pioneer writers", *emu::FindDrivePreset("pioneer"), 0, {}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        WrapperRig rig(test.identity, "none");
        const VendorReply reply = rig.context.benq.DetectForSolidBurn();
        EXPECT_EQ(reply.value, test.expected);
        EXPECT_FALSE(reply.KernelRefused());
        EXPECT_EQ(rig.TakeCdbs(), test.sent);
    }
}

TEST(VendorCommands, SolidBurnProbe)
{
    // BenQ drives and those named in the exceptions are not asked.
    WrapperRig benq("benq", "dvd+r");
    EXPECT_EQ(benq.context.benq.DetectForSolidBurn().value, 0);
    EXPECT_TRUE(benq.Cdbs().empty());

    // A drive without the vendor commands refuses the first one.
    WrapperRig other("dvd-writer", "dvd+r");
    EXPECT_EQ(other.context.benq.DetectForSolidBurn().value, 0);
    EXPECT_EQ(other.Cdbs(), (std::vector<Cdb>{{0xFD, 0x11, 'B', 'E', 'N', 'Q', 0, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(other.LastSense(), emu::sense::kInvalidOpcode);
}

TEST(VendorCommands, BenqScanCommandsAsTheyGoOut)
{
    WrapperRig rig("benq", "dvd+r");
    BenqCommands& benq = rig.context.benq;
    std::vector<std::uint8_t> buffer(258, 0);
    ASSERT_EQ(benq.BenqServiceMode(false), 0);
    EXPECT_EQ(benq.BenqSetPowerManagement(true), 0);
    EXPECT_EQ(benq.BenqSetSpeed(4), 0);
    EXPECT_EQ(benq.BenqSetStatisticsMode(buffer, 121), 0);
    EXPECT_EQ(benq.BenqSetStartAddress(buffer, 0x030000), 0);
    EXPECT_EQ(benq.BenqResetAddress(buffer, 0x030000), 0);
    EXPECT_EQ(benq.BenqReadErrorStatistics(buffer), 0);
    EXPECT_EQ(std::string(buffer.begin() + 1, buffer.begin() + 4), "dvd");
    EXPECT_EQ(benq.BenqSetPowerManagement(false), 0);
    EXPECT_EQ(benq.BenqServiceMode(true), 0);
    const Cdb f9 = {0xF9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const auto sized = [](Cdb cdb, std::size_t at, std::uint8_t length) {
        cdb[at] = length;
        return cdb;
    };
    const Cdb f8 = {0xF8, 0, 0, 0, 0, 0, 0, 0, 0x02, 0, 0, 0};
    const Cdb modeSelect = {0x55, 0x10, 0, 0, 0, 0, 0, 0, 0x14, 0};
    EXPECT_EQ(rig.TakeCdbs(),
              (std::vector<Cdb>{BenqServiceCdb(0xF1),
                                modeSelect,
                                sized(f9, 8, 4),
                                f8,
                                sized(f9, 8, 10),
                                f8,
                                sized(f9, 8, 6),
                                f8,
                                sized(f9, 8, 6),
                                f8,
                                sized(f9, 8, 4),
                                {0xF8, 0, 0, 0, 0, 0, 0, 0x01, 0x02, 0, 0, 0},
                                modeSelect,
                                BenqServiceCdb(0xF2)}));

    // The power condition page as each MODE SELECT leaves it.
    const auto page = [&] {
        std::vector<std::uint8_t> answer(64, 0);
        const Bytes sense = {0x5A, 0, 0x1A, 0, 0, 0, 0, 0, 64, 0};
        rig.drive->Execute(sense.data(), sense.size(), DataDirection::In, answer.data(), answer.size());
        return Bytes(answer.begin() + 8, answer.begin() + 20);
    };
    benq.BenqSetPowerManagement(true);
    EXPECT_EQ(page(), (Bytes{0x1A, 0x0A, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    benq.BenqSetPowerManagement(false);
    EXPECT_EQ(page(), (Bytes{0x1A, 0x0A, 0, 0x1A, 0, 0, 0, 0, 0, 0, 0, 0x09}));

    // Too small a buffer sends nothing.
    rig.TakeCdbs();
    std::vector<std::uint8_t> small(5, 0);
    EXPECT_EQ(benq.BenqSetStartAddress(small, 0x030000), 1);
    EXPECT_EQ(benq.BenqReadErrorStatistics(buffer = std::vector<std::uint8_t>(257)), 1);
    EXPECT_TRUE(rig.TakeCdbs().empty());

    // The older models' F0h reads.
    WrapperRig older("benq-dw1620", "dvd+r");
    older.context.benq.BenqSignature11();
    std::vector<std::uint8_t> answer(8, 0);
    EXPECT_EQ(older.context.benq.BenqReadErrorDataF0(0x08, 0x100, 0x200, answer), 0);
    EXPECT_EQ(older.context.benq.BenqReadJitterDataF0(0x08, 0x100, 0x200, answer), 0);
    EXPECT_GT(answer[2], 0);
    EXPECT_EQ(older.TakeCdbs()[1], (Cdb{0xF0, 0x08, 0, 0, 0x01, 0, 0, 0, 0x02, 0, 0x03, 0x04}));
}

TEST(VendorCommands, IsNewBenqDriveAsksTheSpeedBlockAndLeavesTheDriveAsFound)
{
    const Cdb powerOff = {0x55, 0x10, 0, 0, 0, 0, 0, 0, 0x14, 0};
    const Cdb read = {0x28, 0, 0, 0, 0, 0, 0, 0, 1, 0};
    const Cdb speed = {0xF9, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0};
    const Cdb answer = {0xF8, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0};
    struct Case {
        const char* preset;
        bool newer;
        std::vector<Cdb> sent;
    };
    const Case cases[] = {
        {"benq", true, {powerOff, read, BenqServiceCdb(0xF1), speed, answer, BenqServiceCdb(0xF2), powerOff}},
        {"benq-dw1620", false, {powerOff, read, BenqServiceCdb(0xF1), speed, BenqServiceCdb(0xF2), powerOff}},
        {"dvd-writer", false, {powerOff, read, BenqServiceCdb(0xF1), powerOff}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.preset);
        WrapperRig rig(test.preset, "dvd+r");
        EXPECT_EQ(rig.context.benq.IsNewBenqDrive(), test.newer);
        EXPECT_EQ(rig.TakeCdbs(), test.sent);
        EXPECT_FALSE(rig.drive->VendorState().benq.serviceMode);
    }
}

TEST(VendorCommands, CyberdriveScanCommandsAsTheyGoOut)
{
    WrapperRig rig("cyberdrive", "dvd+r");
    CyberdriveCommands& cyber = rig.context.cyberdrive;
    std::vector<std::uint8_t> buffer(32768, 0xEE);
    cyber.CyberSignatureCommand(buffer.data(), 8, 1);
    EXPECT_EQ(cyber.CyberReadA9(buffer.data(), 0x012345, 0xFF, 0x00), 0);
    EXPECT_EQ(cyber.CyberReadB1(buffer.data(), 32768, 0), 0);
    EXPECT_EQ(scsi::GetBe24(buffer.data()) & 0x7FFFFF, 0x012340u + 128);
    const auto cdbs = rig.TakeCdbs();
    ASSERT_EQ(cdbs.size(), 3u);
    EXPECT_EQ(cdbs[1], (Cdb{0x33, 0x6C, 0xA9, 0x81, 0x23, 0x45, 0xFF, 0, 0, 0, 0, 0}));
    EXPECT_EQ(cdbs[2], (Cdb{0x33, 0x6C, 0xB1, 0, 0, 0, 0x00, 0x80, 0x00, 0, 0, 0}));
}

TEST(VendorCommands, ErrorScanSessionsSendTheirCdbsWholeAndTheFamiliesAnswerThem)
{
    std::vector<std::uint8_t> buffer(32768, 0);
    std::uint8_t* data = buffer.data();
    const auto position = [&] { return scsi::GetBe32(data); };

    WrapperRig nec("nec", "dvd+r");
    EXPECT_EQ(nec.context.nec.NecReadErrorData(data, 0x01, 0, 2048).value, 0);
    EXPECT_EQ(nec.context.nec.NecReadErrorData(data, 0x02, 0x1000000400ull, 8).value, 0);
    EXPECT_EQ(nec.context.nec.NecReadErrorData(data, 0x03, 7, 8).value, 0);
    EXPECT_EQ(position(), 0x400u);  // the LBA's low 32 bits
    EXPECT_EQ(nec.context.nec.NecReadErrorData(data, 0x0F, 0, 8).value, 0);
    EXPECT_EQ(nec.TakeCdbs(),
              (std::vector<Cdb>{{0xF3, 0x01, 0, 0, 0, 0, 0, 0, 0x08, 0, 0, 0},
                                {0xF3, 0x02, 0, 0, 0x04, 0, 0, 0, 0x08, 0, 0, 0},
                                {0xF3, 0x03, 0, 0, 0, 7, 0, 0, 0x08, 0, 0, 0},
                                {0xF3, 0x0F, 0, 0, 0, 0, 0, 0, 0x08, 0, 0, 0}}));

    WrapperRig generic("generic-f3", "dvd+r");
    NuQsiCommands& nu = generic.context.nuQsi;
    EXPECT_EQ(nu.GenericEnable(data, 36).value, 0);
    EXPECT_EQ(nu.GenericSetMode(0xFF, 0x01).value, 0);
    EXPECT_EQ(nu.GenericSetStart(data, 36, 0x30100).value, 0);
    EXPECT_EQ(nu.GenericReadErrorData(data, 32768, 16).value, 0);
    EXPECT_EQ(position(), 0x30100u);
    EXPECT_EQ(nu.GenericFinish(data, 36).value, 0);
    EXPECT_NE(nu.GenericReadErrorData(data, 32768, 16).value, 0);
    const auto& tag = vendor_signature::kGenericF3;
    const std::vector<Cdb> sent = generic.TakeCdbs();
    ASSERT_EQ(sent.size(), 6u);
    EXPECT_EQ(sent[0], (Cdb{0xF3, 0x0C, 0x00, tag[0], tag[1], tag[2], tag[3], tag[4], 0, 0, 0, 0xAA}));
    EXPECT_EQ(sent[2], (Cdb{0xF3, 0x0C, 0x07, 0x03, 0x01, 0x00, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(sent[3], (Cdb{0xF3, 0x0E, 0x80, 0, 0, 0, 0, 0, 16, 0, 0, 0}));
    EXPECT_EQ(sent[4], (Cdb{0xF3, 0x0C, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0xAA}));

    WrapperRig btc("btc", "dvd+r");
    EXPECT_EQ(btc.context.btc.BtcReadErrorData(data, 10).value, 0);
    EXPECT_EQ(btc.TakeCdbs(), (std::vector<Cdb>{{0xF3, 0x0E, 0, 0, 0, 0, 0, 0, 0, 0}}));
    // Other families refuse it.
    WrapperRig samsung("samsung", "dvd+r");
    EXPECT_NE(samsung.context.btc.BtcReadErrorData(data, 10).value, 0);
}
