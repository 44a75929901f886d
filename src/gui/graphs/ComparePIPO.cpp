#include "gui/graphs/ComparePIPO.h"

#include "core/base/LogFile.h"
#include "core/ui/Translucency.h"
#include "core/base/UserPrompt.h"
#include "core/pipo/ScanWindowSettings.h"
#include "gui/graphs/GraphMergePIPO.h"
#include "gui/ui/WindowSnapshot.h"
#include "gui/ui/ButtonST.h"
#include "gui/ui/Comment.h"
#include "gui/ui/Labels.h"
#include "gui/ui/MatrixStatic.h"
#include "gui/ui/QtConvert.h"
#include "gui/ui/XPStyleButtonST.h"
#include "platform/text/Trim.h"

#include <QButtonGroup>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>

#include <tuple>

namespace {

constexpr int kWindowWidth = 753;
constexpr int kWindowHeight = 540;
constexpr int kStatusColumns = 40;
constexpr int kOverlayX = 28;
constexpr int kUpperY = 16;
constexpr int kLowerY = 181;

// The show buttons with the colours of the series they switch.
struct ShowButton {
    int id;
    const char* caption;
    COLORREF face;
    COLORREF edge;
};
constexpr ShowButton kShowButtons[] = {
    {IDC_CMP_PIGRAPH1, "PI Graph 1", 0xE60000, 0xA50000},   {IDC_CMP_PIFGRAPH1, "PIF Graph 1", 0x00E600, 0x00A500},
    {IDC_CMP_JITTER1, "Jitter 1", 0x0096FF, 0x004B80},      {IDC_CMP_PIGRAPH2, "PI Graph 2", 0x0000E6, 0x0000A5},
    {IDC_CMP_PIFGRAPH2, "PIF Graph 2", 0x00E6E6, 0x00A5A5}, {IDC_CMP_JITTER2, "Jitter 2", 0xE6E600, 0xA5A500},
};

QImage LegendImage(COLORREF face, COLORREF edge)
{
    QImage image(12, 12, QImage::Format_ARGB32);
    image.fill(ToQColor(edge));
    QPainter painter(&image);
    painter.fillRect(2, 2, 8, 8, ToQColor(face));
    return image;
}

}  // namespace

CComparePIPO::CComparePIPO(ScanSlotSource& scans, QWidget* parent) : CBaseDialog(IDD, parent), m_Scans(scans)
{
    CreateControls();
}

CComparePIPO::~CComparePIPO() = default;

void CComparePIPO::CreateControls()
{
    QFont font("Arial");
    font.setPixelSize(11);
    setFont(font);

    m_pUpper = new CGraphMergePIPO(this);
    m_pLower = new CGraphMergePIPOLower(this);
    BindControl(IDC_CMP_UPPERGRAPH, m_pUpper);
    BindControl(IDC_CMP_LOWERGRAPH, m_pLower);
    for (int first : {IDC_CMP_PICAPTION, IDC_CMP_PIFCAPTION, IDC_CMP_JITTERCAPTION})
        for (int i = 0; i < 4; ++i)
            BindControl(first + i, AddLabel(this, QString(), QRect(), Qt::AlignRight));
    for (int id : kCompareSpeedCaptions)
        BindControl(id, AddLabel(this, QString(), QRect()));
    for (int id : kCompareXCaptions)
        BindControl(id, AddLabel(this, QString(), QRect(), Qt::AlignHCenter));

    for (int index = 0; index < 2; ++index) {
        const std::string suffix = index == 0 ? "" : "2";
        const CompareScanFields& fields = kCompareScanFields[static_cast<std::size_t>(index)];
        const CompareScanDisplays& d = kCompareScanDisplays[static_cast<std::size_t>(index)];
        const int top = index == 0 ? 6 : 196;
        AddLabel(this, index == 0 ? "Graph 1" : "Graph 2", QRect(520, top, 228, 16))
            ->setStyleSheet("font-weight: bold");
        const std::pair<int, const char*> texts[] = {{fields.typeBook, "Type/Book"},
                                                     {fields.midCode, "MID Code"},
                                                     {fields.status, "Status"},
                                                     {fields.drive, "Drive"}};
        int y = top + 18;
        for (const auto& [id, caption] : texts) {
            auto* edit = new QLineEdit(this);
            edit->setReadOnly(true);
            if (id == fields.drive) {
                // The drive's name and firmware whole: a wider field at the small font.
                AddLabel(this, caption, QRect(520, y, 34, 17));
                edit->setGeometry(556, y, 192, 17);
                QFont smallField = font;
                smallField.setPixelSize(9);
                edit->setFont(smallField);
            } else {
                AddLabel(this, caption, QRect(520, y, 62, 17));
                edit->setGeometry(584, y, 164, 17);
            }
            BindControl(id, edit);
            y += 18;
        }
        // Figures in two columns: caption id (0 for a plain label), caption, display.
        struct Figure {
            int labelId;
            std::string caption;
            int display;
        };
        const Figure figures[] = {
            {0, "PI Total" + suffix, d.piTotal},
            {d.totalLabel, "PIF Total" + suffix, d.pifTotal},
            {0, "PI Avg" + suffix, d.piAvg},
            {d.avgLabel, "PIF Avg" + suffix, d.pifAvg},
            {0, "PI Peak" + suffix, d.piPeak},
            {d.peakLabel, "PIF Peak" + suffix, d.pifPeak},
            {0, "POF Total" + suffix, d.pofTotal},
            {d.jitterInstLabel, "Jitter Inst" + suffix, d.jitterInst},
            {d.jitterAvgLabel, "Jitter Avg" + suffix, d.jitterAvg},
            {d.jitterPeakLabel, "Jitter Peak" + suffix, d.jitterPeak},
        };
        for (std::size_t i = 0; i < std::size(figures); ++i) {
            const int x = i % 2 == 0 ? 520 : 636;
            const int row = y + 18 * static_cast<int>(i / 2);
            QLabel* label = AddLabel(this, QString::fromStdString(figures[i].caption), QRect(x, row, 62, 17));
            if (figures[i].labelId != 0)
                BindControl(figures[i].labelId, label);
            auto* edit = new QLineEdit(this);
            edit->setReadOnly(true);
            edit->setGeometry(x + 64, row, 48, 17);
            BindControl(figures[i].display, edit);
        }
    }

    for (std::size_t i = 0; i < std::size(kShowButtons); ++i) {
        const ShowButton& show = kShowButtons[i];
        auto* button = new CButtonST(show.caption, this);
        button->setCheckable(true);
        button->setChecked(true);
        button->SetIcons(LegendImage(show.face, show.edge));
        button->setGeometry(kOverlayX + 104 * static_cast<int>(i % 3), 370 + 26 * static_cast<int>(i / 3), 100, 22);
        BindControl(show.id, button);
    }
    const std::pair<int, const char*> radios[] = {{IDC_CMP_UPPERLINE, "Line"},
                                                  {IDC_CMP_UPPERBLOCK, "Block"},
                                                  {IDC_CMP_LOWERLINE, "Line"},
                                                  {IDC_CMP_LOWERBLOCK, "Block"}};
    QButtonGroup* groups[] = {new QButtonGroup(this), new QButtonGroup(this)};
    for (std::size_t i = 0; i < std::size(radios); ++i) {
        auto* radio = new QRadioButton(radios[i].second, this);
        radio->setGeometry(376 + 60 * static_cast<int>(i % 2), 370 + 26 * static_cast<int>(i / 2), 58, 22);
        groups[i / 2]->addButton(radio);
        BindControl(radios[i].first, radio);
    }
    AddLabel(this, "PI", QRect(346, 370, 28, 22));
    AddLabel(this, "PIF", QRect(346, 396, 28, 22));

    auto* snapshot = new CButtonST("Snap", this);
    snapshot->SetTooltipText("Saves current view as a graphic file");
    snapshot->setGeometry(kOverlayX, 428, 40, 24);
    BindControl(IDC_CMP_SNAPSHOT, snapshot);
    auto* clipboard = new CButtonST("Copy", this);
    clipboard->SetTooltipText("Copies current display to clipboard");
    clipboard->setGeometry(kOverlayX + 44, 428, 40, 24);
    BindControl(IDC_CMP_CLIPBOARD, clipboard);
    BindControl(IDC_CMP_RATING1, AddLabel(this, "Quality", QRect(130, 430, 170, 20)));
    BindControl(IDC_CMP_RATING2, AddLabel(this, "Quality", QRect(310, 430, 170, 20)));

    QFont small = font;
    small.setPixelSize(9);
    for (auto [id, caption, y] :
         {std::tuple{IDC_CMP_DRIVELABEL1, "Burn Drive 1", 471}, std::tuple{IDC_CMP_DRIVELABEL2, "Burn Drive 2", 496}}) {
        QLabel* label = AddLabel(this, caption, QRect(1, y, 40, 22));
        label->setFont(small);
        label->setWordWrap(true);
        BindControl(id, label);
    }
    m_pStatus1 = new CMatrixStatic(this);
    m_pStatus2 = new CMatrixStatic(this);
    BindControl(IDC_CMP_STATUS1, m_pStatus1);
    BindControl(IDC_CMP_STATUS2, m_pStatus2);
    auto* close = new CXPStyleButtonST("Close", this);
    close->setGeometry(660, 500, 80, 26);
    BindControl(IDC_CMP_CLOSE, close);

    MapCommand(IDC_CMP_PIGRAPH1, [this] { ToggleShow(IDC_CMP_PIGRAPH1, m_pUpper->m_bShowScan1, true); });
    MapCommand(IDC_CMP_PIGRAPH2, [this] { ToggleShow(IDC_CMP_PIGRAPH2, m_pUpper->m_bShowScan2, true); });
    MapCommand(IDC_CMP_PIFGRAPH1, [this] { ToggleShow(IDC_CMP_PIFGRAPH1, m_pLower->m_bShowPIF1, false); });
    MapCommand(IDC_CMP_PIFGRAPH2, [this] { ToggleShow(IDC_CMP_PIFGRAPH2, m_pLower->m_bShowPIF2, false); });
    MapCommand(IDC_CMP_JITTER1, [this] { ToggleShow(IDC_CMP_JITTER1, m_pLower->m_bShowJitter1, false); });
    MapCommand(IDC_CMP_JITTER2, [this] { ToggleShow(IDC_CMP_JITTER2, m_pLower->m_bShowJitter2, false); });
    for (int id : {IDC_CMP_UPPERLINE, IDC_CMP_UPPERBLOCK})
        MapCommand(id, [this] { OnRadio(true); });
    for (int id : {IDC_CMP_LOWERLINE, IDC_CMP_LOWERBLOCK})
        MapCommand(id, [this] { OnRadio(false); });
    MapCommand(IDC_CMP_SNAPSHOT, [this] { SaveWindowSnapshot(*this); });
    MapCommand(IDC_CMP_CLIPBOARD, [this] { CopyWindowToClipboard(*this); });
    MapCommand(IDC_CMP_CLOSE, [this] { OnClose(); });
    MapNotify(IDC_CMP_STATUS1, Notify::DoubleClick, [this] { EditStatus(IDC_CMP_STATUS1); });
    MapNotify(IDC_CMP_STATUS2, Notify::DoubleClick, [this] { EditStatus(IDC_CMP_STATUS2); });
}

bool CComparePIPO::OnInitDialog()
{
    CBaseDialog::OnInitDialog();
    LogEntry("Started Compare() function");
    setWindowTitle("Quenzario PIPO Compare");
    LayoutControls();
    ApplyColours();

    m_nUpperRadio = m_nLowerRadio = 0;
    CheckDlgButton(IDC_CMP_UPPERLINE, 1);
    CheckDlgButton(IDC_CMP_LOWERLINE, 1);
    for (const ShowButton& show : kShowButtons)
        CheckDlgButton(show.id, 1);
    const LedColorScheme leds = m_Scans.LedColors();
    for (CMatrixStatic* display : {m_pStatus1, m_pStatus2})
        SetUpOneLineDisplay(*display, kStatusColumns, leds);
    m_pStatus2->SetText("Ready");
    m_pStatus1->SetText(std::string(kStatusColumns, ' '));

    m_Slots = {m_Scans.Slot(0), m_Scans.Slot(1)};
    ShowScans();
    for (int id : kCompareSpeedCaptions)
        SetDlgItemText(id, "");
    if (!ScansCompatible(m_Slots[0], m_Slots[1])) {
        AppMessageBox(kIncompatibleScans);
        EndDialog(0);
        return true;
    }
    const auto xCaptions = CompareXAxisCaptions(m_Slots[0]);
    for (std::size_t i = 0; i < kCompareXCaptions.size(); ++i)
        SetDlgItemText(kCompareXCaptions[i], xCaptions[i]);
    // Only the opacity: shown before its modal run, a dialog would not be modal.
    if (const auto alpha = ReadTranslucencyAlpha())
        setWindowOpacity(*alpha / 255.0);
    return true;
}

void CComparePIPO::LayoutControls()
{
    setFixedSize(kWindowWidth, kWindowHeight);
    m_pUpper->move(kOverlayX, kUpperY);
    m_pLower->move(kOverlayX, kLowerY);
    m_pUpper->SetGraphSize(450, 161);
    m_pLower->SetGraphSize(450, 161);
    // Captions at 0.8, 0.6, 0.4 and 0.2 of the 160-pixel scale.
    for (int i = 0; i < 4; ++i) {
        const int offset = 32 * (i + 1) - 7;
        MoveDlgItem(IDC_CMP_PICAPTION + i, 0, kUpperY + offset, kOverlayX - 2, 14);
        MoveDlgItem(IDC_CMP_PIFCAPTION + i, 0, kLowerY + offset, kOverlayX - 2, 14);
        MoveDlgItem(IDC_CMP_JITTERCAPTION + i, kOverlayX + 457, kLowerY + offset, 34, 14);
        MoveDlgItem(kCompareSpeedCaptions[static_cast<std::size_t>(i)], kOverlayX + 457, kUpperY + offset, 34, 14);
        MoveDlgItem(kCompareXCaptions[static_cast<std::size_t>(i)], kOverlayX + 96 * (i + 1) - 24, kLowerY + 168, 48,
                    14);
    }
    m_pStatus1->move(45, 473);
    m_pStatus2->move(45, 498);
}

void CComparePIPO::ApplyColours()
{
    const ScanGraphColours colours = ReadScanGraphColours();
    m_pUpper->SetSpeedColor(colours.speed);
    m_pUpper->SetPIColor(colours.pi);
    m_pLower->SetPOColor(colours.pif);
    m_pLower->SetPIFJitterColors(colours.pif, colours.jitter);
    m_pUpper->SetGridColors(colours.grid, colours.halfGrid, colours.background);
    m_pLower->SetGridColors(colours.grid, colours.halfGrid, colours.background);
    for (PiPoOverlayBase* overlay :
         {static_cast<PiPoOverlayBase*>(m_pUpper), static_cast<PiPoOverlayBase*>(m_pLower)}) {
        overlay->SetCapacityMarkerColor(colours.marker);
        overlay->SetLayerBreakMarkerColor(colours.marker);
    }
}

void CComparePIPO::ShowScans()
{
    const CompareScales scales = CommonScales(m_Slots[0], m_Slots[1]);
    FillUpperOverlay(*m_pUpper, m_Slots[0], m_Slots[1], m_nUpperRadio, scales);
    FillLowerOverlay(*m_pLower, m_Slots[0], m_Slots[1], m_nLowerRadio, scales);
    SetCaptions(IDC_CMP_PICAPTION, ComparePICaptions(scales.pi));
    SetCaptions(IDC_CMP_PIFCAPTION, ComparePIFCaptions(scales.pif));
    SetCaptions(IDC_CMP_JITTERCAPTION, CompareJitterCaptions(scales.jitter));
    ShowScan(0, m_Slots[0]);
    ShowScan(1, m_Slots[1]);
    m_pUpper->Redraw();
    m_pLower->Redraw();
}

void CComparePIPO::ShowScan(int index, const ScanSlotView& scan)
{
    const auto slot = static_cast<std::size_t>(index);
    const CompareScanFields& fields = kCompareScanFields[slot];
    const CompareScanDisplays& d = kCompareScanDisplays[slot];
    SetDlgItemText(fields.typeBook, scan.mediaType + "/" + scan.bookType);
    SetDlgItemText(fields.midCode, scan.midCode);
    SetDlgItemText(fields.status, WithoutTrailingBlanks(scan.status));
    SetDlgItemText(fields.drive, WithoutTrailingBlanks(scan.driveDisplay));
    (index == 0 ? m_pStatus1 : m_pStatus2)->SetText(scan.driveDisplay);

    const ScanDisplayTexts& t = scan.displays;
    const std::pair<int, const std::string*> figures[] = {
        {d.piTotal, &t.piTotal},       {d.piAvg, &t.piAvg},           {d.piPeak, &t.piPeak},
        {d.pifTotal, &t.pifTotal},     {d.pifAvg, &t.pifAvg},         {d.pifPeak, &t.pifPeak},
        {d.pofTotal, &t.pofTotal},     {d.jitterInst, &t.jitterInst}, {d.jitterAvg, &t.jitterAvg},
        {d.jitterPeak, &t.jitterPeak},
    };
    for (const auto& [id, text] : figures)
        SetDlgItemText(id, *text);

    const CompareScanCaptions captions = CompareCaptionsForScan(index, scan.poMode, MeasuredJitter(scan));
    SetDlgItemText(d.totalLabel, captions.total);
    SetDlgItemText(d.peakLabel, captions.peak);
    SetDlgItemText(d.avgLabel, captions.average);
    SetDlgItemText(d.jitterInstLabel, captions.jitterInst);
    SetDlgItemText(d.jitterPeakLabel, captions.jitterPeak);
    SetDlgItemText(index == 0 ? IDC_CMP_PIFGRAPH1 : IDC_CMP_PIFGRAPH2, captions.graphButton);
    for (int id : {d.jitterAvg, d.jitterInst, d.jitterPeak, d.jitterAvgLabel, d.jitterInstLabel, d.jitterPeakLabel})
        EnableDlgItem(id, captions.jitterEnabled);
    if (!captions.jitterEnabled)
        for (int id : {d.jitterAvg, d.jitterInst, d.jitterPeak})
            SetDlgItemText(id, "--");

    SetDlgItemText(index == 0 ? IDC_CMP_RATING1 : IDC_CMP_RATING2, RateComparedScan(scan).caption);
}

void CComparePIPO::SetCaptions(int firstId, const std::array<std::string, 4>& captions)
{
    for (int i = 0; i < 4; ++i)
        SetDlgItemText(firstId + i, captions[static_cast<std::size_t>(i)]);
}

void CComparePIPO::DoDataExchange(CDataExchange& dx)
{
    if (dx.m_bSaveAndValidate) {
        m_nUpperRadio = IsDlgButtonChecked(IDC_CMP_UPPERBLOCK) != 0 ? 1 : 0;
        m_nLowerRadio = IsDlgButtonChecked(IDC_CMP_LOWERBLOCK) != 0 ? 1 : 0;
    } else {
        CheckDlgButton(m_nUpperRadio == 0 ? IDC_CMP_UPPERLINE : IDC_CMP_UPPERBLOCK, 1);
        CheckDlgButton(m_nLowerRadio == 0 ? IDC_CMP_LOWERLINE : IDC_CMP_LOWERBLOCK, 1);
    }
}

void CComparePIPO::ToggleShow(int id, int& flag, bool upper)
{
    flag = IsDlgButtonChecked(id);
    if (upper)
        m_pUpper->Redraw();
    else
        m_pLower->Redraw();
}

void CComparePIPO::OnRadio(bool upper)
{
    UpdateData(true);
    if (upper) {
        m_pUpper->m_nLineMode = m_pUpper->m_nLineMode2 = m_nUpperRadio == 0 ? 1 : 0;
        m_pUpper->Redraw();
    } else {
        m_pLower->m_nLineMode = m_pLower->m_nLineMode2 = m_nLowerRadio == 0 ? 1 : 0;
        m_pLower->Redraw();
    }
}

void CComparePIPO::EditStatus(int id)
{
    EditMatrixComment(*Item<CMatrixStatic>(id), this);
}

void CComparePIPO::OnClose()
{
    LogEntry("Ending Compare() function");
    CBaseDialog::OnClose();
}

void CComparePIPO::changeEvent(QEvent* event)
{
    CBaseDialog::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    // The scan window goes down and comes back with this one.
    if (isMinimized())
        m_Scans.MinimizeScanWindow();
    else
        m_Scans.RestoreScanWindow();
}
