#pragma once

#include "core/tools/hash/HashChoice.h"
#include "core/tools/hash/HashEvents.h"
#include "core/tools/hash/MediaHashDrive.h"

#include <cstdint>
#include <functional>
#include <optional>

class DriveContext;
class ReportText;

// The media hash of the main window's page 16: a short information block on
// the disc, then MD5 and the chosen SHA digests of its blocks from the start
// to the end address (both hashed), read 32 at a time. The lines go to the
// report, the share of blocks read to the events' overall progress. A block
// that cannot be read, or comes back short, ends the run without digests.
class MediaHash {
public:
    static constexpr int kBlocksPerRead = 32;

    MediaHash(DriveContext& drives, ReportText& report, HashEvents& events, HashChoice choice);

    // keepRunning is asked before every read; once it says no, the run ends
    // as aborted by the user.
    HashOutcome HashMedia(std::int64_t startLba, std::int64_t endLba, const std::function<bool()>& keepRunning);

private:
    // The information block from line 0 on; the next free line.
    int WriteMediaInformation(int mediaType);
    int WriteBurnerBlock();
    HashOutcome ReadAndHash(std::int64_t startLba, std::int64_t endLba, MultiDigest& digests,
                            const std::function<bool()>& keepRunning);
    HashOutcome EndWith(const std::string& status, HashOutcome outcome);

    ReportText& m_report;
    HashEvents& m_events;
    const HashChoice m_choice;
    MediaHashDrive m_drive;
    std::optional<std::int64_t> m_discLastLba;  // from READ CAPACITY, when it answered
};
