#include "platform/sysinfo/HardwareNames.h"

#include "platform/files/AttributeFiles.h"
#include "platform/sysinfo/RootedPath.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool FourHexDigits(const std::string& line, std::size_t at, std::uint16_t& value)
{
    if (line.size() < at + 6 || line.compare(at + 4, 2, "  ") != 0)
        return false;
    unsigned number = 0;
    for (std::size_t i = at; i < at + 4; ++i) {
        const char c = line[i];
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
        number = number * 16
            + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (c | 0x20) - 'a' + 10);
    }
    value = static_cast<std::uint16_t>(number);
    return true;
}

std::string Hex4(std::uint16_t value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04x", value);
    return text;
}

}  // namespace

std::optional<HardwareId> HardwareIdAt(const fs::path& folder)
{
    const std::string at = folder.string() + "/";
    if (const auto vendor = ReadAttributeHex(at + "idVendor"), product = ReadAttributeHex(at + "idProduct");
        vendor && product && *vendor <= 0xFFFF && *product <= 0xFFFF)
        return HardwareId{HardwareBus::Usb, static_cast<std::uint16_t>(*vendor), static_cast<std::uint16_t>(*product)};
    if (const auto vendor = ReadAttributeHex(at + "vendor"), device = ReadAttributeHex(at + "device");
        vendor && device && *vendor <= 0xFFFF && *device <= 0xFFFF && ReadAttributeHex(at + "class"))
        return HardwareId{HardwareBus::Pci, static_cast<std::uint16_t>(*vendor), static_cast<std::uint16_t>(*device)};
    return std::nullopt;
}

std::optional<HardwareId> NearestHardwareId(const fs::path& folder)
{
    std::error_code error;
    fs::path at = fs::weakly_canonical(folder, error);
    if (error)
        return std::nullopt;
    for (; at.has_relative_path() && at.filename() != "devices"; at = at.parent_path()) {
        if (const auto id = HardwareIdAt(at))
            return id;
    }
    return std::nullopt;
}

std::string FindIdsList(const std::string& root, const std::string& name)
{
    for (const char* folder : {"usr/share/misc/", "usr/share/hwdata/", "var/lib/usbutils/", "usr/share/"}) {
        const std::string path = RootedPath(root, folder + name);
        std::error_code error;
        if (fs::is_regular_file(path, error))
            return path;
    }
    return std::string();
}

HardwareNames::HardwareNames(const std::string& root, const std::vector<HardwareId>& ids)
{
    for (const auto& [bus, name] : {std::pair{HardwareBus::Pci, "pci.ids"}, std::pair{HardwareBus::Usb, "usb.ids"}}) {
        if (std::any_of(ids.begin(), ids.end(), [bus = bus](const HardwareId& id) { return id.bus == bus; }))
            ReadList(FindIdsList(root, name), bus, ids);
    }
}

void HardwareNames::ReadList(const std::string& path, HardwareBus bus, const std::vector<HardwareId>& ids)
{
    // "vvvv  Vendor" at the line's start, "\tdddd  Device" under it; deeper
    // lines and the sections after the vendors ("C 02  Network ...") are
    // not names of devices.
    if (path.empty())
        return;
    std::ifstream in(path);
    std::string line;
    std::uint16_t vendor = 0;
    bool wanted = false;  // a vendor line was the last one and its vendor is asked for
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::uint16_t number = 0;
        if (line[0] != '\t') {
            wanted = false;
            if (!FourHexDigits(line, 0, number))
                continue;
            vendor = number;
            wanted = std::any_of(ids.begin(), ids.end(),
                                 [&](const HardwareId& id) { return id.bus == bus && id.vendor == number; });
            if (wanted)
                m_vendors[{bus, number}] = line.substr(6);
        } else if (wanted && line.size() > 1 && line[1] != '\t' && FourHexDigits(line, 1, number)) {
            const HardwareId id{bus, vendor, number};
            if (std::find(ids.begin(), ids.end(), id) != ids.end())
                m_devices[id] = line.substr(7);
        }
    }
}

std::string HardwareNames::Describe(const HardwareId& id) const
{
    const auto vendor = m_vendors.find({id.bus, id.vendor});
    const auto device = m_devices.find(id);
    if (vendor == m_vendors.end())
        return "Device " + Hex4(id.vendor) + ":" + Hex4(id.device);
    return vendor->second + " " + (device == m_devices.end() ? "Device " + Hex4(id.device) : device->second);
}
