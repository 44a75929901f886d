#pragma once

#include "core/drive/Device.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CScsiCommand;

// What the user interface shows while the disks are listed.
struct DiskListHooks {
    std::function<void(const std::string& text)> showWaitBox;
    std::function<void()> hideWaitBox;
};

// The hard disks and flash drives the disk tests offer, listed once per run
// (until a device change releases the drive lists).
class DiskList {
public:
    // sysBlockRoot: where the system lists its block devices (a fixture tree in tests).
    DiskList(CScsiCommand& channel, const std::string& sysBlockRoot);

    bool FillHDDComboList();
    // The disks the hard-disk test offers, and the removable ones the flash
    // test offers (empty, with the message to show, when there are none).
    std::vector<CDevice*> HddTestDrives() const;
    std::vector<CDevice*> FlashTestDrives(std::string& message) const;
    void ReleaseDisks();

    DiskListHooks hooks;
    std::vector<std::unique_ptr<CDevice>> m_HddList;

private:
    CScsiCommand& m_channel;
    const std::string& m_sysBlockRoot;
};
