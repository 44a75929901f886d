#include "WrapperRig.h"
#include "emu/DrivePresets.h"
#include "emu/MediaPresets.h"
#include "core/drive/MediaType.h"
#include "scsi/Profiles.h"

#include <gtest/gtest.h>

#include <optional>

#include <algorithm>

namespace {

// A DVD-ROM drive: it reads every DVD as profile 10h.
emu::DriveIdentity DvdReader()
{
    emu::DriveIdentity drive = *emu::FindDrivePreset("dvd-writer");
    drive.product = "DVD-ROM QDR-1600";
    drive.profiles = {profile::kDvdRom, profile::kCdRom};
    drive.capabilities.writeFlags = 0;
    return drive;
}

struct Identification {
    int profile = -1;
    int bookType = -1;
    int lookup = -1;
    int mediaType = -1;
    std::string name;
};

Identification Identify(WrapperRig& rig)
{
    DriveContext& context = rig.context;
    context.configuration.GetDriveConfiguration();  // the DVD-drive flag decides for unknown profiles
    Identification found;
    found.profile = context.media.GetMediaTypeName(found.name);
    found.bookType = context.media.GetBookType();
    found.lookup = context.media.LookupMediaIdCode();
    found.mediaType = context.media.GetMediaType();
    return found;
}

}  // namespace

TEST(MediaIdentification, EveryMediumPresetIsIdentifiedByProfileBookTypeAndMediaId)
{
    struct Case {
        const char* medium;
        int profile;
        int bookType;
        int lookup;
        int mediaType;
        const char* name;
    };
    const Case cases[] = {
        {"none", 0, -1, -1, kMediaDvdRom, "NO MEDIA"},
        {"cd-rom", 0x08, -1, -1, kMediaCd, "CD-ROM"},
        {"cd-r", 0x09, -1, -1, kMediaCd, "CD-R"},
        {"cd-rw", 0x0A, -1, -1, kMediaCdRw, "CD-RW"},
        {"dvd-rom", 0x10, 0, kMediaPlusUnknownId, kMediaDvdRom, "DVD-ROM"},
        {"dvd-r", 0x11, 2, kMediaPlusUnknownId, kMediaDvdMinusR, "DVD-R"},
        {"dvd-rw", 0x14, 3, kMediaPlusUnknownId, kMediaDvdMinusRw, "DVD-RW"},
        {"dvd+r", 0x1B, 10, kMediaDvdPlusR, kMediaDvdPlusR, "DVD+R"},
        {"dvd+r-unknown-id", 0x1B, 10, kMediaPlusUnknownId, kMediaDvdPlusR, "DVD+R"},
        {"dvd+rw", 0x1A, 9, kMediaDvdPlusRw, kMediaDvdPlusRw, "DVD+RW"},
        {"dvd+r-dl", 0x2B, 14, kMediaDvdPlusRDl, kMediaDvdPlusRDl, "DVD+R DL"},
        {"dvd-ram", 0x12, 1, kMediaPlusUnknownId, kMediaDvdRam, "DVD-RAM"},
        {"dvd-r-dl", 0x15, 2, kMediaPlusUnknownId, kMediaDvdMinusRDl, "DVD-RDL"},
        {"dvd+r-as-rom", 0x10, 0, kMediaPlusUnknownId, kMediaDvdRom, "DVD-ROM"},
        {"bd-rom", 0x40, -1, -1, kMediaBdRom, "BD-ROM"},
        {"bd-r", 0x41, -1, -1, kMediaBdR, "BD-R"},
        {"bd-re", 0x43, -1, -1, kMediaBdRe, "BD-RE"},
        {"hddvd-rom", 0x50, 4, kMediaPlusUnknownId, kMediaHdDvdRom, "HD DVD-ROM"},
        {"cd-r-blank", 0x09, -1, -1, kMediaCd, "CD-R"},
        {"cd-r-appendable", 0x09, -1, -1, kMediaCd, "CD-R"},
        {"dvd-r-blank", 0x11, 2, kMediaPlusUnknownId, kMediaDvdMinusR, "DVD-R"},
        {"dvd-r-appendable", 0x11, 2, kMediaPlusUnknownId, kMediaDvdMinusR, "DVD-R"},
        {"dvd+r-blank", 0x1B, 10, kMediaDvdPlusR, kMediaDvdPlusR, "DVD+R"},
        {"dvd+r-appendable", 0x1B, 10, kMediaDvdPlusR, kMediaDvdPlusR, "DVD+R"},
        {"bd-r-blank", 0x41, -1, -1, kMediaBdR, "BD-R"},
        {"bd-r-appendable", 0x41, -1, -1, kMediaBdR, "BD-R"},
        {"cd-rw-blank", 0x0A, -1, -1, kMediaCdRw, "CD-RW"},
        {"dvd-rw-blank", 0x14, 3, kMediaPlusUnknownId, kMediaDvdMinusRw, "DVD-RW"},
        {"dvd+rw-blank", 0x1A, 9, kMediaDvdPlusRw, kMediaDvdPlusRw, "DVD+RW"},
        {"bd-re-blank", 0x43, -1, -1, kMediaBdRe, "BD-RE"},
        {"dvd-rw-restricted", 0x13, 3, kMediaPlusUnknownId, kMediaDvdMinusRw, "DVD-RW"},
        {"dvd+rw-partial", 0x1A, 9, kMediaDvdPlusRw, kMediaDvdPlusRw, "DVD+RW"},
        {"dvd+r-scratched", 0x1B, 10, kMediaDvdPlusR, kMediaDvdPlusR, "DVD+R"},
        {"cd-r-scratched", 0x09, -1, -1, kMediaCd, "CD-R"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.medium);
        WrapperRig rig("bd-writer", test.medium);
        const Identification found = Identify(rig);
        EXPECT_EQ(found.profile, test.profile);
        EXPECT_EQ(found.bookType, test.bookType);
        EXPECT_EQ(found.lookup, test.lookup);
        EXPECT_EQ(found.mediaType, test.mediaType);
        EXPECT_EQ(found.name, test.name);
    }
    EXPECT_EQ(emu::MediumPresetNames().size(), std::size(cases));  // a new preset needs a row here
}

TEST(MediaIdentification, ADvdRomDriveTakesTheMediaIdAndElseTheBookType)
{
    const auto disc = [](const char* preset, const char* manufacturer, const char* type) {
        emu::MediumDescription medium = *emu::FindMediumPreset(preset);
        medium.manufacturerId = manufacturer;
        medium.mediaTypeId = type;
        return medium;
    };
    struct Case {
        const char* name;
        emu::MediumDescription disc;
        int lookup;
        int mediaType;
        const char* mediaName;
    };
    const Case cases[] = {
        {"DVD+R in the table", *emu::FindMediumPreset("dvd+r"), kMediaDvdPlusR, kMediaDvdPlusR, "DVD+R"},
        {"DVD+R not in the table", *emu::FindMediumPreset("dvd+r-unknown-id"), kMediaPlusUnknownId, kMediaDvdPlusR,
         "DVD+R"},
        {"pressed DVD", *emu::FindMediumPreset("dvd-rom"), kMediaPlusUnknownId, kMediaDvdRom, "DVD-ROM"},
        {"RICOHJPN D01", disc("dvd+r-dl", "RICOHJPN", "D01"), kMediaDvdPlusRDl, kMediaDvdPlusRDl, "DVD+R DL"},
        // A two-character type ID is right-aligned: "RICOHJPN D1" is no row.
        {"RICOHJPN D1", disc("dvd+r", "RICOHJPN", "D1"), kMediaPlusUnknownId, kMediaDvdPlusR, "DVD+R"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        WrapperRig rig(DvdReader(), "none");
        ASSERT_TRUE(rig.drive->InsertMedium(test.disc));
        const Identification found = Identify(rig);
        EXPECT_EQ(found.profile, 0x10);
        EXPECT_EQ(found.lookup, test.lookup);
        EXPECT_EQ(found.mediaType, test.mediaType);
        EXPECT_EQ(found.name, test.mediaName);
    }
}

TEST(MediaIdentification, WithoutAProfileTheDiscStructureDecidesOnADvdDrive)
{
    struct Case {
        const char* drive;
        const char* medium;
        int mediaType;
    };
    const Case cases[] = {
        {"dvd-writer", "dvd+r", kMediaDvdPlusR},  // "8" at byte 35
        {"dvd-writer", "dvd+rw", kMediaDvdPlusRw},  // "9"
        {"dvd-writer", "dvd-r", kMediaDvdMinusR},  // the book type
        {"dvd-writer", "dvd+r-dl", kMediaDvdPlusRDl},
        {"dvd-writer", "cd-r", kMediaNoStructure},  // no DVD structure on a CD
        {"cd-reader", "cd-rom", kMediaNoStructure},  // not asked: no DVD drive
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(std::string(test.drive) + " with " + test.medium);
        WrapperRig rig(test.drive, test.medium);
        ASSERT_TRUE(rig.context.configuration.GetDriveConfiguration());
        rig.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0x46, {0x04, 0x44, 0x00}));
        rig.TakeCdbs();
        EXPECT_EQ(rig.context.media.GetMediaType(), test.mediaType);
        if (std::string(test.drive) == "cd-reader") {  // only the book type's two reads
            EXPECT_EQ(rig.CdbsOf(0xAD).size(), 2u);
        }
    }
}

TEST(MediaIdentification, TheBookTypeFallsBackToTheAdipInformation)
{
    WrapperRig rig("dvd-writer", "dvd+rw");
    rig.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0xAD, {0x05, 0x24, 0x00}, 1));
    EXPECT_EQ(rig.context.media.GetBookType(), 9);
    const auto cdbs = rig.TakeCdbs();
    ASSERT_EQ(cdbs.size(), 3u);  // TEST UNIT READY, format 00h refused, format 11h
    EXPECT_EQ(cdbs[2], (std::vector<std::uint8_t>{0xAD, 0, 0, 0, 0, 0, 0, 0x11, 0x01, 0x04, 0, 0}));

    rig.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0xAD, {0x05, 0x24, 0x00}, 2));
    EXPECT_EQ(rig.context.media.GetBookType(), -1);  // nothing came back to read
}

TEST(MediaIdentification, ABdRWithoutADiscManufacturerCountsAsBdRom)
{
    emu::MediumDescription blank = *emu::FindMediumPreset("bd-r");
    blank.manufacturerId.clear();
    blank.mediaTypeId.clear();
    WrapperRig rig("bd-writer", "none");
    ASSERT_TRUE(rig.drive->InsertMedium(blank));
    EXPECT_EQ(rig.context.media.GetMediaType(), kMediaBdRom);
}

TEST(MediaIdentification, MediaCapacityIsWhereTheLastExtentEnds)
{
    struct Case {
        const char* name;
        const char* drive;
        const char* medium;
        std::optional<emu::Sense> performanceRefusal;
        std::int64_t capacity;
        std::uint8_t lastOpcode;
    };
    const Case cases[] = {
        {"one extent", "dvd-writer", "dvd+r", std::nullopt, 2099999, 0xAC},
        {"an extent a layer", "dvd-writer", "dvd+r-dl", std::nullopt, 3999999, 0xAC},
        {"half the last block of a BD-ROM", "bd-writer", "bd-rom", std::nullopt, 11999999 >> 1, 0x25},
        {"no disc", "dvd-writer", "none", std::nullopt, 0, 0xAC},
        {"GET PERFORMANCE unknown", "dvd-writer", "dvd+r", emu::sense::kInvalidOpcode, 2099999, 0x25},
        {"GET PERFORMANCE failing otherwise", "dvd-writer", "dvd+r", emu::Sense{0x04, 0x44, 0x00}, 0, 0xAC},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        WrapperRig rig(test.drive, test.medium);
        if (test.performanceRefusal)
            rig.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0xAC, *test.performanceRefusal));
        EXPECT_EQ(rig.context.media.GetMediaCapacity(), test.capacity);
        EXPECT_EQ(rig.Cdbs().back()[0], test.lastOpcode);
    }
    WrapperRig rig("dvd-writer", "dvd+r");
    rig.context.media.GetMediaCapacity();
    EXPECT_EQ(rig.Cdbs().back(), (std::vector<std::uint8_t>{0xAC, 0x10, 0, 0, 0, 0, 0, 0, 0x00, 0x02, 0x00, 0}));

    // A zoned drive describes a single-layer disc in two extents: the disc
    // ends where the second does, not where the first does.
    emu::DriveIdentity zoned = *emu::FindDrivePreset("dvd-writer");
    zoned.capabilities.readPerformanceZones = 2;
    WrapperRig zones(zoned, "dvd+r");
    EXPECT_EQ(zones.context.media.GetMediaCapacity(), 2099999);
}

TEST(MediaIdentification, TheMediaIdTextOfEachKindOfDisc)
{
    struct Case {
        const char* medium;
        int result;
        const char* text;
    };
    const Case cases[] = {
        {"none", 0, "kept"},
        {"cd-r", 0, ""},
        {"dvd-rom", 0, ""},  // a pressed disc has no ID
        {"dvd+r", 1, "MCC     004"},
        {"dvd-r", 1, "MCC03RG20"},  // the pre-pit maker, blanks left out
        {"dvd-ram", 1, "MATSUSHITADVD-RAMLM-AF120"},
        {"bd-rom", 0, "BD-ROM     "},
        {"bd-r", 1, "VERBATIMe"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.medium);
        WrapperRig rig("bd-writer", test.medium);
        std::string text = "kept";
        EXPECT_EQ(rig.context.media.GetMediaIDString(text), test.result);
        EXPECT_EQ(text, test.text);
    }
}
