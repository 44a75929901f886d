#include "core/tools/hash/MultiDigest.h"

#include "core/tools/hash/MD5Context.h"
#include "core/tools/hash/SHAHash.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace {

// Data is handed to the lanes in slices that stay in the shared cache while
// every lane reads them; small updates are gathered to the same size so a
// hand-over costs little against the hashing.
constexpr std::size_t kSliceBytes = 4u << 20;
// The hash classes take unsigned lengths.
constexpr std::size_t kLargestUpdate = 1u << 30;

} // namespace

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

MultiDigest::MultiDigest(unsigned kinds)
{
    for (unsigned bit = DIGEST_MD5; bit & DIGEST_ALL; bit <<= 1) {
        if (kinds & bit)
            m_lanes.push_back(std::make_unique<Lane>(static_cast<DigestKind>(bit)));
    }
    try {
        for (std::size_t lane = 1; lane < m_lanes.size(); ++lane)
            m_workers.emplace_back(&MultiDigest::WorkerLoop, this, lane);
    } catch (...) {
        StopWorkers();
        throw;
    }
}

MultiDigest::~MultiDigest()
{
    StopWorkers();
}

void MultiDigest::Update(const void* data, std::size_t length)
{
    if (m_finished)
        throw std::logic_error("MultiDigest: Update after Finish");
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    while (length > 0) {
        if (m_stagingFill == 0 && length >= kSliceBytes) {
            // Large data goes to the lanes straight from the caller's buffer.
            const std::size_t slice = std::min(length, kSliceBytes);
            Dispatch(bytes, slice);
            bytes += slice;
            length -= slice;
            continue;
        }
        if (m_staging.empty())
            m_staging.resize(kSliceBytes);
        const std::size_t part = std::min(length, kSliceBytes - m_stagingFill);
        std::memcpy(m_staging.data() + m_stagingFill, bytes, part);
        m_stagingFill += part;
        bytes += part;
        length -= part;
        if (m_stagingFill == kSliceBytes)
            FlushStaging();
    }
}

void MultiDigest::Finish()
{
    if (m_finished)
        return;
    FlushStaging();
    for (auto& lane : m_lanes)
        lane->Finish();
    m_finished = true;
}

std::string MultiDigest::HexDigest(DigestKind kind) const
{
    for (const auto& lane : m_lanes) {
        if (lane->Kind() == kind)
            return lane->Hex();
    }
    return std::string();
}

void MultiDigest::FlushStaging()
{
    if (m_stagingFill > 0)
        Dispatch(m_staging.data(), m_stagingFill);
    m_stagingFill = 0;
}

void MultiDigest::Dispatch(const std::uint8_t* data, std::size_t length)
{
    if (m_lanes.empty())
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_jobData = data;
        m_jobLength = length;
        m_lanesBusy = m_workers.size();
        ++m_jobNumber;
    }
    m_wake.notify_all();
    m_lanes[0]->Update(data, length);
    std::unique_lock<std::mutex> lock(m_mutex);
    m_done.wait(lock, [this] { return m_lanesBusy == 0; });
}

void MultiDigest::WorkerLoop(std::size_t laneIndex)
{
    std::uint64_t jobsDone = 0;
    for (;;) {
        const std::uint8_t* data;
        std::size_t length;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [&] { return m_stopping || m_jobNumber != jobsDone; });
            if (m_stopping)
                return;
            jobsDone = m_jobNumber;
            data = m_jobData;
            length = m_jobLength;
        }
        m_lanes[laneIndex]->Update(data, length);
        std::lock_guard<std::mutex> lock(m_mutex);
        if (--m_lanesBusy == 0)
            m_done.notify_one();
    }
}

void MultiDigest::StopWorkers()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    for (auto& worker : m_workers)
        worker.join();
    m_workers.clear();
}
