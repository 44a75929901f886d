#include "core/app/TestPageState.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

TEST(TestPageState, ListLinesComeBackAsTheyWentInAcrossBlocks)
{
    struct Case {
        const char* name;
        std::vector<std::string> lines;
    };
    std::vector<std::string> many;
    for (int i = 0; i < 60000; ++i)  // over a megabyte: several blocks
        many.push_back(std::to_string(i) + ". Error - LBA = " + std::string(static_cast<std::size_t>(i % 23), 'x'));
    const Case cases[] = {
        {"empty lines", {"", "a", "", ""}},
        {"a line longer than a block", {"before", std::string(3u << 20, 'L'), "after"}},
        {"a line that just fills a block", {std::string((1u << 20) - 7, 'a'), "1234567", "next"}},
        {"many lines", many},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        TestPageState state;
        state.ResetList("Heading");
        for (const std::string& line : test.lines)
            state.AddListLine(line);
        std::vector<std::string> expected{"Heading"};
        expected.insert(expected.end(), test.lines.begin(), test.lines.end());
        EXPECT_EQ(state.ListLines(), expected);
        const TestPageState::ListShape shape = state.List();
        ASSERT_EQ(shape.lines, expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i)
            ASSERT_EQ(state.ListLine(shape.generation, i), expected[i]) << i;
        EXPECT_EQ(state.ListLine(shape.generation, expected.size()), std::nullopt);
    }
}

// The window takes the list's shape, not copies of its lines; an emptied
// list is a new generation, whose reader no longer sees the old lines.
TEST(TestPageState, ChangesCarryTheListsShapeAndAResetStartsANewGeneration)
{
    TestPageState state;
    int notices = 0;
    state.SetListener([&notices] { ++notices; });
    EXPECT_FALSE(state.TakeChanges().list);

    state.ResetList("Read Errors");
    state.AddListLine("1. Error");
    state.AddListLine("2. Error");
    EXPECT_EQ(notices, 1);  // gathered until the window takes them
    const std::optional<TestPageState::ListShape> first = state.TakeChanges().list;
    ASSERT_TRUE(first);
    EXPECT_EQ(first->lines, 3u);
    EXPECT_FALSE(state.TakeChanges().list);

    state.SetText(7, "text");
    EXPECT_FALSE(state.TakeChanges().list);  // nothing new in the list

    state.ResetList("Differences");
    state.AddListLine("Sector 5h");
    const std::optional<TestPageState::ListShape> second = state.TakeChanges().list;
    ASSERT_TRUE(second);
    EXPECT_NE(second->generation, first->generation);
    EXPECT_EQ(second->lines, 2u);
    EXPECT_EQ(state.ListLine(first->generation, 1), std::nullopt);
    EXPECT_EQ(state.ListLine(second->generation, 1), "Sector 5h");
    EXPECT_EQ(notices, 3);
}

// The window reads the lines it was told of while a worker adds more.
TEST(TestPageState, LinesReadWhileOthersAreAdded)
{
    TestPageState state;
    state.ResetList("Heading");
    constexpr int kLines = 100000;
    std::thread worker([&state] {
        for (int i = 1; i <= kLines; ++i)
            state.AddListLine(std::to_string(i) + ". Error");
    });
    int wrong = 0;
    std::size_t seen = 0;
    while (seen <= static_cast<std::size_t>(kLines)) {
        const TestPageState::ListShape shape = state.List();
        for (std::size_t i = seen; i < shape.lines; ++i)
            if (state.ListLine(shape.generation, i) != (i == 0 ? "Heading" : std::to_string(i) + ". Error"))
                ++wrong;
        seen = shape.lines;
    }
    worker.join();
    EXPECT_EQ(wrong, 0);
}
