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
// runs on its own thread over the same data (the caller's thread takes one),
// so asking for all six costs about as much as the slowest alone.
// Update and Finish are called from one thread; Update returns once the data
// is consumed, so the caller may reuse its buffer.
class MultiDigest {
public:
    explicit MultiDigest(unsigned kinds);
    ~MultiDigest();
    MultiDigest(const MultiDigest&) = delete;
    MultiDigest& operator=(const MultiDigest&) = delete;

    void Update(const void* data, std::size_t length);
    // Closes every digest; Update after it throws std::logic_error.
    void Finish();
    // The lower-case hex digest after Finish; empty for a kind not chosen.
    std::string HexDigest(DigestKind kind) const;

private:
    class Lane;

    void Dispatch(const std::uint8_t* data, std::size_t length);
    void FlushStaging();
    void WorkerLoop(std::size_t laneIndex);
    void StopWorkers();

    std::vector<std::unique_ptr<Lane>> m_lanes; // lane 0 runs on the caller's thread
    std::vector<std::thread> m_workers;         // worker i runs lane i + 1
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    const std::uint8_t* m_jobData = nullptr;
    std::size_t m_jobLength = 0;
    std::uint64_t m_jobNumber = 0;
    std::size_t m_lanesBusy = 0;
    bool m_stopping = false;
    bool m_finished = false;
    std::vector<std::uint8_t> m_staging; // small updates gather here
    std::size_t m_stagingFill = 0;
};
