#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Storage bus types as the drive records keep them.
enum StorageBusType : int {
    kBusUnknown = 0,
    kBusScsi = 1,
    kBusAtapi = 2,
    kBusAta = 3,
    kBus1394 = 4,
    kBusSsa = 5,
    kBusFibre = 6,
    kBusUsb = 7,
    kBusRaid = 8,
    kBusIscsi = 9,
    kBusSas = 10,
    kBusSata = 11,
    kBusSd = 12,
    kBusMmc = 13,
    kBusVirtual = 14,
    kBusFileBackedVirtual = 15,
    kBusSpaces = 16,
    kBusNvme = 17,
};

// The bus of /sys/block/<name> (sysBlockRoot stands for /sys/block so tests
// use fixture trees), read from the device path the entry links to; -1 when
// there is no such entry. A device behind an ata port is on SATA when the
// port's link reports a SATA speed, else on parallel ATA (ATAPI for optical
// drives); a virtio device with a SCSI host is on SCSI.
int BusTypeFromSysfs(const std::string& sysBlockRoot, const std::string& name, bool optical);

// The optical drives: sr0, sr1 ... in number order.
std::vector<std::string> ListOpticalDrives(const std::string& sysBlockRoot);

// A hard disk or flash drive as sysfs describes it.
struct BlockDeviceInfo {
    std::string name;  // "sda", "nvme0n1"
    std::string vendor;
    std::string model;
    std::string revision;
    int peripheralType = 0;  // SCSI device type; 0 where the bus has none
    bool removable = false;
    std::uint64_t sectors = 0;  // of 512 bytes
    int busType = -1;
};

// Whole disks with a medium (size above 0), in name order; partitions,
// loop, RAM and mapper devices and optical drives are left out.
std::vector<BlockDeviceInfo> ListDisks(const std::string& sysBlockRoot);

// The bytes of /sys/block/<name>, read without opening the device; 0 when
// there is no such entry.
std::uint64_t DiskBytesFromSysfs(const std::string& sysBlockRoot, const std::string& name);

// Orders "sd2" before "sd10".
bool NaturalNameLess(const std::string& a, const std::string& b);
