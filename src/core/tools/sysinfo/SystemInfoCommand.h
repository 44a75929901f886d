#pragma once

#include "core/tools/sysinfo/SystemInfoReport.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class CDevice;
class ReportText;

// The system information command's steps around the report, for the
// window. Begin logs the command and shows "Please Wait..."; the window
// then shows its text page, clears the display and has a worker run
// BuildSystemReport; End, back on the window's thread, writes the report
// into the report lines and shows every one of them (past 128 too),
// says "Ready" (whether or not there is a report) and logs the end.
void BeginSystemInformation(ReportText& report);
void EndSystemInformation(ReportText& report, const std::optional<std::vector<std::string>>& lines);

// The records of a drive list as the report names them.
std::vector<DriveFacts> DriveFactsOf(const std::vector<std::unique_ptr<CDevice>>& drives);
