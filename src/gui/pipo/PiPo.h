#pragma once

#include "core/base/UserPrompt.h"
#include "core/graphs/ScanCompare.h"
#include "core/pipo/ScanContext.h"
#include "core/pipo/ScanControl.h"
#include "core/pipo/ScanSink.h"
#include "core/pipo/ScanSlots.h"
#include "core/pipo/ScanViewModes.h"
#include "core/pipo/ScanWindowPort.h"
#include "core/pipo/ScanWindowSettings.h"
#include "core/ui/ColorSchemes.h"
#include "gui/pipo/QtScanSink.h"
#include "gui/ui/BaseDialog.h"
#include "gui/ui/ThemeHelperST.h"

#include <array>
#include <string>

class CGraphStaticPIPO;
class CGraphStaticPIPOLower;
class CMatrixStatic;
class CTextProgressCtrl;
class DriveContext;
struct DeviceBroadcast;
class QComboBox;

// What the scan window uses of the main window: its drives and the two
// command-line strings (a file named there is loaded once, then emptied).
struct ScanWindowHost {
    DriveContext* drives = nullptr;
    std::string* cmdLine1 = nullptr;
    std::string* cmdLine2 = nullptr;
};

// Answers the scan's questions with the program's message boxes.
class AppPromptForwarder : public UserPrompt {
public:
    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override
    {
        return AppMessageBox(text, caption, type);
    }
};

// "Quenzario PIPO Scanning": the PI/PO scan window. Two graph slots, each an
// upper (PI, speed) and a lower (PIF/PO, jitter) graph, the digital
// displays, scale boxes, series toggles and plot modes, scan files, the
// compare window, snapshots and the range dialog. A scan's engine runs on
// its own thread and reaches the window through the scan context's sink,
// which takes every call over to this window's thread. Start, Stop, the
// range, Eject, Close, device changes and dropped files are its scan
// control's (ScanControl).
class CPiPo : public CBaseDialog, public ScanSlotSource, private ScanWindowPort {
    Q_OBJECT

public:
    static constexpr int IDD = 285;
    explicit CPiPo(ScanWindowHost host, QWidget* parent = nullptr);
    ~CPiPo() override;

    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    void OnClose() override;
    void OnCancel() override { OnClose(); }
    void OnOK() override {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // ScanSlotSource: what the compare window reads.
    ScanSlotView Slot(int index) const override;
    LedColorScheme LedColors() const override { return m_LedColors; }
    void MinimizeScanWindow() override { showMinimized(); }
    void RestoreScanWindow() override { showNormal(); }

    ScanContext& Context() { return m_Context; }
    ScanControl& Control() { return m_Control; }
    CGraphStaticPIPO& UpperGraph(int slot) const { return *m_pUpper[slot == 2 ? 1 : 0]; }
    CGraphStaticPIPOLower& LowerGraph(int slot) const { return *m_pLower[slot == 2 ? 1 : 0]; }
    // The graphs of the current slot (slot 1 before the first is chosen).
    CGraphStaticPIPO& CurrentUpper() const { return UpperGraph(CurrentSlot()); }
    CGraphStaticPIPOLower& CurrentLower() const { return LowerGraph(CurrentSlot()); }
    CMatrixStatic& StatusDisplay() const { return *m_StatusDisplay; }
    CMatrixStatic& DriveDisplay() const { return *m_DriveDisplay; }
    int CurrentSlot() const { return m_Context.state.m_nGraphSlot; }
    const ScanShowFlags& ShowFlags() const { return m_Context.choices.show; }

    // The scan's status line, "%-40s".
    void SetStatus(const std::string& text);
    void ShowDriveName() override;
    // The view of a drive family.
    void ShowView(ScanViewMode mode);
    void ApplyPOCaptions();

    // Commands (also reached through the buttons).
    void OnGraph1();
    void OnGraph2();
    void OnCompare();
    void OnSave();
    void OnLoad() { DoPiPO(std::string(), false); }
    // Loads a scan file into the current slot: the path given (and the
    // caller's text emptied), or the one the open dialog chooses.
    void DoPiPO(std::string& path, bool pathGiven);
    void DoPiPO(const std::string& path, bool pathGiven)
    {
        std::string copy = path;
        DoPiPO(copy, pathGiven);
    }
    void OnDropFiles(const std::vector<std::string>& paths);
    // WM_DEVICECHANGE, forwarded by the main window while this one is open.
    void OnDeviceChange(WPARAM event, const DeviceBroadcast& notice);
    void OnStart() { m_Control.OnStart(); }
    void OnEject() { m_Control.OnEject(); }
    void OnSetLba() { m_Control.OnSetLba(); }
    void OnSnapshot();
    void OnCopyToClipboard();
    void OnStop() { m_Control.OnStop(); }
    float ShowQualityRating();

    int m_nJitterType = -1;
    int m_nPIRadio = -1;
    int m_nPORadio = -1;
    int m_nPIPRadio = -1;
    int m_nPOPRadio = -1;
    int m_nAccuracy = -1;
    int m_bLayoutReady = 0;
    int m_bSlot2Shown = 0;
    int m_bProgressiveUpper = 0;
    int m_bProgressiveLower = 0;
    std::string m_strStatus;
    COLORREF m_crMarker = 0xFFFFFF;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // ScanWindowPort: what scan control asks of the window.
    void UpdateControls() override;
    ScanDisplayTexts ReadDisplays() override { return DisplayTexts(); }
    void ApplyDriveSetup(const ScanDriveDetection& detection) override;
    void LoadColoursAndScales() override;
    void ReapplyProgressiveColouring() override;
    void Beep(unsigned type) override;
    const PiPoUpperGraph& UpperGraphOfSlot(int slot) override;
    std::optional<std::pair<std::string, std::string>> RunRangeDialog(int lowest, int highest) override;
    void RefreshMedia() override { OnPipo(); }
    void SelectGraph(int slot) override { SelectSlot(slot); }
    void LoadScan(const std::string& path) override { DoPiPO(path, true); }

    // What the scan tells the window, on this window's thread.
    class WindowSink : public ScanSink {
    public:
        explicit WindowSink(CPiPo& window) : m_window(window) {}
        void SetStatus(const std::string& text) override { m_window.SetStatus(text); }
        void SetProgress(int position) override;
        void SetDisplays(const ScanDisplayTexts& texts) override { m_window.ShowDisplays(texts); }
        void SetCaption(int controlId, const std::string& text) override { m_window.SetDlgItemText(controlId, text); }
        void ScaleCaptionsChanged() override { m_window.ApplyScaleCaptions(); }
        void EnableControl(int controlId, bool enabled) override { m_window.EnableDlgItem(controlId, enabled); }
        void ShowControl(int controlId, bool shown) override { m_window.ShowDlgItem(controlId, shown); }
        void ShowQualityRating() override { m_window.ShowQualityRating(); }
        void OnStop() override { m_window.OnStop(); }
        void RestoreStatusDisplay(const std::string& savedStatus) override;
        void Beep(unsigned type) override { m_window.Beep(type); }

    private:
        CPiPo& m_window;
    };

    void CreateControls();
    void LayoutControls();
    void InitToolTips();
    void InitDisplays();
    void InitButtons();
    void SetPIPODefaults();
    void ResetScanState();
    void LoadPIPOSettingsFromRegistry();
    void SavePIPOSettingsToRegistry();
    void Init();
    void OnPipo();
    void ReadMedia(bool initialising);
    void ApplyWindowSetup();
    void OnHelp();

    // Scales, toggles and plot modes. The scale boxes as the user last chose
    // them: a scan starts on them and they are saved, whatever a loaded scan
    // showed.
    struct ScaleChoices {
        int upper = 0;
        int lower = 0;
        int jitter = 0;
    };
    ScaleChoices m_ScanScales;
    void ChooseScale(int id);
    void OnSelchangePIScale();
    void OnSelchangePIFScale();
    void ApplyJitterScaleChoice();
    void OnSelchangeReadSpeed();
    void OnSelchangeCavSpeed();
    void OnShowPI();
    void OnShowSpeed();
    void OnShowLower();
    void ApplySeriesControls();
    void ApplyUpperPlotModes();
    void ApplyLowerPlotModes();
    void ApplyScaleCaptions();
    void OnProgressiveUpper();
    void OnProgressiveLower();
    void LoadGraphColours();
    void SetShowSeries(const ScanShowFlags& show);

    // Slots.
    void SelectSlot(int slot);
    void StoreSlot(int slot);
    void RestoreSlot(int slot);
    ScanSlotRecord& SlotRecord(int slot) { return m_Slots[slot == 2 ? 1 : 0]; }
    const ScanSlotRecord& SlotRecord(int slot) const { return m_Slots[slot == 2 ? 1 : 0]; }
    ScanRange CurrentRange() const;
    void SetCurrentRange(const ScanRange& range);
    bool BothSlotsHoldScans() const;

    // The displays.
    ScanDisplayTexts DisplayTexts() const;
    void ShowDisplays(const ScanDisplayTexts& texts);
    void ShowMediaTexts();
    void EditDisplayComment(bool statusDisplay);

    ScanWindowHost m_Host;
    AppPromptForwarder m_Prompt;
    WindowSink m_WindowSink{*this};
    QtScanSink m_Sink;
    ScanContext m_Context;
    ScanControl m_Control;
    CThemeHelperST m_ThemeHelper;
    std::array<ScanSlotRecord, 2> m_Slots;
    ScanViewMode m_View = ScanViewMode::Generic;
    LedColorScheme m_LedColors{};
    std::array<CGraphStaticPIPO*, 2> m_pUpper{};
    std::array<CGraphStaticPIPOLower*, 2> m_pLower{};
    CMatrixStatic* m_DriveDisplay = nullptr;
    CMatrixStatic* m_StatusDisplay = nullptr;
    CTextProgressCtrl* m_Progress = nullptr;
};
