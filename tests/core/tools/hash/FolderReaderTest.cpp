#include "core/tools/hash/FolderReader.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

namespace {

// A consumer that takes one piece and waits: the reader may run ahead only
// within its budget, also for the one file being taken.
TEST(FolderReader, TheFileBeingTakenIsReadAheadOnlyWithinTheBudget)
{
    TempDir dir;
    const std::string path = dir.File("large.bin");
    WriteFileText(path, std::string(std::size_t{4} << 20, 'x'));
    const std::vector<FileForHash> files{{path, std::uint64_t{4} << 20, 0, {}}};

    std::mutex mutex;
    std::condition_variable changed;
    bool waiting = false;
    bool readAll = false;
    FolderReadSettings settings;
    settings.pieceBytes = 64 << 10;
    settings.budgetBytes = 512 << 10;
    settings.isRotational = [](std::uint64_t) { return std::optional<bool>(); };
    settings.waitingForMemory = [&] {
        std::lock_guard lock(mutex);
        waiting = true;
        changed.notify_all();
    };
    settings.beforeRead = [&](const std::string&, std::uint64_t offset) {
        if (offset + settings.pieceBytes < (std::uint64_t{4} << 20))
            return;
        std::lock_guard lock(mutex);
        readAll = true;
        changed.notify_all();
    };
    FolderReader reader(files, settings);
    FileRead first = reader.Take(0);
    ASSERT_EQ(first.state, FileReadState::Piece);
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return waiting || readAll; });
    }
    EXPECT_TRUE(waiting);
    EXPECT_LE(reader.PeakBytesAhead(), settings.budgetBytes);

    std::uint64_t total = first.piece.length;
    first = {};
    for (FileRead read = reader.Take(0); read.state == FileReadState::Piece; read = reader.Take(0))
        total += read.piece.length;
    EXPECT_EQ(total, std::uint64_t{4} << 20);
    EXPECT_LE(reader.PeakBytesAhead(), settings.budgetBytes);
}

}  // namespace
