#include "core/drive/DriveContext.h"

#include "platform/passthrough/EmulatedPassThrough.h"
#include "platform/passthrough/SystemDeviceOpener.h"
#include "platform/text/Trim.h"

#include <algorithm>

DriveContext::DriveContext(DriveSources sources) :
    m_sources(std::move(sources)),
    m_pOpener(std::make_shared<EmulatedDeviceOpener>(
        std::make_shared<SystemDeviceOpener>(m_sources.devRoot, m_sources.sysBlockRoot))),
    m_pDriveClock(std::make_shared<DriveWaitClock>(m_sources.emulated)),
    disks(m_ScsiCommand, m_sources.sysBlockRoot),
    list(m_ScsiCommand, m_sources, *m_pOpener, disks, m_DataBuffer, *m_pDriveClock),
    mmc(m_ScsiCommand, list.m_pCurrentDevice),
    reads(m_ScsiCommand, mmc),
    recording(m_ScsiCommand, reads),
    media(m_ScsiCommand, mmc, reads, list.m_pCurrentDevice),
    nec(m_ScsiCommand),
    nuQsi(m_ScsiCommand),
    ricoh(m_ScsiCommand, list.m_pCurrentDevice),
    benq(m_ScsiCommand, list.m_pCurrentDevice),
    liteon(m_ScsiCommand, mmc),
    samsung(m_ScsiCommand, mmc),
    cyberdrive(m_ScsiCommand),
    ihas(m_ScsiCommand),
    plextor(m_ScsiCommand),
    pioneer(m_ScsiCommand),
    btc(m_ScsiCommand),
    lg(m_ScsiCommand),
    configuration(m_ScsiCommand, mmc, media, benq, list.m_pCurrentDevice)
{
    for (const auto& [name, drive] : m_sources.emulated)
        m_pOpener->Add(name, drive);
    m_ScsiCommand.SetDeviceOpener(m_pOpener);
    mmc.SetWaitClock(m_pDriveClock);
}

std::shared_ptr<DeviceOpener> DriveContext::Opener() const
{
    return m_pOpener;
}

std::string DriveContext::DeviceNodeOf(const CDevice& device) const
{
    for (const auto& [name, drive] : m_sources.emulated)
        if (name == device.m_strDriveText)
            return name;
    return m_sources.devRoot + "/" + device.m_strDriveText;
}

DestructiveOperation DriveContext::DescribeCurrentDrive() const
{
    constexpr std::size_t kVendorColumns = 8;  // INQUIRY's vendor field
    DestructiveOperation operation;
    const CDevice* device = list.m_pCurrentDevice;
    if (!device)
        return operation;
    operation.deviceNode = DeviceNodeOf(*device);
    const std::string& identity = device->m_strIdentity;
    operation.vendor = TrimText(identity.substr(0, std::min(identity.size(), kVendorColumns)));
    operation.model = identity.size() > kVendorColumns ? TrimText(identity.substr(kVendorColumns)) : std::string();
    return operation;
}
