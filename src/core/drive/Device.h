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
    // DVD region state from REPORT KEY (RPC state).
    int m_nUserChangesLeft = 0;
    int m_nVendorResetsLeft = 0;
    int m_nRpcScheme = 0;
    int m_nRegionMask = 0;
    int m_nRegionTypeCode = 0;
    int m_bDiskRecord = 0;
    int m_bModePageCapability = 0;
    int m_bMMCCompliant = 0;
    int m_bDriveInfoRead = 0;

    // Capabilities, 0 or 1, raised by the drive configuration from the
    // profile list, the feature descriptors and the capabilities mode page.
    int m_nPhysicalInterface = 0;  // Core feature: 1 SCSI, 2 ATAPI, 7 Serial ATAPI, 8 USB ...
    int m_bDvdDrive = 0;
    int m_bCdDrive = 0;
    int m_bCdReader = 0;
    int m_bCdWriter = 0;
    int m_bRemovableDisk = 0;
    int m_bAsMo = 0;
    int m_bCdRom = 0;
    int m_bCdRWrite = 0;
    int m_bCdRwWrite = 0;
    int m_bDvdRom = 0;
    int m_bDvdMinusRWrite = 0;
    int m_bDvdRamWrite = 0;
    int m_bDvdMinusRwWrite = 0;
    int m_bDvdPlusRWrite = 0;
    int m_bDvdPlusRDlWrite = 0;
    int m_bDvdMinusRDlRead = 0;
    int m_bDvdMinusRDlWrite = 0;
    int m_bDvdPlusRwWrite = 0;
    int m_bDvdPlusRRead = 0;
    int m_bDvdPlusRDlRead = 0;
    int m_bDvdPlusRwRead = 0;
    int m_bCdRRead = 0;
    int m_bCdRwRead = 0;
    int m_bCdMethod2 = 0;
    int m_bDvdRomRead = 0;
    int m_bDvdMinusRRead = 0;
    int m_bDvdMinusRwRead = 0;
    int m_bDvdRamRead = 0;
    int m_bDvdMinusRWritePage = 0;
    int m_bDvdRamWritePage = 0;
    int m_bMountRainierRead = 0;
    int m_bMountRainierWrite = 0;
    int m_bTestWrite = 0;
    int m_bLayerJump = 0;
    int m_bLightScribe = 0;
    int m_bLabelFlash = 0;
    int m_bSolidBurn = 0;
    int m_bIsrcRead = 0;
    int m_bUpcRead = 0;
    int m_bHdBurnRead = 0;
    int m_bHdBurnWrite = 0;
    int m_bHdBurnFeature82 = 0;
    int m_bDvdPlusRwDlRead = 0;
    int m_bDvdPlusRwDlWrite = 0;
    int m_bBarCodeRead = 0;
    int m_bAudioPlay = 0;
    int m_bCompositeOut = 0;
    int m_bDigitalPort1 = 0;
    int m_bDigitalPort2 = 0;
    int m_bMode2Form1 = 0;
    int m_bMode2Form2 = 0;
    int m_bMultiSession = 0;
    int m_bBufferUnderrun = 0;
    int m_bCdMultiRead = 0;
    int m_bDdcdRead = 0;
    int m_bDdcdRWrite = 0;
    int m_bDdcdRwWrite = 0;
    int m_bCdSaoRaw = 0;
    int m_bCdTao = 0;
    int m_bChanger = 0;
    int m_bDefectManagement = 0;
    int m_bCdRwCav = 0;
    int m_bPowerManagement = 0;
    int m_bMicrocodeUpgrade = 0;
    int m_bCssCppm = 0;
    int m_bCprm = 0;
    int m_bSecurDisc = 0;
    int m_bQFlix = 0;
    int m_bDvdDownload = 0;
    int m_bSmart = 0;
    int m_bControlBlocks = 0;
    int m_bStreaming = 0;
    int m_bBdRRead = 0;
    int m_bBdRRrmRead = 0;
    int m_bBdReRead = 0;
    int m_bBdRomRead = 0;
    int m_bBdRWrite = 0;
    int m_bBdReWrite = 0;
    int m_bBdRRrmWrite = 0;
    int m_bHdDvdMinusRRead = 0;
    int m_bHdDvdRomRead = 0;
    int m_bHdDvdRamRead = 0;
    int m_bHdDvdMinusRWrite = 0;
    int m_bHdDvdRamWrite = 0;
    int m_bDvdMinusRwDlRead = 0;
    int m_bDvdMinusRwDlWrite = 0;
    int m_bHdDvdMinusRDlRead = 0;
    int m_bHdDvdMinusRwRead = 0;
    int m_bHdDvdMinusRwDlRead = 0;
    int m_bHdDvdMinusRDlWrite = 0;
    int m_bHdDvdMinusRwWrite = 0;
    int m_bHdDvdMinusRwDlWrite = 0;
    int m_bAacs = 0;
    int m_bTimelySafeRecording = 0;
    int m_nBufferSizeKB = 0;
    int m_nVolumeLevels = 0;
    std::string m_szSerialNumber = "None";  // at most 49 printable characters

    // What the last reading of the configuration could read, so that what it
    // could not is shown as unknown rather than as the zero it holds.
    bool m_bFeaturesRead = false;  // the profile list and the feature descriptors
    bool m_bPhysicalInterfaceRead = false;  // the Core feature
    bool m_bModePagesRead = false;  // the mode pages (2Dh, 31h)
    bool m_bCapabilitiesPageRead = false;  // page 2Ah
    bool m_bSerialNumberRead = false;  // the serial feature, or a feature list without it
    bool m_bRegionRead = false;  // REPORT KEY answered the RPC state
    bool m_bRemovable = false;  // disks: the system flags the medium removable
};

// The identity text of a vendor (8 bytes) and product (16 bytes) field: the
// product follows directly when the vendor's eighth byte is a blank, else
// after one blank; cut to 24 characters and trimmed.
std::string MakeDriveIdentity(const std::string& vendor8, const std::string& product16);

// A disk record from what sysfs says of it.
void FillDiskRecord(CDevice& record, const BlockDeviceInfo& disk);
