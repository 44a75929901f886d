#pragma once

#include "core/base/ConfirmationGate.h"
#include "core/base/WaitClock.h"
#include "platform/blockio/BlockDevice.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CDevice;

// What a device is in use for, as the disk tools' writes are gated: the
// machine's mounts, swaps and holders, and the disk under the root file
// system however it is mounted.
DeviceUse DescribeDiskUse(const std::string& deviceNode);

// Bytes free to the user on the file systems mounted from the device or its
// partitions; 0 when none is mounted.
std::uint64_t FreeBytesOnDisk(const std::string& deviceNode);

// How the disk tools reach the disks: where the device nodes are, how they
// are opened, what uses them and what is free on them, and where the system
// lists them. Tests put files and fakes in their place.
struct DiskAccess {
    std::string devRoot = "/dev";
    std::string sysBlockRoot = "/sys/block";
    BlockDeviceOpener open = OpenBlockDevice;
    DeviceUseProbe use = DescribeDiskUse;
    std::function<std::uint64_t(const std::string& deviceNode)> freeBytes = FreeBytesOnDisk;

    // "/dev/sdb" for the record of "sdb".
    std::string NodeOf(const CDevice& device) const;
    // The size the system lists for the record's disk, without opening it.
    std::uint64_t ListedBytes(const CDevice& device) const;
};

// What the disk tools' windows are given by the main window: its disk records
// (owned by its disk list; the tools never delete them), the access and the
// clock the tests time their rate on.
struct DiskToolHost {
    std::vector<CDevice*> drives;
    DiskAccess access;
    std::shared_ptr<WaitClock> clock = SystemWaitClock();
};

// A device opened for one piece of work, with what it reported.
struct OpenedDisk {
    std::unique_ptr<BlockDevice> device;
    BlockGeometry geometry;  // all 0 when it could not be opened
    std::string failure;  // the message when it could not be opened
};
OpenedDisk OpenDisk(const DiskAccess& access, const std::string& deviceNode, BlockAccess mode);
