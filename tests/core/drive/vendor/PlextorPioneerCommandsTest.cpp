#include "core/drive/WrapperRig.h"
#include "core/drive/vendor/PioneerCommands.h"
#include "core/drive/vendor/PlextorCommands.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using Cdb = std::vector<std::uint8_t>;

TEST(PlextorCommands, PassCommandsAndGroupReadsAsTheDriveTakesThem)
{
    WrapperRig rig("plextor", "dvd+r");
    PlextorCommands& plextor = rig.context.plextor;
    std::vector<std::uint8_t> buffer(PlextorCommands::kEccBlockBytes);
    EXPECT_EQ(plextor.PlextorStartPIEScan().value, 0);
    std::uint32_t count = 99;
    EXPECT_EQ(plextor.PlextorScanStep(buffer.data(), 256, count), 0);
    EXPECT_EQ(count, emu::MeasureSectors(emu::FindMediumPreset("dvd+r")->errors, 256, 128).total.pi);
    EXPECT_EQ(plextor.PlextorStopScan().value, 0);
    EXPECT_EQ(plextor.PlextorStartPIFScan().value, 0);
    EXPECT_EQ(plextor.PlextorStopScan().value, 0);
    EXPECT_EQ(plextor.PlextorStartJitterScan().value, 0);
    int jitter = 0;
    int second = 0;
    EXPECT_EQ(plextor.PlextorJitterStep(buffer.data(), 0, jitter, second), 0);
    EXPECT_EQ(second, 16);
    EXPECT_GT(jitter, 0);
    EXPECT_NE(plextor.PlextorScanStep(buffer.data(), 0, count), 0) << "no error result in a jitter pass";
    plextor.PlextorStopScan();

    const auto cdbs = rig.TakeCdbs();
    ASSERT_EQ(cdbs.size(), 2u + 9 + 3 + 17 + 9 + 1);
    EXPECT_EQ(cdbs[0], (Cdb{0xEA, 0x15, 0, 0, 0, 0, 0, 0, 0x08, 0x10, 0, 0}));
    EXPECT_EQ(cdbs[1], (Cdb{0x28, 0, 0, 0, 0x01, 0, 0, 0, 0x10, 0}));
    EXPECT_EQ(cdbs[8], (Cdb{0x28, 0, 0, 0, 0x01, 0x70, 0, 0, 0x10, 0}));
    EXPECT_EQ(cdbs[9], (Cdb{0xEA, 0x16, 0, 0, 0, 0, 0, 0, 0, 0, 0x34, 0}));
    EXPECT_EQ(cdbs[10], (Cdb{0xEA, 0x17, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(cdbs[11], (Cdb{0xEA, 0x15, 0, 0, 0, 0, 0, 0, 0x01, 0x12, 0, 0}));
    EXPECT_EQ(cdbs[13], (Cdb{0xEA, 0x15, 0x10, 0, 0, 0, 0, 0, 0x10, 0, 0, 0}));
    EXPECT_EQ(cdbs[30], (Cdb{0xEA, 0x16, 0x10, 0, 0, 0, 0, 0, 0, 0, 0x10, 0}));

    // The first failing read ends the group; the result is asked all the same.
    rig.drive->AddErrorRule(emu::ErrorRule::UnreadableBlocks(300, 1));
    plextor.PlextorStartPIEScan();
    rig.TakeCdbs();
    EXPECT_EQ(plextor.PlextorScanStep(buffer.data(), 256, count), 0);
    const auto shortened = rig.TakeCdbs();
    ASSERT_EQ(shortened.size(), 4u);
    EXPECT_EQ(shortened[3][0], 0xEA);
    EXPECT_EQ(ReadBigEndian32(std::array<std::uint8_t, 4>{0x12, 0x34, 0x56, 0x78}.data()), 0x12345678u);
}

TEST(PioneerCommands, RequestsAndReadsGoOutAsTheFamiliesTakeThem)
{
    WrapperRig rig("pioneer", "dvd+r");
    PioneerCommands& pioneer = rig.context.pioneer;
    std::array<std::uint8_t, 32> buffer{};
    EXPECT_EQ(pioneer.PioneerWriteBuffer(buffer.data(), 31, 0, 256, 8), -1);
    EXPECT_EQ(pioneer.PioneerReadBuffer(buffer.data(), 31), -1);
    EXPECT_TRUE(rig.TakeCdbs().empty()) << "nothing sent into a short buffer";
    EXPECT_EQ(pioneer.PioneerWriteBuffer(buffer.data(), 32, 0x1000, 256, 8), 0);
    EXPECT_EQ(buffer[0], 0xFF);
    EXPECT_EQ(ReadBigEndian32(&buffer[3]), 0x31000u);
    EXPECT_EQ(ReadBigEndian32(&buffer[7]), 256u);
    EXPECT_EQ(buffer[14], 8);
    EXPECT_EQ(pioneer.PioneerReadBuffer(buffer.data(), 32), 0);
    const auto sum = emu::MeasureSectors(emu::FindMediumPreset("dvd+r")->errors, 0x1000, 256);
    EXPECT_EQ(ReadPioneerAnswer(buffer.data()).pi, sum.total.pi / 2);
    EXPECT_EQ(
        rig.TakeCdbs(),
        (std::vector<Cdb>{{0x3B, 0x02, 0xE1, 0, 0, 0, 0, 0, 0x20, 0}, {0x3C, 0x02, 0xE1, 0, 0, 0, 0, 0, 0x20, 0}}));

    WrapperRig aopen("aopen", "dvd+r");
    buffer.fill(0xEE);
    EXPECT_EQ(aopen.context.pioneer.PioneerReadErrorData(buffer.data(), 16, 0x1000, 256), 0);
    EXPECT_EQ(ReadAopenAnswer(buffer.data()), sum.total.pi);
    EXPECT_EQ(buffer[16], 0xEE) << "only the answer's bytes cleared";
    EXPECT_EQ(aopen.TakeCdbs(), (std::vector<Cdb>{{0xE7, 0, 0, 0, 0x10, 0, 0, 0x01, 0, 0, 0, 0}}));
}

// PI and PIF from a Pioneer answer: each sum over its block count.
TEST(PioneerCommands, AnswerDivisors)
{
    struct Case {
        const char* name;
        std::uint32_t piSum;
        std::array<std::uint8_t, 4> piCounts;
        std::uint32_t pifSum;
        std::array<std::uint8_t, 4> pifCounts;
        std::uint32_t pi;
        std::uint32_t pif;
    };
    // clang-format off
    const Case cases[] = {
        {"counts 4 and 1 each",         800, {4, 4, 4, 4},      120, {1, 1, 1, 1},     50, 3},
        {"counts summing to 0",          70, {0, 0, 0, 0},       50, {0, 0, 0, 0},     70, 5},
        {"PIF counts 128: undivided",    70, {0, 1, 0, 1},       50, {32, 32, 32, 32}, 35, 50},
        {"counts summing to 256 wrap",   70, {64, 64, 64, 64},    0, {0, 1, 0, 1},     70, 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        std::array<std::uint8_t, 32> answer{};
        answer[3] = static_cast<std::uint8_t>(c.pifSum >> 24);
        answer[4] = static_cast<std::uint8_t>(c.pifSum >> 16);
        answer[5] = static_cast<std::uint8_t>(c.pifSum >> 8);
        answer[6] = static_cast<std::uint8_t>(c.pifSum);
        answer[13] = static_cast<std::uint8_t>(c.piSum >> 8);
        answer[14] = static_cast<std::uint8_t>(c.piSum);
        std::copy(c.pifCounts.begin(), c.pifCounts.end(), answer.begin() + 7);
        std::copy(c.piCounts.begin(), c.piCounts.end(), answer.begin() + 15);
        const PioneerErrors errors = ReadPioneerAnswer(answer.data());
        EXPECT_EQ(errors.pi, c.pi) << c.name;
        EXPECT_EQ(errors.pif, c.pif) << c.name;
    }
}

}  // namespace
