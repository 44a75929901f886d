#include "gui/tools/speed/SpeedTestPage.h"

#include "core/app/MainPages.h"
#include "core/base/BusyFlags.h"
#include "core/app/MainLayout.h"
#include "core/app/TestPageControls.h"
#include "core/base/UserPrompt.h"
#include "core/info/DriveInfoControls.h"
#include "core/tools/speed/SpeedFamily.h"
#include "core/tools/speed/SpeedTest.h"
#include "core/tools/speed/SpeedThread.h"
#include "core/tools/testpage/DiscCheck.h"
#include "core/tools/testpage/PageEvents.h"
#include "gui/graphs/GraphStatic.h"
#include "gui/ui/Beep.h"
#include "gui/ui/ButtonST.h"
#include "gui/ui/Dialog.h"
#include "gui/ui/QtConvert.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>

#include <array>

namespace {

using namespace testpage;

constexpr UiRect kSpeedSaveButton = BoxAt(573, 389, 66, 23);
constexpr UiRect kSpeedStopButton = BoxAt(544, 527, 66, 23);
constexpr UiRect kSpeedProgress2Box = BoxAt(520, 447, 207, 16);
constexpr UiRect kTestModelField = BoxAt(527, 89, 195, 16);
constexpr int kRowLabelX = 522;
constexpr int kRowFieldX = 644;  // room for the longest label, "Average Data Rate"
constexpr int kRowFieldWidth = 100;  // and for the longest media type, "HD DVD-ROM"
constexpr int kGraphX = 28;
constexpr int kGraphY = 69;
constexpr int kGraphWidth = 451;
constexpr int kGraphHeight = 400;
constexpr int kPreSpinDefault = 4;

struct Place {
    int id;
    UiRect at;
    const char* caption;
};

// clang-format off
constexpr std::array kSpeedChoices = {
    Place{kSpeedLabel,   BoxAt(522, 340, 85, 20),  "Speed"},
    Place{kRequestClv,   BoxAt(522, 364, 110, 20), "Request CLV"},
    Place{kRequestCav,   BoxAt(634, 364, 112, 20), "Request CAV"},
    Place{kPreSpinLabel, BoxAt(522, 419, 85, 20),  "Pre-spin"},
    Place{kShowRpm,      BoxAt(522, 470, 105, 18), "Show RPM"},
    Place{kShowSpeed,    BoxAt(634, 470, 105, 18), "Show Speed"},
};
// clang-format on
constexpr UiRect kSpeedListBox = BoxAt(644, 338, 100, 22);
constexpr UiRect kPreSpinListBox = BoxAt(644, 417, 100, 22);

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

// The page's own controls: its choices, lists and axis labels.
std::vector<int> OwnControls()
{
    std::vector<int> ids = {kSpeedList, kPreSpinList};
    for (const Place& place : kSpeedChoices)
        ids.push_back(place.id);
    for (const auto* labels : {&kSpeedAxisLabels, &kRpmAxisLabels})
        ids.insert(ids.end(), labels->begin(), labels->end());
    ids.insert(ids.end(), kCapacityAxisLabels.begin(), kCapacityAxisLabels.end());
    return ids;
}

}  // namespace

SpeedTestPage::SpeedTestPage(PageHost& host) : TestPage(host)
{
    CreateSpeedPageControls();
}

void SpeedTestPage::CreateSpeedPageControls()
{
    for (const Place& place : kSpeedChoices) {
        QWidget* widget = nullptr;
        if (place.id == kRequestClv || place.id == kRequestCav) {
            widget = new QRadioButton(place.caption, &m_dlg);
        } else if (place.id == kShowRpm || place.id == kShowSpeed) {
            auto* toggle = new CButtonST(place.caption, &m_dlg);
            toggle->setCheckable(true);
            toggle->SetFlatStyle(true);
            toggle->SetDrawBorder(false);
            toggle->SetAlignment(ST_ALIGN_HORIZ);
            toggle->setFocusPolicy(Qt::NoFocus);
            widget = toggle;
        } else {
            widget = new QLabel(place.caption, &m_dlg);
        }
        widget->setGeometry(ToQRect(place.at));
        m_dlg.BindControl(place.id, widget);
    }
    // The rotation radios are a group of their own, apart from the ISO page's.
    auto* rotation = new QButtonGroup(&m_dlg);
    rotation->addButton(m_dlg.Item<QRadioButton>(kRequestClv));
    rotation->addButton(m_dlg.Item<QRadioButton>(kRequestCav));
    m_cbSpeed = new QComboBox(&m_dlg);
    m_cbSpeed->setGeometry(ToQRect(kSpeedListBox));
    m_dlg.BindControl(kSpeedList, m_cbSpeed);
    m_cbPreSpin = new QComboBox(&m_dlg);
    m_cbPreSpin->setGeometry(ToQRect(kPreSpinListBox));
    for (const std::string& entry : PreSpinList())
        m_cbPreSpin->addItem(QString::fromStdString(entry));
    m_dlg.BindControl(kPreSpinList, m_cbPreSpin);
    const auto axisLabel = [this](int id, const UiRect& at, Qt::Alignment alignment) {
        auto* label = new QLabel(&m_dlg);
        label->setGeometry(ToQRect(at));
        label->setAlignment(alignment | Qt::AlignVCenter);
        m_dlg.BindControl(id, label);
    };
    for (std::size_t i = 0; i < kSpeedAxisLabels.size(); ++i) {
        axisLabel(kSpeedAxisLabels[i], SpeedAxisPlace(i), Qt::AlignRight);
        axisLabel(kRpmAxisLabels[i], RpmAxisPlace(i), Qt::AlignLeft);
    }
    for (std::size_t i = 0; i < kCapacityAxisLabels.size(); ++i)
        axisLabel(kCapacityAxisLabels[i], CapacityAxisPlace(i), Qt::AlignHCenter);
    m_dlg.MapCommand(kShowRpm, [this] { m_surface.Graph().ShowRpmCurve(m_dlg.IsDlgButtonChecked(kShowRpm)); });
    m_dlg.MapCommand(kShowSpeed, [this] { m_surface.Graph().ShowSpeedCurve(m_dlg.IsDlgButtonChecked(kShowSpeed)); });
    Hide();
}

std::vector<int> SpeedTestPage::SpeedPageControls() const
{
    std::vector<int> ids = {kGraph};
    const std::vector<int> own = OwnControls();
    ids.insert(ids.end(), own.begin(), own.end());
    for (const ResultField& row : kResultFields) {
        ids.push_back(row.field);
        ids.push_back(row.label);
    }
    ids.push_back(kFieldMediaId);
    ids.push_back(kLabelMediaId);
    return ids;
}

void SpeedTestPage::Hide()
{
    TestPage::Hide();
    m_surface.ShowTestPageControls(OwnControls(), false);
}

void SpeedTestPage::DoDataExchange(CDataExchange& dx)
{
    DDX_CBIndex(dx, kSpeedList, m_nSpeedIndex);
    DDX_Radio(dx, kRequestClv, m_nSpeedRequest);
    DDX_CBIndex(dx, kPreSpinList, m_nPreSpinIndex);
}

void SpeedTestPage::Show(int)
{
    OnSpeedTest();
}

void SpeedTestPage::DriveSelected(int)
{
    OnSpeedTest();
}

void SpeedTestPage::DiscArrived(int)
{
    if (!m_host.DriveHeld())
        SetupSpeedTestPage(false);
}

void SpeedTestPage::DiscRemoved(int)
{
    if (g_bSpeedTestRunning == 1)
        StopSpeedTest();
}

bool SpeedTestPage::Start(int)
{
    StartSpeedTest();
    return true;
}

bool SpeedTestPage::Stop(int)
{
    StopSpeedTest();
    return true;
}

bool SpeedTestPage::Save(int)
{
    m_surface.SaveReadErrorList("");
    return true;
}

void SpeedTestPage::OnSpeedTest()
{
    if (g_bSpeedTestRunning == 1)
        return;
    if (g_bErrorTestRunning == 1 || g_bCreateIsoRunning == 1 || m_host.ScanWindowOpen()) {
        AppMessageBox("You must stop the test first", "Error Test Running!", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    if (m_host.DriveHeld())
        return;  // an operation is still giving the drive back
    m_host.SetPageButtonText(PageButton::Save, "Save");
    m_host.SetPageButtonText(PageButton::Stop, "Stop");
    m_host.PlaceDlgItem(IDC_SAVE, kSpeedSaveButton);
    SetupSpeedTestPage(true);
    m_nSpeedRequest = 0;
    m_nPreSpinIndex = kPreSpinDefault;
    m_dlg.UpdateData(false);
    // The speed list is the loaded disc's.
    auto profile = std::make_shared<int>(0);
    m_host.RunDriveWork([this, profile] { m_host.Core().m_Drives.media.GetDriveProfile(*profile); },
                        [this, profile] {
                            m_cbSpeed->clear();
                            for (const std::string& entry : SpeedListFor(*profile))
                                m_cbSpeed->addItem(QString::fromStdString(entry));
                            const CapacityTexts capacity = PageCapacityLabels(*profile);
                            for (std::size_t i = 0; i < capacity.size(); ++i)
                                m_dlg.SetDlgItemText(kCapacityAxisLabels[i], capacity[i]);
                            m_nSpeedIndex = 0;
                            m_nPreSpinIndex = kPreSpinDefault;
                            m_dlg.UpdateData(false);
                        });
}

void SpeedTestPage::ShowSpeedTestPage(bool show)
{
    if (show)
        ShowTestPageFrame(SpeedPageControls(), kRowLabelX, kRowFieldX, kRowFieldWidth);
    else
        HideTestPageFrame(SpeedPageControls());
    m_dlg.ShowDlgItem(IDC_MODEL, show);
    for (int id : {kSpeedList, kSpeedLabel, kRequestClv, kRequestCav, kPreSpinList, kPreSpinLabel})
        m_dlg.EnableDlgItem(id, show);
    if (!show)
        return;
    m_host.SetPageButtonText(PageButton::Start, "Start");
    m_host.SetPageButtonText(PageButton::Save, "Save");
    m_dlg.SetDlgItemText(kLabelReadErrors, "Read Errors");
    m_host.PlaceDlgItem(IDC_PROGRESS2, kSpeedProgress2Box);
    m_host.PlaceDlgItem(IDC_START, kStartButton);
    m_host.PlaceDlgItem(IDC_STOP, kSpeedStopButton);
    m_host.PlaceDlgItem(IDC_MODEL, kTestModelField);
    CGraphStatic& graph = m_surface.Graph();
    graph.SetGraphSize(kGraphWidth, kGraphHeight);
    // Both curves shown, their toggles ticked in the curves' colours.
    const COLORREF speed = ProfileColour("GraphSPEEDColorPick", 0x00FFFF);
    const COLORREF rpm = ProfileColour("GraphRPMColorPick", 0x00FFFF);
    for (auto [id, colour] : {std::pair{kShowRpm, rpm}, {kShowSpeed, speed}}) {
        auto* toggle = m_dlg.Item<CButtonST>(id);
        toggle->SetIcons(ToggleImage(colour, true), ToggleImage(colour, false));
        toggle->SetCheckState(1);
    }
    graph.ShowRpmCurve(1);
    graph.ShowSpeedCurve(1);
    m_host.SetCurrentPage(kPageSpeedTest);
}

void SpeedTestPage::SetupSpeedTestPage(bool clearGraph)
{
    StopSpeedTest();
    ShowSpeedTestPage(true);
    if (clearGraph)
        m_surface.Graph().ClearGraph();
    m_qwTestStartMs = m_host.Core().m_Drives.mmc.GetWaitClock().NowMs();
    m_host.SetPageRunning(false);
    m_surface.ApplySpeedGraphColours();
    ResetTestResults();
    for (std::size_t i = 0; i < kSpeedAxisLabels.size(); ++i) {
        m_dlg.SetDlgItemText(kSpeedAxisLabels[i], FactsOf(SpeedFamily::Dvd).speedLabels[i]);
        m_dlg.SetDlgItemText(kRpmAxisLabels[i], FactsOf(SpeedFamily::Dvd).rpmLabels[i]);
    }
    ShowPageMediaType();
}

void SpeedTestPage::StartSpeedTest()
{
    MainDialogCore& core = m_host.Core();
    if (core.m_Drives.coordinator.InUse())
        return;  // one operation at a time on the drive
    SetupSpeedTestPage(true);
    m_dlg.UpdateData(true);
    SpeedTestSettings settings;
    settings.speedX = m_nSpeedIndex > 0 ? SpeedOfEntry(m_cbSpeed->itemText(m_nSpeedIndex).toStdString()) : 0;
    settings.speedRequest = m_nSpeedRequest == 1 ? 1 : 0;
    settings.preSpinSeconds = std::max(m_nPreSpinIndex, 0);
    settings.markerColor = ProfileColour("GraphVERTColorPick", 0xFFFFFF);
    settings.startMs = m_qwTestStartMs;
    const std::shared_ptr<ChannelClaim> claim = m_host.ClaimChannel(ChannelUse::SpeedTest);
    if (!claim)
        return;
    // Until the drive has answered; the drive stays current until the end.
    m_host.EnablePageButton(PageButton::Start, false);
    m_host.EnableDriveLists(false);
    auto disc = std::make_shared<DiscForTest>();
    m_host.RunDriveWork(
        [&core, disc] { *disc = CheckDiscForTest(core.m_Drives); },
        [this, &core, claim, disc, settings] {
            PageEvents& events = m_host.Events();
            if (!disc->present || !disc->capacityRead) {
                m_host.EnablePageButton(PageButton::Start, true);
                m_host.EnableDriveLists(true);
                claim->Release();
                events.SetText(kFieldMediaType, disc->present ? disc->typeName : std::string());
                m_host.ApplyTestPageChanges();
                m_host.ShowStatus(disc->present ? "Error Reading Media" : "No Media loaded");
                MessageBeep(MB_OK);
                return;
            }
            events.SetText(kFieldMediaType, disc->typeName);
            m_host.ShowStatus("Ready - Initialising Test...");
            m_host.EnableDriveLists(false);
            for (int id : {kPreSpinLabel, kPreSpinList, kSpeedList, kSpeedLabel, kRequestClv, kRequestCav})
                m_dlg.EnableDlgItem(id, false);
            m_host.RunToolWork([&core, &events, &graph = m_surface.Graph(), claim, settings, profile = disc->profile] {
                ChannelClaim held = std::move(*claim);
                SpeedTest test(core.m_Drives, core.m_Report, events, graph, held, settings);
                SpeedThreadFor(profile)(&test);
            });
            m_host.SetPageRunning(true);
            m_host.ApplyTestPageChanges();
        });
}

void SpeedTestPage::StopSpeedTest()
{
    MainDialogCore& core = m_host.Core();
    m_host.RunDriveWork([&core] { core.m_Drives.mmc.PreventMediumRemoval(0); });
    core.m_Drives.coordinator.RequestStop(ChannelUse::SpeedTest);
    g_bSpeedTestRunning = 0;
    m_host.RestorePageButtons(true);
    for (int id : {kPreSpinLabel, kPreSpinList, kSpeedList, kSpeedLabel, kRequestClv, kRequestCav})
        m_dlg.EnableDlgItem(id, true);
}
