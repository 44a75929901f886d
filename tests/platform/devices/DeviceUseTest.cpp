#include "platform/devices/DeviceUse.h"

#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

// A disk sdzq with two partitions, described by fixture files.
class DeviceUseFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* part : {"sdzq1", "sdzq2"}) {
            std::filesystem::create_directories(m_dir.File("block/sdzq/") + part + "/holders");
            WriteFileText(m_dir.File("block/sdzq/") + part + "/partition", "1\n");
        }
        std::filesystem::create_directories(m_dir.File("block/sdzq/holders"));
        std::filesystem::create_directories(m_dir.File("block/sdzr/holders"));
        WriteFileText(m_dir.File("swaps"), "Filename Type Size Used Priority\n");
        WriteFileText(m_dir.File("mounts"), "proc /proc proc rw 0 0\n");
    }
    DeviceUse Use(const std::string& node) const
    {
        DeviceUseSources sources;
        sources.mounts = m_dir.File("mounts");
        sources.swaps = m_dir.File("swaps");
        sources.sysClassBlock = m_dir.File("block");
        sources.tryExclusiveOpen = false;
        return DescribeDeviceUse(node, sources);
    }
    TempDir m_dir;
};

TEST_F(DeviceUseFixture, AFreeDiskIsInNoUse)
{
    EXPECT_FALSE(Use("/dev/sdzq").InUse());
    EXPECT_FALSE(Use("emu0").InUse());  // no device node at all
}

TEST_F(DeviceUseFixture, APartitionMountedMakesTheWholeDiskUsed)
{
    WriteFileText(m_dir.File("mounts"), "/dev/sdzq2 /media/my\\040stick vfat rw 0 0\n");
    const DeviceUse use = Use("/dev/sdzq");
    ASSERT_EQ(use.mounts.size(), 1u);
    EXPECT_EQ(use.mounts[0], "/dev/sdzq2 on /media/my stick");
    EXPECT_FALSE(use.holdsSystem);
    EXPECT_FALSE(Use("/dev/sdzr").InUse());  // another disk
}

TEST_F(DeviceUseFixture, SystemMountsSwapAndHoldersAreUse)
{
    WriteFileText(m_dir.File("mounts"), "/dev/sdzq1 / ext4 rw 0 0\n");
    EXPECT_TRUE(Use("/dev/sdzq").holdsSystem);

    WriteFileText(m_dir.File("mounts"), "");
    WriteFileText(m_dir.File("swaps"), "Filename Type Size Used Priority\n/dev/sdzq2 partition 100 0 -2\n");
    const DeviceUse swap = Use("/dev/sdzq");
    EXPECT_TRUE(swap.holdsSystem);
    EXPECT_EQ(swap.swaps, std::vector<std::string>{"/dev/sdzq2"});

    WriteFileText(m_dir.File("swaps"), "Filename Type Size Used Priority\n");
    std::filesystem::create_directories(m_dir.File("block/sdzq/sdzq1/holders/dm-7"));
    EXPECT_EQ(Use("/dev/sdzq").holders, std::vector<std::string>{"dm-7"});
}

}  // namespace
