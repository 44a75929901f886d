#include "support/FakeBlockDevice.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

class FakeBlockDevice final : public BlockDevice {
public:
    FakeBlockDevice(std::string path, std::shared_ptr<FakeDisk> disk, BlockGeometry geometry) :
        m_path(std::move(path)), m_disk(std::move(disk)), m_geometry(geometry)
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
    std::uint64_t SizeNow() override { return m_disk->SizeNow(); }

private:
    std::string m_path;
    std::shared_ptr<FakeDisk> m_disk;
    BlockGeometry m_geometry;
};

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
        if (self->m_openError != 0) {
            result.error = self->m_openError;
            result.message = DescribeOpenFailure(path, self->m_openError, access);
            return result;
        }
        BlockGeometry geometry;
        geometry.sizeBytes = self->m_size;
        geometry.logicalSectorSize = self->m_sectorBytes;
        geometry.physicalSectorSize = self->m_sectorBytes;
        result.device = std::make_unique<FakeBlockDevice>(path, self, geometry);
        return result;
    };
}

std::uint8_t FakeDisk::PatternByte(std::uint64_t offset)
{
    return static_cast<std::uint8_t>((offset >> 9) * 31 + offset * 7 + 1);
}

std::uint64_t FakeDisk::Mapped(std::uint64_t sector) const
{
    return m_wrapSectors ? sector % m_wrapSectors : sector;
}

std::uint8_t FakeDisk::ByteAt(std::uint64_t offset) const
{
    const std::uint64_t place = Mapped(offset / m_sectorBytes);
    const auto it = m_sectors.find(place);
    const std::uint64_t within = offset % m_sectorBytes;
    return it != m_sectors.end() ? it->second[within] : PatternByte(place * m_sectorBytes + within);
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
    auto* out = static_cast<std::uint8_t*>(buffer);
    if (!m_skipContent)
        for (std::uint64_t at = offset; at < end; ++at)
            out[at - offset] = ByteAt(at);
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
    if (length > 0 && lastSector >= m_writeFailFrom) {
        if (m_writeError != 0)
            return {0, m_writeError};
        return {length, 0};  // dropped
    }
    Store(offset, static_cast<const std::uint8_t*>(buffer), length);
    return {length, 0};
}

void FakeDisk::Store(std::uint64_t offset, const std::uint8_t* in, std::size_t length)
{
    for (std::uint64_t at = offset; at < offset + length; ++at) {
        const std::uint64_t place = Mapped(at / m_sectorBytes);
        auto [it, added] = m_sectors.try_emplace(place);
        if (added) {
            it->second.resize(m_sectorBytes);
            for (std::uint32_t i = 0; i < m_sectorBytes; ++i)
                it->second[i] = PatternByte(place * m_sectorBytes + i);
        }
        it->second[at % m_sectorBytes] = in[at - offset];
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
    for (std::size_t i = 0; i < length; ++i)
        bytes[i] = ByteAt(offset + i);
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
