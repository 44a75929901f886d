#include "core/app/MainDialogCore.h"

#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/base/UserPrompt.h"
#include "core/drive/CommandBlock.h"
#include "core/drive/SenseTexts.h"
#include "scsi/Opcodes.h"

namespace {

constexpr int kProgressScale = 65536;
constexpr std::uint32_t kProgressPollMs = 250;
constexpr std::uint32_t kReadyPollMs = 100;  // a pause keeps a not-ready drive from being flooded

}  // namespace

MainDialogCore::MainDialogCore(DriveSources sources) : m_Drives(std::move(sources))
{
}

int MainDialogCore::PollUntilReady(bool showEraseProgress)
{
    return PollUntilReady(showEraseProgress, showEraseProgress ? kLongOperationTimeoutSeconds : kReadyTimeoutSeconds);
}

int MainDialogCore::PollUntilReady(bool showEraseProgress, std::uint32_t timeoutSeconds)
{
    WaitClock& clock = m_Drives.mmc.GetWaitClock();
    CScsiCommand& channel = m_Drives.m_ScsiCommand;
    const std::uint64_t deadline = clock.NowMs() + std::uint64_t{timeoutSeconds} * 1000;
    for (;;) {
        SenseCode sense;
        bool delivered = true;
        {
            const auto lock = channel.Lock();
            if (CommandBlock(mmc::kTestUnitReady).Execute(channel, DataDirection::None, nullptr, 0) == 0)
                return 0;
            sense = SenseOf(channel.GetSenseBuffer());
            delivered = channel.LastError() == PassThroughError::None;
        }
        if (!delivered || (sense.key == 2 && sense.asc == 0x3A))
            return 1;  // waiting cannot make it ready
        if (clock.NowMs() >= deadline)
            return 1;
        if (showEraseProgress) {
            m_Report.ShowProgressStatus(m_Drives.mmc.GetProgress(), "  Erasing Disc please wait... ", kProgressScale);
            clock.SleepMs(kProgressPollMs);
        } else {
            clock.SleepMs(kReadyPollMs);
        }
    }
}

void MainDialogCore::ReportSenseError(int opcode)
{
    ChannelFailure failure;
    {
        CScsiCommand& channel = m_Drives.m_ScsiCommand;
        const auto lock = channel.Lock();
        failure = TakeFailure(channel);
    }
    ReportSenseError(opcode, failure);
}

void MainDialogCore::ReportSenseError(int opcode, const ChannelFailure& failure)
{
    const SenseCode& sense = failure.sense;
    const PassThroughError error = failure.error;
    const std::string& reason = failure.reason;
    m_Report.m_bHexView = 0;
    m_Report.ClearDisplay();
    LogEntryF("Sense Error - COMMAND %d", opcode);
    LogEntryF("Sense Error - SENSE %d ASC %d ASCQ %d", sense.key, sense.asc, sense.ascq);
    if (error != PassThroughError::None) {
        // The command never reached the drive (or its answer was lost):
        // there is no sense to decode, only the reason.
        const std::string text = Format("%s%03xh %s\r\n%s", "Command ", opcode, "could not be sent:", reason.c_str());
        LogEntry(text);
        m_Report.ShowStatus("Drive command failed");
        m_Report.SetLine(0, text);
        AppMessageBox(text);
        return;
    }
    m_Report.ShowStatus("Sense error occurred");
    if (sense.key == 5 && sense.asc == 0x20 && sense.ascq == 0) {
        m_Report.ShowStatus("Command not supported by drive");
        return;
    }
    const bool mediumChanged = sense.key == 6 && sense.asc == 0x28 && sense.ascq == 0;
    // No medium, whatever the qualifier: drives tell an open tray (02h) or a closed one (01h) apart.
    const bool noMedium = sense.key == 2 && sense.asc == 0x3A;
    if (mediumChanged || noMedium) {
        m_Report.ShowStatus("Error - No DVD media in drive");
        return;
    }
    const std::string text = Format("%s%03xh %-19s\r\nSense %02Xh %22s\r\nASC   %02Xh %22s\r\nASCQ  %02Xh %22s",
                                    "Command ", opcode, "returned:", sense.key, GetSenseKeyText(sense.key), sense.asc,
                                    " ", sense.ascq, GetAscAscqText(sense.asc, sense.ascq));
    m_Report.SetLine(0, text);
    AppMessageBox(text);
}
