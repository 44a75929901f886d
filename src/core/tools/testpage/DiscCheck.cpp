#include "core/tools/testpage/DiscCheck.h"

#include "core/drive/DriveContext.h"

namespace testpage {

DiscForTest CheckDiscForTest(DriveContext& drives, int readySeconds)
{
    DiscForTest disc;
    disc.present = drives.mmc.TestMediaPresent() == 1;
    if (!disc.present)
        return disc;
    drives.media.GetMediaTypeName(disc.typeName);
    if (readySeconds > 0) {
        drives.mmc.Seek(0);
        disc.ready = drives.mmc.WaitForUnitReady(readySeconds) == 0;
        if (!disc.ready)
            return disc;
    }
    disc.capacityRead = drives.reads.ReadCapacityAnswer().ok;
    if (disc.capacityRead)
        drives.media.GetDriveProfile(disc.profile);
    return disc;
}

}  // namespace testpage
