#include "core/tools/hash/PostedHashEvents.h"

#include <gtest/gtest.h>

#include <future>
#include <mutex>
#include <thread>
#include <vector>

namespace {

class RecordingTarget : public MessageTarget {
public:
    bool PostMessage(UINT message, WPARAM, LPARAM) override
    {
        std::lock_guard lock(m_mutex);
        posted.push_back(message);
        return true;
    }
    std::vector<UINT> Posted()
    {
        std::lock_guard lock(m_mutex);
        return posted;
    }

private:
    std::mutex m_mutex;
    std::vector<UINT> posted;
};

}  // namespace

TEST(PostedHashEvents, ProgressPostsOnceUntilTheWindowHasTakenTheLatestValues)
{
    auto target = std::make_shared<RecordingTarget>();
    PostedHashEvents events(target);
    std::thread run([&] {
        events.BeginRun();
        for (int percent = 0; percent <= 100; ++percent)
            events.FileProgress(3, 7, percent);
        events.OverallProgress(42);
    });
    run.join();
    EXPECT_EQ(target->Posted(), std::vector<UINT>{WM_HASHPROGRESS});
    PostedHashEvents::Progress progress = events.TakeProgress();
    EXPECT_EQ(progress.filesHandled, 3);
    EXPECT_EQ(progress.fileCount, 7);
    EXPECT_EQ(progress.filePercent, 100);
    EXPECT_EQ(progress.overallPercent, 42);

    events.OverallProgress(43);
    EXPECT_EQ(target->Posted().size(), 2u);
    events.BeginRun();
    progress = events.TakeProgress();
    EXPECT_EQ(progress.filePercent, std::nullopt);
    EXPECT_EQ(progress.overallPercent, std::nullopt);
}

TEST(PostedHashEvents, AQuestionWaitsForTheWindowOrTheStop)
{
    auto target = std::make_shared<RecordingTarget>();
    PostedHashEvents events(target);
    for (bool abort : {false, true}) {
        auto answer = std::async(std::launch::async, [&] {
            events.BeginRun();
            return events.AbortAfterOpenError("/data/a file", "Permission denied");
        });
        while (!events.QuestionWaiting())
            std::this_thread::yield();
        EXPECT_EQ(events.QuestionFile(), std::make_pair(std::string("/data/a file"), std::string("Permission denied")));
        events.AnswerQuestion(abort);
        EXPECT_EQ(answer.get(), abort);
    }
    EXPECT_EQ(target->Posted(), (std::vector<UINT>{WM_HASHQUESTION, WM_HASHQUESTION}));

    // A stop answers for the window: the run is to end.
    std::stop_source stop;
    auto stopped = std::async(std::launch::async, [&] {
        events.BeginRun(stop.get_token());
        return events.AbortAfterOpenError("/data/b", "Permission denied");
    });
    while (!events.QuestionWaiting())
        std::this_thread::yield();
    stop.request_stop();
    EXPECT_TRUE(stopped.get());
    events.AnswerQuestion(false);  // too late: nothing waits
    EXPECT_FALSE(events.QuestionWaiting());

    events.Notice("one");
    events.Notice("two");
    EXPECT_EQ(events.TakeNotices(), (std::vector<std::string>{"one", "two"}));
    EXPECT_TRUE(events.TakeNotices().empty());
}
