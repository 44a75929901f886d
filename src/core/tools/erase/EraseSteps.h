#pragma once

#include <cstdint>
#include <functional>
#include <string>

class DriveContext;
class EraseSink;

namespace erasing {

// The status and bar of a long operation's progress (PumpMessages): the bar
// at value x 100 / divisor + 1 (at most 100); the status `firstText` at the
// value 1, else `text` (the texts carry no figure: the bar shows it).
void PumpMessages(EraseSink& sink, int value, const char* firstText, const char* text, int divisor);

// The progress texts of a wait, as PumpMessages takes them.
struct ProgressTexts {
    const char* firstText;
    const char* text;
    int divisor;
};

enum class WaitEnd { Ready, Stopped, Failed };
struct WaitOutcome {
    WaitEnd end = WaitEnd::Ready;
    std::string failure;  // why it failed
    bool Ready() const { return end == WaitEnd::Ready; }
};

// How a wait for the unit is bounded: the pause between tries, and how long
// the drive may go without moving its progress on before the wait fails.
struct WaitBounds {
    std::uint32_t pollMs = 250;
    std::uint64_t stallMs = 0;
};

// TEST UNIT READY until the unit is ready. A unit that answers NOT READY
// for any reason but a missing disc, or UNIT ATTENTION, is waited for (with
// texts, its progress shown); any other answer fails the wait with its sense
// in words, and so does a drive whose progress stands still for the bound's
// stall time (and any wait past three stall times). `stop` is asked before
// every try.
WaitOutcome WaitUntilReady(DriveContext& drive, EraseSink& sink, const std::function<bool()>& stop,
                           const WaitBounds& bounds, const ProgressTexts* texts = nullptr);

// The end of an operation as the drive sees it: START STOP UNIT (stop)
// again every pollMs while the drive answers that an operation is in
// progress, since some drives answer TEST UNIT READY with ready while they
// still close. Ready once the drive takes it (or refuses it as a command it
// does not know); a failure with its sense in words, or after the stall time.
WaitOutcome AwaitOperationEnd(DriveContext& drive, const std::function<bool()>& stop, const WaitBounds& bounds);

}  // namespace erasing
