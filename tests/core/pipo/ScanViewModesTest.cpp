#include "core/pipo/ScanDriveClassification.h"
#include "core/pipo/ScanViewModes.h"
#include "core/pipo/ScanWindowIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

bool Has(const std::vector<int>& ids, int id)
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

std::map<int, std::string> Captions(const ScanViewChanges& changes)
{
    std::map<int, std::string> captions;
    for (const auto& [id, text] : changes.captions)
        captions[id] = text;
    return captions;
}

}  // namespace

// Each family's view: its graph captions, the series it shows, the controls
// of its own group shown and those of the other families hidden.
TEST(ScanViewModes, EachFamilyShowsItsGroupsAndHidesTheOthers)
{
    struct Case {
        int driveCode;
        bool jitterCapable;
        const char* lowerBox;
        ScanShowFlags show;  // PIF, PO, jitter, PI, speed
        std::vector<int> shown;
        std::vector<int> hidden;
    };
    // clang-format off
    const Case cases[] = {
        {kDriveGenericF3, false, "PI Failures && Jitter", {1, 0, 1, 1, 0},
         {IDC_PIPO_JITTER_SCALE, IDC_PIPO_JITTER_INST, kLowerRightCaptions[0]}, {IDC_PIPO_ACCURACY, IDC_PIPO_CAV_SPEED}},
        {kDriveUnsuitable, false, "PI Failures && Jitter", {1, 0, 1, 1, 0}, {IDC_PIPO_JITTER_SCALE}, {IDC_PIPO_NEC_SPEED}},
        {kDriveBenq, false, "PI Failures && Jitter", {1, 0, 1, 1, 0},
         {IDC_PIPO_SPEED_LABEL, IDC_PIPO_CAV_SPEED, IDC_PIPO_JITTER_SCALE}, {IDC_PIPO_READ_SPEED, IDC_PIPO_ACCURACY}},
        {kDriveBtc, false, "PI Failures Graph", {1, 0, 0, 1, 0}, {IDC_PIPO_PIF_LINE, IDC_PIPO_PIF_BLOCK},
         {IDC_PIPO_ACCURACY, IDC_PIPO_CAV_SPEED}},
        {kDriveSamsung, true, "PI Failures Graph", {1, 0, 0, 1, 0}, {IDC_PIPO_PIF_LINE}, {IDC_PIPO_NEC_SPEED}},
        {kDriveLiteon, true, "PI Failures Graph", {1, 0, 1, 1, 0},
         {IDC_PIPO_JITTER_SCALE, IDC_PIPO_JITTER_AVG, kLowerRightCaptions[3]}, {IDC_PIPO_ACCURACY, IDC_PIPO_CAV_SPEED}},
        {kDriveLiteon, false, "PI Failures Graph", {1, 0, 0, 1, 0}, {},
         {IDC_PIPO_JITTER_SCALE, IDC_PIPO_JITTER_AVG, kLowerRightCaptions[3]}},
        {kDriveCyberdrive, false, "PO Errors", {0, 1, 1, 1, 0}, {IDC_PIPO_JITTER_INST, IDC_PIPO_JITTER_PEAK},
         {IDC_PIPO_ACCURACY, IDC_PIPO_CAV_SPEED}},
        {kDrivePioneer, false, "PIF Errors", {1, 0, 0, 1, 0}, {IDC_PIPO_ACCURACY, IDC_PIPO_JITTER_INST},
         {IDC_PIPO_JITTER_SCALE, IDC_PIPO_CAV_SPEED}},
        {kDriveAopen, false, "PIF Errors", {1, 0, 0, 1, 0}, {IDC_PIPO_ACCURACY_LABEL}, {IDC_PIPO_NEC_SPEED}},
        {kDriveNec, false, "PIF Graph", {1, 0, 0, 1, 0}, {IDC_PIPO_SPEED_LABEL, IDC_PIPO_NEC_SPEED},
         {IDC_PIPO_READ_SPEED, IDC_PIPO_JITTER_SCALE, IDC_PIPO_CAV_SPEED}},
        {kDriveIhas, false, "PIF Graph", {1, 0, 0, 1, 0}, {IDC_PIPO_NEC_SPEED}, {IDC_PIPO_ACCURACY}},
        {kDrivePlextor, false, "PIF / Jitter Graph", {1, 0, 1, 1, 0}, {IDC_PIPO_ACCURACY, IDC_PIPO_JITTER_SCALE},
         {IDC_PIPO_CAV_SPEED, IDC_PIPO_SPEED_LABEL, IDC_PIPO_NEC_SPEED}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.driveCode);
        const ScanViewChanges changes = ChangesForView(WindowSetupFor(c.driveCode).view, c.jitterCapable, true);
        EXPECT_EQ(Captions(changes)[IDC_PIPO_LOWER_BOX], c.lowerBox);
        EXPECT_EQ(changes.show, c.show);
        for (int id : c.shown) {
            EXPECT_TRUE(Has(changes.shown, id)) << id;
            EXPECT_FALSE(Has(changes.hidden, id)) << id;
        }
        for (int id : c.hidden)
            EXPECT_TRUE(Has(changes.hidden, id)) << id;
    }
}

TEST(ScanViewModes, CaptionsPressesAndJitterChoices)
{
    auto captions = Captions(ChangesForView(ScanViewMode::Plextor, false, true));
    EXPECT_EQ(captions[IDC_PIPO_UPPER_BOX], "PIE / Speed Graph");
    EXPECT_EQ(captions[IDC_PIPO_PEAK_LABEL], "POE Peak");
    EXPECT_EQ(ChangesForView(ScanViewMode::Plextor, false, false).show.showJitter, 0) << "as the toggle is";

    captions = Captions(ChangesForView(ScanViewMode::Pioneer, false, true));
    EXPECT_EQ(captions[IDC_PIPO_JITTER_INST_LABEL], "Current LBA");
    EXPECT_EQ(captions[IDC_PIPO_JITTER_PEAK_LABEL], "Max LBA");
    EXPECT_EQ(captions[IDC_PIPO_PEAK_LABEL], "PO Peak");
    EXPECT_EQ(Captions(ChangesForView(ScanViewMode::Liteon, true, true)).count(IDC_PIPO_PEAK_LABEL), 0u)
        << "left as it is";

    const ScanViewChanges benq = ChangesForView(ScanViewMode::Benq, false, true);
    const std::vector<std::pair<int, int>> pressed = {{IDC_PIPO_SHOW_PIF, 1}, {IDC_PIPO_SHOW_PO, 0}};
    EXPECT_EQ(benq.presses, pressed);

    // The BTC/Samsung jitter group is usable only on a jitter-capable drive.
    for (const bool capable : {false, true}) {
        const ScanViewChanges btc = ChangesForView(ScanViewMode::BtcSamsung, capable, true);
        for (const auto& [id, enabled] : btc.enabled) {
            if (id == IDC_PIPO_JITTER_SCALE) {
                EXPECT_EQ(enabled, capable);
            }
        }
    }
    for (const ScanViewModeRow& row : ScanViewModeTable())
        EXPECT_EQ(ChangesForView(row.mode, false, true).show.showSpeed, 0) << row.name;
}

TEST(ScanViewModes, POCaptionsSwitchTheLabelsAndToggles)
{
    auto captionOf = [](const ScanPOCaptions& po, int id) {
        for (const auto& [control, text] : po.captions)
            if (control == id)
                return text;
        return std::string();
    };
    auto stateOf = [](const std::vector<std::pair<int, bool>>& states, int id) {
        for (const auto& [control, state] : states)
            if (control == id)
                return state;
        ADD_FAILURE() << "no state for " << id;
        return false;
    };
    // The PO mode's drive measures jitter: its jitter controls stay usable
    // and its jitter displays say jitter.
    const ScanPOCaptions po = POCaptionsFor(true);
    EXPECT_EQ(captionOf(po, IDC_PIPO_PIF_TOTAL_LABEL), "PO Total");
    EXPECT_EQ(captionOf(po, IDC_PIPO_LOWER_SCALE_LABEL), "PO Scale (Left)");
    EXPECT_EQ(captionOf(po, IDC_PIPO_JITTER_INST_LABEL), "Jitter Inst.");
    EXPECT_EQ(captionOf(po, IDC_PIPO_JITTER_PEAK_LABEL), "Jitter Peak");
    EXPECT_TRUE(stateOf(po.enabled, IDC_PIPO_JITTER_AVG));
    EXPECT_TRUE(stateOf(po.enabled, IDC_PIPO_SHOW_JITTER));
    EXPECT_TRUE(stateOf(po.enabled, IDC_PIPO_JITTER_INSTANT));
    EXPECT_TRUE(stateOf(po.shown, IDC_PIPO_SHOW_PO));
    EXPECT_FALSE(stateOf(po.shown, IDC_PIPO_SHOW_PIF));
    EXPECT_TRUE(stateOf(po.shown, kLowerRightCaptions[0]));

    const ScanPOCaptions pif = POCaptionsFor(false);
    EXPECT_EQ(captionOf(pif, IDC_PIPO_JITTER_INST_LABEL), "Jitter Inst.");
    EXPECT_EQ(captionOf(pif, IDC_PIPO_PIF_AVG_LABEL), "PIF Avg");
    EXPECT_TRUE(stateOf(pif.enabled, IDC_PIPO_JITTER_AVG));
    EXPECT_TRUE(stateOf(pif.shown, IDC_PIPO_SHOW_PIF));
    EXPECT_FALSE(stateOf(pif.shown, IDC_PIPO_SHOW_PO));
}
