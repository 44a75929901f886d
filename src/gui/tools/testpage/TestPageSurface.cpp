#include "core/base/AppProfile.h"
#include "core/app/MainLayout.h"
#include "core/app/TestPageControls.h"
#include "core/tools/testpage/TestResults.h"
#include "gui/app/QuenzaDlg.h"
#include "gui/graphs/GraphStatic.h"
#include "gui/ui/Beep.h"
#include "gui/ui/TextProgressCtrl.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

#include <array>

// The controls the test pages share: the result fields with their labels,
// the results list, the group box with the page's title and the ISO page's
// source radios. Workers change them only through m_TestPage; the window
// shows its changes here.

namespace {

using namespace testpage;

struct FieldRow {
    int label;
    int field;
    const char* caption;
};

// Top to bottom, as the ISO and error pages stand them.
// clang-format off
constexpr std::array kFieldRows = {
    FieldRow{kLabelMediaId,         kFieldMediaId,         "Media ID"},
    FieldRow{kLabelMediaType,       kFieldMediaType,       "Media Type"},
    FieldRow{kLabelLength,          kFieldLength,          "Length"},
    FieldRow{kLabelRead,            kFieldRead,            "Read"},
    FieldRow{kLabelRemaining,       kFieldRemaining,       "Remaining"},
    FieldRow{kLabelReadErrors,      kFieldReadErrors,      "Read Errors"},
    FieldRow{kLabelCurrentSpeed,    kFieldCurrentSpeed,    "Current Speed"},
    FieldRow{kLabelAverageSpeed,    kFieldAverageSpeed,    "Average Speed"},
    FieldRow{kLabelAverageDataRate, kFieldAverageDataRate, "Average Data Rate"},
    FieldRow{kLabelLayerTrackPath,  kFieldLayerTrackPath,  "Layer Track Path"},
    FieldRow{kLabelElapsedTime,     kFieldElapsedTime,     "Elapsed Time"},
};
// clang-format on
constexpr std::array kRowY = {109, 129, 148, 168, 188, 209, 231, 252, 273, 294, 314};
constexpr int kLabelX = 507;
constexpr int kLabelWidth = 100;
constexpr int kFieldX = 612;
constexpr int kFieldWidth = 118;
constexpr int kRowHeight = 18;

}  // namespace

void CQuenzaDlg::CreateTestPageControls()
{
    auto* group = new QGroupBox(this);
    group->setGeometry(487, 70, 250, 355);
    group->lower();  // behind the fields it frames
    BindControl(kGroupBox, group);
    for (std::size_t row = 0; row < kFieldRows.size(); ++row) {
        const FieldRow& place = kFieldRows[row];
        auto* label = new QLabel(place.caption, this);
        label->setGeometry(kLabelX, kRowY[row], kLabelWidth, kRowHeight);
        BindControl(place.label, label);
        // The disc's type and media ID are the drive information page's fields.
        if (place.field == IDC_MEDIATYPE || place.field == IDC_MEDIAID) {
            m_driveInfoPlaces[place.field] = GetDlgItem(place.field)->geometry();
            continue;
        }
        auto* field = new QLineEdit(this);
        field->setReadOnly(true);
        field->setGeometry(kFieldX, kRowY[row], kFieldWidth, kRowHeight);
        BindControl(place.field, field);
    }
    // The main graph: the block map of the ISO page (a cell for each step).
    m_Graph = new CGraphStatic(this);
    m_Graph->move(28, 69);
    BindControl(kGraph, m_Graph);
    m_lbResults = new QListWidget(this);
    BindControl(kResults, m_lbResults);
    for (auto [id, caption, x] :
         {std::tuple{kIsoRadio, "ISO", 500}, {kVideoRadio, "DVD-Video", 560}, {kFolderRadio, "Folder", 660}}) {
        auto* radio = new QRadioButton(caption, this);
        radio->setGeometry(x, 240, 90, 20);
        BindControl(id, radio);
    }
    CheckDlgButton(kIsoRadio, 1);
    MapCommand(kIsoRadio, [this] { OnCompareIsoRadio(); });
    MapCommand(kVideoRadio, [this] { OnCompareVideoRadio(); });
    ShowTestPageControls(AllTestPageControls(), false);

    m_pPageEvents = std::make_unique<PageEvents>(m_Core.m_Report, m_TestPage, GetMessageTarget());
    // Beeps sound from the window's thread.
    m_pPageEvents->SetBeepHook([this](unsigned type) {
        QMetaObject::invokeMethod(
            this, [type] { MessageBeep(type); }, Qt::QueuedConnection);
    });
    // The graph takes its changes from any thread and repaints on this one.
    m_pPageEvents->SetBlockMapHooks({
        .clear = [this] { m_Graph->ClearErrorMap(); },
        .layerBreak =
            [this](int cell) {
                const auto colour = static_cast<COLORREF>(GetAppProfileInt("GraphVERTColorPick", 0xFFFFFF));
                m_Graph->SetErrorMapLayerBreak(cell, cell ? colour : 0);
                m_Graph->Redraw();
            },
        .next =
            [this](bool bad) {
                if (bad)
                    m_Graph->MarkBlockBad();
                m_Graph->NextErrorBlock();
                m_Graph->Redraw();
            },
        .nextSuspect =
            [this] {
                m_Graph->MarkBlockRecovered();
                m_Graph->NextErrorBlock();
                m_Graph->Redraw();
            },
    });
    const MessageTargetPtr target = GetMessageTarget();
    m_TestPage.SetListener([target] { target->PostMessage(WM_TESTPAGECHANGED); });
    CreateSpeedPageControls();
}

void CQuenzaDlg::PlaceResultRows(int labelX, int fieldX, int fieldWidth)
{
    m_nResultFieldX = fieldX;
    m_nResultFieldWidth = fieldWidth;
    for (std::size_t row = 0; row < kFieldRows.size(); ++row) {
        const FieldRow& place = kFieldRows[row];
        MoveDlgItem(place.label, labelX, kRowY[row], fieldX - labelX - 2, kRowHeight);
        // The shared fields move when shown (ShowTestPageControls).
        if (!m_driveInfoPlaces.count(place.field))
            MoveDlgItem(place.field, fieldX, kRowY[row], fieldWidth, kRowHeight);
    }
}

std::vector<int> CQuenzaDlg::AllTestPageControls() const
{
    std::vector<int> ids = SpeedPageControls();
    ids.insert(ids.end(), {kGroupBox, kResults, kIsoRadio, kVideoRadio, kFolderRadio});
    return ids;
}

void CQuenzaDlg::ShowTestPageControls(const std::vector<int>& ids, bool show)
{
    for (int id : ids) {
        ShowDlgItem(id, show);
        // The shared fields go back to the drive information page when hidden.
        if (const auto place = m_driveInfoPlaces.find(id); place != m_driveInfoPlaces.end()) {
            const auto row = std::find_if(kFieldRows.begin(), kFieldRows.end(),
                                          [id](const FieldRow& r) { return r.field == id; });
            const int y = kRowY[static_cast<std::size_t>(row - kFieldRows.begin())];
            if (show)
                MoveDlgItem(id, m_nResultFieldX, y, m_nResultFieldWidth, kRowHeight);
            else
                GetDlgItem(id)->setGeometry(place->second);
        }
    }
}

void CQuenzaDlg::ApplyTestPageChanges()
{
    TestPageState::Changes changes = m_TestPage.TakeChanges();
    for (const auto& [id, text] : changes.texts) {
        if (!GetDlgItem(id))
            continue;
        if (id == IDC_MEDIAID)
            m_strInfo[IDC_MEDIAID] = text;
        SetDlgItemText(id, text);
    }
    for (const auto& [id, enable] : changes.enabled)
        if (GetDlgItem(id))
            EnableDlgItem(id, enable);
    if (changes.progress)
        m_Progress2->SetPos(*changes.progress);
    if (changes.listReset)
        m_lbResults->clear();
    for (const std::string& line : changes.lines)
        m_lbResults->addItem(QString::fromStdString(line));
    if (!changes.lines.empty() && m_lbResults->count() > 2)
        m_lbResults->scrollToBottom();
}

void CQuenzaDlg::ShowPageMediaType()
{
    // Its media ID is read by the media code, which this version does not have.
    m_pPageEvents->SetText(kFieldMediaId, "");
    auto name = std::make_shared<std::string>();
    RunDriveWork([this, name] { m_Core.m_Drives.media.GetMediaTypeName(*name); },
                 [this, name] {
                     m_pPageEvents->SetText(kFieldMediaType, *name);
                     ApplyTestPageChanges();
                 });
    ApplyTestPageChanges();
}

void CQuenzaDlg::ResetTestResults()
{
    testpage::ResetTestResults(*m_pPageEvents);
    ApplyTestPageChanges();
}
