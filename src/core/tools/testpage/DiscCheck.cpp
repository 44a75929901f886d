#include "core/tools/testpage/DiscCheck.h"

#include "core/drive/CommandBlock.h"
#include "core/drive/DriveContext.h"
#include "scsi/Opcodes.h"

namespace testpage {

DiscForTest CheckDiscForTest(DriveContext& drives, int readySeconds)
{
    DiscForTest disc;
    disc.present = drives.mmc.TestMediaPresent() == 1;
    if (!disc.present)
        return disc;
    drives.media.GetMediaTypeName(disc.typeName);
    if (readySeconds > 0) {
        CommandBlock(mmc::kSeek10).Execute(drives.m_ScsiCommand, DataDirection::None, nullptr, 0);
        disc.ready = drives.mmc.WaitForUnitReady(readySeconds) == 0;
        if (!disc.ready)
            return disc;
    }
    disc.capacityRead = CommandBlock(mmc::kReadCapacity)
                            .Execute(drives.m_ScsiCommand, DataDirection::In, drives.m_DataBuffer.data(), 256)
        == 0;
    if (disc.capacityRead)
        drives.media.GetDriveProfile(disc.profile);
    return disc;
}

}  // namespace testpage
