#include "platform/sysinfo/SystemFacts.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(SystemFacts, MemoryFiguresComeFromMeminfoAndTheProcessStatus)
{
    struct Case {
        const char* name;
        const char* meminfo;
        std::optional<MemoryStatus> expected;
    };
    constexpr std::uint64_t kKiB = 1024;
    constexpr std::uint64_t kUserSpace = std::uint64_t{1} << 47;
    const Case cases[] = {
        {"available memory and swap",
         "MemTotal:        8000 kB\nMemFree:         1000 kB\nMemAvailable:    2000 kB\n"
         "SwapTotal:       4000 kB\nSwapFree:        3000 kB\n",
         MemoryStatus{75, 8000 * kKiB, 2000 * kKiB, 12000 * kKiB, 5000 * kKiB, kUserSpace, kUserSpace - 300 * kKiB}},
        {"an older kernel without MemAvailable", "MemTotal: 4000 kB\nMemFree: 1000 kB\n",
         MemoryStatus{75, 4000 * kKiB, 1000 * kKiB, 4000 * kKiB, 1000 * kKiB, kUserSpace, kUserSpace - 300 * kKiB}},
        {"more available than there is", "MemTotal: 1000 kB\nMemAvailable: 5000 kB\n",
         MemoryStatus{0, 1000 * kKiB, 1000 * kKiB, 1000 * kKiB, 1000 * kKiB, kUserSpace, kUserSpace - 300 * kKiB}},
        {"no total", "MemFree: 1000 kB\n", std::nullopt},
        {"a total that is no number", "MemTotal: lots\n", std::nullopt},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        TempDir proc;
        std::filesystem::create_directory(proc.File("self"));
        WriteFileText(proc.File("meminfo"), test.meminfo);
        WriteFileText(proc.File("self/status"), "Name:\tquenzario\nVmPeak:\t  400 kB\nVmSize:\t  300 kB\n");
        const std::optional<MemoryStatus> status = ReadMemoryStatus(proc.Path());
        ASSERT_EQ(status.has_value(), test.expected.has_value());
        if (!status)
            continue;
        EXPECT_EQ(status->memoryLoadPercent, test.expected->memoryLoadPercent);
        EXPECT_EQ(status->totalPhysical, test.expected->totalPhysical);
        EXPECT_EQ(status->availablePhysical, test.expected->availablePhysical);
        EXPECT_EQ(status->totalPageFile, test.expected->totalPageFile);
        EXPECT_EQ(status->availablePageFile, test.expected->availablePageFile);
        EXPECT_EQ(status->totalVirtual, test.expected->totalVirtual);
        EXPECT_EQ(status->availableVirtual, test.expected->availableVirtual);
    }
    TempDir empty;
    EXPECT_FALSE(ReadMemoryStatus(empty.Path()));
}
