#include "core/drive/Device.h"

#include "core/drive/MmcTypes.h"
#include "platform/devices/BlockDevices.h"
#include "platform/text/Trim.h"
#include "scsi/AsciiText.h"

#include <algorithm>
#include <cctype>

namespace {

std::string PaddedTo(std::string text, std::size_t width)
{
    text.resize(width, ' ');
    return text;
}

}  // namespace

std::string MakeDriveIdentity(const std::string& vendor8, const std::string& product16)
{
    std::string identity = vendor8.substr(0, 8);
    if (!(identity.size() == 8 && identity[7] == ' '))
        identity += ' ';
    identity += product16.substr(0, 16);
    return TrimText(identity.substr(0, 24));
}

bool CDevice::TakeInquiry(const std::uint8_t* answer, std::size_t length)
{
    if (length < 9 || answer[8] == 0)
        return false;
    m_nDeviceType = answer[0];
    m_nInquiryByte3High = answer[3] >> 4;
    const std::span<const std::uint8_t> bytes(answer, length);
    m_strIdentity = MakeDriveIdentity(AnswerText(bytes, 8, 8), AnswerText(bytes, 16, 16));
    m_strFirmware = TrimText(AnswerText(bytes, 32, 4));
    std::string vendorSpecific = TrimText(AnswerText(bytes, 36, 20));
    std::transform(vendorSpecific.begin(), vendorSpecific.end(), vendorSpecific.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    m_strVendorSpecific = vendorSpecific;
    return true;
}

bool CDevice::IdentityBeginsWith(std::string_view text) const
{
    return m_strIdentity.size() >= text.size()
        && scsi::EqualsIgnoringCase(std::string_view(m_strIdentity).substr(0, text.size()), text);
}

void FillDiskRecord(CDevice& record, const BlockDeviceInfo& disk)
{
    record.m_strDriveText = disk.name;
    record.m_nDeviceType = disk.peripheralType;
    record.m_strIdentity = MakeDriveIdentity(PaddedTo(disk.vendor, 8), PaddedTo(disk.model, 16));
    record.m_strFirmware = TrimText(disk.revision);
    record.m_nBusType = disk.busType;
    record.m_bRemovable = disk.removable;
    record.m_bDiskRecord = 1;
}
