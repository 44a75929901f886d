#include "platform/blockio/BlockDevice.h"
#include "platform/blockio/DiskIdentity.h"
#include "platform/devices/RootDisk.h"
#include "support/LoopDevice.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Bytes that differ from sector to sector and inside each.
std::string Pattern(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i >> 9) * 13 + i * 7 + 3);
    return bytes;
}

std::string ReadBack(BlockDevice& device, std::uint64_t offset, std::size_t length)
{
    std::string bytes(length, '\0');
    const BlockIo io = device.ReadAt(offset, bytes.data(), length);
    EXPECT_TRUE(io.Ok()) << std::strerror(io.error);
    bytes.resize(io.bytes);
    return bytes;
}

// Reads, writes and sizes on an opened file or device holding `content`.
void CheckReadsAndWrites(BlockDevice& device, const std::string& content, const std::string& backing)
{
    ASSERT_EQ(device.Geometry().sizeBytes, content.size());
    EXPECT_EQ(device.SizeNow(), content.size());
    // Aligned reads go straight to the device; the last one stops at the end.
    AlignedBuffer buffer(1 << 20);
    ASSERT_TRUE(buffer);
    const BlockIo whole = device.ReadAt(0, buffer.Data(), buffer.Size());
    ASSERT_TRUE(whole.Ok());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(buffer.Data()), whole.bytes),
              content.substr(0, std::min<std::size_t>(content.size(), buffer.Size())));
    const std::uint64_t lastUnit = (content.size() - 1) / 4096 * 4096;
    const BlockIo tail = device.ReadAt(lastUnit, buffer.Data(), 8192);
    ASSERT_TRUE(tail.Ok());
    EXPECT_EQ(tail.bytes, content.size() - lastUnit);
    EXPECT_EQ(device.ReadAt(content.size(), buffer.Data(), 4096).bytes, 0u);
    // Anywhere else through a bounce buffer.
    EXPECT_EQ(ReadBack(device, 100, 1000), content.substr(100, 1000));
    EXPECT_EQ(ReadBack(device, 513, 70000), content.substr(513, 70000));

    // A write changes exactly its bytes, and never grows the device.
    const std::string edit = "changed bytes";
    const BlockIo written = device.WriteAt(1030, edit.data(), edit.size());
    ASSERT_TRUE(written.Ok()) << std::strerror(written.error);
    EXPECT_EQ(written.bytes, edit.size());
    EXPECT_EQ(device.Flush(), 0);
    EXPECT_EQ(ReadBack(device, 1024, 32), content.substr(1024, 6) + edit + content.substr(1043, 13));
    EXPECT_EQ(device.WriteAt(content.size() - 4, edit.data(), edit.size()).error, ENOSPC);
    std::string expected = content;
    expected.replace(1030, edit.size(), edit);
    EXPECT_EQ(ReadFileText(backing), expected);
}

}  // namespace

TEST(BlockDevice, AFileReadsAndWritesByAnyOffsetAndEndsAtItsSize)
{
    TempDir dir;
    const std::string path = dir.File("disk.img");
    const std::string content = Pattern((3 << 20) + 300);  // not a whole number of sectors
    WriteFileText(path, content);
    BlockOpenResult opened = OpenBlockDevice(path, BlockAccess::ReadWrite);
    ASSERT_TRUE(opened.device) << opened.message;
    EXPECT_EQ(opened.device->Geometry().logicalSectorSize, 512u);
    if (!opened.device->BypassesCache())
        std::printf("note: the file system of %s refuses direct transfers\n", dir.Path().c_str());
    CheckReadsAndWrites(*opened.device, content, path);
    // The size it reports now follows the file; the geometry keeps the open's.
    fs::resize_file(path, 4096);
    EXPECT_EQ(opened.device->SizeNow(), 4096u);
    EXPECT_EQ(opened.device->Geometry().sizeBytes, content.size());
}

TEST(BlockDevice, AFileOpenedForReadingRefusesWrites)
{
    TempDir dir;
    WriteFileText(dir.File("disk.img"), Pattern(8192));
    BlockOpenResult opened = OpenBlockDevice(dir.File("disk.img"), BlockAccess::Read);
    ASSERT_TRUE(opened.device);
    AlignedBuffer buffer(4096);
    EXPECT_FALSE(opened.device->WriteAt(0, buffer.Data(), 4096).Ok());
    EXPECT_EQ(ReadFileText(dir.File("disk.img")), Pattern(8192));
}

TEST(BlockDevice, AFailedOpenNamesTheDeviceAndTheReason)
{
    TempDir dir;
    const BlockOpenResult missing = OpenBlockDevice(dir.File("sdz"), BlockAccess::Read);
    EXPECT_FALSE(missing.device);
    EXPECT_EQ(missing.error, ENOENT);
    EXPECT_NE(missing.message.find(dir.File("sdz")), std::string::npos) << missing.message;

    const BlockOpenResult character = OpenBlockDevice("/dev/null", BlockAccess::Read);
    EXPECT_FALSE(character.device);
    EXPECT_NE(character.message.find("neither a disk nor a file"), std::string::npos) << character.message;

    for (BlockAccess access : {BlockAccess::Read, BlockAccess::ReadWrite}) {
        // The node's permissions: who may open it.
        const std::string text = DescribeOpenFailure("/dev/sdb", EACCES, access);
        EXPECT_NE(text.find("/dev/sdb"), std::string::npos) << text;
        EXPECT_NE(text.find("group \"disk\""), std::string::npos) << text;
        EXPECT_NE(text.find("root"), std::string::npos) << text;
        EXPECT_EQ(text.find("Fatal"), std::string::npos) << text;
        // The system's own refusal, root's too: its reason and no advice about groups.
        const std::string refused = DescribeOpenFailure("/dev/sdb", EPERM, access);
        EXPECT_NE(refused.find("/dev/sdb"), std::string::npos) << refused;
        EXPECT_NE(refused.find("Operation not permitted"), std::string::npos) << refused;
        EXPECT_EQ(refused.find("group"), std::string::npos) << refused;
        EXPECT_EQ(refused.find("running as root"), std::string::npos) << refused;
    }
    EXPECT_NE(DescribeOpenFailure("/dev/sdb", EBUSY, BlockAccess::ReadWrite).find("mounted"), std::string::npos);
}

TEST(BlockDevice, MediaErrorsAreTheUnreadableSectorsOnes)
{
    for (int error : {EIO, EILSEQ, ENODATA, EBADMSG, EREMOTEIO})
        EXPECT_TRUE(IsMediaError(error)) << error;
    for (int error : {0, ENODEV, ENXIO, EBADF, EINVAL, ENOMEM})
        EXPECT_FALSE(IsMediaError(error)) << error;
}

TEST(BlockDevice, ALoopDeviceHasItsKernelSizesAndBypassesTheCache)
{
    for (unsigned sectorSize : {512u, 4096u}) {
        SCOPED_TRACE(sectorSize);
        TempDir dir;
        const std::string path = dir.File("loop.img");
        const std::string content = Pattern(4 << 20);
        WriteFileText(path, content);
        std::string whyNot;
        std::optional<LoopDevice> loop = LoopDevice::Attach(path, whyNot, sectorSize);
        if (!loop)
            GTEST_SKIP() << whyNot;
        {
            BlockOpenResult opened = OpenBlockDevice(loop->Node(), BlockAccess::ReadWrite);
            ASSERT_TRUE(opened.device) << opened.message;
            const BlockGeometry geometry = opened.device->Geometry();
            EXPECT_EQ(geometry.logicalSectorSize, sectorSize);
            EXPECT_GE(geometry.physicalSectorSize, sectorSize);
            EXPECT_TRUE(opened.device->BypassesCache());
            CheckReadsAndWrites(*opened.device, content, path);
            // Opened for writing it is held exclusively.
            EXPECT_EQ(OpenBlockDevice(loop->Node(), BlockAccess::ReadWrite).error, EBUSY);
        }
        EXPECT_FALSE(HoldsFileSystemOf(loop->Node()));
    }
}

TEST(BlockDevice, AWriteProtectedLoopDeviceIsNotOpenedForWriting)
{
    TempDir dir;
    WriteFileText(dir.File("loop.img"), Pattern(1 << 20));
    std::string whyNot;
    std::optional<LoopDevice> loop = LoopDevice::Attach(dir.File("loop.img"), whyNot);
    if (!loop)
        GTEST_SKIP() << whyNot;
    ASSERT_TRUE(loop->SetReadOnly(true));
    const BlockOpenResult opened = OpenBlockDevice(loop->Node(), BlockAccess::ReadWrite);
    EXPECT_FALSE(opened.device);
    EXPECT_EQ(opened.error, EROFS);
    EXPECT_NE(opened.message.find("write-protected"), std::string::npos) << opened.message;
    EXPECT_TRUE(OpenBlockDevice(loop->Node(), BlockAccess::Read).device);
}

TEST(DiskIdentity, TheSequenceNumberTellsDisksApartElseModelSerialAndSize)
{
    DiskIdentity stick;
    stick.device = makedev(8, 16);
    stick.sequence = 12;
    stick.model = "SanDisk Cruzer";
    stick.serial = "4C53";
    stick.sizeBytes = 8 << 20;
    struct Case {
        const char* name;
        std::function<void(DiskIdentity&)> change;
        bool same;
    };
    const Case cases[] = {
        {"itself", [](DiskIdentity&) {}, true},
        {"attached again", [](DiskIdentity& d) { d.sequence = 13; }, false},
        {"at another node", [](DiskIdentity& d) { d.device = makedev(8, 32); }, false},
        {"the same sequence, its size changed", [](DiskIdentity& d) { d.sizeBytes *= 2; }, true},
        {"no sequence, the same", [](DiskIdentity& d) { d.sequence.reset(); }, true},
        {"no sequence, another size",
         [](DiskIdentity& d) {
             d.sequence.reset();
             d.sizeBytes *= 2;
         },
         false},
        {"no sequence, another serial",
         [](DiskIdentity& d) {
             d.sequence.reset();
             d.serial = "4C54";
         },
         false},
        {"no sequence, another model",
         [](DiskIdentity& d) {
             d.sequence.reset();
             d.model = "Kingston";
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DiskIdentity other = stick;
        c.change(other);
        if (!other.sequence)
            stick.sequence.reset();
        EXPECT_EQ(SameDisk(stick, other), c.same);
        EXPECT_EQ(SameDisk(other, stick), c.same);
        stick.sequence = 12;
    }
    DiskIdentity file;
    file.regularFile = true;
    file.inode = 77;
    file.sizeBytes = stick.sizeBytes;
    file.device = stick.device;
    EXPECT_FALSE(SameDisk(stick, file));
    DiskIdentity replaced = file;
    replaced.inode = 78;
    EXPECT_FALSE(SameDisk(file, replaced));
}

TEST(DiskIdentity, IsReadFromTheSysfsOfTheDeviceNumber)
{
    TempDir root;
    const fs::path disk = root.File("sys/devices/pci0000:00/usb2/2-1/host6/target6:0:0/6:0:0:0/block/sdb");
    fs::create_directories(disk / "device");
    fs::create_directories(disk / "sdb1");
    WriteFileText((disk / "sdb1/partition").string(), "1\n");
    WriteFileText((disk / "diskseq").string(), "12\n");
    WriteFileText((disk / "device/vendor").string(), "SanDisk \n");
    WriteFileText((disk / "device/model").string(), "Cruzer Blade    \n");
    WriteFileText((disk / "device/wwid").string(), "t10.SanDisk 4C53\n");
    fs::create_directories(root.File("sys/dev/block"));
    fs::create_directory_symlink(disk, root.File("sys/dev/block/8:16"));
    fs::create_directory_symlink(disk / "sdb1", root.File("sys/dev/block/8:17"));

    for (unsigned minor : {16u, 17u}) {
        SCOPED_TRACE(minor);
        struct stat info {};
        info.st_mode = S_IFBLK | 0660;
        info.st_rdev = makedev(8, minor);
        const DiskIdentity identity = DiskIdentityOf(info, 8 << 20, root.File("sys"));
        EXPECT_EQ(identity.device, makedev(8, minor));
        EXPECT_EQ(identity.sequence, std::optional<std::uint64_t>(12));
        EXPECT_EQ(identity.model, "SanDisk Cruzer Blade");
        EXPECT_EQ(identity.serial, "t10.SanDisk 4C53");
        EXPECT_EQ(identity.sizeBytes, 8u << 20);
        EXPECT_FALSE(identity.regularFile);
    }
    // A device /sys does not know: its number and size.
    struct stat info {};
    info.st_mode = S_IFBLK | 0660;
    info.st_rdev = makedev(8, 32);
    const DiskIdentity unknown = DiskIdentityOf(info, 1024, root.File("sys"));
    EXPECT_FALSE(unknown.sequence.has_value());
    EXPECT_TRUE(unknown.model.empty());
    EXPECT_EQ(unknown.sizeBytes, 1024u);
}

TEST(DiskIdentity, ALoopDeviceAttachedAgainIsAnotherDisk)
{
    TempDir dir;
    WriteFileText(dir.File("first.img"), Pattern(1 << 20));
    WriteFileText(dir.File("second.img"), Pattern(1 << 20));
    std::string whyNot;
    std::optional<LoopDevice> loop = LoopDevice::Attach(dir.File("first.img"), whyNot);
    if (!loop)
        GTEST_SKIP() << whyNot;
    const auto identity = [&] {
        const BlockOpenResult opened = OpenBlockDevice(loop->Node(), BlockAccess::Read);
        EXPECT_TRUE(opened.device) << opened.message;
        return opened.device ? opened.device->Identity() : DiskIdentity();
    };
    const DiskIdentity first = identity();
    EXPECT_EQ(first.serial, dir.File("first.img"));  // the backing file
    EXPECT_TRUE(SameDisk(first, identity()));
    if (!loop->Reattach(dir.File("second.img"), whyNot))
        GTEST_SKIP() << whyNot;
    const DiskIdentity second = identity();
    EXPECT_EQ(second.device, first.device);
    EXPECT_FALSE(SameDisk(first, second));
    // The same file attached once more is not the disk it was either.
    if (!loop->Reattach(dir.File("first.img"), whyNot))
        GTEST_SKIP() << whyNot;
    if (first.sequence) {
        EXPECT_FALSE(SameDisk(first, identity()));
    }
}

TEST(RootDisk, TheDiskUnderAFileSystemIsFoundThroughPartitionsAndMappers)
{
    TempDir root;
    const fs::path sys = root.File("sys");
    const auto addBlock = [&](const std::string& folder) {
        fs::create_directories(sys / "devices" / folder);
        return sys / "devices" / folder;
    };
    const fs::path sda = addBlock("pci0000:00/0000:00:1f.2/ata1/host0/target0:0:0/0:0:0:0/block/sda");
    const fs::path sda2 = addBlock("pci0000:00/0000:00:1f.2/ata1/host0/target0:0:0/0:0:0:0/block/sda/sda2");
    WriteFileText((sda2 / "partition").string(), "2\n");
    const fs::path nvme = addBlock("pci0000:00/0000:00:1d.0/nvme/nvme0/nvme0n1");
    const fs::path nvmePart = addBlock("pci0000:00/0000:00:1d.0/nvme/nvme0/nvme0n1/nvme0n1p3");
    WriteFileText((nvmePart / "partition").string(), "3\n");
    const fs::path dm = addBlock("virtual/block/dm-0");
    fs::create_directories(dm / "slaves");
    fs::create_directory_symlink(nvmePart, dm / "slaves" / "nvme0n1p3");
    const fs::path devBlock = sys / "dev" / "block";
    fs::create_directories(devBlock);
    fs::create_directory_symlink(sda, devBlock / "8:0");
    fs::create_directory_symlink(sda2, devBlock / "8:2");
    fs::create_directory_symlink(nvme, devBlock / "259:0");
    fs::create_directory_symlink(dm, devBlock / "253:0");

    using Disks = std::vector<std::string>;
    EXPECT_EQ(DisksUnderDevice(makedev(8, 0), devBlock.string()), Disks{"sda"});
    EXPECT_EQ(DisksUnderDevice(makedev(8, 2), devBlock.string()), Disks{"sda"});
    EXPECT_EQ(DisksUnderDevice(makedev(259, 0), devBlock.string()), Disks{"nvme0n1"});
    EXPECT_EQ(DisksUnderDevice(makedev(253, 0), devBlock.string()), Disks{"nvme0n1"});
    EXPECT_EQ(DisksUnderDevice(makedev(0, 45), devBlock.string()), Disks{});

    EXPECT_FALSE(HoldsFileSystemOf("/dev/null"));
    // The machine's own root file system lies on the disk of its device
    // (looked at, never opened).
    struct stat info {};
    ASSERT_EQ(::stat("/", &info), 0);
    const Disks disks = DisksUnderDevice(info.st_dev);
    if (disks.empty() || !fs::exists("/dev/" + disks.front()))
        GTEST_SKIP() << "the root file system has no disk node here";
    EXPECT_TRUE(HoldsFileSystemOf("/dev/" + disks.front()));
}
