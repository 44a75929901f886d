#include "emu/commands/Commands.h"
#include "emu/commands/Measurement.h"
#include "scsi/Bytes.h"
#include "scsi/DiscStructure.h"
#include "scsi/Opcodes.h"

#include <algorithm>
#include <array>

namespace emu {

namespace {

constexpr std::uint8_t kDataMode = 0x02;
constexpr std::uint8_t kErrorBuffer = 0xE1;
constexpr std::size_t kRequestLength = 32;
constexpr std::size_t kAopenAnswerLength = 16;
constexpr std::uint8_t kEndOfData = 0x10;  // answer byte 0: the request reached past the recorded data

std::uint32_t Saturated(std::uint64_t value, std::uint32_t limit)
{
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(value, limit));
}

// Measures [lba, lba + count) as far as the disc is recorded: false when the
// measurement failed (the command carries its sense). `reachedEnd` tells
// whether the request went past the recorded data.
bool MeasureRequest(CommandContext& command, std::uint64_t lba, std::uint64_t count, ErrorSum& sum, bool& reachedEnd)
{
    const std::uint64_t recorded = command.drive.medium->description.capacityBlocks;
    reachedEnd = lba + count > recorded;
    sum = {};
    if (lba >= recorded || count == 0)
        return true;
    MoveMeasurementTo(command.drive, lba);
    const auto measured = MeasureNext(command, static_cast<std::uint32_t>(std::min(count, recorded - lba)));
    if (!measured)
        return false;
    sum = measured->errors;
    return true;
}

// Mode 02h of buffer E1h at offset 0: the only buffer these drives offer.
bool IsErrorBuffer(CommandContext& command, std::uint32_t length)
{
    if ((command.Byte(1) & 0x1F) != kDataMode || command.Byte(2) != kErrorBuffer || command.Be32(2) & 0x00FFFFFF
        || length < kRequestLength) {
        command.Fail(sense::kInvalidFieldInCdb);
        return false;
    }
    return true;
}

// WRITE BUFFER of a request (FFh 01h, the physical sector in bytes 3-6, the
// sector count in 7-10, the unit in ECC blocks in byte 14): the drive
// measures it and prepares the answer READ BUFFER gives. The answer holds
// the PIF sum in tenths in bytes 3-6 and the PI sum in 11-14, and for each,
// in four bytes (7-10, 15-18), how many units end in each quarter of the
// request: PI and PIF per unit are the sums over ten times the units.
void PioneerWriteBuffer(CommandContext& command)
{
    PioneerSettings& pioneer = command.drive.vendorSettings.pioneer;
    pioneer.answerReady = false;
    if (!IsErrorBuffer(command, command.Be32(5) & 0xFFFFFF))
        return;
    if (!command.TransferIs(command.Be32(5) & 0xFFFFFF))
        return;
    std::size_t length = 0;
    const std::uint8_t* request = command.DataOut(length);
    if (!request || length < kRequestLength) {
        command.Fail(sense::kParameterListLengthError);
        return;
    }
    const std::uint32_t physical = scsi::GetBe32(&request[3]);
    if (request[0] != 0xFF || request[1] != 0x01 || physical < kDvdFirstDataSector) {
        command.Fail(sense::kInvalidFieldInParameterList);
        return;
    }
    ErrorSum sum;
    bool reachedEnd = false;
    if (!MeasureRequest(command, physical - kDvdFirstDataSector, scsi::GetBe32(&request[7]), sum, reachedEnd))
        return;
    std::array<std::uint8_t, 4> quarters{};
    const std::uint8_t unit = request[14];
    for (std::uint64_t block = 0; unit != 0 && block < sum.blocks; ++block)
        if ((block + 1) % unit == 0)
            quarters[block * 4 / sum.blocks] = static_cast<std::uint8_t>(
                std::min(quarters[block * 4 / sum.blocks] + 1, 255));
    pioneer.answer.fill(0);
    pioneer.answer[0] = reachedEnd ? kEndOfData : 0;
    scsi::PutBe32(&pioneer.answer[3], Saturated(std::uint64_t{sum.total.pif} * 10, 0xFFFFFFFF));
    scsi::PutBe32(&pioneer.answer[11], sum.total.pi);
    std::copy(quarters.begin(), quarters.end(), pioneer.answer.begin() + 7);
    std::copy(quarters.begin(), quarters.end(), pioneer.answer.begin() + 15);
    pioneer.answerReady = true;
}

// READ BUFFER: the answer of the last request; none before one was measured.
void PioneerReadBuffer(CommandContext& command)
{
    const std::uint32_t allocation = command.Be32(5) & 0xFFFFFF;
    if (!IsErrorBuffer(command, allocation))
        return;
    const PioneerSettings& pioneer = command.drive.vendorSettings.pioneer;
    if (!pioneer.answerReady) {
        command.Fail(sense::kCommandSequenceError);
        return;
    }
    command.Answer({pioneer.answer.begin(), pioneer.answer.end()}, allocation);
}

// E7h: the PI of the sectors from bytes 2-5 on, as many as bytes 7-8 say,
// in answer bytes 6-7; byte 0 is 10h when they reach past the recorded data.
void AopenErrorRead(CommandContext& command)
{
    ErrorSum sum;
    bool reachedEnd = false;
    if (!MeasureRequest(command, command.Be32(2), command.Be16(7), sum, reachedEnd))
        return;
    std::vector<std::uint8_t> answer(kAopenAnswerLength, 0);
    answer[0] = reachedEnd ? kEndOfData : 0;
    scsi::PutBe16(&answer[6], Saturated(sum.total.pi, 0xFFFF));
    command.Answer(answer, kAopenAnswerLength);
}

}  // namespace

void RegisterPioneerCommands(CommandTable& table)
{
    table.Register({.opcode = mmc::kWriteBuffer,
                    .name = "WRITE BUFFER",
                    .cdbLength = 10,
                    .needsReadyMedium = true,
                    .handler = PioneerWriteBuffer});
    table.Register({.opcode = mmc::kReadBuffer,
                    .name = "READ BUFFER",
                    .cdbLength = 10,
                    .needsReadyMedium = true,
                    .handler = PioneerReadBuffer});
}

void RegisterAopenCommands(CommandTable& table)
{
    table.Register({.opcode = vendor_opcode::kAopenErrorRead,
                    .name = "AOPEN VENDOR E7",
                    .cdbLength = 12,
                    .needsReadyMedium = true,
                    .handler = AopenErrorRead});
}

}  // namespace emu
