#include "platform/sysinfo/InstalledHardware.h"

#include "platform/devices/BlockDevices.h"
#include "platform/files/AttributeFiles.h"
#include "platform/sysinfo/HardwareNames.h"
#include "platform/sysinfo/RootedPath.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> Entries(const std::string& folder)
{
    std::vector<fs::path> entries;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        entries.push_back(entry.path());
    std::sort(entries.begin(), entries.end(), [](const fs::path& a, const fs::path& b) {
        return NaturalNameLess(a.filename().string(), b.filename().string());
    });
    return entries;
}

std::string Joined(const std::string& first, const std::string& second)
{
    if (first.empty() || second.empty())
        return first + second;
    return first + " " + second;
}

// Blanks inside a text of fixed-width fields ("ATA     ") become one.
std::string OneBlankApart(const std::string& text)
{
    std::string result;
    for (const char c : text) {
        if (c != ' ' || (!result.empty() && result.back() != ' '))
            result.push_back(c);
    }
    while (!result.empty() && result.back() == ' ')
        result.pop_back();
    return result;
}

struct UsbDevice {
    HardwareId id;
    std::string strings;  // manufacturer and product as the device gives them
};

// " 0 [PCH            ]: HDA-Intel - HDA Intel PCH": the text after " - "
// of each card's first line.
std::vector<std::string> SoundCards(const std::string& path)
{
    std::vector<std::string> cards;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const auto bracket = line.find("]: ");
        const auto dash = line.find(" - ", bracket == std::string::npos ? 0 : bracket);
        if (bracket == std::string::npos || dash == std::string::npos)
            continue;
        const std::string name = OneBlankApart(line.substr(dash + 3));
        if (!name.empty())
            cards.push_back(name);
    }
    return cards;
}

}  // namespace

std::vector<std::string> ListInstalledHardware(const std::string& root)
{
    std::vector<HardwareId> pci;
    for (const fs::path& device : Entries(RootedPath(root, "sys/bus/pci/devices"))) {
        if (const auto id = HardwareIdAt(device); id && id->bus == HardwareBus::Pci)
            pci.push_back(*id);
    }
    std::vector<UsbDevice> usb;
    for (const fs::path& device : Entries(RootedPath(root, "sys/bus/usb/devices"))) {
        if (device.filename().string().find(':') != std::string::npos)
            continue;
        if (const auto id = HardwareIdAt(device); id && id->bus == HardwareBus::Usb) {
            const std::string at = device.string() + "/";
            usb.push_back(
                {*id, OneBlankApart(Joined(ReadAttribute(at + "manufacturer"), ReadAttribute(at + "product")))});
        }
    }
    std::vector<HardwareId> ids = pci;
    for (const UsbDevice& device : usb)
        ids.push_back(device.id);
    const HardwareNames names(root, ids);

    std::vector<std::string> lines;
    for (const HardwareId& id : pci)
        lines.push_back(names.Describe(id));
    for (const UsbDevice& device : usb)
        lines.push_back(names.KnowsDevice(device.id) || device.strings.empty() ? names.Describe(device.id)
                                                                               : device.strings);
    for (const fs::path& disk : Entries(RootedPath(root, "sys/block"))) {
        std::error_code error;
        if (!fs::exists(disk / "device", error))
            continue;
        const std::string at = (disk / "device").string() + "/";
        std::string model = ReadAttribute(at + "model");
        if (model.empty())
            model = ReadAttribute(at + "name");  // SD and MMC cards
        if (model.empty())
            continue;
        std::string vendor = ReadAttribute(at + "vendor");
        if (vendor.rfind("0x", 0) == 0)
            vendor.clear();  // a number (virtio), no name
        lines.push_back(OneBlankApart(Joined(vendor, model)));
    }
    for (const fs::path& input : Entries(RootedPath(root, "sys/class/input"))) {
        const std::string entry = input.filename().string();
        if (entry.rfind("input", 0) != 0)
            continue;
        if (const std::string name = OneBlankApart(ReadAttribute((input / "name").string())); !name.empty())
            lines.push_back(name);
    }
    for (const std::string& card : SoundCards(RootedPath(root, "proc/asound/cards")))
        lines.push_back(card);
    return lines;
}
