#include "core/drive/CapabilityWalks.h"

#include "core/base/LogFile.h"
#include "scsi/Bytes.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace {

using Flag = int CDevice::*;
using Flags = std::array<Flag, 4>;  // unused slots are null

struct CodeFlags {
    std::uint16_t code;
    Flags flags;
};

constexpr CodeFlags kProfileFlags[] = {
    {0x0002, {&CDevice::m_bRemovableDisk}},
    {0x0005, {&CDevice::m_bAsMo}},
    {0x0008, {&CDevice::m_bCdRom}},
    {0x0009, {&CDevice::m_bCdRWrite, &CDevice::m_bCdRRead}},
    {0x000A, {&CDevice::m_bCdRwWrite, &CDevice::m_bCdRwRead}},
    {0x0010, {&CDevice::m_bDvdRom}},
    {0x0011, {&CDevice::m_bDvdMinusRWrite, &CDevice::m_bDvdMinusRRead}},
    {0x0012, {&CDevice::m_bDvdRamWrite, &CDevice::m_bDvdRamRead}},
    {0x0013, {&CDevice::m_bDvdMinusRwWrite, &CDevice::m_bDvdMinusRwRead}},
    {0x0014, {&CDevice::m_bDvdMinusRwWrite, &CDevice::m_bDvdMinusRwRead}},
    {0x002C, {&CDevice::m_bDvdMinusRwWrite, &CDevice::m_bDvdMinusRwRead}},
    {0x0015, {&CDevice::m_bDvdMinusRDlRead, &CDevice::m_bDvdMinusRDlWrite}},
    {0x0016, {&CDevice::m_bDvdMinusRDlRead, &CDevice::m_bDvdMinusRDlWrite}},
    {0xFF53, {&CDevice::m_bDvdMinusRDlRead, &CDevice::m_bDvdMinusRDlWrite}},
    {0x0017, {&CDevice::m_bDvdMinusRwDlRead, &CDevice::m_bDvdMinusRwDlWrite}},
    {0x0018, {&CDevice::m_bQFlix}},
    {0x001A, {&CDevice::m_bDvdPlusRwRead}},
    {0x001B, {&CDevice::m_bDvdPlusRRead}},
    {0x002B, {&CDevice::m_bDvdPlusRDlRead}},
    {0x0020, {&CDevice::m_bDdcdRead}},
    {0x0021, {&CDevice::m_bDdcdRWrite}},
    {0x0022, {&CDevice::m_bDdcdRwWrite}},
    {0x0040, {&CDevice::m_bBdRRead, &CDevice::m_bBdRRrmRead, &CDevice::m_bBdReRead, &CDevice::m_bBdRomRead}},
    {0x0041, {&CDevice::m_bBdRRead, &CDevice::m_bBdRWrite}},
    {0x0042, {&CDevice::m_bBdRRrmRead, &CDevice::m_bBdRRrmWrite}},
    {0x0043, {&CDevice::m_bBdReRead, &CDevice::m_bBdReWrite}},
    {0x0050, {&CDevice::m_bHdDvdRomRead}},
    {0x0051, {&CDevice::m_bHdDvdMinusRRead, &CDevice::m_bHdDvdMinusRWrite}},
    {0x0052, {&CDevice::m_bHdDvdRamRead, &CDevice::m_bHdDvdRamWrite}},
    {0x0053, {&CDevice::m_bHdDvdMinusRwRead, &CDevice::m_bHdDvdMinusRwWrite}},
    {0x0058, {&CDevice::m_bHdDvdMinusRDlRead, &CDevice::m_bHdDvdMinusRDlWrite}},
    {0x005A, {&CDevice::m_bHdDvdMinusRwDlRead, &CDevice::m_bHdDvdMinusRwDlWrite}},
    {0x0080, {&CDevice::m_bHdBurnRead}},
    {0x0081, {&CDevice::m_bHdBurnWrite}},
    {0x0082, {&CDevice::m_bHdBurnWrite}},
};

// Features whose presence alone raises flags; those with bodies to read are
// handled beside this table.
constexpr CodeFlags kFeatureFlags[] = {
    {0x001D, {&CDevice::m_bCdMultiRead}},
    {0x001E, {&CDevice::m_bCdRom}},
    {0x001F, {&CDevice::m_bDvdRom}},
    {0x0024, {&CDevice::m_bDefectManagement}},
    {0x0027, {&CDevice::m_bCdRwCav}},
    {0x0028, {&CDevice::m_bMountRainierRead}},
    {0x002A, {&CDevice::m_bDvdPlusRwRead}},
    {0x002B, {&CDevice::m_bDvdPlusRRead}},
    {0x002D, {&CDevice::m_bCdTao}},
    {0x002E, {&CDevice::m_bCdSaoRaw}},
    {0x002F,
     {&CDevice::m_bDvdMinusRRead, &CDevice::m_bDvdMinusRwRead, &CDevice::m_bDvdMinusRwWrite,
      &CDevice::m_bDvdMinusRWrite}},
    {0x0030, {&CDevice::m_bDdcdRead}},
    {0x0031, {&CDevice::m_bDdcdRWrite}},
    {0x0032, {&CDevice::m_bDdcdRwWrite}},
    {0x0033, {&CDevice::m_bLayerJump}},
    {0x0038, {&CDevice::m_bBdRRead, &CDevice::m_bBdRWrite}},
    {0x003A, {&CDevice::m_bDvdPlusRwDlRead}},
    {0x003B, {&CDevice::m_bDvdPlusRDlRead}},
    {0x0042, {&CDevice::m_bTimelySafeRecording}},
    {0x0050, {&CDevice::m_bHdDvdRomRead}},
    {0x0080, {&CDevice::m_bHdBurnRead}},
    {0x0081, {&CDevice::m_bHdBurnWrite}},
    {0x0082, {&CDevice::m_bHdBurnFeature82}},
    {0x0100, {&CDevice::m_bPowerManagement}},
    {0x0101, {&CDevice::m_bSmart}},
    {0x0102, {&CDevice::m_bChanger}},
    {0x0104, {&CDevice::m_bMicrocodeUpgrade}},
    {0x0106, {&CDevice::m_bCssCppm}},
    {0x0107, {&CDevice::m_bStreaming}},
    {0x010A, {&CDevice::m_bControlBlocks}},
    {0x010B, {&CDevice::m_bCprm}},
    {0x010D, {&CDevice::m_bAacs}},
    {0x010E, {&CDevice::m_bDvdDownload}},
    {0x0113, {&CDevice::m_bSecurDisc}},
    {0xFF33, {&CDevice::m_bLightScribe}},
    {0xFFF3, {&CDevice::m_bQFlix}},
};

void Raise(CDevice& device, const CodeFlags* table, std::size_t count, std::uint16_t code)
{
    for (const CodeFlags* entry = table; entry != table + count; ++entry)
        if (entry->code == code)
            for (Flag flag : entry->flags)
                if (flag)
                    device.*flag = 1;
}

void RaiseAll(CDevice& device, std::initializer_list<Flag> flags)
{
    for (Flag flag : flags)
        device.*flag = 1;
}

void ClearAll(CDevice& device, std::initializer_list<Flag> flags)
{
    for (Flag flag : flags)
        device.*flag = 0;
}

bool AnySet(const CDevice& device, std::initializer_list<Flag> flags)
{
    return std::any_of(flags.begin(), flags.end(), [&](Flag flag) { return device.*flag != 0; });
}

// The bytes of an answer, a descriptor or a page that were really given:
// anything past them reads as 0.
class Extent {
public:
    explicit Extent(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    std::size_t size() const { return m_bytes.size(); }
    std::span<const std::uint8_t> Bytes() const { return m_bytes; }
    std::uint8_t operator[](std::size_t index) const { return index < m_bytes.size() ? m_bytes[index] : 0; }
    unsigned Bit(std::size_t index, int bit) const { return ((*this)[index] >> bit) & 1u; }
    std::uint16_t Be16(std::size_t index) const
    {
        const std::uint8_t bytes[2] = {(*this)[index], (*this)[index + 1]};
        return scsi::GetBe16(bytes);
    }
    std::uint32_t Be32(std::size_t index) const
    {
        const std::uint8_t bytes[4] = {(*this)[index], (*this)[index + 1], (*this)[index + 2], (*this)[index + 3]};
        return scsi::GetBe32(bytes);
    }
    // The 8-bit sum of [from, to).
    std::uint8_t Sum(std::size_t from, std::size_t to) const
    {
        unsigned sum = 0;
        for (std::size_t i = from; i < to; ++i)
            sum += (*this)[i];
        return static_cast<std::uint8_t>(sum);
    }
    Extent Slice(std::size_t offset, std::size_t length) const
    {
        if (offset >= m_bytes.size())
            return Extent({});
        return Extent(m_bytes.subspan(offset, std::min(length, m_bytes.size() - offset)));
    }

private:
    std::span<const std::uint8_t> m_bytes;
};

// The part of a buffer an answer claims for itself: `declared` bytes, but
// never more than the buffer holds.
Extent AnswerExtent(std::span<const std::uint8_t> buffer, std::uint64_t declared)
{
    return Extent(buffer.first(static_cast<std::size_t>(std::min<std::uint64_t>(buffer.size(), declared))));
}

// GET CONFIGURATION: the data length (bytes 0-3) counts the bytes after itself.
Extent ConfigurationExtent(std::span<const std::uint8_t> buffer)
{
    if (buffer.size() < 4)
        return Extent({});
    return AnswerExtent(buffer, std::uint64_t{Extent(buffer).Be32(0)} + 4);
}

void ApplyFeatureBody(CDevice& device, std::uint16_t code, const Extent& descriptor)
{
    switch (code) {
    case 0x0001:
        device.m_nPhysicalInterface = static_cast<int>(descriptor.Be32(4));
        device.m_bPhysicalInterfaceRead = descriptor.size() >= 8;
        break;
    case 0x0028:
        if (descriptor.Bit(4, 0))
            device.m_bMountRainierWrite = 1;
        break;
    case 0x002A:
        if (descriptor.Bit(4, 0))
            device.m_bDvdPlusRwWrite = 1;
        break;
    case 0x002B:
        if (descriptor.Bit(4, 0))
            device.m_bDvdPlusRWrite = 1;
        break;
    case 0x003A: device.m_bDvdPlusRwDlWrite = static_cast<int>(descriptor.Bit(4, 0)); break;
    case 0x003B: device.m_bDvdPlusRDlWrite = static_cast<int>(descriptor.Bit(4, 0)); break;
    case 0x0040:
        if (descriptor.Sum(24, 32) != 0)
            device.m_bBdRomRead = 1;
        break;
    case 0x0041:
        if (descriptor.Sum(8, 16) != 0)
            device.m_bBdRWrite = 1;
        break;
    case 0x0051:
        if (descriptor.Bit(4, 0))
            RaiseAll(device, {&CDevice::m_bHdDvdMinusRRead, &CDevice::m_bHdDvdMinusRWrite});
        if (descriptor.Bit(6, 0))
            RaiseAll(device, {&CDevice::m_bHdDvdRamRead, &CDevice::m_bHdDvdRamWrite});
        break;
    default: break;
    }
}

}  // namespace

std::vector<ProfileEntry> WalkProfileList(std::span<const std::uint8_t> answer, bool* cutShort)
{
    if (cutShort)
        *cutShort = false;
    if (answer.size() < 12 || Extent(answer).Be32(0) < 12)
        return {};
    const Extent extent = ConfigurationExtent(answer);
    constexpr std::size_t kListStart = 8;
    // The Profile List's own header comes first: its code reads as profile 0000h.
    std::vector<ProfileEntry> entries = {{extent.Be16(kListStart), extent.Bit(kListStart + 2, 0) != 0}};
    const std::size_t profiles = extent[kListStart + 3] / 4;
    for (std::size_t index = 1; index <= profiles; ++index) {
        const std::size_t offset = kListStart + 4 * index;
        if (offset + 4 > extent.size()) {
            if (cutShort)
                *cutShort = true;
            break;
        }
        entries.push_back({extent.Be16(offset), extent.Bit(offset + 2, 0) != 0});
    }
    return entries;
}

std::vector<FeatureEntry> WalkFeatures(std::span<const std::uint8_t> answer)
{
    std::vector<FeatureEntry> entries;
    const Extent extent = ConfigurationExtent(answer);
    for (std::size_t offset = 8; offset + 4 <= extent.size();) {
        const std::size_t length = 4 + std::size_t{extent[offset + 3]};
        entries.push_back({extent.Be16(offset), extent.Slice(offset, length).Bytes()});
        offset += length;
    }
    return entries;
}

std::optional<FeatureEntry> FindFeature(std::span<const std::uint8_t> answer, std::uint16_t code)
{
    for (const FeatureEntry& entry : WalkFeatures(answer))
        if (entry.code == code)
            return entry;
    return std::nullopt;
}

bool ApplyProfileList(CDevice& device, std::span<const std::uint8_t> answer)
{
    bool cutShort = false;
    const std::vector<ProfileEntry> entries = WalkProfileList(answer, &cutShort);
    if (entries.empty())
        return false;
    for (const ProfileEntry& entry : entries) {
        LogEntryF("GetDriveConfiguration() - profile found %xh", entry.number);
        Raise(device, kProfileFlags, std::size(kProfileFlags), entry.number);
    }
    if (cutShort)
        LogEntry("GetDriveConfiguration() - ERROR Length <= 12 OR offset >= buffer size");
    if (device.IdentityBeginsWith("_NEC    DVD+-RW ND-6650"))
        RaiseAll(device, {&CDevice::m_bDvdMinusRDlWrite, &CDevice::m_bDvdMinusRDlRead});
    return true;
}

void ApplyFeatureDescriptors(CDevice& device, std::span<const std::uint8_t> answer)
{
    for (const FeatureEntry& entry : WalkFeatures(answer)) {
        LogEntryF("GetDriveConfiguration() - feature found %xh", entry.code);
        Raise(device, kFeatureFlags, std::size(kFeatureFlags), entry.code);
        ApplyFeatureBody(device, entry.code, Extent(entry.bytes));
    }
}

void ApplyCrossRules(CDevice& device)
{
    if (device.m_bDvdPlusRWrite && device.m_bDvdPlusRwWrite)
        RaiseAll(device, {&CDevice::m_bDvdMinusRRead, &CDevice::m_bDvdMinusRwRead});
    if (device.m_bDvdMinusRWrite && device.m_bDvdMinusRwWrite)
        RaiseAll(device, {&CDevice::m_bDvdPlusRRead, &CDevice::m_bDvdPlusRwRead});
}

void ApplyModelCorrections(CDevice& device)
{
    if (device.IdentityBeginsWith("PIONEER DVD-RW  DVR-105"))
        RaiseAll(device, {&CDevice::m_bDvdPlusRRead, &CDevice::m_bDvdPlusRwRead});
    else if (device.IdentityBeginsWith("PIONEER DVD-ROM DVD-105") || device.IdentityBeginsWith("RICOH   DVD+RW MP5125")
             || device.IdentityBeginsWith("AOPEN   16XDVD-ROM/AMH"))
        RaiseAll(device, {&CDevice::m_bDvdMinusRRead, &CDevice::m_bDvdMinusRwRead});
    else if (device.IdentityBeginsWith("PHILIPS DVD+-RW SDVD8412"))
        device.m_bDvdPlusRDlWrite = 1;
}

void ApplyModePageCorrections(CDevice& device)
{
    if (device.IdentityBeginsWith("SONY    DVD RW DW-D56A"))
        ClearAll(device, {&CDevice::m_bDvdRamWritePage, &CDevice::m_bDvdRamRead});
}

void ClearDriveClass(CDevice& device)
{
    ClearAll(device, {&CDevice::m_bCdWriter, &CDevice::m_bCdReader, &CDevice::m_bCdDrive, &CDevice::m_bDvdDrive});
}

void ApplyCapabilitiesPage(CDevice& device, std::span<const std::uint8_t> pageBytes, ModePageFindings& findings)
{
    const Extent page(pageBytes);
    findings.capabilitiesPageFound = true;
    for (std::size_t index = 2; index <= 5; ++index)
        LogEntryF("DoModeSensePages() - byte %zu = %xh", index, page[index]);

    const Flag readBits[] = {&CDevice::m_bCdRRead,    &CDevice::m_bCdRwRead,      &CDevice::m_bCdMethod2,
                             &CDevice::m_bDvdRomRead, &CDevice::m_bDvdMinusRRead, &CDevice::m_bDvdRamRead};
    for (int bit = 0; bit < 6; ++bit)
        if (page.Bit(2, bit))
            device.*readBits[bit] = 1;
    if (page.Bit(2, 4))
        device.m_bDvdMinusRwRead = 1;

    if (page.Bit(3, 0))
        RaiseAll(device, {&CDevice::m_bCdRWrite, &CDevice::m_bCdRRead});
    if (page.Bit(3, 1))
        RaiseAll(device, {&CDevice::m_bCdRwWrite, &CDevice::m_bCdRwRead});
    if (page.Bit(3, 2))
        device.m_bTestWrite = 1;
    if (page.Bit(3, 4))
        RaiseAll(device, {&CDevice::m_bDvdMinusRWritePage, &CDevice::m_bDvdMinusRRead});
    if (page.Bit(3, 5))
        RaiseAll(device, {&CDevice::m_bDvdRamWritePage, &CDevice::m_bDvdRamRead});

    const Flag mediaFunctions[] = {&CDevice::m_bAudioPlay,    &CDevice::m_bCompositeOut,  &CDevice::m_bDigitalPort1,
                                   &CDevice::m_bDigitalPort2, &CDevice::m_bMode2Form1,    &CDevice::m_bMode2Form2,
                                   &CDevice::m_bMultiSession, &CDevice::m_bBufferUnderrun};
    for (int bit = 0; bit < 8; ++bit)
        if (page.Bit(4, bit))
            device.*mediaFunctions[bit] = 1;
    if (page.Bit(5, 5))
        device.m_bIsrcRead = 1;
    if (page.Bit(5, 6))
        device.m_bUpcRead = 1;
    if (page.Bit(5, 7))
        device.m_bBarCodeRead = 1;

    findings.loadingMechanism = page[6] & 0xE0;
    device.m_nBufferSizeKB = page.Be16(12);
    device.m_nVolumeLevels = page.Be16(10);

    if (AnySet(device,
               {&CDevice::m_bDvdRomRead, &CDevice::m_bDvdMinusRRead, &CDevice::m_bDvdRamRead,
                &CDevice::m_bDvdMinusRWritePage, &CDevice::m_bDvdRamWritePage}))
        device.m_bDvdDrive = 1;
    else if (AnySet(device,
                    {&CDevice::m_bCdRRead, &CDevice::m_bCdRwRead, &CDevice::m_bCdRWrite, &CDevice::m_bCdRwWrite}))
        device.m_bCdDrive = 1;
    const bool cdWriter = device.m_bCdRWrite || device.m_bCdRwWrite;
    if (device.m_bCdRRead || (device.m_bCdRwRead && !cdWriter))
        device.m_bCdReader = 1;
    if (cdWriter)
        device.m_bCdWriter = 1;
}

void ApplyModePages(CDevice& device, std::span<const std::uint8_t> answer, int lightScribePageCount,
                    ModePageFindings& findings)
{
    ClearAll(device,
             {&CDevice::m_bAudioPlay, &CDevice::m_bCompositeOut, &CDevice::m_bDigitalPort1, &CDevice::m_bDigitalPort2,
              &CDevice::m_bMode2Form1, &CDevice::m_bMode2Form2, &CDevice::m_bMultiSession, &CDevice::m_bBufferUnderrun,
              &CDevice::m_bBarCodeRead, &CDevice::m_bUpcRead, &CDevice::m_bIsrcRead});
    // The mode data length (bytes 0-1) counts the bytes after itself.
    const Extent extent = answer.size() < 2 ? Extent({})
                                            : AnswerExtent(answer, std::uint64_t{Extent(answer).Be16(0)} + 2);
    for (std::size_t offset = 8; offset + 2 <= extent.size();) {
        const std::size_t length = 2 + std::size_t{extent[offset + 1]};
        switch (extent[offset] & 0x3F) {
        case 0x2A: ApplyCapabilitiesPage(device, extent.Slice(offset, length).Bytes(), findings); break;
        case 0x2D: device.m_bLabelFlash = 1; break;
        case 0x31:
            if (lightScribePageCount == 2)
                device.m_bLightScribe = 1;
            break;
        default: break;
        }
        offset += length;
    }
}

void SettleDriveClass(CDevice& device)
{
    if (!device.m_bDvdDrive)
        ClearAll(device,
                 {&CDevice::m_bDvdPlusRwRead, &CDevice::m_bDvdPlusRRead, &CDevice::m_bDvdPlusRwWrite,
                  &CDevice::m_bDvdPlusRWrite, &CDevice::m_bDvdMinusRwWrite, &CDevice::m_bDvdRamWrite,
                  &CDevice::m_bDvdMinusRWrite, &CDevice::m_bDvdRom});
    if (!device.m_bCdWriter)
        ClearAll(device, {&CDevice::m_bCdRwWrite, &CDevice::m_bCdRWrite});
    if (!device.m_bCdReader)
        ClearAll(device, {&CDevice::m_bCdMethod2, &CDevice::m_bCdRwRead, &CDevice::m_bCdRRead});
}

std::string SerialNumberFromFeature(std::span<const std::uint8_t> answer)
{
    const Extent extent = ConfigurationExtent(answer);
    std::string serial;
    if (extent.size() >= 12 && extent.Be16(8) == 0x0108)
        serial = SerialNumberText(extent.Slice(8, 4 + std::size_t{extent[11]}).Bytes());
    return serial.empty() ? "None" : serial;
}

std::string SerialNumberText(std::span<const std::uint8_t> descriptorBytes)
{
    constexpr std::size_t kMaxCharacters = 49;
    const Extent descriptor(descriptorBytes);
    std::string serial;
    for (std::size_t index = 4; index < descriptor.size() && serial.size() < kMaxCharacters; ++index) {
        const std::uint8_t c = descriptor[index];
        if (c <= 0x20 || c > 0x7E)
            break;
        serial.push_back(static_cast<char>(c));
    }
    return serial;
}

void ClassFromConfiguration(CDevice& device)
{
    if (device.m_bDvdRom)
        device.m_bDvdDrive = 1;
    const bool cdWriter = device.m_bCdRWrite || device.m_bCdRwWrite;
    if (device.m_bCdRom || device.m_bCdRRead || device.m_bCdRwRead)
        device.m_bCdReader = 1;
    if (cdWriter)
        device.m_bCdWriter = 1;
    if (!device.m_bDvdDrive && (device.m_bCdReader || cdWriter))
        device.m_bCdDrive = 1;
}
