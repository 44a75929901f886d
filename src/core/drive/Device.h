#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct BlockDeviceInfo;

// Peripheral device types of INQUIRY byte 0 that the drive lists keep.
constexpr int DTYPE_DASD = 0;
constexpr int DTYPE_WORM = 4;
constexpr int DTYPE_CDROM = 5;

// The length of the INQUIRY answer the enumeration asks for.
constexpr std::uint32_t kInquiryLength = 254;

// One drive the program knows: built from its INQUIRY answer (optical
// drives) or from what the system reports (disks). The capability fields are
// written by the drive configuration.
class CDevice {
public:
    CDevice() = default;
    virtual ~CDevice() = default;

    // Takes the identification of an INQUIRY answer of `length` bytes; false
    // when it holds no identification text from byte 8 on.
    bool TakeInquiry(const std::uint8_t* answer, std::size_t length);
    // Drive-model exceptions: the identity begins with text, compared without
    // regard to case over the text's length.
    bool IdentityBeginsWith(std::string_view text) const;

    std::string m_strVendorSpecific;  // bytes 36-55, upper case, trimmed
    std::string m_strFirmware;  // bytes 32-35, trimmed
    std::string m_strIdentity;  // vendor and product, see MakeDriveIdentity
    int m_nDeviceType = 0;  // INQUIRY byte 0, qualifier bits included
    int m_nInquiryByte3High = 0;
    int m_nBusType = 0;  // storage bus type, -1 unknown
    int m_nEnumIndex = 0;
    std::string m_strDriveText;  // "sr0", or an emulated drive's name
    int m_nPhysicalInterface = 0;
    int m_nRegionUserChanges = 0;
    int m_nRegionVendorResets = 0;
    int m_nRegionScheme = 0;
    int m_nRegionMask = 0;
    int m_nRegionTypeCode = 0;
    int m_bDiskRecord = 0;
    int m_bDVDDrive = 0;
    int m_bModePageCapability = 0;
    int m_bMMCCompliant = 0;
    int m_bDriveInfoRead = 0;
    int m_nBufferSize = 0;
    std::string m_strSerialNumber = "None";
    bool m_bRemovable = false;  // disks: the system flags the medium removable
};

// The identity text of a vendor (8 bytes) and product (16 bytes) field: the
// product follows directly when the vendor's eighth byte is a blank, else
// after one blank; cut to 24 characters and trimmed.
std::string MakeDriveIdentity(const std::string& vendor8, const std::string& product16);

// A disk record from what sysfs says of it.
void FillDiskRecord(CDevice& record, const BlockDeviceInfo& disk);
