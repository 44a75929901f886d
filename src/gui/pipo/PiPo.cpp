#include "gui/pipo/PiPo.h"

#include "core/base/BusyFlags.h"
#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/drive/DriveContext.h"
#include "core/pipo/ScanWindowIds.h"
#include "core/ui/Translucency.h"
#include "gui/graphs/GraphStaticPIPO.h"
#include "gui/pipo/SetLogicalBlockAddress.h"
#include "gui/ui/Beep.h"
#include "gui/ui/ButtonST.h"
#include "gui/ui/Comment.h"
#include "gui/ui/Labels.h"
#include "gui/ui/MatrixStatic.h"
#include "gui/ui/ShellOpen.h"
#include "gui/ui/TextProgressCtrl.h"
#include "gui/ui/XPStyleButtonST.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <cstdlib>

namespace {

constexpr int kWindowWidth = 753;
constexpr int kWindowHeight = 540;
constexpr int kDisplayColumns = 40;
constexpr int kUpperGraphY = 16;
constexpr int kLowerGraphY = 181;
constexpr int kGraphX = 28;

const QStringList kScaleItems = {"Auto Peak", "Auto Avg", "0-10",  "0-20",   "0-40",  "0-80",
                                 "0-160",     "0-320",    "0-640", "0-1280", "0-2560"};
const QStringList kJitterItems = {"Auto Peak", "Auto Avg", "0 - 4%", "0-10%", "0-20%", "0-40%", "0-80%"};
const QStringList kReadSpeedItems = {" MAX  ", "  1x", "  2x ", "  4x ", "  6x", "  8x", " 16x"};
const QStringList kNecSpeedItems = {" MAX  ", "  1x", "  2x ", "  4x ", "  6x", "  8x", "  12x", "  16x"};
const QStringList kCavSpeedItems = {"   4x CAV", "   6x CAV   ", "   8x CAV"};
const QStringList kAccuracyItems = {"Accuracy", "Balanced", "Faster", "Fastest"};

// clang-format off
struct ButtonTip {
    int id;
    const char* text;
};
constexpr ButtonTip kButtonTips[] = {
    {IDC_PIPO_HELP, "Help"},
    {IDC_PIPO_EJECT, "Ejects or Closes the current drive's door"},
    {IDC_PIPO_CLIPBOARD, "Copies current display to clipboard"},
    {IDC_PIPO_SNAPSHOT, "Saves current view as a graphic file"},
    {IDC_PIPO_COMPARE, "Overlays Graph 2 on Graph 1.  Scale is set to whichever graph is greater in scale, Line or Vertical is taken from Graph 1 setting"},
    {IDC_PIPO_GRAPH2, "This sets graph 2.  There are two graphs you can use to scan or load"},
    {IDC_PIPO_GRAPH1, "This sets graph 1.  There are two graphs you can use to scan or load"},
    {IDC_PIPO_STOP, "Stops a running scan graph"},
    {IDC_PIPO_START, "Starts a scan graph"},
    {IDC_PIPO_SAVE, "Saves all graph data to a binary '.qnzx' file for re-loading later"},
    {IDC_PIPO_LOAD, "Loads a '.qnz' or 'qnzx' file to re-create a previously saved graph"},
    {IDC_PIPO_SET_LBA, "Change the starting Logical Block Address (LBA)"},
    {IDC_PIPO_SHOW_JITTER, "Toggle Button - Show/Hide Jitter graph"},
    {IDC_PIPO_SHOW_PI, "Toggle Button - Show/Hide PI graph"},
    {IDC_PIPO_SHOW_SPEED, "Toggle Button - Show/Hide Speed graph"},
    {IDC_PIPO_SHOW_PIF, "Toggle Button - Show/Hide PIF graph"},
    {IDC_PIPO_SHOW_PO, "Toggle Button - Show/Hide POF graph"},
};
// clang-format on

// Button images from the button skin: normal and hover source rectangles.
struct SkinnedButton {
    int id;
    QRect normal;
    QRect hover;
    const char* fallback;
};
const SkinnedButton kSkinnedButtons[] = {
    {IDC_PIPO_SNAPSHOT, {185, 1, 36, 24}, {148, 1, 36, 24}, "Snap"},
    {IDC_PIPO_CLIPBOARD, {37, 76, 36, 24}, {0, 76, 36, 24}, "Copy"},
    {IDC_PIPO_EJECT, {296, 76, 36, 24}, {333, 76, 36, 24}, "Eject"},
    {IDC_PIPO_HELP, {185, 101, 18, 16}, {148, 101, 18, 16}, "?"},
};

// The ten digital displays.
const std::pair<int, std::string ScanDisplayTexts::*> kDisplays[] = {
    {IDC_PIPO_PI_TOTAL, &ScanDisplayTexts::piTotal},     {IDC_PIPO_PI_AVG, &ScanDisplayTexts::piAvg},
    {IDC_PIPO_PI_PEAK, &ScanDisplayTexts::piPeak},       {IDC_PIPO_PIF_TOTAL, &ScanDisplayTexts::pifTotal},
    {IDC_PIPO_PIF_AVG, &ScanDisplayTexts::pifAvg},       {IDC_PIPO_PIF_PEAK, &ScanDisplayTexts::pifPeak},
    {IDC_PIPO_POF_TOTAL, &ScanDisplayTexts::pofTotal},   {IDC_PIPO_JITTER_INST, &ScanDisplayTexts::jitterInst},
    {IDC_PIPO_JITTER_AVG, &ScanDisplayTexts::jitterAvg}, {IDC_PIPO_JITTER_PEAK, &ScanDisplayTexts::jitterPeak},
};

// The window's translucency needs no layered style here: the opacity is the
// window's own.
void ApplyOpacity(QWidget& window)
{
    if (const auto alpha = ReadTranslucencyAlpha())
        window.setWindowOpacity(*alpha / 255.0);
}

// Two radios ("Line" / "Block") of one plot: position 0 or 1, -1 when none.
void DDX_RadioPair(CDataExchange& dx, int firstId, int& value)
{
    auto* first = dx.m_pDlgWnd->Item<QRadioButton>(firstId);
    auto* second = dx.m_pDlgWnd->Item<QRadioButton>(firstId + 1);
    if (first == nullptr || second == nullptr)
        return;
    if (dx.m_bSaveAndValidate) {
        value = first->isChecked() ? 0 : second->isChecked() ? 1 : -1;
        return;
    }
    first->setChecked(value == 0);
    second->setChecked(value == 1);
}

}  // namespace

CPiPo::CPiPo(ScanWindowHost host, QWidget* parent) :
    CBaseDialog(IDD, parent),
    m_Host(host),
    m_Sink(this, m_WindowSink),
    m_Context(*host.drives, m_Sink, m_Prompt),
    m_Control(m_Context, *this, ScanThreads())
{
    CreateControls();
}

CPiPo::~CPiPo()
{
    // A scan still running is told to stop; its sink's calls are dropped
    // with the window.
    m_Context.g_bErrorTestRunning = 0;
}

void CPiPo::CreateControls()
{
    QFont font("Arial");
    font.setPixelSize(11);
    setFont(font);
    setAcceptDrops(true);

    for (int slot = 0; slot < 2; ++slot) {
        m_pUpper[static_cast<std::size_t>(slot)] = new CGraphStaticPIPO(this);
        m_pLower[static_cast<std::size_t>(slot)] = new CGraphStaticPIPOLower(this);
    }
    BindControl(IDC_PIPO_GRAPH1_UPPER, m_pUpper[0]);
    BindControl(IDC_PIPO_GRAPH1_LOWER, m_pLower[0]);
    BindControl(IDC_PIPO_GRAPH2_UPPER, m_pUpper[1]);
    BindControl(IDC_PIPO_GRAPH2_LOWER, m_pLower[1]);

    for (const auto* ids : {&kUpperLeftCaptions, &kLowerLeftCaptions})
        for (int id : *ids)
            BindControl(id, AddLabel(this, QString(), QRect(), Qt::AlignRight));
    for (const auto* ids : {&kUpperRightCaptions, &kLowerRightCaptions})
        for (int id : *ids)
            BindControl(id, AddLabel(this, QString(), QRect()));
    for (int id : kBottomCaptions)
        BindControl(id, AddLabel(this, QString(), QRect(), Qt::AlignHCenter));
    BindControl(kLeftCaptionL9, AddLabel(this, "0", QRect(), Qt::AlignRight));
    BindControl(kRightCaptionR9, AddLabel(this, "0", QRect()));

    const std::pair<int, const char*> frames[] = {
        {IDC_PIPO_UPPER_BOX, "PI Errors && Speed"},
        {IDC_PIPO_LOWER_BOX, "PI Failures && Jitter"},
        {IDC_PIPO_PROGRESSIVE_FRAME, "Progressive Colored Scanning"},
        {IDC_PIPO_TOOLS_FRAME, "Snapshot,  Clipboard, Eject && Help"},
        {IDC_PIPO_CONTROL_FRAME, "Control"},
        {IDC_PIPO_TOTALS_FRAME, "Totals"},
        {IDC_PIPO_GRAPHS_FRAME, "Graphs"},
        {IDC_PIPO_QUALITY_FRAME, "Quality"},
    };
    for (const auto& [id, caption] : frames) {
        auto* frame = new QGroupBox(caption, this);
        frame->lower();
        BindControl(id, frame);
    }

    const std::pair<int, const char*> labels[] = {
        {IDC_PIPO_MID_LABEL, "MID"},
        {IDC_PIPO_TYPE_LABEL, "Type/Book"},
        {IDC_PIPO_UPPER_SCALE_LABEL, "PIE Scale (Left)"},
        {IDC_PIPO_LOWER_SCALE_LABEL, "PIF Scale (Left)"},
        {IDC_PIPO_JITTER_SCALE_LABEL, "Jitter Scale (Right)"},
        {IDC_PIPO_POE_SCALE_LABEL, "POE Scale (Right)"},
        {IDC_PIPO_SPEED_LABEL, "Speed"},
        {IDC_PIPO_ACCURACY_LABEL, "Speed / Accuracy"},
        {IDC_PIPO_PI_TOTAL_LABEL, "PI Total"},
        {IDC_PIPO_PI_AVG_LABEL, "PI Avg"},
        {IDC_PIPO_PI_PEAK_LABEL, "PI Peak"},
        {IDC_PIPO_PIF_TOTAL_LABEL, "PIF Total"},
        {IDC_PIPO_PIF_AVG_LABEL, "PIF Avg"},
        {IDC_PIPO_PIF_PEAK_LABEL, "PIF Peak"},
        {IDC_PIPO_POF_TOTAL_LABEL, "POF Total"},
        {IDC_PIPO_PEAK_LABEL, "PO Peak"},
        {IDC_PIPO_JITTER_INST_LABEL, "Jitter Inst."},
        {IDC_PIPO_JITTER_PEAK_LABEL, "Jitter Peak"},
        {IDC_PIPO_JITTER_AVG_LABEL, "Jitter Avg"},
        {IDC_PIPO_QUALITY_RATING, "Quality Rating"},
    };
    for (const auto& [id, caption] : labels)
        BindControl(id, AddLabel(this, caption, QRect()));

    for (int id : {IDC_PIPO_MID_CODE, IDC_PIPO_MEDIA_NAME, IDC_PIPO_BOOK_TYPE, IDC_PIPO_PI_TOTAL, IDC_PIPO_PI_AVG,
                   IDC_PIPO_PI_PEAK, IDC_PIPO_PIF_TOTAL, IDC_PIPO_PIF_AVG, IDC_PIPO_PIF_PEAK, IDC_PIPO_POF_TOTAL,
                   IDC_PIPO_PO_PEAK, IDC_PIPO_JITTER_INST, IDC_PIPO_JITTER_PEAK, IDC_PIPO_JITTER_AVG}) {
        auto* edit = new QLineEdit(this);
        edit->setReadOnly(true);
        edit->setAlignment(Qt::AlignCenter);
        BindControl(id, edit);
    }
    for (int id : {IDC_PIPO_START_LBA, IDC_PIPO_END_LBA}) {
        auto* edit = new QLineEdit(this);
        edit->setReadOnly(true);
        BindControl(id, edit);
    }

    const std::pair<int, const QStringList*> combos[] = {
        {IDC_PIPO_LOWER_SCALE, &kScaleItems},   {IDC_PIPO_UPPER_SCALE, &kScaleItems},
        {IDC_PIPO_JITTER_SCALE, &kJitterItems}, {IDC_PIPO_READ_SPEED, &kReadSpeedItems},
        {IDC_PIPO_NEC_SPEED, &kNecSpeedItems},  {IDC_PIPO_CAV_SPEED, &kCavSpeedItems},
        {IDC_PIPO_ACCURACY, &kAccuracyItems},   {IDC_PIPO_POE_SCALE, &kScaleItems},
    };
    for (const auto& [id, items] : combos) {
        auto* combo = new QComboBox(this);
        combo->addItems(*items);
        BindControl(id, combo);
    }

    const std::pair<int, const char*> toggles[] = {
        {IDC_PIPO_SHOW_PIF, "Show PIF"},       {IDC_PIPO_SHOW_PO, " Show PO"}, {IDC_PIPO_SHOW_JITTER, " Show Jitter"},
        {IDC_PIPO_SHOW_SPEED, "Show Speed"},   {IDC_PIPO_SHOW_PI, "Show PIE"}, {IDC_PIPO_PROGRESSIVE_UPPER, "Upper"},
        {IDC_PIPO_PROGRESSIVE_LOWER, "Lower"}, {IDC_PIPO_GRAPH1, "Graph 1"},   {IDC_PIPO_GRAPH2, "Graph 2"},
        {IDC_PIPO_COMPARE, "Compare"},         {IDC_PIPO_SCAN_BUTTON, "Scan"}, {IDC_PIPO_STATUS_BUTTON, "Status"},
    };
    for (const auto& [id, caption] : toggles) {
        auto* button = new CButtonST(caption, this);
        button->setCheckable(id != IDC_PIPO_SCAN_BUTTON && id != IDC_PIPO_STATUS_BUTTON);
        BindControl(id, button);
    }
    for (const SkinnedButton& skinned : kSkinnedButtons)
        BindControl(skinned.id, new CButtonST(skinned.fallback, this));
    const std::pair<int, const char*> commands[] = {
        {IDC_PIPO_STOP, "S&top"}, {IDC_PIPO_START, "&Start"}, {IDC_PIPO_SAVE, "&Save"},
        {IDC_PIPO_LOAD, "&Load"}, {IDC_PIPO_SET_LBA, "Set "},
    };
    for (const auto& [id, caption] : commands) {
        auto* button = new CXPStyleButtonST(caption, this);
        button->SetThemeHelper(&m_ThemeHelper);
        BindControl(id, button);
    }

    const std::pair<int, const char*> radios[] = {
        {IDC_PIPO_PI_LINE, "Line"},       {IDC_PIPO_PI_BLOCK, "Block"}, {IDC_PIPO_SPEED_LINE, "Line"},
        {IDC_PIPO_SPEED_BLOCK, "Block"},  {IDC_PIPO_PIF_LINE, "Line"},  {IDC_PIPO_PIF_BLOCK, "Block"},
        {IDC_PIPO_PO_LINE, "Line"},       {IDC_PIPO_PO_BLOCK, "Block"}, {IDC_PIPO_JITTER_INSTANT, "Instant"},
        {IDC_PIPO_JITTER_AVERAGE, "Avg"},
    };
    QButtonGroup* group = nullptr;
    for (std::size_t i = 0; i < std::size(radios); ++i) {
        if (i % 2 == 0)
            group = new QButtonGroup(this);
        auto* radio = new QRadioButton(radios[i].second, this);
        group->addButton(radio);
        BindControl(radios[i].first, radio);
    }

    m_Progress = new CTextProgressCtrl(this);
    BindControl(IDC_PIPO_PROGRESS, m_Progress);
    m_DriveDisplay = new CMatrixStatic(this);
    m_StatusDisplay = new CMatrixStatic(this);
    BindControl(IDC_PIPO_DRIVE_DISPLAY, m_DriveDisplay);
    BindControl(IDC_PIPO_STATUS_DISPLAY, m_StatusDisplay);

    MapCommand(IDC_PIPO_GRAPH1, [this] { OnGraph1(); });
    MapCommand(IDC_PIPO_GRAPH2, [this] { OnGraph2(); });
    MapCommand(IDC_PIPO_COMPARE, [this] { OnCompare(); });
    MapCommand(IDC_PIPO_SHOW_PI, [this] { OnShowPI(); });
    MapCommand(IDC_PIPO_SHOW_SPEED, [this] { OnShowSpeed(); });
    for (int id : {IDC_PIPO_SHOW_PIF, IDC_PIPO_SHOW_PO, IDC_PIPO_SHOW_JITTER})
        MapCommand(id, [this] { OnShowLower(); });
    MapCommand(IDC_PIPO_PROGRESSIVE_UPPER, [this] { OnProgressiveUpper(); });
    MapCommand(IDC_PIPO_PROGRESSIVE_LOWER, [this] { OnProgressiveLower(); });
    for (int id : {IDC_PIPO_UPPER_SCALE, IDC_PIPO_LOWER_SCALE, IDC_PIPO_JITTER_SCALE})
        MapNotify(id, Notify::SelChange, [this, id] { ChooseScale(id); });
    MapNotify(IDC_PIPO_CAV_SPEED, Notify::SelChange, [this] { OnSelchangeCavSpeed(); });
    MapNotify(IDC_PIPO_READ_SPEED, Notify::SelChange, [this] { OnSelchangeReadSpeed(); });
    MapNotify(IDC_PIPO_ACCURACY, Notify::SelChange, [this] {
        UpdateData(true);
        m_Context.state.m_nAccuracy = m_nAccuracy;
    });
    for (int id : {IDC_PIPO_PI_LINE, IDC_PIPO_PI_BLOCK, IDC_PIPO_SPEED_LINE, IDC_PIPO_SPEED_BLOCK})
        MapCommand(id, [this] { ApplyUpperPlotModes(); });
    for (int id : {IDC_PIPO_PIF_LINE, IDC_PIPO_PIF_BLOCK, IDC_PIPO_PO_LINE, IDC_PIPO_PO_BLOCK})
        MapCommand(id, [this] { ApplyLowerPlotModes(); });
    for (int id : {IDC_PIPO_JITTER_INSTANT, IDC_PIPO_JITTER_AVERAGE})
        MapCommand(id, [this] {
            UpdateData(true);
            m_Context.state.m_nJitterType = m_nJitterType;
        });
    MapCommand(IDC_PIPO_START, [this] { OnStart(); });
    MapCommand(IDC_PIPO_STOP, [this] { OnStop(); });
    MapCommand(IDC_PIPO_EJECT, [this] { OnEject(); });
    MapCommand(IDC_PIPO_SAVE, [this] { OnSave(); });
    MapCommand(IDC_PIPO_LOAD, [this] { OnLoad(); });
    MapCommand(IDC_PIPO_SNAPSHOT, [this] { OnSnapshot(); });
    MapCommand(IDC_PIPO_CLIPBOARD, [this] { OnCopyToClipboard(); });
    MapCommand(IDC_PIPO_SET_LBA, [this] { OnSetLba(); });
    MapCommand(IDC_PIPO_HELP, [this] { OnHelp(); });
    MapNotify(IDC_PIPO_STATUS_DISPLAY, Notify::DoubleClick, [this] { EditDisplayComment(true); });
    MapNotify(IDC_PIPO_DRIVE_DISPLAY, Notify::DoubleClick, [this] { EditDisplayComment(false); });
}

void CPiPo::LayoutControls()
{
    setFixedSize(kWindowWidth, kWindowHeight);
    for (int slot = 0; slot < 2; ++slot) {
        m_pUpper[static_cast<std::size_t>(slot)]->setGeometry(kGraphX, kUpperGraphY, 490, 162);
        m_pLower[static_cast<std::size_t>(slot)]->setGeometry(kGraphX, kLowerGraphY, 490, 163);
    }
    constexpr int leftCaptionY[] = {44, 76, 108, 140, 209, 241, 273, 305};
    for (std::size_t i = 0; i < 4; ++i) {
        MoveDlgItem(kUpperLeftCaptions[i], 0, leftCaptionY[i] - 7, kGraphX - 2, 14);
        MoveDlgItem(kLowerLeftCaptions[i], 0, leftCaptionY[i + 4] - 7, kGraphX - 2, 14);
        MoveDlgItem(kUpperRightCaptions[i], kGraphX + 457, leftCaptionY[i] - 7, 28, 14);
        MoveDlgItem(kLowerRightCaptions[i], kGraphX + 457, leftCaptionY[i + 4] - 7, 28, 14);
        MoveDlgItem(kBottomCaptions[i], 110 + 100 * static_cast<int>(i) - 24, 344, 48, 14);
    }
    MoveDlgItem(kLeftCaptionL9, 0, 337 - 7, kGraphX - 2, 14);
    MoveDlgItem(kRightCaptionR9, kGraphX + 457, 337 - 7, 28, 14);

    MoveDlgItem(IDC_PIPO_STATUS_DISPLAY, 40, 498, 359, 23);
    MoveDlgItem(IDC_PIPO_DRIVE_DISPLAY, 40, 473, 359, 23);
    // "Scan Drive 1" on two lines beside its display, at a smaller font.
    MoveDlgItem(IDC_PIPO_STATUS_BUTTON, 1, 497, 38, 25);
    MoveDlgItem(IDC_PIPO_SCAN_BUTTON, 1, 472, 38, 25);
    QFont small = font();
    small.setPixelSize(9);
    for (int id : {IDC_PIPO_STATUS_BUTTON, IDC_PIPO_SCAN_BUTTON})
        GetDlgItem(id)->setFont(small);
    MoveDlgItem(IDC_PIPO_START, 521, 448, 40, 23);
    MoveDlgItem(IDC_PIPO_STOP, 561, 448, 40, 23);
    MoveDlgItem(IDC_PIPO_LOAD, 521, 472, 40, 23);
    MoveDlgItem(IDC_PIPO_SAVE, 561, 472, 40, 23);
    MoveDlgItem(IDC_PIPO_SET_LBA, 600, 448, 52, 23);
    MoveDlgItem(IDC_PIPO_PROGRESS, 512, 502, 220, 12);
    MoveDlgItem(IDC_PIPO_GRAPH1, 25, 440, 69, 20);
    MoveDlgItem(IDC_PIPO_GRAPH2, 125, 440, 69, 20);
    MoveDlgItem(IDC_PIPO_COMPARE, 225, 440, 69, 20);
    MoveDlgItem(IDC_PIPO_UPPER_BOX, 512, 70, 230, 103);
    MoveDlgItem(IDC_PIPO_LOWER_BOX, 512, 172, 230, 160);
    MoveDlgItem(IDC_PIPO_PROGRESSIVE_FRAME, 512, 332, 230, 40);
    MoveDlgItem(IDC_PIPO_PROGRESSIVE_UPPER, 555, 349, 56, 20);
    MoveDlgItem(IDC_PIPO_PROGRESSIVE_LOWER, 655, 349, 56, 20);
    MoveDlgItem(IDC_PIPO_TOOLS_FRAME, 512, 374, 230, 55);
    const int toolX[] = {537, 585, 631, 677};
    const int toolIds[] = {IDC_PIPO_SNAPSHOT, IDC_PIPO_CLIPBOARD, IDC_PIPO_EJECT, IDC_PIPO_HELP};
    for (std::size_t i = 0; i < 4; ++i)
        MoveDlgItem(toolIds[i], toolX[i], 394, 35, 28);
    MoveDlgItem(IDC_PIPO_CONTROL_FRAME, 512, 431, 230, 68);
    MoveDlgItem(IDC_PIPO_START_LBA, 655, 448, 80, 20);
    MoveDlgItem(IDC_PIPO_END_LBA, 655, 472, 80, 20);
    MoveDlgItem(IDC_PIPO_TOTALS_FRAME, 3, 359, 482, 60);
    MoveDlgItem(IDC_PIPO_GRAPHS_FRAME, 3, 419, 320, 50);
    MoveDlgItem(IDC_PIPO_QUALITY_FRAME, 325, 419, 160, 50);
    MoveDlgItem(IDC_PIPO_QUALITY_RATING, 350, 443, 130, 20);
    MoveDlgItem(IDC_PIPO_MID_LABEL, 519, 19, 52, 15);
    MoveDlgItem(IDC_PIPO_MID_CODE, 584, 15, 140, 18);
    MoveDlgItem(IDC_PIPO_TYPE_LABEL, 519, 43, 56, 15);
    MoveDlgItem(IDC_PIPO_MEDIA_NAME, 584, 39, 80, 18);  // room for "HD DVD-ROM"
    MoveDlgItem(IDC_PIPO_BOOK_TYPE, 663, 39, 79, 18);

    // The figures in the "Totals" frame: caption above display.
    const std::pair<int, int> totals[] = {
        {IDC_PIPO_PI_TOTAL_LABEL, IDC_PIPO_PI_TOTAL},   {IDC_PIPO_PI_AVG_LABEL, IDC_PIPO_PI_AVG},
        {IDC_PIPO_PI_PEAK_LABEL, IDC_PIPO_PI_PEAK},     {IDC_PIPO_PIF_TOTAL_LABEL, IDC_PIPO_PIF_TOTAL},
        {IDC_PIPO_PIF_AVG_LABEL, IDC_PIPO_PIF_AVG},     {IDC_PIPO_PIF_PEAK_LABEL, IDC_PIPO_PIF_PEAK},
        {IDC_PIPO_POF_TOTAL_LABEL, IDC_PIPO_POF_TOTAL}, {IDC_PIPO_PEAK_LABEL, IDC_PIPO_PO_PEAK},
    };
    for (std::size_t i = 0; i < std::size(totals); ++i) {
        const int x = 8 + 60 * static_cast<int>(i);
        MoveDlgItem(totals[i].first, x, 372, 58, 15);
        MoveDlgItem(totals[i].second, x, 390, 56, 20);
    }

    // The upper frame: scale, PI and speed series, the speed boxes.
    MoveDlgItem(IDC_PIPO_UPPER_SCALE_LABEL, 520, 86, 95, 18);
    MoveDlgItem(IDC_PIPO_UPPER_SCALE, 620, 84, 115, 20);
    MoveDlgItem(IDC_PIPO_SHOW_PI, 520, 108, 78, 20);
    MoveDlgItem(IDC_PIPO_PI_LINE, 602, 108, 44, 20);
    MoveDlgItem(IDC_PIPO_PI_BLOCK, 646, 108, 52, 20);
    MoveDlgItem(IDC_PIPO_SHOW_SPEED, 520, 130, 78, 20);
    MoveDlgItem(IDC_PIPO_SPEED_LINE, 602, 130, 44, 20);
    MoveDlgItem(IDC_PIPO_SPEED_BLOCK, 646, 130, 52, 20);
    MoveDlgItem(IDC_PIPO_SPEED_LABEL, 520, 152, 40, 18);
    MoveDlgItem(IDC_PIPO_READ_SPEED, 562, 150, 80, 20);
    MoveDlgItem(IDC_PIPO_NEC_SPEED, 562, 150, 80, 20);
    MoveDlgItem(IDC_PIPO_CAV_SPEED, 562, 150, 80, 20);
    MoveDlgItem(IDC_PIPO_ACCURACY_LABEL, 520, 152, 88, 18);
    MoveDlgItem(IDC_PIPO_ACCURACY, 645, 150, 92, 20);

    // The lower frame: scales, PIF, PO and jitter series, the jitter figures.
    MoveDlgItem(IDC_PIPO_LOWER_SCALE_LABEL, 520, 188, 95, 18);
    MoveDlgItem(IDC_PIPO_LOWER_SCALE, 620, 186, 115, 20);
    MoveDlgItem(IDC_PIPO_JITTER_SCALE_LABEL, 520, 210, 95, 18);
    MoveDlgItem(IDC_PIPO_JITTER_SCALE, 620, 208, 115, 20);
    MoveDlgItem(IDC_PIPO_POE_SCALE_LABEL, 520, 210, 95, 18);
    MoveDlgItem(IDC_PIPO_POE_SCALE, 620, 208, 115, 20);
    MoveDlgItem(IDC_PIPO_SHOW_PIF, 520, 232, 78, 20);
    MoveDlgItem(IDC_PIPO_SHOW_PO, 520, 232, 78, 20);
    MoveDlgItem(IDC_PIPO_PIF_LINE, 602, 232, 44, 20);
    MoveDlgItem(IDC_PIPO_PIF_BLOCK, 646, 232, 52, 20);
    MoveDlgItem(IDC_PIPO_SHOW_JITTER, 520, 254, 78, 20);
    MoveDlgItem(IDC_PIPO_PO_LINE, 602, 254, 44, 20);
    MoveDlgItem(IDC_PIPO_PO_BLOCK, 646, 254, 52, 20);
    MoveDlgItem(IDC_PIPO_JITTER_INSTANT, 602, 272, 60, 18);
    MoveDlgItem(IDC_PIPO_JITTER_AVERAGE, 666, 272, 50, 18);
    const std::pair<int, int> jitter[] = {{IDC_PIPO_JITTER_INST_LABEL, IDC_PIPO_JITTER_INST},
                                          {IDC_PIPO_JITTER_PEAK_LABEL, IDC_PIPO_JITTER_PEAK},
                                          {IDC_PIPO_JITTER_AVG_LABEL, IDC_PIPO_JITTER_AVG}};
    const int jitterX[] = {520, 585, 650};
    for (std::size_t i = 0; i < 3; ++i) {
        MoveDlgItem(jitter[i].first, jitterX[i] + 10 - 8, 290, 64, 15);
        MoveDlgItem(jitter[i].second, jitterX[i], 305, 64, 20);
    }
    ShowDlgItem(IDC_PIPO_POE_SCALE, false);
    ShowDlgItem(IDC_PIPO_POE_SCALE_LABEL, false);
    for (int id : {IDC_PIPO_NEC_SPEED, IDC_PIPO_CAV_SPEED, IDC_PIPO_READ_SPEED, IDC_PIPO_SPEED_LABEL, IDC_PIPO_ACCURACY,
                   IDC_PIPO_ACCURACY_LABEL, IDC_PIPO_SHOW_PO})
        ShowDlgItem(id, false);
}

bool CPiPo::OnInitDialog()
{
    CBaseDialog::OnInitDialog();
    LogEntry("Started PIPO() function");
    setWindowTitle("Quenzario PIPO Scanning");
    LayoutControls();
    m_Context.m_pUpperGraph = m_pUpper[0];
    m_Context.m_pLowerGraph = m_pLower[0];

    ResetScanState();
    ShowView(ScanViewMode::Generic);
    InitDisplays();
    SetPIPODefaults();
    InitButtons();
    Init();

    LogEntry("Start LoadPIPOSettingsFromRegistry()");
    LoadPIPOSettingsFromRegistry();
    LogEntry("End LoadPIPOSettingsFromRegistry()");
    LogEntry("Start OnPipo()");
    OnPipo();
    LogEntry("End OnPipo()");
    // Only the opacity: shown before its modal run, a dialog would not be modal.
    ApplyOpacity(*this);
    if (ModalResult() >= 0)
        return true;  // a CD ended the run

    EnableDlgItem(IDC_PIPO_COMPARE, BothSlotsHoldScans());
    m_Context.drive.m_ScsiCommand.LockAndDismountVolume();
    m_Control.ReadCapacityRange();
    if (m_Host.cmdLine1 != nullptr && !m_Host.cmdLine1->empty())
        DoPiPO(*m_Host.cmdLine1, true);
    return true;
}

void CPiPo::InitToolTips()
{
    for (int id : {IDC_PIPO_PI_BLOCK, IDC_PIPO_PIF_BLOCK, IDC_PIPO_SPEED_BLOCK, IDC_PIPO_PO_BLOCK})
        GetDlgItem(id)->setToolTip("Set this plot to block line mode");
    for (int id : {IDC_PIPO_PI_LINE, IDC_PIPO_PIF_LINE, IDC_PIPO_SPEED_LINE, IDC_PIPO_PO_LINE})
        GetDlgItem(id)->setToolTip("Set this plot to single line (horizontal line) mode");
    for (int id : {IDC_PIPO_STATUS_BUTTON, IDC_PIPO_SCAN_BUTTON})
        GetDlgItem(id)->setToolTip("Double-Click to change or add a comment");
}

void CPiPo::InitDisplays()
{
    LogEntry("InitDisplays() - Start");
    m_LedColors = ReadColorScheme();
    for (CMatrixStatic* display : {m_DriveDisplay, m_StatusDisplay})
        SetUpOneLineDisplay(*display, kDisplayColumns, m_LedColors);
    LogEntry("InitDisplays() - End");
}

void CPiPo::InitButtons()
{
    LogEntry("Started InitButtons() function");
    LogEntry("Initialising custom buttons");
    const ScanGraphColours colours = ReadScanGraphColours();
    const std::pair<int, COLORREF> series[] = {{IDC_PIPO_SHOW_SPEED, colours.speed},
                                               {IDC_PIPO_SHOW_JITTER, colours.jitter},
                                               {IDC_PIPO_SHOW_PI, colours.pi},
                                               {IDC_PIPO_SHOW_PIF, colours.pif},
                                               {IDC_PIPO_SHOW_PO, colours.pif}};
    for (const auto& [id, colour] : series) {
        QImage swatch(10, 10, QImage::Format_RGB32);
        swatch.fill(QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour)));
        Item<CButtonST>(id)->SetIcons(swatch);
    }
    for (int id : {IDC_PIPO_PROGRESSIVE_UPPER, IDC_PIPO_PROGRESSIVE_LOWER})
        CheckDlgButton(id, 1);
    OnGraph1();
    for (const ButtonTip& tip : kButtonTips)
        Item<CButtonST>(tip.id)->SetTooltipText(tip.text);
    InitToolTips();
    LogEntry("End InitButtons() function");
}

void CPiPo::SetPIPODefaults()
{
    LogEntry("Started SetPIPODefaults() function");
    ShowDisplays(ScanDisplayTexts{"", "", "", "", "", "", "", "", "", ""});
    SetDlgItemText(IDC_PIPO_PO_PEAK, "");
    const char* gigabytes[] = {"1GB", "2GB", "3GB", "4GB"};
    for (std::size_t i = 0; i < 4; ++i)
        SetDlgItemText(kBottomCaptions[i], gigabytes[i]);
    m_Context.m_pUpperGraph->SetPIScale(0);
    m_Context.m_pUpperGraph->SetSpeedScale(0);
    m_Context.m_pLowerGraph->SetPIFScale(0);
    LogEntry("End SetPIPODefaults() function");
}

void CPiPo::ResetScanState()
{
    m_Progress->SetRange(0, 100);
    m_Context.media = ScanMediaTexts{};
    ShowMediaTexts();
    ScanState& state = m_Context.state;
    state.m_bNotSaved1 = state.m_bNotSaved2 = 0;
    m_strStatus.clear();
    state.m_nPIPeak = 0;
    state.m_nPIFPeak = 0;
    state.m_nAccuracy = 0;
    m_nAccuracy = 0;
    m_bSlot2Shown = 0;
    state.m_nGraphSlot = 0;
    for (ScanSlotRecord& slot : m_Slots)
        slot = ScanSlotRecord{};
    m_Slots[1].displays = ScanDisplayTexts{"", "", "", "", "", "", "", "", "", ""};
    m_StatusDisplay->SetText(std::string(kDisplayColumns, ' '));
}

void CPiPo::LoadPIPOSettingsFromRegistry()
{
    const ScanWindowSettings settings = LoadPIPOSettings();
    m_nJitterType = settings.m_nJitterType;
    m_Context.state.m_nJitterType = m_nJitterType;
    m_nPIRadio = settings.m_nPIRadio;
    m_nPORadio = settings.m_nPORadio;
    m_nPIPRadio = settings.m_nPIPRadio;
    m_nPOPRadio = settings.m_nPOPRadio;
    for (int slot = 0; slot < 2; ++slot) {
        m_pUpper[static_cast<std::size_t>(slot)]->SetPlotModes(m_nPIRadio, m_nPORadio);
        m_pLower[static_cast<std::size_t>(slot)]->SetPlotModes(m_nPIPRadio, m_nPOPRadio);
    }
    const std::pair<int, int> selections[] = {
        {IDC_PIPO_JITTER_SCALE, settings.jitterScale}, {IDC_PIPO_CAV_SPEED, settings.speedBenq},
        {IDC_PIPO_READ_SPEED, settings.speedLiteon},   {IDC_PIPO_NEC_SPEED, settings.speedNec},
        {IDC_PIPO_UPPER_SCALE, settings.piScale},      {IDC_PIPO_LOWER_SCALE, settings.pifScale},
    };
    for (const auto& [id, index] : selections)
        Item<QComboBox>(id)->setCurrentIndex(index);
    m_ScanScales = {settings.piScale, settings.pifScale, settings.jitterScale};
    m_Context.choices.readSpeedIndex = settings.speedLiteon;
    m_Context.choices.necSpeedIndex = settings.speedNec;
    m_Context.choices.cavSpeedIndex = settings.speedBenq;
    CheckDlgButton(IDC_PIPO_SHOW_PI, settings.showPI);
    CheckDlgButton(IDC_PIPO_SHOW_JITTER, settings.showJitter);
    CheckDlgButton(IDC_PIPO_SHOW_PIF, settings.showPIF);
    CheckDlgButton(IDC_PIPO_SHOW_SPEED, settings.showSpeed);
    m_pLower[0]->RefreshNow();
    UpdateData(false);
}

void CPiPo::SavePIPOSettingsToRegistry()
{
    UpdateData(true);
    ScanWindowSettings settings;
    settings.m_nJitterType = m_nJitterType;
    settings.m_nPIRadio = m_nPIRadio;
    settings.m_nPORadio = m_nPORadio;
    settings.m_nPIPRadio = m_nPIPRadio;
    settings.m_nPOPRadio = m_nPOPRadio;
    settings.jitterScale = m_ScanScales.jitter;
    settings.speedBenq = Item<QComboBox>(IDC_PIPO_CAV_SPEED)->currentIndex();
    settings.speedLiteon = Item<QComboBox>(IDC_PIPO_READ_SPEED)->currentIndex();
    settings.speedNec = Item<QComboBox>(IDC_PIPO_NEC_SPEED)->currentIndex();
    settings.piScale = m_ScanScales.upper;
    settings.pifScale = m_ScanScales.lower;
    settings.showPI = IsDlgButtonChecked(IDC_PIPO_SHOW_PI);
    settings.showJitter = IsDlgButtonChecked(IDC_PIPO_SHOW_JITTER);
    settings.showPIF = IsDlgButtonChecked(IDC_PIPO_SHOW_PIF);
    settings.showSpeed = IsDlgButtonChecked(IDC_PIPO_SHOW_SPEED);
    SavePIPOSettings(settings);
}

void CPiPo::DoDataExchange(CDataExchange& dx)
{
    DDX_Text(dx, IDC_PIPO_START_LBA, m_Control.range.strStartLba);
    DDX_Text(dx, IDC_PIPO_END_LBA, m_Control.range.strEndLba);
    DDX_CBIndex(dx, IDC_PIPO_ACCURACY, m_nAccuracy);
    DDX_RadioPair(dx, IDC_PIPO_JITTER_INSTANT, m_nJitterType);
    DDX_RadioPair(dx, IDC_PIPO_PI_LINE, m_nPIRadio);
    DDX_RadioPair(dx, IDC_PIPO_PIF_LINE, m_nPIPRadio);
    DDX_RadioPair(dx, IDC_PIPO_SPEED_LINE, m_nPORadio);
    DDX_RadioPair(dx, IDC_PIPO_PO_LINE, m_nPOPRadio);
}

void CPiPo::Init()
{
    LogEntry("Started Init() function");
    ReadMedia(true);
    LogEntry("End Init() function");
}

void CPiPo::OnPipo()
{
    update();
    ShowDriveName();
    ReadMedia(false);
}

void CPiPo::ReadMedia(bool initialising)
{
    EnableDlgItem(IDC_PIPO_START, true);
    ApplyPOCaptions();
    ShowDlgItem(IDC_PIPO_NEC_SPEED, false);
    if (m_Context.drive.list.m_pCurrentDevice != nullptr) {
        const ScanDriveDetection detection = DetectScanDrive(m_Context);
        if (detection.setup)
            ApplyWindowSetup();
    }
    if (m_nJitterType != 0 && m_nJitterType != 1)
        m_nJitterType = 0;
    LoadGraphColours();
    ApplyJitterScaleChoice();
    OnSelchangePIScale();
    OnSelchangePIFScale();

    const ScanMediaInfo info = ReadScanMediaInfo(m_Context.drive, true);
    if (RefuseCdMedium(info, m_Context.state, m_Prompt)) {
        EndDialog(1);
        return;
    }
    m_Context.media = info.texts;
    ShowMediaTexts();
    UpdateData(false);
    (void)initialising;
}

void CPiPo::SetStatus(const std::string& text)
{
    m_strStatus = Format("%-40s", text.c_str()).substr(0, kDisplayColumns);
    m_StatusDisplay->SetText(m_strStatus);
}

void CPiPo::ShowDriveName()
{
    const CDevice* device = m_Context.drive.list.m_pCurrentDevice;
    if (device == nullptr)
        return;
    const std::string name = device->m_strIdentity + " " + device->m_strFirmware;
    m_DriveDisplay->SetText(Format("%-40s", name.c_str()));
}

void CPiPo::OnHelp()
{
    OpenHelpPage("ZentaroPIPO.htm");
}

void CPiPo::EditDisplayComment(bool statusDisplay)
{
    CMatrixStatic& display = statusDisplay ? *m_StatusDisplay : *m_DriveDisplay;
    const std::string shown = display.GetText().substr(0, kDisplayColumns);
    if (const auto comment = AskComment(this, shown)) {
        display.SetText(Format("%-40s", comment->c_str()));
        if (statusDisplay)
            m_strStatus = *comment;
    }
}

ScanDisplayTexts CPiPo::DisplayTexts() const
{
    ScanDisplayTexts texts;
    for (const auto& [id, text] : kDisplays)
        texts.*text = GetDlgItemText(id);
    return texts;
}

void CPiPo::ShowDisplays(const ScanDisplayTexts& texts)
{
    for (const auto& [id, text] : kDisplays)
        SetDlgItemText(id, texts.*text);
    m_Context.displays = texts;
}

void CPiPo::ShowMediaTexts()
{
    SetDlgItemText(IDC_PIPO_MEDIA_NAME, m_Context.media.mediaName);
    SetDlgItemText(IDC_PIPO_MID_CODE, m_Context.media.midCode);
    SetDlgItemText(IDC_PIPO_BOOK_TYPE, m_Context.media.bookType);
}

float CPiPo::ShowQualityRating()
{
    const QualityRatingCaption rating = RateScan(DisplayTexts());
    SetDlgItemText(IDC_PIPO_QUALITY_RATING, rating.caption);
    return rating.rating;
}

void CPiPo::WindowSink::SetProgress(int position)
{
    m_window.m_Progress->SetPos(position);
}

void CPiPo::WindowSink::RestoreStatusDisplay(const std::string& savedStatus)
{
    m_window.m_StatusDisplay->SetText(savedStatus);
}

LRESULT CPiPo::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return CBaseDialog::WindowProc(message, wParam, lParam);
}

void CPiPo::OnClose()
{
    // The busy flag first: a refused close leaves the window open and the
    // main window's record of it as it is.
    if (!m_Control.OnClose())
        return;
    SavePIPOSettingsToRegistry();
    EndDialog(0);
}

void CPiPo::OnDeviceChange(WPARAM event, const DeviceBroadcast& notice)
{
    m_Control.OnDeviceChange(event, notice);
}

void CPiPo::UpdateControls()
{
    UpdateData(false);
    ShowMediaTexts();
    ShowDisplays(m_Context.displays);
}

void CPiPo::ApplyDriveSetup(const ScanDriveDetection& detection)
{
    if (detection.setup)
        ApplyWindowSetup();
}

void CPiPo::LoadColoursAndScales()
{
    // A scan starts on the scales chosen for scanning, not a loaded file's.
    Item<QComboBox>(IDC_PIPO_UPPER_SCALE)->setCurrentIndex(m_ScanScales.upper);
    Item<QComboBox>(IDC_PIPO_LOWER_SCALE)->setCurrentIndex(m_ScanScales.lower);
    Item<QComboBox>(IDC_PIPO_JITTER_SCALE)->setCurrentIndex(m_ScanScales.jitter);
    LoadGraphColours();
    ApplyJitterScaleChoice();
    OnSelchangePIScale();
    OnSelchangePIFScale();
}

void CPiPo::ReapplyProgressiveColouring()
{
    m_bProgressiveUpper = m_bProgressiveLower = 0;
    OnProgressiveUpper();
    OnProgressiveLower();
}

void CPiPo::Beep(unsigned type)
{
    MessageBeep(type);
}

const PiPoUpperGraph& CPiPo::UpperGraphOfSlot(int slot)
{
    return UpperGraph(slot);
}

std::optional<std::pair<std::string, std::string>> CPiPo::RunRangeDialog(int lowest, int highest)
{
    CSetLogicalBlockAddress dialog(this);
    dialog.SetLowestLba(lowest);
    dialog.SetHighestLba(highest);
    if (dialog.DoModal() != IDOK || dialog.GetStartText().empty() || dialog.GetEndText().empty())
        return std::nullopt;  // cancelled: the range stays
    return std::pair{dialog.GetStartText(), dialog.GetEndText()};
}
