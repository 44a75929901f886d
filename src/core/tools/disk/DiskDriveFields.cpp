#include "core/tools/disk/DiskDriveFields.h"

#include "core/base/AppProfile.h"
#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/base/UserPrompt.h"
#include "core/drive/Device.h"
#include "core/graphs/HddCellMap.h"
#include "core/tools/disk/DiskSizeText.h"
#include "platform/text/Trim.h"

#include <iterator>

void SplitBrandModel(const std::string& identity, std::string& brand, std::string& model)
{
    if (identity.rfind("ST", 0) == 0) {
        brand = "Seagate";
        model = identity;
        return;
    }
    const auto blank = identity.find(' ');
    if (blank == std::string::npos) {
        brand.clear();
        model = identity;
        return;
    }
    brand = identity.substr(0, blank);
    model = TrimText(identity.substr(blank + 1));
}

std::string GetBusTypeName(int busType)
{
    // clang-format off
    static const char* const kNames[] = {
        "Unknown", "SCSI", "ATAPI", "ATA", "1394", "SSA", "Fibre", "USB", "Raid", "iSCSI", "SAS", "SATA", "SD", "MMC",
        "Virtual", "File Backed Virtual", "Spaces", "NVMe",
    };
    // clang-format on
    if (busType < 0 || busType >= static_cast<int>(std::size(kNames)))
        return "---";
    return kNames[busType];
}

int GetVolumeType(const CDevice& device)
{
    return device.m_bRemovable ? kVolumeRemovable : kVolumeFixed;
}

std::string VolumeTypeName(int type)
{
    static const char* const kNames[] = {"Unknown", "BAD", "Removable", "Fixed", "Remote", "CD-ROM", "RamDisk"};
    if (type < 0 || type >= static_cast<int>(std::size(kNames)))
        return kNames[0];
    return kNames[type];
}

DiskDriveFields MakeDriveFields(const CDevice& device, std::uint64_t diskSize, std::uint64_t freeBytes)
{
    DiskDriveFields fields;
    fields.letter = device.m_strDriveText;
    SplitBrandModel(device.m_strIdentity, fields.brand, fields.model);
    fields.firmware = device.m_strFirmware;
    fields.freeSpace = FormatFreeSize(freeBytes);
    fields.formatSize = FormatSize(diskSize);
    fields.maxSize = FormatSizeDecimal(diskSize);
    fields.usedSpace = FormatSize(freeBytes > diskSize ? 0 : diskSize - freeBytes);
    fields.driveType = VolumeTypeName(GetVolumeType(device));
    fields.interfaceName = GetBusTypeName(device.m_nBusType);
    fields.sizePerPlot = FormatSize(HddCellBytes(diskSize));
    return fields;
}

std::string DriveComboItem(const CDevice& device)
{
    return Format("(%2s) %s ", device.m_strDriveText.c_str(), device.m_strIdentity.c_str());
}

std::vector<std::string> DriveComboItems(const std::vector<CDevice*>& drives)
{
    std::vector<std::string> items;
    for (const CDevice* device : drives)
        if (device)
            items.push_back(DriveComboItem(*device));
    return items;
}

DiskChoice GetSelectedDisk(const std::string& className, int selection, const std::vector<CDevice*>& drives)
{
    LogEntry("Start " + className + "::GetSelectedDevice()");
    DiskChoice choice;
    choice.selection = selection < 0 || selection >= static_cast<int>(drives.size()) ? 0 : selection;
    if (drives.empty()) {
        AppMessageBox("Error selecting device");
        return choice;
    }
    choice.device = drives[static_cast<std::size_t>(choice.selection)];
    if (choice.device == nullptr) {
        LogEntry(className + "::GetSelectedDevice() - ERROR device was NULL");
        AppMessageBox("Selected device was not found,  list will be reset");
        WriteAppProfileInt("HDDSelectedDevice", 0);
        choice.selection = 0;
        choice.device = drives.front();
        return choice;
    }
    LogEntry("End " + className + "::GetSelectedDevice()");
    return choice;
}
