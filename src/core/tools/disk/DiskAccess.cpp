#include "core/tools/disk/DiskAccess.h"

#include "core/base/LogFile.h"
#include "core/drive/Device.h"
#include "platform/devices/BlockDevices.h"
#include "platform/devices/RootDisk.h"

#include <sys/statvfs.h>

DeviceUse DescribeDiskUse(const std::string& deviceNode)
{
    DeviceUse use = DescribeDeviceUse(deviceNode);
    if (!use.holdsSystem && HoldsFileSystemOf(deviceNode)) {
        use.holdsSystem = true;
        use.mounts.push_back("the root file system");
    }
    return use;
}

std::uint64_t FreeBytesOnDisk(const std::string& deviceNode)
{
    DeviceUseSources sources;
    sources.tryExclusiveOpen = false;
    std::uint64_t free = 0;
    for (const std::string& mount : DescribeDeviceUse(deviceNode, sources).mounts) {
        // "<source> on <mount point>": the source is a device node.
        const auto on = mount.find(" on ");
        struct statvfs info {};
        if (on != std::string::npos && ::statvfs(mount.substr(on + 4).c_str(), &info) == 0)
            free += static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
    }
    return free;
}

std::string DiskAccess::NodeOf(const CDevice& device) const
{
    return devRoot + "/" + device.m_strDriveText;
}

std::uint64_t DiskAccess::ListedBytes(const CDevice& device) const
{
    return DiskBytesFromSysfs(sysBlockRoot, device.m_strDriveText);
}

OpenedDisk OpenDisk(const DiskAccess& access, const std::string& deviceNode, BlockAccess mode)
{
    OpenedDisk disk;
    BlockOpenResult opened = access.open(deviceNode, mode);
    if (!opened.device) {
        disk.failure = opened.message.empty() ? DescribeOpenFailure(deviceNode, opened.error, mode) : opened.message;
        LogEntry(disk.failure);
        return disk;
    }
    disk.device = std::move(opened.device);
    disk.geometry = disk.device->Geometry();
    if (!disk.device->BypassesCache())
        LogEntry(deviceNode + " does not allow direct transfers: it is read through the page cache");
    return disk;
}
