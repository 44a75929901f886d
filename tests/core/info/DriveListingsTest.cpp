#include "core/app/MainDialogCore.h"
#include "core/info/DriveListings.h"
#include "platform/text/Trim.h"
#include "scsi/Bytes.h"
#include "support/EmulatedDriveRig.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A GET CONFIGURATION answer: header with the current profile, then the
// descriptors as given (each code, flags byte, additional bytes).
struct Descriptor {
    std::uint16_t code;
    std::uint8_t flags;
    std::vector<std::uint8_t> body;
};

std::vector<std::uint8_t> Answer(std::uint16_t current, const std::vector<Descriptor>& descriptors,
                                 std::size_t bufferSize = 2048)
{
    std::vector<std::uint8_t> bytes(8, 0);
    scsi::PutBe16(&bytes[6], current);
    for (const Descriptor& d : descriptors) {
        bytes.push_back(static_cast<std::uint8_t>(d.code >> 8));
        bytes.push_back(static_cast<std::uint8_t>(d.code));
        bytes.push_back(d.flags);
        bytes.push_back(static_cast<std::uint8_t>(d.body.size()));
        bytes.insert(bytes.end(), d.body.begin(), d.body.end());
    }
    scsi::PutBe32(bytes.data(), static_cast<std::uint32_t>(bytes.size() - 4));
    bytes.resize(std::max(bufferSize, bytes.size()), 0);
    return bytes;
}

}  // namespace

TEST(DriveListings, ProfilesWithTheirNamesTheCurrentMarkAndTheOddOnes)
{
    // The Profile List of a DVD writer with a DVD+R loaded, an unknown and a
    // non-conforming profile among them.
    const auto answer = Answer(
        0x1B,
        {{0x0000, 0x03, {0x00, 0x1B, 0x01, 0, 0x00, 0x10, 0, 0, 0x12, 0x34, 0, 0, 0xFF, 0xFF, 0, 0}},
         {0x0001, 0x03, {0, 0, 0, 2}}});
    const std::vector<std::string> lines = ProfileListingLines(answer);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], std::string(25, ' ') + "Drive Profiles" + std::string(25, ' '));
    EXPECT_EQ(lines[1], "Current Profile 001bh");
    EXPECT_EQ(lines[2], "Profile 0000h " + std::string("Reserved Profile") + std::string(34, ' ') + "(Current)");
    EXPECT_EQ(lines[3].substr(0, 30), "Profile 001bh DVD+R Write Once");
    EXPECT_EQ(lines[3].substr(64), "(Current)");  // within the 73 columns shown
    EXPECT_EQ(lines[3].size(), 73u);
    EXPECT_EQ(WithoutTrailingBlanks(lines[4]), "Profile 0010h DVD-ROM Read Only");
    EXPECT_EQ(WithoutTrailingBlanks(lines[5]), "Profile 1234h Unknown Profile. Please email me");
    EXPECT_EQ(WithoutTrailingBlanks(lines[6]), "Profile ffffh Not Conforming to standard profile");

    // No current profile: no line for it; too short an answer: nothing at all.
    EXPECT_EQ(ProfileListingLines(Answer(0, {{0x0000, 0x03, {0x00, 0x10, 0x00, 0}}}))[1].substr(0, 13),
              "Profile 0000h");
    EXPECT_TRUE(ProfileListingLines(Answer(0, {})).empty());
    EXPECT_TRUE(ProfileListingLines(std::vector<std::uint8_t>(5, 0xFF)).empty());
}

TEST(DriveListings, FeaturesWithTheirWriteLinesAndVendorCodes)
{
    const auto answer = Answer(0x1B,
                               {{0x0001, 0x03, {0, 0, 0, 2}},
                                {0x002A, 0x01, {0x01, 0, 0, 0}},
                                {0x002B, 0x01, {0x00, 0, 0, 0}},
                                {0x002C, 0x00, {0, 0, 0, 0}},
                                {0x003B, 0x01, {0x01, 0, 0, 0}},
                                {0x0099, 0x00, {}},
                                {0xFF33, 0x00, {}},
                                {0xFF40, 0x00, {}}});
    std::vector<std::string> lines;
    for (const std::string& line : FeatureListingLines(answer))
        lines.push_back(WithoutTrailingBlanks(line));
    const std::vector<std::string> expected = {
        WithoutTrailingBlanks(std::string(25, ' ') + "Drive Features"),
        "Feature 0001h Core behaviour",
        "Feature 002ah DVD+RW Read",
        "Feature 002ah DVD+RW Write",
        "Feature 002bh DVD+R Read",  // byte 4 bit 0 clear: no write line
        "Feature 002ch Rigid Restricted Overwrite",
        "Feature 003bh DVD+R Double Layer Read",
        "Feature 003bh DVD+R Double Layer Write",
        "Feature 0099h Unknown Feature. Please email me",
        "Feature ff33h Lightscribe (vendor specific)",
        "Feature ff40h Vendor Specific",
    };
    EXPECT_EQ(lines, expected);

    // A length that runs past the buffer stops at the buffer's end.
    auto hostile = Answer(0, {{0x0001, 0x03, {0, 0, 0, 2}}}, 16);
    scsi::PutBe32(hostile.data(), 0xFFFFFFF0u);
    EXPECT_EQ(FeatureListingLines(hostile).size(), 2u);
}

TEST(DriveListings, ModePagesWithinTheFirst248BytesAndTheLightScribeCount)
{
    std::vector<std::uint8_t> answer(2048, 0);
    std::size_t at = 8;
    const auto page = [&](std::uint8_t codeByte, std::uint8_t length) {
        answer[at] = codeByte;
        answer[at + 1] = length;
        at += length + 2u;
    };
    page(0x81, 10);  // saveable error recovery page
    page(0x00, 4);  // page 0: no line
    page(0x2A, 40);
    page(0x31, 6);
    page(0x32, 6);
    page(0x26, 6);
    page(0x04, 160);  // starts before byte 248
    page(0x05, 20);  // starts after it
    scsi::PutBe16(answer.data(), static_cast<std::uint16_t>(at - 2));
    int lightScribePages = 0;
    const std::vector<std::string> lines = ModePageListingLines(answer, lightScribePages);
    const auto line = [](const std::string& name, const char* code, bool saveable = false) {
        return name + std::string(59 - name.size(), ' ') + (saveable ? "(Saveable)" : "          ") + code;
    };
    const std::vector<std::string> expected = {
        std::string(24, ' ') + "Drive Mode pages" + std::string(24, ' '),
        line("Read/Write Error Recovery page", "  1h", true),
        line("MM Capabilities & Mechanical Status page ", " 2Ah"),
        line("LightScribe / Drive Speed page(vendor unique)", " 31h"),
        line("LightScribe (vendor unique)", " 32h"),
        line("Vendor Specific page", " 26h"),
        line("Reserved", "  4h"),
    };
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(lightScribePages, 2);
}

TEST(DriveListings, TheEmulatedDriveListsItsProfilesAndFeaturesInTheReport)
{
    EmulatedDriveRig rig("dvd-writer", "dvd+r");
    MainDialogCore core(rig.Sources());
    rig.MakeCurrent(core.m_Drives);
    core.ListDriveFeaturesProfiles();
    const std::string shown = core.m_Report.GetDisplayText();
    EXPECT_NE(shown.find("Drive Profiles"), std::string::npos);
    EXPECT_NE(shown.find("Current Profile 001bh"), std::string::npos);
    EXPECT_NE(shown.find("Profile 001bh DVD+R Write Once"), std::string::npos);
    EXPECT_NE(shown.find("Drive Features"), std::string::npos);
    EXPECT_NE(shown.find("Feature 001fh DVD Read"), std::string::npos);
    EXPECT_EQ(core.m_Report.GetStatusText(), "Ready");

    // A drive that refuses the command leaves the report empty and says so.
    rig.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0x46, emu::sense::kInvalidOpcode));
    core.ListDriveFeaturesProfiles();
    EXPECT_EQ(core.m_Report.GetDisplayText(), "");
    EXPECT_EQ(core.m_Report.GetStatusText(), "An error occurred");
}
