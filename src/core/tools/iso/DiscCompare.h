#pragma once

#include "core/tools/iso/DiscBlockReader.h"
#include "core/tools/testpage/TestPageEvents.h"

#include <atomic>
#include <cstdint>
#include <string>

enum class CompareEnd {
    Identical,
    Different,
    Stopped,
    Failed,  // ended before or while comparing without a verdict
    Fault,  // the disc or the drive went, or the drive hung: the differences up to there kept
};

// Compares an image file with the disc in the drive, chunk by chunk, and
// lists every differing byte as "LBA=%Xh Byte=%d ISO=%2Xh Disc=%2Xh " (the
// block, the byte's offset in it, the file's byte, the disc's byte). Every
// block of the disc is compared, to the last. The compare says the two are
// identical only when every chunk was read on both sides and matched and the
// file is as long as the disc; a chunk the drive cannot read and a length
// that differs are listed too. A read that says the disc or the drive has
// gone ends the compare there, without a verdict. `running` is the busy flag: set while the
// loop runs, cleared by Stop.
class DiscCompare {
public:
    DiscCompare(DiscBlockReader& drive, TestPageEvents& events, std::atomic<int>& running) :
        m_drive(drive), m_events(events), m_running(running)
    {
    }

    // The CD and DVD compare; with bluRay the BD compare (no layers, 75
    // reads a map cell, sizes in GB, no READ CD trial).
    CompareEnd DoISOCompare(const std::string& imagePath, bool bluRay = false);

    // Difference lines listed before the rest are only counted.
    static constexpr std::uint64_t kMaxListedDifferences = 100000;

private:
    struct Walk;

    CompareEnd Fail(const std::string& message);
    CompareEnd StopEnd();
    CompareEnd EndByFault(DriveLoss loss, std::int64_t lba);
    bool CompareChunk(Walk& walk, const std::uint8_t* image, const std::uint8_t* disc, std::size_t length);
    void AddDifference(Walk& walk, const std::string& line);

    DiscBlockReader& m_drive;
    TestPageEvents& m_events;
    std::atomic<int>& m_running;
};

// A difference line as the compare lists it.
std::string DifferenceLine(std::int64_t lba, int byte, std::uint8_t image, std::uint8_t disc);
