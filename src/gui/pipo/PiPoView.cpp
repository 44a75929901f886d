#include "core/base/LogFile.h"
#include "core/pipo/ScanWindowIds.h"
#include "gui/graphs/GraphStaticPIPO.h"
#include "gui/pipo/PiPo.h"

#include <QComboBox>

#include <algorithm>

namespace {

constexpr int kPlotWidth = 450;
constexpr int kPlotHeight = 161;

int Selection(const CDialog& dialog, int id)
{
    return dialog.Item<QComboBox>(id)->currentIndex();
}

}  // namespace

void CPiPo::ShowView(ScanViewMode mode)
{
    const ScanViewModeRow& row = ScanViewModeFor(mode);
    LogEntryF("%s(1)", row.name);
    m_View = mode;
    const ScanViewChanges changes = ChangesForView(mode, m_Context.state.m_bJitterCapable != 0,
                                                   IsDlgButtonChecked(IDC_PIPO_SHOW_JITTER) != 0);
    for (int id : changes.hidden)
        ShowDlgItem(id, false);
    for (int id : changes.shown)
        ShowDlgItem(id, true);
    for (const auto& [id, enabled] : changes.enabled)
        EnableDlgItem(id, enabled);
    for (const auto& [id, pressed] : changes.presses)
        CheckDlgButton(id, pressed);
    for (const auto& [id, text] : changes.captions)
        SetDlgItemText(id, text);
    m_Context.choices.show = changes.show;
    m_bLayoutReady = 13;
    CurrentUpper().SetGraphSize(kPlotWidth, kPlotHeight);
    CurrentLower().SetGraphSize(kPlotWidth, kPlotHeight);
    SetShowSeries(changes.show);
    if (row.poCaptions)
        ApplyPOCaptions();
    UpdateData(false);
}

void CPiPo::ApplyPOCaptions()
{
    const ScanPOCaptions po = POCaptionsFor(m_Context.choices.show.showPO == 1);
    for (const auto& [id, text] : po.captions)
        SetDlgItemText(id, text);
    for (const auto& [id, enabled] : po.enabled)
        EnableDlgItem(id, enabled);
    for (const auto& [id, shown] : po.shown)
        ShowDlgItem(id, shown);
    // The view's own labels stay (the Pioneer's position displays).
    for (const auto& [id, text] : ScanViewModeFor(m_View).captions)
        SetDlgItemText(id, text);
    UpdateData(false);
}

// The family's view and speed boxes after a classification.
void CPiPo::ApplyWindowSetup()
{
    const ScanWindowSetup& setup = WindowSetupFor(m_Context.state.m_nDriveCode);
    ShowView(setup.view);
    if (setup.speedCaptions)
        for (std::size_t i = 0; i < 4; ++i)
            SetDlgItemText(kUpperRightCaptions[3 - i], (*setup.speedCaptions)[i]);
    ShowDlgItem(IDC_PIPO_SHOW_SPEED, setup.showSpeedToggle);
    EnableDlgItem(IDC_PIPO_ACCURACY, setup.enableAccuracy);
    switch (setup.speedBox) {
    case ScanSpeedBox::ReadSpeed:
        ShowDlgItem(IDC_PIPO_SPEED_LABEL, true);
        ShowDlgItem(IDC_PIPO_READ_SPEED, true);
        ShowDlgItem(IDC_PIPO_NEC_SPEED, false);
        break;
    case ScanSpeedBox::NecSpeed:
        ShowDlgItem(IDC_PIPO_SPEED_LABEL, true);
        ShowDlgItem(IDC_PIPO_READ_SPEED, false);
        ShowDlgItem(IDC_PIPO_NEC_SPEED, true);
        break;
    case ScanSpeedBox::Unchanged: break;
    }
    if (setup.resetSpeedAxis)
        m_Context.scales.With([&](ScanScales& s) { s.SetSpeedAxis(0.0, m_Context.m_pUpperGraph); });
    EnableDlgItem(IDC_PIPO_START, setup.startEnabled);
    ApplyScaleCaptions();
}

void CPiPo::SetShowSeries(const ScanShowFlags& show)
{
    m_Context.choices.show = show;
    m_Context.m_pUpperGraph->SetShowSeries(show.showPI, show.showSpeed);
    m_Context.m_pLowerGraph->SetShowSeries(show.showPIF, show.showPO, show.showJitter);
    CheckDlgButton(IDC_PIPO_SHOW_PI, show.showPI);
    CheckDlgButton(IDC_PIPO_SHOW_SPEED, show.showSpeed);
    CheckDlgButton(IDC_PIPO_SHOW_PIF, show.showPIF);
    CheckDlgButton(IDC_PIPO_SHOW_PO, show.showPO);
    CheckDlgButton(IDC_PIPO_SHOW_JITTER, show.showJitter);
    ApplySeriesControls();
}

// The captions the scales wrote, shown on their labels.
void CPiPo::ApplyScaleCaptions()
{
    m_Context.scales.With([&](ScanScales& scales) {
        for (std::size_t i = 0; i < 4; ++i) {
            SetDlgItemText(kUpperLeftCaptions[i], scales.Upper().captions[i]);
            SetDlgItemText(kLowerLeftCaptions[i], scales.Lower().captions[i]);
            SetDlgItemText(kLowerRightCaptions[3 - i], scales.Jitter().captions[i]);
        }
        const auto& speed = scales.SpeedCaptions();
        if (!speed[0].empty())
            for (std::size_t i = 0; i < 4; ++i)
                SetDlgItemText(kUpperRightCaptions[3 - i], speed[i]);
    });
}

void CPiPo::ChooseScale(int id)
{
    const int index = std::max(0, Selection(*this, id));
    switch (id) {
    case IDC_PIPO_UPPER_SCALE:
        m_ScanScales.upper = index;
        OnSelchangePIScale();
        break;
    case IDC_PIPO_LOWER_SCALE:
        m_ScanScales.lower = index;
        OnSelchangePIFScale();
        break;
    default:
        m_ScanScales.jitter = index;
        ApplyJitterScaleChoice();
        break;
    }
}

void CPiPo::OnSelchangePIScale()
{
    const int position = Selection(*this, IDC_PIPO_UPPER_SCALE);
    const int peak = m_Context.state.m_nPIPeak;
    m_Context.scales.With([&](ScanScales& s) { s.OnSelchangePIScale(position, peak, m_Context.m_pUpperGraph); });
    ApplyScaleCaptions();
}

void CPiPo::OnSelchangePIFScale()
{
    const int position = Selection(*this, IDC_PIPO_LOWER_SCALE);
    const int peak = m_Context.state.m_nPIFPeak;
    m_Context.scales.With([&](ScanScales& s) { s.OnSelchangePIFScale(position, peak, m_Context.m_pLowerGraph); });
    ApplyScaleCaptions();
}

void CPiPo::ApplyJitterScaleChoice()
{
    const int index = Selection(*this, IDC_PIPO_JITTER_SCALE);
    m_Context.scales.With([&](ScanScales& s) { s.ApplyJitterScaleChoice(index, m_Context.m_pLowerGraph); });
    ApplyScaleCaptions();
}

void CPiPo::OnSelchangeReadSpeed()
{
    // " MAX  " is 16x; " 16x" leaves the axis as it is.
    constexpr double kSpeeds[] = {16, 1, 2, 4, 6, 8};
    const int index = Selection(*this, IDC_PIPO_READ_SPEED);
    m_Context.choices.readSpeedIndex = index;
    if (index >= 0 && index < static_cast<int>(std::size(kSpeeds)))
        m_Context.scales.With(
            [&](ScanScales& s) { s.SetSpeedAxis(kSpeeds[static_cast<std::size_t>(index)], m_Context.m_pUpperGraph); });
    ApplyScaleCaptions();
    UpdateData(true);
}

void CPiPo::OnSelchangeCavSpeed()
{
    // The older BenQ read mode of each entry.
    constexpr int kModes[] = {2, 4, 5};
    const int index = Selection(*this, IDC_PIPO_CAV_SPEED);
    m_Context.choices.cavSpeedIndex = index;
    if (index >= 0 && index < static_cast<int>(std::size(kModes)))
        m_Context.state.m_nCavSpeed = kModes[static_cast<std::size_t>(index)];
}

void CPiPo::OnShowPI()
{
    UpdateData(true);
    ScanShowFlags& show = m_Context.choices.show;
    show.showPI = IsDlgButtonChecked(IDC_PIPO_SHOW_PI);
    show.showSpeed = IsDlgButtonChecked(IDC_PIPO_SHOW_SPEED);
    m_Context.m_pUpperGraph->SetShowSeries(show.showPI, show.showSpeed);
    ApplySeriesControls();
}

void CPiPo::OnShowSpeed()
{
    OnShowPI();
}

void CPiPo::OnShowLower()
{
    UpdateData(true);
    ScanShowFlags& show = m_Context.choices.show;
    show.showPIF = IsDlgButtonChecked(IDC_PIPO_SHOW_PIF);
    show.showPO = IsDlgButtonChecked(IDC_PIPO_SHOW_PO);
    show.showJitter = IsDlgButtonChecked(IDC_PIPO_SHOW_JITTER);
    m_Context.m_pLowerGraph->SetShowSeries(show.showPIF, show.showPO, show.showJitter);
    ApplySeriesControls();
}

// The radios and axis captions that follow the series shown.
void CPiPo::ApplySeriesControls()
{
    const SeriesToggleControls controls = ControlsForSeriesToggles(m_Context.choices.show,
                                                                   m_Context.g_bErrorTestRunning == 1);
    for (int id : {IDC_PIPO_PI_LINE, IDC_PIPO_PI_BLOCK})
        EnableDlgItem(id, controls.piRadiosEnabled);
    for (int id : {IDC_PIPO_PIF_LINE, IDC_PIPO_PIF_BLOCK})
        EnableDlgItem(id, controls.pifRadiosEnabled);
    for (std::size_t i = 0; i < 4; ++i) {
        ShowDlgItem(kUpperLeftCaptions[i], controls.upperLeftCaptionsShown);
        ShowDlgItem(kUpperRightCaptions[i], controls.speedCaptionsShown);
        ShowDlgItem(kLowerLeftCaptions[i], controls.lowerLeftCaptionsShown);
        ShowDlgItem(kLowerRightCaptions[i], controls.jitterCaptionsShown);
    }
    if (controls.jitterModeEnabled)
        for (int id : {IDC_PIPO_JITTER_INSTANT, IDC_PIPO_JITTER_AVERAGE})
            EnableDlgItem(id, *controls.jitterModeEnabled);
}

void CPiPo::ApplyUpperPlotModes()
{
    UpdateData(true);
    for (CGraphStaticPIPO* graph : m_pUpper)
        graph->SetPlotModes(m_nPIRadio, m_nPORadio);
}

void CPiPo::ApplyLowerPlotModes()
{
    UpdateData(true);
    for (CGraphStaticPIPOLower* graph : m_pLower) {
        graph->SetPlotModes(m_nPIPRadio, m_nPOPRadio);
        graph->Redraw();
    }
}

void CPiPo::OnProgressiveUpper()
{
    m_bProgressiveUpper = IsDlgButtonChecked(IDC_PIPO_PROGRESSIVE_UPPER);
    CGraphStaticPIPO& graph = CurrentUpper();
    graph.SetProgressiveColors(m_bProgressiveUpper);
    graph.SetCapacityMarkerColor(0x0000FF);
    graph.SetLayerBreakMarkerColor(0x0000FF);
}

void CPiPo::OnProgressiveLower()
{
    m_bProgressiveLower = IsDlgButtonChecked(IDC_PIPO_PROGRESSIVE_LOWER);
    CGraphStaticPIPOLower& graph = CurrentLower();
    graph.SetProgressiveColors(m_bProgressiveLower);
    graph.SetCapacityMarkerColor(0x0000FF);
    graph.SetLayerBreakMarkerColor(0x0000FF);
}

void CPiPo::LoadGraphColours()
{
    const ScanGraphColours colours = ReadScanGraphColours();
    CGraphStaticPIPO& upper = CurrentUpper();
    CGraphStaticPIPOLower& lower = CurrentLower();
    upper.SetSpeedColor(colours.speed);
    upper.SetPIColor(colours.pi);
    lower.SetPOColor(colours.pif);
    lower.SetPIFJitterColors(colours.pif, colours.jitter);
    upper.SetGridColors(colours.grid, colours.halfGrid, colours.background);
    lower.SetGridColors(colours.grid, colours.halfGrid, colours.background);
    m_crMarker = colours.marker;
    m_Context.choices.markerColour = colours.marker;
    upper.SetCapacityMarkerColor(colours.marker);
    upper.SetLayerBreakMarkerColor(colours.marker);
    lower.SetCapacityMarkerColor(colours.marker);
    lower.SetLayerBreakMarkerColor(colours.marker);
}
