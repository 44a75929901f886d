#pragma once

#include "core/tools/disk/DiskAccess.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

class DiskTestSink;
class HddCellMap;
class WaitClock;

// How a run of the hard-disk error test ended.
enum class HddTestEnd {
    Complete,  // read to the end of the disk
    Stopped,  // Stop: the display stays where the test got to
    Failed,  // the device could not be read on (opened, allocated, vanished)
};

// A run of unreadable 512-byte sectors.
struct SectorRun {
    std::uint64_t first = 0;
    std::uint64_t count = 0;
    bool operator==(const SectorRun&) const = default;
};

// What a run found.
struct HddTestResult {
    std::uint64_t diskBytes = 0;
    std::uint64_t bytesTested = 0;  // from the start of the disk
    std::uint64_t errors = 0;  // unreadable sectors, and reads that needed retries or stayed short
    std::uint64_t badSectors = 0;
    std::vector<SectorRun> badRuns;  // in order; at most kMaxListedRuns are kept
    static constexpr std::size_t kMaxListedRuns = 100000;
};

// The hard-disk error test's worker: reads the whole device from its start
// in reads of the buffer size, bypassing the page cache. A read that comes
// back short is read again up to five times; a read that fails with an
// unreadable sector is read again a sector at a time, the sectors that stay
// unreadable are listed and their cells marked failed, and the test goes on.
// The cell of a position is position / cell bytes (HddCellBytes). The rate
// is the bytes read over the time on the clock since the start.
class HddErrorTest {
public:
    HddErrorTest(std::string deviceNode, const DiskAccess& access, std::uint32_t bufferSectors, HddCellMap& map,
                 DiskTestSink& sink, WaitClock& clock, const std::atomic<int>& running);

    HddTestEnd DoErrorTest();
    const HddTestResult& Result() const { return m_result; }

private:
    enum class Step { Next, Stop, Fatal };

    Step ReadBuffer(BlockDevice& device, std::uint64_t position, std::uint64_t& advance);
    Step ReadAlone(BlockDevice& device, std::uint64_t from, std::uint64_t length);
    void AddBadSectors(std::uint64_t offset, std::uint64_t length);
    void MarkFailedCell(int cell);
    void ShowPosition(std::uint64_t position);
    void ShowEnd();
    int CellOf(std::uint64_t offset) const;
    HddTestEnd Fail(const std::string& detail);

    std::string m_deviceNode;
    const DiskAccess& m_access;
    std::uint32_t m_bufferSectors;
    HddCellMap& m_map;
    DiskTestSink& m_sink;
    WaitClock& m_clock;
    const std::atomic<int>& m_running;

    HddTestResult m_result;
    std::uint64_t m_cellBytes = 512;
    std::uint64_t m_unit = 512;  // the device's smallest read
    AlignedBuffer m_buffer;
    std::uint64_t m_startMs = 0;
    std::uint64_t m_lastRateMs = 0;
    std::string m_fatalDetail;
    int m_lastFailedCell = -1;
};

// The worker's entry: logs its start and runs the test; 1 without a test.
int HddErrorThread(HddErrorTest* test);
