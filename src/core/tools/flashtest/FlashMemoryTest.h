#pragma once

#include "core/tools/disk/DiskAccess.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

class DiskTestSink;

enum class FlashTestEnd {
    Passed,  // every block read back as written, twice
    WriteFailed,  // a block could not be written: ended at once
    VerifyFailed,  // a block did not read back as written
    Stopped,
    Failed,  // before the first block (opened, allocated, empty)
};

// What a run found.
struct FlashTestResult {
    std::uint64_t sectors = 0;
    std::uint64_t stride = 0;
    int blocksWritten = 0;
    int blocksVerified = 0;  // in the verify pass
    std::uint64_t failedBlock = 0;  // the sector of the block that failed
};

// The flash memory test's worker: writes a tagged block of four sectors at
// sector 4 and then every stride over the whole reported size and reads each
// back at once into a buffer of its own, then reads them all again, so a
// drive whose writes wrap onto earlier blocks (a fake capacity) fails at the
// first block that was written over. A block's tag, repeated over it, is its
// whole 64-bit sector number and the run's nonce. It destroys what the
// drive holds: its owner asks first (ConfirmDestructiveOperation).
class FlashMemoryTest {
public:
    FlashMemoryTest(std::string deviceNode, const DiskAccess& access, DiskTestSink& sink,
                    const std::atomic<int>& running, std::uint64_t nonce);

    FlashTestEnd DoSizeTest();
    const FlashTestResult& Result() const { return m_result; }

    // The block positions are this many sectors apart on a drive of sectors.
    static std::uint64_t StrideFor(std::uint64_t sectors);
    // The block of a position: 16-byte tags (position, nonce, both
    // big-endian) over its whole length.
    static void FillBlock(std::uint8_t* block, std::size_t bytes, std::uint64_t position, std::uint64_t nonce);

private:
    void ShowEnd(const char* message);

    std::string m_deviceNode;
    const DiskAccess& m_access;
    DiskTestSink& m_sink;
    const std::atomic<int>& m_running;
    std::uint64_t m_nonce;
    FlashTestResult m_result;
    std::uint32_t m_sectorBytes = 512;
};

// The worker's entry: logs its start and runs the test; 1 without a test.
int SizeTestThread(FlashMemoryTest* test);

// A new nonce for a run.
std::uint64_t NewFlashTestNonce();
