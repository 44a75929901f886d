#include "core/tools/erase/EraseSteps.h"

#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/base/Percent.h"
#include "core/drive/CommandBlock.h"
#include "core/drive/CommandFailure.h"
#include "core/drive/DriveContext.h"
#include "core/tools/erase/EraseSink.h"
#include "scsi/Opcodes.h"

namespace erasing {

namespace {

constexpr int kNotReady = 0x02;
constexpr int kUnitAttention = 0x06;
constexpr int kLogicalUnitNotReady = 0x04;
constexpr std::uint64_t kLongestWaits = 3;  // a wait never lasts longer than this many stall times

// Whether waiting can make the unit ready: it is becoming ready, formatting,
// erasing or writing (02h/04h/01h, 04h, 07h, 08h), or tells of a change.
bool WorthWaiting(const SenseCode& sense)
{
    if (sense.key == kUnitAttention)
        return true;
    return sense.key == kNotReady && sense.asc == kLogicalUnitNotReady
        && (sense.ascq == 0x01 || sense.ascq == 0x04 || sense.ascq == 0x07 || sense.ascq == 0x08);
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
    CScsiCommand& channel = drive.m_ScsiCommand;
    const std::uint64_t startedAt = clock.NowMs();
    std::uint64_t movedAt = startedAt;
    int lastProgress = -1;
    for (;;) {
        if (stop && stop())
            return {WaitEnd::Stopped, {}};
        SenseCode sense;
        std::string why;
        {
            const auto lock = channel.Lock();
            if (CommandBlock(mmc::kTestUnitReady).Execute(channel, DataDirection::None, nullptr, 0) == 0)
                return {};
            sense = SenseOf(channel.GetSenseBuffer());
            if (channel.LastError() != PassThroughError::None || !WorthWaiting(sense))
                why = DescribeLastFailure(channel, "TEST UNIT READY", mmc::kTestUnitReady);
        }
        if (!why.empty()) {
            LogEntry("WaitUntilReady() - " + why);
            return {WaitEnd::Failed, why};
        }
        const int progress = drive.mmc.GetProgress();
        if (clock.NowMs() - startedAt >= kLongestWaits * bounds.stallMs) {
            const std::string failure = Format("The drive did not become ready within %llu minutes",
                                               static_cast<unsigned long long>(kLongestWaits * bounds.stallMs / 60000));
            LogEntry("WaitUntilReady() - " + failure);
            return {WaitEnd::Failed, failure};
        }
        if (progress != lastProgress) {
            lastProgress = progress;
            movedAt = clock.NowMs();
        } else if (clock.NowMs() - movedAt >= bounds.stallMs) {
            const std::string failure = Format("The drive made no progress for %llu minutes (sense %X/%02X/%02X)",
                                               static_cast<unsigned long long>(bounds.stallMs / 60000), sense.key,
                                               sense.asc, sense.ascq);
            LogEntry("WaitUntilReady() - " + failure);
            return {WaitEnd::Failed, failure};
        }
        if (texts)
            PumpMessages(sink, progress, texts->firstText, texts->text, texts->divisor);
        clock.SleepMs(bounds.pollMs);
    }
}

}  // namespace erasing
