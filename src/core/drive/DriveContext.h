#pragma once

#include "core/base/ConfirmationGate.h"
#include "core/drive/ChannelCoordinator.h"
#include "core/drive/DiskList.h"
#include "core/drive/DriveConfiguration.h"
#include "core/drive/DriveList.h"
#include "core/drive/DriveWaitClock.h"
#include "core/drive/MediaIdentification.h"
#include "core/drive/MmcCommands.h"
#include "core/drive/MmcMediaReads.h"
#include "core/drive/MmcRecording.h"
#include "core/drive/ScsiCommand.h"
#include "core/drive/vendor/BenqCommands.h"
#include "core/drive/vendor/BtcCommands.h"
#include "core/drive/vendor/CyberdriveCommands.h"
#include "core/drive/vendor/IhasCommands.h"
#include "core/drive/vendor/LgCommands.h"
#include "core/drive/vendor/LiteonCommands.h"
#include "core/drive/vendor/NecCommands.h"
#include "core/drive/vendor/NuQsiCommands.h"
#include "core/drive/vendor/PioneerCommands.h"
#include "core/drive/vendor/PlextorCommands.h"
#include "core/drive/vendor/RicohCommands.h"
#include "core/drive/vendor/SamsungCommands.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class EmulatedDeviceOpener;

// The drive side of the main window: the command channel and the raw data
// buffer, and the drive access by concern over them: the drive list with
// the current drive, the disk list, the MMC commands and disc reads, the
// media identification, the drive configuration and one set of vendor
// commands per maker family. Every command goes to the drive list's current
// drive; the dialog shows what these hold. The long operations (the tests,
// ISO creation, the compares, the disc hash) take the channel to themselves
// through the coordinator.
class DriveContext {
public:
    explicit DriveContext(DriveSources sources = DriveSources::FromEnvironment());
    DriveContext(const DriveContext&) = delete;
    DriveContext& operator=(const DriveContext&) = delete;

    const DriveSources& Sources() const { return m_sources; }
    // Opens drives by their drive text: the emulated ones and the machine's.
    std::shared_ptr<DeviceOpener> Opener() const;
    // The device node a drive is opened by ("/dev/sr0"), or an emulated drive's name.
    std::string DeviceNodeOf(const CDevice& device) const;
    // The current drive as every confirmation names it: its device node,
    // vendor and model; the rest of the operation is left empty.
    DestructiveOperation DescribeCurrentDrive() const;
    // The current drive's time, which mmc waits and times by unless given
    // another clock: an emulated drive's own, the system clock otherwise.
    const DriveWaitClock& DriveClock() const { return *m_pDriveClock; }

private:
    // First: the channel's opener and the lists below are made from them.
    DriveSources m_sources;
    std::shared_ptr<EmulatedDeviceOpener> m_pOpener;
    std::shared_ptr<DriveWaitClock> m_pDriveClock;

public:
    CScsiCommand m_ScsiCommand;
    std::array<std::uint8_t, 4096> m_DataBuffer{};

    DiskList disks;
    DriveList list;
    MmcCommands mmc;
    MmcMediaReads reads;
    MmcRecording recording;
    MediaIdentification media;
    NecCommands nec;
    NuQsiCommands nuQsi;
    RicohCommands ricoh;
    BenqCommands benq;
    LiteonCommands liteon;
    SamsungCommands samsung;
    CyberdriveCommands cyberdrive;
    IhasCommands ihas;
    PlextorCommands plextor;
    PioneerCommands pioneer;
    BtcCommands btc;
    LgCommands lg;
    DriveConfiguration configuration;
    ChannelCoordinator coordinator;
};
