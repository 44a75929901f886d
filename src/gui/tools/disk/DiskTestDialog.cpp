#include "gui/tools/disk/DiskTestDialog.h"

#include "core/base/AppProfile.h"
#include "core/base/UserPrompt.h"
#include "core/drive/DiskList.h"
#include "core/tools/disk/DiskToolIds.h"
#include "gui/graphs/HddGraphStatic.h"
#include "gui/ui/TextProgressCtrl.h"
#include "gui/ui/WaitBox.h"

#include <QApplication>
#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace disktool;

namespace {

struct FieldRow {
    int labelId;
    int valueId;
    const char* caption;
};

// The fields in their column, top to bottom.
// clang-format off
constexpr FieldRow kFieldRows[] = {
    {1209, IDC_DRIVELETTER, "Drive Letter"},
    {1210, IDC_DRIVEBRAND, "Drive Brand"},
    {1211, IDC_DRIVEMODEL, "Drive Model"},
    {1212, IDC_DRIVETYPE, "Drive Type"},
    {1544, IDC_INTERFACE, "Interface"},
    {1545, IDC_FIRMWARE, "Drive Firmware"},
    {1215, IDC_MAXSIZE, "Drive Max Size"},
    {1222, IDC_FORMATSIZE, "Drive Format Size"},
    {1223, IDC_FREESPACE, "Drive Free Space"},
    {1224, IDC_USEDSPACE, "Drive Used Space"},
    {1225, IDC_TESTINGSECTOR, "Testing Sector"},
    {1226, IDC_SECTORSREMAINING, "Sectors Remaining"},
    {1227, IDC_AMOUNTTESTED, "Amount Tested"},
    {1546, IDC_AMOUNTREMAINING, "Amount Remaining"},
    {1547, IDC_TOTALERRORS, "Total Errors"},
    {1548, IDC_AVERAGESPEED, "Average Speed"},
    {1549, IDC_SIZEPERPLOT, "Size per Plot"},
};
// clang-format on

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
    for (const FieldRow& row : kFieldRows) {
        auto* label = new QLabel(row.caption, this);
        BindControl(row.labelId, label);
        auto* value = new QLineEdit(this);
        value->setReadOnly(true);
        BindControl(row.valueId, value);
    }
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
    SetDlgItemText(IDC_DRIVELETTER, fields.letter);
    SetDlgItemText(IDC_DRIVEBRAND, fields.brand);
    SetDlgItemText(IDC_DRIVEMODEL, fields.model);
    SetDlgItemText(IDC_FIRMWARE, fields.firmware);
    SetDlgItemText(IDC_FORMATSIZE, fields.formatSize);
    SetDlgItemText(IDC_FREESPACE, fields.freeSpace);
    SetDlgItemText(IDC_MAXSIZE, fields.maxSize);
    SetDlgItemText(IDC_USEDSPACE, fields.usedSpace);
    SetDlgItemText(IDC_DRIVETYPE, fields.driveType);
    SetDlgItemText(IDC_INTERFACE, fields.interfaceName);
    SetDlgItemText(IDC_SIZEPERPLOT, fields.sizePerPlot);
    m_Progress->SetRange(0, 100);
    m_Progress->SetPos(0);
}

DiskListHooks CDiskTestDialog::WaitBoxHooks()
{
    DiskListHooks hooks;
    hooks.showWaitBox = [this](const std::string& text) {
        auto* box = new CWaitBox(this);
        box->SetModeless(true);
        box->Create();
        box->SetText(text);
        box->adjustSize();
        box->move(geometry().center() - box->rect().center());
        m_WaitBox.Adopt(box);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    hooks.hideWaitBox = [this] { m_WaitBox.Close(); };
    return hooks;
}

void CDiskTestDialog::LayoutCommon(int comboX)
{
    MoveDlgItem(IDC_CELLMAP, 16, 20, m_CellMap->width(), m_CellMap->height());
    MoveDlgItem(IDC_DRIVECOMBO, comboX, 504, 320, 24);
    int y = kFirstRowY;
    for (const FieldRow& row : kFieldRows) {
        const int rowY = row.valueId == IDC_SIZEPERPLOT ? 374 : y;
        MoveDlgItem(row.labelId, kLabelX, rowY, 100, 18);
        MoveDlgItem(row.valueId, kValueX, rowY, 116, 18);
        y += kRowStep;
    }
    MoveDlgItem(IDC_PROGRESS, kLabelX, 404, 219, 24);
    MoveDlgItem(IDC_STARTTEST, kLabelX, 478, 120, 26);
    MoveDlgItem(IDC_STOPTEST, 656, 478, 89, 26);
    QFont font("Arial");
    font.setPixelSize(14);
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
