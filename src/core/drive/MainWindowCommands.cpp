#include "core/app/AppProfile.h"
#include "core/app/LogFile.h"
#include "core/drive/CommandBlock.h"
#include "core/drive/DriveContext.h"
#include "platform/passthrough/EmulatedPassThrough.h"
#include "scsi/Opcodes.h"

#include <algorithm>
#include <vector>

namespace {

constexpr std::uint32_t kRpcStateLength = 8;
constexpr std::uint32_t kReportKeyTransfer = 2048;
constexpr std::uint8_t kRpcStateFormat = 0x08;
constexpr std::uint8_t kImmediate = 0x01;
constexpr std::uint8_t kEject = 0x02;
constexpr std::uint8_t kLoad = 0x03;

}  // namespace

std::shared_ptr<DeviceOpener> DriveContext::Opener() const
{
    return m_pOpener;
}

int DriveContext::ReportRpcState()
{
    std::vector<std::uint8_t> answer(kReportKeyTransfer, 0);
    const int result = CommandBlock(mmc::kReportKey)
                           .SetBe16(8, kRpcStateLength)
                           .Set(10, kRpcStateFormat)
                           .Execute(m_ScsiCommand, DataDirection::In, answer.data(), kReportKeyTransfer);
    if (result != 0 || !m_pCurrentDevice)
        return result;
    LogEntry("OnDriveInfo() - SCSI_REPORT_KEY successful");
    CDevice& device = *m_pCurrentDevice;
    device.m_nUserChangesLeft = answer[4] & 0x07;
    device.m_nVendorResetsLeft = (answer[4] >> 3) & 0x07;
    device.m_nRegionTypeCode = (answer[4] >> 6) & 0x03;
    device.m_nRegionMask = answer[5];
    device.m_nRpcScheme = answer[6];
    return result;
}

int DriveContext::EjectOrCloseTray()
{
    // The immediate bit: the tray moves while the command has already ended.
    const std::uint8_t motion = IsDoorOpen() ? kLoad : kEject;
    return CommandBlock(mmc::kStartStopUnit)
        .Set(1, kImmediate)
        .Set(4, motion)
        .Execute(m_ScsiCommand, DataDirection::None, nullptr, 0);
}

bool DriveContext::RebuildDeviceList()
{
    const int remembered = std::max(m_nDeviceComboSel, 0);
    ReleaseDevices();
    const bool listed = FillDeviceComboList();
    if (remembered >= static_cast<int>(m_deviceComboEntries.size())) {
        WriteAppProfileInt("SelectedDevice", 0);
        SetDeviceComboSel(0);
    } else {
        SetDeviceComboSel(remembered);
    }
    return listed;
}
