#include "core/base/AppProfile.h"
#include "core/tools/disk/DiskAccess.h"
#include "core/tools/disk/DiskDriveFields.h"
#include "core/tools/disk/DiskSizeText.h"
#include "support/DiskToolSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

TEST(DiskSizeText, SizesInTwoDecimalsOfTheirUnit)
{
    struct Case {
        std::uint64_t bytes;
        const char* binary;
        const char* decimal;
        const char* free;
    };
    // clang-format off
    const Case cases[] = {
        {0, "0.00 B", "0.00 B", "0.00 B"},
        {512, "512.00 B", "512.00 B", "512.00 B"},
        {1000, "1000.00 B", "1.00 KB", "1000.00 B"},
        {1024, "1.00 KB", "1.02 KB", "1024.00 B"},
        {1572864, "1.50 MB", "1.57 MB", "1.50 MB"},
        {std::uint64_t{1} << 40, "1.00 TB", "1.10 TB", "1024.00 GB"},
        {UINT64_MAX, "16.00 EB", "18.45 EB", "16.00 EB"},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(FormatSize(c.bytes), c.binary) << c.bytes;
        EXPECT_EQ(FormatSizeDecimal(c.bytes), c.decimal) << c.bytes;
        EXPECT_EQ(FormatFreeSize(c.bytes), c.free) << c.bytes;
    }
}

TEST(DiskDriveFields, TheIdentitySplitsIntoBrandAndModel)
{
    struct Case {
        const char* identity;
        const char* brand;
        const char* model;
    };
    const Case cases[] = {
        {"ST3500418AS", "Seagate", "ST3500418AS"},
        {"SanDisk Cruzer Blade", "SanDisk", "Cruzer Blade"},
        {"ATA  WDC WD10EZEX", "ATA", "WDC WD10EZEX"},
        {"QEMU", "", "QEMU"},
    };
    for (const Case& c : cases) {
        std::string brand, model;
        SplitBrandModel(c.identity, brand, model);
        EXPECT_EQ(brand, c.brand) << c.identity;
        EXPECT_EQ(model, c.model) << c.identity;
    }
}

TEST(DiskDriveFields, TheFieldsOfADrive)
{
    const auto record = MakeDiskRecord("sdb", "SanDisk", "Cruzer Blade", "1.26", true, 7);
    const DiskDriveFields fields = MakeDriveFields(*record, 16008609792ull, 1073741824ull);
    EXPECT_EQ(fields.letter, "sdb");
    EXPECT_EQ(fields.brand, "SanDisk");
    EXPECT_EQ(fields.model, "Cruzer Blade");
    EXPECT_EQ(fields.firmware, "1.26");
    EXPECT_EQ(fields.formatSize, "14.91 GB");
    EXPECT_EQ(fields.maxSize, "16.01 GB");
    EXPECT_EQ(fields.freeSpace, "1024.00 MB");  // its steps divide above 1024 only
    EXPECT_EQ(fields.usedSpace, "13.91 GB");
    EXPECT_EQ(fields.driveType, "Removable");
    EXPECT_EQ(fields.interfaceName, "USB");
    EXPECT_EQ(fields.sizePerPlot, "1.70 MB");
    // More free than the disk holds: nothing used.
    EXPECT_EQ(MakeDriveFields(*record, 1000, 5000).usedSpace, "0.00 B");
    const auto fixed = MakeDiskRecord("nvme0n1", "", "Samsung SSD 980", "1B4Q", false, 17);
    EXPECT_EQ(MakeDriveFields(*fixed, 0, 0).driveType, "Fixed");
    EXPECT_EQ(GetBusTypeName(17), "NVMe");
    EXPECT_EQ(GetBusTypeName(11), "SATA");
    EXPECT_EQ(GetBusTypeName(-1), "---");
    EXPECT_EQ(GetBusTypeName(99), "---");
    EXPECT_EQ(DriveComboItem(*fixed), "(nvme0n1) Samsung SSD 980 ");
}

TEST(DiskDriveFields, TheSelectionFallsBackToTheFirstDrive)
{
    ScopedProfile profile;
    ScriptedPrompt prompt;
    const auto first = MakeDiskRecord("sda", "ATA", "Disk One");
    const auto second = MakeDiskRecord("sdb", "ATA", "Disk Two");
    const std::vector<CDevice*> drives = {first.get(), second.get()};
    EXPECT_EQ(GetSelectedDisk("CHddErrorTest", 1, drives).device, second.get());
    for (int outside : {-1, 2, 40}) {
        const DiskChoice choice = GetSelectedDisk("CHddErrorTest", outside, drives);
        EXPECT_EQ(choice.device, first.get());
        EXPECT_EQ(choice.selection, 0);
    }
    EXPECT_TRUE(prompt.asked.empty());

    EXPECT_EQ(GetSelectedDisk("CHddErrorTest", 0, {}).device, nullptr);
    WriteAppProfileInt("HDDSelectedDevice", 3);
    const DiskChoice reset = GetSelectedDisk("CHddErrorTest", 1, {first.get(), nullptr});
    EXPECT_EQ(reset.device, first.get());
    EXPECT_EQ(reset.selection, 0);
    ASSERT_EQ(prompt.asked.size(), 2u);
    EXPECT_EQ(prompt.asked[0].text, "Error selecting device");
    EXPECT_EQ(prompt.asked[1].text, "Selected device was not found,  list will be reset");
    EXPECT_EQ(GetAppProfileInt("HDDSelectedDevice", -1), 0);
}

TEST(DiskAccess, TheNodeOfARecordLiesUnderTheDeviceFolder)
{
    DiskAccess access;
    const auto record = MakeDiskRecord("sdc", "ATA", "Disk");
    EXPECT_EQ(access.NodeOf(*record), "/dev/sdc");
    access.devRoot = "/tmp/fixture/dev";
    EXPECT_EQ(access.NodeOf(*record), "/tmp/fixture/dev/sdc");
    // A node the machine does not know is in no use, and has nothing free.
    EXPECT_FALSE(DescribeDiskUse("/tmp/fixture/dev/sdc").InUse());
    EXPECT_EQ(FreeBytesOnDisk("/tmp/fixture/dev/sdc"), 0u);
}
