#pragma once

#include "core/tools/disk/ChosenDisk.h"
#include "core/tools/disk/DiskAccess.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class DiskTestSink;
class StopNotice;
class StoppableDisk;

enum class FlashTestEnd {
    Passed,  // every sector written read back as written, twice
    WriteFailed,  // a write failed: ended at once
    ReadFailed,  // a read failed (EIO ...): ended at once
    VerifyFailed,  // a sector did not read back as written
    Stopped,
    Failed,  // before the first write (opened, allocated, empty, another drive)
};

// Where a run writes, in sectors of the drive: a fill of sectors from
// sector 4 (sectors 0 to 3 are left alone), longer than any cache a drive
// keeps its latest writes in, and blocks of four sectors spread over the
// rest at most one fill apart, the last one at the drive's end. Whatever the
// period a drive's writes wrap at, some block lands on the fill, so the fill
// (written after the blocks) overwrites it; and a block lost past what the
// drive holds has left every cache by the time it is read back.
struct FlashTestPlan {
    std::uint64_t sectors = 0;
    std::uint64_t fillSectors = 0;
    std::uint64_t stride = 0;  // between the blocks
    std::vector<std::uint64_t> blocks;  // their first sectors, ascending
};

// What a run found.
struct FlashTestResult {
    std::uint64_t sectors = 0;
    std::uint64_t fillSectors = 0;
    std::uint64_t stride = 0;
    int blocksWritten = 0;
    int blocksVerified = 0;  // in the verify pass
    std::uint64_t failedSector = 0;  // the first that did not read back as written, or would not read
    int error = 0;  // the errno of a failed transfer
    // A sector's tag found in another's place: the pair nearest each other.
    std::optional<std::uint64_t> foundSector;
    std::uint64_t foundAt = 0;
    std::uint64_t heldSectors = 0;  // what the drive holds as the tags show; 0 when it passed
};

// The flash memory test's worker: writes the plan's blocks and reads each
// back at once, writes the fill, then reads everything again, so a drive
// that holds less than it reports (its writes wrap around or are lost past
// some point, maybe behind a cache) fails, and the tags it gives back show
// how much it holds. Every sector carries its own tag, repeated over it: its
// whole 64-bit number and the run's nonce. A read that fails is told apart
// from a sector read back wrong. It destroys what the drive holds: its owner
// asks first (ConfirmDiskWrite), and it writes only to the drive chosen.
// The drive is opened, written and read through a StoppableDisk: Stop (with
// the worker's notice) ends a transfer the drive does not answer.
class FlashMemoryTest {
public:
    FlashMemoryTest(ChosenDisk drive, const DiskAccess& access, DiskTestSink& sink, const std::atomic<int>& running,
                    std::uint64_t nonce, StopNotice* notice = nullptr);

    FlashTestEnd DoSizeTest();
    const FlashTestResult& Result() const { return m_result; }

    static FlashTestPlan PlanFor(std::uint64_t sectors, std::uint32_t sectorBytes);
    // A sector's tag, 16 bytes (position, nonce, both big-endian), over the
    // whole of block's bytes.
    static void FillBlock(std::uint8_t* block, std::size_t bytes, std::uint64_t position, std::uint64_t nonce);
    // `count` sectors from `first`, each with its own tag.
    static void FillSectors(std::uint8_t* data, std::uint64_t first, std::uint64_t count, std::uint32_t sectorBytes,
                            std::uint64_t nonce);

private:
    enum class Check { Same, Differs, Unreadable };
    // Reads count sectors from first and compares them with their tags,
    // noting the first sector that differs, the tags found out of place, and
    // the first sector that would not read.
    Check ReadBack(StoppableDisk& disk, std::uint64_t first, std::uint64_t count);
    // The first difference of the run, from the last ReadBack.
    void NoteDifference();
    // A block lost as it was read back at once (no cache hides it): the
    // first sector below it that loses what is written, by halving.
    void FindFirstLostSector(StoppableDisk& disk);
    std::string Explanation() const;
    std::string ReadFailureText(std::uint64_t sector) const;
    void ShowEnd(const char* message);
    FlashTestEnd EndStopped();

    ChosenDisk m_drive;
    const DiskAccess& m_access;
    DiskTestSink& m_sink;
    const std::atomic<int>& m_running;
    std::uint64_t m_nonce;
    StopNotice* m_notice;
    FlashTestResult m_result;
    std::uint32_t m_sectorBytes = 512;
    AlignedBuffer m_expected;
    std::uint64_t m_firstDiffering = 0;  // of the last ReadBack that differed
};

// The worker's entry: logs its start and runs the test; 1 without a test.
int SizeTestThread(FlashMemoryTest* test);

// A new nonce for a run.
std::uint64_t NewFlashTestNonce();
