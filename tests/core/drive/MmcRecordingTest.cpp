#include "core/drive/MmcRecording.h"
#include "core/drive/WrapperRig.h"

#include <gtest/gtest.h>

namespace {

TEST(MmcRecording, FormatCapacitiesAreDecodedAndSearchedByFormatType)
{
    WrapperRig rig("dvd-writer", "dvd-rw");
    const std::optional<FormatCapacities> capacities = rig.context.recording.ReadFormatCapacities();
    ASSERT_TRUE(capacities);
    EXPECT_EQ(capacities->currentType, 2);  // formatted at its recorded size
    EXPECT_EQ(capacities->blockLength, 2048u);
    ASSERT_EQ(capacities->formattable.size(), 3u);
    ASSERT_NE(capacities->Find(0x15), nullptr);
    EXPECT_EQ(*capacities->Find(0x15), (FormatDescriptor{2298496, 0x15, 16}));
    EXPECT_EQ(capacities->Find(0x26), nullptr);  // none found: no DVD+RW format on a DVD-RW

    // A short or cut answer keeps only whole descriptors; less than the current one is none.
    const std::vector<std::uint8_t> answer = {0, 0, 0, 24,   0, 0,    0x10, 0, 0x02, 0, 0x08,
                                              0, 0, 0, 0x20, 0, 0x98, 0,    0, 0,    0, 0};
    const std::optional<FormatCapacities> cut = DecodeFormatCapacities(answer);
    ASSERT_TRUE(cut);
    ASSERT_EQ(cut->formattable.size(), 1u);
    EXPECT_EQ(cut->formattable[0], (FormatDescriptor{0x2000, 0x26, 0}));
    EXPECT_FALSE(DecodeFormatCapacities(std::span(answer).first(10)));
}

TEST(MmcRecording, TheCommandsGoOutAsMmcLaysThemOutAndAFailureSaysWhy)
{
    WrapperRig rig("dvd-writer", "dvd-ram");  // strict about CDB lengths
    std::vector<std::uint8_t> zeros(2 * 2048, 0);
    EXPECT_EQ(rig.context.recording.Write10(64, 2, zeros.data(), static_cast<std::uint32_t>(zeros.size())), 0);
    EXPECT_EQ(rig.context.recording.RezeroUnit(), 0);
    EXPECT_EQ(rig.context.recording.CloseTrackSession(0, 0, true), 0);
    EXPECT_EQ(rig.TakeCdbs(),
              (std::vector<Bytes>{
                  {0x2A, 0, 0, 0, 0, 64, 0, 0, 2, 0}, {0x01, 0, 0, 0, 0, 0}, {0x5B, 0x01, 0, 0, 0, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(FormatParameterList(kFormatOptionsValid | kFormatImmediate, {0xFFFFFFFF, 0x26, 1}),
              (std::array<std::uint8_t, 12>{0x00, 0x82, 0x00, 0x08, 0xFF, 0xFF, 0xFF, 0xFF, 0x98, 0x00, 0x00, 0x01}));

    rig.clock->Advance(rig.drive->Identity().closeMs);  // the close has ended
    std::string why;
    EXPECT_EQ(rig.context.recording.Blank(BlankType::Full, true, &why), 1);  // a DVD-RAM is not blanked
    EXPECT_EQ(why, "BLANK (A1h) failed: Illegal Request (sense 5/30/05)");
    DiscInformation information;
    ASSERT_EQ(rig.context.recording.ReadDiscInformation(information), 0);
    EXPECT_TRUE(information.erasable);
    EXPECT_EQ(information.discStatus, 3);
}

}  // namespace
