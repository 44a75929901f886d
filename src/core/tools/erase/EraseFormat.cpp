#include "core/tools/erase/EraseFormat.h"

#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/base/MessageIds.h"
#include "core/base/UserPrompt.h"
#include "core/drive/CommandFailure.h"
#include "core/drive/DriveContext.h"
#include "core/drive/MediaType.h"
#include "core/tools/erase/EraseMedia.h"
#include "scsi/DiscStructure.h"
#include "scsi/Profiles.h"

#include <array>
#include <vector>

namespace erasing {

namespace {

constexpr std::uint8_t kPlusRwFormat = 0x26;
constexpr std::uint8_t kFullFormat = 0x00;
constexpr std::uint8_t kQuickFormat = 0x15;
constexpr int kStopBackgroundFormat = 0;  // CLOSE TRACK/SESSION close functions of a DVD+RW
constexpr int kCloseSession = 2;
constexpr std::size_t kPlusKindByte = 35;  // "8" DVD+R, "9" DVD+RW in the physical format
constexpr int kProgressScale = 65536;
constexpr int kBdProgressScale = 50000;

constexpr std::uint16_t kBlocksPerWrite = 32;
constexpr std::size_t kZeroBufferBytes = 65536;
constexpr int kBdWrites = 100;  // 6.5 MB: the file system's area of the disc
constexpr int kDvdRamWrites = 17;

constexpr const char* kNotBlankCaption = "Media not blank";
constexpr const char* kStopped = "Stopped - the drive may still be working on the disc";
constexpr const char* kEraseFailed = "Error trying to erase media";
constexpr const char* kFormatFailed = "Unable to FORMAT UNIT";
constexpr const char* kFormatDone = "Format disc completed no error";
constexpr const char* kEraseDone = "Erase disc completed no error";
constexpr const char* kBackgroundFailed = "Error in background format..... ";
constexpr const char* kNoDiscInformation = "can't READ DISC INFORMATION";
constexpr const char* kNoMedia = "No media present in drive";

const ProgressTexts kErasingTexts{"  Erasing Disc please wait... ", "  Erasing Media", kProgressScale};

// The parameter list header of the DVD+RW format: options valid, immediate.
constexpr std::uint8_t kPlusFormatFlags = kFormatOptionsValid | kFormatImmediate;

std::string ActionOf(const ErasePlan& plan)
{
    switch (plan.operation) {
    case EraseOperation::PlusFormat:
        return plan.closeAfterForeground ? "Format the DVD+RW (foreground format, then a quick close)"
                                         : "Format the DVD+RW (foreground and background format)";
    case EraseOperation::PlusRestart: return "Restart the background format of the DVD+RW";
    case EraseOperation::BlankFull: return "Erase the disc (full blank)";
    case EraseOperation::BlankQuick: return "Erase the disc (quick blank)";
    case EraseOperation::MinusFullFormat: return "Format the DVD-RW (full format)";
    case EraseOperation::MinusQuickFormat: return "Format the DVD-RW (quick format)";
    case EraseOperation::BdQuickErase: return "Quick erase of the BD-RE: its file-system area (the first 6.5 MB)";
    case EraseOperation::DvdRamErase: return "Erase of the DVD-RAM: its file-system area (the first 1.1 MB)";
    }
    return {};
}

// How the end of an operation is awaited: START STOP UNIT every third of a
// second, as long as the disc's longest operation.
WaitBounds EndBounds(int kind)
{
    return {333, LongestOperationMs(kind)};
}

// The operations that close an open tray clear the main window's report first.
bool ClearsReport(EraseOperation operation)
{
    return operation != EraseOperation::PlusFormat && operation != EraseOperation::PlusRestart
        && operation != EraseOperation::BdQuickErase;
}

// Why the operation cannot run on the disc in the drive; empty when it can
// (the disc may have been swapped since the window opened).
std::string RefusalOf(EraseOperation operation, int mediaType)
{
    if (!IsErasableMedium(mediaType))
        return NotErasableText(mediaType);
    const int kind = [&] {
        switch (operation) {
        case EraseOperation::PlusFormat:
        case EraseOperation::PlusRestart: return kKindDvdPlusRw;
        case EraseOperation::BdQuickErase: return kKindBdRe;
        case EraseOperation::DvdRamErase: return kKindDvdRam;
        default: return kKindDvdMinusRw;  // the blanks and DVD-RW formats, of CD-RW too
        }
    }();
    const int discKind = EraseKindFor(mediaType);
    if (discKind == kind || (kind == kKindDvdMinusRw && discKind == kKindCdRw))
        return {};
    return Format("The disc in the drive (%s) is not the one this window was opened for: close it and press "
                  "Erase again",
                  MediaTypeName(mediaType));
}

std::string LossOf(const ErasePlan& plan)
{
    switch (plan.operation) {
    case EraseOperation::PlusRestart:
        return "The drive formats the rest of the disc; what is recorded on the formatted part stays.";
    case EraseOperation::BdQuickErase:
    case EraseOperation::DvdRamErase:
        return "The file system and every file it lists will be lost. The rest of the disc is not overwritten: "
               "the old data stays on it and may still be read by recovery tools.";
    default: return "Everything recorded on the disc will be lost.";
    }
}

}  // namespace

EraseOperation OperationFor(int kind, const EraseChecks& checks)
{
    switch (kind) {
    case kKindDvdPlusRw: return checks.restart ? EraseOperation::PlusRestart : EraseOperation::PlusFormat;
    case kKindDvdMinusRw:
    case kKindCdRw:
        if (checks.erase)
            return checks.quick ? EraseOperation::BlankQuick : EraseOperation::BlankFull;
        return checks.fullFormat ? EraseOperation::MinusFullFormat : EraseOperation::MinusQuickFormat;
    case kKindBdRe: return EraseOperation::BdQuickErase;
    default: return EraseOperation::DvdRamErase;
    }
}

EraseFormat::EraseFormat(DriveContext& drive, EraseSink& sink) : m_drive(drive), m_sink(sink)
{
}

std::optional<ErasePlan> EraseFormat::Prepare(EraseOperation operation, int kind, const EraseChecks& checks,
                                              UserPrompt* prompt, const std::function<void()>& clearReport)
{
    ErasePlan plan;
    plan.operation = operation;
    plan.kind = kind;
    plan.eject = checks.eject != 0;
    // A disc put in while the tray was open (after an eject) is the one the questions name.
    CloseTrayIfOpen();
    if (clearReport && ClearsReport(operation))
        clearReport();
    if (m_drive.mmc.TestMediaPresent() == 0) {
        m_sink.SetStatus(kNoMedia);
        return std::nullopt;
    }
    const int mediaType = m_drive.media.GetMediaType();
    plan.confirmation = DescribeTarget(m_drive, MediaTypeName(mediaType));
    std::optional<ErasePlan> prepared;
    switch (operation) {
    case EraseOperation::PlusFormat:
    case EraseOperation::PlusRestart:
        m_drive.media.GetDriveProfile(plan.profile);
        plan.closeAfterForeground = operation == EraseOperation::PlusFormat && checks.fastFormat != 0;
        plan.restart = operation == EraseOperation::PlusRestart;
        prepared = PreparePlusFormat(plan, prompt);
        break;
    case EraseOperation::BlankFull:
    case EraseOperation::BlankQuick: prepared = PrepareBlank(plan, prompt); break;
    case EraseOperation::MinusFullFormat:
    case EraseOperation::MinusQuickFormat: prepared = PrepareMinusFormat(plan); break;
    case EraseOperation::BdQuickErase:
        m_drive.media.GetDriveProfile(plan.profile);
        prepared = PrepareBd(plan, prompt);
        break;
    case EraseOperation::DvdRamErase: prepared = plan; break;
    }
    if (!prepared)
        return std::nullopt;
    if (const std::string refusal = RefusalOf(prepared->operation, mediaType); !refusal.empty()) {
        m_sink.SetStatus(refusal);
        return std::nullopt;
    }
    prepared->confirmation.action = ActionOf(*prepared);
    prepared->confirmation.loss = LossOf(*prepared);
    return prepared;
}

void EraseFormat::CloseTrayIfOpen()
{
    if (m_drive.mmc.IsDoorOpen() == 1) {
        m_drive.mmc.EjectOrCloseTray();
        m_drive.mmc.WaitForUnitReady(20);  // the disc spins up before it is read
    }
}

std::optional<FormatCapacities> EraseFormat::ReadCapacities()
{
    WrapperNotice notice;
    std::optional<FormatCapacities> capacities = m_drive.recording.ReadFormatCapacities(&notice);
    if (!capacities)  // the main window named this in its status line; the dialog stands alone
        m_sink.SetStatus(notice.status);
    return capacities;
}

bool EraseFormat::AskIfNotBlank(const char* question, UserPrompt* prompt)
{
    DiscInformation information;
    if (m_drive.recording.ReadDiscInformation(information) != 0) {
        m_sink.SetStatus(kNoDiscInformation);
        return false;
    }
    if (information.discStatus == 0)
        return true;
    return prompt
        && prompt->MessageBox(question, kNotBlankCaption, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
}

std::optional<ErasePlan> EraseFormat::PreparePlusFormat(ErasePlan plan, UserPrompt* prompt)
{
    const std::optional<FormatCapacities> capacities = ReadCapacities();
    if (!capacities)
        return std::nullopt;
    if (plan.profile != profile::kDvdPlusRw) {
        m_sink.SetStatus("Error - Media is not DVD+RW");
        return std::nullopt;
    }
    if (!capacities->Find(kPlusRwFormat)) {
        m_sink.SetStatus("Could not find DVD+RW Descriptor");
        return std::nullopt;
    }
    if (!AskIfNotBlank("The DVD+RW media has data on it.  \nAre you sure you want to format? ", prompt))
        return std::nullopt;
    return plan;
}

std::optional<ErasePlan> EraseFormat::PrepareBlank(ErasePlan plan, UserPrompt* prompt)
{
    std::vector<std::uint8_t> structure(disc_structure::kPhysicalFormatLength, 0);
    m_drive.reads.ReadDiscStructureNoCheck(0, 0, 0, disc_structure::kPhysicalFormatLength,
                                           structure.data());  // a CD has none
    m_drive.media.GetDriveProfile(plan.profile);
    const std::uint8_t plusKind = structure[kPlusKindByte];
    if (plan.profile == profile::kDvdPlusRw || plusKind == '9') {  // a DVD+RW is formatted instead
        plan.closeAfterForeground = plan.operation == EraseOperation::BlankQuick;
        plan.operation = EraseOperation::PlusFormat;
        return PreparePlusFormat(plan, prompt);
    }
    if (plan.profile == profile::kDvdPlusR || plusKind == '8') {
        m_sink.SetStatus("Media is not DVD -/+ RW");
        return std::nullopt;
    }
    return plan;
}

std::optional<ErasePlan> EraseFormat::PrepareMinusFormat(ErasePlan plan)
{
    m_drive.media.GetDriveProfile(plan.profile);
    const bool quick = plan.operation == EraseOperation::MinusQuickFormat;
    const bool minus = plan.profile == profile::kDvdRwRestricted || plan.profile == profile::kDvdRwSequential;
    if (!minus && !(quick && plan.profile == profile::kCdRw)) {
        m_sink.SetStatus("Media is not DVD-RW");
        return std::nullopt;
    }
    if (minus) {
        std::vector<std::uint8_t> structure(disc_structure::kPhysicalFormatLength, 0);
        if (m_drive.reads.ReadDiscStructureNoCheck(0, 0, 0, disc_structure::kPhysicalFormatLength, structure.data())
            != 0) {
            m_sink.SetStatus("Error Reading Media");
            return std::nullopt;
        }
    }
    const std::optional<FormatCapacities> capacities = ReadCapacities();
    if (!capacities)
        return std::nullopt;
    const FormatDescriptor* descriptor = capacities->Find(quick ? kQuickFormat : kFullFormat);
    if (!descriptor) {
        m_sink.SetStatus("Error locating descriptor");
        return std::nullopt;
    }
    DiscInformation information;
    if (m_drive.recording.ReadDiscInformation(information) != 0) {
        m_sink.SetStatus(kNoDiscInformation);
        return std::nullopt;
    }
    plan.descriptor = *descriptor;
    if (quick)
        plan.descriptor.blocks = 0;
    return plan;
}

std::optional<ErasePlan> EraseFormat::PrepareBd(ErasePlan plan, UserPrompt* prompt)
{
    if (!ReadCapacities())
        return std::nullopt;
    if (plan.profile != profile::kBdRRandom && plan.profile != profile::kBdRe) {
        m_sink.SetStatus("Error - Media is not BD-RE/W");
        return std::nullopt;
    }
    if (!AskIfNotBlank("The BD-RE media has data on it.  \nAre you sure you want to format? ", prompt))
        return std::nullopt;
    return plan;
}

EraseResult EraseFormat::Run(const ErasePlan& plan, const std::function<bool()>& stop)
{
    EraseResult result;
    switch (plan.operation) {
    case EraseOperation::PlusFormat:
    case EraseOperation::PlusRestart: result = DoPlusFormat(plan, stop); break;
    case EraseOperation::BlankFull:
    case EraseOperation::BlankQuick: result = BlankDisc(plan, stop); break;
    case EraseOperation::MinusFullFormat:
    case EraseOperation::MinusQuickFormat: result = FormatMinus(plan, stop); break;
    case EraseOperation::BdQuickErase: result = QuickFormatBD(plan, stop); break;
    case EraseOperation::DvdRamErase: result = EraseDVDRAM(plan, stop); break;
    }
    m_drive.m_ScsiCommand.CloseAssociateHandle();  // after the tray was given back, on every way out
    return result;
}

void EraseFormat::Sleep(std::uint32_t milliseconds)
{
    m_drive.mmc.GetWaitClock().SleepMs(milliseconds);
}

WaitOutcome EraseFormat::WaitForUnit(int kind, const std::function<bool()>& stop, bool showProgress)
{
    return WaitUntilReady(m_drive, m_sink, stop, {250, LongestOperationMs(kind)},
                          showProgress ? &kErasingTexts : nullptr);
}

WaitOutcome EraseFormat::WaitForClose(int kind, const std::function<bool()>& stop)
{
    // Some drives answer TEST UNIT READY with ready while they still close.
    if (const WaitOutcome ready = WaitForUnit(kind, stop, false); !ready.Ready())
        return ready;
    return AwaitOperationEnd(m_drive, stop, EndBounds(kind));
}

EraseResult EraseFormat::Succeeded(const ErasePlan& plan, TrayLock& lock, const std::function<bool()>& stop,
                                   const std::string& status)
{
    if (const WaitOutcome end = AwaitOperationEnd(m_drive, stop, EndBounds(plan.kind)); !end.Ready())
        return EndedWait(end, "The drive did not finish");
    LogEntry("EraseFormat - " + status);
    m_sink.SetStatus(status);
    m_sink.SetProgress(100);
    lock.Release();
    if (plan.eject)
        m_drive.recording.EjectMedium();
    return {EraseEnd::Completed, status};
}

EraseResult EraseFormat::Failed(const std::string& status, const std::string& why)
{
    const std::string text = why.empty() ? status : status + " - " + why;
    LogEntry("EraseFormat - " + text);
    m_sink.SetStatus(text);
    return {EraseEnd::Failed, text};
}

EraseResult EraseFormat::EndedWait(const WaitOutcome& wait, const std::string& status)
{
    if (wait.end == WaitEnd::Stopped) {
        m_sink.SetStatus(kStopped);
        return {EraseEnd::Stopped, kStopped};
    }
    return Failed(status, wait.failure);
}

EraseResult EraseFormat::DoPlusFormat(const ErasePlan& plan, const std::function<bool()>& stop)
{
    if (const WaitOutcome ready = WaitForUnit(plan.kind, stop, false); !ready.Ready())
        return EndedWait(ready, kFormatFailed);
    TrayLock lock(m_drive.mmc);
    m_sink.SetStatus("Foreground DVD+RW format. Wait...");
    const FormatDescriptor descriptor{0xFFFFFFFF, kPlusRwFormat, plan.restart ? 1u : 0u};
    std::string why;
    if (m_drive.recording.FormatUnit(kPlusFormatFlags, descriptor, &why) != 0)
        return Failed(kFormatFailed, why);
    Sleep(1000);
    const ProgressTexts foreground{"Foreground format process.... ", " Foreground Formatting", kProgressScale};
    const std::uint64_t longest = LongestOperationMs(plan.kind);
    if (const WaitOutcome wait = WaitUntilReady(m_drive, m_sink, stop, {150, longest}, &foreground); !wait.Ready())
        return EndedWait(wait, kFormatFailed);

    if (plan.closeAfterForeground) {
        m_sink.SetStatus("Closing session please wait...");
        Sleep(2000);
        // The background format stops, then the session is closed so that DVD-ROM players read the disc.
        for (const int function : {kStopBackgroundFormat, kCloseSession}) {
            if (m_drive.recording.CloseTrackSession(function, 0, true, &why) != 0)
                return Failed("Error closing session", why);
            if (const WaitOutcome wait = WaitForClose(plan.kind, stop); !wait.Ready())
                return EndedWait(wait, "Error closing session");
        }
        return Succeeded(plan, lock, stop, kFormatDone);
    }

    m_sink.SetStatus("Foreground done, doing Background");
    WaitClock& clock = m_drive.mmc.GetWaitClock();
    std::uint64_t movedAt = clock.NowMs();
    int lastProgress = -1;
    DiscInformation information;
    do {
        if (stop && stop())
            return EndedWait({WaitEnd::Stopped, {}}, kBackgroundFailed);
        if (m_drive.recording.ReadDiscInformation(information, &why) != 0)
            return Failed(kBackgroundFailed, why);
        const int progress = m_drive.mmc.GetProgress();
        PumpMessages(m_sink, progress, "Background format process.... ", " Background Formatting", kProgressScale);
        if (progress != lastProgress) {
            lastProgress = progress;
            movedAt = clock.NowMs();
        } else if (clock.NowMs() - movedAt >= longest) {
            return Failed(kBackgroundFailed,
                          Format("the drive made no progress for %llu minutes",
                                 static_cast<unsigned long long>(longest / 60000)));
        }
        Sleep(500);
    } while (information.backgroundFormat == 2);
    if (information.backgroundFormat != 3)
        return Failed(kBackgroundFailed,
                      Format("the drive reports the background format as %s",
                             information.backgroundFormat == 1 ? "stopped" : "not started"));
    return Succeeded(plan, lock, stop, "Background format completed.    ");
}

EraseResult EraseFormat::QuickFormatBD(const ErasePlan& plan, const std::function<bool()>& stop)
{
    if (const WaitOutcome ready = WaitForUnit(plan.kind, stop, false); !ready.Ready())
        return EndedWait(ready, kEraseFailed);
    TrayLock lock(m_drive.mmc);
    m_sink.SetStatus("Quick Erase BD-RE Please Wait...");
    const std::vector<std::uint8_t> zeros(kZeroBufferBytes, 0);
    std::string why;
    for (int index = 0; index < kBdWrites; ++index) {
        if (stop && stop())
            return EndedWait({WaitEnd::Stopped, {}}, kEraseFailed);
        const auto lba = static_cast<std::uint32_t>(index * kBlocksPerWrite);
        if (m_drive.recording.Write10(lba, kBlocksPerWrite, zeros.data(), kZeroBufferBytes, &why) != 0)
            return Failed(kEraseFailed, why);
        PumpMessages(m_sink, index, "Erasing process....", "Erasing Media", kBdWrites);
    }
    Sleep(1000);
    const ProgressTexts erasing{"Erasing process....", "Erasing Media", kBdProgressScale};
    if (const WaitOutcome wait = WaitUntilReady(m_drive, m_sink, stop, {200, LongestOperationMs(plan.kind)}, &erasing);
        !wait.Ready())
        return EndedWait(wait, kEraseFailed);
    // No CLOSE TRACK/SESSION: BD drives refuse it on BD-RE, where the writes are all there is.
    m_sink.SetStatus("Finishing please wait...");
    return Succeeded(plan, lock, stop,
                     "Quick erase completed: only the file-system area (first 6.5 MB) was cleared, not "
                     "the whole disc");
}

EraseResult EraseFormat::EraseDVDRAM(const ErasePlan& plan, const std::function<bool()>& stop)
{
    const std::vector<std::uint8_t> zeros(kZeroBufferBytes, 0);
    TrayLock lock(m_drive.mmc);
    std::string why;
    for (int index = 0; index < kDvdRamWrites; ++index) {
        if (stop && stop())
            return EndedWait({WaitEnd::Stopped, {}}, kEraseFailed);
        const auto lba = static_cast<std::uint32_t>(index * kBlocksPerWrite);
        if (m_drive.recording.Write10(lba, kBlocksPerWrite, zeros.data(), kZeroBufferBytes, &why) != 0)
            return Failed(kEraseFailed, why);
    }
    if (const WaitOutcome wait = WaitForUnit(plan.kind, stop, true); !wait.Ready())
        return EndedWait(wait, kEraseFailed);
    // REZERO UNIT is gone from later MMC: a drive that does not know it has still erased.
    if (m_drive.recording.RezeroUnit(&why) != 0 && !WasRefused(m_drive.m_ScsiCommand))
        return Failed(kEraseFailed, why);
    return Succeeded(plan, lock, stop,
                     "Erase completed: only the file-system area (first 1.1 MB) was cleared, not the "
                     "whole disc");
}

EraseResult EraseFormat::BlankDisc(const ErasePlan& plan, const std::function<bool()>& stop)
{
    TrayLock lock(m_drive.mmc);
    const BlankType type = plan.operation == EraseOperation::BlankQuick ? BlankType::Minimal : BlankType::Full;
    std::string why;
    if (m_drive.recording.Blank(type, true, &why) != 0)
        return Failed(kEraseFailed, why);
    if (const WaitOutcome wait = WaitForUnit(plan.kind, stop, true); !wait.Ready())
        return EndedWait(wait, kEraseFailed);
    return Succeeded(plan, lock, stop, kEraseDone);
}

EraseResult EraseFormat::FormatMinus(const ErasePlan& plan, const std::function<bool()>& stop)
{
    TrayLock lock(m_drive.mmc);
    std::string why;
    if (m_drive.recording.FormatUnit(kFormatImmediate, plan.descriptor, &why) != 0)
        return Failed(kFormatFailed, why);
    m_sink.SetStatus("Formating disc please wait...   ");
    if (const WaitOutcome wait = WaitForUnit(plan.kind, stop, true); !wait.Ready())
        return EndedWait(wait, kFormatFailed);
    return Succeeded(plan, lock, stop, kFormatDone);
}

}  // namespace erasing
