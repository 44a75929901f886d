#include "gui/graphs/IBGGraph.h"

#include "core/base/AppProfile.h"
#include "core/base/ColorRef.h"
#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/ui/Translucency.h"
#include "core/base/UserPrompt.h"
#include "core/ui/ColorSchemes.h"
#include "gui/app/FileDialogs.h"
#include "gui/graphs/GraphStatic.h"
#include "gui/ui/WindowSnapshot.h"
#include "gui/ui/Banner.h"
#include "gui/ui/ButtonST.h"
#include "gui/ui/Comment.h"
#include "gui/ui/Labels.h"
#include "gui/ui/MatrixStatic.h"
#include "gui/ui/ShellOpen.h"
#include "gui/ui/XPStyleButtonST.h"
#include "platform/profile/UserRegistry.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSlider>

namespace {

constexpr int kWindowWidth = 778;
constexpr int kWindowHeight = 599;
constexpr int kBandHeight = 69;
constexpr int kPlotX = 28;
constexpr int kPlotY = 69;
constexpr int kPlotWidth = 451;
constexpr int kPlotHeight = 434;
constexpr int kCommentColumns = 40;
constexpr int kSliderMaximum = 18;
constexpr char kCommentHint[] = "Double-Click Digital Displays to edit";
constexpr char kFileFilter[] = "Data Files (*.ibg *.mbg)";
constexpr char kLastFolderEntry[] = "Last IBG Directory";

// The fields beside the plot, top to bottom; the time field's label is a
// control of its own ("Burn Time" or "Verify Time").
struct Field {
    int id;
    const char* label;
};
constexpr Field kFields[] = {
    {IDC_IBG_DATETIME, "Date/Time"},
    {IDC_IBG_MEDIATYPE, "Media Type"},
    {IDC_IBG_BOOKTYPE, "Book Type"},
    {IDC_IBG_MEDIAID, "Media ID"},
    {IDC_IBG_CAPACITY, "Capacity"},
    {IDC_IBG_DATASECTORS, "Data Sectors"},
    {IDC_IBG_DATATYPE, "Data Type"},
    {IDC_IBG_SAMPLERATE, "Sample Rate"},
    {IDC_IBG_BURNTIME, nullptr},
    {IDC_IBG_WRITETESTMODE, "Write Test Mode"},
    {IDC_IBG_SPEEDSELECTED, "Speed Selected"},
    {IDC_IBG_SPEEDSTART, "Speed Start"},
    {IDC_IBG_SPEEDEND, "Speed End"},
    {IDC_IBG_SPEEDAVG, "Speed Avg"},
    {IDC_IBG_SPEEDMAX, "Speed Max"},
};

// The curve boxes, two columns of four.
struct Box {
    int id;
    const char* caption;
    const char* tooltip;
};
constexpr Box kBoxes[] = {
    {IDC_IBG_SHOWWRITE, "Show Write.....", nullptr},
    {IDC_IBG_SHOWVERIFY, "Show Verify....", nullptr},
    {IDC_IBG_WRITERPM, "Write RPM......", "Toggles Write RPM plot on and off"},
    {IDC_IBG_VERIFYRPM, "Verify RPM.....", "Toggles Verify RPM plot on and off"},
    {IDC_IBG_WRITEBUFFER, "Write Buffer %.", "Toggles upper Buffer Usage graph for Write Data on and off"},
    {IDC_IBG_VERIFYCPU, "Verify CPU%...", "Toggles upper CPU Usage graph for Verify Data on and off"},
    {IDC_IBG_WRITECPU, "Write CPU%....", "Toggles upper CPU Usage graph for Write Data on and off"},
    {IDC_IBG_AVERAGED, "Averaged.......",
     "Toggles Averages all data within the .IBG/.MBG file \\ Samples closest aligned data within the .IBG/.MBG file"},
};

struct CommandButton {
    int id;
    const char* caption;
    const char* tooltip;
};
constexpr CommandButton kCommands[] = {
    {IDC_IBG_LOADGRAPH, "&Load Graph", "Load a MBG or IBG graph file"},
    {IDC_IBG_SAVEGRAPH, "&Save Graph", "Save graph with comment boxes"},
    {IDC_IBG_RUNIMGBURN, "&Run ImgBurn", "Launch ImgBurn Program"},
    {IDC_IBG_GETIMGBURN, "&Get ImgBurn", "Download ImgBurn"},
    {IDC_IBG_RUNFLAREWICK, "&Run Flarewick", "Launch Flarewick Program"},
    {IDC_IBG_GETFLAREWICK, "&Get Flarewick", "Download Flarewick"},
};

constexpr int kWriteCurveBoxes[] = {IDC_IBG_WRITEBUFFER, IDC_IBG_WRITERPM, IDC_IBG_WRITECPU};
constexpr int kVerifyCurveBoxes[] = {IDC_IBG_VERIFYRPM, IDC_IBG_VERIFYCPU};

std::string ProgramPath(const std::string& folder, const char* program)
{
    return folder.ends_with('/') ? folder + program : folder + "/" + program;
}

std::string NotConfiguredTooltip(const char* tooltip, const char* program, const char* key)
{
    const std::optional<UserRegistryPlace> place = PlaceOfUserKey(key, UserConfigHome());
    const std::string where = place ? "InstallDirectory in [" + place->section + "] of " + place->file
                                    : std::string("InstallDirectory");
    return std::string(tooltip) + " (not available: no " + program + " install folder is set; " + where + ")";
}

}  // namespace

CIBGGraph::CIBGGraph(QWidget* parent) : CBaseDialog(IDD, parent)
{
    setWindowTitle("Write Data Graph");
    CreateControls();
}

CIBGGraph::~CIBGGraph() = default;

void CIBGGraph::CreateControls()
{
    QFont font("Arial");
    font.setPixelSize(11);
    setFont(font);

    auto* web = new CButtonST(this);
    web->SetFlatStyle(true);
    web->SetDrawBorder(false);
    web->EnableTransparentDraw();
    web->setCursor(Qt::PointingHandCursor);
    BindControl(IDC_IBG_HOMEPAGE, web);

    m_pGraph = new CGraphStatic(this);
    BindControl(IDC_IBG_GRAPH, m_pGraph);

    for (int id : kIbgSpeedLabels)
        BindControl(id, AddLabel(this, QString(), QRect(), Qt::AlignRight));
    const char* const percents[] = {"80%", "60%", "40%", "20%", "0%"};
    for (std::size_t i = 0; i < kIbgPercentLabels.size(); ++i)
        BindControl(kIbgPercentLabels[i], AddLabel(this, percents[i], QRect(), Qt::AlignLeft));
    for (int id : kIbgRpmLabels)
        BindControl(id, AddLabel(this, QString(), QRect(), Qt::AlignLeft));
    for (int id : kIbgXLabels)
        BindControl(id, AddLabel(this, QString(), QRect(), Qt::AlignHCenter));

    for (const Field& field : kFields) {
        if (field.label != nullptr)
            AddLabel(this, field.label, QRect(), Qt::AlignRight)->setObjectName(QString("label_%1").arg(field.id));
        auto* edit = new QLineEdit(this);
        edit->setReadOnly(true);
        BindControl(field.id, edit);
    }
    BindControl(IDC_IBG_TIMELABEL, AddLabel(this, "Burn Time", QRect(), Qt::AlignRight));

    for (const Box& box : kBoxes) {
        auto* button = new CButtonST(box.caption, this);
        button->setCheckable(true);
        button->setChecked(true);
        if (box.tooltip != nullptr)
            button->SetTooltipText(box.tooltip);
        BindControl(box.id, button);
    }

    m_pSliderLabel = AddLabel(this, "Shift Sampled Position", QRect(), Qt::AlignLeft);
    BindControl(IDC_IBG_SHIFTPOSITION, AddLabel(this, "0", QRect(), Qt::AlignRight));
    m_pSlider = new QSlider(Qt::Horizontal, this);
    BindControl(IDC_IBG_SHIFTSLIDER, m_pSlider);
    connect(m_pSlider, &QSlider::valueChanged, this, [this] { OnHScroll(); });

    for (const CommandButton& command : kCommands) {
        auto* button = new CXPStyleButtonST(command.caption, this);
        button->SetThemeHelper(&m_ThemeHelper);
        button->SetTooltipText(command.tooltip);
        BindControl(command.id, button);
    }
    auto* snapshot = new CButtonST("Snap", this);
    snapshot->SetTooltipText("Saves current view as a graphic file");
    BindControl(IDC_IBG_SNAPSHOT, snapshot);
    auto* clipboard = new CButtonST("Copy", this);
    clipboard->SetTooltipText("Copies current display to clipboard");
    BindControl(IDC_IBG_CLIPBOARD, clipboard);
    web->SetTooltipText("Visit my web site now");

    m_pComment1 = new CMatrixStatic(this);
    m_pComment2 = new CMatrixStatic(this);
    BindControl(IDC_IBG_COMMENT1, m_pComment1);
    BindControl(IDC_IBG_COMMENT2, m_pComment2);

    MapCommand(IDC_IBG_LOADGRAPH, [this] { OnLoadGraph(); });
    MapCommand(IDC_IBG_SAVEGRAPH, [this] { OnSaveGraph(); });
    MapCommand(IDC_IBG_SNAPSHOT, [this] { SaveWindowSnapshot(*this); });
    MapCommand(IDC_IBG_CLIPBOARD, [this] { CopyWindowToClipboard(*this); });
    MapCommand(IDC_IBG_SHOWWRITE, [this] { OnShowWrite(); });
    MapCommand(IDC_IBG_SHOWVERIFY, [this] { OnShowVerify(); });
    MapCommand(IDC_IBG_WRITECPU, [this] { OnWriteCpu(); });
    MapCommand(IDC_IBG_VERIFYCPU, [this] { OnVerifyCpu(); });
    MapCommand(IDC_IBG_WRITEBUFFER, [this] { OnWriteBuffer(); });
    MapCommand(IDC_IBG_VERIFYRPM, [this] { OnVerifyRpm(); });
    MapCommand(IDC_IBG_WRITERPM, [this] { OnWriteRpm(); });
    MapCommand(IDC_IBG_AVERAGED, [this] { OnAveraged(); });
    MapCommand(IDC_IBG_RUNIMGBURN, [this] { OnRunImgBurn(); });
    MapCommand(IDC_IBG_RUNFLAREWICK, [this] { OnRunFlarewick(); });
    MapCommand(IDC_IBG_GETIMGBURN, [this] { OnGetImgBurn(); });
    MapCommand(IDC_IBG_GETFLAREWICK, [this] { OnGetFlarewick(); });
    MapCommand(IDC_IBG_HOMEPAGE, [this] {
        if (m_HomePage)
            m_HomePage();
    });
    MapNotify(IDC_IBG_COMMENT1, Notify::DoubleClick, [this] { OnEditComment1(); });
    MapNotify(IDC_IBG_COMMENT2, Notify::DoubleClick, [this] { OnEditComment2(); });
}

bool CIBGGraph::OnInitDialog()
{
    CBaseDialog::OnInitDialog();
    GetDlgItem(IDC_IBG_HOMEPAGE)->resize(500, 38);
    if (QWidget* owner = parentWidget())
        move(owner->window()->pos());
    ReadInstallFolders();
    LayoutControls();
    ResetGraph();

    m_pGraph->SetSpeedColor(static_cast<COLORREF>(GetAppProfileInt("GraphSPEEDColorPick", 0x00FFFF)));
    m_pGraph->SetRpmColor(static_cast<COLORREF>(GetAppProfileInt("GraphRPMColorPick", 0x00FF00)));
    const auto grid = static_cast<COLORREF>(GetAppProfileInt("GraphFGColorPick1", 0x6D6D6D));
    m_pGraph->SetGridColors(grid, HalfIntensity(grid), static_cast<COLORREF>(GetAppProfileInt("GraphBGColorPick1", 0)));
    const auto marker = static_cast<COLORREF>(GetAppProfileInt("GraphVERTColorPick", 0xFFFFFF));
    m_pGraph->SetMarkerColor(marker);
    m_pGraph->SetLayerBreakColor(marker);

    SetAxisLabels(AxisLabelsFor(false));
    m_pSlider->setRange(0, kSliderMaximum);
    m_pSlider->setValue(0);
    OnAveraged();
    m_pComment1->SetText(" ");
    m_pComment2->SetText(kCommentHint);
    // Only the opacity: shown before its modal run, a dialog would not be modal.
    if (const auto alpha = ReadTranslucencyAlpha())
        setWindowOpacity(*alpha / 255.0);

    if (!m_strFileName.empty()) {
        OnShowWrite();
        OnShowVerify();
        SetDlgItemText(IDC_IBG_SHIFTPOSITION, Format("%d", m_pSlider->value()));
        LoadGraphFile();
    }
    return true;
}

void CIBGGraph::DoDataExchange(CDataExchange& dx)
{
    DDX_Text(dx, IDC_IBG_MEDIAID, m_Displays.mediaId);
    DDX_Text(dx, IDC_IBG_MEDIATYPE, m_Displays.mediaType);
    DDX_Text(dx, IDC_IBG_CAPACITY, m_Displays.capacity);
    DDX_Text(dx, IDC_IBG_DATASECTORS, m_Displays.dataSectors);
    DDX_Text(dx, IDC_IBG_DATATYPE, m_Displays.dataType);
    DDX_Text(dx, IDC_IBG_BURNTIME, m_Displays.burnTime);
    DDX_Text(dx, IDC_IBG_DATETIME, m_Displays.dateTime);
    DDX_Text(dx, IDC_IBG_SAMPLERATE, m_Displays.sampleRate);
    DDX_Text(dx, IDC_IBG_SPEEDSTART, m_Displays.speedStart);
    DDX_Text(dx, IDC_IBG_SPEEDAVG, m_Displays.speedAverage);
    DDX_Text(dx, IDC_IBG_SPEEDMAX, m_Displays.speedMax);
    DDX_Text(dx, IDC_IBG_BOOKTYPE, m_Displays.bookType);
    DDX_Text(dx, IDC_IBG_SPEEDEND, m_Displays.speedEnd);
    DDX_Text(dx, IDC_IBG_SPEEDSELECTED, m_Displays.speedSelected);
    DDX_Text(dx, IDC_IBG_WRITETESTMODE, m_Displays.writeTestMode);
    DDX_Text(dx, IDC_IBG_TIMELABEL, m_Displays.timeLabel);
}

void CIBGGraph::LayoutControls()
{
    setFixedSize(kWindowWidth, kWindowHeight);
    m_pGraph->move(kPlotX, kPlotY);
    m_pGraph->SetGraphSize(kPlotWidth, kPlotHeight);
    m_pGraph->SetWriteGraphMode(1);
    GetDlgItem(IDC_IBG_HOMEPAGE)->move(13, 2);

    // Speed labels every 32 pixels from y 84 (16 pixels a 1x), RPM labels
    // at their 3,000 RPM steps (93.75 RPM a pixel), percent labels on the
    // top band, size labels under the columns they stand for.
    for (std::size_t i = 0; i < kIbgSpeedLabels.size(); ++i)
        MoveDlgItem(kIbgSpeedLabels[i], 0, 84 + 32 * static_cast<int>(i) - 7, kPlotX - 2, 14);
    const int right = kPlotX + kPlotWidth + 7;
    for (std::size_t i = 0; i < kIbgPercentLabels.size(); ++i)
        MoveDlgItem(kIbgPercentLabels[i], right, kPlotY + 20 * (static_cast<int>(i) + 1) - 7, 34, 14);
    for (std::size_t i = 0; i < kIbgRpmLabels.size(); ++i)
        MoveDlgItem(kIbgRpmLabels[i], right, kPlotY + 114 + 32 * static_cast<int>(i) - 7, 34, 14);
    for (std::size_t i = 0; i < kIbgXLabels.size(); ++i)
        MoveDlgItem(kIbgXLabels[i], kPlotX + 102 * (static_cast<int>(i) + 1) - 24, kPlotY + kPlotHeight + 6, 48, 14);

    constexpr int kLabelX = 522;
    constexpr int kFieldX = 615;
    int y = 74;
    for (const Field& field : kFields) {
        const int labelId = field.label != nullptr ? 0 : IDC_IBG_TIMELABEL;
        if (labelId != 0)
            MoveDlgItem(labelId, kLabelX, y, 88, 18);
        else if (auto* label = findChild<QLabel*>(QString("label_%1").arg(field.id)))
            label->setGeometry(kLabelX, y, 88, 18);
        MoveDlgItem(field.id, kFieldX, y, 150, 18);
        y += 21;
    }
    for (std::size_t i = 0; i < std::size(kBoxes); ++i)
        MoveDlgItem(kBoxes[i].id, kLabelX + 126 * static_cast<int>(i % 2), 394 + 20 * static_cast<int>(i / 2), 122, 18);
    m_pSliderLabel->setGeometry(kLabelX, 476, 150, 16);
    MoveDlgItem(IDC_IBG_SHIFTPOSITION, 716, 476, 50, 16);
    m_pSlider->setGeometry(kLabelX, 492, 246, 20);
    for (std::size_t i = 0; i < std::size(kCommands); ++i)
        MoveDlgItem(kCommands[i].id, kLabelX + 83 * static_cast<int>(i % 3), 516 + 28 * static_cast<int>(i / 3), 80,
                    24);
    MoveDlgItem(IDC_IBG_SNAPSHOT, kLabelX, 572, 40, 24);
    MoveDlgItem(IDC_IBG_CLIPBOARD, kLabelX + 44, 572, 40, 24);
    m_pComment1->move(kPlotX, 530);
    m_pComment2->move(kPlotX, 560);
}

void CIBGGraph::SetupDisplay(CMatrixStatic& display)
{
    SetUpOneLineDisplay(display, kCommentColumns, ReadColorScheme());
}

void CIBGGraph::ResetGraph()
{
    m_pGraph->ClearGraph();
    m_pGraph->SetGraphSize(kPlotWidth, kPlotHeight);
    m_pGraph->SetMediaFlags(0, 0, 0);
    SetupDisplay(*m_pComment1);
    SetupDisplay(*m_pComment2);
}

void CIBGGraph::ReadInstallFolders()
{
    m_strImgBurnFolder = ReadUserRegistryString(kImgBurnKey, "InstallDirectory").value_or(std::string());
    m_strFlarewickFolder = ReadUserRegistryString(kFlarewickKey, "InstallDirectory").value_or(std::string());
    // Nothing is started where no install folder is set; the button says why.
    EnableDlgItem(IDC_IBG_RUNIMGBURN, !m_strImgBurnFolder.empty());
    if (m_strImgBurnFolder.empty())
        Item<CButtonST>(IDC_IBG_RUNIMGBURN)
            ->SetTooltipText(NotConfiguredTooltip("Launch ImgBurn Program", "ImgBurn", kImgBurnKey));
    EnableDlgItem(IDC_IBG_RUNFLAREWICK, !m_strFlarewickFolder.empty());
    if (m_strFlarewickFolder.empty())
        Item<CButtonST>(IDC_IBG_RUNFLAREWICK)
            ->SetTooltipText(NotConfiguredTooltip("Launch Flarewick Program", "Flarewick", kFlarewickKey));
}

void CIBGGraph::SetAxisLabels(const WriteGraphAxisLabels& labels)
{
    for (std::size_t i = 0; i < kIbgSpeedLabels.size(); ++i)
        SetDlgItemText(kIbgSpeedLabels[i], labels.speed[i]);
    for (std::size_t i = 0; i < kIbgRpmLabels.size(); ++i)
        SetDlgItemText(kIbgRpmLabels[i], labels.rpm[i]);
    for (std::size_t i = 0; i < kIbgXLabels.size(); ++i)
        SetDlgItemText(kIbgXLabels[i], labels.x[i]);
}

int CIBGGraph::LoadGraphFile()
{
    std::string path = m_strFileName;
    if (path.empty()) {
        const auto chosen = ShowOpenFileDialog(this, "Choose a file to load", kFileFilter, kLastFolderEntry, "ibg");
        if (!chosen)
            return 1;
        path = *chosen;
    }
    LogEntryF("CIBGGraph::LoadGraphFile() - %s", path.c_str());
    SetAxisLabels(AxisLabelsFor(false));
    ResetGraph();
    const int result = m_File.LoadGraphFile(path);
    m_bLoaded = true;
    for (const std::string& message : m_File.Messages())
        AppMessageBox(message);

    const WriteGraph& graph = m_File.Graph();
    m_strVersion = graph.version;
    WriteGraphAxisLabels labels = AxisLabelsFor(graph.cdFlag);
    labels.x = graph.xAxisCaptions;
    SetAxisLabels(labels);
    ShowWriteGraph(graph, *m_pGraph);
    ShowDisplays();
    if (graph.hasWriteSection) {
        m_pSlider->setRange(0, std::max(0, static_cast<int>(graph.writeSamples.size() / 451)));
        m_pSlider->setValue(0);
    }
    if (result == 0)
        ApplyBoxes(BoxesAfterLoad(graph, CurrentBoxes()));
    EnableDlgItem(IDC_IBG_SAVEGRAPH, m_File.CanSave());
    return result;
}

void CIBGGraph::ShowDisplays()
{
    m_Displays = m_File.Displays();
    UpdateData(false);
    m_pComment1->SetText(m_Displays.device);
    m_pComment2->SetText(m_Displays.comment);
}

WriteGraphBoxes CIBGGraph::CurrentBoxes() const
{
    const auto enabled = [this](int id) { return GetDlgItem(id)->isEnabled(); };
    WriteGraphBoxes boxes;
    boxes.showWriteEnabled = enabled(IDC_IBG_SHOWWRITE);
    boxes.showWriteTicked = CheckOf(IDC_IBG_SHOWWRITE) != 0;
    boxes.writeCurvesEnabled = enabled(IDC_IBG_WRITERPM);
    boxes.showVerifyEnabled = enabled(IDC_IBG_SHOWVERIFY);
    boxes.showVerifyTicked = CheckOf(IDC_IBG_SHOWVERIFY) != 0;
    boxes.verifyCurvesEnabled = enabled(IDC_IBG_VERIFYRPM);
    return boxes;
}

void CIBGGraph::ApplyBoxes(const WriteGraphBoxes& boxes)
{
    EnableDlgItem(IDC_IBG_SHOWWRITE, boxes.showWriteEnabled);
    CheckDlgButton(IDC_IBG_SHOWWRITE, boxes.showWriteTicked ? 1 : 0);
    EnableDlgItem(IDC_IBG_SHOWVERIFY, boxes.showVerifyEnabled);
    CheckDlgButton(IDC_IBG_SHOWVERIFY, boxes.showVerifyTicked ? 1 : 0);
    OnShowWrite();
    OnShowVerify();
    for (int id : kWriteCurveBoxes)
        EnableDlgItem(id, boxes.writeCurvesEnabled);
    for (int id : kVerifyCurveBoxes)
        EnableDlgItem(id, boxes.verifyCurvesEnabled);
}

void CIBGGraph::OnLoadGraph()
{
    if (m_strVersion == "2") {
        EnableDlgItem(IDC_IBG_SHOWWRITE, true);
        CheckDlgButton(IDC_IBG_SHOWWRITE, 1);
    }
    m_strFileName.clear();
    OnShowWrite();
    OnShowVerify();
    SetDlgItemText(IDC_IBG_SHIFTPOSITION, Format("%d", m_pSlider->value()));
    LoadGraphFile();
}

void CIBGGraph::OnSaveGraph()
{
    if (!m_File.CanSave()) {
        AppMessageBox("No data exists to save.");
        return;
    }
    const auto choice = ShowSaveFileDialog(this, "Choose a save filename", kFileFilter, kLastFolderEntry, "ibg", 1);
    if (!choice)
        return;
    if (!ConfirmOverwrite(choice->path))
        return;
    std::string message;
    if (!m_File.SaveGraphFile(choice->path, m_pComment1->GetText(), m_pComment2->GetText(), message))
        AppMessageBox(message);
}

void CIBGGraph::OnShowWrite()
{
    const int shown = CheckOf(IDC_IBG_SHOWWRITE);
    m_pGraph->ShowRpmCurve(shown);
    for (int id : kWriteCurveBoxes)
        EnableDlgItem(id, shown != 0);
}

void CIBGGraph::OnShowVerify()
{
    const int shown = CheckOf(IDC_IBG_SHOWVERIFY);
    m_pGraph->ShowSpeedCurve(shown);
    for (int id : kVerifyCurveBoxes)
        EnableDlgItem(id, shown != 0);
}

void CIBGGraph::OnWriteCpu()
{
    m_pGraph->ShowWriteCpu(CheckOf(IDC_IBG_WRITECPU));
}

void CIBGGraph::OnVerifyCpu()
{
    m_pGraph->ShowVerifyCpu(CheckOf(IDC_IBG_VERIFYCPU));
}

void CIBGGraph::OnWriteBuffer()
{
    m_pGraph->ShowWriteBuffer(CheckOf(IDC_IBG_WRITEBUFFER));
}

void CIBGGraph::OnVerifyRpm()
{
    m_pGraph->ShowVerifyRpm(CheckOf(IDC_IBG_VERIFYRPM));
}

void CIBGGraph::OnWriteRpm()
{
    m_pGraph->ShowWriteRpm(CheckOf(IDC_IBG_WRITERPM));
}

void CIBGGraph::OnAveraged()
{
    const int averaged = CheckOf(IDC_IBG_AVERAGED);
    m_pSlider->setEnabled(averaged == 0);
    m_pSliderLabel->setEnabled(averaged == 0);
    EnableDlgItem(IDC_IBG_SHIFTPOSITION, averaged == 0);
    SetDlgItemText(IDC_IBG_AVERAGED, averaged != 0 ? "Averaged......." : "Sampled.........");
    m_pGraph->SetAveraged(averaged);
}

void CIBGGraph::OnHScroll()
{
    if (m_pGraph->HasWriteGraphSamples())
        m_pGraph->SetSampleShift(m_pSlider->value());
    SetDlgItemText(IDC_IBG_SHIFTPOSITION, Format("%d", m_pSlider->value()));
}

void CIBGGraph::OnRunImgBurn()
{
    RunProgram(m_strImgBurnFolder, "ImgBurn");
}

void CIBGGraph::OnRunFlarewick()
{
    RunProgram(m_strFlarewickFolder, "Flarewick");
}

void CIBGGraph::RunProgram(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return;
    const std::string path = ProgramPath(folder, (name + ".exe").c_str());
    if (!ShellOpen(path))
        AppMessageBox(name + " could not be started: nothing on this desktop opens " + path + ".", "Quenzario",
                      MB_OK | MB_ICONEXCLAMATION);
}

void CIBGGraph::OnGetImgBurn()
{
    ShellOpen(kImgBurnDownloadPage);
}

void CIBGGraph::OnGetFlarewick()
{
    if (m_HomePage)
        m_HomePage();
}

void CIBGGraph::OnEditComment1()
{
    EditComment(IDC_IBG_COMMENT1);
}

void CIBGGraph::OnEditComment2()
{
    EditComment(IDC_IBG_COMMENT2);
}

void CIBGGraph::EditComment(int id)
{
    EditMatrixComment(*Item<CMatrixStatic>(id), this);
}

void CIBGGraph::paintEvent(QPaintEvent* event)
{
    CBaseDialog::paintEvent(event);
    QPainter painter(this);
    PaintBanner(painter, *this, font(), kBandHeight);
}
