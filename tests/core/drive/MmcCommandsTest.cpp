#include "WrapperRig.h"
#include "core/drive/CommandBlock.h"
#include "core/drive/DriveContext.h"
#include "emu/DrivePresets.h"
#include "emu/MediaPresets.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"
#include "support/EmulatedDriveRig.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

using scsi::GetBe32;

TEST(CommandBlock, EveryCommandLeavesWithTheStandardLengthOfItsGroup)
{
    struct Case {
        std::uint8_t opcode;
        std::size_t length;
    };
    for (const Case& test : {Case{0x00, 6}, Case{0x1E, 6}, Case{0x23, 10}, Case{0x28, 10}, Case{0x5A, 10},
                             Case{0x88, 16}, Case{0xAD, 12}, Case{0xBD, 12}, Case{0x60, 0}, Case{0xFD, 0}}) {
        SCOPED_TRACE(test.opcode);
        EXPECT_EQ(StandardCdbLength(test.opcode), test.length);
    }

    WrapperRig rig("dvd-writer", "dvd+r");
    std::uint8_t answer[12] = {};
    // The bytes after the last one written still go out: READ FORMAT CAPACITIES is 10 bytes, not 9.
    EXPECT_EQ(CommandBlock(0x23).SetBe16(7, 12).Execute(rig.context.m_ScsiCommand, DataDirection::In, answer, 12), 0);
    EXPECT_EQ(rig.Cdbs().back(), (Bytes{0x23, 0, 0, 0, 0, 0, 0, 0x00, 0x0C, 0}));
    // A vendor opcode needs its maker's length; without one nothing is sent.
    EXPECT_EQ(CommandBlock(0xFD).Execute(rig.context.m_ScsiCommand, DataDirection::None, nullptr, 0), 1);
    EXPECT_EQ(rig.Cdbs().size(), 1u);
}

TEST(MmcCommands, UnitReadyAndWaits)
{
    WrapperRig ready("dvd-writer", "dvd+r");
    EXPECT_EQ(ready.context.mmc.TestMediaPresent(), 1);
    EXPECT_EQ(ready.context.mmc.WaitForUnitReady(10), 0);
    EXPECT_EQ(ready.Cdbs(), (std::vector<Bytes>{kTestUnitReady, kTestUnitReady}));
    EXPECT_EQ(ready.waitClock->SleptMs(), 0u);

    WrapperRig empty("dvd-writer", "none");
    EXPECT_EQ(empty.context.mmc.TestMediaPresent(), 0);
    EXPECT_EQ(empty.context.mmc.WaitForUnitReady(10), 0);  // no disc: nothing to wait for
    EXPECT_EQ(empty.Cdbs().size(), 2u);

    // A disc just loaded: not ready for its spin-up, then a medium change, then ready.
    WrapperRig loading("dvd-writer", "none");
    ASSERT_TRUE(loading.drive->LoadMedium(*emu::FindMediumPreset("dvd+r")));
    EXPECT_EQ(loading.context.mmc.WaitForUnitReady(10), 0);
    const std::uint32_t spinUp = loading.drive->Identity().spinUpMs;
    EXPECT_EQ(loading.waitClock->SleptMs(), (spinUp + 499) / 500 * 500 + 500);  // one more try for the change
    EXPECT_EQ(loading.Cdbs().size(), (spinUp + 499) / 500 + 2);

    // A drive that stays not ready: 2 x 10 tries, 500 ms apart, then 1.
    WrapperRig stuck("dvd-writer", "dvd+r");
    stuck.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0x00, emu::sense::kNotReadyBecomingReady));
    EXPECT_EQ(stuck.context.mmc.WaitForUnitReady(10), 1);
    EXPECT_EQ(stuck.Cdbs().size(), 20u);
    EXPECT_EQ(stuck.waitClock->SleptMs(), 19u * 500);

    // The request itself failed (no sense): taken as ready.
    WrapperRig lost("dvd-writer", "dvd+r");
    lost.drive->AddErrorRule(emu::ErrorRule::Refusal(emu::ErrorRule::Kind::TransportFailure, 0x00, 0x00));
    EXPECT_EQ(lost.context.mmc.WaitForUnitReady(10), 0);
    EXPECT_EQ(lost.waitClock->SleptMs(), 0u);
}

TEST(MmcCommands, MmcComplianceLooksForTheCapabilitiesPage)
{
    WrapperRig plain("dvd-writer", "dvd+r");
    EXPECT_EQ(plain.context.mmc.TestMMCCompliant(), 1);
    EXPECT_EQ(plain.Cdbs(), (std::vector<Bytes>{{0x5A, 0, 0x3F, 0, 0, 0, 0, 0x00, 0xFC, 0}}));

    // Mode data of 3000 bytes: the first answer is cut, so it asks again for all of it.
    emu::DriveIdentity big = *emu::FindDrivePreset("dvd-writer");
    for (std::uint8_t code = 0x30; code < 0x3C; ++code) {
        Bytes page(250, 0);
        page[0] = code;
        page[1] = 248;
        big.modePages.push_back(page);
    }
    EmulatedDriveRig large("dvd-writer", "dvd+r");
    large.drive = std::make_shared<emu::EmulatedDrive>(big, large.clock);
    ASSERT_TRUE(large.drive->InsertMedium(*emu::FindMediumPreset("dvd+r")));
    ScopedProgramLog log;
    DriveContext context(large.Sources());
    large.MakeCurrent(context);
    EXPECT_EQ(context.mmc.TestMMCCompliant(), 1);
    const auto cdbs = large.Cdbs();
    ASSERT_EQ(cdbs.size(), 2u);
    const std::uint32_t dataLength = (cdbs[1][7] << 8) | cdbs[1][8];
    EXPECT_GT(dataLength, 3000u);
    EXPECT_NE(log.Text().find("SCSI_Cmd_ModeSense10 3"), std::string::npos);

    // A refused first request: asked again with 2048.
    WrapperRig refused("dvd-writer", "dvd+r");
    refused.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0x5A, emu::sense::kInvalidFieldInCdb, 1));
    EXPECT_EQ(refused.context.mmc.TestMMCCompliant(), 1);
    EXPECT_EQ(refused.Cdbs().back(), (Bytes{0x5A, 0, 0x3F, 0, 0, 0, 0, 0x08, 0x00, 0}));
    refused.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0x5A, emu::sense::kInvalidFieldInCdb));
    EXPECT_EQ(refused.context.mmc.TestMMCCompliant(), 0);
    EXPECT_NE(refused.log.Text().find("TestMMCCompliant() failed, SCSI_Cmd_ModeSense10 returned non zero"),
              std::string::npos);
}

TEST(MmcCommands, Configuration)
{
    WrapperRig rig("dvd-writer", "dvd+r");
    std::uint8_t header[8] = {};
    EXPECT_EQ(rig.context.mmc.GetConfiguration(1, 0x2B, header, sizeof header), 0);
    EXPECT_EQ(rig.Cdbs().back(), (Bytes{0x46, 0x01, 0x00, 0x2B, 0, 0, 0, 0x00, 0x08, 0}));
    EXPECT_EQ(header[7], 0x1B);  // the current profile: DVD+R
    const int dataLength = rig.context.mmc.GetConfigurationDataLength();
    EXPECT_GT(dataLength, 100);
    EXPECT_EQ(rig.Cdbs().back(), (Bytes{0x46, 0x00, 0x00, 0x00, 0, 0, 0, 0x08, 0x00, 0}));
}

TEST(MmcCommands, SpeedLockDoorAndProgress)
{
    WrapperRig rig("dvd-writer", "dvd+r");
    struct Case {
        int index;
        int unitSpeed;
        int count;
        int step;
        std::uint16_t speed;
    };
    for (const Case& test : {Case{0, 1385, 16, 1, 0xFFFF}, Case{3, 1385, 16, 0, 0xFFFF}, Case{2, 1385, 16, 1, 20775},
                             Case{1, 4495, 16, 1, 0xFFFF} /* above 16 bits: the drive's maximum */}) {
        SCOPED_TRACE(test.index);
        EXPECT_EQ(rig.context.mmc.SetCdSpeed(test.index, test.unitSpeed, test.count, test.step, 1), 0);
        Bytes expected = {0xBB, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        scsi::PutBe16(&expected[2], test.speed);
        scsi::PutBe16(&expected[4], test.speed);
        EXPECT_EQ(rig.Cdbs().back(), expected);
    }

    EXPECT_EQ(rig.context.mmc.PreventMediumRemoval(1), 0);
    EXPECT_EQ(rig.Cdbs().back(), (Bytes{0x1E, 0, 0, 0, 0x01, 0}));
    EXPECT_EQ(rig.context.mmc.m_bTrayLocked, 1);
    EXPECT_TRUE(rig.drive->RemovalPrevented());
    EXPECT_EQ(rig.context.mmc.IsDoorOpen(), 0);
    EXPECT_EQ(rig.Cdbs().back(), (Bytes{0xBD, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x20, 0, 0}));
    rig.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0x1E, emu::sense::kInvalidFieldInCdb, 1));
    EXPECT_EQ(rig.context.mmc.PreventMediumRemoval(0), 1);
    EXPECT_EQ(rig.context.mmc.m_bTrayLocked, 1);  // the drive still holds it
    EXPECT_EQ(rig.context.mmc.PreventMediumRemoval(0), 0);
    EXPECT_EQ(rig.context.mmc.m_bTrayLocked, 0);
    ASSERT_TRUE(rig.drive->EjectMedium());
    EXPECT_EQ(rig.context.mmc.IsDoorOpen(), 1);

    WrapperRig refusing("dvd-writer", "dvd+r");
    refusing.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0x1E, emu::sense::kInvalidFieldInCdb));
    EXPECT_EQ(refusing.context.mmc.PreventMediumRemoval(1), 1);
    EXPECT_EQ(refusing.context.mmc.m_bTrayLocked, 0);  // a refused lock would block the exit for nothing

    // Idle: TEST UNIT READY carries no progress, so REQUEST SENSE is asked; 0.
    EXPECT_EQ(refusing.context.mmc.GetProgress(), 0);
    EXPECT_EQ(refusing.Cdbs().back(), (Bytes{0x03, 0, 0, 0, 0xFF, 0}));
    // While a format runs the progress comes with TEST UNIT READY's sense.
    WrapperRig formatting("bd-writer", "bd-re");
    formatting.Insert(Unformatted("bd-re"));
    std::uint8_t parameters[12] = {0x00, 0x02, 0x00, 0x08, 0x00, 0xB4, 0x74, 0x00, 0x30 << 2, 0, 0, 0};
    CommandBlock formatUnit(mmc::kFormatUnit);
    formatUnit.Set(1, 0x11);
    ASSERT_EQ(formatUnit.Execute(formatting.context.m_ScsiCommand, DataDirection::Out, parameters, 12), 0);
    formatting.clock->Advance(formatting.drive->Identity().formatMs * 3 / 4);
    formatting.drive->ClearJournal();
    EXPECT_EQ(formatting.context.mmc.GetProgress(), 0xC000);
    EXPECT_EQ(formatting.Cdbs(), std::vector<Bytes>{kTestUnitReady});
}

TEST(MmcCommands, RatedSpeedTextIsTheFixedUnknownLine)
{
    EXPECT_EQ(MmcCommands::GetRatedSpeedText("MCC 004"), "Manufacturer Rated Speed" + std::string(42, ' ') + "Unknown");
}

TEST(MmcCommands, CommandsWithoutDataGoOutWithoutADataPhase)
{
    struct Case {
        const char* name;
        const char* drivePreset;
        std::function<void(DriveContext&)> run;
        DataDirection direction;
    };
    const Case cases[] = {
        {"TEST UNIT READY", "dvd-writer", [](DriveContext& c) { c.mmc.TestMediaPresent(); }, DataDirection::None},
        {"SET CD SPEED", "dvd-writer", [](DriveContext& c) { c.mmc.SetCdSpeed(0, 1385, 16, 1, 0); },
         DataDirection::None},
        {"PREVENT ALLOW MEDIUM REMOVAL", "dvd-writer", [](DriveContext& c) { c.mmc.PreventMediumRemoval(0); },
         DataDirection::None},
        {"START STOP UNIT", "dvd-writer", [](DriveContext& c) { c.mmc.EjectOrCloseTray(); }, DataDirection::None},
        {"BenQ service mode", "benq", [](DriveContext& c) { c.benq.BenqSignatureF1(); }, DataDirection::None},
        {"MECHANISM STATUS", "dvd-writer", [](DriveContext& c) { c.mmc.IsDoorOpen(); }, DataDirection::In},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        WrapperRig rig(test.drivePreset, "dvd+r");
        test.run(rig.context);
        const auto journal = rig.drive->Journal();
        ASSERT_FALSE(journal.empty());
        EXPECT_EQ(journal.back().direction, test.direction);
        EXPECT_EQ(journal.back().dataLength == 0, test.direction == DataDirection::None);
    }
}

TEST(MmcCommands, SpeedAndStreamingGoOutAsAsked)
{
    WrapperRig rig("dvd-writer", "dvd+r");
    EXPECT_EQ(rig.context.mmc.SetCdSpeedKBps(0x15A4, kMaximumCdSpeed, 1), 0);
    EXPECT_EQ(rig.Cdbs().back(), (Bytes{0xBB, 0x01, 0x15, 0xA4, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0}));

    // One descriptor, sent as long as the CDB says it is.
    EXPECT_EQ(rig.context.mmc.SetStreaming({.restoreDefaults = true,
                                            .endLba = 3000,
                                            .readSize = 7718,
                                            .readTimeMs = 528,
                                            .writeSize = 7718,
                                            .writeTimeMs = 528}),
              0);
    const auto journal = rig.drive->Journal();
    EXPECT_EQ(journal.back().Bytes(), (Bytes{0xB6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x1C, 0}));
    EXPECT_EQ(journal.back().dataLength, 28u);
    EXPECT_EQ(journal.back().direction, DataDirection::Out);
}
