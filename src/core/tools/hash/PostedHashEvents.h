#pragma once

#include "core/base/MessageTarget.h"
#include "core/tools/hash/HashEvents.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

// Hands a hash run's events to the window's thread by posted messages. The
// progress is kept as its latest values, and one WM_HASHPROGRESS at a time
// tells the window to show them, so a fast run never floods the window. A
// question (WM_HASHQUESTION) waits for the window's answer, or for the run's
// stop; notices (WM_HASHNOTICE) queue up without waiting.
class PostedHashEvents : public HashEvents {
public:
    explicit PostedHashEvents(MessageTargetPtr target);

    // At the start of a run, on its thread: no progress yet, and a stop of
    // this token answers a waiting question with an abort.
    void BeginRun(std::stop_token stop = {});

    void FileProgress(int filesHandled, int fileCount, int percent) override;
    void OverallProgress(int percent) override;
    bool AbortAfterOpenError(const std::string& path, const std::string& reason) override;
    void Notice(const std::string& text) override;

    // On the window's thread. The progress to show; a part not reported
    // since the run began is nullopt.
    struct Progress {
        int filesHandled = 0;
        int fileCount = 0;
        std::optional<int> filePercent;
        std::optional<int> overallPercent;
    };
    Progress TakeProgress();
    // A question waits for an answer, and the run has not been stopped.
    bool QuestionWaiting() const;
    // The file the waiting question is about, and why it cannot be opened.
    std::pair<std::string, std::string> QuestionFile() const;
    void AnswerQuestion(bool abort);
    std::vector<std::string> TakeNotices();

private:
    void PostProgress();

    MessageTargetPtr m_target;
    mutable std::mutex m_mutex;
    std::condition_variable m_answered;
    Progress m_progress;
    bool m_progressPosted = false;
    bool m_questionWaiting = false;
    std::optional<bool> m_answer;
    std::pair<std::string, std::string> m_questionFile;
    std::stop_token m_stop;
    std::deque<std::string> m_notices;
};
