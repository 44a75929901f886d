#include "emu/commands/Commands.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

namespace emu {

namespace {

// Answered by the dispatcher: a ready disc or a not-ready sense.
void TestUnitReady(CommandContext&)
{
}

void RequestSense(CommandContext& command)
{
    if (command.Byte(1) & 0x01) {  // descriptor format is not offered
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    DriveState& drive = command.drive;
    if (drive.lastSense) {
        // The sense the previous command ended with, as ATAPI drives keep it for the host.
        FixedSense previous = *drive.lastSense;
        drive.lastSense.reset();
        if (const auto progress = drive.OperationProgress(); progress && (previous[15] & 0x80))
            scsi::PutBe16(&previous[16], *progress);  // a running format has gone on since
        command.Answer({previous.begin(), previous.end()}, command.Byte(4));
        return;
    }
    Sense current;
    std::optional<std::uint16_t> progress;
    if (drive.MediumChangeAttentionDue()) {
        drive.mediumChangePending = false;
        current = sense::kMediumChanged;
    } else if (const auto notReady = drive.NotReadyReason()) {
        current = *notReady;
        progress = drive.OperationProgress();
    } else if (const auto background = drive.BackgroundProgress()) {
        current = sense::kOperationInProgress;  // ready, with a DVD+RW's background format under way
        progress = background;
    }
    const FixedSense bytes = BuildFixedSense(current, std::nullopt, progress);
    command.Answer({bytes.begin(), bytes.end()}, command.Byte(4));
}

}  // namespace

void RegisterReadinessCommands(CommandTable& table)
{
    table.Register({.opcode = mmc::kTestUnitReady,
                    .name = "TEST UNIT READY",
                    .cdbLength = 6,
                    .needsReadyMedium = true,
                    .handler = TestUnitReady});
    table.Register({.opcode = mmc::kRequestSense,
                    .name = "REQUEST SENSE",
                    .cdbLength = 6,
                    .reportsUnitAttention = false,
                    .handler = RequestSense});
}

}  // namespace emu
