#include "support/FakeBlockDevice.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

class FakeBlockDevice final : public BlockDevice {
public:
    FakeBlockDevice(std::string path, std::shared_ptr<FakeDisk> disk, BlockGeometry geometry) :
        m_path(std::move(path)), m_disk(std::move(disk)), m_geometry(geometry), m_identity(m_disk->Identity())
    {
    }
    const std::string& Path() const override { return m_path; }
    BlockGeometry Geometry() const override { return m_geometry; }
    BlockIo ReadAt(std::uint64_t offset, void* buffer, std::size_t length) override
    {
        return m_disk->ReadAt(offset, buffer, length);
    }
    BlockIo WriteAt(std::uint64_t offset, const void* buffer, std::size_t length) override
    {
        return m_disk->WriteAt(offset, buffer, length);
    }
    int Flush() override { return m_disk->Flush(); }
    bool BypassesCache() const override { return true; }
    DiskIdentity Identity() const override { return m_identity; }
    std::uint64_t SizeNow() override { return m_disk->SizeNow(); }

private:
    std::string m_path;
    std::shared_ptr<FakeDisk> m_disk;
    BlockGeometry m_geometry;
    DiskIdentity m_identity;
};

bool RepeatsItsFirst16Bytes(const std::uint8_t* sector, std::uint32_t bytes)
{
    return bytes % 16 == 0 && std::memcmp(sector, sector + 16, bytes - 16) == 0;
}

}  // namespace

FakeDisk::FakeDisk(std::uint64_t sizeBytes, std::uint32_t sectorBytes) : m_size(sizeBytes), m_sectorBytes(sectorBytes)
{
}

void FakeDisk::AddBadSectors(std::uint64_t first, std::uint64_t count, int failures, int error)
{
    std::lock_guard lock(m_mutex);
    m_bad.push_back({first, count, failures, error});
}

void FakeDisk::AddShortRead(std::uint64_t at, int times)
{
    std::lock_guard lock(m_mutex);
    m_short.push_back({at, times});
}

void FakeDisk::AdvanceClockPerRead(std::shared_ptr<SteppingClock> clock, std::uint64_t milliseconds)
{
    std::lock_guard lock(m_mutex);
    m_clock = std::move(clock);
    m_msPerRead = milliseconds;
}

BlockDeviceOpener FakeDisk::Opener()
{
    std::shared_ptr<FakeDisk> self = shared_from_this();
    return [self](const std::string& path, BlockAccess access) {
        BlockOpenResult result;
        std::unique_lock lock(self->m_mutex);
        if (self->m_openError != 0 && (!self->m_openWritingOnly || access == BlockAccess::ReadWrite)) {
            result.error = self->m_openError;
            result.message = DescribeOpenFailure(path, self->m_openError, access);
            return result;
        }
        BlockGeometry geometry;
        geometry.sizeBytes = self->m_size;
        geometry.logicalSectorSize = self->m_sectorBytes;
        geometry.physicalSectorSize = self->m_sectorBytes;
        lock.unlock();
        result.device = std::make_unique<FakeBlockDevice>(path, self, geometry);
        return result;
    };
}

void FakeDisk::Reattach(std::uint64_t sizeBytes)
{
    std::lock_guard lock(m_mutex);
    m_size = sizeBytes;
    ++m_sequence;
    m_pages.clear();
    m_sectors.clear();
    m_cache.clear();
    m_cachedBytes = 0;
}

DiskIdentity FakeDisk::Identity() const
{
    std::lock_guard lock(m_mutex);
    DiskIdentity identity;
    identity.device = (8u << 8) | 240u;  // 8:240
    identity.sequence = m_sequence;
    identity.model = "Fake Disk";
    identity.sizeBytes = m_size;
    return identity;
}

std::uint64_t FakeDisk::SizeBytes() const
{
    std::lock_guard lock(m_mutex);
    return m_size;
}

std::uint8_t FakeDisk::PatternByte(std::uint64_t offset)
{
    return static_cast<std::uint8_t>((offset >> 9) * 31 + offset * 7 + 1);
}

std::uint64_t FakeDisk::Mapped(std::uint64_t sector) const
{
    return m_wrapSectors ? sector % m_wrapSectors : sector;
}

void FakeDisk::SectorAt(std::uint64_t place, std::uint8_t* out) const
{
    const auto page = m_pages.find(place / 1024);
    const std::uint8_t kind = page == m_pages.end() ? 0 : page->second.kind[place % 1024];
    if (kind == 1) {
        std::memcpy(out, page->second.patterns[place % 1024].data(), 16);
        for (std::uint32_t filled = 16; filled < m_sectorBytes; filled *= 2)
            std::memcpy(out + filled, out, std::min(filled, m_sectorBytes - filled));
    } else if (kind == 2) {
        std::memcpy(out, m_sectors.at(place).data(), m_sectorBytes);
    } else {
        for (std::uint32_t i = 0; i < m_sectorBytes; ++i)
            out[i] = PatternByte(place * m_sectorBytes + i);
    }
}

void FakeDisk::PutSector(std::uint64_t place, const std::uint8_t* bytes)
{
    Page& page = m_pages[place / 1024];
    std::uint8_t& kind = page.kind[place % 1024];
    if (RepeatsItsFirst16Bytes(bytes, m_sectorBytes)) {
        if (kind == 2)
            m_sectors.erase(place);
        kind = 1;
        std::memcpy(page.patterns[place % 1024].data(), bytes, 16);
    } else {
        kind = 2;
        m_sectors[place].assign(bytes, bytes + m_sectorBytes);
    }
}

void FakeDisk::CopyOut(std::uint64_t offset, std::uint64_t end, std::uint8_t* out) const
{
    std::vector<std::uint8_t> sector(m_sectorBytes);
    for (std::uint64_t at = offset; at < end;) {
        const std::uint64_t number = at / m_sectorBytes;
        const std::uint64_t sectorEnd = std::min(end, (number + 1) * m_sectorBytes);
        SectorAt(Mapped(number), sector.data());
        if (number >= m_writeFailFrom) {  // lost unless still in the cache, the newest on top
            for (const CachedWrite& write : m_cache) {
                const std::uint64_t from = std::max(write.offset, number * m_sectorBytes);
                const std::uint64_t to = std::min(write.offset + write.bytes.size(), sectorEnd);
                if (from < to)
                    std::memcpy(sector.data() + (from - number * m_sectorBytes), &write.bytes[from - write.offset],
                                static_cast<std::size_t>(to - from));
            }
        }
        std::memcpy(out + (at - offset), sector.data() + (at - number * m_sectorBytes),
                    static_cast<std::size_t>(sectorEnd - at));
        at = sectorEnd;
    }
}

void FakeDisk::StopAnsweringAt(std::uint64_t byte, bool sizeDrops)
{
    std::lock_guard lock(m_mutex);
    m_deadAt = byte;
    m_deadSizeDrops = sizeDrops;
}

void FakeDisk::HoldReads()
{
    std::lock_guard lock(m_mutex);
    m_holdReads = true;
}

void FakeDisk::ReleaseReads()
{
    {
        std::lock_guard lock(m_mutex);
        m_holdReads = false;
    }
    m_heldChanged.notify_all();
}

void FakeDisk::WaitForHeldReads(int count)
{
    std::unique_lock lock(m_mutex);
    m_heldChanged.wait(lock, [&] { return m_heldReads >= count; });
}

void FakeDisk::WaitUntilNoReadHeld()
{
    std::unique_lock lock(m_mutex);
    m_heldChanged.wait(lock, [&] { return m_heldReads == 0; });
}

std::uint64_t FakeDisk::SizeNow() const
{
    std::lock_guard lock(m_mutex);
    return m_dead && m_deadSizeDrops ? 0 : m_size;
}

BlockIo FakeDisk::ReadAt(std::uint64_t offset, void* buffer, std::size_t length)
{
    std::unique_lock lock(m_mutex);
    if (m_holdReads) {
        ++m_heldReads;
        m_heldChanged.notify_all();
        m_heldChanged.wait(lock, [&] { return !m_holdReads; });
        --m_heldReads;
        m_heldChanged.notify_all();
    }
    m_reads.push_back({offset, length});
    if (offset + length > m_deadAt)
        m_dead = true;
    if (m_dead)
        return {0, EIO};
    if (m_clock)
        m_clock->Advance(m_msPerRead);
    std::uint64_t end = std::min({offset + length, m_size, m_endsAt});
    if (length == 0 || offset >= end)
        return {};
    if (length > m_maxRead)
        return {0, EINVAL};
    const std::uint64_t first = offset / m_sectorBytes;
    const std::uint64_t last = (end - 1) / m_sectorBytes;
    for (BadRun& run : m_bad) {
        if (run.failures == 0 || run.first > last || run.first + run.count <= first)
            continue;
        if (run.failures > 0)
            --run.failures;
        return {0, run.error};
    }
    for (ShortRead& cut : m_short) {
        if (cut.times > 0 && cut.at > first && cut.at <= last) {
            --cut.times;
            end = std::min(end, cut.at * m_sectorBytes);
        }
    }
    if (!m_skipContent)
        CopyOut(offset, end, static_cast<std::uint8_t*>(buffer));
    return {static_cast<std::size_t>(end - offset), 0};
}

BlockIo FakeDisk::WriteAt(std::uint64_t offset, const void* buffer, std::size_t length)
{
    std::lock_guard lock(m_mutex);
    if (offset > m_size || length > m_size - offset)
        return {0, ENOSPC};
    ++m_writes;
    m_writeOffsets.push_back(offset);
    const std::uint64_t lastSector = (offset + length - 1) / m_sectorBytes;
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    if (length > 0 && lastSector >= m_writeFailFrom) {
        if (m_writeError != 0)
            return {0, m_writeError};
        const std::uint64_t boundary = m_writeFailFrom * m_sectorBytes;
        if (offset < boundary)  // what lies before the lost sectors is kept
            Store(offset, bytes, static_cast<std::size_t>(boundary - offset));
        Cache(offset, bytes, length);
        return {length, 0};
    }
    Store(offset, bytes, length);
    Cache(offset, bytes, length);
    return {length, 0};
}

void FakeDisk::Store(std::uint64_t offset, const std::uint8_t* in, std::size_t length)
{
    std::vector<std::uint8_t> sector(m_sectorBytes);
    for (std::uint64_t at = offset; at < offset + length;) {
        const std::uint64_t number = at / m_sectorBytes;
        const std::uint64_t start = number * m_sectorBytes;
        const std::uint64_t sectorEnd = std::min(offset + length, start + m_sectorBytes);
        const std::uint8_t* whole = in + (at - offset);
        if (at != start || sectorEnd != start + m_sectorBytes) {  // part of a sector: the rest stays
            SectorAt(Mapped(number), sector.data());
            std::memcpy(sector.data() + (at - start), whole, static_cast<std::size_t>(sectorEnd - at));
            whole = sector.data();
        }
        PutSector(Mapped(number), whole);
        at = sectorEnd;
    }
}

void FakeDisk::Cache(std::uint64_t offset, const std::uint8_t* bytes, std::size_t length)
{
    if (m_cacheBytes == 0)
        return;
    const std::size_t kept = static_cast<std::size_t>(std::min<std::uint64_t>(length, m_cacheBytes));
    m_cache.push_back({offset + (length - kept), std::vector<std::uint8_t>(bytes + (length - kept), bytes + length)});
    m_cachedBytes += kept;
    while (m_cachedBytes > m_cacheBytes) {  // the oldest bytes go first
        CachedWrite& oldest = m_cache.front();
        const std::size_t drop = static_cast<std::size_t>(
            std::min<std::uint64_t>(oldest.bytes.size(), m_cachedBytes - m_cacheBytes));
        oldest.bytes.erase(oldest.bytes.begin(), oldest.bytes.begin() + static_cast<std::ptrdiff_t>(drop));
        oldest.offset += drop;
        m_cachedBytes -= drop;
        if (oldest.bytes.empty())
            m_cache.pop_front();
    }
}

int FakeDisk::Flush()
{
    std::lock_guard lock(m_mutex);
    ++m_flushes;
    return 0;
}

std::vector<std::uint8_t> FakeDisk::Bytes(std::uint64_t offset, std::size_t length) const
{
    std::lock_guard lock(m_mutex);
    std::vector<std::uint8_t> bytes(length);
    CopyOut(offset, offset + length, bytes.data());
    return bytes;
}

void FakeDisk::Fill(std::uint64_t offset, const std::vector<std::uint8_t>& bytes)
{
    std::lock_guard lock(m_mutex);
    Store(offset, bytes.data(), bytes.size());
}

std::vector<FakeDisk::Read> FakeDisk::Reads() const
{
    std::lock_guard lock(m_mutex);
    return m_reads;
}

int FakeDisk::Writes() const
{
    std::lock_guard lock(m_mutex);
    return m_writes;
}

std::vector<std::uint64_t> FakeDisk::WriteOffsets() const
{
    std::lock_guard lock(m_mutex);
    return m_writeOffsets;
}

int FakeDisk::Flushes() const
{
    std::lock_guard lock(m_mutex);
    return m_flushes;
}
