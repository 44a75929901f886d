#include "core/drive/DriveGuards.h"

#include "core/drive/MmcCommands.h"
#include "core/drive/ScsiCommand.h"

#include <utility>

TrayLock::TrayLock(MmcCommands& mmc) : m_pMmc(&mmc), m_bLocked(mmc.PreventMediumRemoval(1) == 0)
{
}

TrayLock::~TrayLock()
{
    Release();
}

void TrayLock::Release()
{
    if (MmcCommands* mmc = std::exchange(m_pMmc, nullptr))
        mmc->PreventMediumRemoval(0);
}

MediaChangeNotificationOff::MediaChangeNotificationOff(CScsiCommand& channel) : m_pChannel(&channel)
{
    channel.DisableMCN(true);
}

MediaChangeNotificationOff::~MediaChangeNotificationOff()
{
    Release();
}

void MediaChangeNotificationOff::Release()
{
    if (CScsiCommand* channel = std::exchange(m_pChannel, nullptr))
        channel->DisableMCN(false);
}

VolumeLock::VolumeLock(CScsiCommand& channel) : m_pChannel(&channel)
{
    channel.LockAndDismountVolume();
}

VolumeLock::~VolumeLock()
{
    Release();
}

void VolumeLock::Release()
{
    if (CScsiCommand* channel = std::exchange(m_pChannel, nullptr))
        channel->UnlockVolume();
}
