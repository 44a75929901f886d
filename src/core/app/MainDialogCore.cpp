#include "core/app/MainDialogCore.h"

#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/base/UserPrompt.h"
#include "core/drive/SenseReport.h"
#include "scsi/Opcodes.h"

MainDialogCore::MainDialogCore(DriveSources sources) : m_Drives(std::move(sources))
{
}

void MainDialogCore::ReportSenseError(int opcode)
{
    ::ReportSenseError(m_Drives.m_ScsiCommand, m_Report, opcode);
}

void MainDialogCore::ReportSenseError(int opcode, const ChannelFailure& failure)
{
    ::ReportSenseError(failure, m_Report, opcode);
}
