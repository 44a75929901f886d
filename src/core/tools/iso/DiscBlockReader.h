#pragma once

#include "core/drive/DriveLoss.h"
#include "core/drive/MmcTypes.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// How blocks are asked for: READ(10); READ(10) that must reach the medium
// (Force Unit Access, the trial read); or READ CD of whole 2352-byte sectors
// (sync, headers, user data, EDC/ECC).
enum class BlockRead { Read10, Read10Fua, ReadCdRaw };

// The disc's layers as READ DISC STRUCTURE (format 0) tells them.
struct DiscLayers {
    int layers = 1;
    std::int64_t layerBreakLba = 0;  // the last block of layer 0, as the block map marks it
};

// The drive as ISO creation and the disc compares use it. The drive layer
// gives one over the main window's command channel; tests give their own.
class DiscBlockReader {
public:
    virtual ~DiscBlockReader() = default;

    // The current MMC profile; nullopt when GET CONFIGURATION fails.
    virtual std::optional<int> CurrentProfile() = 0;
    // Nullopt when READ DISC STRUCTURE fails.
    virtual std::optional<DiscLayers> ReadLayers() = 0;
    // The last block address from READ CAPACITY; nullopt when it fails.
    virtual std::optional<std::int64_t> ReadLastLba() = 0;
    // Asks until the unit is ready (or waiting cannot help).
    virtual void WaitUntilReady() = 0;
    // count blocks (sectors for READ CD) from lba into buffer, which holds
    // them all.
    virtual BlockReadResult ReadBlocks(BlockRead command, std::int64_t lba, int count, std::span<std::uint8_t> buffer)
        = 0;
    virtual void PreventRemoval(bool prevent) = 0;
    // SET CD SPEED to the drive's fastest reading and writing.
    virtual void SetMaximumSpeed() = 0;
    // Tells the user why the last command failed (the sense report).
    virtual void ReportSenseError(int opcode) = 0;
    // Whether a failed read says the disc or the drive has gone, or that the
    // drive stays not ready (DriveLoss).
    virtual DriveLoss LossAfter(const BlockReadResult& read) { return LossOf(read); }
};
