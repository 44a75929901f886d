#pragma once

#include <compare>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// A PCI or USB device by its vendor and device numbers.
enum class HardwareBus { Pci, Usb };
struct HardwareId {
    HardwareBus bus = HardwareBus::Pci;
    std::uint16_t vendor = 0;
    std::uint16_t device = 0;
    auto operator<=>(const HardwareId&) const = default;
};

// The id of the sysfs device folder `folder` (PCI: vendor, device and class
// files; USB: idVendor and idProduct), or of the nearest folder above it
// that has one, up to sys/devices; nullopt when there is none.
std::optional<HardwareId> HardwareIdAt(const std::filesystem::path& folder);
std::optional<HardwareId> NearestHardwareId(const std::filesystem::path& folder);

// Vendor and device names from the pci.ids and usb.ids lists installed
// under `root` (usr/share/misc, usr/share/hwdata, var/lib/usbutils). Only
// the names of the ids asked for are kept; each list is read once.
class HardwareNames {
public:
    HardwareNames(const std::string& root, const std::vector<HardwareId>& ids);

    bool KnowsDevice(const HardwareId& id) const { return m_devices.count(id) != 0; }
    // "Intel Corporation 82540EM Gigabit Ethernet Controller"; the numbers
    // stand for what has no name: "Intel Corporation Device 10d3",
    // "Device 8086:10d3".
    std::string Describe(const HardwareId& id) const;

private:
    void ReadList(const std::string& path, HardwareBus bus, const std::vector<HardwareId>& ids);

    std::map<std::pair<HardwareBus, std::uint16_t>, std::string> m_vendors;
    std::map<HardwareId, std::string> m_devices;
};

// The first of the names' lists ("pci.ids") found under root; empty when none.
std::string FindIdsList(const std::string& root, const std::string& name);
