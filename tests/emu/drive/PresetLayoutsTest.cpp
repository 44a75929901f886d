#include "EmuTestHelpers.h"
#include "emu/DrivePresets.h"
#include "emu/MediaPresets.h"
#include "emu/MediumGeometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

// Every preset's answers against the layouts MMC gives them: lengths that
// count what follows them, feature descriptors in their order with the
// features their profiles need, and write-once discs in their real states.

namespace emu {

namespace {

std::vector<std::uint8_t> Cdb(std::uint8_t opcode, std::size_t length,
                              std::initializer_list<std::pair<std::size_t, std::uint8_t>> bytes)
{
    std::vector<std::uint8_t> cdb(length, 0);
    cdb[0] = opcode;
    for (const auto& [index, value] : bytes)
        cdb[index] = value;
    return cdb;
}

struct Feature {
    std::uint16_t code;
    std::uint8_t flags;
    std::vector<std::uint8_t> body;
};

// The feature descriptors of a GET CONFIGURATION answer, checked to fill it exactly.
std::vector<Feature> Features(const Answer& answer)
{
    const std::vector<std::uint8_t> bytes = answer.Received();
    EXPECT_GE(bytes.size(), 8u);
    EXPECT_EQ(scsi::GetBe32(bytes.data()) + 4, bytes.size());  // the data length counts what follows it
    std::vector<Feature> features;
    std::size_t at = 8;
    while (at + 4 <= bytes.size()) {
        const std::size_t length = bytes[at + 3];
        EXPECT_EQ(length % 4, 0u) << "feature " << scsi::GetBe16(&bytes[at]);
        features.push_back({scsi::GetBe16(&bytes[at]),
                            bytes[at + 2],
                            {bytes.begin() + static_cast<long>(at + 4),
                             bytes.begin() + static_cast<long>(std::min(at + 4 + length, bytes.size()))}});
        at += 4 + length;
    }
    EXPECT_EQ(at, bytes.size());
    return features;
}

// The features MMC pairs with a profile: a drive listing the profile lists them.
// clang-format off
const std::map<std::uint16_t, std::vector<std::uint16_t>> kNeededFeatures = {
    {0x0008, {0x001E}},                                  // CD-ROM: CD Read
    {0x0009, {0x001E, 0x0021, 0x002D}},                  // CD-R: incremental writing, track at once
    {0x000A, {0x001E, 0x0021, 0x002D}},
    {0x0010, {0x001F}},                                  // DVD-ROM: DVD Read
    {0x0011, {0x001F, 0x0021, 0x002F}},
    {0x0012, {0x001F, 0x0020, 0x0023, 0x0024}},          // DVD-RAM: random writable, formattable, defects
    {0x0013, {0x001F, 0x0023, 0x0026}},
    {0x0014, {0x001F, 0x0021, 0x002F}},
    {0x0015, {0x001F, 0x002F}},
    {0x0016, {0x001F, 0x0033}},                          // DVD-R DL layer jump: layer jump recording
    {0x001A, {0x001F, 0x002A}},
    {0x001B, {0x001F, 0x002B}},
    {0x002B, {0x001F, 0x003B}},
    {0x0040, {0x0040}},
    {0x0041, {0x0040, 0x0041}},
    {0x0042, {0x0040, 0x0041}},
    {0x0043, {0x0020, 0x0023, 0x0024, 0x0040, 0x0041}},  // BD-RE: random writable
    {0x0050, {0x0050}},
};
// Features that belong to profiles: a drive lists one only with one of them.
const std::map<std::uint16_t, std::vector<std::uint16_t>> kFeatureProfiles = {
    {0x001F, {0x0010}},
    {0x0020, {0x0012, 0x0043}},
    {0x002A, {0x001A}},
    {0x002B, {0x001B}},
    {0x002F, {0x0011, 0x0014, 0x0015}},
    {0x0033, {0x0016}},
    {0x0038, {0x0041}},
    {0x003B, {0x002B}},
    {0x0040, {0x0040}},
    {0x0041, {0x0041, 0x0042, 0x0043}},
    {0x0042, {0x0041}},
    {0x0050, {0x0050}},
};
// clang-format on

}  // namespace

TEST(PresetLayouts, EveryDrivePresetAnswersInTheMmcLayouts)
{
    for (const std::string& name : DrivePresetNames()) {
        SCOPED_TRACE(name);
        auto drive = Drive(name.c_str(), "cd-rom");
        const DriveIdentity& identity = drive->Identity();

        const Answer inquiry = Send(*drive, Cdb(0x12, 6, {{4, 96}}), 96);
        EXPECT_EQ(inquiry.data[4] + 5u, inquiry.result.transferred);
        EXPECT_EQ(inquiry.data[0], 0x05);

        // The feature list from feature 0: the Profile List first, codes ascending.
        const std::vector<Feature> features = Features(Send(*drive, Cdb(0x46, 10, {{7, 0xFF}, {8, 0xFF}}), 65535));
        ASSERT_FALSE(features.empty());
        EXPECT_EQ(features[0].code, 0x0000);
        for (std::size_t i = 1; i < features.size(); ++i)
            EXPECT_LT(features[i - 1].code, features[i].code);
        std::set<std::uint16_t> codes;
        for (const Feature& feature : features)
            codes.insert(feature.code);
        const std::vector<std::uint8_t>& list = features[0].body;
        std::set<std::uint16_t> profiles;
        int current = 0;
        for (std::size_t at = 0; at + 4 <= list.size(); at += 4) {
            profiles.insert(scsi::GetBe16(&list[at]));
            current += list[at + 2] & 0x01;
        }
        EXPECT_EQ(profiles.size() * 4, list.size());
        EXPECT_EQ(current, 1);  // the CD-ROM's profile
        for (const auto& [profile, needed] : kNeededFeatures) {
            for (std::uint16_t code : needed) {
                EXPECT_TRUE(!profiles.count(profile) || codes.count(code))
                    << "profile " << profile << " without feature " << code;
            }
        }
        for (const auto& [code, owners] : kFeatureProfiles) {
            const bool owned = std::any_of(owners.begin(), owners.end(), [&](auto p) { return profiles.count(p); });
            EXPECT_TRUE(!codes.count(code) || owned) << "feature " << code << " without its profile";
        }
        for (std::uint16_t common : {0x0001, 0x0002, 0x0003, 0x0010, 0x0108})
            EXPECT_TRUE(codes.count(common)) << common;

        // Removable Medium: a version, the tray and its Load, Eject and Lock bits.
        const auto removable = std::find_if(features.begin(), features.end(),
                                            [](const Feature& f) { return f.code == 3; });
        ASSERT_NE(removable, features.end());
        EXPECT_GE(removable->flags >> 2, 1);
        EXPECT_EQ(removable->body[0], 0x39);

        // The capabilities page: its length counts its write speed descriptors.
        const Answer caps = Send(*drive, Cdb(0x5A, 10, {{2, 0x2A}, {8, 0xFF}}), 255);
        const std::vector<std::uint8_t> page(caps.data.begin() + 8, caps.data.begin() + 8 + caps.data[9] + 2);
        EXPECT_EQ(scsi::GetBe16(&caps.data[0]) + 2u, caps.result.transferred);
        EXPECT_EQ(page.size(), 32u + 4 * scsi::GetBe16(&page[30]));
        EXPECT_EQ(page[6] >> 5, removable->body[0] >> 5);  // the same loading mechanism

        // The page list, or its refusal by a drive that gives pages alone.
        const Answer all = Send(*drive, Cdb(0x5A, 10, {{2, 0x3F}, {7, 0x08}}), 2048);
        if (identity.refusals.allModePages) {
            EXPECT_EQ(all.SenseCode(), sense::kInvalidFieldInCdb);
        } else {
            std::size_t at = 8;
            const std::size_t end = scsi::GetBe16(&all.data[0]) + 2u;
            while (at < end)
                at += all.data[at + 1] + 2u;
            EXPECT_EQ(at, end);
        }

        // One mechanism, one slot, no slot table.
        const Answer mechanism = Send(*drive, Cdb(0xBD, 12, {{9, 8}}), 8);
        EXPECT_EQ(mechanism.data[5], 1);
        EXPECT_EQ(scsi::GetBe16(&mechanism.data[6]), 0);

        // Media events, polled: a 4-byte media descriptor after the header.
        const Answer events = Send(*drive, Cdb(0x4A, 10, {{1, 0x01}, {4, 0x10}, {8, 8}}), 8);
        EXPECT_EQ(scsi::GetBe16(&events.data[0]), 6);
        EXPECT_EQ(events.data[2], 0x04);
        EXPECT_EQ(events.data[3] & 0x10, 0x10);
        EXPECT_EQ(events.data[5], 0x02);  // a disc present, the tray closed
    }
}

TEST(PresetLayouts, WriteOnceDiscsInTheStatesRealDrivesReport)
{
    for (const std::string& name : MediumPresetNames()) {
        if (name == kNoMediumPreset)
            continue;
        SCOPED_TRACE(name);
        const MediumDescription disc = *FindMediumPreset(name);
        auto drive = Drive("bd-writer", name.c_str());
        const Answer information = Send(*drive, Cdb(0x51, 10, {{8, 34}}), 34);
        if (disc.tracks.empty() && disc.status == DiscStatus::Complete)
            continue;
        ASSERT_EQ(information.result.outcome, Outcome::Good);
        EXPECT_EQ(scsi::GetBe16(&information.data[0]), 32);
        const int status = information.data[2] & 0x03;
        const bool randomWritable = status == 3;
        const int expected = disc.status == DiscStatus::Blank ? 0 : disc.status == DiscStatus::Appendable ? 1 : 2;
        EXPECT_EQ(randomWritable ? expected : status, expected);
        // A blank disc has no table of contents; a recorded one has.
        const Answer toc = Send(*drive, Cdb(0x43, 10, {{8, 0xFF}}), 255);
        EXPECT_EQ(toc.result.outcome == Outcome::Good, disc.status != DiscStatus::Blank);
        // The next writable address of an open disc lies past what is recorded
        // and the zones that close it.
        if (disc.status == DiscStatus::Appendable) {
            const Answer track = Send(*drive, Cdb(0x52, 10, {{1, 0x01}, {5, 0xFF}, {8, 48}}), 48);
            EXPECT_GT(scsi::GetBe32(&track.data[12]), disc.capacityBlocks - (disc.family == MediumFamily::Bd ? 1 : 0));
            EXPECT_EQ(scsi::GetBe32(&track.data[12]) + scsi::GetBe32(&track.data[16]), TotalBlocks(disc));
        }
        // The pre-groove of a CD-R/RW: byte 2 of its descriptor, bit 7 always, bit 6 for CD-RW.
        if (IsRecordableCd(disc)) {
            const Answer atip = Send(*drive, Cdb(0x43, 10, {{2, 0x04}, {8, 0xFF}}), 255);
            EXPECT_EQ(atip.data[6], disc.erasable ? 0xC0 : 0x80);
        }
    }
}

TEST(PresetLayouts, EventsRequestSenseAndTheTrayAsRealDrivesTellThem)
{
    auto clock = std::make_shared<ManualClock>();
    auto drive = Drive("dvd-writer", "dvd+r", clock);
    const auto mediaEvent = [&] {
        const Answer events = Send(*drive, Cdb(0x4A, 10, {{1, 0x01}, {4, 0x10}, {8, 8}}), 8);
        return std::vector<std::uint8_t>{events.data[4], events.data[5]};
    };
    EXPECT_EQ(mediaEvent(), (std::vector<std::uint8_t>{0x00, 0x02}));  // no change, a disc present
    EXPECT_EQ(Send(*drive, Cdb(0x4A, 10, {{4, 0x10}, {8, 8}}), 8).SenseCode(), sense::kInvalidFieldInCdb);

    // The eject button: the disc goes, once; the tray is open.
    drive->EjectMedium();
    EXPECT_EQ(mediaEvent(), (std::vector<std::uint8_t>{0x03, 0x01}));
    EXPECT_EQ(mediaEvent(), (std::vector<std::uint8_t>{0x00, 0x01}));
    EXPECT_EQ(Send(*drive, kTestUnitReady).SenseCode(), sense::kNoMediumTrayOpen);

    // REQUEST SENSE returns what the previous command ended with.
    const Answer deferred = Send(*drive, {0x03, 0, 0, 0, 18, 0}, 18);
    EXPECT_EQ(deferred.result.outcome, Outcome::Good);
    EXPECT_EQ(std::vector<std::uint8_t>(deferred.data.begin() + 12, deferred.data.begin() + 14),
              (std::vector<std::uint8_t>{0x3A, 0x02}));
    EXPECT_EQ(deferred.data[2] & 0x0F, 0x02);

    // A new disc: the event once the tray closes over it, then the change.
    ASSERT_TRUE(drive->LoadMedium(*FindMediumPreset("dvd-rw")));
    EXPECT_EQ(mediaEvent(), (std::vector<std::uint8_t>{0x02, 0x02}));

    // An eject refused while the host holds the tray: a request to eject.
    Send(*drive, {0x1E, 0, 0, 0, 1, 0});
    EXPECT_FALSE(drive->EjectMedium());
    EXPECT_EQ(mediaEvent(), (std::vector<std::uint8_t>{0x01, 0x02}));
}

}  // namespace emu
