#pragma once

#include "core/tools/disk/DiskTestSink.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

// The probe of a drive selection (opening the disk, its size, its read
// sizes) on a thread of its own, so a disk that does not answer never holds
// the window. The result goes to the window through the sink; a new Start
// makes the earlier result stale and a stale one is dropped, as is any
// result once the owner is gone. The owner never waits for the thread: it
// ends whenever the device answers, holding only copies of what it probes.
class DriveProbe {
public:
    explicit DriveProbe(DiskTestSink& sink) : m_shared(std::make_shared<Shared>(&sink)) {}
    ~DriveProbe()
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->sink = nullptr;
    }
    DriveProbe(const DriveProbe&) = delete;
    DriveProbe& operator=(const DriveProbe&) = delete;

    // Runs probe on a new thread; deliver gets its result on the window's
    // thread while this is still the latest probe.
    template <class Result>
    void Start(std::function<Result()> probe, std::function<void(const Result&)> deliver)
    {
        unsigned id = 0;
        {
            std::lock_guard lock(m_shared->mutex);
            id = ++m_shared->latest;
            m_shared->busy = true;
            m_shared->posted = false;
        }
        std::thread([shared = m_shared, id, probe = std::move(probe), deliver = std::move(deliver)] {
            const Result result = probe();
            std::lock_guard lock(shared->mutex);
            if (shared->latest == id)
                shared->posted = true;
            shared->changed.notify_all();
            if (shared->sink == nullptr || shared->latest != id)
                return;
            shared->sink->CallOnWindow([shared, id, result, deliver] {
                {
                    std::lock_guard current(shared->mutex);
                    if (shared->sink == nullptr || shared->latest != id)
                        return;
                    shared->busy = false;
                }
                deliver(result);
            });
        }).detach();
    }
    // Drops the result of the probe under way.
    void Cancel()
    {
        std::lock_guard lock(m_shared->mutex);
        ++m_shared->latest;
        m_shared->busy = false;
    }
    // A probe is under way: its result is not yet delivered.
    bool Busy() const
    {
        std::lock_guard lock(m_shared->mutex);
        return m_shared->busy;
    }
    // Waits until the latest probe has handed its result to the sink (tests).
    void WaitUntilPosted()
    {
        std::unique_lock lock(m_shared->mutex);
        m_shared->changed.wait(lock, [this] { return !m_shared->busy || m_shared->posted; });
    }

private:
    struct Shared {
        explicit Shared(DiskTestSink* target) : sink(target) {}
        std::mutex mutex;
        std::condition_variable changed;
        DiskTestSink* sink;  // null once the owner is gone
        unsigned latest = 0;
        bool busy = false;
        bool posted = false;
    };
    std::shared_ptr<Shared> m_shared;
};
