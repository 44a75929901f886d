#include "ScanRig.h"
#include "core/drive/MediaType.h"
#include "core/pipo/ScanMediaInfo.h"

#include <gtest/gtest.h>

void PrintTo(const ScanMediaTexts& texts, std::ostream* out)
{
    *out << '"' << texts.mediaName << "\", \"" << texts.midCode << "\", \"" << texts.bookType << '"';
}

TEST(ScanMediaInfo, TheMediaTextsOfEachDisc)
{
    struct Case {
        const char* drive;
        const char* medium;
        ScanMediaTexts texts;
    };
    // clang-format off
    const Case cases[] = {
        {"dvd-writer", "none",             {"N/A",        "N/A",                       "N/A"}},
        {"dvd-writer", "dvd-rom",          {"DVD-ROM",    "Pressed DVD",               "DVD-ROM"}},
        {"dvd-writer", "dvd+r-as-rom",     {"DVD-ROM",    "QNZDISC R2X",               "DVD-ROM"}},
        {"dvd-writer", "dvd+r",            {"DVD+R",      "MCC     004",               "DVD+R"}},
        {"dvd-writer", "dvd+r-unknown-id", {"DVD+R",      "QNZDISC R1X",               "DVD+R"}},
        {"dvd-writer", "dvd+r-dl",         {"DVD+R DL",   "MKM     003",               "DVD+R DL"}},
        {"dvd-writer", "dvd+rw",           {"DVD+RW",     "RICOHJPNW11",               "DVD+RW"}},
        {"dvd-writer", "dvd+r-blank",      {"DVD+R",      "MCC     004",               "DVD+R"}},
        {"dvd-writer", "dvd-r",            {"DVD-R",      "MCC03RG20",                 "DVD-R"}},
        {"dvd-writer", "dvd-r-dl",         {"DVD-RDL",    "MKM03RD30",                 "DVD-R"}},
        {"dvd-writer", "dvd-rw",           {"DVD-RW",     "MCC01RW11",                 "DVD-RW"}},
        {"dvd-writer", "dvd-ram",          {"DVD-RAM",    "MATSUSHITADVD-RAMLM-AF120", "DVD-RAM"}},
        // A drive without DVD-R DL profiles reads the disc as a DVD-ROM of book type DVD-R.
        {"nec",        "dvd-r-dl",         {"DVD-R",      "MKM03RD30",                 "DVD-R"}},
        {"dvd-reader-strict", "dvd-rom",   {"DVD-ROM",    "Pressed DVD",               "DVD-ROM"}},
        {"dvd-reader-strict", "dvd+r",     {"DVD+R",      "MCC     004",               "DVD+R"}},
        {"usb-dvd-reader", "dvd-r",        {"DVD-R",      "MCC03RG20",                 "DVD-R"}},
        {"usb-dvd-reader", "dvd+r-dl",     {"DVD+R DL",   "MKM     003",               "DVD+R DL"}},
        // A BD by its name, and its media ID where the drive reports one.
        {"bd-writer",  "bd-r",             {"BD-R",       "VERBATIMe",                 "N/A"}},
        {"bd-writer",  "bd-rom",           {"BD-ROM",     "N/A",                       "N/A"}},
        {"bd-writer",  "hddvd-rom",        {"HD DVD-ROM", "N/A",                       "N/A"}},
    };
    // clang-format on
    for (const Case& test : cases) {
        SCOPED_TRACE(std::string(test.drive) + " with " + test.medium);
        ScanRig rig(test.drive, test.medium);
        const ScanMediaInfo info = ReadScanMediaInfo(rig.context, true);
        EXPECT_EQ(info.texts, test.texts);
        EXPECT_FALSE(info.cdMedium);
        EXPECT_FALSE(RefuseCdMedium(info, rig.scan.state, rig.prompt));
    }
}

TEST(ScanMediaInfo, TheNamesByProfileAndByMediaType)
{
    EXPECT_STREQ(ScanBookTypeText(1), "DVD-RAM");
    EXPECT_STREQ(ScanBookTypeText(13), "DVD+RW DL");
    for (const int other : {-1, 4, 5, 6, 15})
        EXPECT_STREQ(ScanBookTypeText(other), "N/A");
    for (const char* cd : {"CD-ROM", "CD-R", "CD-RW", "DDCD", "DDCD-R", "DDCD-RW", "HD-BURN"})
        EXPECT_TRUE(IsCdMediaName(cd)) << cd;
    EXPECT_FALSE(IsCdMediaName("DVD-ROM"));

    // A BD is named by its type and gives its media ID.
    ScanRig bd("bd-writer", "bd-re");
    std::string name;
    EXPECT_EQ(GetMediaName(bd.context, name), 0x43);
    EXPECT_EQ(name, "BD-RE");
    ScanRig empty("dvd-writer", "none");
    EXPECT_EQ(GetMediaName(empty.context, name), 0);
    EXPECT_EQ(name, "NO MEDIA");
    std::string code = "kept";
    EXPECT_EQ(GetMediaIdCode(empty.context, code), 0);
    EXPECT_EQ(GetMediaIdCode(bd.context, code), 1);
    EXPECT_EQ(code.rfind("MEI", 0), 0u) << code;
}

TEST(ScanMediaInfo, ACdIsRefusedWithItsMessageOnlyTheFirstTime)
{
    ScanRig rig("dvd-writer", "cd-r");
    for (int opening = 0; opening < 3; ++opening) {
        const ScanMediaInfo info = ReadScanMediaInfo(rig.context, true);
        EXPECT_TRUE(info.cdMedium);
        EXPECT_EQ(info.texts.mediaName, "CD-R");
        EXPECT_EQ(info.texts.midCode, "N/A");  // not read
        for (const auto& cdb : rig.TakeCdbs())
            EXPECT_NE(cdb[0], 0xAD);
        EXPECT_TRUE(RefuseCdMedium(info, rig.scan.state, rig.prompt));
    }
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, "CD scanning is not yet supported");
    EXPECT_EQ(rig.prompt.asked[0].caption, "");

    // The set-up before a scan reads on and does not close the window.
    const ScanMediaInfo before = ReadScanMediaInfo(rig.context, false);
    EXPECT_EQ(before.texts, (ScanMediaTexts{"CD-R", "N/A", "N/A"}));
}
