#include "core/info/DriveListings.h"

#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/drive/CapabilityWalks.h"
#include "scsi/Bytes.h"
#include "scsi/Profiles.h"

#include <algorithm>

namespace {

using scsi::GetBe16;

constexpr std::size_t kListingBufferLimit = 2048;
constexpr std::size_t kModePageWalkLimit = 248;

std::string Title(const char* title, int blanks)
{
    const std::string padding(static_cast<std::size_t>(blanks), ' ');
    return padding + title + padding;
}

std::string ProfileLine(int profile, bool current)
{
    // The name is padded to 49 so that "(Current)" stays within the 73 columns shown.
    if (const char* name = ProfileListingName(profile))
        return Format("Profile %04xh %-49s %s", profile, name, current ? "(Current)" : "");
    const char* other = profile == profile::kNonConforming ? "Not Conforming to standard profile"
                                                           : "Unknown Profile. Please email me";
    return Format("Profile %04xh %-59s", profile, other);
}

std::string FeatureLine(int feature, const char* name)
{
    return Format(feature == 0x002C ? "Feature %04xh %-33s" : "Feature %04xh %-59s", feature, name);
}

const char* FeatureName(int feature)
{
    if (const char* name = FeatureListingName(feature))
        return name;
    if (feature == 0xFF33)
        return "Lightscribe (vendor specific)";
    return feature >= 0xFF00 ? "Vendor Specific" : "Unknown Feature. Please email me";
}

// The write line of the features whose descriptor byte 4 bit 0 says the drive writes.
const char* WriteLineName(int feature)
{
    switch (feature) {
    case 0x002A: return "DVD+RW Write";
    case 0x002B: return "DVD+R Write";
    case 0x003B: return "DVD+R Double Layer Write";
    default: return nullptr;
    }
}

}  // namespace

const char* ProfileListingName(int profile)
{
    switch (profile) {
    case 0x0000: return "Reserved Profile";
    case 0x0001: return "Non Removable disc";
    case 0x0002: return "Removable disc";
    case 0x0003: return "MO Erasable";
    case 0x0004: return "Optical Write Once";
    case 0x0005: return "Advanced Storage-MO";
    case 0x0008: return "CD-ROM Read Only";
    case 0x0009: return "CD-R Write Once";
    case 0x000A: return "CD-RW Re-Writable";
    case 0x0010: return "DVD-ROM Read Only";
    case 0x0011: return "DVD-R Sequential Recording";
    case 0x0012: return "DVD-RAM Re-Writable";
    case 0x0013: return "DVD-RW Restricted Overwrite";
    case 0x0014: return "DVD-RW Sequential Recording";
    case 0x0015: return "DVD-R Dual Layer Sequential Recording";
    case 0x0016: return "DVD-R Dual Layer Jump Recording";
    case 0x0017: return "DVD-RW Dual Layer";
    case 0x0018: return "DVD Download Disc Recording";
    case 0x001A: return "DVD+RW Re-Writable";
    case 0x001B: return "DVD+R Write Once";
    case 0x0020: return "DDCD-ROM Read Only";
    case 0x0021: return "DDCD-R Write Once";
    case 0x0022: return "DDCD-RW Re-Writable";
    case 0x002A: return "DVD+RW Double Layer";
    case 0x002B: return "DVD+R Double Layer Read & optional Write";
    case 0x0040: return "BD-ROM Read";
    case 0x0041: return "BD-R Sequential Recording (SRM)";
    case 0x0042: return "BD-R Random Recording (RRM)";
    case 0x0043: return "BD-RE ReInscriptable";
    case 0x0050: return "HD DVD-ROM Read";
    case 0x0051: return "HD DVD-R Read/Write";
    case 0x0052: return "HD DVD-RAM)";
    case 0x0053: return "HD DVD-RW)";
    case 0x0058: return "HD DVD-R Dual Layer)";
    case 0x005A: return "HD DVD-RW Dual Layer)";
    case 0x0080: return "HD-BURN Read";
    case 0x0081:
    case 0x0082: return "HD-BURN Write";
    default: return nullptr;
    }
}

const char* FeatureListingName(int feature)
{
    switch (feature) {
    case 0x0000: return "Profile List";
    case 0x0001: return "Core behaviour";
    case 0x0002: return "Morphing";
    case 0x0003: return "Removable Medium";
    case 0x0004: return "Write Protectable";
    case 0x0010: return "Random Readable";
    case 0x001D: return "Multi Read CD";
    case 0x001E: return "CD Read";
    case 0x001F: return "DVD Read";
    case 0x0020: return "Random Writable";
    case 0x0021: return "Incremental Streaming Writable";
    case 0x0022: return "Sector Erasable";
    case 0x0023: return "Formattable";
    case 0x0024: return "Defect Management";
    case 0x0025: return "Write Once Media";
    case 0x0026: return "Restricted Overwrite";
    case 0x0027: return "CDRW CAV Write";
    case 0x0028: return "Mt Rainier Write";
    case 0x0029: return "Enhanced Defect Reporting";
    case 0x002A: return "DVD+RW Read";
    case 0x002B: return "DVD+R Read";
    case 0x002C: return "Rigid Restricted Overwrite";
    case 0x002D: return "CD Track at Once (TAO)";
    case 0x002E: return "CD Mastering (SAO/RAW)";
    case 0x002F: return "DVD-R/RW Write";
    case 0x0030: return "DDCD Read";
    case 0x0031: return "DDCD-R Write";
    case 0x0032: return "DDCD-RW Write";
    case 0x0033: return "DVD Layer Jump Recording";
    case 0x0034: return "Layer Jump Restricted Overwrite";
    case 0x0035: return "Stop Long Operation";
    case 0x0036: return "Reserved";
    case 0x0037: return "CD-RW Media Write Support";
    case 0x0038: return "BD-R Pseudo Overwrite (POW)";
    case 0x0039: return "Reserved";
    case 0x003A: return "DVD+RW Double Layer";
    case 0x003B: return "DVD+R Double Layer Read";
    case 0x0040: return "BD Read";
    case 0x0041: return "BD Write";
    case 0x0042: return "Timely Safe Recording (TSR)";
    case 0x0050: return "HD DVD Read";
    case 0x0051: return "HD DVD Write";
    case 0x0080: return "HD-BURN Read or Hybrid Disc";
    case 0x0081:
    case 0x0082: return "HD-BURN Write/Hybrid Disc";
    case 0x0100: return "Power Management";
    case 0x0101: return "S.M.A.R.T.";
    case 0x0102: return "Embedded Changer";
    case 0x0103: return "CD Audio Analog Play";
    case 0x0104: return "Microcode Upgradeable";
    case 0x0105: return "Timeout";
    case 0x0106: return "DVD CSS Authentication";
    case 0x0107: return "Real Time Streaming";
    case 0x0108: return "Logical Unit Serial Number";
    case 0x0109: return "Media Serial Number";
    case 0x010A: return "Disc Control Blocks";
    case 0x010B: return "DVD CPRM Authentication";
    case 0x010C: return "Firmware Information";
    case 0x010D: return "Supports AACS";
    case 0x010E: return "DVD Download Disc Recording";
    case 0x0110: return "Ability to process VCPS data structures";
    case 0x0113: return "Ability to encode/decode SecurDisc protection";
    case 0x0142: return "OSSC";
    case 0x01FF: return "Firmware Date";
    case 0xFFF3: return "Qflix Recording";
    default: return nullptr;
    }
}

const char* ModePageListingName(int page)
{
    switch (page) {
    case 0x01: return "Read/Write Error Recovery page";
    case 0x02: return "Disconnect/Reconnect page";
    case 0x03: return "MRW page";
    case 0x05: return "Write Parameters page";
    case 0x07: return "Verify Error Recovery page";
    case 0x08: return "Caching page";
    case 0x0B: return "Medium Types Supported page";
    case 0x0D: return "CD Device Parameters page";
    case 0x0E: return "CD Audio Control page";
    case 0x18: return "Feature Set Support page";
    case 0x1A: return "Power Condition page";
    case 0x1C: return "Fault Failure Reporting page";
    case 0x1D: return "Time-out & Protect page";
    case 0x20: return "Read-Write & Drive Control page ";
    case 0x2A: return "MM Capabilities & Mechanical Status page ";
    case 0x2D: return "LabelFlash (vendor unique)";
    case 0x30: return "JustLink buffer under-run page (vendor unique)";
    case 0x31: return "LightScribe / Drive Speed page(vendor unique)";
    case 0x32: return "LightScribe (vendor unique)";
    default: break;
    }
    if ((page >= 0x21 && page <= 0x29) || page == 0x2C || page == 0x2E || page == 0x2F || page >= 0x33)
        return "Vendor Specific page";
    return "Reserved";
}

std::vector<std::string> ProfileListingLines(std::span<const std::uint8_t> answer)
{
    const std::span<const std::uint8_t> listed = answer.first(std::min(answer.size(), kListingBufferLimit));
    bool cutShort = false;
    const std::vector<ProfileEntry> profiles = WalkProfileList(listed, &cutShort);
    if (profiles.empty()) {
        LogEntry("ListDriveFeaturesProfiles() - ERROR Length < 12");
        return {};
    }
    std::vector<std::string> lines = {Title("Drive Profiles", 25)};
    if (const int current = GetBe16(&answer[6]); current != 0)
        lines.push_back(Format("Current Profile %04xh", current));
    for (const ProfileEntry& profile : profiles)
        lines.push_back(ProfileLine(profile.number, profile.current));
    if (cutShort)
        LogEntry("ListDriveFeaturesProfiles() - ERROR Length <= 12 OR offset >= buffer size");
    return lines;
}

std::vector<std::string> FeatureListingLines(std::span<const std::uint8_t> answer)
{
    std::vector<std::string> lines = {Title("Drive Features", 25)};
    for (const FeatureEntry& feature : WalkFeatures(answer)) {
        lines.push_back(FeatureLine(feature.code, FeatureName(feature.code)));
        if (const char* write = WriteLineName(feature.code);
            write && feature.bytes.size() > 4 && (feature.bytes[4] & 0x01))
            lines.push_back(FeatureLine(feature.code, write));
    }
    return lines;
}

std::vector<std::string> ModePageListingLines(std::span<const std::uint8_t> answer, int& lightScribePages)
{
    std::vector<std::string> lines = {Title("Drive Mode pages", 24)};
    if (answer.size() < 2)
        return lines;
    const std::size_t end = std::min({std::size_t{GetBe16(answer.data())} + 2, kModePageWalkLimit, answer.size() - 1});
    for (std::size_t page = 8; page < end; page += answer[page + 1] + 2u) {
        const int code = answer[page] & 0x3F;
        if (code == 0)
            continue;
        const bool saveable = answer[page] & 0x80;
        lines.push_back(Format("%-59s%s%3Xh", ModePageListingName(code), saveable ? "(Saveable)" : "          ", code));
        if (code == 0x31 || code == 0x32)
            ++lightScribePages;
    }
    return lines;
}
