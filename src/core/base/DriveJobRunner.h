#pragma once

#include "core/base/MessageTarget.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// Runs the main window's drive work on a thread of its own, one piece after
// the other, so that no drive command keeps the window from answering. When
// a piece ends the window is told by a posted message and runs the piece's
// completion (what the work found, shown in widgets) on its own thread, in
// the order the pieces were given.
class DriveJobRunner {
public:
    DriveJobRunner() = default;
    ~DriveJobRunner();
    DriveJobRunner(const DriveJobRunner&) = delete;
    DriveJobRunner& operator=(const DriveJobRunner&) = delete;

    // Where the "done" message goes.
    void SetTarget(MessageTargetPtr target, UINT doneMessage);
    // Queues work (may be empty) and the completion that follows it.
    void Run(std::function<void()> work, std::function<void()> done = {});
    // On the window's thread, when the message arrives: the completions of
    // every piece that has ended.
    void RunCompletions();
    // Work queued or running, or a completion waiting for the window.
    bool Busy() const;
    // Work queued or running: the drive side is in use.
    bool Working() const;
    // Waits until no work is queued or running; the completions stay.
    void WaitForWork();

private:
    struct Piece {
        std::function<void()> work;
        std::function<void()> done;
    };
    void Loop();

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Piece> m_queue;
    std::deque<std::function<void()>> m_completions;
    bool m_bWorking = false;
    bool m_bStop = false;
    MessageTargetPtr m_pTarget;
    UINT m_nDoneMessage = 0;
    std::thread m_thread;
};
