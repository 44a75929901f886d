#include "core/info/DriveInfoPage.h"

#include "core/app/Format.h"
#include "core/app/LogFile.h"
#include "platform/text/Trim.h"

#include <array>

namespace {

using G = CapabilityGroup;

constexpr int kDvdPlusRReadBox = 1146;
constexpr int kDvdPlusRwReadBox = 1147;

// clang-format off
constexpr std::array kBoxes = {
    CapabilityBox{1140, "CD-R", G::Read, &CDevice::m_bCdRRead, nullptr},
    CapabilityBox{1141, "CD-RW", G::Read, &CDevice::m_bCdRwRead, nullptr},
    CapabilityBox{1178, "CD Method 2", G::Read, &CDevice::m_bCdMethod2, nullptr},
    CapabilityBox{1179, "DDCD-R/RW", G::Read, &CDevice::m_bDdcdRead, nullptr},
    CapabilityBox{1143, "DVD-ROM", G::Read, &CDevice::m_bDvdRomRead, nullptr},
    CapabilityBox{1144, "DVD-R", G::Read, &CDevice::m_bDvdMinusRRead, nullptr},
    CapabilityBox{1156, "DVD-R DL", G::Read, &CDevice::m_bDvdMinusRDlRead, "Supports DVD-R Double Layer Read"},
    CapabilityBox{1145, "DVD-RW", G::Read, &CDevice::m_bDvdMinusRwRead, nullptr},
    CapabilityBox{1216, "HD-BURN-R", G::Read, &CDevice::m_bHdBurnRead, nullptr},
    CapabilityBox{1200, "HD-BURN-RW", G::Read, &CDevice::m_bHdBurnRead, nullptr},
    CapabilityBox{1159, "Mount Rainier Read", G::Read, &CDevice::m_bMountRainierRead, "Supports Mount Rainier Read"},
    CapabilityBox{1186, "CD Multi Read", G::Read, &CDevice::m_bCdMultiRead, "Supports CD Multi Read"},
    CapabilityBox{kDvdPlusRReadBox, "DVD+R", G::Read, nullptr, nullptr},
    CapabilityBox{kDvdPlusRwReadBox, "DVD+RW", G::Read, nullptr, nullptr},
    CapabilityBox{1176, "DVD+R DL", G::Read, &CDevice::m_bDvdPlusRDlRead, "Supports DVD+R Double Layer Read"},
    CapabilityBox{1498, "DVD+RW DL", G::Read, &CDevice::m_bDvdPlusRwDlRead, nullptr},
    CapabilityBox{1142, "DVD-RAM", G::Read, &CDevice::m_bDvdRamRead, nullptr},
    CapabilityBox{1220, "BD-R", G::Read, &CDevice::m_bBdRRead, nullptr},
    CapabilityBox{1221, "BD-RE", G::Read, &CDevice::m_bBdReRead, nullptr},
    CapabilityBox{1217, "BD-ROM", G::Read, &CDevice::m_bBdRomRead, nullptr},
    CapabilityBox{1492, "HD DVD-R", G::Read, &CDevice::m_bHdDvdMinusRRead, nullptr},
    CapabilityBox{1491, "HD DVD-ROM", G::Read, &CDevice::m_bHdDvdRomRead, nullptr},
    CapabilityBox{1493, "HD DVD-RAM", G::Read, &CDevice::m_bHdDvdRamRead, nullptr},
    CapabilityBox{1231, "DVD-RW DL", G::Read, &CDevice::m_bDvdMinusRwDlRead, nullptr},
    CapabilityBox{1496, "HD DVD-R DL", G::Read, &CDevice::m_bHdDvdMinusRDlRead, nullptr},
    CapabilityBox{1497, "HD DVD-RW", G::Read, &CDevice::m_bHdDvdMinusRwRead, nullptr},
    CapabilityBox{1503, "HD DVD-RW DL", G::Read, &CDevice::m_bHdDvdMinusRwDlRead, nullptr},

    CapabilityBox{1148, "CD-R", G::Write, &CDevice::m_bCdRWrite, nullptr},
    CapabilityBox{1149, "CD-RW", G::Write, &CDevice::m_bCdRwWrite, nullptr},
    CapabilityBox{1180, "DDCD-R/RW", G::Write, &CDevice::m_bDdcdRWrite, nullptr},
    CapabilityBox{1187, "DDCD-RW", G::Write, &CDevice::m_bDdcdRwWrite, nullptr},
    CapabilityBox{1152, "DVD-R", G::Write, &CDevice::m_bDvdMinusRWrite, nullptr},
    CapabilityBox{1153, "DVD-RW", G::Write, &CDevice::m_bDvdMinusRwWrite, nullptr},
    CapabilityBox{1151, "DVD-R DL", G::Write, &CDevice::m_bDvdMinusRDlWrite, "Supports DVD-R Double Layer Write"},
    CapabilityBox{1154, "DVD+R", G::Write, &CDevice::m_bDvdPlusRWrite, nullptr},
    CapabilityBox{1177, "DVD+R DL", G::Write, &CDevice::m_bDvdPlusRDlWrite, "Supports DVD+R Double Layer Write"},
    CapabilityBox{1155, "DVD+RW", G::Write, &CDevice::m_bDvdPlusRwWrite, nullptr},
    CapabilityBox{1499, "DVD+RW DL", G::Write, &CDevice::m_bDvdPlusRwDlWrite, nullptr},
    CapabilityBox{1150, "DVD-RAM", G::Write, &CDevice::m_bDvdRamWritePage, nullptr},
    CapabilityBox{1218, "HD-BURN R", G::Write, &CDevice::m_bHdBurnWrite, nullptr},
    CapabilityBox{1185, "Mount Rainier Write", G::Write, &CDevice::m_bMountRainierWrite, "Supports Mount Rainier Write"},
    CapabilityBox{1190, "CDRW CAV", G::Write, &CDevice::m_bCdRwCav, nullptr},
    CapabilityBox{1188, "CD TAO", G::Write, &CDevice::m_bCdTao, "Supports CD Track At Once Write"},
    CapabilityBox{1189, "CD SAO/RAW", G::Write, &CDevice::m_bCdSaoRaw, "Supports CD Session At Once / Raw Write"},
    CapabilityBox{1494, "HD DVD-R", G::Write, &CDevice::m_bHdDvdMinusRWrite, nullptr},
    CapabilityBox{1495, "HD DVD-RAM", G::Write, &CDevice::m_bHdDvdRamWrite, nullptr},
    CapabilityBox{1232, "DVD-RW DL", G::Write, &CDevice::m_bDvdMinusRwDlWrite, nullptr},
    CapabilityBox{1507, "HD DVD-R DL", G::Write, &CDevice::m_bHdDvdMinusRDlWrite, nullptr},
    CapabilityBox{1508, "HD DVD-RW", G::Write, &CDevice::m_bHdDvdMinusRwWrite, nullptr},
    CapabilityBox{1509, "HD DVD-RW DL", G::Write, &CDevice::m_bHdDvdMinusRwDlWrite, nullptr},
    CapabilityBox{1229, "BD-R", G::Write, &CDevice::m_bBdRWrite, nullptr},
    CapabilityBox{1230, "BD-RE", G::Write, &CDevice::m_bBdReWrite, nullptr},
    CapabilityBox{1219, "HD-BURN RW", G::Unused, nullptr, "Supports HD-BURN RW Write"},

    CapabilityBox{1168, "Test Write", G::General, &CDevice::m_bTestWrite, "Supports test (simulated) writing"},
    CapabilityBox{1214, "LayerJump Recording", G::General, &CDevice::m_bLayerJump, nullptr},
    CapabilityBox{1500, "LightScribe", G::General, &CDevice::m_bLightScribe, "Supports LightScribe disc labelling"},
    CapabilityBox{1501, "LabelFlash", G::General, &CDevice::m_bLabelFlash, "Supports LabelFlash disc labelling"},
    CapabilityBox{1502, "Solid Burn", G::General, &CDevice::m_bSolidBurn, nullptr},
    CapabilityBox{1157, "Buffer Underun", G::General, &CDevice::m_bBufferUnderrun, "Supports buffer underrun protection"},
    CapabilityBox{1167, "MultiSession", G::General, &CDevice::m_bMultiSession, "Supports multi-session discs"},
    CapabilityBox{1169, "ISRC read", G::General, &CDevice::m_bIsrcRead, "Supports reading ISRC codes"},
    CapabilityBox{1170, "UPC read", G::General, &CDevice::m_bUpcRead, "Supports reading UPC codes"},
    CapabilityBox{1171, "Bar code read", G::General, &CDevice::m_bBarCodeRead, "Supports reading disc bar codes"},
    CapabilityBox{1194, "Defect Management", G::General, &CDevice::m_bDefectManagement, nullptr},
    CapabilityBox{1192, "CD Changer", G::General, &CDevice::m_bChanger, "The drive is a disc changer"},
    CapabilityBox{1193, "Power Management", G::General, &CDevice::m_bPowerManagement, nullptr},
    CapabilityBox{1197, "Microcode Upgrade", G::General, &CDevice::m_bMicrocodeUpgrade, "Supports firmware upgrades"},
    CapabilityBox{1195, "CSS/CPPM", G::General, &CDevice::m_bCssCppm, "Supports CSS/CPPM authentication"},
    CapabilityBox{1196, "CPRM Authentication", G::General, &CDevice::m_bCprm, nullptr},
    CapabilityBox{1205, "S.M.A.R.T", G::General, &CDevice::m_bSmart, nullptr},
    CapabilityBox{1206, "Streaming", G::General, &CDevice::m_bStreaming, "Supports real time streaming"},
    CapabilityBox{1208, "Control Blocks", G::General, &CDevice::m_bControlBlocks, "Supports disc control blocks"},
    CapabilityBox{1234, "SecurDisc", G::General, &CDevice::m_bSecurDisc,
                  "Ability to encode/decode SecurDisc protection"},
    CapabilityBox{1235, "QFlix Recording", G::General, &CDevice::m_bQFlix, "Supports QFlix Recording"},
    CapabilityBox{1236, "AACS Authentication", G::General, &CDevice::m_bAacs, nullptr},
    CapabilityBox{1237, "Timely Safe Recording", G::General, &CDevice::m_bTimelySafeRecording, nullptr},
    CapabilityBox{1238, "DVD Download Recording", G::General, &CDevice::m_bDvdDownload, nullptr},
    CapabilityBox{1161, "Audio Play", G::Unused, nullptr, "Supports audio play"},
    CapabilityBox{1162, "Composite out", G::Unused, nullptr, "Has a composite audio and video output"},
    CapabilityBox{1163, "Digital Port 1", G::Unused, nullptr, "Has digital output port 1"},
    CapabilityBox{1164, "Digital Port 2", G::Unused, nullptr, "Has digital output port 2"},
    CapabilityBox{1165, "Mode 1 form", G::Unused, nullptr, "Supports Mode 2 Form 1 reads"},
    CapabilityBox{1166, "Mode 2 form", G::Unused, nullptr, "Supports Mode 2 Form 2 reads"},
};

constexpr std::array kFields = {
    DriveInfoField{1198, "", "Drive vendor and model"},
    DriveInfoField{1199, "Extra Info", "Extra information the drive reports"},
    DriveInfoField{1173, "Firmware Revision", "Firmware revision number"},
    DriveInfoField{1174, "Serial No", "Electronic Serial number"},
    DriveInfoField{1175, "Loader Type", "How discs are loaded"},
    DriveInfoField{1184, "Drive Interface", "Interface standard the drive reports"},
    DriveInfoField{1213, "Connection Interface", "Bus the drive is connected through"},
    DriveInfoField{1158, "Buffer Size", "Size of the drive buffer"},
    DriveInfoField{1172, "Volume Levels", "Number of audio volume levels"},
    DriveInfoField{1204, "User Changes Left", "Number of user region changes left"},
    DriveInfoField{1207, "Vendor Changes Left", "Number of vendor region resets left"},
    DriveInfoField{1202, "Region Code", "DVD region the drive plays"},
    DriveInfoField{1203, "Region Control", "Region protection scheme of the drive"},
};
// clang-format on

}  // namespace

std::span<const CapabilityBox> CapabilityBoxes()
{
    return kBoxes;
}

std::string CapabilityTooltip(const CapabilityBox& box)
{
    if (box.tooltip)
        return box.tooltip;
    const char* suffix = box.group == G::Read ? " Read" : box.group == G::Write ? " Write" : "";
    return std::string("Supports ") + box.caption + suffix;
}

std::span<const DriveInfoField> DriveInfoFields()
{
    return kFields;
}

std::string PhysicalInterfaceName(int physicalInterface)
{
    switch (physicalInterface) {
    case 0: return "Unspecified";
    case 1: return "SCSI";
    case 2: return "ATAPI";
    case 3: return "IEEE1394";
    case 4: return "IEEE1394a";
    case 5: return "FIBRE";
    case 6: return "IEEE1394b";
    case 7: return " Serial ATA";
    case 8: return "USB";
    case 0xFFFF: return "Vendor Unique";
    default: return "Unknown";
    }
}

std::string StorageBusName(int busType)
{
    static const std::array<const char*, 14> names = {"Unknown", "SCSI", "ATAPI", "ATA", "1394", "SSA", "FIBRE",
                                                      "USB",     "RAID", "iSCSI", "SAS", "SATA", "SD",  "MMC"};
    if (busType < 0 || busType >= static_cast<int>(names.size()))
        return "---";
    return names[static_cast<std::size_t>(busType)];
}

std::string LoaderName(std::uint8_t loadingMechanism)
{
    switch (loadingMechanism >> 5) {
    case 0: return "Slot/Caddy";
    case 1: return "     Tray";
    case 2: return "   Pop-up";
    case 4: return "  Changer";
    case 5: return " Magazine";
    case 6: return "  DVD-RAM";
    default: return "  Unknown";
    }
}

std::string RegionCodeName(int regionMask)
{
    // A clear bit is a region the drive plays: bit 0 region 1 ... bit 7 region 8.
    std::string regions;
    for (int bit = 0; bit < 8; ++bit)
        if (!(regionMask & (1 << bit)))
            regions += (regions.empty() ? "" : ",") + std::to_string(bit + 1);
    return regions.empty() ? "Unset" : regions;
}

std::string RegionControlName(int rpcScheme)
{
    switch (rpcScheme) {
    case 0: return "RPC-1";
    case 1: return "RPC-2";
    default: return "N/A";
    }
}

DriveInfoPage MakeDriveInfoPage(CDevice& device, std::uint8_t loadingMechanism)
{
    DriveInfoPage page;
    auto& texts = page.texts;
    texts[1198] = device.m_strIdentity;
    const std::string extra = TrimText(device.m_strVendorSpecific);
    texts[1199] = extra.size() > 1 ? extra : "";
    texts[1173] = Format("%4s", device.m_strFirmware.c_str());
    texts[1174] = device.m_szSerialNumber;
    texts[1175] = LoaderName(loadingMechanism);
    texts[1184] = PhysicalInterfaceName(device.m_nPhysicalInterface);
    texts[1213] = StorageBusName(device.m_nBusType);
    if (device.m_nBufferSizeKB > 0)
        texts[1158] = Format("%dKB", device.m_nBufferSizeKB);
    if (device.m_nVolumeLevels > 0)
        texts[1172] = Format("%d", device.m_nVolumeLevels);

    if (!device.m_bDvdDrive) {
        texts[1204] = texts[1207] = texts[1202] = texts[1203] = "N/A";
    } else if (device.m_nUserChangesLeft || device.m_nVendorResetsLeft || device.m_nRegionMask || device.m_nRpcScheme) {
        texts[1204] = Format("%d", device.m_nUserChangesLeft);
        texts[1207] = Format("%d", device.m_nVendorResetsLeft);
        texts[1202] = device.m_nRegionTypeCode ? RegionCodeName(device.m_nRegionMask) : "Unset";
        texts[1203] = RegionControlName(device.m_nRpcScheme);
    } else {
        LogEntry("OnDriveinfo() - SCSI_REPORT_KEY failed - Region free or hacked out?");
        texts[1202] = "All";
        texts[1204] = texts[1207] = "N/A";
        texts[1203] = "RPC-1";
    }

    if (device.m_bDvdPlusRRead)
        device.m_bDvdPlusRwRead = 1;
    for (const CapabilityBox& box : kBoxes) {
        if (box.field)
            page.boxes[box.id] = device.*box.field ? 1 : 0;
    }
    page.boxes[kDvdPlusRReadBox] = device.m_bDvdPlusRRead || device.m_bDvdPlusRWrite;
    page.boxes[kDvdPlusRwReadBox] = device.m_bDvdPlusRwRead || device.m_bDvdPlusRwWrite;
    return page;
}

void ClearHdBdFlags(CDevice& device)
{
    for (int CDevice::*flag :
         {&CDevice::m_bHdBurnRead, &CDevice::m_bHdBurnWrite, &CDevice::m_bHdBurnFeature82, &CDevice::m_bBdRRead,
          &CDevice::m_bBdRRrmRead, &CDevice::m_bBdReRead, &CDevice::m_bBdRomRead, &CDevice::m_bBdRWrite,
          &CDevice::m_bBdReWrite, &CDevice::m_bBdRRrmWrite, &CDevice::m_bHdDvdRomRead, &CDevice::m_bHdDvdMinusRRead,
          &CDevice::m_bHdDvdMinusRWrite, &CDevice::m_bHdDvdRamRead, &CDevice::m_bHdDvdRamWrite})
        device.*flag = 0;
}
