#include "core/graphs/HddCellMap.h"
#include "core/tools/flashtest/FlashMemoryTestControl.h"
#include "core/tools/hddtest/HddErrorTestControl.h"
#include "support/DiskToolSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

constexpr std::uint64_t kMiB = 1 << 20;

// One tool's control over a fake disk, its choice made through ChooseDrive.
template <class Control>
struct ChoiceRig {
    ChoiceRig() : control(std::make_unique<Control>(disk.host, map, sink)) {}

    int Choose()
    {
        return control->ChooseDrive(0, [this](const auto& shown) { sizes.push_back(SizeOf(shown)); });
    }
    static std::string SizeOf(const DiskDriveFields& fields) { return fields.formatSize; }
    static std::string SizeOf(const DiskSelection& selection) { return selection.fields.formatSize; }

    ScopedProfile profile;
    ScriptedPrompt prompt;
    FakeDiskHost disk{64 * kMiB};
    HddCellMap map;
    RecordingDiskSink sink;
    std::unique_ptr<Control> control;
    std::vector<std::string> sizes;  // the size field of each selection shown
};

template <class Control>
void ChoosingAHungDiskNeverHoldsTheWindow()
{
    ChoiceRig<Control> rig;
    rig.disk.disk->HoldReads();
    EXPECT_EQ(rig.Choose(), 0);
    rig.disk.disk->WaitForHeldReads(1);  // the probe waits on its own thread
    EXPECT_TRUE(rig.control->Probing());
    EXPECT_FALSE(rig.control->OnStartTest());
    EXPECT_TRUE(rig.prompt.asked.empty());
    EXPECT_EQ(rig.sink.RunCalls(), 0);
    EXPECT_TRUE(rig.sizes.empty());

    rig.control.reset();  // closing returns while the read hangs
    rig.disk.disk->ReleaseReads();
    rig.disk.disk->WaitUntilNoReadHeld();
    EXPECT_TRUE(rig.sizes.empty());
}

template <class Control>
void OnlyTheLatestChoiceIsShown()
{
    ChoiceRig<Control> rig;
    rig.Choose();
    rig.control->Probe().WaitUntilPosted();
    EXPECT_EQ(rig.sink.RunCalls(), 1);
    EXPECT_EQ(rig.sizes, (std::vector<std::string>{"64.00 MB"}));
    EXPECT_FALSE(rig.control->Probing());

    // A result that reaches the window after another choice is dropped.
    rig.Choose();
    rig.control->Probe().WaitUntilPosted();
    rig.disk.disk->HoldReads();
    rig.Choose();
    rig.disk.disk->WaitForHeldReads(1);
    EXPECT_EQ(rig.sink.RunCalls(), 1);
    EXPECT_EQ(rig.sizes.size(), 1u);
    EXPECT_TRUE(rig.control->Probing());

    rig.disk.disk->ReleaseReads();
    rig.control->Probe().WaitUntilPosted();
    EXPECT_EQ(rig.sink.RunCalls(), 1);
    EXPECT_EQ(rig.sizes, (std::vector<std::string>{"64.00 MB", "64.00 MB"}));
    EXPECT_FALSE(rig.control->Probing());
}

}  // namespace

TEST(DriveChoice, ChoosingAHungDiskNeverHoldsTheWindow)
{
    {
        SCOPED_TRACE("hard-disk test");
        ChoosingAHungDiskNeverHoldsTheWindow<HddErrorTestControl>();
    }
    {
        SCOPED_TRACE("flash test");
        ChoosingAHungDiskNeverHoldsTheWindow<FlashMemoryTestControl>();
    }
}

TEST(DriveChoice, OnlyTheLatestChoiceIsShown)
{
    {
        SCOPED_TRACE("hard-disk test");
        OnlyTheLatestChoiceIsShown<HddErrorTestControl>();
    }
    {
        SCOPED_TRACE("flash test");
        OnlyTheLatestChoiceIsShown<FlashMemoryTestControl>();
    }
}
