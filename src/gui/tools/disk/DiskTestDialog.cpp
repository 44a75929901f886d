#include "gui/tools/disk/DiskTestDialog.h"

#include "core/base/AppProfile.h"
#include "core/base/UserPrompt.h"
#include "core/tools/disk/DiskToolIds.h"
#include "gui/graphs/HddGraphStatic.h"
#include "gui/tools/disk/DiskFieldControls.h"
#include "gui/ui/TextProgressCtrl.h"

#include <QComboBox>
#include <QFont>
#include <QPushButton>

#include <utility>

using namespace disktool;

namespace {

constexpr int kLabelX = 526;
constexpr int kValueX = 629;
constexpr int kFirstRowY = 54;
constexpr int kRowStep = 20;

}  // namespace

CDiskTestDialog::CDiskTestDialog(int templateId, const char* title, QWidget* parent) :
    CBaseDialog(templateId, parent),
    m_CellMap(new CHddGraphStatic(this)),
    m_Progress(new CTextProgressCtrl(this)),
    m_cbDrives(new QComboBox(this)),
    m_sink(this, *this)
{
    setWindowTitle(title);
    BindControl(IDC_CELLMAP, m_CellMap);
    BindControl(IDC_DRIVECOMBO, m_cbDrives);
    BindControl(IDC_PROGRESS, m_Progress);
    AddFieldControls(*this, DiskFieldRows());
    auto* start = new QPushButton("Start Test", this);
    auto* stop = new QPushButton("Stop Test", this);
    BindControl(IDC_STARTTEST, start);
    BindControl(IDC_STOPTEST, stop);
    stop->setEnabled(false);
    MapNotify(IDC_DRIVECOMBO, Notify::SelChange, [this] { OnSelchangeDrive(); });
    MapCommand(IDC_STARTTEST, [this] { OnStartTest(); });
    MapCommand(IDC_STOPTEST, [this] { OnStopTest(); });
    setFixedSize(kWidth, kHeight);
}

CDiskTestDialog::~CDiskTestDialog() = default;

void CDiskTestDialog::InitCommon(const std::vector<std::string>& comboItems)
{
    m_CellMap->Reset();
    m_CellMap->SetGraphSize(501, 480);
    SetGraphColours();
    m_Progress->SetRange(0, 100);
    m_cbDrives->clear();
    for (const std::string& item : comboItems)
        m_cbDrives->addItem(QString::fromStdString(item));
    m_cbDrives->setCurrentIndex(0);
    OnSelchangeDrive();
}

void CDiskTestDialog::SetGraphColours()
{
    const auto foreground = static_cast<COLORREF>(GetAppProfileInt("GraphFGColorPick1", 0x6D6D6D));
    const auto background = static_cast<COLORREF>(GetAppProfileInt("GraphBGColorPick1", 0));
    m_CellMap->SetColours(foreground, HalfIntensity(foreground), background);
}

void CDiskTestDialog::ShowDriveFields(const DiskDriveFields& fields)
{
    ShowDiskDriveFields(*this, fields);
    m_Progress->SetRange(0, 100);
    m_Progress->SetPos(0);
}

void CDiskTestDialog::ShowProbing(bool probing)
{
    EnableDlgItem(IDC_STARTTEST, !probing);
    if (probing && !m_textBeforeProbe)
        m_textBeforeProbe = m_Progress->GetWindowText();
    if (probing)
        m_Progress->SetWindowText("Testing buffer sizes...");
    else if (m_textBeforeProbe)
        m_Progress->SetWindowText(*std::exchange(m_textBeforeProbe, std::nullopt));
}

void CDiskTestDialog::ShowChoice(int shownIndex, bool probing)
{
    if (m_cbDrives->count() > 0 && shownIndex != m_cbDrives->currentIndex())
        m_cbDrives->setCurrentIndex(shownIndex);
    if (probing)
        ShowProbing(true);
}

void CDiskTestDialog::LayoutCommon(int comboX)
{
    MoveDlgItem(IDC_CELLMAP, 16, 20, m_CellMap->width(), m_CellMap->height());
    MoveDlgItem(IDC_DRIVECOMBO, comboX, 504, 320, 24);
    int y = kFirstRowY;
    for (const DiskFieldRow& row : DiskFieldRows()) {
        const int rowY = row.valueId == IDC_SIZEPERPLOT ? 374 : y;
        MoveDlgItem(row.labelId, kLabelX, rowY, kValueX - kLabelX - 1, 18);
        MoveDlgItem(row.valueId, kValueX, rowY, 116, 18);
        y += kRowStep;
    }
    MoveDlgItem(IDC_PROGRESS, kLabelX, 404, 219, 24);
    MoveDlgItem(IDC_STARTTEST, kLabelX, 478, 120, 26);
    MoveDlgItem(IDC_STOPTEST, 656, 478, 89, 26);
    QFont font("Arial");
    font.setPixelSize(12);  // a 14-pixel cell, as the layout was made for
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (child != m_CellMap)
            child->setFont(font);
    update();
}

void CDiskTestDialog::OnClose()
{
    StopAndJoin();
    m_cbDrives->clear();
    EndDialog(0);
}

void CDiskTestDialog::SetFieldText(int controlId, const std::string& text)
{
    SetDlgItemText(controlId, text);
}

void CDiskTestDialog::SetProgress(int position, const std::string& text)
{
    m_Progress->SetPos(position);
    m_Progress->SetWindowText(text);
}

void CDiskTestDialog::EnableControl(int controlId, bool enabled)
{
    EnableDlgItem(controlId, enabled);
}

void CDiskTestDialog::ShowMessage(const std::string& text, const std::string& caption, unsigned type)
{
    AppMessageBox(text, caption, type);
}

void CDiskTestDialog::OnTestEnded()
{
    EnableDlgItem(IDC_STOPTEST, false);
    EnableDlgItem(IDC_STARTTEST, true);
    EnableChoices(true);
}
