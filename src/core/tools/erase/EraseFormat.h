#pragma once

#include "core/base/ConfirmationGate.h"
#include "core/drive/DriveGuards.h"
#include "core/drive/MmcRecording.h"
#include "core/tools/erase/EraseSink.h"
#include "core/tools/erase/EraseSteps.h"

#include <functional>
#include <optional>
#include <string>

class DriveContext;
class UserPrompt;

namespace erasing {

// The erase dialog's check boxes (0 or 1).
struct EraseChecks {
    int erase = 1;
    int fullFormat = 0;
    int fastFormat = 0;
    int restart = 0;
    int compatibleClose = 0;
    int quick = 1;
    int eject = 1;
};

// What "&Go" does, by the media kind and the check boxes.
enum class EraseOperation {
    PlusFormat,  // DoPlusFormat: foreground format, then the background one or a quick close
    PlusRestart,  // DoPlusFormat with the restart bit: a stopped background format goes on
    BlankFull,  // BlankDisc
    BlankQuick,
    MinusFullFormat,  // FullFormatMinus
    MinusQuickFormat,  // QuickFormatMinus
    BdQuickErase,  // QuickFormatBD
    DvdRamErase,  // EraseDVDRAM
};
EraseOperation OperationFor(int kind, const EraseChecks& checks);

// An operation ready to run, from its checks: what it sends and how the
// confirmation names it.
struct ErasePlan {
    EraseOperation operation = EraseOperation::PlusFormat;
    int kind = 1;
    int profile = 0;
    FormatDescriptor descriptor;  // the DVD-RW formats' descriptor
    bool closeAfterForeground = false;  // DVD+RW: a quick close instead of the background wait
    bool restart = false;
    bool eject = true;
    DestructiveOperation confirmation;
};

// The erase and format operations of the erase dialog. Prepare runs on the
// dialog's thread: it closes an open tray, reads (the disc, the profile, the
// format capacities, the disc information), refuses a disc the operation
// cannot take and asks the not-blank question; Run runs on a worker from the
// first wait to the end, with the tray locked from the first destructive
// command until its end on every way out. Every wait is bounded by the
// disc's longest plausible time and ends at Stop; every failure says which
// command failed and why; success is told once the drive has ended its work.
class EraseFormat {
public:
    EraseFormat(DriveContext& drive, EraseSink& sink);

    // The checks of the operation; none when it ends there (the status says
    // why, nothing when the user said no). clearReport empties the main
    // window's report (the tools that close the tray first do).
    std::optional<ErasePlan> Prepare(EraseOperation operation, int kind, const EraseChecks& checks, UserPrompt* prompt,
                                     const std::function<void()>& clearReport = {});
    // The operation; stop is asked in every loop.
    EraseResult Run(const ErasePlan& plan, const std::function<bool()>& stop);

private:
    std::optional<ErasePlan> PreparePlusFormat(ErasePlan plan, UserPrompt* prompt);
    std::optional<ErasePlan> PrepareBlank(ErasePlan plan, UserPrompt* prompt);
    std::optional<ErasePlan> PrepareMinusFormat(ErasePlan plan);
    std::optional<ErasePlan> PrepareBd(ErasePlan plan, UserPrompt* prompt);
    std::optional<FormatCapacities> ReadCapacities();
    bool AskIfNotBlank(const char* question, UserPrompt* prompt);
    void CloseTrayIfOpen();

    EraseResult DoPlusFormat(const ErasePlan& plan, const std::function<bool()>& stop);
    EraseResult QuickFormatBD(const ErasePlan& plan, const std::function<bool()>& stop);
    EraseResult EraseDVDRAM(const ErasePlan& plan, const std::function<bool()>& stop);
    EraseResult BlankDisc(const ErasePlan& plan, const std::function<bool()>& stop);
    EraseResult FormatMinus(const ErasePlan& plan, const std::function<bool()>& stop);

    WaitOutcome WaitForUnit(int kind, const std::function<bool()>& stop, bool showProgress);
    // The end of a close: TEST UNIT READY, then AwaitOperationEnd.
    WaitOutcome WaitForClose(int kind, const std::function<bool()>& stop);
    EraseResult Succeeded(const ErasePlan& plan, TrayLock& lock, const std::function<bool()>& stop,
                          const std::string& status);
    EraseResult Failed(const std::string& status, const std::string& why);
    EraseResult EndedWait(const WaitOutcome& wait, const std::string& status);
    void Sleep(std::uint32_t milliseconds);

    DriveContext& m_drive;
    EraseSink& m_sink;
};

}  // namespace erasing
