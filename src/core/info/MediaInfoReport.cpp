#include "core/info/MediaInfoReport.h"

#include "core/base/BusyFlags.h"
#include "core/base/Format.h"
#include "core/base/HexDump.h"
#include "core/base/LogFile.h"
#include "core/base/ReportText.h"
#include "core/base/UserPrompt.h"
#include "core/drive/DriveContext.h"
#include "core/drive/MediaType.h"
#include "core/info/MediaInfoTables.h"
#include "core/info/MediaProbes.h"
#include "core/tools/hash/MediaHashDrive.h"
#include "platform/devices/Mounts.h"
#include "scsi/DiscStructure.h"
#include "scsi/Profiles.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <initializer_list>
#include <optional>
#include <span>
#include <fstream>

namespace {

constexpr int kCdMedia = 100;
constexpr int kCdRomMedia = 200;
using namespace disc_structure;
constexpr std::uint32_t kStructureLength = kPhysicalFormatLength;
constexpr std::uint32_t kBdStructureLength = kBdDiscInformationLength;
// The write strategy fields reach byte 105 of the pre-recorded information.
constexpr std::uint32_t kWriteStrategyLength = 108;
constexpr std::uint32_t kBurnerInformationLength = kRecordingManagementLength;
constexpr int kMaxLine = 127;
constexpr std::uint32_t kMaxMovieObjectBytes = 128 * 16;
constexpr const char* kSupportAddress = "support@quenzario.org";

bool IsPlusType(int type)
{
    return type == kMediaDvdPlusRw || type == kMediaDvdPlusR || type == kMediaDvdPlusRwDl || type == kMediaDvdPlusRDl;
}

bool IsMinusType(int type)
{
    return type == kMediaDvdMinusR || type == kMediaDvdMinusRw || type == kMediaDvdMinusRDl;
}

bool IsBdType(int type)
{
    return type >= kMediaBdRom && type <= kMediaBdRRandom;
}

std::string TrimRight(std::string text)
{
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

std::string TrimBoth(const std::string& text)
{
    const auto begin = text.find_first_not_of(' ');
    return begin == std::string::npos ? std::string() : TrimRight(text.substr(begin));
}

// `count` bytes from `at` as characters; a zero byte reads as a blank.
std::string FixedText(const DriveAnswer& answer, std::size_t at, std::size_t count)
{
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t c = answer.At(at + i);
        text.push_back(c == 0 ? ' ' : static_cast<char>(c));
    }
    return text;
}

// `count` bytes from `at` up to the first zero byte.
std::string CText(const DriveAnswer& answer, std::size_t at, std::size_t count)
{
    std::string text;
    for (std::size_t i = 0; i < count && answer.At(at + i) != 0; ++i)
        text.push_back(static_cast<char>(answer.At(at + i)));
    return text;
}

std::string PrintableText(const DriveAnswer& answer, std::size_t at, std::size_t count, std::uint8_t last)
{
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t c = answer.At(at + i);
        if (c >= 0x21 && c <= last)
            text.push_back(static_cast<char>(c));
    }
    return text;
}

const char* BookTypeName(int bookType)
{
    const char* name = DvdBookTypeName(bookType);
    return name ? name : "Unknown";
}

const char* LinearDensityName(int value)
{
    switch (value) {
    case -1: return "Blank Disc";
    case 0: return "0.267um/bit";
    case 1: return "0.293um/bit";
    case 2: return "0.405um/bit";
    case 4: return "0.280um/bit";
    case 5: return "0.153um/bit";
    case 6: return "0.130um/bit";
    case 8: return "0.353um/bit";
    default: return "Unknown";
    }
}

const char* TrackDensityName(int value)
{
    switch (value) {
    case 0: return "0.74um/track";
    case 1: return "0.80um/track";
    case 2: return "0.615um/track";
    case 3: return "0.400um/track";
    case 4: return "0.340um/track";
    default: return "Unknown";
    }
}

const char* FormatLayerName(std::uint32_t code)
{
    switch (code) {
    case 0x0008: return "      CD";
    case 0x0010: return "     DVD";
    case 0x0040: return " Blu-ray";
    case 0x0050: return "  HD DVD";
    default: return "Reserved";
    }
}

// The nominal DVD rates a drive's write speed stands for.
std::uint64_t SnapRate(std::uint64_t rate)
{
    struct Band {
        std::uint64_t low, high, nominal;
    };
    static constexpr Band kBands[] = {{21601, 22159, 22160}, {10811, 11079, 11080}, {5401, 5539, 5540},
                                      {3241, 3323, 3324},    {2701, 2769, 2770},    {1351, 1384, 1385}};
    for (const Band& band : kBands)
        if (rate >= band.low && rate <= band.high)
            return band.nominal;
    return rate;
}

bool AnyNonZero(const DriveAnswer& answer, std::initializer_list<std::pair<int, int>> ranges)
{
    for (const auto& [first, last] : ranges)
        for (int k = first; k <= last; ++k)
            if (answer.At(static_cast<std::size_t>(k)) != 0)
                return true;
    return false;
}

bool Any4xStrategyByte(const DriveAnswer& strategy)
{
    return AnyNonZero(strategy, {{63, 66}, {69, 74}, {77, 82}, {85, 90}});
}

}  // namespace

struct MediaInfoReport::Run {
    int line = 2;
    int mediaType = 0;
    bool cd = false;
    int profile = 0;
    std::string mediaName;
    int bookType = -1;
    bool structureValid = false;
    int slot = 0;
    DriveAnswer physical;  // format 00h (or 11h)
    std::string plusManufacturer;
    std::string plusType;
    std::string minusManufacturer;
    DriveAnswer strategy;  // the pre-recorded information, long enough for the write strategy
    std::string bdDiscId;
    int mediaTypeLine = -1;
    bool unknown = false;
    std::string unknownId;
    std::string unknownType;
    float highestFactor = 0;
    AtipTimes atip;
};

MediaInfoReport::MediaInfoReport(DriveContext& drives, ReportText& status, ReportText& view) :
    m_drives(drives), m_status(status), m_view(view)
{
}

void MediaInfoReport::Status(const std::string& text)
{
    m_status.ShowStatus(text);
}

void MediaInfoReport::Append(Run& run, const std::string& line)
{
    if (run.line > kMaxLine)
        return;
    m_view.SetLine(run.line++, line);
}

MediaInfoOutcome MediaInfoReport::GeneralInfo(bool scanWindowOpen)
{
    MediaInfoOutcome outcome;
    MmcCommands& mmc = m_drives.mmc;
    MediaIdentification& media = m_drives.media;
    Status("Waiting for unit to become ready");
    mmc.WaitForUnitReady(60);
    m_status.SetStatusLine("Ready");
    if (mmc.TestMediaPresent() != 1) {
        Status("No Media is present");
        return outcome;
    }
    m_view.ClearDisplay();
    Status("Please Wait...");
    if (g_bErrorTestRunning == 1 || g_bSpeedTestRunning == 1 || g_bCreateIsoRunning == 1 || scanWindowOpen) {
        outcome.messageBox = "You must stop the test first";
        outcome.caption = "Error Test Running!";
        outcome.boxType = MB_OK | MB_ICONEXCLAMATION;
        return outcome;
    }
    if (mmc.WaitForUnitReady(5) != 0) {
        Status("Drive did not report Ready");
        return outcome;
    }
    if (mmc.TestMediaPresent() != 1) {
        Status("No Media is present");
        return outcome;
    }
    LogEntry("Start GeneralInfo()");
    Run run;
    run.mediaType = media.GetMediaType();
    if (run.mediaType == kMediaBdR || run.mediaType == kMediaBdRe)
        LogEntry("Generalinfo() - BD Media Type found");
    if (run.mediaType == kMediaNoStructure) {
        LogEntry("Generalinfo() - Media Type is not CD/DVD/BD");
        Status("Media info for CD/DVD media only");
        outcome.showDriveInfo = true;
        return outcome;
    }
    Status("Reading Media Information...");
    m_status.ClearDisplayLines();
    run.profile = media.GetMediaTypeName(run.mediaName);
    run.mediaName = run.mediaName.substr(0, 19);
    if (run.profile == profile::kCdRom) {
        run.mediaType = kCdRomMedia;
        run.cd = true;
    } else if (profile::IsCdProfile(run.profile) || profile::IsDdcdProfile(run.profile)) {
        run.mediaType = std::max(run.mediaType, kCdMedia);
        run.cd = true;
    }

    m_view.SetLine(0, Format("%28s%s%28s", " ", "Media Information", " "));
    const std::vector<std::string> entries = m_drives.list.DeviceComboEntries();
    const int selected = m_drives.list.GetDeviceComboSel();
    const std::string drive = selected >= 0 && static_cast<std::size_t>(selected) < entries.size()
        ? entries[static_cast<std::size_t>(selected)]
        : std::string();
    // The drive's name right-aligned as the other values; a long name takes
    // the label's blanks rather than losing its end.
    const std::string shownDrive = drive.substr(0, 199);
    const int labelColumns = std::max(15, 73 - static_cast<int>(shownDrive.size()));
    m_view.SetLine(1, Format("%-*s%s", labelColumns, "Current Drive:", shownDrive.c_str()));

    WriteRegions(run);
    Status("Reading Media Information 10% complete");
    run.slot = run.line++;
    if (run.mediaType == kMediaBdR || run.mediaType == kMediaBdRe || IsPlusType(run.mediaType)
        || run.profile == profile::kBdRom || run.profile == profile::kBdRe)
        ++run.line;
    if (run.mediaType == kMediaBdR || run.mediaType == kMediaBdRe || run.profile == profile::kBdRe) {
        const bool supported = m_drives.reads.DiscStructureAnswer(kBdMedia, kBdDiscInformation, kBdStructureLength).ok;
        LogEntry(supported ? "Generalinfo() - MMC5 ReadDiscStructure command is supported."
                           : "Generalinfo() - MMC5 ReadDiscStructure command not supported.");
    }
    WriteVolume(run);
    WriteCapacity(run);
    WritePhysicalAndMediaCode(run);
    WriteFormatLayers(run);
    WriteRatedSpeed(run);
    WritePerformance(run);

    Status("Reading Media Information 75% complete");
    if (run.unknown && !run.cd && run.mediaType != kMediaBdRom && run.mediaType != kMediaDvdRom) {
        UnknownMediaCode code;
        code.mediaId = run.unknownId;
        media.GetMediaTypeName(code.mediaType);
        code.highestFactor = run.highestFactor;
        DoCompleteMediaCode(code.completeMediaCode);
        outcome.unknown = code;
    }
    WriteWriteStrategy(run);
    WriteBackgroundFormat(run);
    WritePhysicalData(run);
    WriteCompleteMediaCode(run);
    Status("Reading Media Information 100% complete");
    outcome.show = true;
    return outcome;
}

void MediaInfoReport::WriteRegions(Run& run)
{
    MediaHashDrive drive(m_drives);
    if (drive.IsVideoDvd()) {
        const DriveAnswer answer = m_drives.reads.DiscStructureAnswer(kDvdMedia, kCopyrightInformation,
                                                                      kStructureLength);
        if (answer.Holds(6)) {
            std::string regions;
            for (int region = 0; region < 8; ++region)
                if (!(answer.At(5) & (1u << region)))
                    regions += std::to_string(region + 1) + ",";
            if (!regions.empty())
                regions.pop_back();
            Append(run, Format("%-47s%26s", "Disc Regions are ", regions.c_str()));
            Append(run, Format("CSS Protected%60s", drive.IsMediaCSSProtected() == 1 ? "Yes" : "No"));
        }
    } else if (!run.cd && !profile::IsBdProfile(run.profile)) {
        Append(run, Format("Region information %54s", "N/A not a DVD-VIDEO"));
    }
}

void MediaInfoReport::WriteVolume(Run& run)
{
    MediaHashDrive drive(m_drives);
    const BlockReader read = [&drive](std::int64_t lba, std::vector<std::uint8_t>& block) {
        return drive.ReadBlock(lba, block) == 0;
    };
    std::vector<std::uint8_t> descriptor;
    const bool iso = read(16, descriptor) && descriptor.size() >= 2048
        && std::equal(descriptor.begin() + 1, descriptor.begin() + 6, "CD001");
    const auto writeLabel = [&] {
        if (!iso)
            return;
        const std::string label = TrimBoth(std::string(descriptor.begin() + 40, descriptor.begin() + 72));
        if (!label.empty())
            Append(run, Format("Volume Label%61s", label.c_str()));
    };
    if (run.cd) {
        writeLabel();
        return;
    }
    UdfVolume udf;
    if (CheckUDF(read, udf) == 1) {
        Append(run, Format("UDF Format Type%54s%s", " ", udf.revision.c_str()));
        Append(run, Format("UDF Volume %62s", udf.volume.c_str()));
        Append(run, Format("UDF Application id%55s", udf.application.c_str()));
        Append(run, Format("UDF Implementation id%52s", udf.implementation.c_str()));
        Append(run,
               Format("UDF Recording Date/Time (mm/dd/yyyy)%18s%02d/%02d/%04d %2d:%02d:%02d", " ", udf.month, udf.day,
                      udf.year, udf.hour, udf.minute, udf.second));
        return;
    }
    writeLabel();
    if (iso) {
        const std::string application = TrimBoth(CText(DriveAnswer{true, descriptor}, 574, 57));
        if (!application.empty())
            Append(run, Format("Application id%59s", application.c_str()));
    }
}

void MediaInfoReport::WriteCapacity(Run& run)
{
    Status("Reading Media Information 20% complete");
    const CapacityAnswer capacity = m_drives.reads.ReadCapacityAnswer();
    if (capacity.ok && capacity.received >= 4) {
        const auto last = static_cast<std::int32_t>(capacity.lastLba);
        // The disc holds blocks 0 to the last one; a blank disc reports none.
        const std::int64_t bytes = last <= 0 ? 0 : (std::int64_t{last} + 1) * 2048;
        if (bytes <= 0) {
            // A blank disc's free space follows all the same.
            Append(run, Format("%-43s%30s", "Format Capacity ", "Blank Disc"));
        } else {
            const auto count = static_cast<float>(bytes);
            const std::string size = run.cd && bytes <= 1048576
                ? Format("%8.2fMB(%4.2fMB)", count / 1048576.0, count / 1e6)
                : Format("%8.2fGB(%4.2fGB)", count / 1073741824.0, count / 1e9);
            Append(run, Format("%-43s%30s", "Format Capacity", size.c_str()));
            if (run.mediaType == kMediaBdRom && bytes / 2048 > 0x1DFFFFF)
                Append(run, Format("Start of Layer 1 LBA%54Xh", 0x1DFFFFFu));
        }
    } else if (run.mediaType == kMediaDvdRom) {
        Append(run, Format("%s%59s", "Formatted Size", "Pressed DVD"));
    }
    WriteFreeSpace(run);
}

void MediaInfoReport::WriteFreeSpace(Run& run)
{
    const auto freeBlocksOf = [this](std::uint32_t track) { return m_drives.reads.TrackFreeBlocks(track).value_or(0); };
    auto free = freeBlocksOf(1);
    if (free <= 0) {
        // An appendable disc writes on in its last track, the incomplete one.
        const std::optional<DiscInformation> disc = m_drives.reads.ReadDiscInformationFields();
        const std::uint32_t last = disc ? disc->lastTrackInLastSession.value_or(1) : 1;
        if (last > 1)
            free = freeBlocksOf(last);
    }
    if (run.mediaType != kMediaDvdRom && free > 0)
        Append(run, Format("%s%61u", "Free Blocks ", static_cast<unsigned>(free)));
    if (free > 0) {
        const double bytes = double(free) * 2048;
        // Right-aligned as a whole, so that a longer figure keeps its unit
        // within the line.
        const std::string size = run.cd ? Format("%.2fMB/%4.2fMB", bytes / 1048576.0, bytes / 1e6)
                                        : Format("%.2fGB/%4.2fGB", bytes / 1073741824.0, bytes / 1e9);
        Append(run, Format("%s%59s", "Free Capacity ", size.c_str()));
    }
}

void MediaInfoReport::WritePhysicalAndMediaCode(Run& run)
{
    run.bookType = m_drives.media.GetBookType();
    LogEntry("GeneralInfo() - Checking book type");
    static constexpr int kNoBookLine[] = {4, 5, 6, 64, 65, 66, 67, 83, 88, 90};
    if (std::find(std::begin(kNoBookLine), std::end(kNoBookLine), run.mediaType) == std::end(kNoBookLine)) {
        if (!run.cd)
            Append(run, Format("%s%63s", "Book Type ", BookTypeName(run.bookType)));
        Append(run, Format("%s%62s", "Media Type ", run.mediaName.c_str()));
    }

    Status("Reading Media Information 30% complete");
    run.structureValid = true;
    LogEntry("GeneralInfo() - Sending SCSI_Cmd_ReadDvdStruct command");
    run.physical = m_drives.reads.DiscStructureAnswer(kDvdMedia, kPhysicalFormat, kStructureLength);
    if (!run.physical.ok) {
        LogEntry("Generalinfo() - SCSI_Cmd_ReadDvdStruct 00h failed, trying 11h");
        run.physical = m_drives.reads.DiscStructureAnswer(kDvdMedia, kAdipInformation, kAdipLength);
        if (!run.physical.ok) {
            LogEntry("Generalinfo() - SCSI_Cmd_ReadDvdStruct 11h failed, returned non zero");
            if (!run.cd)
                m_view.SetLine(run.slot, Format("%-66s%s", "Media code/Manufacturer ID", "Unknown"));
            run.structureValid = false;
        }
    }
    if (run.structureValid) {
        LogEntry("GeneralInfo() - SCSI_Cmd_ReadDvdStruct successful");
        Status("Reading Media Information 35% complete");
        if (run.physical.Holds(6)) {
            const int size = run.physical.At(5) >> 4;
            if (size == 0 || size == 1)
                Append(run, Format("%s%62dcm", "Disc size", size == 0 ? 12 : 8));
        }
    }
    m_drives.media.GetDriveProfile(run.profile);
    LogEntry("Generalinfo() - GetDriveProfile returned " + std::to_string(run.profile));

    const DriveAnswer& code = run.physical;
    const int type = run.mediaType;
    if (IsPlusType(type) && run.structureValid) {
        LogEntry("Generalinfo() - Plus media code found");
        bool unset = true;
        for (std::size_t i = 23; i <= 32; ++i)
            unset = unset && code.At(i) == 0x01;
        run.plusManufacturer = unset ? std::string(8, ' ') : CText(code, 23, 8);
        run.plusType = unset ? std::string(3, ' ') : CText(code, 31, 3);
        m_view.SetLine(
            run.slot,
            Format("%-62s%-8s%3s", "Media code/Manufacturer ID", run.plusManufacturer.c_str(), run.plusType.c_str()));
        m_view.SetLine(run.slot + 1, Format("%-70s%02Xh", "Media Product Revision Number", code.At(34)));
    } else if (type == kMediaDvdRam) {
        m_view.SetLine(run.slot, Format("MediaCode %63s", PrintableText(code, 553, 64, 0x7D).c_str()));
    } else if (type == kMediaDvdRom && !run.cd) {
        m_view.SetLine(run.slot, Format("%s%47s", "Media code/Manufacturer ID", "N/A Pressed DVD"));
    } else if (IsMinusType(type) || type == kMediaHdDvdR || type == kMediaHdDvdRw || type == kMediaPlusUnknownId) {
        LogEntry("Generalinfo() - Minus media code found");
        const DriveAnswer prerecorded = m_drives.reads.DiscStructureAnswer(kDvdMedia, kPrerecordedInformation,
                                                                           kPrerecordedLength);
        if (!prerecorded.ok) {
            m_view.SetLine(run.slot, Format("%-73s", "Drive doesn't support media code"));
        } else {
            std::string id;
            for (std::size_t at : {21u, 29u})
                for (std::size_t i = at; i < at + 6; ++i)
                    if (prerecorded.At(i) >= 0x20 && prerecorded.At(i) <= 0x7D)
                        id.push_back(static_cast<char>(prerecorded.At(i)));
            run.minusManufacturer = TrimRight(id);
            m_view.SetLine(run.slot, Format("Media code/Manufacturer ID%47s", run.minusManufacturer.c_str()));
            if (prerecorded.At(10) == 2)
                Append(run, Format("Media type%63s", "DVD-RW"));
        }
    } else if (IsBdType(type)) {
        WriteBd(run);
    } else if (run.cd) {
        WriteCdMediaCode(run);
    } else {
        m_view.SetLine(run.slot, Format("%-73s", "Manufacturer ID cannot be read  "));
    }
    if (IsPlusType(type) && !run.structureValid)
        m_view.SetLine(run.slot, Format("%-73s", "Manufacturer ID cannot be read  "));
}

void MediaInfoReport::WriteCdMediaCode(Run& run)
{
    // The maker's times are in the pre-groove of a writable CD (ATIP).
    if (const std::optional<AtipTimes> atip = m_drives.reads.ReadAtipTimes())
        run.atip = *atip;
    const int* in = run.atip.leadIn;
    const int* out = run.atip.leadOut;
    if (in[0] == 0 && in[1] == 0 && in[2] == 0) {
        m_view.SetLine(run.slot, Format("%-36s%37s", "Manufacturer Media Code", "Not Specified"));
    } else {
        Append(run, Format("%-64s%2dm%2ds%2df", "ATIP Start Time of Lead In (Media Code)", in[0], in[1], in[2]));
        Append(run, Format("%-64s%2dm%2ds%2df", "ATIP Last Possible Start Time of Lead Out", out[0], out[1], out[2]));
        Append(run, Format("%-32s%41s", "Manufacturer Name", GetCdrManufacturer(in[0], in[1], in[2]).c_str()));
    }
    if (run.mediaType != kCdRomMedia) {
        const char* hdBurn = IsHdBurnCertified(in[0], in[1], in[2]) ? "YES"
            : IsHdBurnCapable(in[0], in[1], in[2])                  ? "No, but does work"
                                                                    : "NO";
        Append(run, Format("%-32s%41s", "HD-BURN Certified", hdBurn));
    }
    std::string number;
    if (GetMediaCatalogNumber(m_drives, number) == 1)
        Append(run, Format("%-32s%41s", "Media Catalogue Number", number.c_str()));
    if (GetCDDAMediaCatalogNumber(m_drives, number) == 1)
        Append(run, Format("%-32s%41s", "UPC / Bar Code Number", number.c_str()));
}

void MediaInfoReport::WriteBd(Run& run)
{
    LogEntry("Generalinfo() - Blu-ray media found");
    DriveContext& drive = m_drives;
    const DriveAnswer info = drive.reads.DiscStructureAnswer(kBdMedia, kBdDiscInformation, kBdStructureLength);
    run.bdDiscId = FixedText(info, 104, 9);
    const bool rom = run.mediaType == kMediaBdRom;
    m_view.SetLine(run.slot, Format("Media code/Manufacturer ID%47s", rom ? "N/A BD-ROM" : run.bdDiscId.c_str()));
    if (!rom) {
        Append(run, Format("Disc Information Identifier%46s", FixedText(info, 4, 2).c_str()));
        m_view.SetLine(run.slot + 1, Format("Disc Type Identifier       %46s", FixedText(info, 12, 3).c_str()));
    }
    Status("Reading Media Information 40% complete");
    const char* name = run.mediaType == kMediaBdRe ? "BD-RE"
        : run.mediaType == kMediaBdRRandom         ? "BD-RW"
        : run.mediaType == kMediaBdR               ? "BD-R"
                                                   : "BD-ROM";
    run.mediaTypeLine = run.line;
    Append(run, Format("Media Type   %60s", name));
    LogEntry("Generalinfo() - Blu-ray media found");
    if (!rom) {
        const DriveAnswer spare = drive.reads.DiscStructureAnswer(kBdMedia, kBdSpareArea, 16);
        if (spare.Holds(16)) {
            const auto free = static_cast<std::int32_t>(spare.Be32(8));
            const auto allocated = static_cast<std::int32_t>(spare.Be32(12));
            if (free > 0)
                Append(run, Format("Free Spare Blocks%55Xh", static_cast<unsigned>(free)));
            if (allocated > 0)
                Append(run, Format("Allocated Spare Blocks%50Xh", static_cast<unsigned>(allocated)));
        }
    }
    Status("Reading Media Information 45% complete");
    LogEntry("Generalinfo() - SCSI_Cmd_ReadDvdStruct 08h fetch DDS BD Block");
    const DriveAnswer dds = drive.reads.DiscStructureAnswer(kBdMedia, kBdDiscDefinition, 56);
    if (dds.Holds(56) && dds.At(4) == 'D' && dds.At(5) == 'S') {
        struct Field {
            const char* label;
            int width;
            std::size_t at;
        };
        static constexpr Field kFields[] = {{"First PSN Drive Area", 52, 20},    {"First PSN Defect List", 51, 28},
                                            {"PSN User Data Area", 54, 36},      {"PSN Last User Data Area", 49, 40},
                                            {"Inner Spare Area 0 Size", 49, 44}, {"Outer Spare Area Size", 51, 48},
                                            {"Inner Spare Area 1 Size", 49, 52}};
        for (const Field& field : kFields)
            Append(run, Format("%s%*Xh", field.label, field.width, dds.Be32(field.at)));
    }
}

void MediaInfoReport::WriteFormatLayers(Run& run)
{
    Status("Reading Media Information 50% complete");
    LogEntry("Generalinfo() - Check for Hybrid Media");
    DriveAnswer layers = m_drives.reads.DiscStructureAnswer(kBdMedia, kFormatLayers, kBdStructureLength);
    if (!layers.ok)
        layers = m_drives.reads.DiscStructureAnswer(kDvdMedia, kFormatLayers, kBdStructureLength);
    if (!layers.ok) {
        LogEntry("Generalinfo() - No Blue Ray Media");
        return;
    }
    // After the data length, two reserved bytes and the layer count and
    // default: one 2-byte code per layer, as many as the drive sent.
    const std::uint32_t length = layers.Be16(0);
    const std::uint32_t codes = length >= 4 ? (length - 4) / 2 : 0;
    for (std::uint32_t n = 0; n < codes && layers.Holds(8 + 2 * n); ++n)
        Append(run, Format("Format Layer %d %58s", static_cast<int>(n), FormatLayerName(layers.Be16(6 + 2 * n))));
}

void MediaInfoReport::WriteRatedSpeed(Run& run)
{
    Status("Reading Media Information 55% complete");
    std::string label = "Manufacturer Rated Speed";
    int ratedLine = -1;
    const auto remember = [&](const std::string& key) {
        run.unknown = true;
        run.unknownId = key;
        m_drives.media.GetMediaTypeName(run.unknownType);
    };
    const int type = run.mediaType;
    if (type >= kMediaBdR && type <= kMediaBdRRandom) {
        const std::int64_t capacity = m_drives.media.GetMediaCapacity();
        if (capacity != 0)
            Append(run, Format("End of Layer 0 LBA%54Xh", static_cast<unsigned>(capacity & 0xFFFFFFFF)));
        LogEntry("Generalinfo() - Do Blue Ray Media speed");
        ratedLine = run.line;
        Append(run, Format("%-66s%s", label.c_str(), "Unknown"));
        const std::string key = TrimRight(run.bdDiscId);
        const auto find = [&key](std::span<const BdRatedSpeedEntry> list) -> const BdRatedSpeedEntry* {
            for (const BdRatedSpeedEntry& row : list)
                if (key == row.discId)
                    return &row;
            return nullptr;
        };
        const BdRatedSpeedEntry* hit = key.empty() ? nullptr : find(BdRatedSpeeds());
        if (!hit && !key.empty()) {
            hit = find(BdLthRatedSpeeds());
            if (hit) {
                label = "Manufacturer Rated Speed (LTH Media)";
                if (run.mediaTypeLine >= 0)
                    m_view.SetLine(run.mediaTypeLine, Format("Media Type   %60s", "BD-R LTH"));
            }
        }
        if (hit && *BdSpeedText(hit->speed))
            m_view.SetLine(ratedLine, Format("%-58s%s", label.c_str(), BdSpeedText(hit->speed)));
        if (!hit && !key.empty())
            remember(key);
    }
    Status("Reading Media Information 60% complete");
    if (IsMinusType(type)) {
        LogEntry("Generalinfo() - Do minus DVD speed");
        ratedLine = run.line;
        Append(run, Format("%-66s%s", label.c_str(), "Unknown"));
        LogEntry("Generalinfo() - Start do loop");
        run.strategy = m_drives.reads.DiscStructureAnswer(kDvdMedia, kPrerecordedInformation, kWriteStrategyLength);
        const std::string& key = run.minusManufacturer;
        const auto show = [&](int speed, const char* text) {
            if (*text)
                m_view.SetLine(ratedLine, Format("%-58s%s", label.c_str(), text));
            if (speed <= 3 && run.strategy.At(10) == 0x52 && Any4xStrategyByte(run.strategy))
                m_view.SetLine(ratedLine, Format("%-58s%s", label.c_str(), ">=4.0x 5540KBps"));
        };
        bool hit = false;
        if (!key.empty())
            for (const DvdMinusRatedSpeedEntry& row : DvdMinusRatedSpeeds())
                if (key == row.manufacturerId) {
                    hit = true;
                    show(row.speed, DvdMinusSpeedText(row.speed));
                    break;
                }
        LogEntry("Generalinfo() - Minus DVD speed done");
        Status("Reading Media Information 65% complete");
        if (!hit && !key.empty()) {
            LogEntry("Generalinfo() - Do Media ID");
            for (const DvdMinusMediaIdEntry& row : DvdMinusMediaIds())
                if (key == TrimRight(row.mediaId)) {
                    hit = true;
                    const bool listed = row.speed >= 20 || row.speed == 18 || row.speed == 16 || row.speed == 8
                        || row.speed == 4 || row.speed == 2 || row.speed == 1;
                    show(row.speed, listed ? DvdMinusSpeedText(row.speed) : "");
                    break;
                }
            LogEntry("Generalinfo() - Media ID Done");
            if (!hit)
                remember(key);
        }
    } else if (run.profile == profile::kDvdPlusRw || run.profile == profile::kDvdPlusR
               || run.profile == profile::kDvdPlusRwDl || run.profile == profile::kDvdPlusRDl || IsPlusType(type)) {
        ratedLine = run.line;
        Append(run, Format("%-66s%s", label.c_str(), "Unknown"));
        const std::string key = Format("%-8s", run.plusManufacturer.c_str()) + run.plusType;
        if (!TrimBoth(key).empty()) {
            std::optional<double> speed;
            if (const MediaIdEntry* entry = FindMediaId(key))
                speed = entry->ratedSpeed;
            else
                for (const DvdPlusExtraEntry& row : DvdPlusExtras())
                    if (key == row.mediaId) {
                        speed = row.speed;
                        break;
                    }
            if (!speed)
                remember(key);
            else if (const std::string text = DvdPlusSpeedText(*speed); !text.empty())
                // The speed ends at the line's last column, also the five-digit rates.
                m_view.SetLine(ratedLine,
                               Format("%-*s%s", static_cast<int>(73 - text.size()), label.c_str(), text.c_str()));
        }
    }
}

void MediaInfoReport::WritePerformance(Run& run)
{
    Status("Reading Media Information 70% complete");
    LogEntry("Generalinfo() - Do GetPerformance");
    const DriveAnswer answer = run.mediaType == kCdRomMedia ? DriveAnswer{} : m_drives.reads.WriteSpeedsAnswer(20);
    if (!answer.Holds(8)) {
        LogEntry("Generalinfo() - SCSI_Cmd_GetPerformance failed - returned non zero");
        return;
    }
    if (run.bookType == 0)
        return;
    for (const std::string& line : PerformanceLines(answer, run.mediaType, run.cd, run.bookType, run.highestFactor))
        Append(run, line);
}

std::vector<std::string> PerformanceLines(const DriveAnswer& answer, int mediaType, bool cd, int bookType,
                                          float& highestFactor)
{
    // As many descriptors as the length names and the drive sent.
    const std::uint32_t length = answer.Be32(0);
    const std::size_t listed = length >= 4 ? (length - 4) / 16 : 0;
    const std::size_t count = std::min(listed, answer.bytes.size() >= 8 ? (answer.bytes.size() - 8) / 16 : 0);
    const bool bdRom = mediaType == kMediaBdRom;
    std::vector<std::string> lines;
    std::uint32_t previous = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = 8 + 16 * i;
        const std::uint32_t value = answer.Be32(at + (bdRom ? 8 : 12));
        if (bdRom && i > 0 && value == previous)
            continue;
        previous = value;
        // 64 bits: a drive may name any 32-bit rate, up to 4294967295 kB/s.
        float factor = 0;
        std::uint64_t rate = 0;
        if (cd) {
            const double exact = value / 176.4;
            factor = static_cast<float>(exact);
            rate = static_cast<std::uint64_t>(exact + 0.5) * 150;
        } else {
            rate = SnapRate(value);
            factor = static_cast<float>(static_cast<double>(rate) / (IsBdType(mediaType) ? 4495.0 : 1385.0));
        }
        const int rotation = (answer.At(at) >> 3) & 0x03;
        const char* rotationName = rotation == 1 ? "CAV" : rotation != 0 ? "N/A" : bookType == 1 ? "zCLV" : "CLV";
        lines.push_back(Format("%-51s %4s %4.1fx %6lluKBps",
                               bdRom ? "Read Performance Descriptor " : "Available Write Descriptor ", rotationName,
                               static_cast<double>(factor), static_cast<unsigned long long>(rate)));
        highestFactor = std::max(highestFactor, factor);
    }
    return lines;
}

void MediaInfoReport::WriteWriteStrategy(Run& run)
{
    if (run.mediaType != kMediaDvdMinusR && run.mediaType != kMediaDvdMinusRw)
        return;
    Status("Reading Media Information 80% complete");
    const DriveAnswer& b = run.strategy;
    const auto any = [&b](std::initializer_list<std::pair<int, int>> ranges) { return AnyNonZero(b, ranges); };
    const char* speed = nullptr;
    if (b.At(10) != 0x52)
        speed = any({{45, 50}, {53, 58}})         ? "2.0x 2770KBps"
            : any({{15, 18}, {37, 42}, {56, 56}}) ? "1.0x 1385KBps"
                                                  : " Not Defined";
    else
        speed = Any4xStrategyByte(b) ? "4.0x 5540KBps" : any({{45, 50}, {53, 58}}) ? "2.0x 2770KBps" : "1.0x 1385KBps";
    Append(run, Format("Write Strategy Speed%53s", speed));
    if (b.At(10) == 0x52) {
        const auto bytes = [&b](int first, int last) {
            std::string text;
            for (int k = first; k <= last; ++k)
                text += Format(k == first ? "%02X" : " %02X", b.At(static_cast<std::size_t>(k)));
            return text;
        };
        struct Field {
            const char* label;
            int width;
            int first;
            int last;
        };
        static constexpr Field kFields[] = {{"2x Speed OPC beta  ", 52, 45, 45},
                                            {"2x Speed OPC power ", 52, 46, 46},
                                            {"2x Write Strategy field 1 ", 36, 47, 50},
                                            {"2x Write Strategy field 2 ", 30, 53, 58},
                                            {"4x Speed OPC beta  ", 52, 61, 61},
                                            {"4x Speed OPC power ", 52, 62, 62},
                                            {"4x Write Strategy field 1 ", 36, 63, 66},
                                            {"4x Write Strategy field 2 ", 36, 69, 74},
                                            {"4x Write Strategy field 3 ", 36, 77, 82},
                                            {"4x Speed OPC beta multi-pulse ", 41, 85, 85},
                                            {"4x Speed OPC power multi-pulse ", 40, 86, 86},
                                            {"4x Write Strategy field 4 ", 36, 87, 90},
                                            {"4x Write Strategy field 5 ", 30, 93, 98},
                                            {"4x Write Strategy field 6 ", 33, 101, 105}};
        for (const Field& field : kFields)
            Append(run, Format("%s%*s%s", field.label, field.width, " ", bytes(field.first, field.last).c_str()));
    }
    Status("Reading Media Information 85% complete");
}

void MediaInfoReport::WriteBackgroundFormat(Run& run)
{
    if (run.bookType != 9 && run.profile != profile::kDvdPlusRw && run.profile != profile::kDvdPlusRwDl)
        return;
    const std::optional<DiscInformation> info = m_drives.reads.ReadDiscInformationFields();
    if (!info) {
        LogEntry("GeneralInfo() - SCSI_Cmd_ReadDiscInformation failed");
        return;
    }
    static constexpr const char* kStates[] = {"Blank Disc", "Suspended", "In Progress", "Completed"};
    Append(run, Format("%s%54s", "BG Format Status   ", kStates[info->backgroundFormat]));
}

void MediaInfoReport::WritePhysicalData(Run& run)
{
    int layers = 1;
    int trackPath = 0;
    int linear = -1;
    int track = -1;
    std::uint32_t dataStart = 0;
    std::uint32_t layerZeroEnd = 0;
    const DriveAnswer physical = m_drives.reads.DiscStructureAnswer(kDvdMedia, kPhysicalFormat, kStructureLength);
    if (physical.Holds(20)) {
        layers = ((physical.At(6) >> 5) & 0x03) + 1;
        trackPath = (physical.At(6) >> 4) & 0x01;
        linear = physical.At(7) >> 4;
        track = physical.At(7) & 0x0F;
        dataStart = physical.Be32(8) & 0xFFFFFF;
        layerZeroEnd = physical.Be32(16) & 0xFFFFFF;
    } else if (!m_drives.reads.DiscStructureAnswer(kDvdMedia, kAdipInformation, kAdipLength).ok) {
        LogEntry("Generalinfo() - SCSI_Cmd_ReadDvdStruct failed, returned non zero");
        LogEntry("Generalinfo() - ReadDVDStruct() with format  Failed, returned non zero");
    }
    Status("Reading Media Information 90% complete");
    if (run.cd || IsBdType(run.mediaType))
        return;
    const CapacityAnswer capacity = m_drives.reads.ReadCapacityAnswer();
    const std::uint32_t dataEnd = capacity.ok && capacity.received >= 4 ? capacity.lastLba : 0;
    if (dataStart != 0)
        Append(run, Format("%s%47Xh", "Data area starting sector", dataStart));
    if (dataEnd != 0)
        Append(run, Format("%s%52Xh", "Data area end sector", dataEnd));
    if (layerZeroEnd != 0)
        Append(run, Format("%s%54Xh", "Layer 0 end sector", layerZeroEnd));
    Append(run, Format("%s%58s", "Linear Density ", LinearDensityName(linear)));
    Append(run, Format("%s%59s", "Track Density ", TrackDensityName(track)));
    Append(run, Format("Number of Layers%57d", layers));
    if (layers > 1)
        Append(run,
               Format("Layer Track Path direction %46s",
                      trackPath == 0 ? "(PTP) Parallel track path" : "(OTP) Opposite track path"));
}

void MediaInfoReport::WriteCompleteMediaCode(Run& run)
{
    Append(run, "");
    const int heading = run.line;
    Append(run, Format("%27s%s%27s", " ", "Complete Media Code", " "));
    Status("Reading Media Information 92% complete");
    const int first = run.line;
    const int count = first <= kMaxLine ? DoCompleteMediaCode(first) : 0;
    if (count == 0)
        m_view.SetLine(heading, "");
    run.line += count;
    Status("Reading Media Information 95% complete");
    if (GetMovieObjectFileData(first + 2) == 1) {
        m_view.SetLine(first, Format("%27s%s%27s", " ", "BD MovieObject.bdmv data", " "));
        m_view.SetLine(first + 1, "");
    }
}

int MediaInfoReport::ReadMediaCode(std::vector<std::uint8_t>& code, std::uint32_t& firstAddress, int& lines)
{
    MediaIdentification& media = m_drives.media;
    const int bookType = media.GetBookType();
    const int type = media.GetMediaType();
    int profile = 0;
    media.GetDriveProfile(profile);
    LogEntry("GetDriveProfile() returned " + std::to_string(profile));
    firstAddress = 0;
    const auto fail = [this](const char* log, const char* status) {
        LogEntry(log);
        Status(status);
        return 0;
    };
    DriveAnswer answer;
    if (IsMinusType(type)) {
        answer = m_drives.reads.DiscStructureAnswer(kDvdMedia, kPrerecordedInformation, kPrerecordedLength);
        if (!answer.ok)
            return fail("DVD-R/RW ReadDvdStruct failed - returned non zero", "Drive does not support command");
        lines = 3;
    } else if (IsPlusType(type)) {
        answer = m_drives.reads.DiscStructureAnswer(kDvdMedia, kPhysicalFormat, kStructureLength);
        if (!answer.ok)
            answer = m_drives.reads.DiscStructureAnswer(kDvdMedia, kAdipInformation, kAdipLength);
        if (!answer.ok)
            return fail("DVD+R/RW ReadDVDStruct failed = returned non zero", "Cannot read MID on blank media  ");
        lines = 4;
    } else if (IsBdType(type)) {
        return 0;
    } else if (bookType == 1) {
        answer = m_drives.reads.DiscStructureAnswer(kDvdMedia, kPhysicalFormat, kStructureLength);
        if (!answer.ok)
            return fail("DVD+R/RW ReadDVDStruct failed = returned non zero", "Cannot read MID on blank media  ");
        // The disc manufacturing information of a DVD-RAM.
        constexpr std::size_t kRamCode = 544;
        std::vector<std::uint8_t> moved(80, 0);
        for (std::size_t i = 0; i < moved.size(); ++i)
            moved[i] = answer.At(kRamCode + i);
        answer.bytes = moved;
        firstAddress = kRamCode;
        lines = 5;
    } else {
        return fail("profile or book not recognised,  must be invalid media", "Invalid media for command");
    }
    LogEntry("ReadDVDStruct successful - dumping data to display buffers");
    code.assign(static_cast<std::size_t>(lines) * 16, 0);
    for (std::size_t i = 0; i < code.size(); ++i)
        code[i] = answer.At(i);
    return lines;
}

int MediaInfoReport::DoCompleteMediaCode(int firstLine)
{
    LogEntry("Start DoCompleteMediaCode(int index)");
    std::vector<std::uint8_t> code;
    std::uint32_t address = 0;
    int lines = 0;
    if (ReadMediaCode(code, address, lines) == 0)
        return 0;
    for (int i = 0; i < lines && firstLine + i <= kMaxLine; ++i)
        m_view.SetLine(firstLine + i, HexDumpLine(&code[static_cast<std::size_t>(i) * 16], address + 16u * i));
    return lines;
}

int MediaInfoReport::DoCompleteMediaCode(std::string& text)
{
    LogEntry("Start DoCompleteMediaCode( )");
    text.clear();
    std::vector<std::uint8_t> code;
    std::uint32_t address = 0;
    int lines = 0;
    if (ReadMediaCode(code, address, lines) == 0)
        return 0;
    for (int i = 0; i < lines; ++i)
        text += HexDumpLine(&code[static_cast<std::size_t>(i) * 16], address + 16u * i) + "\n";
    return 1;
}

int MediaInfoReport::GetMovieObjectFileData(int firstLine)
{
    LogEntry("Start GetMovieObjectFileData()");
    const CDevice* device = m_drives.list.m_pCurrentDevice;
    if (!device)
        return 0;
    const std::string mounted = MountPointOf(m_drives.Sources().devRoot + "/" + device->m_strDriveText);
    if (mounted.empty())
        return 0;
    return DumpMovieObjectFile(mounted + "/BDMV/MovieObject.bdmv", m_view, firstLine);
}

int DumpMovieObjectFile(const std::string& path, ReportText& view, int firstLine)
{
    std::ifstream file(path, std::ios::binary);
    if (!file || firstLine < 0 || firstLine > kMaxLine)
        return 0;
    // No more than the report's remaining lines hold.
    const std::uint32_t room = static_cast<std::uint32_t>(kMaxLine + 1 - firstLine) * 16;
    std::vector<std::uint8_t> data(std::min(room, kMaxMovieObjectBytes));
    file.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
    data.resize(static_cast<std::size_t>(file.gcount()));
    LogEntry("GetMovieObjectFileData()  read .bdmv file successful");
    const std::size_t full = data.size() / 16;
    int line = firstLine;
    for (std::size_t i = 0; i < full; ++i)
        view.SetLine(line++, HexDumpLine(&data[i * 16], static_cast<std::uint32_t>(i * 16)));
    if (line <= kMaxLine) {
        // The last line holds the rest, its missing places as "--".
        const std::size_t rest = data.size() % 16;
        std::string text = Format("%08X ", static_cast<unsigned>(full * 16));
        std::string characters;
        for (std::size_t i = 0; i < 16; ++i) {
            if (i < rest) {
                const std::uint8_t c = data[full * 16 + i];
                text += Format("%02X ", c);
                characters.push_back(c >= 32 && c <= 126 ? static_cast<char>(c) : '.');
            } else {
                text += "-- ";
            }
        }
        view.SetLine(line, text + characters);
    }
    return 1;
}

void ShowBurnerInfo(DriveContext& drives, ReportText& report)
{
    report.ClearDisplay();
    report.ShowStatus("Please Wait...");
    drives.mmc.WaitForUnitReady(5);
    if (drives.mmc.TestMediaPresent() != 1) {
        report.ShowStatus("No Media is present");
        return;
    }
    const int type = drives.media.GetMediaType();
    if (type == kMediaNoStructure) {
        report.ShowStatus("Media info for CD/DVD media only");
        return;
    }
    report.SetLine(0, Format("%17s%s%17s", " ", "Info on burner used to create this disc", " "));
    report.SetLine(1, "");
    if (!IsMinusType(type)) {
        // The page says why it stays empty.
        std::string name;
        drives.media.GetMediaTypeName(name);
        report.SetLine(2,
                       "This " + (name.empty() ? std::string("disc") : name)
                           + " holds no burner information: only DVD-R/RW media record it");
        report.RefreshDisplay(ReportText::kWholeReport);
        report.ShowStatus("Burn info for DVD-R/RW media only");
        return;
    }
    const DriveAnswer answer = drives.reads.DiscStructureAnswer(kDvdMedia, kRecordingManagementData,
                                                                kBurnerInformationLength, 2);
    if (!answer.Holds(76)) {
        report.SetLine(2, "Not supported by your burner (recommend Pioneer, Liteon, NEC, Optiarc)");
    } else {
        std::string text;
        for (std::size_t i = 8; i < 76; ++i) {
            const auto c = static_cast<char>(answer.At(i));
            text.push_back(c < '0' || c > 'z' ? ' ' : c);
        }
        report.SetLine(2, text);
    }
    report.RefreshDisplay(ReportText::kWholeReport);
    report.SetStatusLine("Ready");
}

std::string PercentEncode(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '-' || c == '_' || c == '.' || c == '~')
            out.push_back(c);
        else
            out += Format("%%%02X", byte);
    }
    return out;
}

std::string MediaCodeMailLink(const UnknownMediaCode& code)
{
    std::string body = "Quenzario Media Code Submission.\r\n\r\n";
    body += "Media Code: \t'" + code.mediaId + "'\r\n";
    body += "Media Type:\t" + code.mediaType + "\r\n";
    body += "Max Write Descriptor \t" + Format("%4.1fx", static_cast<double>(code.highestFactor)) + "\r\n";
    body += "Brand:\t<------------PLEASE FILL THIS IN WITH THE BRAND OF THE MEDIA\r\n";
    body
        += "\t\t\t\tMedia Max Speed:\t\t<------------PLEASE FILL THIS IN WITH THE RATED MAXIMUM SPEED OF THE MEDIA\r\n";
    body += "\r\n";
    std::string dump = code.completeMediaCode;
    for (std::size_t at = 0; (at = dump.find('\n', at)) != std::string::npos; at += 2)
        if (at == 0 || dump[at - 1] != '\r')
            dump.insert(at, "\r");
    body += dump;
    return std::string("mailto:") + kSupportAddress + "?subject=" + PercentEncode("Quenzario MediaCode Submit")
        + "&body=" + PercentEncode(body);
}
