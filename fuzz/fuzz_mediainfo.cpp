// Fuzz target of the media information report and the complete media code
// on a drive whose answers come from the input: every answer is taken within
// what came, and a report is either shown or replaced by the drive page.

#include "FuzzCheck.h"
#include "FuzzDrive.h"
#include "core/info/MediaInfoReport.h"

void ReportMedia(fuzzdrive::FuzzCore& fuzz)
{
    fuzz.Inquire();
    DriveContext& drives = fuzz.core.m_Drives;
    drives.configuration.GetDriveConfiguration();
    ReportText view;
    MediaInfoReport report(drives, fuzz.core.m_Report, view);
    const MediaInfoOutcome outcome = report.GeneralInfo(false);
    Check(!(outcome.show && outcome.showDriveInfo));
    std::string code;
    report.DoCompleteMediaCode(code);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzdrive::RunOnInput(data, size, ReportMedia);
    return 0;
}
