#include "emu/commands/Commands.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

#include <algorithm>

namespace emu {

namespace {

constexpr std::uint16_t kMaximumSpeed = 0xFFFF;
constexpr std::uint8_t kPerformanceDescriptor = 0x00;
constexpr std::size_t kPerformanceDescriptorLength = 28;
constexpr std::uint8_t kRestoreDefaults = 0x04;  // RDD

std::uint16_t Clamp(std::uint32_t requested, std::uint16_t maximum)
{
    return requested >= kMaximumSpeed ? maximum
                                      : static_cast<std::uint16_t>(std::min<std::uint32_t>(requested, maximum));
}

void SetCdSpeed(CommandContext& command)
{
    if ((command.Byte(1) & 0x03) > 1) {  // rotation control: CLV or CAV only
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    DriveState& drive = command.drive;
    drive.rotationControl = command.Byte(1) & 0x03;
    drive.readSpeedKBps = Clamp(command.Be16(2), drive.TopReadKBps());
    drive.writeSpeedKBps = Clamp(command.Be16(4), drive.TopWriteKBps());
}

// SET STREAMING with a performance descriptor: the read and write speeds as
// sizes (kB) per times (ms) over the whole disc; RDD restores the drive's
// own speeds and rotation.
void SetStreaming(CommandContext& command)
{
    if (command.Byte(8) != kPerformanceDescriptor) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    if (!command.TransferIs(command.Be16(9)))
        return;
    std::size_t length = 0;
    const std::uint8_t* descriptor = command.DataOut(length);
    if (!descriptor || length < kPerformanceDescriptorLength) {
        command.Fail(sense::kParameterListLengthError);
        return;
    }
    DriveState& drive = command.drive;
    if (descriptor[0] & kRestoreDefaults) {
        drive.readSpeedKBps = drive.writeSpeedKBps = 0;
        drive.rotationControl = 0;
        return;
    }
    const std::uint32_t readSize = scsi::GetBe32(descriptor + 12);
    const std::uint32_t readTime = scsi::GetBe32(descriptor + 16);
    const std::uint32_t writeSize = scsi::GetBe32(descriptor + 20);
    const std::uint32_t writeTime = scsi::GetBe32(descriptor + 24);
    if (readTime == 0 || writeTime == 0) {
        command.Fail(sense::kInvalidFieldInParameterList);
        return;
    }
    const auto perSecond = [](std::uint32_t size, std::uint32_t time) {
        return static_cast<std::uint32_t>(std::min<std::uint64_t>(std::uint64_t{size} * 1000 / time, kMaximumSpeed));
    };
    drive.readSpeedKBps = Clamp(perSecond(readSize, readTime), drive.TopReadKBps());
    drive.writeSpeedKBps = Clamp(perSecond(writeSize, writeTime), drive.TopWriteKBps());
}

}  // namespace

void RegisterSpeedCommands(CommandTable& table)
{
    table.Register({.opcode = mmc::kSetCdSpeed, .name = "SET CD SPEED", .cdbLength = 12, .handler = SetCdSpeed});
    table.Register({.opcode = mmc::kSetStreaming, .name = "SET STREAMING", .cdbLength = 12, .handler = SetStreaming});
}

}  // namespace emu
