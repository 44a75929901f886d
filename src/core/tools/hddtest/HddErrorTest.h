#pragma once

#include "core/tools/disk/DiskAccess.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

class DiskTestSink;
class HddCellMap;
class StoppableDisk;
class StopNotice;
class WaitClock;

// How a run of the hard-disk error test ended.
enum class HddTestEnd {
    Complete,  // read to the end of the disk
    Stopped,  // Stop: the display stays where the test got to
    Failed,  // the device could not be read on (opened, allocated, vanished, stopped answering)
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
// unreadable sector is read again a sector at a time, and a sector that
// fails alone once more (unless the one before it failed too): one that then
// reads is a failure that did not last (its cell marked retried), one that
// does not is listed and its cell marked failed, and the test goes on. When
// the sectors that fail in a row add up to another buffer, the device is
// asked whether it still answers (its size, and the last sector that read,
// or sector 0); one that does not ends the test there, keeping the map. The cell of a position is position / cell bytes
// (HddCellBytes). The rate is the bytes read over the time on the clock since
// the start, shown after every second and at the end. The device is read
// through a StoppableDisk: Stop (with the worker's notice) ends a read the
// device does not answer.
class HddErrorTest {
public:
    HddErrorTest(std::string deviceNode, const DiskAccess& access, std::uint32_t bufferSectors, HddCellMap& map,
                 DiskTestSink& sink, WaitClock& clock, const std::atomic<int>& running, StopNotice* notice = nullptr);

    HddTestEnd DoErrorTest();
    const HddTestResult& Result() const { return m_result; }

private:
    enum class Step { Next, Stop, Fatal };
    enum class SectorRead { Good, Retried, Bad, Stop, Fatal };

    Step ReadBuffer(StoppableDisk& disk, std::uint64_t position, std::uint64_t& advance);
    Step ReadAlone(StoppableDisk& disk, std::uint64_t from, std::uint64_t length);
    // One sector of a failed read; readAgain: one that fails is read once
    // more (not inside a run of unreadable sectors, which is read once).
    SectorRead ReadSector(StoppableDisk& disk, std::uint64_t at, std::uint64_t piece, bool readAgain);
    // Another buffer's worth of sectors failed in a row: whether the device
    // still answers (its size kept, the last sector that read reads again).
    bool DeviceAnswers(StoppableDisk& disk);
    // The device delivered the sector at offset.
    void NoteAnswer(std::uint64_t offset);
    void AddBadSectors(std::uint64_t offset, std::uint64_t length);
    void MarkFailedCell(int cell);
    void ShowPosition(std::uint64_t position);
    // The average rate of bytes read by now.
    void ShowRate(std::uint64_t bytes);
    void ShowEnd();
    int CellOf(std::uint64_t offset) const;
    HddTestEnd Fail(const std::string& detail);
    HddTestEnd Stopped();

    std::string m_deviceNode;
    const DiskAccess& m_access;
    std::uint32_t m_bufferSectors;
    HddCellMap& m_map;
    DiskTestSink& m_sink;
    WaitClock& m_clock;
    const std::atomic<int>& m_running;
    StopNotice* m_notice;

    static constexpr std::uint64_t kNoSector = UINT64_MAX;

    HddTestResult m_result;
    std::uint64_t m_cellBytes = 512;
    std::uint64_t m_unit = 512;  // the device's smallest read
    std::uint64_t m_bufferBytes = 0;
    std::uint64_t m_startMs = 0;
    std::uint64_t m_lastRateMs = 0;
    std::string m_fatalDetail;
    int m_lastFailedCell = -1;
    std::uint64_t m_lastGood = kNoSector;  // the last sector that read in this run
    std::uint64_t m_failingFrom = 0;  // where the sectors failing in a row begin
    std::uint64_t m_failingBytes = 0;  // how many bytes of them
    std::uint64_t m_failingChecked = 0;  // of those, when the device was last asked
};

// The worker's entry: logs its start and runs the test; 1 without a test.
int HddErrorThread(HddErrorTest* test);
