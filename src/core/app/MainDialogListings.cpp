#include "core/base/LogFile.h"
#include "core/app/MainDialogCore.h"
#include "core/drive/CommandFailure.h"
#include "core/info/DriveListings.h"

#include <vector>

namespace {

constexpr std::uint32_t kListingLength = 2048;

void WriteLines(ReportText& report, int& next, const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        report.SetLine(next++, line);
}

}  // namespace

void MainDialogCore::ListDriveFeaturesProfiles()
{
    LogEntry("ListDriveFeaturesProfiles() - Start");
    m_Report.ClearDisplay();
    std::vector<std::uint8_t> answer(kListingLength, 0);
    if (m_Drives.mmc.GetConfiguration(0, 0x0000, answer.data(), kListingLength) != 0) {
        LogEntry("ListDriveFeaturesProfiles() - SCSI_Cmd_GetConfiguration failed returned error");
        m_Report.ShowStatus("An error occurred");
        return;
    }
    const std::vector<std::string> profiles = ProfileListingLines(answer);
    if (profiles.empty())
        return;
    int next = 0;
    WriteLines(m_Report, next, profiles);
    std::vector<std::uint8_t> fromCore(kListingLength, 0);
    bool refused = false;
    {
        CScsiCommand& channel = m_Drives.m_ScsiCommand;
        const auto lock = channel.Lock();
        if (m_Drives.mmc.GetConfiguration(0, 0x0001, fromCore.data(), kListingLength) != 0) {
            refused = WasRefused(channel);
            if (!refused) {
                LogEntry("ListDriveFeaturesProfiles() - SCSI_Cmd_GetConfiguration sub command 1 failed returned error");
                return;
            }
        }
    }
    // A drive that takes no starting feature but 0 has listed its features from 0 on.
    if (refused)
        LogEntry("ListDriveFeaturesProfiles() - sub command 1 refused, the features are listed from feature 0 on");
    WriteLines(m_Report, next, FeatureListingLines(refused ? answer : fromCore));
    m_Report.RefreshDisplay(ReportText::kWholeReport);
    m_Report.ShowStatus("Ready");
    LogEntry("ListDriveFeaturesProfiles() - End");
}

void MainDialogCore::ListDriveModePages()
{
    LogEntry("ListDriveModePages() - Start");
    m_Drives.configuration.m_nLightScribePageCount = 0;
    m_Report.ClearDisplay();
    std::vector<std::uint8_t> answer(kListingLength, 0);
    LogEntry("SCSI_Cmd_ModeSense10 1");
    int lightScribePages = 0;
    if (m_Drives.mmc.ReadAllModePages(answer, kListingLength) != 0) {
        LogEntry("DoModeSensePages() - SCSI_Cmd_ModeSense10 - Page 3Fh failed");
        answer.assign(2, 0);  // the title alone
    }
    int next = 0;
    WriteLines(m_Report, next, ModePageListingLines(answer, lightScribePages));
    m_Drives.configuration.m_nLightScribePageCount = lightScribePages;
    m_Report.RefreshDisplay(ReportText::kWholeReport);
    m_Report.ShowStatus("Ready");
    LogEntry("ListDriveModePages() - End");
}
