#include "core/tools/disk/ChosenDisk.h"

#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/base/UserPrompt.h"
#include "core/drive/Device.h"
#include "core/tools/disk/DiskSizeText.h"

#include <sys/sysmacros.h>

ChosenDisk ChooseDisk(const DiskAccess& access, const CDevice& record, const OpenedDisk& opened)
{
    ChosenDisk chosen;
    chosen.node = access.NodeOf(record);
    chosen.name = record.m_strIdentity;
    if (opened.device)
        chosen.identity = opened.device->Identity();
    return chosen;
}

std::string DescribeDiskIdentity(const DiskIdentity& identity)
{
    std::string text = identity.model;
    const auto add = [&text](const std::string& part) { text += (text.empty() ? "" : ", ") + part; };
    if (!identity.serial.empty())  // a loop device's is its backing file
        add((identity.serial.front() == '/' ? "" : "serial ") + identity.serial);
    add(FormatSize(identity.sizeBytes));
    const auto major = static_cast<unsigned>(::major(identity.device));
    const auto minor = static_cast<unsigned>(::minor(identity.device));
    if (identity.regularFile)
        add(Format("inode %llu on device %u:%u", static_cast<unsigned long long>(identity.inode), major, minor));
    else
        add(Format("device %u:%u", major, minor));
    if (identity.sequence)
        add(Format("disk sequence %llu", static_cast<unsigned long long>(*identity.sequence)));
    return text;
}

OpenedDisk OpenChosenDisk(const DiskAccess& access, const ChosenDisk& chosen, BlockAccess mode)
{
    OpenedDisk disk = OpenDisk(access, chosen.node, mode);
    if (!disk.device)
        return disk;
    const DiskIdentity now = disk.device->Identity();
    std::string failure;
    if (!chosen.identity)
        failure = chosen.node
            + " could not be opened when it was chosen, so it cannot be told whether it still "
              "holds that drive. Choose the drive again.";
    else if (!SameDisk(*chosen.identity, now))
        failure = chosen.node + " no longer holds the drive that was chosen.\n\nChosen: "
            + (chosen.name.empty() ? "" : chosen.name + ", ") + DescribeDiskIdentity(*chosen.identity)
            + "\nThere now: " + DescribeDiskIdentity(now) + "\n\nNothing was written. Choose the drive again.";
    if (!failure.empty()) {
        LogEntry(failure);
        disk = OpenedDisk();
        disk.failure = failure;
    }
    return disk;
}

GateDecision ConfirmDiskWrite(const DiskAccess& access, const ChosenDisk& chosen, const DestructiveOperation& operation)
{
    UserPrompt* prompt = GetUserPrompt();
    const DeviceUse use = access.use(chosen.node);
    if (RefusalFor(chosen.node, use).empty()) {
        // Closed again before the gate: the use was probed without it.
        const OpenedDisk disk = OpenChosenDisk(access, chosen, BlockAccess::ReadWrite);
        if (!disk.device) {
            if (prompt)
                prompt->MessageBox(disk.failure, operation.action, MB_OK | MB_ICONERROR);
            return {GateVerdict::Refused, disk.failure};
        }
    }
    return ConfirmDestructiveOperation(operation, prompt, [&use](const std::string&) { return use; });
}
