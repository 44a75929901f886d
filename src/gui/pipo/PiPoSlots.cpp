#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/ui/CommentHint.h"
#include "core/pipo/ScanFile.h"
#include "core/pipo/ScanWindowIds.h"
#include "gui/app/FileDialogs.h"
#include "gui/graphs/ComparePIPO.h"
#include "gui/graphs/GraphStaticPIPO.h"
#include "gui/ui/WindowSnapshot.h"
#include "gui/pipo/PiPo.h"
#include "gui/ui/MatrixStatic.h"
#include "platform/files/SafeFile.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

namespace {

constexpr std::size_t kDisplayColumns = 40;
constexpr const char* kScanFileFolder = "Last Data Directory";

}  // namespace

// ---- graph slots ----

void CPiPo::OnGraph1()
{
    SelectSlot(1);
}

void CPiPo::OnGraph2()
{
    SelectSlot(2);
}

void CPiPo::SelectSlot(int slot)
{
    UpdateData(true);
    m_Control.ReadCapacityRange();
    ApplyPOCaptions();
    const int button = slot == 1 ? IDC_PIPO_GRAPH1 : IDC_PIPO_GRAPH2;
    if (CurrentSlot() == slot) {
        CheckDlgButton(button, 1);
        return;
    }
    const int other = slot == 1 ? 2 : 1;
    m_Context.state.m_nGraphSlot = slot;
    CheckDlgButton(button, 1);
    CheckDlgButton(slot == 1 ? IDC_PIPO_GRAPH2 : IDC_PIPO_GRAPH1, 0);
    CheckDlgButton(IDC_PIPO_COMPARE, 0);
    m_Context.m_pUpperGraph = &UpperGraph(slot);
    m_Context.m_pLowerGraph = &LowerGraph(slot);
    StoreSlot(other);
    if (m_bLayoutReady == 13) {
        UpperGraph(other).hide();
        LowerGraph(other).hide();
        UpperGraph(slot).show();
        LowerGraph(slot).show();
    }
    RestoreSlot(slot);
    SetDlgItemText(IDC_PIPO_STATUS_BUTTON, "Status");
    SetDlgItemText(IDC_PIPO_SCAN_BUTTON, "Scan Drive 1");
    m_bProgressiveUpper = m_Context.m_pUpperGraph->GetProgressiveColors();
    if (slot == 1)
        m_bProgressiveLower = m_Context.m_pLowerGraph->GetProgressiveColors();
    UpdateData(false);
    if (slot == 2 && m_bSlot2Shown == 0 && m_bLayoutReady == 13) {
        m_bSlot2Shown = 1;
        OnPipo();
    }
    if (slot == 2)
        OnProgressiveUpper();
    ShowQualityRating();
}

ScanRange CPiPo::CurrentRange() const
{
    ScanRange range = m_Control.range;
    range.llStartLba = m_Context.state.m_llStartLba;
    range.llEndLba = m_Context.state.m_llEndLba;
    return range;
}

void CPiPo::SetCurrentRange(const ScanRange& range)
{
    m_Control.range = range;
    m_Context.state.m_llStartLba = range.llStartLba;
    m_Context.state.m_llEndLba = range.llEndLba;
}

void CPiPo::StoreSlot(int slot)
{
    ScanSlotRecord& record = SlotRecord(slot);
    record.range = CurrentRange();
    record.displays = DisplayTexts();
    record.status = m_StatusDisplay->GetText().substr(0, kDisplayColumns);
    record.driveDisplay = m_DriveDisplay->GetText();
    record.media = m_Context.media;
    record.show = m_Context.choices.show;
    if (m_bLayoutReady == 13) {
        record.upperScale = std::max(0, Item<QComboBox>(IDC_PIPO_UPPER_SCALE)->currentIndex());
        record.lowerScale = std::max(0, Item<QComboBox>(IDC_PIPO_LOWER_SCALE)->currentIndex());
        record.jitterScale = std::max(0, Item<QComboBox>(IDC_PIPO_JITTER_SCALE)->currentIndex());
    }
}

void CPiPo::RestoreSlot(int slot)
{
    const ScanSlotRecord& record = SlotRecord(slot);
    SetCurrentRange(record.range);
    ShowDisplays(record.displays);
    UpdateData(false);
    SetShowSeries(record.show);
    if (m_bLayoutReady == 13) {
        Item<QComboBox>(IDC_PIPO_UPPER_SCALE)->setCurrentIndex(record.upperScale);
        Item<QComboBox>(IDC_PIPO_LOWER_SCALE)->setCurrentIndex(record.lowerScale);
        Item<QComboBox>(IDC_PIPO_JITTER_SCALE)->setCurrentIndex(record.jitterScale);
        ApplyJitterScaleChoice();
        OnSelchangePIScale();
        OnSelchangePIFScale();
    }
    SetStatus(record.status);
    m_DriveDisplay->SetText(RestoredDriveText(slot, record, m_Slots[0]));
    RestoreMediaTexts(record.media, m_Context.media);
    ShowMediaTexts();
}

bool CPiPo::BothSlotsHoldScans() const
{
    return m_pUpper[0]->GetPointCount() > 0 && m_pUpper[1]->GetPointCount() > 0;
}

// ---- compare ----

ScanSlotView CPiPo::Slot(int index) const
{
    const int slot = index == 0 ? 1 : 2;
    ScanSlotView view;
    view.upper = UpperGraph(slot).StoreRecord();
    view.lower = LowerGraph(slot).StoreRecord();
    view.piScaleCode = UpperGraph(slot).GetPIScaleCode();
    view.pifScaleCode = LowerGraph(slot).GetPIFScaleCode();
    view.jitterScaleCode = LowerGraph(slot).GetJitterScaleCode();
    const ScanSlotRecord& record = SlotRecord(slot);
    view.poMode = record.show.showPO == 1;
    view.displays = record.displays;
    view.mediaType = record.media.mediaName;
    view.bookType = record.media.bookType;
    view.midCode = record.media.midCode;
    view.driveDisplay = record.driveDisplay;
    view.status = record.status;
    return view;
}

void CPiPo::OnCompare()
{
    StoreSlot(CurrentSlot() == 2 ? 2 : 1);
    CheckDlgButton(IDC_PIPO_COMPARE, 0);
    CComparePIPO compare(*this, this);
    compare.DoModal();
}

// ---- scan files ----

void CPiPo::OnSave()
{
    const auto choice = ShowSaveFileDialog(this, "Enter a save fileame", "Data Files *.qnzx) (*.qnzx)", kScanFileFolder,
                                           "qnzx", 1);
    if (!choice)
        return;
    // Whatever was typed, the file is a ".qnzx" that Load lists again.
    const std::string path = ScanFileSavePath(choice->path);
    if (!AskBeforeReplacing(path, "You chose an existing file,  Are you sure you want to overwrite it?", "File Exists"))
        return;

    UpdateData(true);
    ScanWindowFileState state;
    const ScanRange current = CurrentRange();
    state.ranges[kCurrentRange] = current;
    state.ranges[kSlot1Range] = CurrentSlot() == 1 ? current : m_Slots[0].range;
    state.ranges[kSlot2Range] = CurrentSlot() == 2 ? current : m_Slots[1].range;
    state.displays = DisplayTexts();
    state.show = m_Context.choices.show;
    // The displays' hint is no comment: it is saved as none.
    state.status = IsCommentHint(m_StatusDisplay->GetText()) ? std::string() : m_StatusDisplay->GetText();
    state.driveDisplay = m_DriveDisplay->GetText();
    state.media = m_Context.media;
    ScanFile file = ScanFileFromWindow(state);
    StoreScanGraphs(*m_Context.m_pUpperGraph, *m_Context.m_pLowerGraph, file);

    std::string error;
    if (!SaveScanFile(path, file, &error)) {
        // Nothing was written: the scan stays marked as not saved.
        LogEntryF("Scan file %s not written: %s", path.c_str(), error.c_str());
        AppMessageBox("Error opening file for writing");
        return;
    }
    // The values the save took again (start LBAs from their texts, "N/A").
    m_Context.state.m_llStartLba = file.ranges[kCurrentRange].llStartLba;
    m_Context.media.mediaName = file.mediaType;
    m_Context.media.bookType = file.bookType;
    ShowMediaTexts();
    (CurrentSlot() == 1 ? m_Context.state.m_bNotSaved1 : m_Context.state.m_bNotSaved2) = 0;
}

void CPiPo::DoPiPO(std::string& path, bool pathGiven)
{
    ShowDisplays(ScanDisplayTexts{});
    std::string chosen;
    if (pathGiven) {
        chosen = path.substr(0, 259);
        path.clear();
    } else {
        const auto answer = ShowOpenFileDialog(this, "Choose a file to load", "Data Files (*.qnzx *.qnz)",
                                               kScanFileFolder, "txt");
        if (!answer)
            return;
        chosen = *answer;
    }
    CGraphStaticPIPO& upper = CurrentUpper();
    CGraphStaticPIPOLower& lower = CurrentLower();
    upper.ClearGraph();
    lower.ClearGraph();

    ScanFile file;
    std::string error;
    if (!LoadScanFile(chosen, file, &error)) {
        AppMessageBox(FileExists(chosen) ? "Error reading requested file: " + error
                                         : std::string("Error opening requested file for reading"));
        return;
    }
    const ScanWindowFileState state = WindowStateFromFile(file);
    SetCurrentRange(state.ranges[kCurrentRange]);
    m_Slots[0].range = state.ranges[kSlot1Range];
    m_Slots[1].range = state.ranges[kSlot2Range];
    // The slot shown keeps the current range's texts.
    ScanRange& shownSlot = IsDlgButtonChecked(IDC_PIPO_GRAPH1) != 0 ? m_Slots[0].range : m_Slots[1].range;
    shownSlot.strStartLba = m_Control.range.strStartLba;
    shownSlot.strEndLba = m_Control.range.strEndLba;
    UpdateData(false);

    ShowDisplays(state.displays);
    SetShowSeries(state.show);
    for (int id : {IDC_PIPO_SHOW_PIF, IDC_PIPO_SHOW_PO, IDC_PIPO_SHOW_JITTER, IDC_PIPO_SHOW_PI})
        EnableDlgItem(id, IsDlgButtonChecked(id) != 0);
    ApplyPOCaptions();
    SetStatus(state.status);

    upper.LoadRecord(file.upper);
    if (const int speed = upper.GetMaxSpeed(); speed > 0)
        m_Context.scales.With([&](ScanScales& s) { s.SetSpeedAxis(speed / 10.0, &upper); });
    lower.LoadRecord(file.lower);
    m_Context.media = state.media;
    ShowMediaTexts();
    m_DriveDisplay->SetText(Format("%-40s", state.driveDisplay.c_str()));

    Item<QComboBox>(IDC_PIPO_UPPER_SCALE)->setCurrentIndex(std::min(file.piScaleCode, 10));
    Item<QComboBox>(IDC_PIPO_LOWER_SCALE)->setCurrentIndex(std::min(file.pifScaleCode, 10));
    Item<QComboBox>(IDC_PIPO_JITTER_SCALE)->setCurrentIndex(std::min(file.jitterScaleCode, 6));
    ApplyJitterScaleChoice();
    OnSelchangePIScale();
    OnSelchangePIFScale();
    upper.Redraw();
    lower.Redraw();

    EnableDlgItem(IDC_PIPO_COMPARE, BothSlotsHoldScans());
    ApplyUpperPlotModes();
    ApplyLowerPlotModes();
    ShowQualityRating();
}

void CPiPo::OnDropFiles(const std::vector<std::string>& paths)
{
    m_Control.OnDropFiles(paths);
    if (m_Host.cmdLine1 != nullptr)
        m_Host.cmdLine1->clear();
    if (m_Host.cmdLine2 != nullptr)
        m_Host.cmdLine2->clear();
}

void CPiPo::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CPiPo::dropEvent(QDropEvent* event)
{
    std::vector<std::string> paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths.push_back(url.toLocalFile().toStdString());
    event->acceptProposedAction();
    if (m_Context.g_bErrorTestRunning == 0)
        OnDropFiles(paths);
}

// ---- range, snapshot, clipboard ----

void CPiPo::OnSnapshot()
{
    SaveWindowSnapshot(*this);
}

void CPiPo::OnCopyToClipboard()
{
    CopyWindowToClipboard(*this);
}
