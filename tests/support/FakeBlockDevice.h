#pragma once

#include "core/base/WaitClock.h"
#include "platform/blockio/BlockDevice.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <cstddef>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

// A clock the test moves.
class SteppingClock : public WaitClock {
public:
    std::uint64_t NowMs() const override { return m_now; }
    void SleepMs(std::uint32_t milliseconds) override { m_now += milliseconds; }
    void Advance(std::uint64_t milliseconds) { m_now += milliseconds; }

private:
    std::atomic<std::uint64_t> m_now{1000};
};

// A disk in memory for the disk tools' tests, with the faults real disks
// have: sectors that answer EIO (always, or for a number of reads), reads
// that come back short, a device that ends before its reported size, one
// that stops answering or hangs, and the fake capacities of counterfeit
// flash: sector N mapped to N mod M, or writes past a sector lost while a
// cache of the latest writes still reads back. Sectors never written read as
// a pattern of their own number; a sector that repeats one 16-byte pattern is
// kept as that pattern, so gigabytes can be written through it. Thread-safe:
// a test's worker reads it while the test looks on.
class FakeDisk : public std::enable_shared_from_this<FakeDisk> {
public:
    FakeDisk(std::uint64_t sizeBytes, std::uint32_t sectorBytes = 512);

    // Reads touching sectors [first, first + count) fail with EIO (or the
    // error given); a failures count above 0 lets them read after that many
    // failed reads.
    void AddBadSectors(std::uint64_t first, std::uint64_t count, int failures = -1, int error = EIO);
    // Reads longer than this fail with EINVAL.
    void RefuseReadsLongerThan(std::size_t bytes) { m_maxRead = bytes; }
    // Writes from this sector on fail with the error, or are dropped
    // without a word when it is 0.
    void FailWritesFrom(std::uint64_t sector, int error) { m_writeFailFrom = sector, m_writeError = error; }
    // Dropped writes still read back while they are among the latest
    // cacheBytes written (anywhere).
    void CacheLatestWrites(std::uint64_t cacheBytes) { m_cacheBytes = cacheBytes; }
    // Reads deliver without filling the buffer (a huge disk read quickly).
    void SkipContent() { m_skipContent = true; }
    // The next `times` reads that cover sector `at` (beyond their first
    // sector) stop before it.
    void AddShortRead(std::uint64_t at, int times);
    // Writes land on sector N mod sectors (a fake capacity).
    void WrapAt(std::uint64_t sectors) { m_wrapSectors = sectors; }
    // Reads from this byte on deliver nothing.
    void EndAt(std::uint64_t bytes) { m_endsAt = bytes; }
    // Opening fails with this errno (only for writing when writingOnly).
    void RefuseOpen(int error, bool writingOnly = false) { m_openError = error, m_openWritingOnly = writingOnly; }
    // Another disk at the same node: a new disk sequence number, the size
    // given and nothing written.
    void Reattach(std::uint64_t sizeBytes);
    // What an opened device of this disk says it is.
    DiskIdentity Identity() const;
    // The first read that reaches this byte, and every read after it, fail
    // with EIO (a disk that stopped answering); with sizeDrops the size it
    // reports drops to 0 then too (a disk that went away).
    void StopAnsweringAt(std::uint64_t byte, bool sizeDrops = false);
    // Reads wait (a hung disk) until ReleaseReads.
    void HoldReads();
    void ReleaseReads();
    // Waits until this many reads wait in HoldReads, or until none does.
    void WaitForHeldReads(int count = 1);
    void WaitUntilNoReadHeld();
    // Every read moves the clock on.
    void AdvanceClockPerRead(std::shared_ptr<SteppingClock> clock, std::uint64_t milliseconds);

    // The opener the disk tools use: every path opens this disk.
    BlockDeviceOpener Opener();

    // The bytes the disk holds now.
    std::vector<std::uint8_t> Bytes(std::uint64_t offset, std::size_t length) const;
    // Puts bytes on the disk as if they had always been there.
    void Fill(std::uint64_t offset, const std::vector<std::uint8_t>& bytes);
    // The pattern an unwritten sector reads as.
    static std::uint8_t PatternByte(std::uint64_t offset);

    struct Read {
        std::uint64_t offset;
        std::size_t length;
    };
    std::vector<Read> Reads() const;
    int Writes() const;
    std::vector<std::uint64_t> WriteOffsets() const;
    int Flushes() const;
    std::uint64_t SizeBytes() const;
    // The size it reports now.
    std::uint64_t SizeNow() const;

    // BlockDevice calls.
    BlockIo ReadAt(std::uint64_t offset, void* buffer, std::size_t length);
    BlockIo WriteAt(std::uint64_t offset, const void* buffer, std::size_t length);
    int Flush();

private:
    struct BadRun {
        std::uint64_t first;
        std::uint64_t count;
        int failures;
        int error;
    };
    struct ShortRead {
        std::uint64_t at;
        int times;
    };
    using Pattern = std::array<std::uint8_t, 16>;
    // The written sectors of 1024 places: 0 never written, 1 its pattern, 2
    // its bytes in m_sectors.
    struct Page {
        std::array<std::uint8_t, 1024> kind{};
        std::vector<Pattern> patterns = std::vector<Pattern>(1024);
    };
    struct CachedWrite {
        std::uint64_t offset;
        std::vector<std::uint8_t> bytes;
    };
    std::uint64_t Mapped(std::uint64_t sector) const;
    // The bytes of the sector at a place.
    void SectorAt(std::uint64_t place, std::uint8_t* out) const;
    void PutSector(std::uint64_t place, const std::uint8_t* bytes);
    // The bytes of [offset, end) as a read gets them.
    void CopyOut(std::uint64_t offset, std::uint64_t end, std::uint8_t* out) const;
    void Store(std::uint64_t offset, const std::uint8_t* bytes, std::size_t length);
    void Cache(std::uint64_t offset, const std::uint8_t* bytes, std::size_t length);

    mutable std::mutex m_mutex;
    std::condition_variable m_heldChanged;
    bool m_holdReads = false;
    int m_heldReads = 0;
    std::uint64_t m_deadAt = UINT64_MAX;
    bool m_dead = false;
    bool m_deadSizeDrops = false;
    std::uint64_t m_size;
    std::uint32_t m_sectorBytes;
    std::uint64_t m_wrapSectors = 0;
    std::uint64_t m_endsAt = UINT64_MAX;
    int m_openError = 0;
    bool m_openWritingOnly = false;
    std::uint64_t m_sequence = 1;
    std::size_t m_maxRead = SIZE_MAX;
    std::uint64_t m_writeFailFrom = UINT64_MAX;
    int m_writeError = 0;
    bool m_skipContent = false;
    std::vector<std::uint64_t> m_writeOffsets;
    std::vector<BadRun> m_bad;
    std::vector<ShortRead> m_short;
    std::unordered_map<std::uint64_t, Page> m_pages;  // by place / 1024
    std::map<std::uint64_t, std::vector<std::uint8_t>> m_sectors;  // written ones of no pattern, by their place
    std::uint64_t m_cacheBytes = 0;
    std::deque<CachedWrite> m_cache;  // the latest writes, newest last
    std::uint64_t m_cachedBytes = 0;
    std::vector<Read> m_reads;
    int m_writes = 0;
    int m_flushes = 0;
    std::shared_ptr<SteppingClock> m_clock;
    std::uint64_t m_msPerRead = 0;
};
