#include "emu/commands/Measurement.h"

#include "emu/Sense.h"
#include "scsi/Bytes.h"

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

void ReadEccBlockErrors(CommandContext& command)
{
    constexpr std::uint8_t kErrorRead = 0x0E;
    constexpr std::uint8_t kMeasureEccBlock = 0x10;
    constexpr std::size_t kAnswerLength = 16;
    bool errorRead = command.Byte(1) == kErrorRead && command.Byte(8) == kMeasureEccBlock;
    for (std::size_t index = 2; index < 8; ++index)
        errorRead = errorRead && command.Byte(index) == 0;
    if (!errorRead) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    if (!HasReadyMedium(command))
        return;
    const auto measured = MeasureNext(command, kEccBlockSectors);
    if (!measured)
        return;
    std::vector<std::uint8_t> answer(kAnswerLength, 0);
    scsi::PutBe24(&answer[1], static_cast<std::uint32_t>(measured->position));
    scsi::PutBe16(&answer[4], measured->errors.total.pi);
    scsi::PutBe16(&answer[6], measured->errors.total.pif);
    command.Answer(answer, kAnswerLength);
}

}  // namespace emu
