#include "SysBlockTree.h"
#include "core/drive/DriveContext.h"
#include "platform/devices/BlockDevices.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

TEST(DiskList, DisksAreListedOnceWithTheirBusAndOnlyRemovableOnesReachTheFlashTest)
{
    FixtureTree tree;
    tree.AddDisk("sda", kAtaPort, "ATA", "Samsung SSD 860 EVO 500GB", false);
    tree.AddDisk("sdb", kUsbPort, "SanDisk", "Cruzer Blade", true, "30031872");
    tree.AddDisk("sdc", "pci0000:00/0000:00:1f.2/ata3/host2/target2:0:0/2:0:0:0", "ATA", "WDC WD40EFRX-68N", false);
    tree.AddDisk("nvme0n1", kNvmePort, "", "Samsung SSD 970 EVO Plus 1TB", false);
    tree.AddDisk("sdd", kUsbPort, "Generic", "SD/MMC Reader", true, "0");  // no card in it
    tree.AddDisk("sde", kUsbPort, "HL-DT-ST", "DVDRAM GP57EB40", true, "2097152", "7");  // optical memory
    tree.AddEntry("loop0", "virtual");
    tree.AddEntry("sr0", kAtaPort);
    ScopedProgramLog log;
    DriveContext drives(Sources(tree));
    std::vector<std::string> waitBox;
    drives.disks.hooks.showWaitBox = [&](const std::string& text) { waitBox.push_back(text); };
    drives.disks.hooks.hideWaitBox = [&] { waitBox.push_back("hidden"); };

    std::string message;
    EXPECT_TRUE(drives.disks.FlashTestDrives(message).empty());
    EXPECT_EQ(message, "No removable flash drives found");

    ASSERT_TRUE(drives.disks.FillHDDComboList());
    EXPECT_EQ(waitBox, (std::vector<std::string>{"Scanning for hard drives...", "hidden"}));
    struct Expected {
        const char* driveText;
        const char* identity;
        int busType;
        bool removable;
    };
    const Expected expected[] = {
        {"nvme0n1", "Samsung SSD 970", kBusNvme, false},
        {"sda", "ATA     Samsung SSD 860", kBusSata, false},
        {"sdb", "SanDisk Cruzer Blade", kBusUsb, true},
        {"sdc", "ATA     WDC WD40EFRX-68N", kBusSata, false},
    };
    ASSERT_EQ(drives.disks.m_HddList.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const CDevice& disk = *drives.disks.m_HddList[i];
        EXPECT_EQ(disk.m_strDriveText, expected[i].driveText);
        EXPECT_EQ(disk.m_strIdentity, expected[i].identity);
        EXPECT_EQ(disk.m_nBusType, expected[i].busType);
        EXPECT_EQ(disk.m_bRemovable, expected[i].removable);
        EXPECT_EQ(disk.m_bDiskRecord, 1);
    }
    EXPECT_NE(log.Text().find(" FillHDDComboList() - Device Type not DTYPE_DASD\n"), std::string::npos);
    EXPECT_EQ(drives.disks.HddTestDrives().size(), 4u);
    const auto flash = drives.disks.FlashTestDrives(message);
    ASSERT_EQ(flash.size(), 1u);
    EXPECT_EQ(flash[0]->m_strDriveText, "sdb");  // the eSATA disk sdc is not flagged removable

    tree.AddDisk("sdf", kUsbPort, "Kingston", "DataTraveler 3.0", true);
    ASSERT_TRUE(drives.disks.FillHDDComboList());
    EXPECT_EQ(drives.disks.m_HddList.size(), 4u);  // built once per run
    drives.list.ReleaseDevices();
    ASSERT_TRUE(drives.disks.FillHDDComboList());
    EXPECT_EQ(drives.disks.m_HddList.size(), 5u);  // until a device change releases the lists
}

TEST(DiskList, TheFlashTestExplainsWhenNoDiskIsRemovable)
{
    FixtureTree tree;
    tree.AddDisk("sda", "pci0000:00/0000:00:1f.2/ata2/host1/target1:0:0/1:0:0:0", "ATA", "eSATA flash", false);
    DriveContext drives(Sources(tree));
    ASSERT_TRUE(drives.disks.FillHDDComboList());
    std::string message;
    EXPECT_TRUE(drives.disks.FlashTestDrives(message).empty());
    EXPECT_EQ(message, "No removable flash drives found (NOTE: eSata flash are not designated as removable)");
}
