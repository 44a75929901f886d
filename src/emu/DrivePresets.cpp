#include "emu/DrivePresets.h"

#include "emu/MediaPresets.h"
#include "scsi/Profiles.h"
#include "scsi/AsciiText.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

#include <algorithm>
#include <functional>

namespace emu {

namespace {

using namespace profile;

// Transfer rates of 1x in kB/s.
constexpr std::uint16_t kCd1x = 176;
constexpr std::uint16_t kDvd1x = 1385;
constexpr std::uint16_t kHdDvd1x = 4568;
constexpr std::uint16_t kBd1x = 4496;

// Speeds in multiples of a family's 1x: the top read and write speeds and the
// write speeds offered, fastest first.
MediumSpeeds Speeds(std::uint16_t unit, std::uint16_t read, std::uint16_t write = 0,
                    std::initializer_list<std::uint16_t> writeSpeeds = {})
{
    MediumSpeeds speeds;
    speeds.readKBps = static_cast<std::uint16_t>(read * unit);
    speeds.writeKBps = static_cast<std::uint16_t>(write * unit);
    for (std::uint16_t speed : writeSpeeds)
        speeds.writeSpeedsKBps.push_back(static_cast<std::uint16_t>(speed * unit));
    return speeds;
}

const std::vector<std::uint16_t> kCdProfiles = {kCdRom, kCdR, kCdRw};
const std::vector<std::uint16_t> kDvdProfiles = {kDvdRom, kDvdR,       kDvdRam,    kDvdRwRestricted, kDvdRwSequential,
                                                 kDvdRDl, kDvdRDlJump, kDvdPlusRw, kDvdPlusR,        kDvdPlusRDl};
const std::vector<std::uint16_t> kBdProfiles = {kBdRom, kBdRSequential, kBdRRandom, kBdRe};

template <class T>
std::vector<T> Concat(std::initializer_list<std::vector<T>> lists)
{
    std::vector<T> joined;
    for (const auto& list : lists)
        joined.insert(joined.end(), list.begin(), list.end());
    return joined;
}

FeatureDescriptor Always(std::uint16_t code, std::uint8_t version, std::vector<std::uint8_t> data,
                         bool persistent = true)
{
    return {code, version, persistent, true, {}, std::move(data)};
}

FeatureDescriptor For(std::uint16_t code, std::uint8_t version, std::vector<std::uint16_t> profiles,
                      std::vector<std::uint8_t> data)
{
    return {code, version, false, false, std::move(profiles), std::move(data)};
}

std::vector<std::uint8_t> SerialNumberData(const std::string& serial)
{
    std::vector<std::uint8_t> data;
    scsi::AppendPadded(data, serial, (serial.size() + 3) / 4 * 4);
    return data;
}

// Features every drive has; `readable` are the profiles it can read.
std::vector<FeatureDescriptor> CommonFeatures(const std::vector<std::uint16_t>& readable, std::uint16_t blocking)
{
    return {
        Always(0x0001, 2, {0, 0, 0, 2, 0x01, 0, 0, 0}),  // core: ATAPI, DBE
        Always(0x0002, 1, {0x02, 0, 0, 0}),  // morphing: OCEvent
        Always(0x0003, 2, {0x39, 0, 0, 0}),  // removable medium: tray, load, eject, lock
        For(0x0010, 0, readable,
            {0, 0, 0x08, 0, static_cast<std::uint8_t>(blocking >> 8), static_cast<std::uint8_t>(blocking), 0x01,
             0}),  // random readable
        For(0x001D, 0, kCdProfiles, {}),  // multi-read
        For(0x001E, 2, kCdProfiles, {0x03, 0, 0, 0}),  // CD read: C2, CD-Text
    };
}

// blocking: the blocks of the random writable media's ECC unit.
std::vector<FeatureDescriptor> DvdWriterFeatures(std::uint16_t blocking)
{
    return {
        For(0x001F, 1, kDvdProfiles, {0x01, 0, 0x01, 0}),  // DVD read
        For(0x0020, 1, {kDvdRam, kBdRe},
            {0, 0, 0, 0, 0, 0, 0x08, 0, static_cast<std::uint8_t>(blocking >> 8), static_cast<std::uint8_t>(blocking),
             0x01, 0}),  // random writable: 2048-byte blocks
        For(0x0021, 1, {kCdR, kCdRw, kDvdR, kDvdRwSequential}, {0x00, 0x01, 0x00, 0x01, 0x10, 0, 0, 0}),
        For(0x0023, 0, {kDvdRam, kDvdRwRestricted, kDvdPlusRw, kBdRe}, {0, 0, 0, 0}),  // formattable
        For(0x0024, 0, {kDvdRam, kBdRe}, {0x80, 0, 0, 0}),  // defect management
        For(0x0026, 0, {kDvdRwRestricted}, {}),  // restricted overwrite
        For(0x002A, 1, {kDvdPlusRw}, {0x01, 0, 0, 0}),  // DVD+RW write
        For(0x002B, 0, {kDvdPlusR}, {0x01, 0, 0, 0}),  // DVD+R write
        For(0x002D, 2, {kCdR, kCdRw}, {0x46, 0, 0x3F, 0xFF}),  // track at once
        For(0x002E, 0, {kCdR, kCdRw}, {0x7E, 0x00, 0xFF, 0xFF}),  // session at once
        For(0x002F, 1, {kDvdR, kDvdRwSequential, kDvdRDl}, {0x4E, 0, 0, 0}),  // DVD-R/-RW write
        For(0x0033, 0, {kDvdRDlJump}, {0, 0, 0, 1, 16, 0, 0, 0}),  // layer jump recording: one link size
        For(0x003B, 0, {kDvdPlusRDl}, {0x01, 0, 0, 0}),  // DVD+R DL write
    };
}

std::vector<FeatureDescriptor> BdFeatures()
{
    std::vector<std::uint8_t> readClasses(28, 0);
    for (std::size_t family = 0; family < 3; ++family)
        readClasses[4 + 8 * family + 1] = 0x0E;  // class 0, versions 1-3
    std::vector<std::uint8_t> writeClasses(20, 0);
    for (std::size_t family = 0; family < 2; ++family)
        writeClasses[4 + 8 * family + 1] = 0x0E;
    return {
        For(0x0038, 0, {kBdRSequential}, {0, 0, 0, 0}),  // BD-R pseudo-overwrite
        For(0x0040, 1, kBdProfiles, std::move(readClasses)),
        For(0x0041, 1, {kBdRSequential, kBdRRandom, kBdRe}, std::move(writeClasses)),
        For(0x0042, 0, {kBdRSequential}, {0, 0, 0, 0}),  // timely safe recording
    };
}

// What a drive that reads BD but writes none lists: the BD read feature.
std::vector<FeatureDescriptor> BdReadFeatures()
{
    std::vector<std::uint8_t> readClasses(28, 0);
    for (std::size_t family = 0; family < 3; ++family)
        readClasses[4 + 8 * family + 1] = 0x0E;
    return {For(0x0040, 1, kBdProfiles, std::move(readClasses))};
}

FeatureDescriptor HdDvdRead()
{
    return For(0x0050, 0, {kHdDvdRom}, {0x00, 0, 0x00, 0});
}

// AACS: always current on the drives that read BD; one AGID, AACS version 1.
FeatureDescriptor Aacs()
{
    return Always(0x010D, 2, {0x00, 0x00, 0x01, 0x01}, false);
}

std::vector<FeatureDescriptor> LateFeatures(const std::string& serial, bool dvd)
{
    std::vector<FeatureDescriptor> features = {
        Always(0x0100, 0, {}),  // power management
        Always(0x0105, 1, {0x01, 0, 0, 0}, false),  // time-out
    };
    if (dvd)
        features.push_back(For(0x0106, 0, {kDvdRom}, {0, 0, 0, 0x01}));  // CSS
    features.push_back(Always(0x0107, 3, {0x1F, 0, 0, 0}, false));  // real-time streaming
    features.push_back(Always(0x0108, 0, SerialNumberData(serial)));
    return features;
}

std::vector<FeatureDescriptor> DvdWriterFeatureSet(const std::string& serial)
{
    return Concat<FeatureDescriptor>({CommonFeatures(Concat<std::uint16_t>({kCdProfiles, kDvdProfiles}), 16),
                                      DvdWriterFeatures(16), LateFeatures(serial, true)});
}

MediumSpeeds CdWriterSpeeds()
{
    return Speeds(kCd1x, 48, 48, {48, 40, 32, 24, 16});
}

std::vector<std::vector<std::uint8_t>> StandardModePages(bool writer)
{
    std::vector<std::vector<std::uint8_t>> pages = {
        {0x01, 0x0A, 0x00, 0x20, 0, 0, 0, 0, 0x01, 0, 0, 0},  // error recovery
        {0x0D, 0x06, 0x00, 0x0D, 0x00, 0x3C, 0x00, 0x4B},  // CD parameters
        {0x0E, 0x0E, 0x04, 0, 0, 0, 0, 0, 0x01, 0xFF, 0x02, 0xFF, 0, 0, 0, 0},  // CD audio
        {0x1A, 0x0A, 0x00, 0x03, 0, 0, 0, 0, 0, 0, 0x0B, 0xB8},  // power condition
        {0x1D, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0A, 0x00, 0x1E},  // time-out and protect
    };
    if (writer) {
        std::vector<std::uint8_t> writeParameters(52, 0);  // TAO, mode 1 data track
        writeParameters[0] = 0x05;
        writeParameters[1] = 0x32;
        writeParameters[2] = 0x01;
        writeParameters[3] = 0x04;
        writeParameters[4] = 0x08;
        writeParameters[15] = 0x96;
        pages.insert(pages.begin() + 1, std::move(writeParameters));
    }
    return pages;
}

// A drive of our own make, as the emulator names it.
DriveIdentity OwnDrive(const char* presetName, const char* description, const char* product, const char* revision,
                       const char* date, const char* serialNumber)
{
    DriveIdentity drive;
    drive.presetName = presetName;
    drive.description = description;
    drive.vendor = "QNZEMU";
    drive.product = product;
    drive.revision = revision;
    drive.vendorSpecific = date;
    drive.serialNumber = serialNumber;
    return drive;
}

DriveIdentity CdReader()
{
    DriveIdentity drive = OwnDrive("cd-reader", "CD-ROM reader", "CD-ROM QCD-5200", "1.00", "2024/01/15",
                                   "QCD52000001");
    drive.profiles = {kCdRom};
    drive.features = Concat<FeatureDescriptor>(
        {CommonFeatures(kCdProfiles, 1), LateFeatures(drive.serialNumber, false)});
    drive.modePages = StandardModePages(false);
    drive.capabilities.readFlags = 0x07;
    drive.capabilities.mediaFunctions = 0x71;
    drive.capabilities.cdDaFunctions = 0x13;
    drive.capabilities.cd = Speeds(kCd1x, 52);
    drive.capabilities.bufferKB = 128;
    drive.spinUpMs = 1200;
    return drive;
}

DriveIdentity DvdWriter()
{
    DriveIdentity drive = OwnDrive("dvd-writer", "DVD writer", "DVD-RW QDW-2040S", "1.02", "2024/03/02", "QDW20400001");
    drive.profiles = {kDvdPlusRDl, kDvdPlusR, kDvdPlusRw, kDvdRDlJump, kDvdRDl, kDvdRwSequential, kDvdRwRestricted,
                      kDvdRam,     kDvdR,     kDvdRom,    kCdRw,       kCdR,    kCdRom,           kRemovableDisk};
    drive.features = DvdWriterFeatureSet(drive.serialNumber);
    drive.modePages = StandardModePages(true);
    drive.capabilities.readFlags = 0x3F;
    drive.capabilities.writeFlags = 0x37;
    drive.capabilities.mediaFunctions = 0xF1;
    drive.capabilities.cdDaFunctions = 0x3B;
    drive.capabilities.cd = CdWriterSpeeds();
    drive.capabilities.dvd = Speeds(kDvd1x, 16, 20, {20, 16, 8, 4});
    drive.capabilities.bufferKB = 2048;
    return drive;
}

// Keeps the features in ascending order of their codes, as GET CONFIGURATION lists them.
void AddFeature(DriveIdentity& drive, FeatureDescriptor feature)
{
    const auto at = std::find_if(drive.features.begin(), drive.features.end(),
                                 [&](const FeatureDescriptor& other) { return other.code > feature.code; });
    drive.features.insert(at, std::move(feature));
}

// A drive of the DVD writer's make that also reads BD, or reads and writes
// it. A reader lists BD-ROM alone and reads BD-R and BD-RE discs as BD-ROM,
// as DVD-ROM drives read DVD-R.
void AddBd(DriveIdentity& drive, bool writes)
{
    const std::vector<std::uint16_t> bd = writes ? kBdProfiles : std::vector<std::uint16_t>{kBdRom};
    drive.profiles.insert(drive.profiles.begin(), bd.rbegin(), bd.rend());
    for (FeatureDescriptor& feature : drive.features)
        if (feature.code == 0x0010)  // BD discs are random readable too
            feature.currentForProfiles.insert(feature.currentForProfiles.end(), bd.begin(), bd.end());
    for (FeatureDescriptor& feature : writes ? BdFeatures() : BdReadFeatures())
        AddFeature(drive, std::move(feature));
    AddFeature(drive, Aacs());
    drive.capabilities.bd = writes ? Speeds(kBd1x, 12, 12, {12, 8, 6, 4, 2}) : Speeds(kBd1x, 8);
}

void AddHdDvdRead(DriveIdentity& drive)
{
    drive.profiles.insert(drive.profiles.begin(), kHdDvdRom);
    for (FeatureDescriptor& feature : drive.features)
        if (feature.code == 0x0010)
            feature.currentForProfiles.push_back(kHdDvdRom);
    AddFeature(drive, HdDvdRead());
    drive.capabilities.hdDvd = Speeds(kHdDvd1x, 3);
}

DriveIdentity BdWriter()
{
    DriveIdentity drive = DvdWriter();
    drive.presetName = "bd-writer";
    drive.description = "Blu-ray writer that also reads HD DVD-ROM";
    drive.product = "BD-RE QBR-1240";
    drive.revision = "2.10";
    drive.serialNumber = "QBR12400001";
    drive.features = Concat<FeatureDescriptor>({CommonFeatures(Concat<std::uint16_t>({kCdProfiles, kDvdProfiles}), 32),
                                                DvdWriterFeatures(32), LateFeatures(drive.serialNumber, true)});
    AddHdDvdRead(drive);
    AddBd(drive, true);
    drive.capabilities.cd = Speeds(kCd1x, 48, 24, {24, 16, 10});
    drive.capabilities.dvd = Speeds(kDvd1x, 16, 16, {16, 12, 8, 4});
    drive.capabilities.bufferKB = 4096;
    drive.spinUpMs = 2500;
    return drive;
}

// A plain read-only ATAPI DVD-ROM drive as many machines and virtual machines
// have: it refuses the page list and a feature list from anything but feature
// 0, and knows neither GET PERFORMANCE, READ FORMAT CAPACITIES nor READ TRACK
// INFORMATION.
DriveIdentity StrictDvdReader()
{
    DriveIdentity drive = OwnDrive("dvd-reader-strict", "read-only ATAPI DVD-ROM drive that refuses some requests",
                                   "DVD-ROM QDR-1650", "1.10", "2023/11/20", "QDR16500001");
    drive.profiles = {kDvdRom, kCdRom};
    drive.features = Concat<FeatureDescriptor>({CommonFeatures({kCdRom, kDvdRom}, 16),
                                                {For(0x001F, 1, {kDvdRom}, {0x01, 0, 0x01, 0})},  // DVD read
                                                LateFeatures(drive.serialNumber, true)});
    drive.modePages = StandardModePages(false);
    drive.capabilities.readFlags = 0x1F;  // CD-R, CD-RW, method 2, DVD-ROM, DVD-R
    drive.capabilities.mediaFunctions = 0x71;
    drive.capabilities.cdDaFunctions = 0x13;
    drive.capabilities.cd = Speeds(kCd1x, 48);
    drive.capabilities.dvd = Speeds(kDvd1x, 16);
    drive.capabilities.bufferKB = 256;
    drive.refusals.allModePages = true;
    drive.refusals.featuresFromAboveZero = true;
    drive.refusals.unknownCommands = {mmc::kGetPerformance, mmc::kReadFormatCapacities, mmc::kReadTrackInformation};
    return drive;
}

// The same drive behind a USB bridge that loses the commands the drive does
// not know instead of passing their refusal on.
DriveIdentity UsbDvdReader()
{
    DriveIdentity drive = StrictDvdReader();
    drive.presetName = "usb-dvd-reader";
    drive.description = "the strict DVD-ROM drive behind a USB bridge that loses unknown commands";
    drive.serialNumber = "QDR16500002";
    drive.features = Concat<FeatureDescriptor>({CommonFeatures({kCdRom, kDvdRom}, 16),
                                                {For(0x001F, 1, {kDvdRom}, {0x01, 0, 0x01, 0})},
                                                LateFeatures(drive.serialNumber, true)});
    drive.busType = 7;  // USB
    drive.refusals.unknownCommandsLost = true;
    return drive;
}

// What sets a maker's drive apart from the plain DVD writer.
enum Trait : unsigned {
    kNoDvdMinusDlWrite = 1u << 0,  // an older model: no DVD-R DL profiles
    kLightScribe = 1u << 1,  // label burning: feature FF33h, mode pages 31h and 32h
    kLabelFlash = 1u << 2,  // label burning: mode page 2Dh
    kMountRainier = 1u << 3,  // feature 0028h
    kNoDvdRam = 1u << 4,  // neither reads nor writes DVD-RAM
    kBdWriter = 1u << 5,  // the family made BD writers: reads and writes BD
    kBdReader = 1u << 6,  // the family made BD combo drives: reads BD
    kHdDvdReader = 1u << 7,  // the family made HD DVD drives: reads HD DVD-ROM
};
constexpr unsigned kOlderWriter = kNoDvdMinusDlWrite | kNoDvdRam;

// A maker family: a DVD writer that answers INQUIRY with the maker's identity
// and, for some, the maker's vendor commands.
struct FamilyIdentity {
    const char* presetName;
    const char* description;
    const char* vendor;
    const char* product;
    const char* revision;
    VendorFamily family = VendorFamily::None;
    unsigned traits = 0;
    void (*adjust)(VendorSettings&) = nullptr;  // its vendor settings at power-on, where they differ
};

// Nu/QSI drives came set to write DVD+R as DVD-ROM, and ran with DVD+RW so too.
void NuBookTypes(VendorSettings& settings)
{
    settings.bookTypes[BookKind::PlusR] = {0, 0, false};
    settings.bookTypes[BookKind::PlusRw] = {9, 0, true};
}

// The media classes follow what each family's real drives read: BD where the
// maker made BD drives, HD DVD where it made HD DVD drives.
const FamilyIdentity kFamilies[] = {
    {"aopen", "AOpen DVD writer", "AOPEN", " DUW1608/ARR", "1.06", VendorFamily::Aopen, kOlderWriter},
    {"benq", "BenQ DVD writer", "BENQ", "DVD DD DW1640", "BSRB", VendorFamily::Benq, kOlderWriter},
    {"btc", "BTC DVD writer", "DVDRW", "IDE1008", "0055", VendorFamily::Btc, kOlderWriter | kBdReader},
    {"cyberdrive", "Cyberdrive DVD writer", "CyberDrv", "DVD RW DW-1625D", "A2D3", VendorFamily::Cyberdrive},
    {"generic-f3", "DVD writer of the generic F3 family", "PHILIPS", "DVD+-RW SDVD8441", "PA52", VendorFamily::NuQsi,
     kBdReader},
    {"ihas", "iHAS DVD writer", "ATAPI", "iHAS120   6", "7L0F", VendorFamily::Ihas, kLightScribe | kBdWriter},
    {"lg", "LG DVD writer", "HL-DT-ST", "DVDRAM GSA-4120B", "A111", VendorFamily::Lg, kNoDvdMinusDlWrite},
    {"liteon", "Lite-On DVD writer", "LITE-ON", "DVDRW SHM-165P6S", "MS0R", VendorFamily::Liteon,
     kLightScribe | kBdWriter},
    {"nec", "NEC DVD writer", "_NEC", "DVD_RW ND-3550A", "1.05", VendorFamily::Nec, kOlderWriter},
    {"nu", "Nu Technology (QSI) DVD writer", "NU", "DVDRW DDW-082", "1.00", VendorFamily::NuQsi, kOlderWriter,
     NuBookTypes},
    {"optiarc", "Optiarc DVD writer", "Optiarc", "DVD RW AD-7170A", "1.02", VendorFamily::Nec, kLabelFlash | kBdWriter},
    {"pioneer", "Pioneer DVD writer", "PIONEER", "DVD-RW  DVR-111D", "1.29", VendorFamily::Pioneer, kBdWriter},
    {"plextor", "Plextor DVD writer", "PLEXTOR", "DVDR   PX-716A", "1.11", VendorFamily::Plextor,
     kOlderWriter | kBdWriter},
    {"ricoh", "Ricoh DVD writer", "RICOH", "DVD+RW MP5240A", "1.00", VendorFamily::Ricoh, kOlderWriter | kMountRainier},
    {"samsung", "Samsung DVD writer", "TSSTcorp", "CDDVDW SH-S203B", "SB00", VendorFamily::Samsung, kBdWriter},
    {"toshiba", "Toshiba DVD writer", "TOSHIBA", "DVD-RAM SD-R9012", "1012", VendorFamily::None, kHdDvdReader},
};

// Models of a family that measure differently from its preset.
struct ModelVariant {
    const char* presetName;
    const char* description;
    const char* familyPreset;
    const char* product;
    const char* revision;
    void (*adjust)(VendorSettings&);
};

const ModelVariant kModelVariants[] = {
    {"benq-dw1620", "older BenQ DVD writer (F0h error reads)", "benq", "DVD DD DW1620", "B7W9",
     [](VendorSettings& settings) { settings.benq.newerModel = false; }},
    {"liteon-sohw812", "Lite-On DVD writer that measures no jitter", "liteon", "DVDRW SOHW-812S", "US0Q",
     [](VendorSettings& settings) { settings.liteon.measuresJitter = false; }},
};

void WithoutProfiles(DriveIdentity& drive, std::initializer_list<std::uint16_t> dropped)
{
    const auto isDropped = [&](std::uint16_t number) {
        return std::find(dropped.begin(), dropped.end(), number) != dropped.end();
    };
    std::erase_if(drive.profiles, isDropped);
    for (FeatureDescriptor& feature : drive.features)
        std::erase_if(feature.currentForProfiles, isDropped);
}

// A feature that belongs to profiles the drive does not list is not listed either.
void DropOrphanFeatures(DriveIdentity& drive)
{
    std::erase_if(drive.features, [&](const FeatureDescriptor& feature) {
        return !feature.alwaysCurrent
            && std::none_of(
                feature.currentForProfiles.begin(), feature.currentForProfiles.end(), [&](std::uint16_t profile) {
                    return std::find(drive.profiles.begin(), drive.profiles.end(), profile) != drive.profiles.end();
                });
    });
}

DriveIdentity FamilyDrive(const FamilyIdentity& family)
{
    DriveIdentity drive = DvdWriter();
    drive.presetName = family.presetName;
    drive.description = family.description;
    drive.vendor = family.vendor;
    drive.product = family.product;
    drive.revision = family.revision;
    drive.serialNumber = std::string("QF") + family.revision + "0001";
    drive.features = DvdWriterFeatureSet(drive.serialNumber);
    drive.vendorSettings.family = family.family;
    if (family.adjust)
        family.adjust(drive.vendorSettings);
    if (family.traits & kNoDvdMinusDlWrite)
        WithoutProfiles(drive, {kDvdRDl, kDvdRDlJump});
    if (family.traits & kNoDvdRam) {
        WithoutProfiles(drive, {kDvdRam});
        drive.capabilities.readFlags &= ~0x20;
        drive.capabilities.writeFlags &= ~0x20;
    }
    if (family.traits & kMountRainier)
        AddFeature(drive, For(0x0028, 0, {kCdRw, kDvdPlusRw}, {0x01, 0, 0, 0}));
    if (family.traits & kLightScribe) {
        AddFeature(drive, Always(0xFF33, 0, {}));
        drive.modePages.push_back({0x31, 0x06, 0x01, 0, 0, 0, 0, 0});
        drive.modePages.push_back({0x32, 0x06, 0x00, 0, 0, 0, 0, 0});
    }
    if (family.traits & kLabelFlash)
        drive.modePages.push_back({0x2D, 0x06, 0x01, 0, 0, 0, 0, 0});
    if (family.traits & (kBdWriter | kBdReader))
        AddBd(drive, (family.traits & kBdWriter) != 0);
    if (family.traits & kHdDvdReader)
        AddHdDvdRead(drive);
    DropOrphanFeatures(drive);
    return drive;
}

DriveIdentity VariantDrive(const ModelVariant& variant)
{
    FamilyIdentity model = *std::find_if(std::begin(kFamilies), std::end(kFamilies), [&](const FamilyIdentity& entry) {
        return std::string_view(entry.presetName) == variant.familyPreset;
    });
    model.presetName = variant.presetName;
    model.description = variant.description;
    model.product = variant.product;
    model.revision = variant.revision;
    DriveIdentity drive = FamilyDrive(model);
    variant.adjust(drive.vendorSettings);
    return drive;
}

struct NamedBuilder {
    const char* name;
    std::function<DriveIdentity()> build;
};

std::vector<NamedBuilder> Builders()
{
    std::vector<NamedBuilder> builders = {{"dvd-writer", DvdWriter},
                                          {"bd-writer", BdWriter},
                                          {"cd-reader", CdReader},
                                          {"dvd-reader-strict", StrictDvdReader},
                                          {"usb-dvd-reader", UsbDvdReader}};
    for (const FamilyIdentity& family : kFamilies)
        builders.push_back({family.presetName, [&family] { return FamilyDrive(family); }});
    for (const ModelVariant& variant : kModelVariants)
        builders.push_back({variant.presetName, [&variant] { return VariantDrive(variant); }});
    return builders;
}

}  // namespace

std::optional<DriveIdentity> FindDrivePreset(std::string_view name)
{
    for (const NamedBuilder& builder : Builders())
        if (scsi::EqualsIgnoringCase(builder.name, name))
            return builder.build();
    return std::nullopt;
}

std::vector<std::string> DrivePresetNames()
{
    std::vector<std::string> names;
    for (const NamedBuilder& builder : Builders())
        names.emplace_back(builder.name);
    return names;
}

}  // namespace emu
