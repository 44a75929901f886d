#include "WrapperRig.h"
#include "emu/DrivePresets.h"
#include "emu/MediaPresets.h"
#include "scsi/Bytes.h"

#include <gtest/gtest.h>

namespace {

using Cdb = std::vector<std::uint8_t>;

const emu::Sense kHardwareError{0x04, 0x44, 0x00};

// The allocation lengths of these commands.
std::vector<std::uint32_t> Allocations(const std::vector<Cdb>& cdbs)
{
    std::vector<std::uint32_t> lengths;
    for (const Cdb& cdb : cdbs)
        lengths.push_back(scsi::GetBe16(&cdb[7]));
    return lengths;
}

}  // namespace

TEST(DriveConfiguration, EachPresetReportsItsCapabilities)
{
    struct Case {
        const char* preset;
        int dvdDrive, cdWriter, plusR, plusRw, plusRDl, minusRDl, ram, bdRead, bdWrite, hdDvd, lightScribe, labelFlash,
            mountRainier, generation;
        const char* serial;
    };
    // clang-format off
    const Case cases[] = {
        // preset           dvd cdw +R +RW +RDL -RDL ram bdR bdW hd  LS  LF  MR  gen serial
        {"dvd-writer",        1,  1,  1, 1,  1,   1,   1,  0,  0,  0,  0,  0,  0,  2, "QDW20400001"},
        {"bd-writer",         1,  1,  1, 1,  1,   1,   1,  1,  1,  1,  0,  0,  0,  2, "QBR12400001"},
        {"cd-reader",         0,  0,  0, 0,  0,   0,   0,  0,  0,  0,  0,  0,  0,  0, "QCD52000001"},
        {"dvd-reader-strict", 1,  0,  0, 0,  0,   0,   0,  0,  0,  0,  0,  0,  0,  0, "QDR16500001"},
        {"usb-dvd-reader",    1,  0,  0, 0,  0,   0,   0,  0,  0,  0,  0,  0,  0,  0, "QDR16500002"},
        {"aopen",             1,  1,  1, 1,  1,   0,   0,  0,  0,  0,  0,  0,  0,  2, "QF1.060001"},
        {"benq",              1,  1,  1, 1,  1,   0,   0,  0,  0,  0,  0,  0,  0,  2, "QFBSRB0001"},
        {"benq-dw1620",       1,  1,  1, 1,  1,   0,   0,  0,  0,  0,  0,  0,  0,  2, "QFB7W90001"},
        {"btc",               1,  1,  1, 1,  1,   0,   0,  1,  0,  0,  0,  0,  0,  2, "QF00550001"},
        {"cyberdrive",        1,  1,  1, 1,  1,   1,   1,  0,  0,  0,  0,  0,  0,  2, "QFA2D30001"},
        {"generic-f3",        1,  1,  1, 1,  1,   1,   1,  1,  0,  0,  0,  0,  0,  2, "QFPA520001"},
        {"ihas",              1,  1,  1, 1,  1,   1,   1,  1,  1,  0,  1,  0,  0,  2, "QF7L0F0001"},
        {"lg",                1,  1,  1, 1,  1,   0,   1,  0,  0,  0,  0,  0,  0,  2, "QFA1110001"},
        {"liteon",            1,  1,  1, 1,  1,   1,   1,  1,  1,  0,  1,  0,  0,  2, "QFMS0R0001"},
        {"liteon-sohw812",    1,  1,  1, 1,  1,   1,   1,  1,  1,  0,  1,  0,  0,  2, "QFUS0Q0001"},
        {"nec",               1,  1,  1, 1,  1,   0,   0,  0,  0,  0,  0,  0,  0,  2, "QF1.050001"},
        {"nu",                1,  1,  1, 1,  1,   0,   0,  0,  0,  0,  0,  0,  0,  2, "QF1.000001"},
        {"optiarc",           1,  1,  1, 1,  1,   1,   1,  1,  1,  0,  0,  1,  0,  2, "QF1.020001"},
        {"pioneer",           1,  1,  1, 1,  1,   1,   1,  1,  1,  0,  0,  0,  0,  2, "QF1.290001"},
        {"plextor",           1,  1,  1, 1,  1,   0,   0,  1,  1,  0,  0,  0,  0,  2, "QF1.110001"},
        {"ricoh",             1,  1,  1, 1,  1,   0,   0,  0,  0,  0,  0,  0,  1,  2, "QF1.000001"},
        {"samsung",           1,  1,  1, 1,  1,   1,   1,  1,  1,  0,  0,  0,  0,  2, "QFSB000001"},
        {"toshiba",           1,  1,  1, 1,  1,   1,   1,  0,  0,  1,  0,  0,  0,  2, "QF10120001"},
    };
    // clang-format on
    ASSERT_EQ(emu::DrivePresetNames().size(), std::size(cases));  // a new preset needs a row here
    for (const Case& test : cases) {
        SCOPED_TRACE(test.preset);
        WrapperRig rig(test.preset, "dvd+r");
        ASSERT_TRUE(rig.context.configuration.GetDriveConfiguration());
        const CDevice& d = rig.Record();
        const std::vector<int> flags = {
            d.m_bDvdDrive,         d.m_bCdWriter,    d.m_bDvdPlusRWrite,    d.m_bDvdPlusRwWrite, d.m_bDvdPlusRDlWrite,
            d.m_bDvdMinusRDlWrite, d.m_bDvdRamWrite, d.m_bBdRomRead,        d.m_bBdRWrite,       d.m_bHdDvdRomRead,
            d.m_bLightScribe,      d.m_bLabelFlash,  d.m_bMountRainierWrite};
        EXPECT_EQ(flags,
                  (std::vector<int>{test.dvdDrive, test.cdWriter, test.plusR, test.plusRw, test.plusRDl, test.minusRDl,
                                    test.ram, test.bdRead, test.bdWrite, test.hdDvd, test.lightScribe, test.labelFlash,
                                    test.mountRainier}));
        EXPECT_EQ(d.m_szSerialNumber, test.serial);
        EXPECT_EQ(d.m_nPhysicalInterface, 2);  // ATAPI
        EXPECT_EQ(d.m_bSolidBurn, 0);
        EXPECT_EQ(rig.context.configuration.m_nLoadingMechanism, 0x20);  // tray
        EXPECT_EQ(rig.context.configuration.GetPlusDriveGeneration(), test.generation);
    }
    // The BD writer's pseudo-overwrite, timely safe recording and AACS features.
    WrapperRig bd("bd-writer", "bd-r");
    ASSERT_TRUE(bd.context.configuration.GetDriveConfiguration());
    EXPECT_EQ(bd.Record().m_bTimelySafeRecording, 1);
    EXPECT_EQ(bd.Record().m_bAacs, 1);
    EXPECT_EQ(bd.Record().m_bLayerJump, 1);  // 0033h with the DVD-R DL layer jump profile
}

TEST(DriveConfiguration, TheConfigurationIsAskedForWholeAndTheFailuresSayWhy)
{
    WrapperRig rig("dvd-writer", "dvd+r");
    ASSERT_TRUE(rig.context.configuration.GetDriveConfiguration());
    const auto lengths = Allocations(rig.CdbsOf(0x46));
    ASSERT_GE(lengths.size(), 3u);
    EXPECT_EQ(lengths[0], 2048u);  // the length probe
    // The data length counts the bytes after its four; the whole answer is asked for.
    std::vector<std::uint8_t> header(8, 0);
    const std::uint8_t probe[10] = {0x46, 0, 0, 0, 0, 0, 0, 0, 8, 0};
    rig.drive->Execute(probe, 10, DataDirection::In, header.data(), header.size());
    EXPECT_EQ(lengths[1], scsi::GetBe32(header.data()) + 4);
    EXPECT_EQ(lengths[2], lengths[1]);

    WrapperRig refusing("dvd-writer", "dvd+r");
    refusing.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0x46, kHardwareError, 1));
    WrapperNotice notice;
    EXPECT_FALSE(refusing.context.configuration.GetDriveConfiguration(&notice));
    EXPECT_EQ(notice.messageBox,
              "A 'GetDriveConfiguration' error has occurred.   Some removable drives can cause this.\n\n"
              "GET CONFIGURATION (46h) failed: Hardware Error (sense 4/44/00)");
    EXPECT_EQ(refusing.Record().m_bDvdPlusRWrite + refusing.Record().m_bDvdRom, 0);

    // A failed mode page read is told with its reason, and what the features
    // said stays: a drive that lists DVD-ROM is a DVD drive.
    WrapperRig noPages("dvd-writer", "dvd+r");
    noPages.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0x5A, kHardwareError, 2));
    WrapperNotice modeNotice;
    EXPECT_TRUE(noPages.context.configuration.GetDriveConfiguration(&modeNotice));
    EXPECT_EQ(modeNotice.messageBox,
              "Error, ModeSense command failed.  Probable firmware or drive error\n\n"
              "MODE SENSE(10) (5Ah) failed: Hardware Error (sense 4/44/00)");
    EXPECT_EQ(noPages.Record().m_bDvdPlusRWrite, 1);
    EXPECT_EQ(noPages.Record().m_bDvdDrive, 1);
    EXPECT_FALSE(noPages.Record().m_bCapabilitiesPageRead);
    EXPECT_FALSE(noPages.context.configuration.m_bLoadingMechanismRead);
}

TEST(DriveConfiguration, LongModePageListsAreReadAgainWithTheirLength)
{
    struct Case {
        const char* name;
        std::size_t extraPages;  // of 256 bytes each
        std::uint8_t firstCode;
        std::vector<std::uint32_t> allocations;
    };
    const Case cases[] = {
        {"short list", 0, 0, {252}},
        {"asked again with the mode data length and its own two bytes", 2, 0x2B, {252, 170 + 2 * 256}},
        {"page 2Ah beyond 2048 bytes is asked alone", 10, 0x20, {252, 2048, 252}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        emu::DriveIdentity identity = *emu::FindDrivePreset("dvd-writer");
        for (std::size_t i = 0; i < test.extraPages; ++i) {
            std::vector<std::uint8_t> page(256, 0);
            page[0] = static_cast<std::uint8_t>(test.firstCode + i);
            page[1] = 0xFE;
            identity.modePages.push_back(page);
        }
        WrapperRig rig(identity, "none");
        ASSERT_TRUE(rig.context.configuration.DoModeSensePages());
        EXPECT_EQ(Allocations(rig.CdbsOf(0x5A)), test.allocations);
        EXPECT_EQ(rig.Record().m_bDvdDrive, 1);
        EXPECT_EQ(rig.Record().m_nBufferSizeKB, 2048);
    }
}
