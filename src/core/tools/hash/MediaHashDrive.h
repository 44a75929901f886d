#pragma once

#include "core/drive/MmcTypes.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class DriveContext;

// Everything the media hash asks of the current drive, in one place: the
// commands of its information block, the reads of the hashed range, and
// the tray and volume locks.
class MediaHashDrive {
public:
    explicit MediaHashDrive(DriveContext& drives);

    void LockAndDismountVolume();
    void UnlockVolume();
    bool TestMediaPresent();
    int GetMediaType();
    std::string GetMediaTypeName();
    // The media ID of the disc; 0 when it has none that can be read.
    int GetMediaIDString(std::string& id);
    // The disc holds VIDEO_TS/VIDEO_TS.IFO: only a mounted disc is looked at.
    bool IsVideoDvd();
    // 1 when the drive reports the DVD CSS feature current.
    int IsMediaCSSProtected();

    // READ DISC STRUCTURE of the recording management data (format 0Dh) and
    // of the copyright information (format 01h) into answer; the channel's
    // result.
    int ReadBurnerInformation(std::vector<std::uint8_t>& answer);
    int ReadRegionInformation(std::vector<std::uint8_t>& answer);
    CapacityAnswer ReadCapacity();
    // One 2048-byte block through the program's block reader.
    int ReadBlock(std::int64_t lba, std::vector<std::uint8_t>& block);
    void SetHighestSpeed();
    void PreventMediumRemoval(bool prevent);
    void PollUntilReady();
    // READ(10) of count blocks: 0 only when every byte came; otherwise the
    // sense (zero for a transfer cut short without one).
    int Read10(std::uint8_t* buffer, std::uint32_t lba, int count, SenseCode& sense);

private:
    DriveContext& m_drives;
};
