#include "platform/devices/DiskKind.h"
#include "platform/devices/Mounts.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/sysmacros.h>

namespace fs = std::filesystem;

TEST(DiskKind, ADiskAndItsPartitionsTellWhetherItSpins)
{
    TempDir sys;
    fs::create_directories(sys.File("8:0/queue"));
    WriteFileText(sys.File("8:0/queue/rotational"), "1\n");
    fs::create_directories(sys.File("8:0/sda1"));
    fs::create_directory_symlink("8:0/sda1", sys.File("8:1"));  // as sysfs links a partition into its disk
    fs::create_directories(sys.File("259:0/queue"));
    WriteFileText(sys.File("259:0/queue/rotational"), "0\n");
    fs::create_directories(sys.File("0:45"));  // a file system without a disk

    EXPECT_EQ(IsRotationalDisk(makedev(8, 0), sys.Path()), true);
    EXPECT_EQ(IsRotationalDisk(makedev(8, 1), sys.Path()), true);
    EXPECT_EQ(IsRotationalDisk(makedev(259, 0), sys.Path()), false);
    EXPECT_EQ(IsRotationalDisk(makedev(0, 45), sys.Path()), std::nullopt);
    EXPECT_EQ(IsRotationalDisk(makedev(9, 9), sys.Path()), std::nullopt);
}

TEST(Mounts, ADiscIsFoundWhereItIsMountedAndItsFilesInEitherCase)
{
    TempDir root;
    fs::create_directories(root.File("dev"));
    WriteFileText(root.File("dev/sr0"), "");
    fs::create_symlink("sr0", root.File("dev/cdrom"));
    const std::string mountPoint = root.File("media/cd rom");
    fs::create_directories(mountPoint + "/video_ts");
    WriteFileText(mountPoint + "/video_ts/VIDEO_TS.IFO", "");
    fs::create_directories(mountPoint + "/other/VIDEO_TS.IFO");
    const std::string mounts = root.File("mounts");
    WriteFileText(mounts,
                  "proc /proc proc rw 0 0\n" + root.File("dev/cdrom") + " " + root.Path()
                      + "/media/cd\\040rom iso9660 ro 0 0\n");

    EXPECT_EQ(MountPointOf(root.File("dev/sr0"), mounts), mountPoint);
    EXPECT_EQ(MountPointOf(root.File("dev/missing"), mounts), "");
    EXPECT_TRUE(HasFileIgnoringCase(mountPoint, {"VIDEO_TS", "video_ts.ifo"}));
    EXPECT_FALSE(HasFileIgnoringCase(mountPoint, {"other", "VIDEO_TS.IFO"}));  // a folder of that name
    EXPECT_FALSE(HasFileIgnoringCase(mountPoint, {"VIDEO_TS", "VTS_01_0.IFO"}));
}
