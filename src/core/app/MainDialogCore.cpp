#include "core/app/MainDialogCore.h"

#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/base/UserPrompt.h"
#include "core/drive/SenseReport.h"
#include "scsi/Opcodes.h"

namespace {

constexpr int kProgressScale = 65536;
constexpr std::uint32_t kProgressPollMs = 250;

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
    MmcCommands& mmc = m_Drives.mmc;
    if (!showEraseProgress)
        return mmc.PollUntilReady(timeoutSeconds);
    return mmc.PollUntilReady(timeoutSeconds, kProgressPollMs, [&] {
        m_Report.ShowProgressStatus(mmc.GetProgress(), "  Erasing Disc please wait... ", kProgressScale);
    });
}

void MainDialogCore::ReportSenseError(int opcode)
{
    ::ReportSenseError(m_Drives.m_ScsiCommand, m_Report, opcode);
}

void MainDialogCore::ReportSenseError(int opcode, const ChannelFailure& failure)
{
    ::ReportSenseError(failure, m_Report, opcode);
}
