#include "core/tools/sysinfo/SystemInfoCommand.h"

#include "core/base/LogFile.h"
#include "core/base/ReportText.h"
#include "core/drive/Device.h"

void BeginSystemInformation(ReportText& report)
{
    LogEntry("System Information command received - Calling OnSystemInformation()");
    report.ShowStatus("Please Wait...");
}

void EndSystemInformation(ReportText& report, const std::optional<std::vector<std::string>>& lines)
{
    if (lines) {
        report.ClearDisplayLines();
        for (std::size_t i = 0; i < lines->size(); ++i)
            report.SetLine(static_cast<int>(i), (*lines)[i]);
        report.ShowEveryLine();
    }
    report.ShowStatus("Ready");
    LogEntry("End OnSystemInformation()");
}

std::vector<DriveFacts> DriveFactsOf(const std::vector<std::unique_ptr<CDevice>>& drives)
{
    std::vector<DriveFacts> facts;
    for (const auto& drive : drives) {
        if (drive)
            facts.push_back({drive->m_strDriveText, drive->m_strIdentity, drive->m_strFirmware});
    }
    return facts;
}
