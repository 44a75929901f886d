#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CDevice;

// The drive fields the disk tools show beside their map or grid.
struct DiskDriveFields {
    std::string letter;  // the drive text, "sdb"
    std::string brand;
    std::string model;
    std::string firmware;
    std::string formatSize;
    std::string freeSpace;
    std::string maxSize;
    std::string usedSpace;
    std::string driveType;
    std::string interfaceName;
    std::string sizePerPlot;  // the bytes of one map cell
};

// The identity split as the fields show it: a Seagate model ("ST...") whole
// under the brand "Seagate", otherwise the brand before the first blank and
// the model after it (no blank: no brand).
void SplitBrandModel(const std::string& identity, std::string& brand, std::string& model);

// The interface of a storage bus type; "---" for a number without a name.
std::string GetBusTypeName(int busType);

// The kinds of volume the drive type field names.
enum DiskVolumeType { kVolumeUnknown = 0, kVolumeRemovable = 2, kVolumeFixed = 3 };
int GetVolumeType(const CDevice& device);
std::string VolumeTypeName(int type);

// The fields of a drive of diskSize bytes with freeBytes free on its mounted
// file systems.
DiskDriveFields MakeDriveFields(const CDevice& device, std::uint64_t diskSize, std::uint64_t freeBytes);

// The drive combo's item of a record: "(sdb) SanDisk Cruzer ".
std::string DriveComboItem(const CDevice& device);
// The items of the records, in their order.
std::vector<std::string> DriveComboItems(const std::vector<CDevice*>& drives);

// The record of the drive combo's selection (GetSelectedDevice of the disk
// tools; className names the tool in the log lines): a selection outside the
// list counts as the first item; an empty list gives "Error selecting device"
// and no record; an item without a record resets the selection to the first
// item ("HDDSelectedDevice" 0) and gives its record.
struct DiskChoice {
    CDevice* device = nullptr;
    int selection = 0;  // the item the combo shows afterwards
};
DiskChoice GetSelectedDisk(const std::string& className, int selection, const std::vector<CDevice*>& drives);
