#include "platform/devices/BlockDevices.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

namespace fs = std::filesystem;

namespace {

// A /sys/block entry linked to its device under ../devices, as the kernel has it.
void AddEntry(const std::string& sysBlock, const std::string& name, const std::string& devicePath)
{
    const std::string target = "../devices/" + devicePath + "/block/" + name;
    fs::create_directories(fs::path(sysBlock) / target);
    fs::create_symlink(target, fs::path(sysBlock) / name);
}

// The link folder of an ata port with the speed its ata_link reports.
void AddAtaLink(const std::string& sysBlock, const std::string& portPath, const std::string& link,
                const std::string& speed)
{
    const fs::path folder = fs::path(sysBlock) / "../devices" / portPath / link / "ata_link" / link;
    fs::create_directories(folder);
    WriteFileText((folder / "sata_spd").string(), speed + "\n");
}

}  // namespace

TEST(BlockDevices, TheBusOfADriveIsWhatSysfsSaysOfItsPath)
{
    struct Case {
        const char* name;
        const char* device;
        std::optional<const char*> linkSpeed;  // of the ata port's link
        bool optical;
        int bus;
    };
    // clang-format off
    const Case cases[] = {
        {"an optical drive on a SATA link", "pci0000:00/0000:00:1f.2/ata2/host1/target1:0:0/1:0:0:0", "3.0 Gbps", true, kBusSata},
        {"a disk on a SATA link", "pci0000:00/0000:00:1f.2/ata2/host1/target1:0:0/1:0:0:0", "6.0 Gbps", false, kBusSata},
        {"a parallel ATAPI drive", "pci0000:00/0000:00:01.1/ata1/host0/target0:0:1/0:0:1:0", "<unknown>", true, kBusAtapi},
        {"a parallel ATA disk", "pci0000:00/0000:00:01.1/ata1/host0/target0:0:0/0:0:0:0", "<unknown>", false, kBusAta},
        {"an ata port without link attributes", "pci0000:00/0000:00:01.1/ata1/host0/target0:0:0/0:0:0:0", std::nullopt, true, kBusAtapi},
        {"a USB drive", "pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0", std::nullopt, true, kBusUsb},
        {"a virtio-scsi drive", "pci0000:00/0000:00:05.0/virtio2/host2/target2:0:0/2:0:0:0", std::nullopt, true, kBusScsi},
        {"a virtio-blk disk", "pci0000:00/0000:00:06.0/virtio3", std::nullopt, false, kBusVirtual},
        {"a SAS disk", "pci0000:00/0000:03:00.0/host0/port-0:0/end_device-0:0/target0:0:0/0:0:0:0", std::nullopt, false, kBusSas},
        {"a SCSI host", "pci0000:00/0000:00:10.0/host3/target3:0:0/3:0:0:0", std::nullopt, true, kBusScsi},
        {"an NVMe disk", "pci0000:00/0000:00:1d.0/0000:3d:00.0/nvme/nvme0", std::nullopt, false, kBusNvme},
        {"a loop device", "virtual", std::nullopt, false, kBusFileBackedVirtual},
    };
    // clang-format on
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        TempDir root;
        const std::string sysBlock = root.File("sys/block");
        fs::create_directories(sysBlock);
        AddEntry(sysBlock, "dev0", test.device);
        if (test.linkSpeed) {
            const std::string device = test.device;
            const std::string port = device.substr(0, device.find("/host"));
            const std::string number = port.substr(port.rfind("ata") + 3);
            AddAtaLink(sysBlock, port, "link" + number, *test.linkSpeed);
        }
        EXPECT_EQ(BusTypeFromSysfs(sysBlock, "dev0", test.optical), test.bus);
    }
    TempDir empty;
    EXPECT_EQ(BusTypeFromSysfs(empty.Path(), "sr0", true), -1);
}
