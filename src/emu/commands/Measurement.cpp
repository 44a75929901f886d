#include "emu/commands/Measurement.h"

namespace emu {

namespace {

StuckPosition* StuckAt(MeasuringState& measuring)
{
    for (StuckPosition& stuck : measuring.stuck)
        if (stuck.answers != 0 && measuring.position >= stuck.position)
            return &stuck;
    return nullptr;
}

}  // namespace

std::optional<Measurement> MeasureNext(CommandContext& command, std::uint32_t sectors)
{
    DriveState& drive = command.drive;
    MeasuringState& measuring = drive.measuring;
    const std::uint64_t first = measuring.position;
    if (const auto bad = drive.FindMediumError(command.Byte(0), first, sectors)) {
        command.Fail(bad->sense, static_cast<std::uint32_t>(bad->block));
        return std::nullopt;
    }
    drive.SpendReadTime(first, sectors);
    Measurement measurement{first, MeasureSectors(drive.medium->description.errors, first, sectors)};
    if (StuckPosition* stuck = StuckAt(measuring)) {
        if (stuck->answers > 0)
            --stuck->answers;
        measurement.position = stuck->reportsZero ? 0 : stuck->position;
        measurement.addressLost = stuck->reportsZero;
        return measurement;
    }
    measuring.position += sectors;
    return measurement;
}

bool HasReadyMedium(CommandContext& command)
{
    if (const auto notReady = command.drive.NotReadyReason()) {
        command.Fail(*notReady);
        return false;
    }
    return true;
}

void MoveMeasurementTo(DriveState& drive, std::uint64_t lba)
{
    drive.measuring.position = lba - lba % kEccBlockSectors;
}

}  // namespace emu
