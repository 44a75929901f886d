#include "platform/devices/BlockDevices.h"

#include "platform/files/AttributeFiles.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

std::string ReadAttribute(const fs::path& file)
{
    return ::ReadAttribute(file.string());
}

std::uint64_t ReadNumber(const fs::path& file, std::uint64_t fallback)
{
    return ReadAttributeNumber(file.string()).value_or(fallback);
}

std::vector<std::string> EntryNames(const std::string& sysBlockRoot)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(sysBlockRoot, error))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end(), NaturalNameLess);
    return names;
}

bool IsWholeDiskName(const std::string& name)
{
    static const char* const kDiskPrefixes[] = {"sd", "hd", "vd", "xvd", "nvme", "mmcblk"};
    if (name.find("boot") != std::string::npos || name.find("rpmb") != std::string::npos)
        return false;
    return std::any_of(std::begin(kDiskPrefixes), std::end(kDiskPrefixes),
                       [&](const char* prefix) { return StartsWith(name, prefix); });
}

}  // namespace

bool NaturalNameLess(const std::string& a, const std::string& b)
{
    const auto split = [](const std::string& name) {
        std::size_t digits = name.size();
        while (digits > 0 && std::isdigit(static_cast<unsigned char>(name[digits - 1])))
            --digits;
        return std::make_pair(name.substr(0, digits), name.substr(digits));
    };
    const auto [stemA, numberA] = split(a);
    const auto [stemB, numberB] = split(b);
    if (stemA != stemB)
        return a < b;
    if (numberA.size() != numberB.size())
        return numberA.size() < numberB.size();
    return numberA < numberB;
}

namespace {

// The ata port folder ("ata2") a device path runs through, as a path under
// the fixture or /sys; empty when there is none.
fs::path AtaPortOf(const fs::path& device)
{
    fs::path port;
    for (const fs::path& part : device) {
        port /= part;
        const std::string name = part.string();
        if (name.size() > 3 && StartsWith(name, "ata") && std::all_of(name.begin() + 3, name.end(), [](char c) {
                return std::isdigit(static_cast<unsigned char>(c));
            }))
            return port;
    }
    return {};
}

// Whether the port's link runs at a SATA speed: its ata_link says "1.5 Gbps",
// "3.0 Gbps" ...; a parallel ATA link says "<unknown>".
bool SataLink(const fs::path& port)
{
    std::error_code error;
    for (const auto& link : fs::directory_iterator(port, error)) {
        const std::string name = link.path().filename().string();
        if (!StartsWith(name, "link"))
            continue;
        const std::string speed = ReadAttribute(link.path() / "ata_link" / name / "sata_spd");
        if (speed.size() > 4 && speed.compare(speed.size() - 4, 4, "Gbps") == 0)
            return true;
    }
    return false;
}

}  // namespace

int BusTypeFromSysfs(const std::string& sysBlockRoot, const std::string& name, bool optical)
{
    const fs::path entry = fs::path(sysBlockRoot) / name;
    std::error_code error;
    if (!fs::exists(fs::symlink_status(entry, error)))
        return -1;
    fs::path device = entry;
    if (fs::is_symlink(fs::symlink_status(entry, error))) {
        const fs::path target = fs::read_symlink(entry, error);
        device = target.is_absolute() ? target : fs::path(sysBlockRoot) / target;
    }
    if (error)
        return -1;
    const std::string path = device.lexically_normal().generic_string();
    const auto has = [&](const char* part) { return path.find(part) != std::string::npos; };
    if (has("/usb"))
        return kBusUsb;
    if (has("/nvme"))
        return kBusNvme;
    if (has("/mmc"))
        return kBusSd;
    if (has("/virtio"))  // virtio-scsi gives a SCSI host, virtio-blk a disk of its own
        return has("/host") ? kBusScsi : kBusVirtual;
    if (const fs::path port = AtaPortOf(device.lexically_normal()); !port.empty()) {
        if (SataLink(port))
            return kBusSata;
        return optical ? kBusAtapi : kBusAta;
    }
    if (has("/end_device-") || has("/sas"))
        return kBusSas;
    if (has("/rport-"))
        return kBusFibre;
    if (has("/session"))
        return kBusIscsi;
    if (has("/host"))
        return kBusScsi;
    if (has("/devices/virtual/"))
        return kBusFileBackedVirtual;
    return kBusUnknown;
}

std::vector<std::string> ListOpticalDrives(const std::string& sysBlockRoot)
{
    std::vector<std::string> drives;
    for (const std::string& name : EntryNames(sysBlockRoot)) {
        if (name.size() > 2 && StartsWith(name, "sr") && std::all_of(name.begin() + 2, name.end(), [](char c) {
                return std::isdigit(static_cast<unsigned char>(c));
            }))
            drives.push_back(name);
    }
    return drives;
}

std::vector<BlockDeviceInfo> ListDisks(const std::string& sysBlockRoot)
{
    std::vector<BlockDeviceInfo> disks;
    for (const std::string& name : EntryNames(sysBlockRoot)) {
        if (!IsWholeDiskName(name))
            continue;
        const fs::path entry = fs::path(sysBlockRoot) / name;
        BlockDeviceInfo disk;
        disk.name = name;
        disk.sectors = ReadNumber(entry / "size", 0);
        if (disk.sectors == 0)
            continue;
        disk.removable = ReadNumber(entry / "removable", 0) == 1;
        disk.peripheralType = static_cast<int>(ReadNumber(entry / "device" / "type", 0));
        disk.vendor = ReadAttribute(entry / "device" / "vendor");
        disk.model = ReadAttribute(entry / "device" / "model");
        if (disk.model.empty())
            disk.model = ReadAttribute(entry / "device" / "name");  // SD and MMC cards
        disk.revision = ReadAttribute(entry / "device" / "rev");
        if (disk.revision.empty())
            disk.revision = ReadAttribute(entry / "device" / "firmware_rev");  // NVMe
        disk.busType = BusTypeFromSysfs(sysBlockRoot, name, false);
        disks.push_back(disk);
    }
    return disks;
}

std::uint64_t DiskBytesFromSysfs(const std::string& sysBlockRoot, const std::string& name)
{
    if (name.empty())
        return 0;
    return ReadNumber(fs::path(sysBlockRoot) / name / "size", 0) * 512;  // sysfs counts 512-byte sectors
}
