#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// The digests a MultiDigest can compute, to be combined as a mask.
enum DigestKind : unsigned {
    DIGEST_MD5 = 1u << 0,
    DIGEST_SHA1 = 1u << 1,
    DIGEST_SHA224 = 1u << 2,
    DIGEST_SHA256 = 1u << 3,
    DIGEST_SHA384 = 1u << 4,
    DIGEST_SHA512 = 1u << 5,
    DIGEST_ALL = (1u << 6) - 1,
};

// Computes several digests of one message in one pass: each chosen digest
// runs on its own thread over the same data, so asking for all six costs
// about as much as the slowest alone. The data travels in slices through a
// small ring, so a fast digest may run a few slices ahead of a slow one and
// small updates (file reads) are hashed while the caller reads on.
// Update and Finish are called from one thread. Update copies small data and
// hashes large data in place, returning only once that is done, so the
// caller may reuse its buffer at once.
class MultiDigest {
public:
    // Slices of 4 MiB stay in the shared cache while the lanes read them and
    // cost little to hand over; tests pass small ones.
    static constexpr std::size_t kDefaultSliceBytes = 4u << 20;

    explicit MultiDigest(unsigned kinds, std::size_t sliceBytes = kDefaultSliceBytes);
    ~MultiDigest();
    MultiDigest(const MultiDigest&) = delete;
    MultiDigest& operator=(const MultiDigest&) = delete;

    void Update(const void* data, std::size_t length);
    // Hands data over without a copy and without waiting: the digests read
    // it after the call returns and let the owner go once all have read it.
    void Update(std::shared_ptr<const std::uint8_t> data, std::size_t length);
    // Closes every digest; Update after it throws std::logic_error.
    void Finish();
    // The lower-case hex digest after Finish; empty for a kind not chosen.
    std::string HexDigest(DigestKind kind) const;

private:
    class Lane;
    struct Slice {
        const std::uint8_t* data = nullptr;
        std::size_t length = 0;
        std::vector<std::uint8_t> storage;  // for gathered small updates
        std::shared_ptr<const std::uint8_t> owner;  // of data handed over
    };

    std::uint8_t* StartGathering();
    void Publish(const std::uint8_t* data, std::size_t length, std::shared_ptr<const std::uint8_t> owner = {});
    void PublishGathered();
    void ReleaseOwners();
    void WaitUntilConsumed(std::uint64_t published);
    std::uint64_t LeastConsumed() const;
    void WorkerLoop(std::size_t laneIndex);
    void StopWorkers();

    const std::size_t m_sliceBytes;
    std::vector<std::unique_ptr<Lane>> m_lanes;
    std::vector<std::thread> m_workers;  // worker i runs lane i
    std::vector<Slice> m_ring;
    std::mutex m_mutex;
    std::condition_variable m_published;  // a new slice for the lanes
    std::condition_variable m_consumed;  // a lane finished a slice
    std::uint64_t m_publishedCount = 0;
    std::vector<std::uint64_t> m_consumedCount;  // per lane
    bool m_stopping = false;
    std::uint8_t* m_gathering = nullptr;  // slice being filled by small updates
    std::size_t m_gathered = 0;
    bool m_finished = false;
};
