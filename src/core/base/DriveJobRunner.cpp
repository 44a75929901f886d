#include "core/base/DriveJobRunner.h"

DriveJobRunner::~DriveJobRunner()
{
    {
        std::lock_guard lock(m_mutex);
        m_bStop = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void DriveJobRunner::SetTarget(MessageTargetPtr target, UINT doneMessage)
{
    std::lock_guard lock(m_mutex);
    m_pTarget = std::move(target);
    m_nDoneMessage = doneMessage;
}

void DriveJobRunner::Run(std::function<void()> work, std::function<void()> done)
{
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back({std::move(work), std::move(done)});
        if (!m_thread.joinable())
            m_thread = std::thread([this] { Loop(); });
    }
    m_changed.notify_all();
}

void DriveJobRunner::Loop()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_bStop || !m_queue.empty(); });
        if (m_queue.empty())
            return;  // stopping, and nothing is left to do
        Piece piece = std::move(m_queue.front());
        m_queue.pop_front();
        m_bWorking = true;
        lock.unlock();
        if (piece.work)
            piece.work();
        lock.lock();
        if (piece.done) {
            m_completions.push_back(std::move(piece.done));
            const MessageTargetPtr target = m_pTarget;
            const UINT message = m_nDoneMessage;
            lock.unlock();
            if (target)
                target->PostMessage(message);
            lock.lock();
        }
        // Idle only once the window has been told.
        m_bWorking = false;
        m_changed.notify_all();
    }
}

void DriveJobRunner::RunCompletions()
{
    for (;;) {
        std::function<void()> done;
        {
            std::lock_guard lock(m_mutex);
            if (m_completions.empty())
                return;
            done = std::move(m_completions.front());
            m_completions.pop_front();
        }
        done();
    }
}

bool DriveJobRunner::Busy() const
{
    std::lock_guard lock(m_mutex);
    return m_bWorking || !m_queue.empty() || !m_completions.empty();
}

bool DriveJobRunner::Working() const
{
    std::lock_guard lock(m_mutex);
    return m_bWorking || !m_queue.empty();
}

void DriveJobRunner::WaitForWork()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_bWorking && m_queue.empty(); });
}
