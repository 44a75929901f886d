#pragma once

#include "core/drive/DriveList.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <string>
#include <vector>

// A machine's drives as the drive lists find them: block devices under a
// fixture tree, and emulated drives.
inline constexpr const char* kAtaPort = "pci0000:00/0000:00:1f.2/ata1/host0/target0:0:0/0:0:0:0";
inline constexpr const char* kUsbPort = "pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0";
inline constexpr const char* kNvmePort = "pci0000:00/0000:00:1d.0/0000:3d:00.0/nvme/nvme0";

// A /sys/block and /dev pair in a temporary folder, shaped as the kernel
// shapes them: each block entry links to its device under ../devices.
class FixtureTree {
public:
    FixtureTree()
    {
        std::filesystem::create_directories(SysBlock());
        std::filesystem::create_directories(Dev());
    }
    std::string SysBlock() const { return m_dir.File("sys/block"); }
    std::string Dev() const { return m_dir.File("dev"); }

    // An ata port of the fixtures is an AHCI port: its link runs at a SATA speed.
    std::filesystem::path AddEntry(const std::string& name, const std::string& port)
    {
        const std::string target = "../devices/" + port + "/block/" + name;
        std::filesystem::create_directories(std::filesystem::path(SysBlock()) / target);
        std::filesystem::create_symlink(target, std::filesystem::path(SysBlock()) / name);
        if (const std::size_t ata = port.find("/ata"); ata != std::string::npos) {
            const std::size_t end = port.find('/', ata + 1);
            const std::string number = port.substr(ata + 4, end - ata - 4);
            const std::filesystem::path link = std::filesystem::path(SysBlock()) / "../devices" / port.substr(0, end)
                / ("link" + number) / "ata_link" / ("link" + number);
            std::filesystem::create_directories(link);
            WriteFileText((link / "sata_spd").string(), "6.0 Gbps\n");
        }
        return std::filesystem::path(SysBlock()) / target;
    }
    void AddDisk(const std::string& name, const std::string& port, const std::string& vendor, const std::string& model,
                 bool removable, const char* sectors = "1000215216", const char* type = "0")
    {
        const std::filesystem::path device = AddEntry(name, port);
        std::filesystem::create_directories(device / "device");
        WriteFileText((device / "size").string(), std::string(sectors) + "\n");
        WriteFileText((device / "removable").string(), removable ? "1\n" : "0\n");
        if (!vendor.empty()) {
            WriteFileText((device / "device/vendor").string(), vendor + "\n");
            WriteFileText((device / "device/type").string(), std::string(type) + "\n");
        }
        WriteFileText((device / "device/model").string(), model + "\n");
    }

private:
    TempDir m_dir;
};

inline DriveSources Sources(const FixtureTree& tree, std::vector<NamedEmulatedDrive> emulated = {})
{
    DriveSources sources;
    sources.sysBlockRoot = tree.SysBlock();
    sources.devRoot = tree.Dev();
    sources.emulated = std::move(emulated);
    return sources;
}
