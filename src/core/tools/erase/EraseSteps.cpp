#include "core/tools/erase/EraseSteps.h"

#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/base/Percent.h"
#include "core/drive/DriveContext.h"
#include "core/tools/erase/EraseSink.h"

namespace erasing {

namespace {

constexpr int kNotReady = 0x02;
constexpr int kUnitAttention = 0x06;
constexpr int kIllegalRequest = 0x05;
constexpr int kLogicalUnitNotReady = 0x04;
constexpr int kMediumNotPresent = 0x3A;
constexpr std::uint64_t kLongestWaits = 3;  // a wait never lasts longer than this many stall times

// Whether waiting can make the unit ready: any NOT READY but a missing disc
// (drives differ in what they report while they work), or a change told.
bool WorthWaiting(const SenseCode& sense)
{
    return sense.key == kUnitAttention || (sense.key == kNotReady && sense.asc != kMediumNotPresent);
}

// An operation the drive is still carrying out: formatting, a long write or
// close, a lengthy operation (02h/04h/04h, 07h, 08h).
bool InProgress(const SenseCode& sense)
{
    return sense.key == kNotReady && sense.asc == kLogicalUnitNotReady
        && (sense.ascq == 0x04 || sense.ascq == 0x07 || sense.ascq == 0x08);
}

std::string Minutes(std::uint64_t ms)
{
    return Format("%llu minutes", static_cast<unsigned long long>(ms / 60000));
}

}  // namespace

void PumpMessages(EraseSink& sink, int value, const char* firstText, const char* text, int divisor)
{
    sink.SetStatus(value == 1 ? firstText : text);
    sink.SetProgress(LongOperationPercent(value, divisor));
}

WaitOutcome WaitUntilReady(DriveContext& drive, EraseSink& sink, const std::function<bool()>& stop,
                           const WaitBounds& bounds, const ProgressTexts* texts)
{
    WaitClock& clock = drive.mmc.GetWaitClock();
    const std::uint64_t startedAt = clock.NowMs();
    std::uint64_t movedAt = startedAt;
    int lastProgress = -1;
    for (;;) {
        if (stop && stop())
            return {WaitEnd::Stopped, {}};
        const CommandAnswer answer = drive.mmc.TestUnitReady();
        if (answer.ok)
            return {};
        if (answer.lost || !WorthWaiting(answer.sense)) {
            LogEntry("WaitUntilReady() - " + answer.failure);
            return {WaitEnd::Failed, answer.failure};
        }
        const SenseCode& sense = answer.sense;
        const int progress = drive.mmc.GetProgress();
        if (clock.NowMs() - startedAt >= kLongestWaits * bounds.stallMs) {
            const std::string failure = "The drive did not become ready within "
                + Minutes(kLongestWaits * bounds.stallMs);
            LogEntry("WaitUntilReady() - " + failure);
            return {WaitEnd::Failed, failure};
        }
        if (progress != lastProgress) {
            lastProgress = progress;
            movedAt = clock.NowMs();
        } else if (clock.NowMs() - movedAt >= bounds.stallMs) {
            const std::string failure = Format("The drive made no progress for %s (sense %X/%02X/%02X)",
                                               Minutes(bounds.stallMs).c_str(), sense.key, sense.asc, sense.ascq);
            LogEntry("WaitUntilReady() - " + failure);
            return {WaitEnd::Failed, failure};
        }
        if (texts)
            PumpMessages(sink, progress, texts->firstText, texts->text, texts->divisor);
        clock.SleepMs(bounds.pollMs);
    }
}

WaitOutcome AwaitOperationEnd(DriveContext& drive, const std::function<bool()>& stop, const WaitBounds& bounds)
{
    WaitClock& clock = drive.mmc.GetWaitClock();
    const std::uint64_t startedAt = clock.NowMs();
    for (;;) {
        if (stop && stop())
            return {WaitEnd::Stopped, {}};
        const CommandAnswer answer = drive.recording.StopUnit();
        if (answer.ok)
            return {};
        if (!answer.lost && answer.sense.key == kIllegalRequest) {  // a drive that refuses it has nothing running
            LogEntry("AwaitOperationEnd() - " + answer.failure);
            return {};
        }
        if (answer.lost || !(InProgress(answer.sense) || answer.sense.key == kUnitAttention)) {
            LogEntry("AwaitOperationEnd() - " + answer.failure);
            return {WaitEnd::Failed, answer.failure};
        }
        if (clock.NowMs() - startedAt >= bounds.stallMs) {
            const std::string failure = "The drive did not finish its operation within " + Minutes(bounds.stallMs);
            LogEntry("AwaitOperationEnd() - " + failure);
            return {WaitEnd::Failed, failure};
        }
        clock.SleepMs(bounds.pollMs);
    }
}

}  // namespace erasing
