#include "emu/EmulatedDrive.h"
#include "emu/MediaPresets.h"
#include "platform/devices/DriveWatcher.h"
#include "platform/passthrough/EmulatedPassThrough.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>
#include <utility>

namespace {

std::shared_ptr<emu::EmulatedDrive> MakeDrive(const char* medium, std::shared_ptr<emu::ManualClock> clock)
{
    std::string error;
    auto drive = emu::MakeEmulatedDrive("dvd-writer", medium, std::move(clock), &error);
    EXPECT_TRUE(drive) << error;
    return drive;
}

// What a watcher told, collected from any thread.
struct Told {
    std::mutex mutex;
    std::vector<DriveChange> changes;
    DriveWatcher::Sink Sink()
    {
        return [this](const DriveChange& change) {
            std::lock_guard lock(mutex);
            changes.push_back(change);
        };
    }
    std::vector<DriveChange> Take()
    {
        std::lock_guard lock(mutex);
        return std::exchange(changes, {});
    }
};

}  // namespace

TEST(DriveWatcher, TellsEachDiscChangeOfAnEmulatedDriveAsItHappens)
{
    TempDir machine;
    auto clock = std::make_shared<emu::ManualClock>();
    auto drive = MakeDrive("dvd+r", clock);
    auto opener = std::make_shared<EmulatedDeviceOpener>();
    opener->Add("emu0", drive);
    Told told;
    DriveWatcher watcher(machine.Path(), opener, {{"emu0", drive}}, told.Sink());
    EXPECT_TRUE(told.Take().empty());  // the disc already in is no news

    drive->EjectMedium();
    EXPECT_EQ(told.Take(), (std::vector<DriveChange>{{false, true, "emu0"}}));
    ASSERT_TRUE(drive->InsertMedium(*emu::FindMediumPreset("dvd-rw")));
    EXPECT_EQ(told.Take(), (std::vector<DriveChange>{{true, true, "emu0"}}));

    // A disc that is still spinning up arrives once it is ready.
    drive->EjectMedium();
    told.Take();
    ASSERT_TRUE(drive->LoadMedium(*emu::FindMediumPreset("dvd+rw")));
    EXPECT_TRUE(told.Take().empty());
    clock->Advance(drive->Identity().spinUpMs);
    watcher.PollNow();
    watcher.PollNow();
    EXPECT_EQ(told.Take(), (std::vector<DriveChange>{{true, true, "emu0"}}));
}

TEST(DriveWatcher, ASystemDriveIsWatchedByPollingItsListingAndItsReadiness)
{
    TempDir machine;
    std::filesystem::create_directory(machine.File("sr0"));
    auto clock = std::make_shared<emu::ManualClock>();
    // An emulated drive standing in for the machine's sr0: no tray listener,
    // so only the poll can see what happens to it.
    auto sr0 = MakeDrive("dvd+r", clock);
    auto opener = std::make_shared<EmulatedDeviceOpener>();
    opener->Add("sr0", sr0);
    Told told;
    DriveWatcher watcher(machine.Path(), opener, {}, told.Sink());

    sr0->EjectMedium();
    std::filesystem::create_directory(machine.File("sr1"));
    std::filesystem::create_directory(machine.File("sda"));  // not an optical drive
    watcher.PollNow();
    EXPECT_EQ(told.Take(), (std::vector<DriveChange>{{true, false, "sr1"}, {false, true, "sr0"}}));

    std::filesystem::remove(machine.File("sr1"));
    watcher.PollNow();
    EXPECT_EQ(told.Take(), (std::vector<DriveChange>{{false, false, "sr1"}}));

    // While paused the running watcher asks no drive; afterwards it tells by itself.
    // Its looks are counted, so the test waits for them, not for a time.
    bool paused = true;
    int looks = 0;
    std::mutex pauseMutex;
    watcher.SetPaused([&] {
        std::lock_guard lock(pauseMutex);
        ++looks;
        return paused;
    });
    const auto looksSoFar = [&] {
        std::lock_guard lock(pauseMutex);
        return looks;
    };
    watcher.Start(5);
    ASSERT_TRUE(sr0->InsertMedium(*emu::FindMediumPreset("dvd+r")));
    // Two looks after the insert: at least one whole poll while paused.
    const int looksAtInsert = looksSoFar();
    while (looksSoFar() < looksAtInsert + 2)
        std::this_thread::yield();
    EXPECT_TRUE(told.Take().empty());
    {
        std::lock_guard lock(pauseMutex);
        paused = false;
    }
    std::vector<DriveChange> changes;
    const int looksAtResume = looksSoFar();
    while (changes.empty() && looksSoFar() < looksAtResume + 3) {
        std::this_thread::yield();
        changes = told.Take();
    }
    changes = changes.empty() ? told.Take() : changes;
    watcher.Stop();
    EXPECT_EQ(changes, (std::vector<DriveChange>{{true, true, "sr0"}}));
}
