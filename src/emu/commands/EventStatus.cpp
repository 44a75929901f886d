#include "emu/commands/Commands.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

namespace emu {

namespace {

// Notification classes: the class codes of the header and their bits in a request.
constexpr std::uint8_t kOperationalChangeClass = 1;
constexpr std::uint8_t kMediaClass = 4;
constexpr std::uint8_t kSupportedClasses = (1u << kOperationalChangeClass) | (1u << kMediaClass);
constexpr std::uint8_t kNoEventAvailable = 0x80;

// The drive answers only polled requests; the media class reports the event
// waiting since the last poll (a new disc, its removal, an eject request) once.
void GetEventStatusNotification(CommandContext& command)
{
    const bool polled = command.Byte(1) & 0x01;
    if (!polled) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    DriveState& drive = command.drive;
    const std::uint8_t requested = command.Byte(4) & kSupportedClasses;
    std::vector<std::uint8_t> answer(4, 0);
    answer[3] = kSupportedClasses;
    if (requested & (1u << kMediaClass)) {
        answer[2] = kMediaClass;
        const std::uint8_t event = drive.pendingMediaEvent.value_or(0);
        drive.pendingMediaEvent.reset();
        const bool present = drive.medium.has_value() && !drive.trayOpen;
        answer.insert(
            answer.end(),
            {event, static_cast<std::uint8_t>((present ? 0x02 : 0) | (drive.trayOpen ? 0x01 : 0)), 0x00, 0x00});
    } else if (requested & (1u << kOperationalChangeClass)) {
        answer[2] = kOperationalChangeClass;
        answer.insert(answer.end(), {0x00, 0x00, 0x00, 0x00});  // no change
    } else {
        answer[2] = kNoEventAvailable;
    }
    scsi::PutBe16(&answer[0], static_cast<std::uint32_t>(answer.size() - 2));
    command.Answer(answer, command.Be16(7));
}

}  // namespace

void RegisterEventStatus(CommandTable& table)
{
    table.Register({.opcode = mmc::kGetEventStatusNotification,
                    .name = "GET EVENT STATUS NOTIFICATION",
                    .cdbLength = 10,
                    .reportsUnitAttention = false,
                    .handler = GetEventStatusNotification});
}

}  // namespace emu
