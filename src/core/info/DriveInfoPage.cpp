#include "core/info/DriveInfoPage.h"

#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "platform/text/Trim.h"

#include <algorithm>
#include <array>

namespace {

using G = CapabilityGroup;

// clang-format off
constexpr std::array kBoxes = {
    CapabilityBox{IDC_READ_CD_R, "CD-R", G::Read, &CDevice::m_bCdRRead, nullptr},
    CapabilityBox{IDC_READ_CD_RW, "CD-RW", G::Read, &CDevice::m_bCdRwRead, nullptr},
    CapabilityBox{IDC_READ_CD_METHOD2, "CD Method 2", G::Read, &CDevice::m_bCdMethod2, nullptr},
    CapabilityBox{IDC_READ_DDCD, "DDCD-R/RW", G::Read, &CDevice::m_bDdcdRead, nullptr},
    CapabilityBox{IDC_READ_DVD_ROM, "DVD-ROM", G::Read, &CDevice::m_bDvdRomRead, nullptr},
    CapabilityBox{IDC_READ_DVD_MINUS_R, "DVD-R", G::Read, &CDevice::m_bDvdMinusRRead, nullptr},
    CapabilityBox{IDC_READ_DVD_MINUS_R_DL, "DVD-R DL", G::Read, &CDevice::m_bDvdMinusRDlRead, "Supports DVD-R Double Layer Read"},
    CapabilityBox{IDC_READ_DVD_MINUS_RW, "DVD-RW", G::Read, &CDevice::m_bDvdMinusRwRead, nullptr},
    CapabilityBox{IDC_READ_HDBURN_R, "HD-BURN-R", G::Read, &CDevice::m_bHdBurnRead, nullptr},
    CapabilityBox{IDC_READ_HDBURN_RW, "HD-BURN-RW", G::Read, &CDevice::m_bHdBurnRead, nullptr},
    CapabilityBox{IDC_READ_MOUNT_RAINIER, "Mount Rainier Read", G::Read, &CDevice::m_bMountRainierRead, "Supports Mount Rainier Read"},
    CapabilityBox{IDC_READ_CD_MULTI, "CD Multi Read", G::Read, &CDevice::m_bCdMultiRead, "Supports CD Multi Read"},
    CapabilityBox{IDC_READ_DVD_PLUS_R, "DVD+R", G::Read, nullptr, nullptr},
    CapabilityBox{IDC_READ_DVD_PLUS_RW, "DVD+RW", G::Read, nullptr, nullptr},
    CapabilityBox{IDC_READ_DVD_PLUS_R_DL, "DVD+R DL", G::Read, &CDevice::m_bDvdPlusRDlRead, "Supports DVD+R Double Layer Read"},
    CapabilityBox{IDC_READ_DVD_PLUS_RW_DL, "DVD+RW DL", G::Read, &CDevice::m_bDvdPlusRwDlRead, nullptr},
    CapabilityBox{IDC_READ_DVD_RAM, "DVD-RAM", G::Read, &CDevice::m_bDvdRamRead, nullptr},
    CapabilityBox{IDC_READ_BD_R, "BD-R", G::Read, &CDevice::m_bBdRRead, nullptr},
    CapabilityBox{IDC_READ_BD_RE, "BD-RE", G::Read, &CDevice::m_bBdReRead, nullptr},
    CapabilityBox{IDC_READ_BD_ROM, "BD-ROM", G::Read, &CDevice::m_bBdRomRead, nullptr},
    CapabilityBox{IDC_READ_HDDVD_R, "HD DVD-R", G::Read, &CDevice::m_bHdDvdMinusRRead, nullptr},
    CapabilityBox{IDC_READ_HDDVD_ROM, "HD DVD-ROM", G::Read, &CDevice::m_bHdDvdRomRead, nullptr},
    CapabilityBox{IDC_READ_HDDVD_RAM, "HD DVD-RAM", G::Read, &CDevice::m_bHdDvdRamRead, nullptr},
    CapabilityBox{IDC_READ_DVD_MINUS_RW_DL, "DVD-RW DL", G::Read, &CDevice::m_bDvdMinusRwDlRead, nullptr},
    CapabilityBox{IDC_READ_HDDVD_R_DL, "HD DVD-R DL", G::Read, &CDevice::m_bHdDvdMinusRDlRead, nullptr},
    CapabilityBox{IDC_READ_HDDVD_RW, "HD DVD-RW", G::Read, &CDevice::m_bHdDvdMinusRwRead, nullptr},
    CapabilityBox{IDC_READ_HDDVD_RW_DL, "HD DVD-RW DL", G::Read, &CDevice::m_bHdDvdMinusRwDlRead, nullptr},

    CapabilityBox{IDC_WRITE_CD_R, "CD-R", G::Write, &CDevice::m_bCdRWrite, nullptr},
    CapabilityBox{IDC_WRITE_CD_RW, "CD-RW", G::Write, &CDevice::m_bCdRwWrite, nullptr},
    CapabilityBox{IDC_WRITE_DDCD_R, "DDCD-R/RW", G::Write, &CDevice::m_bDdcdRWrite, nullptr},
    CapabilityBox{IDC_WRITE_DDCD_RW, "DDCD-RW", G::Write, &CDevice::m_bDdcdRwWrite, nullptr},
    CapabilityBox{IDC_WRITE_DVD_MINUS_R, "DVD-R", G::Write, &CDevice::m_bDvdMinusRWrite, nullptr},
    CapabilityBox{IDC_WRITE_DVD_MINUS_RW, "DVD-RW", G::Write, &CDevice::m_bDvdMinusRwWrite, nullptr},
    CapabilityBox{IDC_WRITE_DVD_MINUS_R_DL, "DVD-R DL", G::Write, &CDevice::m_bDvdMinusRDlWrite, "Supports DVD-R Double Layer Write"},
    CapabilityBox{IDC_WRITE_DVD_PLUS_R, "DVD+R", G::Write, &CDevice::m_bDvdPlusRWrite, nullptr},
    CapabilityBox{IDC_WRITE_DVD_PLUS_R_DL, "DVD+R DL", G::Write, &CDevice::m_bDvdPlusRDlWrite, "Supports DVD+R Double Layer Write"},
    CapabilityBox{IDC_WRITE_DVD_PLUS_RW, "DVD+RW", G::Write, &CDevice::m_bDvdPlusRwWrite, nullptr},
    CapabilityBox{IDC_WRITE_DVD_PLUS_RW_DL, "DVD+RW DL", G::Write, &CDevice::m_bDvdPlusRwDlWrite, nullptr},
    CapabilityBox{IDC_WRITE_DVD_RAM, "DVD-RAM", G::Write, &CDevice::m_bDvdRamWritePage, nullptr},
    CapabilityBox{IDC_WRITE_HDBURN_R, "HD-BURN R", G::Write, &CDevice::m_bHdBurnWrite, nullptr},
    CapabilityBox{IDC_WRITE_MOUNT_RAINIER, "Mount Rainier Write", G::Write, &CDevice::m_bMountRainierWrite, "Supports Mount Rainier Write"},
    CapabilityBox{IDC_WRITE_CDRW_CAV, "CDRW CAV", G::Write, &CDevice::m_bCdRwCav, nullptr},
    CapabilityBox{IDC_WRITE_CD_TAO, "CD TAO", G::Write, &CDevice::m_bCdTao, "Supports CD Track At Once Write"},
    CapabilityBox{IDC_WRITE_CD_SAO_RAW, "CD SAO/RAW", G::Write, &CDevice::m_bCdSaoRaw, "Supports CD Session At Once / Raw Write"},
    CapabilityBox{IDC_WRITE_HDDVD_R, "HD DVD-R", G::Write, &CDevice::m_bHdDvdMinusRWrite, nullptr},
    CapabilityBox{IDC_WRITE_HDDVD_RAM, "HD DVD-RAM", G::Write, &CDevice::m_bHdDvdRamWrite, nullptr},
    CapabilityBox{IDC_WRITE_DVD_MINUS_RW_DL, "DVD-RW DL", G::Write, &CDevice::m_bDvdMinusRwDlWrite, nullptr},
    CapabilityBox{IDC_WRITE_HDDVD_R_DL, "HD DVD-R DL", G::Write, &CDevice::m_bHdDvdMinusRDlWrite, nullptr},
    CapabilityBox{IDC_WRITE_HDDVD_RW, "HD DVD-RW", G::Write, &CDevice::m_bHdDvdMinusRwWrite, nullptr},
    CapabilityBox{IDC_WRITE_HDDVD_RW_DL, "HD DVD-RW DL", G::Write, &CDevice::m_bHdDvdMinusRwDlWrite, nullptr},
    CapabilityBox{IDC_WRITE_BD_R, "BD-R", G::Write, &CDevice::m_bBdRWrite, nullptr},
    CapabilityBox{IDC_WRITE_BD_RE, "BD-RE", G::Write, &CDevice::m_bBdReWrite, nullptr},
    CapabilityBox{IDC_WRITE_HDBURN_RW, "HD-BURN RW", G::Unused, nullptr, "Supports HD-BURN RW Write"},

    CapabilityBox{IDC_TEST_WRITE, "Test Write", G::General, &CDevice::m_bTestWrite, "Supports test (simulated) writing"},
    CapabilityBox{IDC_LAYER_JUMP, "LayerJump Recording", G::General, &CDevice::m_bLayerJump, nullptr},
    CapabilityBox{IDC_LIGHTSCRIBE, "LightScribe", G::General, &CDevice::m_bLightScribe, "Supports LightScribe disc labelling"},
    CapabilityBox{IDC_LABELFLASH, "LabelFlash", G::General, &CDevice::m_bLabelFlash, "Supports LabelFlash disc labelling"},
    CapabilityBox{IDC_SOLID_BURN, "Solid Burn", G::General, &CDevice::m_bSolidBurn, nullptr},
    CapabilityBox{IDC_BUFFER_UNDERRUN, "Buffer Underun", G::General, &CDevice::m_bBufferUnderrun, "Supports buffer underrun protection"},
    CapabilityBox{IDC_MULTISESSION, "MultiSession", G::General, &CDevice::m_bMultiSession, "Supports multi-session discs"},
    CapabilityBox{IDC_ISRC_READ, "ISRC read", G::General, &CDevice::m_bIsrcRead, "Supports reading ISRC codes"},
    CapabilityBox{IDC_UPC_READ, "UPC read", G::General, &CDevice::m_bUpcRead, "Supports reading UPC codes"},
    CapabilityBox{IDC_BAR_CODE_READ, "Bar code read", G::General, &CDevice::m_bBarCodeRead, "Supports reading disc bar codes"},
    CapabilityBox{IDC_DEFECT_MANAGEMENT, "Defect Management", G::General, &CDevice::m_bDefectManagement, nullptr},
    CapabilityBox{IDC_CD_CHANGER, "CD Changer", G::General, &CDevice::m_bChanger, "The drive is a disc changer"},
    CapabilityBox{IDC_POWER_MANAGEMENT, "Power Management", G::General, &CDevice::m_bPowerManagement, nullptr},
    CapabilityBox{IDC_MICROCODE_UPGRADE, "Microcode Upgrade", G::General, &CDevice::m_bMicrocodeUpgrade, "Supports firmware upgrades"},
    CapabilityBox{IDC_CSS_CPPM, "CSS/CPPM", G::General, &CDevice::m_bCssCppm, "Supports CSS/CPPM authentication"},
    CapabilityBox{IDC_CPRM, "CPRM Authentication", G::General, &CDevice::m_bCprm, nullptr},
    CapabilityBox{IDC_SMART, "S.M.A.R.T", G::General, &CDevice::m_bSmart, nullptr},
    CapabilityBox{IDC_STREAMING, "Streaming", G::General, &CDevice::m_bStreaming, "Supports real time streaming"},
    CapabilityBox{IDC_CONTROL_BLOCKS, "Control Blocks", G::General, &CDevice::m_bControlBlocks, "Supports disc control blocks"},
    CapabilityBox{IDC_SECURDISC, "SecurDisc", G::General, &CDevice::m_bSecurDisc,
                  "Ability to encode/decode SecurDisc protection"},
    CapabilityBox{IDC_QFLIX, "QFlix Recording", G::General, &CDevice::m_bQFlix, "Supports QFlix Recording"},
    CapabilityBox{IDC_AACS, "AACS Authentication", G::General, &CDevice::m_bAacs, nullptr},
    CapabilityBox{IDC_TIMELY_SAFE_RECORDING, "Timely Safe Recording", G::General, &CDevice::m_bTimelySafeRecording, nullptr},
    CapabilityBox{IDC_DVD_DOWNLOAD, "DVD Download Recording", G::General, &CDevice::m_bDvdDownload, nullptr},
    CapabilityBox{IDC_AUDIO_PLAY, "Audio Play", G::Unused, nullptr, "Supports audio play"},
    CapabilityBox{IDC_COMPOSITE_OUT, "Composite out", G::Unused, nullptr, "Has a composite audio and video output"},
    CapabilityBox{IDC_DIGITAL_PORT1, "Digital Port 1", G::Unused, nullptr, "Has digital output port 1"},
    CapabilityBox{IDC_DIGITAL_PORT2, "Digital Port 2", G::Unused, nullptr, "Has digital output port 2"},
    CapabilityBox{IDC_MODE1_FORM, "Mode 1 form", G::Unused, nullptr, "Supports Mode 2 Form 1 reads"},
    CapabilityBox{IDC_MODE2_FORM, "Mode 2 form", G::Unused, nullptr, "Supports Mode 2 Form 2 reads"},
};

constexpr std::array kFields = {
    DriveInfoField{IDC_MODEL, "", "Drive vendor and model"},
    DriveInfoField{IDC_EXTRA_INFO, "Extra Info", "Extra information the drive reports"},
    DriveInfoField{IDC_FIRMWARE, "Firmware Revision", "Firmware revision number"},
    DriveInfoField{IDC_SERIAL_NO, "Serial No", "Electronic Serial number"},
    DriveInfoField{IDC_LOADER_TYPE, "Loader Type", "How discs are loaded"},
    DriveInfoField{IDC_DRIVE_INTERFACE, "Drive Interface", "Interface standard the drive reports"},
    DriveInfoField{IDC_CONNECTION_INTERFACE, "Connection Interface", "Bus the drive is connected through"},
    DriveInfoField{IDC_BUFFER_SIZE, "Buffer Size", "Size of the drive buffer"},
    DriveInfoField{IDC_VOLUME_LEVELS, "Volume Levels", "Number of audio volume levels"},
    DriveInfoField{IDC_USER_CHANGES, "User Changes Left", "Number of user region changes left"},
    DriveInfoField{IDC_VENDOR_CHANGES, "Vendor Changes Left", "Number of vendor region resets left"},
    DriveInfoField{IDC_REGION_CODE, "Region Code", "DVD region the drive plays"},
    DriveInfoField{IDC_REGION_CONTROL, "Region Control", "Region protection scheme of the drive"},
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

std::string DriveInfoPageText(const DriveInfoPage& page)
{
    const auto line = [](const std::string& label, const std::string& value) {
        if (label.empty())
            return value + "\n";
        return value.empty() ? label + ":\n" : Format("%-24s%s\n", (label + ":").c_str(), value.c_str());
    };
    std::string text;
    for (const DriveInfoField& field : kFields) {
        const auto shown = page.texts.find(field.id);
        text += line(field.label, shown == page.texts.end() ? std::string() : TrimText(shown->second, " "));
    }
    const std::pair<G, const char*> groups[] = {{G::Read, "Reads"}, {G::Write, "Writes"}, {G::General, "Features"}};
    std::string unknown;
    for (const auto& [group, title] : groups) {
        std::string names;
        for (const CapabilityBox& box : kBoxes) {
            const auto state = page.boxes.find(box.id);
            if (box.group != group || state == page.boxes.end())
                continue;
            const std::string name = group == G::General
                ? box.caption
                : std::string(box.caption) + (group == G::Read ? " read" : " write");
            if (state->second == kUnknownBox)
                unknown += (unknown.empty() ? "" : ", ") + name;
            else if (state->second == 1)
                names += (names.empty() ? "" : ", ") + std::string(box.caption);
        }
        text += line(title, names);
    }
    if (!unknown.empty())
        text += line("Not told by the drive", unknown);
    return text;
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

namespace {

using Field = int CDevice::*;

// Where a box's field is read from; each box whose source was not read is unknown.
enum class Source { Features, CapabilitiesPage, ModePages, FeaturesOrPage };

Source SourceOf(Field field)
{
    // clang-format off
    static const Field capabilitiesPage[] = {
        &CDevice::m_bCdMethod2, &CDevice::m_bDvdRomRead, &CDevice::m_bDvdRamWritePage, &CDevice::m_bTestWrite,
        &CDevice::m_bBufferUnderrun, &CDevice::m_bMultiSession, &CDevice::m_bIsrcRead, &CDevice::m_bUpcRead,
        &CDevice::m_bBarCodeRead};
    static const Field featuresOrPage[] = {
        &CDevice::m_bCdRRead, &CDevice::m_bCdRwRead, &CDevice::m_bCdRWrite, &CDevice::m_bCdRwWrite,
        &CDevice::m_bDvdMinusRRead, &CDevice::m_bDvdMinusRwRead, &CDevice::m_bDvdRamRead, &CDevice::m_bLightScribe};
    // clang-format on
    const auto in = [&](const auto& fields) {
        return std::find(std::begin(fields), std::end(fields), field) != std::end(fields);
    };
    if (in(capabilitiesPage))
        return Source::CapabilitiesPage;
    if (in(featuresOrPage))
        return Source::FeaturesOrPage;
    if (field == &CDevice::m_bLabelFlash || field == &CDevice::m_bSolidBurn)
        return Source::ModePages;
    return Source::Features;
}

bool Known(const CDevice& device, Source source)
{
    switch (source) {
    case Source::Features: return device.m_bFeaturesRead;
    case Source::CapabilitiesPage: return device.m_bCapabilitiesPageRead;
    case Source::ModePages: return device.m_bModePagesRead;
    case Source::FeaturesOrPage: return device.m_bFeaturesRead || device.m_bCapabilitiesPageRead;
    }
    return false;
}

void RegionTexts(const CDevice& device, std::map<int, std::string>& texts)
{
    if (!device.m_bDvdDrive || !device.m_bRegionRead) {
        // No DVD drive, or one that did not tell its region state.
        texts[IDC_USER_CHANGES] = texts[IDC_VENDOR_CHANGES] = texts[IDC_REGION_CODE] = texts[IDC_REGION_CONTROL]
            = "N/A";
    } else if (device.m_nUserChangesLeft || device.m_nVendorResetsLeft || device.m_nRegionMask || device.m_nRpcScheme) {
        texts[IDC_USER_CHANGES] = Format("%d", device.m_nUserChangesLeft);
        texts[IDC_VENDOR_CHANGES] = Format("%d", device.m_nVendorResetsLeft);
        texts[IDC_REGION_CODE] = device.m_nRegionTypeCode ? RegionCodeName(device.m_nRegionMask) : "Unset";
        texts[IDC_REGION_CONTROL] = RegionControlName(device.m_nRpcScheme);
    } else {
        LogEntry("OnDriveinfo() - SCSI_REPORT_KEY failed - Region free or hacked out?");
        texts[IDC_REGION_CODE] = "All";
        texts[IDC_USER_CHANGES] = texts[IDC_VENDOR_CHANGES] = "N/A";
        texts[IDC_REGION_CONTROL] = "RPC-1";
    }
}

}  // namespace

DriveInfoPage MakeDriveInfoPage(CDevice& device, std::optional<std::uint8_t> loadingMechanism)
{
    DriveInfoPage page;
    auto& texts = page.texts;
    texts[IDC_MODEL] = device.m_strIdentity;
    const std::string extra = TrimText(device.m_strVendorSpecific);
    texts[IDC_EXTRA_INFO] = extra.size() > 1 ? extra : "";
    texts[IDC_FIRMWARE] = Format("%4s", device.m_strFirmware.c_str());
    texts[IDC_SERIAL_NO] = device.m_bSerialNumberRead ? device.m_szSerialNumber : kUnknownText;
    texts[IDC_LOADER_TYPE] = loadingMechanism ? LoaderName(*loadingMechanism) : kUnknownText;
    texts[IDC_DRIVE_INTERFACE] = device.m_bPhysicalInterfaceRead ? PhysicalInterfaceName(device.m_nPhysicalInterface)
                                                                 : kUnknownText;
    texts[IDC_CONNECTION_INTERFACE] = StorageBusName(device.m_nBusType);
    if (device.m_bCapabilitiesPageRead && device.m_nBufferSizeKB > 0)
        texts[IDC_BUFFER_SIZE] = Format("%dKB", device.m_nBufferSizeKB);
    if (device.m_bCapabilitiesPageRead && device.m_nVolumeLevels > 0)
        texts[IDC_VOLUME_LEVELS] = Format("%d", device.m_nVolumeLevels);
    RegionTexts(device, texts);

    if (device.m_bDvdPlusRRead)
        device.m_bDvdPlusRwRead = 1;
    for (const CapabilityBox& box : kBoxes) {
        if (box.field)
            page.boxes[box.id] = !Known(device, SourceOf(box.field)) ? kUnknownBox : device.*box.field ? 1 : 0;
    }
    const int plusUnknown = device.m_bFeaturesRead ? 0 : kUnknownBox;
    page.boxes[IDC_READ_DVD_PLUS_R] = plusUnknown ? plusUnknown : device.m_bDvdPlusRRead || device.m_bDvdPlusRWrite;
    page.boxes[IDC_READ_DVD_PLUS_RW] = plusUnknown ? plusUnknown : device.m_bDvdPlusRwRead || device.m_bDvdPlusRwWrite;
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
