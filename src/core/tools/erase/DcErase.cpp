#include "core/tools/erase/DcErase.h"

#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/base/MessageIds.h"
#include "core/base/UserPrompt.h"
#include "core/drive/CommandFailure.h"
#include "core/drive/DriveContext.h"
#include "core/drive/DriveGuards.h"
#include "core/drive/MediaType.h"
#include "core/tools/erase/EraseMedia.h"
#include "scsi/Bytes.h"
#include "scsi/DiscStructure.h"
#include "scsi/Opcodes.h"

#include <algorithm>
#include <array>
#include <vector>

namespace erasing {

namespace {

constexpr std::uint32_t kReadyWaitSeconds = 20;
constexpr int kReadyStatusWord = 22;  // the drive takes ranges once its status word is this or less
constexpr int kMostSetUpWrites = 64;
constexpr std::uint32_t kPollMs = 500;
constexpr std::uint64_t kMinuteMs = 60000;
constexpr std::uint64_t kDvdStepLimitMs = 30 * kMinuteMs;
constexpr std::uint64_t kCdEraseLimitMs = 120 * kMinuteMs;
constexpr std::int64_t kShortestRange = 400;  // 20 steps of at least 19 sectors each
constexpr std::uint32_t kTrackInformationLength = 2048;
constexpr int kKBpsPerDvdX = 1380;
constexpr int kKBpsPerCdX = 176;

constexpr const char* kFailed = "DC Erase failed";
constexpr const char* kPollFailed = "DC Erase function failed.";
constexpr const char* kAborted = "DC Erase Aborted";
constexpr const char* kCompleted = "DC Erase completed";
constexpr const char* kTryingToStop = "Trying to stop please be patient...";
constexpr const char* kIncorrectMedia = "Incorrect media type.  Only RW media can be DC Erased";

bool IsDvd(int mediaType)
{
    return mediaType == kMediaDvdMinusRw || mediaType == kMediaDvdPlusRw;
}

bool IsCd(int mediaType)
{
    return mediaType == kMediaCd || mediaType == kMediaCdRw;
}

std::string Joined(const char* status, const std::string& why)
{
    return why.empty() ? std::string(status) : std::string(status) + " - " + why;
}

// A vendor command under the channel's lock, so that its failure is still
// the channel's when it is described; a query fails with -1, a command with
// a result other than 0.
template <class Command>
VendorReply Send(CScsiCommand& channel, const char* name, bool query, std::string& why, Command command)
{
    const auto lock = channel.Lock();
    VendorReply reply = command();
    if (query ? reply.value < 0 : reply.value != 0) {
        why = DescribeLastFailure(channel, name, vendor_opcode::kNuQsi);
        LogEntry("DCErase - " + why);
    }
    return reply;
}

}  // namespace

struct DcErase::Outcome {
    EraseEnd end = EraseEnd::Completed;
    std::string status;
};

std::vector<DcEraseStep> DcEraseDataSteps(int mediaType, std::int64_t rangeStart, std::int64_t rangeEnd)
{
    const std::int64_t first = mediaType == kMediaDvdMinusRw ? kDcDvdDataStart : rangeStart;
    const std::int64_t total = rangeEnd - first;
    const std::int64_t portion = total / kDcDataSteps;
    std::vector<DcEraseStep> steps;
    if (portion <= 0)
        return steps;
    std::int64_t remaining = total;
    std::int64_t from = first;
    for (int step = 0; step < kDcDataSteps; ++step) {
        remaining -= portion;
        const std::int64_t to = remaining > portion ? from + portion : rangeEnd;
        steps.push_back({static_cast<std::uint32_t>(from), static_cast<std::uint32_t>(to)});
        from = to + 1;
    }
    return steps;
}

DcErase::DcErase(DriveContext& drive, EraseSink& sink) : m_drive(drive), m_sink(sink)
{
}

int DcErase::GetDriveSpeeds(int mediaType)
{
    if (m_drive.mmc.SetCdSpeed(0, 1, 1, 0, 0) != 0)  // the fastest: FFFFh for both speeds
        return 0;
    std::vector<std::uint8_t> page;
    if (const int result = m_drive.recording.ReadCapabilitiesPage(page); result != 0)
        return result;
    if (page[2] >= 0x70 || page[36] == 0xFF)  // no disc, or no speed told
        return 0;
    const int kBps = scsi::GetBe16(&page[36]);
    if (IsDvd(mediaType))
        return kBps / kKBpsPerDvdX;
    if (IsCd(mediaType))
        return kBps / kKBpsPerCdX;
    return 0;
}

std::optional<std::int64_t> DcErase::ReadTrackInfo(std::string* failure)
{
    std::vector<std::uint8_t> answer(kTrackInformationLength, 0);
    const auto lock = m_drive.m_ScsiCommand.Lock();
    if (!m_drive.reads.ReadTrackInformation(answer.data(), kTrackInformationLength, 1)) {
        if (failure)
            *failure = DescribeLastFailure(m_drive.m_ScsiCommand, "READ TRACK INFORMATION", mmc::kReadTrackInformation);
        return std::nullopt;
    }
    return std::int64_t{scsi::GetBe32(&answer[16])} + std::int64_t{kDvdFirstDataSector};
}

std::optional<std::int64_t> DcErase::LastTrackEnd(std::string* failure)
{
    DiscInformation information;
    if (m_drive.recording.ReadDiscInformation(information, failure) != 0)
        return std::nullopt;
    if (!information.lastTrackInLastSession) {
        if (failure)
            *failure = "READ DISC INFORMATION did not name the last track";
        return std::nullopt;
    }
    const int lastTrack = static_cast<int>(*information.lastTrackInLastSession);
    std::vector<std::uint8_t> answer(kTrackInformationLength, 0);
    const auto lock = m_drive.m_ScsiCommand.Lock();
    if (!m_drive.reads.ReadTrackInformation(answer.data(), kTrackInformationLength, lastTrack)) {
        if (failure)
            *failure = DescribeLastFailure(m_drive.m_ScsiCommand, "READ TRACK INFORMATION", mmc::kReadTrackInformation);
        return std::nullopt;
    }
    const std::int64_t size = scsi::GetBe32(&answer[24]);
    if (size == 0) {
        if (failure)
            *failure = Format("track %d holds no blocks", lastTrack);
        return std::nullopt;
    }
    return std::int64_t{scsi::GetBe32(&answer[8])} + size + kDvdFirstDataSector;
}

std::optional<std::int64_t> DcErase::FullEraseEnd(std::string* failure)
{
    const std::optional<std::int64_t> free = ReadTrackInfo(failure);
    if (!free)
        return std::nullopt;
    // A closed disc has no free blocks: its recorded blocks are what a full erase covers.
    const CapacityAnswer capacity = m_drive.reads.ReadCapacityAnswer();
    if (!capacity.ok) {
        // The last track's end tells the recorded part instead; no range is guessed.
        std::string why;
        const std::optional<std::int64_t> trackEnd = LastTrackEnd(&why);
        if (!trackEnd) {
            if (failure)
                *failure = "the end of the recorded data is not known: READ CAPACITY (25h) failed, then " + why;
            return std::nullopt;
        }
        return std::max(*free, *trackEnd);
    }
    const bool recorded = capacity.lastLba != 0xFFFFFFFF;
    if (!recorded && *free == kDvdFirstDataSector) {
        if (failure)
            *failure = "READ CAPACITY (25h) tells no recorded blocks and the disc has no free ones";
        return std::nullopt;
    }
    const std::int64_t recordedEnd = recorded ? std::int64_t{capacity.lastLba} + 1 + kDvdFirstDataSector : 0;
    return std::max(*free, recordedEnd);
}

std::optional<DcErasePlan> DcErase::Prepare(int mediaType, std::int64_t rangeStart, std::int64_t rangeEnd, bool quick,
                                            UserPrompt* prompt)
{
    const auto tell = [&](const std::string& text) {
        if (prompt)
            prompt->MessageBox(text, std::string(), MB_OK);
        return std::nullopt;
    };
    if (!IsDvd(mediaType) && !IsCd(mediaType))
        return tell(kIncorrectMedia);
    // A CD may be reported as CD-ROM or CD-R: only its disc information tells a rewritable one.
    DiscInformation information;
    std::string why;
    if (m_drive.recording.ReadDiscInformation(information, &why) != 0) {
        m_sink.SetStatus(Joined(kFailed, why));
        return std::nullopt;
    }
    if (!information.erasable)
        return tell(kIncorrectMedia);
    if (IsDvd(mediaType)) {
        const std::int64_t start = mediaType == kMediaDvdMinusRw ? kDcDvdDataStart : rangeStart;
        if (rangeEnd - start < kShortestRange) {
            m_sink.SetStatus(Joined(kFailed, "the range is too short to erase"));
            return std::nullopt;
        }
    }
    if (m_drive.reads.ReadCapacity() > 0
        && (!prompt
            || prompt->MessageBox("This disc has data on it,  are you sure you want to erase it?", "ARE YOU SURE?",
                                  MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2)
                != IDYES))
        return std::nullopt;

    DcErasePlan plan;
    plan.mediaType = mediaType;
    plan.rangeStart = rangeStart;
    plan.rangeEnd = rangeEnd;
    plan.speed = GetDriveSpeeds(mediaType);
    if (plan.speed <= 0) {  // nothing to divide by: the drive's speed is not known
        LogEntryF("DCErase - no write speed from the drive, erasing at %dx", kDcDefaultSpeed);
        plan.speed = kDcDefaultSpeed;
    }
    plan.confirmation = DescribeTarget(m_drive, MediaTypeName(mediaType));
    plan.confirmation.action = quick ? "DC erase of the disc (quick)" : "DC erase of the disc (full)";
    plan.confirmation.loss = "Everything recorded on the disc will be lost.";
    return plan;
}

DriveLoss DcErase::WaitUnitReady()
{
    for (std::uint32_t attempt = 0; attempt < 2 * kReadyWaitSeconds; ++attempt) {
        const CommandAnswer answer = m_drive.mmc.TestUnitReady();
        // A drive busy erasing answers not ready: only a disc or drive gone ends the wait.
        if (const DriveLoss loss = LossOf(answer); loss == DriveLoss::DiscGone || loss == DriveLoss::DriveGone) {
            LogEntry("DCErase - " + answer.failure);
            return loss;
        }
        const SenseCode& sense = answer.sense;
        if (answer.ok || (sense.key == 0 && sense.asc == 0 && sense.ascq == 0))
            return DriveLoss::None;  // ready, or nothing to wait for
        Sleep(kPollMs);
    }
    return DriveLoss::None;  // still busy: the next command tells
}

std::optional<DcErase::Outcome> DcErase::WaitGone()
{
    const DriveLoss loss = WaitUnitReady();
    if (loss == DriveLoss::None)
        return std::nullopt;
    return Outcome{EraseEnd::Failed, Joined(kFailed, DriveLossText(loss))};
}

void DcErase::Sleep(std::uint32_t milliseconds)
{
    m_drive.mmc.GetWaitClock().SleepMs(milliseconds);
}

EraseResult DcErase::DoErase(const DcErasePlan& plan, const std::function<bool()>& stop)
{
    m_sink.SetStatus("");
    m_sink.SetStatus("Preparing DC Erase");
    const std::optional<Outcome> gone = WaitGone();
    TrayLock lock(m_drive.mmc);
    Outcome outcome = gone ? *gone : SetUp(plan, stop);
    if (outcome.end == EraseEnd::Completed)
        outcome = IsCd(plan.mediaType) ? EraseCd(plan, stop) : EraseDvd(plan, stop);
    return End(lock, outcome);
}

DcErase::Outcome DcErase::SetUp(const DcErasePlan& plan, const std::function<bool()>& stop)
{
    CScsiCommand& channel = m_drive.m_ScsiCommand;
    NuQsiCommands& nu = m_drive.nuQsi;
    std::string why;
    if (const auto gone = WaitGone())
        return *gone;
    if (Send(channel, "DC erase 00h", false, why, [&] { return nu.EnterEraseMode(); }).value != 0)
        return {EraseEnd::Failed, Joined(kFailed, why)};
    if (const auto gone = WaitGone())
        return *gone;
    if (Send(channel, "DC erase 02h", false, why,
             [&] { return nu.SetEraseParameters(plan.mode, plan.rangeType, true, plan.speed); })
            .value
        != 0)
        return {EraseEnd::Failed, Joined(kFailed, why)};
    for (int write = 0; write < kMostSetUpWrites; ++write) {
        if (stop && stop())
            return {EraseEnd::Stopped, kAborted};
        if (const auto gone = WaitGone())
            return *gone;
        if (Send(channel, "DC erase 03h", false, why, [&] { return nu.WriteEraseBlocks(1); }).value != 0)
            return {EraseEnd::Failed, Joined(kFailed, why)};
        const VendorReply word = Send(channel, "DC erase 04h", true, why, [&] { return nu.GetEraseStatusWord(); });
        if (word.value < 0)
            return {EraseEnd::Failed, Joined(kFailed, why)};
        if (word.value <= kReadyStatusWord)
            return {};
    }
    return {EraseEnd::Failed, Joined(kFailed, "the drive did not get ready to erase")};
}

std::optional<DcErase::Outcome> DcErase::PollStep(int percent, const std::function<bool()>& stop, std::uint64_t limitMs)
{
    WaitClock& clock = m_drive.mmc.GetWaitClock();
    const std::uint64_t startedAt = clock.NowMs();
    bool stopping = false;
    std::string why;
    for (;;) {
        if (percent >= 0)
            m_sink.SetProgress(percent);
        if (const auto gone = WaitGone())
            return gone;  // a step that ends without its disc has not erased it
        const VendorReply state = Send(m_drive.m_ScsiCommand, "DC erase 06h", true, why,
                                       [&] { return m_drive.nuQsi.GetEraseState(); });
        if (state.value < 0)
            return Outcome{EraseEnd::Failed, Joined(kPollFailed, why)};
        if (!stopping && stop && stop()) {
            stopping = true;
            m_sink.SetStatus(kTryingToStop);
        }
        if (state.value == 0)
            return stopping ? std::optional(Outcome{EraseEnd::Stopped, kAborted}) : std::nullopt;
        if (state.value == 2)
            return Outcome{EraseEnd::Failed, "DC Erase aborted. Write failure or end of formatted area"};
        if (clock.NowMs() - startedAt >= limitMs)
            return Outcome{EraseEnd::Failed,
                           Format("%s - the drive did not finish within %llu minutes", kFailed,
                                  static_cast<unsigned long long>(limitMs / kMinuteMs))};
        Sleep(kPollMs);  // the drive is asked again, not hammered
    }
}

DcErase::Outcome DcErase::Complete()
{
    if (const auto ended = PollStep(-1, {}, kDvdStepLimitMs))
        return *ended;
    m_sink.SetProgress(100);
    return {EraseEnd::Completed, kCompleted};
}

DcErase::Outcome DcErase::EraseDvd(const DcErasePlan& plan, const std::function<bool()>& stop)
{
    CScsiCommand& channel = m_drive.m_ScsiCommand;
    NuQsiCommands& nu = m_drive.nuQsi;
    std::string why;
    // The failure of an erase command: none when the drive took it.
    const auto erase = [&](std::uint32_t first, std::uint32_t last) -> std::optional<Outcome> {
        if (const auto gone = WaitGone())
            return gone;
        if (Send(channel, "DC erase 05h", false, why, [&] { return nu.EraseBlocks(first, last); }).value != 0)
            return Outcome{EraseEnd::Failed, Joined(kFailed, why)};
        return std::nullopt;
    };
    if (plan.mediaType == kMediaDvdMinusRw) {
        const struct {
            std::string status;
            std::uint32_t first;
            std::uint32_t last;
        } leadIn[] = {{Format("DC Erasing Lead-in part one @ %dx. Please wait...", plan.speed), 0x20360, 0x22FA0},
                      {Format("DC Erasing Lead-in part two @ %dx. Please wait...", plan.speed), 0x2E200, 0x2F1F0}};
        for (const auto& part : leadIn) {
            if (stop && stop())
                return {EraseEnd::Stopped, kAborted};
            m_sink.SetStatus(part.status);
            if (const auto failed = erase(part.first, part.last))
                return *failed;
            m_sink.SetStatus("Waiting for drive...");
            Sleep(4000);
        }
    }
    const std::vector<DcEraseStep> steps = DcEraseDataSteps(plan.mediaType, plan.rangeStart, plan.rangeEnd);
    for (std::size_t index = 0; index < steps.size(); ++index) {
        if (stop && stop())
            return {EraseEnd::Stopped, kAborted};
        const DcEraseStep& step = steps[index];
        m_sink.SetStatus(Format("DC Erasing blocks %X to %X @ %dx. Please wait...", step.first, step.last, plan.speed));
        if (plan.mediaType == kMediaDvdMinusRw)
            Sleep(3000);
        if (const auto failed = erase(step.first, step.last))
            return *failed;
        const int percent = index + 1 == steps.size() ? 99 : static_cast<int>(index + 1) * 5;
        if (const auto ended = PollStep(percent, stop, kDvdStepLimitMs))
            return *ended;
        Sleep(500);
    }
    return Complete();
}

DcErase::Outcome DcErase::EraseCd(const DcErasePlan& plan, const std::function<bool()>& stop)
{
    const bool quick = plan.rangeStart == kDcCdQuick;
    std::string why;
    if (const auto gone = WaitGone())
        return *gone;
    m_sink.SetStatus(quick ? Format("Quick DC Erasing CDRW @ %dx. Please wait...", plan.speed)
                           : Format("Full DC Erasing CDRW @ %dx. Please wait...", plan.speed));
    if (Send(m_drive.m_ScsiCommand, "DC erase 05h", false, why, [&] { return m_drive.nuQsi.EraseCdBlocks(quick); })
            .value
        != 0)
        return {EraseEnd::Failed, Joined(kFailed, why)};
    WaitClock& clock = m_drive.mmc.GetWaitClock();
    const std::uint64_t startedAt = clock.NowMs();
    const std::uint32_t pauseMs = (quick ? 1800u : 48000u) / static_cast<std::uint32_t>(plan.speed);
    int progress = 0;
    for (;;) {
        if (stop && stop()) {
            m_sink.SetStatus(kTryingToStop);
            return {EraseEnd::Stopped, kAborted};
        }
        if (const auto gone = WaitGone())
            return *gone;
        const VendorReply state = Send(m_drive.m_ScsiCommand, "DC erase 06h", true, why,
                                       [&] { return m_drive.nuQsi.GetEraseState(); });
        if (state.value < 0)
            return {EraseEnd::Failed, Joined(kPollFailed, why)};
        if (state.value == 0)
            return Complete();
        if (state.value == 2) {  // the CD form ends at the end of the disc's area
            m_sink.SetProgress(100);
            return {EraseEnd::Completed, kCompleted};
        }
        if (clock.NowMs() - startedAt >= kCdEraseLimitMs)
            return {EraseEnd::Failed,
                    Format("%s - the drive did not finish within %llu minutes", kFailed,
                           static_cast<unsigned long long>(kCdEraseLimitMs / kMinuteMs))};
        Sleep(pauseMs);
        progress = progress >= 99 ? 1 : progress + 1;
        m_sink.SetProgress(progress);
    }
}

EraseResult DcErase::End(TrayLock& lock, const Outcome& outcome)
{
    // Every way out, the disc there or not: the waits only give the drive its time.
    std::string why;
    WaitUnitReady();
    Send(m_drive.m_ScsiCommand, "DC erase 01h", false, why, [&] { return m_drive.nuQsi.LeaveEraseMode(); });
    WaitUnitReady();
    lock.Release();
    m_sink.SetStatus(outcome.status);
    WaitUnitReady();
    m_drive.recording.EjectMedium();
    LogEntry("DCErase - " + outcome.status);
    return {outcome.end, outcome.status};
}

}  // namespace erasing
