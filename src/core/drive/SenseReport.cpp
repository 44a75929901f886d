#include "core/drive/SenseReport.h"

#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/base/ReportText.h"
#include "core/base/UserPrompt.h"
#include "core/drive/CommandFailure.h"
#include "core/drive/MmcTypes.h"
#include "core/drive/ScsiCommand.h"
#include "core/drive/SenseTexts.h"

void ReportSenseError(CScsiCommand& channel, ReportText& report, int opcode)
{
    ChannelFailure failure;
    {
        const auto lock = channel.Lock();
        failure = TakeFailure(channel);
    }
    ReportSenseError(failure, report, opcode);
}

namespace {

// decodeCommon: the common refusals in the box as well, not only as a status.
void Report(const ChannelFailure& failure, ReportText& report, int opcode, bool decodeCommon)
{
    const SenseCode& sense = failure.sense;
    const PassThroughError error = failure.error;
    const std::string& reason = failure.reason;
    report.m_bHexView = 0;
    report.ClearDisplay();
    LogEntryF("Sense Error - COMMAND %d", opcode);
    LogEntryF("Sense Error - SENSE %d ASC %d ASCQ %d", sense.key, sense.asc, sense.ascq);
    if (error != PassThroughError::None) {
        // The command never reached the drive (or its answer was lost):
        // there is no sense to decode, only the reason.
        const std::string text = Format("%s%03xh %s\r\n%s", "Command ", opcode, "could not be sent:", reason.c_str());
        LogEntry(text);
        report.ShowStatus("Drive command failed");
        report.SetLine(0, text);
        AppMessageBox(text);
        return;
    }
    report.ShowStatus("Sense error occurred");
    if (!decodeCommon) {
        if (sense.key == 5 && sense.asc == 0x20 && sense.ascq == 0) {
            report.ShowStatus("Command not supported by drive");
            return;
        }
        const bool mediumChanged = sense.key == 6 && sense.asc == 0x28 && sense.ascq == 0;
        // No medium, whatever the qualifier: drives tell an open tray (02h) or a closed one (01h) apart.
        const bool noMedium = sense.key == 2 && sense.asc == 0x3A;
        if (mediumChanged || noMedium) {
            report.ShowStatus("Error - No DVD media in drive");
            return;
        }
    }
    const std::string text = Format("%s%03xh %-19s\r\nSense %02Xh %22s\r\nASC   %02Xh %22s\r\nASCQ  %02Xh %22s",
                                    "Command ", opcode, "returned:", sense.key, GetSenseKeyText(sense.key), sense.asc,
                                    " ", sense.ascq, GetAscAscqText(sense.asc, sense.ascq));
    report.SetLine(0, text);
    AppMessageBox(text);
}

}  // namespace

void ReportSenseError(const ChannelFailure& failure, ReportText& report, int opcode)
{
    Report(failure, report, opcode, false);
}

void ReportEverySense(const ChannelFailure& failure, ReportText& report, int opcode)
{
    Report(failure, report, opcode, true);
}
