#pragma once

#include <atomic>
#include <functional>
#include <stop_token>
#include <thread>

// The thread of one hash run at a time. The run's body polls its stop token;
// `ended` runs on the same thread once the run counts as over, so a new run
// may start from there on.
class HashRun {
public:
    HashRun() = default;
    // Stops a run still going and waits for it.
    ~HashRun();
    HashRun(const HashRun&) = delete;
    HashRun& operator=(const HashRun&) = delete;

    // False, and nothing started, while a run is going.
    bool Start(std::function<void(std::stop_token)> body, std::function<void()> ended = {});
    bool Running() const { return m_running; }
    void RequestStop();
    // Waits until the thread of the last run has ended.
    void Join();

private:
    std::atomic<bool> m_running{false};
    std::jthread m_thread;
};
