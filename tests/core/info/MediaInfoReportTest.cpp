#include "core/base/BusyFlags.h"
#include "core/base/Format.h"
#include "core/app/MainDialogCore.h"
#include "core/base/ReportText.h"
#include "core/info/MediaInfoReport.h"
#include "core/info/MediaProbes.h"
#include "emu/MediaPresets.h"
#include "scsi/Bytes.h"
#include "support/EmulatedDriveRig.h"
#include "platform/text/Trim.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// The main window's core on one emulated drive with a disc of a preset.
struct ReportRig : EmulatedDriveRig {
    explicit ReportRig(const char* medium, const char* drivePreset = "bd-writer") :
        EmulatedDriveRig(drivePreset, medium), core(Sources())
    {
        MakeCurrent(core.m_Drives);
    }

    MediaInfoOutcome Run()
    {
        MediaInfoReport report(core.m_Drives, core.m_Report, view);
        return report.GeneralInfo(false);
    }

    // The report as the window shows it: 73-column lines up to the last with content.
    std::string Shown()
    {
        view.RefreshDisplay(ReportText::kWholeReport);
        return view.GetDisplayText();
    }

    MainDialogCore core;
    ReportText view;
};

std::string TrimmedStatus(MainDialogCore& core)
{
    std::string text = core.m_Report.GetStatusText();
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

const char* DriveFor(const std::string& medium)
{
    return medium.rfind("hddvd", 0) == 0 ? "toshiba" : "bd-writer";
}

std::string GoldenPath(const std::string& medium)
{
    return std::string(QUENZA_SOURCE_DIR) + "/tests/core/info/golden/" + medium + ".txt";
}

TEST(MediaInfoReport, EveryMediumPresetAsItsGoldenReport)
{
    // QUENZA_UPDATE_GOLDEN=1 writes the files anew (read them before committing).
    const bool update = std::getenv("QUENZA_UPDATE_GOLDEN") != nullptr;
    for (const std::string& medium : emu::MediumPresetNames()) {
        if (medium == emu::kNoMediumPreset)
            continue;
        SCOPED_TRACE(medium);
        ReportRig rig(medium.c_str(), DriveFor(medium));
        const MediaInfoOutcome outcome = rig.Run();
        ASSERT_TRUE(outcome.show);
        const std::string shown = rig.Shown();
        if (update)
            WriteFileText(GoldenPath(medium), shown);
        EXPECT_EQ(shown, ReadFileText(GoldenPath(medium)));
    }
}

TEST(MediaInfoReport, TheVolumeOfAUdfOrAnIsoImageOnTheDisc)
{
    if (std::system("command -v xorriso >/dev/null && test -x /usr/sbin/mkudffs") != 0)
        GTEST_SKIP() << "xorriso or mkudffs (udftools) is not installed";
    TempDir dir;
    const std::string udf = dir.File("udf.img");
    const std::string iso = dir.File("iso.img");
    ASSERT_EQ(std::system(("truncate -s 16M " + udf
                           + " && /usr/sbin/mkudffs --media-type=hd --blocksize=2048 "
                             "--udfrev=2.01 --label=QNZ_UDF_DISC "
                           + udf + " >/dev/null 2>&1")
                              .c_str()),
              0);
    ASSERT_EQ(std::system(("xorriso -as mkisofs -V QNZ_ISO_DISC -A QUENZARIO_TEST -o " + iso + " " + dir.Path()
                           + " >/dev/null 2>&1")
                              .c_str()),
              0);
    for (const auto& [image, expected] : {std::pair{udf, "UDF Format Type" + std::string(54, ' ') + "2.01"},
                                          std::pair{iso, "Volume Label" + std::string(49, ' ') + "QNZ_ISO_DISC"}}) {
        ReportRig rig("dvd-rom");
        auto disc = *emu::FindMediumPreset("dvd-rom");
        disc.imagePath = image;
        disc.capacityBlocks = std::filesystem::file_size(image) / 2048;
        disc.tracks[0].blocks = static_cast<std::uint32_t>(disc.capacityBlocks);
        ASSERT_TRUE(rig.drive->InsertMedium(disc));
        ASSERT_TRUE(rig.Run().show);
        EXPECT_NE(rig.Shown().find(expected), std::string::npos) << rig.Shown();
    }
}

TEST(MediaInfoReport, RefusalsEndTheRunWithTheirTexts)
{
    {
        ReportRig rig("none");
        EXPECT_FALSE(rig.Run().show);
        EXPECT_EQ(TrimmedStatus(rig.core), "No Media is present");
    }
    {
        ReportRig rig("dvd-r");
        g_bSpeedTestRunning = 1;
        const MediaInfoOutcome outcome = rig.Run();
        g_bSpeedTestRunning = 0;
        EXPECT_FALSE(outcome.show);
        EXPECT_EQ(outcome.messageBox, "You must stop the test first");
        EXPECT_EQ(outcome.caption, "Error Test Running!");
        MediaInfoReport report(rig.core.m_Drives, rig.core.m_Report, rig.view);
        EXPECT_EQ(report.GeneralInfo(true).messageBox, "You must stop the test first");
    }
}

TEST(MediaInfoReport, OnlyAListedMediumWithAnUnknownCodeOffersTheMail)
{
    struct Case {
        const char* medium;
        bool asks;
    };
    for (const Case& c : {Case{"dvd+r-unknown-id", true}, Case{"dvd+r", false}, Case{"dvd-ram", false},
                          Case{"dvd-rom", false}, Case{"bd-rom", false}, Case{"hddvd-rom", false}}) {
        SCOPED_TRACE(c.medium);
        ReportRig rig(c.medium, DriveFor(c.medium));
        const MediaInfoOutcome outcome = rig.Run();
        ASSERT_EQ(outcome.unknown.has_value(), c.asks);
        if (!c.asks)
            continue;
        EXPECT_EQ(outcome.unknown->mediaId, "QNZDISC R1X");
        EXPECT_EQ(outcome.unknown->mediaType, "DVD+R");
        EXPECT_FLOAT_EQ(outcome.unknown->highestFactor, 16.0f);
        const std::string link = MediaCodeMailLink(*outcome.unknown);
        EXPECT_EQ(link.rfind("mailto:", 0), 0u);
        EXPECT_NE(link.find("subject=Quenzario%20MediaCode%20Submit&body=Quenzario%20Media%20Code%20Submission."
                            "%0D%0A%0D%0AMedia%20Code%3A%20%09%27QNZDISC%20R1X%27%0D%0A"),
                  std::string::npos);
        // The dump of the media code ends the body; nothing is left unescaped.
        EXPECT_NE(link.find("00000010%2000%20"), std::string::npos);
        EXPECT_EQ(link.find_first_of(" \r\n\t'<"), std::string::npos);
    }
}

TEST(MediaInfoReport, CompleteMediaCodeAndItsRefusals)
{
    {
        ReportRig rig("dvd-ram");
        MediaInfoReport report(rig.core.m_Drives, rig.core.m_Report, rig.view);
        EXPECT_EQ(report.DoCompleteMediaCode(3), 5);
        EXPECT_EQ(rig.view.GetLine(3).substr(0, 9), "00000220 ");
        std::string text;
        EXPECT_EQ(report.DoCompleteMediaCode(text), 1);
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5);
    }
    for (const char* medium : {"bd-r", "cd-r"}) {
        ReportRig rig(medium);
        MediaInfoReport report(rig.core.m_Drives, rig.core.m_Report, rig.view);
        EXPECT_EQ(report.DoCompleteMediaCode(0), 0) << medium;
    }
    {
        ReportRig rig("cd-r");
        MediaInfoReport report(rig.core.m_Drives, rig.core.m_Report, rig.view);
        report.DoCompleteMediaCode(0);
        EXPECT_EQ(TrimmedStatus(rig.core), "Invalid media for command");
    }
}

TEST(MediaInfoReport, MovieObjectDumpEndsWithItsMissingBytes)
{
    TempDir dir;
    ReportText view;
    WriteFileText(dir.File("MovieObject.bdmv"), std::string(100, 'M'));
    EXPECT_EQ(DumpMovieObjectFile(dir.File("MovieObject.bdmv"), view, 10), 1);
    EXPECT_EQ(view.GetLine(15).substr(0, 9), "00000050 ");
    EXPECT_EQ(view.GetLine(16), "00000060 4D 4D 4D 4D -- -- -- -- -- -- -- -- -- -- -- -- MMMM");
    EXPECT_EQ(view.GetLine(17), "");
    // A file larger than the report holds fills it to its last line only.
    WriteFileText(dir.File("big.bdmv"), std::string(1 << 20, 'B'));
    EXPECT_EQ(DumpMovieObjectFile(dir.File("big.bdmv"), view, 120), 1);
    EXPECT_EQ(view.GetLineCount(), ReportText::kReportLines);
    EXPECT_EQ(DumpMovieObjectFile(dir.File("missing.bdmv"), view, 0), 0);
}

TEST(MediaInfoReport, BurnerInformationOfADvdMinusR)
{
    ReportRig rig("dvd-r");
    ShowBurnerInfo(rig.core.m_Drives, rig.core.m_Report);
    EXPECT_NE(rig.core.m_Report.GetLine(0).find("Info on burner used to create this disc"), std::string::npos);
    // Signs below "0" show as blanks.
    EXPECT_EQ(rig.core.m_Report.GetLine(2).substr(0, 32), "PIONEER DVR 112D 1 21 QNZ0001234");
    ReportRig blank("dvd-r-blank");
    ShowBurnerInfo(blank.core.m_Drives, blank.core.m_Report);
    EXPECT_EQ(blank.core.m_Report.GetLine(2).substr(0, 70),
              "Not supported by your burner (recommend Pioneer, Liteon, NEC, Optiarc)");
    // Another medium: the page says why it holds none.
    ReportRig plus("dvd+r");
    ShowBurnerInfo(plus.core.m_Drives, plus.core.m_Report);
    EXPECT_EQ(WithoutTrailingBlanks(plus.core.m_Report.GetLine(2)),
              "This DVD+R holds no burner information: only DVD-R/RW media record it");
    EXPECT_EQ(plus.core.m_Report.GetStatusText(), "Burn info for DVD-R/RW media only");
}

TEST(MediaInfoReport, CatalogueNumbersFromTheWriteParametersPageAndTheSubChannel)
{
    ReportRig writer("cd-rom", "dvd-writer");
    std::string number;
    EXPECT_EQ(GetMediaCatalogNumber(writer.core.m_Drives, number), 1);
    EXPECT_EQ(number, "4006381333931");
    EXPECT_EQ(GetCDDAMediaCatalogNumber(writer.core.m_Drives, number), 1);
    EXPECT_EQ(number, "4006381333931");
    // A disc without one, and a reader without the page.
    ReportRig burned("cd-r", "dvd-writer");
    EXPECT_EQ(GetMediaCatalogNumber(burned.core.m_Drives, number), 0);
    EXPECT_EQ(number, "");
    EXPECT_EQ(GetCDDAMediaCatalogNumber(burned.core.m_Drives, number), 0);
    ReportRig reader("cd-rom", "cd-reader");
    EXPECT_EQ(GetMediaCatalogNumber(reader.core.m_Drives, number), 0);
}

TEST(MediaInfoReport, CapacityCountsTheLastBlockToo)
{
    // READ CAPACITY names the last block: 100 blocks end at block 99.
    ReportRig rig("cd-rom");
    auto disc = *emu::FindMediumPreset("cd-rom");
    disc.capacityBlocks = 100;
    disc.tracks[0].blocks = 100;
    ASSERT_TRUE(rig.drive->InsertMedium(disc));
    ASSERT_TRUE(rig.Run().show);
    EXPECT_NE(rig.Shown().find(Format("%-43s%30s", "Format Capacity", "    0.20MB(0.20MB)")), std::string::npos)
        << rig.Shown();
}

TEST(MediaInfoReport, PerformanceLinesOfTheDescriptorsThatCame)
{
    // Descriptors of 16 bytes after the 8-byte header; the write speed at 12-15.
    const auto answer = [](std::uint32_t length, std::vector<std::uint32_t> values, std::size_t valueAt = 12) {
        DriveAnswer made{true, std::vector<std::uint8_t>(8 + 16 * values.size(), 0)};
        scsi::PutBe32(made.bytes.data(), length);
        for (std::size_t i = 0; i < values.size(); ++i)
            scsi::PutBe32(&made.bytes[8 + 16 * i + valueAt], values[i]);
        return made;
    };
    float highest = 0;
    // A CD-RW at 7056 kB/s: 40x, shown as 6000 kB/s.
    EXPECT_EQ(
        PerformanceLines(answer(4 + 16, {7056}), 101, true, -1, highest),
        std::vector<std::string>{Format("%-51s %4s %4.1fx %6dKBps", "Available Write Descriptor ", "CLV", 40.0, 6000)});
    EXPECT_FLOAT_EQ(highest, 40.0f);
    // A length naming more descriptors than came lists those that came.
    EXPECT_EQ(PerformanceLines(answer(4 + 16 * 100, {11000, 5500}), 10, false, 10, highest).size(), 2u);
    // A BD-ROM's equal read descriptors are listed once.
    EXPECT_EQ(PerformanceLines(answer(4 + 16 * 3, {35960, 35960, 17980}, 8), 64, false, -1, highest).size(), 2u);
    EXPECT_TRUE(PerformanceLines(DriveAnswer{true, {0, 0, 0, 40}}, 10, false, 10, highest).empty());
    // The largest rate a drive can name is printed as it came, never overflowed or negative.
    const auto largest = PerformanceLines(answer(4 + 16, {4294967295u}), 10, false, 10, highest);
    ASSERT_EQ(largest.size(), 1u);
    EXPECT_NE(largest[0].find("4294967295KBps"), std::string::npos) << largest[0];
    const auto largestCd = PerformanceLines(answer(4 + 16, {4294967295u}), 101, true, -1, highest);
    ASSERT_EQ(largestCd.size(), 1u);
    EXPECT_NE(largestCd[0].find(Format("%lluKBps", 24347887ull * 150)), std::string::npos) << largestCd[0];
}

TEST(MediaInfoReport, RatedSpeedsFromTheListsByMediaId)
{
    struct Case {
        const char* preset;
        const char* manufacturer;
        const char* type;
        std::vector<std::string> lines;
        bool asks;
    };
    const Case cases[] = {
        // Only in the LTH list: its label, and the media type says so.
        {"bd-r",
         "TYG-BD",
         "Y01",
         {Format("%-58s%s", "Manufacturer Rated Speed (LTH Media)", "2.0x   8990KBps"),
          Format("Media Type   %60s", "BD-R LTH")},
         false},
        // Only in the media-ID list, with a speed that has no text: known, but "Unknown".
        {"dvd-r", "MKM 01RW6X01", "", {Format("%-66s%s", "Manufacturer Rated Speed", "Unknown")}, false},
        {"dvd-r", "QNZ 99RG99", "", {Format("%-66s%s", "Manufacturer Rated Speed", "Unknown")}, true},
        // A DVD+R of the extra list.
        {"dvd+r", "PRODISC", "R04", {Format("%-58s%s", "Manufacturer Rated Speed", "16.0x 22160KBps")}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.manufacturer);
        ReportRig rig(c.preset);
        auto disc = *emu::FindMediumPreset(c.preset);
        disc.manufacturerId = c.manufacturer;
        disc.mediaTypeId = c.type;
        ASSERT_TRUE(rig.drive->InsertMedium(disc));
        const MediaInfoOutcome outcome = rig.Run();
        const std::string shown = rig.Shown();
        for (const std::string& line : c.lines)
            EXPECT_NE(shown.find(line), std::string::npos) << line << "\n" << shown;
        EXPECT_EQ(outcome.unknown.has_value(), c.asks);
    }
}

}  // namespace
