#include "core/tools/hash/MultiDigest.h"

#include "core/tools/hash/MD5Context.h"
#include "core/tools/hash/SHAHash.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

// How far the fastest lane may run ahead of the slowest, in slices.
constexpr std::size_t kRingSlices = 4;
// The hash classes take unsigned lengths.
constexpr std::size_t kLargestUpdate = 1u << 30;

}  // namespace

class MultiDigest::Lane {
public:
    explicit Lane(DigestKind kind) : m_kind(kind)
    {
        if (kind != DIGEST_MD5)
            m_sha.Init(ShaType(kind));
    }

    DigestKind Kind() const { return m_kind; }

    void Update(const std::uint8_t* data, std::size_t length)
    {
        while (length > 0) {
            const auto part = static_cast<unsigned>(std::min(length, kLargestUpdate));
            if (m_kind == DIGEST_MD5)
                m_md5.Update(reinterpret_cast<const char*>(data), part);
            else
                m_sha.Update(reinterpret_cast<const char*>(data), part);
            data += part;
            length -= part;
        }
    }

    void Finish()
    {
        if (m_kind == DIGEST_MD5) {
            m_md5.Final();
            m_hex = MD5DigestToHex(m_md5.digest).get();
        } else {
            m_hex = m_sha.Finish();
        }
    }

    const std::string& Hex() const { return m_hex; }

private:
    static SHA_TYPE ShaType(DigestKind kind)
    {
        switch (kind) {
        case DIGEST_SHA1: return SHA_TYPE_1;
        case DIGEST_SHA224: return SHA_TYPE_224;
        case DIGEST_SHA256: return SHA_TYPE_256;
        case DIGEST_SHA384: return SHA_TYPE_384;
        default: return SHA_TYPE_512;
        }
    }

    DigestKind m_kind;
    MD5Context m_md5;
    SHAHash m_sha;
    std::string m_hex;
};

MultiDigest::MultiDigest(unsigned kinds, std::size_t sliceBytes) :
    m_sliceBytes(std::max<std::size_t>(sliceBytes, 1)), m_ring(kRingSlices)
{
    for (unsigned bit = DIGEST_MD5; bit & DIGEST_ALL; bit <<= 1) {
        if (kinds & bit)
            m_lanes.push_back(std::make_unique<Lane>(static_cast<DigestKind>(bit)));
    }
    m_consumedCount.assign(m_lanes.size(), 0);
    try {
        for (std::size_t lane = 0; lane < m_lanes.size(); ++lane)
            m_workers.emplace_back(&MultiDigest::WorkerLoop, this, lane);
    } catch (...) {
        StopWorkers();
        throw;
    }
}

MultiDigest::~MultiDigest()
{
    StopWorkers();
    ReleaseOwners();
}

void MultiDigest::Update(const void* data, std::size_t length)
{
    if (m_finished)
        throw std::logic_error("MultiDigest: Update after Finish");
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    bool inPlace = false;
    while (length > 0) {
        if (!m_gathering && length >= m_sliceBytes) {
            Publish(bytes, m_sliceBytes);
            inPlace = true;
            bytes += m_sliceBytes;
            length -= m_sliceBytes;
            continue;
        }
        if (!m_gathering)
            m_gathering = StartGathering();
        const std::size_t part = std::min(length, m_sliceBytes - m_gathered);
        std::memcpy(m_gathering + m_gathered, bytes, part);
        m_gathered += part;
        bytes += part;
        length -= part;
        if (m_gathered == m_sliceBytes) {
            Publish(m_gathering, m_gathered);
            m_gathering = nullptr;
            m_gathered = 0;
        }
    }
    // Slices of the caller's buffer must be read before it gets it back.
    if (inPlace)
        WaitUntilConsumed(m_publishedCount);
}

void MultiDigest::Update(std::shared_ptr<const std::uint8_t> data, std::size_t length)
{
    if (m_finished)
        throw std::logic_error("MultiDigest: Update after Finish");
    if (length == 0)
        return;
    // What was gathered before comes first.
    PublishGathered();
    for (std::size_t at = 0; at < length; at += m_sliceBytes)
        Publish(data.get() + at, std::min(m_sliceBytes, length - at), data);
}

void MultiDigest::Finish()
{
    if (m_finished)
        return;
    PublishGathered();
    WaitUntilConsumed(m_publishedCount);
    // The workers are idle now; the lanes are ours.
    for (auto& lane : m_lanes)
        lane->Finish();
    m_finished = true;
    ReleaseOwners();
}

void MultiDigest::PublishGathered()
{
    if (m_gathering && m_gathered > 0)
        Publish(m_gathering, m_gathered);
    m_gathering = nullptr;
    m_gathered = 0;
}

void MultiDigest::ReleaseOwners()
{
    std::vector<std::shared_ptr<const std::uint8_t>> owners;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (Slice& slice : m_ring)
            owners.push_back(std::move(slice.owner));
    }
}

std::string MultiDigest::HexDigest(DigestKind kind) const
{
    for (const auto& lane : m_lanes) {
        if (lane->Kind() == kind)
            return lane->Hex();
    }
    return std::string();
}

// Waits until the lanes are done with the slice that the next one replaces.
std::uint8_t* MultiDigest::StartGathering()
{
    if (m_publishedCount >= kRingSlices)
        WaitUntilConsumed(m_publishedCount - kRingSlices + 1);
    Slice& slice = m_ring[m_publishedCount % kRingSlices];
    if (slice.storage.empty())
        slice.storage.resize(m_sliceBytes);
    return slice.storage.data();
}

void MultiDigest::Publish(const std::uint8_t* data, std::size_t length, std::shared_ptr<const std::uint8_t> owner)
{
    if (m_lanes.empty())
        return;
    if (m_publishedCount >= kRingSlices)
        WaitUntilConsumed(m_publishedCount - kRingSlices + 1);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        Slice& slice = m_ring[m_publishedCount % kRingSlices];
        slice.data = data;
        slice.length = length;
        // The slice's last owner goes once the lock is let go.
        std::swap(slice.owner, owner);
        ++m_publishedCount;
    }
    m_published.notify_all();
}

void MultiDigest::WaitUntilConsumed(std::uint64_t published)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_consumed.wait(lock, [&] { return LeastConsumed() >= published; });
}

std::uint64_t MultiDigest::LeastConsumed() const
{
    return m_consumedCount.empty() ? m_publishedCount
                                   : *std::min_element(m_consumedCount.begin(), m_consumedCount.end());
}

void MultiDigest::WorkerLoop(std::size_t laneIndex)
{
    for (;;) {
        const std::uint8_t* data;
        std::size_t length;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_published.wait(lock, [&] { return m_stopping || m_publishedCount > m_consumedCount[laneIndex]; });
            if (m_stopping)
                return;
            const Slice& slice = m_ring[m_consumedCount[laneIndex] % kRingSlices];
            data = slice.data;
            length = slice.length;
        }
        m_lanes[laneIndex]->Update(data, length);
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            ++m_consumedCount[laneIndex];
        }
        m_consumed.notify_all();
    }
}

void MultiDigest::StopWorkers()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_published.notify_all();
    for (auto& worker : m_workers)
        worker.join();
    m_workers.clear();
}
