#include "emu/MediaPresets.h"

#include "emu/MediumGeometry.h"
#include "scsi/Profiles.h"
#include "scsi/AsciiText.h"

#include <algorithm>
#include <cctype>

namespace emu {

namespace {

using namespace profile;

// Blocks of full discs; a dual-layer DVD+R holds twice its layer.
constexpr std::uint64_t kDvdMinusBlocks = 2298496;
constexpr std::uint64_t kDvdPlusBlocks = 2295104;
constexpr std::uint64_t kDvdPlusDlLayerBlocks = 2086912;
constexpr std::uint64_t kBdSingleLayerBlocks = 12219392;

MediumDescription Disc(const char* name, const char* description, MediumFamily family, std::uint16_t discProfile,
                       std::vector<std::uint16_t> readAs, std::uint64_t blocks)
{
    MediumDescription medium;
    medium.presetName = name;
    medium.description = description;
    medium.family = family;
    medium.profile = discProfile;
    medium.readAsProfiles = std::move(readAs);
    medium.capacityBlocks = blocks;
    medium.tracks = {TrackEntry{1, 1, 4, 0, static_cast<std::uint32_t>(blocks)}};
    return medium;
}

// A CD-R/RW of 80 minutes whose pre-groove carries the maker's lead-in time.
MediumDescription RecordableCd(const char* name, const char* description, std::uint16_t discProfile,
                               std::uint64_t blocks, Msf leadInStart)
{
    MediumDescription medium = Disc(name, description, MediumFamily::Cd, discProfile, {kCdRom}, blocks);
    medium.atip = AtipTimes{leadInStart, Msf{79, 59, 71}};
    medium.totalBlocks = static_cast<std::uint64_t>(MsfToLba(medium.atip->lastLeadOutStart));
    return medium;
}

MediumDescription Dvd(const char* name, const char* description, std::uint16_t discProfile, std::uint64_t blocks,
                      int bookType, const char* manufacturer, const char* type, double ratedSpeed)
{
    MediumDescription medium = Disc(name, description, MediumFamily::Dvd, discProfile,
                                    discProfile == kDvdRom || discProfile == kDvdRam
                                        ? std::vector<std::uint16_t>{}
                                        : std::vector<std::uint16_t>{kDvdRom},
                                    blocks);
    medium.bookType = bookType;
    medium.manufacturerId = manufacturer;
    medium.mediaTypeId = type;
    medium.ratedSpeed = ratedSpeed;
    return medium;
}

MediumDescription Bd(const char* name, const char* description, std::uint16_t discProfile, std::uint64_t blocks,
                     const char* manufacturer, const char* type, double ratedSpeed)
{
    MediumDescription medium = Disc(
        name, description, MediumFamily::Bd, discProfile,
        discProfile == kBdRom ? std::vector<std::uint16_t>{} : std::vector<std::uint16_t>{kBdRom}, blocks);
    medium.manufacturerId = manufacturer;
    medium.mediaTypeId = type;
    medium.ratedSpeed = ratedSpeed;
    return medium;
}

// A write-once disc as it leaves the shop: nothing recorded, the whole disc free.
MediumDescription Blank(MediumDescription disc, const char* name, const char* description)
{
    disc.presetName = name;
    disc.description = description;
    disc.totalBlocks = std::max(disc.totalBlocks, disc.capacityBlocks);
    disc.capacityBlocks = 0;
    disc.tracks.clear();
    disc.status = DiscStatus::Blank;
    return disc;
}

// A write-once disc with one closed session of `blocks` and room for more.
MediumDescription Appendable(MediumDescription disc, const char* name, const char* description, std::uint32_t blocks)
{
    disc.presetName = name;
    disc.description = description;
    disc.totalBlocks = std::max(disc.totalBlocks, disc.capacityBlocks);
    disc.capacityBlocks = blocks;
    disc.tracks = {TrackEntry{1, 1, 4, 0, blocks}};
    disc.status = DiscStatus::Appendable;
    return disc;
}

// The blank and the appendable state of each write-once preset named.
void AddWriteOnceStates(std::vector<MediumDescription>& media)
{
    struct State {
        const char* from;
        const char* blank;
        const char* appendable;
        std::uint32_t firstSession;
    };
    const State states[] = {
        {"cd-r", "cd-r-blank", "cd-r-appendable", 120000},
        {"dvd-r", "dvd-r-blank", "dvd-r-appendable", 700000},
        {"dvd+r", "dvd+r-blank", "dvd+r-appendable", 700000},
        {"bd-r", "bd-r-blank", "bd-r-appendable", 3000000},
    };
    for (const State& state : states) {
        const MediumDescription base = *std::find_if(media.begin(), media.end(),
                                                     [&](const auto& m) { return m.presetName == state.from; });
        const std::string kind = base.description.substr(base.description.find(' ') + 1);
        media.push_back(Blank(base, state.blank, ("blank " + kind).c_str()));
        media.push_back(
            Appendable(base, state.appendable, (kind + " with one closed session").c_str(), state.firstSession));
    }
}

// The rewritable discs in the other states their tools leave them in: blank
// (as new, or erased), a DVD-RW formatted for restricted overwrite, a
// DVD+RW whose background format was stopped half-way.
void AddRewritableStates(std::vector<MediumDescription>& media)
{
    const auto from = [&](const char* name) {
        return *std::find_if(media.begin(), media.end(), [&](const auto& m) { return m.presetName == name; });
    };
    for (const char* name : {"cd-rw", "dvd-rw", "dvd+rw", "bd-re"}) {
        MediumDescription disc = from(name);
        MakeBlank(disc);
        disc.presetName = std::string(name) + "-blank";
        disc.description = "blank " + disc.description.substr(disc.description.find(' ') + 1);
        if (disc.family == MediumFamily::Bd || disc.profile == kDvdPlusRw)
            disc.description = "unformatted " + std::string(disc.profile == kBdRe ? "BD-RE" : "DVD+RW");
        media.push_back(disc);
    }
    MediumDescription restricted = from("dvd-rw");
    MakeFormatted(restricted);
    restricted.presetName = "dvd-rw-restricted";
    restricted.description = "DVD-RW formatted for restricted overwrite";
    media.push_back(restricted);
    MediumDescription partial = from("dvd+rw");
    partial.presetName = "dvd+rw-partial";
    partial.description = "DVD+RW whose background format was stopped half-way";
    partial.formatStopped = true;
    partial.formatStoppedAt = 0x8000;
    media.push_back(partial);
}

// Burned discs with scratches: stretches that never read, marginal spots
// that read at the second try, and around them the scratch's high error
// rates for the scans.
void AddScratchedDiscs(std::vector<MediumDescription>& media)
{
    const auto from = [&](const char* name) {
        return *std::find_if(media.begin(), media.end(), [&](const auto& m) { return m.presetName == name; });
    };
    // clang-format off
    MediumDescription dvd = from("dvd+r");
    dvd.presetName = "dvd+r-scratched";
    dvd.description = "burned DVD+R with scratches: unreadable and marginal blocks";
    dvd.errors.badZones = {{600000, 120000, {60, 16, 30, 2, 120}}, {1380000, 60000, {40, 8, 20, 1, 110}}};
    dvd.unreadable = {{620000, 48, -1}, {650000, 16, 1}, {690000, 32, -1},
                      {1400000, 64, -1}, {1500000, 32, 1}, {1800000, 16, 2}};
    media.push_back(dvd);
    MediumDescription cd = from("cd-r");
    cd.presetName = "cd-r-scratched";
    cd.description = "burned CD-R with scratches: unreadable and marginal blocks";
    cd.unreadable = {{100000, 30, -1}, {150000, 20, 1}, {200000, 20, -1}, {250000, 10, 2}};
    media.push_back(cd);
    // clang-format on
}

std::vector<MediumDescription> BuildPresets()
{
    std::vector<MediumDescription> media;
    media.push_back(Disc("cd-rom", "pressed CD-ROM", MediumFamily::Cd, kCdRom, {}, 330000));
    media.back().catalogNumber = "4006381333931";
    media.push_back(RecordableCd("cd-r", "burned CD-R", kCdR, 300000, {97, 27, 18}));
    media.back().ratedSpeed = 52;
    media.push_back(RecordableCd("cd-rw", "burned CD-RW", kCdRw, 250000, {97, 15, 10}));
    media.back().erasable = true;
    media.back().ratedSpeed = 24;
    media.push_back(Dvd("dvd-rom", "pressed DVD-ROM", kDvdRom, 2000000, 0, "", "", 0));
    media.push_back(Dvd("dvd-r", "burned DVD-R", kDvdR, 1800000, 2, "MCC 03RG20", "", 16));
    media.back().totalBlocks = kDvdMinusBlocks;
    media.back().recorderText = "PIONEER DVR-112D 1.21 QNZ0001234";
    media.push_back(Dvd("dvd-rw", "burned DVD-RW (sequential)", kDvdRwSequential, 1500000, 3, "MCC 01RW11", "", 6));
    media.back().totalBlocks = kDvdMinusBlocks;
    media.back().erasable = true;
    media.push_back(Dvd("dvd+r", "burned DVD+R, media ID in the table", kDvdPlusR, 2100000, 10, "MCC", "004", 16));
    media.back().totalBlocks = kDvdPlusBlocks;
    media.push_back(Dvd("dvd+r-unknown-id", "burned DVD+R, media ID not in the table", kDvdPlusR, 2100000, 10,
                        "QNZDISC", "R1X", 8));
    media.back().totalBlocks = kDvdPlusBlocks;
    media.push_back(Dvd("dvd+rw", "DVD+RW", kDvdPlusRw, 2295104, 9, "RICOHJPN", "W11", 4));
    media.back().erasable = true;
    media.push_back(Dvd("dvd+r-dl", "burned DVD+R dual layer", kDvdPlusRDl, 4000000, 14, "MKM", "003", 8));
    media.back().totalBlocks = 2 * kDvdPlusDlLayerBlocks;
    media.back().layers = 2;
    media.push_back(Dvd("dvd-ram", "formatted DVD-RAM", kDvdRam, 2236704, 1, "MATSUSHITA DVD-RAM LM-AF120", "", 5));
    media.back().erasable = true;
    media.push_back(Dvd("dvd-r-dl", "burned DVD-R dual layer", kDvdRDl, 3500000, 2, "MKM 03RD30", "", 4));
    media.back().totalBlocks = 2 * kDvdPlusDlLayerBlocks;
    media.back().layers = 2;
    // Drives report a DVD+R written with book type DVD-ROM as a DVD-ROM.
    media.push_back(Dvd("dvd+r-as-rom", "burned DVD+R of book type DVD-ROM, media ID not in the table", kDvdRom,
                        2100000, 0, "QNZDISC", "R2X", 8));
    media.back().totalBlocks = kDvdPlusBlocks;
    media.push_back(Bd("bd-rom", "pressed BD-ROM", kBdRom, 12000000, "", "", 0));
    media.push_back(Bd("bd-r", "burned BD-R", kBdRSequential, 10000000, "VERBAT", "IMe", 6));
    media.back().totalBlocks = kBdSingleLayerBlocks;
    media.push_back(Bd("bd-re", "BD-RE", kBdRe, 11826176, "MEI", "T02", 2));
    media.back().erasable = true;
    media.push_back(Disc("hddvd-rom", "pressed HD DVD-ROM", MediumFamily::HdDvd, kHdDvdRom, {}, 7000000));
    media.back().bookType = 4;
    AddWriteOnceStates(media);
    AddRewritableStates(media);
    AddScratchedDiscs(media);
    return media;
}

const std::vector<MediumDescription>& Presets()
{
    static const std::vector<MediumDescription> presets = BuildPresets();
    return presets;
}

}  // namespace

std::optional<MediumDescription> FindMediumPreset(std::string_view name)
{
    for (const MediumDescription& medium : Presets())
        if (scsi::EqualsIgnoringCase(medium.presetName, name))
            return medium;
    return std::nullopt;
}

std::vector<std::string> MediumPresetNames()
{
    std::vector<std::string> names{std::string(kNoMediumPreset)};
    for (const MediumDescription& medium : Presets())
        names.push_back(medium.presetName);
    return names;
}

}  // namespace emu
