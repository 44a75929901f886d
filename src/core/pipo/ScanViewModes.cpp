#include "core/pipo/ScanViewModes.h"

#include "core/pipo/ScanWindowIds.h"

#include <algorithm>
#include <array>

namespace {

std::vector<int> Join(std::initializer_list<std::vector<int>> groups)
{
    std::vector<int> all;
    for (const auto& group : groups)
        all.insert(all.end(), group.begin(), group.end());
    return all;
}

const std::vector<int> kJitterDisplays = {IDC_PIPO_JITTER_INST,       IDC_PIPO_JITTER_PEAK,
                                          IDC_PIPO_JITTER_AVG,        IDC_PIPO_JITTER_INST_LABEL,
                                          IDC_PIPO_JITTER_PEAK_LABEL, IDC_PIPO_JITTER_AVG_LABEL};
const std::vector<int> kJitterScale = {IDC_PIPO_JITTER_SCALE_LABEL, IDC_PIPO_JITTER_SCALE};
const std::vector<int> kJitterModes = {IDC_PIPO_JITTER_INSTANT, IDC_PIPO_JITTER_AVERAGE};
const std::vector<int> kJitterCaptions = {kLowerRightCaptions[0], kLowerRightCaptions[1], kLowerRightCaptions[2],
                                          kLowerRightCaptions[3]};
const std::vector<int> kJitterGroup = Join({kJitterDisplays, kJitterScale, kJitterModes});
const std::vector<int> kPifRadios = {IDC_PIPO_PIF_LINE, IDC_PIPO_PIF_BLOCK};
const std::vector<int> kAccuracy = {IDC_PIPO_ACCURACY_LABEL, IDC_PIPO_ACCURACY};
const std::vector<int> kCavSpeed = {IDC_PIPO_SPEED_LABEL, IDC_PIPO_CAV_SPEED};
const std::vector<int> kNecSpeed = {IDC_PIPO_SPEED_LABEL, IDC_PIPO_NEC_SPEED};

std::vector<std::pair<int, WhenCapable>> Enables(const std::vector<int>& ids, WhenCapable when)
{
    std::vector<std::pair<int, WhenCapable>> enables;
    for (int id : ids)
        enables.emplace_back(id, when);
    return enables;
}

std::vector<ScanViewModeRow> BuildTable()
{
    using enum ScanViewMode;
    using enum JitterSeries;
    // clang-format off
    return {
        {Generic, "ShowGenericView", "PI Errors && Speed", "PI Failures && Jitter", nullptr, 1, 0, On,
         Join({kJitterGroup, kJitterCaptions}), {}, {}, Enables(kJitterGroup, WhenCapable::Always), {}, {}},
        {Benq, "ShowBenqView", "PI Errors && Speed", "PI Failures && Jitter", "POE Peak", 1, 0, On,
         Join({kCavSpeed, kJitterGroup, kJitterCaptions}), {}, {IDC_PIPO_READ_SPEED},
         Enables(kJitterGroup, WhenCapable::Always), {{IDC_PIPO_SHOW_PIF, 1}, {IDC_PIPO_SHOW_PO, 0}}, {}},
        {BtcSamsung, "ShowBtcSamsungView", "PI Errors && Speed", "PI Failures Graph", nullptr, 1, 0, Off,
         Join({kPifRadios, kJitterGroup}), {}, {}, Enables(kJitterGroup, WhenCapable::IfJitterCapable), {}, {}},
        {Liteon, "ShowLiteonView", "PI Errors && Speed", "PI Failures Graph", nullptr, 1, 0, IfJitterCapable,
         {}, Join({kJitterGroup, kJitterCaptions}), {}, Enables(kJitterGroup, WhenCapable::IfJitterCapable), {}, {}},
        {PO, "ShowPOView", "PI Errors && Speed", "PO Errors", "PO Peak", 0, 1, On,
         Join({kJitterDisplays, kJitterScale}), {}, {},
         {{IDC_PIPO_SHOW_PI, WhenCapable::Always}, {IDC_PIPO_SHOW_PO, WhenCapable::Always}},
         {{IDC_PIPO_SHOW_PIF, 1}, {IDC_PIPO_SHOW_PO, 1}}, {}, true},
        {Pioneer, "ShowPioneerView", "PI Errors && Speed", "PIF Errors", "PO Peak", 1, 0, Off,
         Join({kAccuracy, kJitterDisplays}), {}, {}, Enables(kJitterDisplays, WhenCapable::Always), {},
         {{IDC_PIPO_JITTER_INST_LABEL, "Current LBA"}, {IDC_PIPO_JITTER_PEAK_LABEL, "Max LBA"}}},
        {NecIhas, "ShowNecIhasView", "PI Errors && Speed", "PIF Graph", nullptr, 1, 0, Off,
         kNecSpeed, {}, {IDC_PIPO_READ_SPEED}, {}, {}, {}},
        {Plextor, "ShowPlextorView", "PIE / Speed Graph", "PIF / Jitter Graph", "POE Peak", 1, 0, AsToggle,
         Join({kAccuracy, kJitterGroup, kJitterCaptions}), {}, kCavSpeed, Enables(kJitterGroup, WhenCapable::Always),
         {{IDC_PIPO_SHOW_PO, 0}}, {}},
    };
    // clang-format on
}

bool Contains(const std::vector<int>& ids, int id)
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

void AddOnce(std::vector<int>& ids, int id)
{
    if (!Contains(ids, id))
        ids.push_back(id);
}

}  // namespace

std::span<const ScanViewModeRow> ScanViewModeTable()
{
    static const std::vector<ScanViewModeRow> table = BuildTable();
    return table;
}

const ScanViewModeRow& ScanViewModeFor(ScanViewMode mode)
{
    for (const ScanViewModeRow& row : ScanViewModeTable())
        if (row.mode == mode)
            return row;
    return ScanViewModeTable().front();
}

ScanViewChanges ChangesForView(ScanViewMode mode, bool jitterCapable, bool showJitterPressed)
{
    const ScanViewModeRow& row = ScanViewModeFor(mode);
    ScanViewChanges changes;
    for (int id : row.owned)
        AddOnce(changes.shown, id);
    if (jitterCapable)
        for (int id : row.ownedIfJitterCapable)
            AddOnce(changes.shown, id);
    for (const ScanViewModeRow& other : ScanViewModeTable())
        for (const auto* ids : {&other.owned, &other.ownedIfJitterCapable})
            for (int id : *ids)
                if (!Contains(changes.shown, id))
                    AddOnce(changes.hidden, id);
    for (int id : row.hides)
        if (!Contains(changes.shown, id))
            AddOnce(changes.hidden, id);

    for (const auto& [id, when] : row.enables)
        changes.enabled.emplace_back(id, when == WhenCapable::Always || jitterCapable);
    changes.enabled.emplace_back(IDC_PIPO_SHOW_PI, true);
    changes.presses = row.presses;
    changes.captions.emplace_back(IDC_PIPO_UPPER_BOX, row.upperBox);
    changes.captions.emplace_back(IDC_PIPO_LOWER_BOX, row.lowerBox);
    if (row.peakLabel != nullptr)
        changes.captions.emplace_back(IDC_PIPO_PEAK_LABEL, row.peakLabel);
    for (const auto& [id, text] : row.captions)
        changes.captions.emplace_back(id, text);

    changes.show.showPIF = row.showPIF;
    changes.show.showPO = row.showPO;
    switch (row.jitter) {
    case JitterSeries::Off: changes.show.showJitter = 0; break;
    case JitterSeries::On: changes.show.showJitter = 1; break;
    case JitterSeries::IfJitterCapable: changes.show.showJitter = jitterCapable ? 1 : 0; break;
    case JitterSeries::AsToggle: changes.show.showJitter = showJitterPressed ? 1 : 0; break;
    }
    changes.show.showPI = 1;
    changes.show.showSpeed = 0;  // the user turns speed on
    return changes;
}

ScanPOCaptions POCaptionsFor(bool poMode)
{
    ScanPOCaptions result;
    // The PO mode's drive (the Cyberdrive) measures jitter too: the jitter
    // displays, toggle, modes and axis stay as in the PIF mode.
    // clang-format off
    result.captions = poMode
        ? std::vector<std::pair<int, std::string>>{
              {IDC_PIPO_JITTER_INST_LABEL, "Jitter Inst."}, {IDC_PIPO_JITTER_PEAK_LABEL, "Jitter Peak"},
              {IDC_PIPO_PIF_TOTAL_LABEL, "PO Total"}, {IDC_PIPO_PIF_PEAK_LABEL, "PO Peak"},
              {IDC_PIPO_PIF_AVG_LABEL, "PO Avg"}, {IDC_PIPO_LOWER_SCALE_LABEL, "PO Scale (Left)"}}
        : std::vector<std::pair<int, std::string>>{
              {IDC_PIPO_JITTER_INST_LABEL, "Jitter Inst."}, {IDC_PIPO_JITTER_PEAK_LABEL, "Jitter Peak"},
              {IDC_PIPO_PIF_TOTAL_LABEL, "PIF Total"}, {IDC_PIPO_PIF_PEAK_LABEL, "PIF Peak"},
              {IDC_PIPO_PIF_AVG_LABEL, "PIF Avg"}, {IDC_PIPO_LOWER_SCALE_LABEL, "PIF Scale (Left)"}};
    // clang-format on
    for (int id : kJitterDisplays)
        result.enabled.emplace_back(id, true);
    for (int id : kJitterScale)
        result.enabled.emplace_back(id, true);
    result.enabled.emplace_back(IDC_PIPO_SHOW_JITTER, true);
    for (int id : kJitterModes)
        result.enabled.emplace_back(id, true);
    for (int id : kJitterCaptions)
        result.shown.emplace_back(id, true);
    result.shown.emplace_back(IDC_PIPO_SHOW_PO, poMode);
    result.shown.emplace_back(IDC_PIPO_SHOW_PIF, !poMode);
    return result;
}
