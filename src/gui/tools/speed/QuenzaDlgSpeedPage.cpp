#include "core/base/AppProfile.h"
#include "core/base/BusyFlags.h"
#include "core/base/LogFile.h"
#include "core/app/MainLayout.h"
#include "core/app/TestPageControls.h"
#include "core/base/UserPrompt.h"
#include "core/info/DriveInfoControls.h"
#include "core/tools/speed/SpeedFamily.h"
#include "core/tools/speed/SpeedTest.h"
#include "core/tools/speed/SpeedThread.h"
#include "core/tools/testpage/DiscCheck.h"
#include "core/tools/testpage/ReadErrorList.h"
#include "gui/app/FileDialogs.h"
#include "gui/app/QuenzaDlg.h"
#include "gui/graphs/GraphStatic.h"
#include "gui/ui/Beep.h"
#include "gui/ui/ButtonST.h"
#include "gui/ui/QtConvert.h"
#include "gui/ui/TextProgressCtrl.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QRadioButton>

#include <array>

// The read speed test page (page 7): its speed, rotation and pre-spin
// choices, the rate graph with its axis labels and curve toggles, Start,
// Stop and Save. The test itself runs on the tools' worker (core/tools/speed);
// what it tells comes back through m_pPageEvents and WM_TESTENDED.

namespace {

using namespace testpage;

constexpr UiRect kSpeedSaveButton = BoxAt(573, 389, 66, 23);
constexpr UiRect kSpeedStopButton = BoxAt(544, 527, 66, 23);
constexpr UiRect kSpeedProgress2Box = BoxAt(520, 447, 207, 16);
constexpr UiRect kTestModelField = BoxAt(527, 89, 195, 16);
constexpr int kRowLabelX = 522;
constexpr int kRowFieldX = 640;  // room for the longest label, "Average Data Rate"
constexpr int kRowFieldWidth = 90;
constexpr int kGraphX = 28;
constexpr int kGraphY = 69;
constexpr int kGraphWidth = 451;
constexpr int kGraphHeight = 400;
constexpr int kPreSpinDefault = 4;
constexpr const char* kErrorListFilter = "Text Files (*.txt)";

struct Place {
    int id;
    UiRect at;
    const char* caption;
};

// clang-format off
constexpr std::array kSpeedChoices = {
    Place{kSpeedLabel,   BoxAt(522, 340, 85, 20),  "Speed"},
    Place{kRequestClv,   BoxAt(522, 364, 110, 20), "Request CLV"},
    Place{kRequestCav,   BoxAt(634, 364, 105, 20), "Request CAV"},
    Place{kPreSpinLabel, BoxAt(522, 419, 85, 20),  "Pre-spin"},
    Place{kShowRpm,      BoxAt(522, 470, 105, 18), "Show RPM"},
    Place{kShowSpeed,    BoxAt(634, 470, 105, 18), "Show Speed"},
};
// clang-format on
constexpr UiRect kSpeedListBox = BoxAt(640, 338, 90, 22);
constexpr UiRect kPreSpinListBox = BoxAt(640, 417, 90, 22);

// The axis labels beside the 451 x 400 graph: speed and rotation on the
// grid's rows of 40 pixels, capacity on its columns of 100.
UiRect SpeedAxisPlace(std::size_t row)
{
    return BoxAt(0, kGraphY + 40 * static_cast<int>(row + 1) - 8, kGraphX - 2, 16);
}
UiRect RpmAxisPlace(std::size_t row)
{
    return BoxAt(kGraphX + kGraphWidth + 6, kGraphY + 40 * static_cast<int>(row + 1) - 8, 30, 16);
}
UiRect CapacityAxisPlace(std::size_t column)
{
    return BoxAt(kGraphX + 100 * static_cast<int>(column + 1) - 25, kGraphY + kGraphHeight + 6, 50, 16);
}

// The curve toggles' two looks: a box ticked in the curve's colour, and
// the empty box in its colour at half strength.
QImage ToggleImage(COLORREF colour, bool ticked)
{
    QImage image(13, 13, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor shade = ToQColor(ticked ? colour : HalfIntensity(colour));
    painter.setPen(QPen(shade, 1.5));
    painter.drawRect(QRectF(1, 1, 11, 11));
    if (ticked) {
        painter.drawLine(QPointF(3, 6.5), QPointF(5.5, 9.5));
        painter.drawLine(QPointF(5.5, 9.5), QPointF(10, 3));
    }
    return image;
}

COLORREF ProfileColour(const char* entry, COLORREF fallback)
{
    return static_cast<COLORREF>(GetAppProfileInt(entry, static_cast<int>(fallback)));
}

}  // namespace

void CQuenzaDlg::CreateSpeedPageControls()
{
    for (const Place& place : kSpeedChoices) {
        QWidget* widget = nullptr;
        if (place.id == kRequestClv || place.id == kRequestCav) {
            widget = new QRadioButton(place.caption, this);
        } else if (place.id == kShowRpm || place.id == kShowSpeed) {
            auto* toggle = new CButtonST(place.caption, this);
            toggle->setCheckable(true);
            toggle->SetFlatStyle(true);
            toggle->SetDrawBorder(false);
            toggle->SetAlignment(ST_ALIGN_HORIZ);
            toggle->setFocusPolicy(Qt::NoFocus);
            widget = toggle;
        } else {
            widget = new QLabel(place.caption, this);
        }
        widget->setGeometry(ToQRect(place.at));
        BindControl(place.id, widget);
    }
    // The rotation radios are a group of their own, apart from the ISO page's.
    auto* rotation = new QButtonGroup(this);
    rotation->addButton(Item<QRadioButton>(kRequestClv));
    rotation->addButton(Item<QRadioButton>(kRequestCav));
    m_cbSpeed = new QComboBox(this);
    m_cbSpeed->setGeometry(ToQRect(kSpeedListBox));
    BindControl(kSpeedList, m_cbSpeed);
    m_cbPreSpin = new QComboBox(this);
    m_cbPreSpin->setGeometry(ToQRect(kPreSpinListBox));
    for (const std::string& entry : PreSpinList())
        m_cbPreSpin->addItem(QString::fromStdString(entry));
    BindControl(kPreSpinList, m_cbPreSpin);
    const auto axisLabel = [this](int id, const UiRect& at, Qt::Alignment alignment) {
        auto* label = new QLabel(this);
        label->setGeometry(ToQRect(at));
        label->setAlignment(alignment | Qt::AlignVCenter);
        BindControl(id, label);
    };
    for (std::size_t i = 0; i < kSpeedAxisLabels.size(); ++i) {
        axisLabel(kSpeedAxisLabels[i], SpeedAxisPlace(i), Qt::AlignRight);
        axisLabel(kRpmAxisLabels[i], RpmAxisPlace(i), Qt::AlignLeft);
    }
    for (std::size_t i = 0; i < kCapacityAxisLabels.size(); ++i)
        axisLabel(kCapacityAxisLabels[i], CapacityAxisPlace(i), Qt::AlignHCenter);
    MapCommand(kShowRpm, [this] { m_Graph->ShowRpmCurve(IsDlgButtonChecked(kShowRpm)); });
    MapCommand(kShowSpeed, [this] { m_Graph->ShowSpeedCurve(IsDlgButtonChecked(kShowSpeed)); });
}

std::vector<int> CQuenzaDlg::SpeedPageControls() const
{
    std::vector<int> ids = {kGraph, kSpeedList, kPreSpinList};
    for (const Place& place : kSpeedChoices)
        ids.push_back(place.id);
    for (const auto* labels : {&kSpeedAxisLabels, &kRpmAxisLabels})
        ids.insert(ids.end(), labels->begin(), labels->end());
    ids.insert(ids.end(), kCapacityAxisLabels.begin(), kCapacityAxisLabels.end());
    for (const ResultField& row : kResultFields) {
        ids.push_back(row.field);
        ids.push_back(row.label);
    }
    ids.push_back(kFieldMediaId);
    ids.push_back(kLabelMediaId);
    return ids;
}

void CQuenzaDlg::OnSpeedTest()
{
    if (g_bSpeedTestRunning == 1)
        return;
    if (g_bErrorTestRunning == 1 || g_bCreateIsoRunning == 1 || m_bPiPoActive == 1) {
        AppMessageBox("You must stop the test first", "Error Test Running!", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (m_Core.m_Drives.coordinator.InUse())
        return;  // an operation is still giving the drive back
    SetDlgItemText(IDC_SAVE, "Save");
    SetDlgItemText(IDC_STOP, "Stop");
    PlaceDlgItem(IDC_SAVE, kSpeedSaveButton);
    SetupSpeedTestPage(true);
    m_nSpeedRequest = 0;
    m_nPreSpinIndex = kPreSpinDefault;
    UpdateData(false);
    // The speed list is the loaded disc's.
    auto profile = std::make_shared<int>(0);
    RunDriveWork([this, profile] { m_Core.m_Drives.media.GetDriveProfile(*profile); },
                 [this, profile] {
                     m_cbSpeed->clear();
                     for (const std::string& entry : SpeedListFor(*profile))
                         m_cbSpeed->addItem(QString::fromStdString(entry));
                     const CapacityTexts capacity = PageCapacityLabels(*profile);
                     for (std::size_t i = 0; i < capacity.size(); ++i)
                         SetDlgItemText(kCapacityAxisLabels[i], capacity[i]);
                     m_nSpeedIndex = 0;
                     m_nPreSpinIndex = kPreSpinDefault;
                     UpdateData(false);
                 });
}

void CQuenzaDlg::ShowSpeedTestPage(bool show)
{
    if (show) {
        ShowDriveInfoPage(false);
        for (int id : {IDC_OUTPUT, IDC_PROGRESS})
            ShowDlgItem(id, false);
        ShowComboBoxes();
        PlaceResultRows(kRowLabelX, kRowFieldX, kRowFieldWidth);
    }
    ShowTestPageControls(SpeedPageControls(), show);
    for (int id : {int{IDC_START}, int{IDC_STOP}, int{IDC_SAVE}, int{IDC_PROGRESS2}, int{IDC_MODEL}})
        ShowDlgItem(id, show);
    for (int id : {kSpeedList, kSpeedLabel, kRequestClv, kRequestCav, kPreSpinList, kPreSpinLabel})
        EnableDlgItem(id, show);
    if (!show)
        return;
    SetDlgItemText(IDC_START, "Start");
    SetDlgItemText(IDC_SAVE, "Save");
    SetDlgItemText(kLabelReadErrors, "Read Errors");
    PlaceDlgItem(IDC_PROGRESS2, kSpeedProgress2Box);
    PlaceDlgItem(IDC_START, kStartButton);
    PlaceDlgItem(IDC_STOP, kSpeedStopButton);
    PlaceDlgItem(IDC_MODEL, kTestModelField);
    m_Graph->SetGraphSize(kGraphWidth, kGraphHeight);
    // Both curves shown, their toggles ticked in the curves' colours.
    const COLORREF speed = ProfileColour("GraphSPEEDColorPick", 0x00FFFF);
    const COLORREF rpm = ProfileColour("GraphRPMColorPick", 0x00FFFF);
    for (auto [id, colour] : {std::pair{kShowRpm, rpm}, {kShowSpeed, speed}}) {
        auto* toggle = Item<CButtonST>(id);
        toggle->SetIcons(ToggleImage(colour, true), ToggleImage(colour, false));
        toggle->SetCheckState(1);
    }
    m_Graph->ShowRpmCurve(1);
    m_Graph->ShowSpeedCurve(1);
    m_nCurrentPage = kPageSpeedTest;
}

void CQuenzaDlg::SetupSpeedTestPage(bool clearGraph)
{
    StopSpeedTest();
    ShowSpeedTestPage(true);
    if (clearGraph)
        m_Graph->ClearGraph();
    m_qwTestStartMs = m_Core.m_Drives.mmc.GetWaitClock().NowMs();
    EnableDlgItem(IDC_START, true);
    EnableDlgItem(IDC_STOP, false);
    ApplySpeedGraphColours();
    ResetTestResults();
    for (std::size_t i = 0; i < kSpeedAxisLabels.size(); ++i) {
        SetDlgItemText(kSpeedAxisLabels[i], FactsOf(SpeedFamily::Dvd).speedLabels[i]);
        SetDlgItemText(kRpmAxisLabels[i], FactsOf(SpeedFamily::Dvd).rpmLabels[i]);
    }
    ShowPageMediaType();
}

void CQuenzaDlg::ApplySpeedGraphColours()
{
    m_Graph->SetSpeedColor(ProfileColour("GraphSPEEDColorPick", 0x00FFFF));
    m_Graph->SetRpmColor(ProfileColour("GraphRPMColorPick", 0x00FF00));
    const COLORREF grid = ProfileColour("GraphFGColorPick1", 0x6D6D6D);
    m_Graph->SetGridColors(grid, HalfIntensity(grid), ProfileColour("GraphBGColorPick1", 0));
}

void CQuenzaDlg::StartSpeedTest()
{
    if (m_Core.m_Drives.coordinator.InUse())
        return;  // one operation at a time on the drive
    SetupSpeedTestPage(true);
    UpdateData(true);
    SpeedTestSettings settings;
    settings.speedX = m_nSpeedIndex > 0 ? SpeedOfEntry(m_cbSpeed->itemText(m_nSpeedIndex).toStdString()) : 0;
    settings.speedRequest = m_nSpeedRequest == 1 ? 1 : 0;
    settings.preSpinSeconds = std::max(m_nPreSpinIndex, 0);
    settings.markerColor = ProfileColour("GraphVERTColorPick", 0xFFFFFF);
    settings.startMs = m_qwTestStartMs;
    const std::shared_ptr<ChannelClaim> claim = ClaimChannel(ChannelUse::SpeedTest);
    if (!claim)
        return;
    // Until the drive has answered; the drive stays current until the end.
    for (int id : {IDC_START, IDC_DEVICES, IDC_TOOLS})
        EnableDlgItem(id, false);
    auto disc = std::make_shared<DiscForTest>();
    RunDriveWork([this, disc] { *disc = CheckDiscForTest(m_Core.m_Drives); },
                 [this, claim, disc, settings] {
                     if (!disc->present || !disc->capacityRead) {
                         for (int id : {IDC_START, IDC_DEVICES, IDC_TOOLS})
                             EnableDlgItem(id, true);
                         claim->Release();
                         m_pPageEvents->SetText(kFieldMediaType, disc->present ? disc->typeName : std::string());
                         ApplyTestPageChanges();
                         ShowStatus(disc->present ? "Error Reading Media" : "No Media loaded");
                         MessageBeep(MB_OK);
                         return;
                     }
                     m_pPageEvents->SetText(kFieldMediaType, disc->typeName);
                     ShowStatus("Ready - Initialising Test...");
                     for (int id : {int{IDC_DEVICES}, int{IDC_TOOLS}, kPreSpinLabel, kPreSpinList, kSpeedList,
                                    kSpeedLabel, kRequestClv, kRequestCav})
                         EnableDlgItem(id, false);
                     RunToolWork([this, claim, settings, profile = disc->profile] {
                         ChannelClaim held = std::move(*claim);
                         SpeedTest test(m_Core.m_Drives, m_Core.m_Report, *m_pPageEvents, *m_Graph, held, settings);
                         SpeedThreadFor(profile)(&test);
                     });
                     EnableDlgItem(IDC_START, false);
                     EnableDlgItem(IDC_STOP, true);
                     ApplyTestPageChanges();
                 });
}

void CQuenzaDlg::StopSpeedTest()
{
    RunDriveWork([this] { m_Core.m_Drives.mmc.PreventMediumRemoval(0); });
    m_Core.m_Drives.coordinator.RequestStop(ChannelUse::SpeedTest);
    g_bSpeedTestRunning = 0;
    RestorePageButtons(true);
    for (int id : {kPreSpinLabel, kPreSpinList, kSpeedList, kSpeedLabel, kRequestClv, kRequestCav})
        EnableDlgItem(id, true);
}

void CQuenzaDlg::SaveReadErrorList()
{
    const auto choice = ShowSaveFileDialog(this, "Choose a FileName to save as", kErrorListFilter,
                                           "Last Error Directory", "txt", 1);
    if (!choice)
        return;
    ReadErrorList list;
    list.drive = m_strInfo[IDC_MODEL];
    list.mediaId = GetDlgItemText(kFieldMediaId);
    list.mediaType = GetDlgItemText(kFieldMediaType);
    if (m_nCurrentPage == kPageErrorTest)
        list.stoppedAt = m_strErrorTestStopped;
    for (int i = 1; i < m_lbResults->count(); ++i)  // the heading is not written
        list.lines.push_back(m_lbResults->item(i)->text().toStdString());
    std::string error;
    if (!::SaveReadErrorList(choice->path, list, error)) {
        LogEntry("OnSave() - " + error);
        AppMessageBox("Error creating file");
    }
}
