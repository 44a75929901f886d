#include "platform/devices/MountRoots.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

TEST(MountRoots, TheDiscsMountPointComesFromTheMountTable)
{
    TempDir dir;
    WriteFileText(dir.File("mountinfo"),
                  "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
                  "40 22 11:0 /sub /media/part ro - udf /dev/sr0 ro\n"
                  "41 22 11:0 / /media/user/MY\\040DISC ro,nosuid shared:7 - iso9660 /dev/sr0 ro\n"
                  "42 22 11:1 / /media/other ro - iso9660 /dev/sr1 ro\n"
                  "broken line\n");
    const SystemMountRoots roots(dir.File("mountinfo"), "/dev");
    EXPECT_EQ(roots.MountRootOf("sr0"), "/media/user/MY DISC");
    EXPECT_EQ(roots.MountRootOf("sr1"), "/media/other");
    EXPECT_EQ(roots.MountRootOf("sr2"), std::nullopt);
    EXPECT_EQ(roots.MountRootOf("emu0"), std::nullopt);
    EXPECT_EQ(roots.MountRootOf("../sda1"), std::nullopt);
    EXPECT_EQ(SystemMountRoots(dir.File("none"), "/dev").MountRootOf("sr0"), std::nullopt);
}
