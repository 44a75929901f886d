#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/app/MainDialogCore.h"
#include "core/app/MainPages.h"
#include "core/drive/CommandFailure.h"
#include "core/drive/SenseTexts.h"
#include "scsi/Opcodes.h"
#include "platform/files/SafeFile.h"
#include "platform/text/Trim.h"

#include <algorithm>

namespace {

constexpr int kSectorViewLines = 32;
constexpr std::size_t kReportLines = static_cast<std::size_t>(ReportText::kReportLines);
constexpr std::size_t kMediaCodeOffsetColumns = 9;

}  // namespace

SelectionFacts MainDialogCore::InterrogateSelectedDrive()
{
    SelectionFacts facts;
    CDevice* device = m_Drives.list.m_pCurrentDevice;
    if (!device)
        return facts;
    LogEntry("OnSelchangeDevicescombo() - Calling TestMMCCompliant()");
    std::string failure;
    facts.mmcCompliant = m_Drives.mmc.TestMMCCompliant(&failure);
    device->m_bMMCCompliant = facts.mmcCompliant;
    if (facts.mmcCompliant == 0) {
        LogEntry("OnSelchangeDevicescombo() - TestMMCCompliant() - failed");
        LogEntry("OnSelchangeDevicescombo() - " + failure);
        m_Report.ShowStatus("An unexpected error has occurred");
        // The status line has no room for the reason: the user is told which command failed and why.
        facts.notice.messageBox = "An unexpected error has occurred with " + device->m_strIdentity + ":\n" + failure;
    } else {
        LogEntry("OnSelchangeDevicescombo() - TestMMCCompliant() - successful");
    }
    facts.mediaPresent = m_Drives.mmc.TestMediaPresent() == 1;
    if (facts.mediaPresent && m_Drives.media.GetMediaIDString(facts.mediaId) != 1)
        facts.mediaId.clear();
    m_Drives.media.GetMediaTypeName(facts.mediaTypeName);
    WrapperNotice configuration;
    m_Drives.configuration.GetDriveConfiguration(&configuration);
    if (!configuration.messageBox.empty())
        facts.notice.messageBox += (facts.notice.messageBox.empty() ? "" : "\n\n") + configuration.messageBox;
    facts.notice.status = configuration.status;
    return facts;
}

DriveInfoFacts MainDialogCore::InterrogateDriveInfo()
{
    DriveInfoFacts facts;
    CDevice* device = m_Drives.list.m_pCurrentDevice;
    if (!device)
        return facts;
    ClearHdBdFlags(*device);
    LogEntry("Start OnDriveinfo() function");
    m_Report.ShowStatus("Interrogating drive for info");
    LogEntryF("OnDriveinfo() - Interface type reported as %d", device->m_nPhysicalInterface);
    m_Drives.configuration.GetDriveConfiguration(&facts.notice);
    if (device->m_bDvdDrive)
        m_Drives.mmc.ReportRpcState();
    device->m_bDriveInfoRead = 1;
    LogEntry("End OnDriveinfo()");

    LogEntry("Start DisplayDriveInfo()");
    const DriveConfiguration& configuration = m_Drives.configuration;
    facts.page = MakeDriveInfoPage(*device,
                                   configuration.m_bLoadingMechanismRead
                                       ? std::optional<std::uint8_t>(configuration.m_nLoadingMechanism)
                                       : std::nullopt);
    ShowMediaStatus();
    LogEntry("End DisplayDriveInfo()");
    return facts;
}

void MainDialogCore::ShowMediaStatus()
{
    if (m_Drives.mmc.TestMediaPresent() == 1) {
        std::string name;
        const int profile = m_Drives.media.GetMediaTypeName(name);
        m_Report.ShowStatus(profile != 0 ? "Ready - " + name + " Loaded" : std::string("Ready"));
    } else {
        m_Report.ShowStatus("Ready - No Media loaded");
    }
}

bool MainDialogCore::SetUpDiscHashRange()
{
    m_nHashStartLba = 0;
    if (m_Drives.mmc.TestMediaPresent() != 1) {
        m_Report.ShowStatus("No Media is present");
        return false;
    }
    if (const std::int64_t last = m_Drives.reads.ReadCapacity(); last > 0)
        m_nHashEndLba = last;
    return true;
}

int MainDialogCore::ReadSectorForView(std::int64_t lba, WrapperNotice& notice, std::string* failure)
{
    CScsiCommand& channel = m_Drives.m_ScsiCommand;
    const auto lock = channel.Lock();  // the sense is this read's
    // Into a block of its own: a read that fails leaves the dump shown as it was.
    std::vector<std::uint8_t> block(kBlockBytes);
    const int result = m_Drives.reads.ReadBlocks(block.data(), block.size(), lba, 1, false, &notice);
    if (result != 0) {
        if (result > 0) {
            LogEntry("ReadSectorForView() - " + DescribeLastFailure(channel, "READ(10)", mmc::kRead10));
            // The sense key: what fits beside the status line's message.
            const std::uint8_t* sense = channel.GetSenseBuffer();
            if (failure && channel.LastError() == PassThroughError::None && (sense[0] & 0x70) != 0)
                *failure = GetSenseKeyText(SenseOf(sense).key);
        }
        return result;
    }
    std::copy(block.begin(), block.end(), m_Drives.m_DataBuffer.begin());
    m_Report.FormatHexDump(m_Drives.m_DataBuffer.data(), kSectorViewLines);
    m_Report.ShowHexDump(kSectorViewLines);
    return result;
}

std::string MainDialogCore::ClipboardText(int page)
{
    LogEntry("Start CopyBufferToClipboard()");
    const std::string zeroDump = "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 ................";
    const auto counts = [&](const std::string& line) {
        if (line == std::string(73, ' ') || line == std::string(64, ' ') || line == zeroDump)
            return false;
        return m_Report.m_bHexView == 1 || line.find_first_not_of(' ') != std::string::npos;
    };
    // The system report is shown whole, so it is copied whole.
    const std::size_t count = page == kPageSystemInfo
        ? std::max(kReportLines, static_cast<std::size_t>(m_Report.GetLineCount()))
        : kReportLines;
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < count; ++i)
        lines.push_back(m_Report.GetLine(static_cast<int>(i)));
    std::size_t end = lines.size();
    while (end > 0 && !counts(lines[end - 1]))
        --end;
    const bool withoutOffsets = PageOf(page).copy == CopyKind::TextWithoutOffsets;
    // Plain lines: without the blanks the display pads them with, ended by LF.
    std::string text;
    for (std::size_t i = 0; i < end; ++i) {
        const std::string& line = lines[i];
        text += WithoutTrailingBlanks(withoutOffsets ? line.substr(std::min(line.size(), kMediaCodeOffsetColumns))
                                                     : line);
        text += '\n';
    }
    return text;
}

bool MainDialogCore::SaveDataBuffer(const std::string& path, std::size_t count, std::string& error)
{
    count = std::min(count, m_Drives.m_DataBuffer.size());
    return WriteFileAtomically(
        path, std::string_view(reinterpret_cast<const char*>(m_Drives.m_DataBuffer.data()), count), &error);
}
