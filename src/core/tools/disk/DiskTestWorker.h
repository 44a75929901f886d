#pragma once

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

// Wakes what a worker waits on besides its running flag (a transfer on a
// thread of its own, StoppableDisk) when Stop is requested.
class StopNotice {
public:
    using Wake = std::function<void()>;

    // wake runs at every later Notify until Remove(id) has returned.
    int Add(Wake wake)
    {
        std::lock_guard lock(m_mutex);
        m_wakes.emplace(++m_lastId, std::move(wake));
        return m_lastId;
    }
    void Remove(int id)
    {
        std::lock_guard lock(m_mutex);
        m_wakes.erase(id);
    }
    void Notify()
    {
        std::lock_guard lock(m_mutex);
        for (auto& [id, wake] : m_wakes)
            wake();
    }

private:
    std::mutex m_mutex;
    std::map<int, Wake> m_wakes;
    int m_lastId = 0;
};

// The one worker of a disk test window and its running flag (`m_bRunning`):
// Stop clears the flag, which the test polls before each read or block, and
// wakes the test from a transfer it waits for (Notice()); a new test waits
// for the previous worker's end; the owner's destruction stops and joins it.
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
    void RequestStop()
    {
        m_bRunning = 0;
        m_notice.Notify();
    }
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
    // What the test registers its waits with.
    StopNotice& Notice() { return m_notice; }

private:
    std::atomic<int> m_bRunning{0};
    StopNotice m_notice;
    std::thread m_thread;
};
