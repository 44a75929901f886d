#include "gui/tools/testpage/TestPageSurface.h"

#include "core/app/MainLayout.h"
#include "core/app/TestPageControls.h"
#include "core/base/AppProfile.h"
#include "core/base/ColorRef.h"
#include "core/base/LogFile.h"
#include "core/base/UserPrompt.h"
#include "core/info/DriveInfoControls.h"
#include "core/tools/testpage/PageEvents.h"
#include "core/tools/testpage/ReadErrorList.h"
#include "core/tools/testpage/TestResults.h"
#include "gui/app/FileDialogs.h"
#include "gui/app/PageHost.h"
#include "gui/graphs/GraphStatic.h"
#include "gui/tools/testpage/TestResultsList.h"
#include "gui/ui/Dialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <algorithm>
#include <array>

// The controls the test pages share. Workers change them only through the
// host's events; the window shows their changes.

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
// The media ID's label is short: its field takes the rest of the row.
constexpr int kMediaIdLabelWidth = 62;
constexpr const char* kErrorListFilter = "Text Files (*.txt)";

// Every control of this part.
std::vector<int> SharedControls()
{
    std::vector<int> ids = {kGroupBox, kResults, kGraph, kIsoRadio, kVideoRadio, kFolderRadio};
    for (const FieldRow& row : kFieldRows) {
        ids.push_back(row.field);
        ids.push_back(row.label);
    }
    return ids;
}

}  // namespace

COLORREF ProfileColour(const char* entry, COLORREF fallback)
{
    return static_cast<COLORREF>(GetAppProfileInt(entry, static_cast<int>(fallback)));
}

TestPageSurface::TestPageSurface(PageHost& host) : m_host(host), m_dlg(host.Window())
{
    auto* group = new QGroupBox(&m_dlg);
    group->setGeometry(487, 70, 250, 355);
    group->lower();  // behind the fields it frames
    m_dlg.BindControl(kGroupBox, group);
    for (std::size_t row = 0; row < kFieldRows.size(); ++row) {
        const FieldRow& place = kFieldRows[row];
        auto* label = new QLabel(place.caption, &m_dlg);
        label->setGeometry(kLabelX, kRowY[row], kLabelWidth, kRowHeight);
        m_dlg.BindControl(place.label, label);
        // The disc's type and media ID are the drive information page's fields.
        if (place.field == IDC_MEDIATYPE || place.field == IDC_MEDIAID) {
            m_driveInfoPlaces[place.field] = m_dlg.GetDlgItem(place.field)->geometry();
            continue;
        }
        auto* field = new QLineEdit(&m_dlg);
        field->setReadOnly(true);
        field->setGeometry(kFieldX, kRowY[row], kFieldWidth, kRowHeight);
        m_dlg.BindControl(place.field, field);
    }
    // The main graph: the block map of the ISO page (a cell for each step).
    m_Graph = new CGraphStatic(&m_dlg);
    m_Graph->move(28, 69);
    m_dlg.BindControl(kGraph, m_Graph);
    m_lbResults = new TestResultsList(m_host.Events().State(), &m_dlg);
    m_dlg.BindControl(kResults, m_lbResults);
    for (auto [id, caption, x] :
         {std::tuple{kIsoRadio, "ISO", 500}, {kVideoRadio, "DVD-Video", 560}, {kFolderRadio, "Folder", 660}}) {
        auto* radio = new QRadioButton(caption, &m_dlg);
        radio->setGeometry(x, 240, 90, 20);
        m_dlg.BindControl(id, radio);
    }
    m_dlg.CheckDlgButton(kIsoRadio, 1);
    HideAll();

    // The graph takes its changes from any thread and repaints on this one.
    m_host.Events().SetBlockMapHooks({
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
}

TestPageSurface::~TestPageSurface()
{
    m_host.Events().SetBlockMapHooks({});
}

void TestPageSurface::PlaceResultRows(int labelX, int fieldX, int fieldWidth)
{
    m_nResultFieldX = fieldX;
    m_nResultFieldWidth = fieldWidth;
    m_nLabelX = labelX;
    for (std::size_t row = 0; row < kFieldRows.size(); ++row) {
        const FieldRow& place = kFieldRows[row];
        const int labelWidth = place.field == kFieldMediaId ? kMediaIdLabelWidth : fieldX - labelX - 2;
        m_dlg.MoveDlgItem(place.label, labelX, kRowY[row], labelWidth, kRowHeight);
        // The shared fields move when shown (ShowTestPageControls).
        if (!m_driveInfoPlaces.count(place.field))
            m_dlg.MoveDlgItem(place.field, fieldX, kRowY[row], fieldWidth, kRowHeight);
    }
}

void TestPageSurface::HideAll()
{
    ShowTestPageControls(SharedControls(), false);
}

void TestPageSurface::ShowTestPageControls(const std::vector<int>& ids, bool show)
{
    for (int id : ids) {
        m_dlg.ShowDlgItem(id, show);
        // The shared fields go back to the drive information page when hidden.
        if (const auto place = m_driveInfoPlaces.find(id); place != m_driveInfoPlaces.end()) {
            const auto row = std::find_if(kFieldRows.begin(), kFieldRows.end(),
                                          [id](const FieldRow& r) { return r.field == id; });
            const int y = kRowY[static_cast<std::size_t>(row - kFieldRows.begin())];
            const int x = id == kFieldMediaId ? m_nLabelX + kMediaIdLabelWidth + 2 : m_nResultFieldX;
            if (show)
                m_dlg.MoveDlgItem(id, x, y, m_nResultFieldX + m_nResultFieldWidth - x, kRowHeight);
            else
                m_dlg.GetDlgItem(id)->setGeometry(place->second);
        }
    }
}

void TestPageSurface::ShowPageMediaType()
{
    // The media ID, or an empty text when the disc has none to read.
    auto name = std::make_shared<std::string>();
    auto id = std::make_shared<std::string>();
    m_host.RunDriveWork(
        [this, name, id] {
            MediaIdentification& media = m_host.Core().m_Drives.media;
            if (media.GetMediaIDString(*id) != 1)
                id->clear();
            media.GetMediaTypeName(*name);
        },
        [this, name, id] {
            m_host.Events().SetText(kFieldMediaId, *id);
            m_host.Events().SetText(kFieldMediaType, *name);
            m_host.ApplyTestPageChanges();
        });
}

void TestPageSurface::ResetTestResults()
{
    testpage::ResetTestResults(m_host.Events());
    m_host.ApplyTestPageChanges();
}

void TestPageSurface::ApplySpeedGraphColours()
{
    m_Graph->SetSpeedColor(ProfileColour("GraphSPEEDColorPick", 0x00FFFF));
    m_Graph->SetRpmColor(ProfileColour("GraphRPMColorPick", 0x00FF00));
    const COLORREF grid = ProfileColour("GraphFGColorPick1", 0x6D6D6D);
    m_Graph->SetGridColors(grid, HalfIntensity(grid), ProfileColour("GraphBGColorPick1", 0));
}

void TestPageSurface::SaveReadErrorList(const std::string& stoppedAt)
{
    const auto choice = ShowSaveFileDialog(&m_dlg, "Choose a FileName to save as", kErrorListFilter,
                                           "Last Error Directory", "txt", 1);
    if (!choice || !ConfirmReplace(choice->path))
        return;
    ReadErrorList list;
    list.drive = m_host.DriveInfoText(IDC_MODEL);
    list.mediaId = m_dlg.GetDlgItemText(kFieldMediaId);
    list.mediaType = m_dlg.GetDlgItemText(kFieldMediaType);
    list.stoppedAt = stoppedAt;
    for (int i = 1; i < m_lbResults->count(); ++i)  // the heading is not written
        list.lines.push_back(m_lbResults->Line(i));
    std::string error;
    if (!::SaveReadErrorList(choice->path, list, error)) {
        LogEntry("OnSave() - " + error);
        AppMessageBox("Error creating file");
    }
}
