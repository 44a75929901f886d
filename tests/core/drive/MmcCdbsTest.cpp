#include "core/drive/MmcCdbs.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::uint8_t> BytesOf(const CommandBlock& block)
{
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < block.Length(); ++i)
        bytes.push_back(block[i]);
    return bytes;
}

}  // namespace

// Each named field lands in the byte and bits MMC gives it.
TEST(MmcCdbs, FieldsLandWhereMmcPutsThem)
{
    struct Case {
        const char* name;
        CommandBlock block;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {"eject", mmc_cdb::StartStopUnit{.immediate = true, .loadEject = true}.Block(), {0x1B, 0x01, 0, 0, 0x02, 0}},
        {"load", mmc_cdb::StartStopUnit{.loadEject = true, .start = true}.Block(), {0x1B, 0, 0, 0, 0x03, 0}},
        {"stop", mmc_cdb::StartStopUnit{.immediate = true}.Block(), {0x1B, 0x01, 0, 0, 0, 0}},
        {"format", mmc_cdb::FormatUnit{}.Block(), {0x04, 0x11, 0, 0, 0, 0}},
        {"blank", mmc_cdb::Blank{.type = 1, .immediate = true}.Block(), {0xA1, 0x11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"atip",
         mmc_cdb::ReadTocPmaAtip{.msf = true, .format = 4, .allocation = 28}.Block(),
         {0x43, 0x02, 0x04, 0, 0, 0, 0, 0x00, 0x1C, 0}},
        {"catalogue",
         mmc_cdb::ReadSubChannel{.subQ = true, .format = 2, .allocation = 24}.Block(),
         {0x42, 0, 0x40, 0x02, 0, 0, 0, 0x00, 0x18, 0}},
        {"track",
         mmc_cdb::ReadTrackInformation{.address = 0x01020304, .allocation = 2048}.Block(),
         {0x52, 0x01, 0x01, 0x02, 0x03, 0x04, 0, 0x08, 0x00, 0}},
        {"close",
         mmc_cdb::CloseTrackSession{.immediate = true, .function = 2, .track = 0x0102}.Block(),
         {0x5B, 0x01, 0x02, 0, 0x01, 0x02, 0, 0, 0, 0}},
        {"write speeds",
         mmc_cdb::GetPerformance{.maxDescriptors = 20, .type = 3}.Block(),
         {0xAC, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x14, 0x03, 0}},
        {"structure",
         mmc_cdb::ReadDiscStructure{.mediaType = 1, .address = 0x0A0B0C0D, .layer = 1, .format = 0x0A, .allocation = 56}
             .Block(),
         {0xAD, 0x01, 0x0A, 0x0B, 0x0C, 0x0D, 0x01, 0x0A, 0x00, 0x38, 0, 0}},
        {"raw sectors",
         mmc_cdb::ReadCd{.sectorType = 0x04, .lba = 0x10, .blocks = 0x010203, .fields = 0xF8}.Block(),
         {0xBE, 0x04, 0, 0, 0, 0x10, 0x01, 0x02, 0x03, 0xF8, 0, 0}},
        {"buffer",
         mmc_cdb::Buffer{.mode = 2, .bufferId = 0xE1, .offset = 0x030405, .length = 0x060708}.WriteBlock(),
         {0x3B, 0x02, 0xE1, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0}},
        {"mode select",
         mmc_cdb::ModeSelect10{.pageFormat = true, .parameterLength = 20}.Block(),
         {0x55, 0x10, 0, 0, 0, 0, 0, 0x00, 0x14, 0}},
        {"mode sense",
         mmc_cdb::ModeSense10{.pageCode = 0x2A, .allocation = 252}.Block(),
         {0x5A, 0, 0x2A, 0, 0, 0, 0, 0x00, 0xFC, 0}},
        {"rpc state",
         mmc_cdb::ReportKey{.allocation = 8, .keyFormat = 8}.Block(),
         {0xA4, 0, 0, 0, 0, 0, 0, 0, 0x00, 0x08, 0x08, 0}},
        {"speed",
         mmc_cdb::SetCdSpeed{.rotationControl = 1, .readKBps = 0x1234, .writeKBps = 0xFFFF}.Block(),
         {0xBB, 0x01, 0x12, 0x34, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(BytesOf(test.block), test.bytes);
    }
}
