#pragma once

#include "emu/CommandTable.h"
#include "emu/ErrorProfile.h"

#include <cstdint>
#include <optional>

namespace emu {

// One report of the drive's own error measurement.
struct Measurement {
    std::uint64_t position = 0;  // the sector number the drive reports (LBA)
    ErrorSum errors;
    bool addressLost = false;  // a stuck drive that reports 0 for its position
};

// Measures the next `sectors` sectors from the drive's measuring position:
// the drive reads them (their transfer time passes), counts their errors by
// the disc's profile and moves on. A stuck position is reported again
// without moving on. An error-list rule on those sectors fails the command
// with its sense, and the position stays.
std::optional<Measurement> MeasureNext(CommandContext& command, std::uint32_t sectors);

// For vendor commands whose other sub-commands need no disc: fails the
// command as the dispatcher would when no readable disc is ready.
bool HasReadyMedium(CommandContext& command);

// The F3h error-rate session of the NEC and iHAS families (01h start, 02h
// arm, 03h read, 0Fh end), `sessionOpen` the family's state. NEC drives take
// an LBA with 02h: the measuring cursor moves there.
void AnswerF3Session(CommandContext& command, bool& sessionOpen, bool armTakesLba);

// Starts the measurement at a sector: the start of its ECC block.
void MoveMeasurementTo(DriveState& drive, std::uint64_t lba);

// F3h 0Eh with 10h in byte 8 (bytes 2-7 zero), the error read of the
// Lite-On and Samsung families: the counts of the next ECC block measured,
// its sector number in answer bytes 1-3, PI in 4-5, PIF in 6-7 (16 bytes,
// cut to the allocation length).
void ReadEccBlockErrors(CommandContext& command);

}  // namespace emu
