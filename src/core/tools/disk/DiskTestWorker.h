#pragma once

#include <atomic>
#include <functional>
#include <thread>

// The one worker of a disk test window and its running flag (`m_bRunning`):
// Stop clears the flag, which the test polls before each read or block; a
// new test waits for the previous worker's end; the owner's destruction
// stops and joins it.
class DiskTestWorker {
public:
    DiskTestWorker() = default;
    DiskTestWorker(const DiskTestWorker&) = delete;
    DiskTestWorker& operator=(const DiskTestWorker&) = delete;
    ~DiskTestWorker() { StopAndJoin(); }

    // Sets the flag and runs work on a new thread (after the previous one ended).
    void Start(std::function<void()> work)
    {
        Join();
        m_bRunning = 1;
        m_thread = std::thread(std::move(work));
    }
    void RequestStop() { m_bRunning = 0; }
    void Join()
    {
        if (m_thread.joinable())
            m_thread.join();
    }
    void StopAndJoin()
    {
        RequestStop();
        Join();
    }

    const std::atomic<int>& RunningFlag() const { return m_bRunning; }
    bool Running() const { return m_bRunning != 0; }

private:
    std::atomic<int> m_bRunning{0};
    std::thread m_thread;
};
