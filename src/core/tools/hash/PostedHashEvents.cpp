#include "core/tools/hash/PostedHashEvents.h"

PostedHashEvents::PostedHashEvents(MessageTargetPtr target) : m_target(std::move(target))
{
}

void PostedHashEvents::BeginRun(std::stop_token stop)
{
    std::lock_guard lock(m_mutex);
    m_progress = {};
    m_stop = std::move(stop);
    m_answer.reset();
}

void PostedHashEvents::FileProgress(int filesHandled, int fileCount, int percent)
{
    {
        std::lock_guard lock(m_mutex);
        m_progress.filesHandled = filesHandled;
        m_progress.fileCount = fileCount;
        m_progress.filePercent = percent;
    }
    PostProgress();
}

void PostedHashEvents::OverallProgress(int percent)
{
    {
        std::lock_guard lock(m_mutex);
        m_progress.overallPercent = percent;
    }
    PostProgress();
}

void PostedHashEvents::PostProgress()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_progressPosted)
            return;  // the window has not taken the last values yet
        m_progressPosted = true;
    }
    m_target->PostMessage(WM_HASHPROGRESS);
}

bool PostedHashEvents::AbortAfterOpenError(const std::string& path, const std::string& reason)
{
    std::stop_token stop;
    {
        std::lock_guard lock(m_mutex);
        stop = m_stop;
        m_questionFile = {path, reason};
        m_answer.reset();
        m_questionWaiting = true;
    }
    // Made before the lock is taken: with the stop already requested it runs at once.
    const std::stop_callback wake(stop, [this] {
        std::lock_guard lock(m_mutex);
        m_answered.notify_all();
    });
    m_target->PostMessage(WM_HASHQUESTION);
    std::unique_lock lock(m_mutex);
    m_answered.wait(lock, [&] { return m_answer.has_value() || stop.stop_requested(); });
    m_questionWaiting = false;
    return m_answer.value_or(true);
}

void PostedHashEvents::Notice(const std::string& text)
{
    {
        std::lock_guard lock(m_mutex);
        m_notices.push_back(text);
    }
    m_target->PostMessage(WM_HASHNOTICE);
}

PostedHashEvents::Progress PostedHashEvents::TakeProgress()
{
    std::lock_guard lock(m_mutex);
    m_progressPosted = false;
    return m_progress;
}

bool PostedHashEvents::QuestionWaiting() const
{
    std::lock_guard lock(m_mutex);
    return m_questionWaiting && !m_answer && !m_stop.stop_requested();
}

std::pair<std::string, std::string> PostedHashEvents::QuestionFile() const
{
    std::lock_guard lock(m_mutex);
    return m_questionFile;
}

void PostedHashEvents::AnswerQuestion(bool abort)
{
    std::lock_guard lock(m_mutex);
    if (!m_questionWaiting)
        return;
    m_answer = abort;
    m_answered.notify_all();
}

std::vector<std::string> PostedHashEvents::TakeNotices()
{
    std::lock_guard lock(m_mutex);
    std::vector<std::string> notices(m_notices.begin(), m_notices.end());
    m_notices.clear();
    return notices;
}
