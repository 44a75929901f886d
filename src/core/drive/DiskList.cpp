#include "core/drive/DiskList.h"

#include "core/base/LogFile.h"
#include "core/drive/ScsiCommand.h"
#include "platform/devices/BlockDevices.h"

DiskList::DiskList(CScsiCommand& channel, const std::string& sysBlockRoot) :
    m_channel(channel), m_sysBlockRoot(sysBlockRoot)
{
}

bool DiskList::FillHDDComboList()
{
    if (!m_HddList.empty())
        return true;
    if (hooks.showWaitBox)
        hooks.showWaitBox("Scanning for hard drives...");
    LogEntry("Start FillHDDComboList()");
    m_channel.CloseIfOpen();
    int index = 0;
    for (const BlockDeviceInfo& disk : ListDisks(m_sysBlockRoot)) {
        auto record = std::make_unique<CDevice>();
        FillDiskRecord(*record, disk);
        record->m_nEnumIndex = index++;
        if (record->m_nDeviceType != DTYPE_DASD) {
            LogEntry("FillHDDComboList() - Device Type not DTYPE_DASD");
            continue;
        }
        m_HddList.push_back(std::move(record));
    }
    LogEntry("End FillHDDComboList()");
    if (hooks.hideWaitBox)
        hooks.hideWaitBox();
    m_channel.CloseIfOpen();
    return true;
}

std::vector<CDevice*> DiskList::HddTestDrives() const
{
    std::vector<CDevice*> drives;
    for (const auto& disk : m_HddList)
        if (disk->m_bDiskRecord)
            drives.push_back(disk.get());
    return drives;
}

std::vector<CDevice*> DiskList::FlashTestDrives(std::string& message) const
{
    std::vector<CDevice*> drives;
    if (m_HddList.empty()) {
        message = "No removable flash drives found";
        return drives;
    }
    for (const auto& disk : m_HddList)
        if (disk->m_bRemovable)
            drives.push_back(disk.get());
    if (drives.empty())
        message = "No removable flash drives found (NOTE: eSata flash are not designated as removable)";
    return drives;
}

void DiskList::ReleaseDisks()
{
    while (!m_HddList.empty())
        m_HddList.pop_back();
}
