#include "gui/tools/sectoredit/HddSectorReadWrite.h"

#include "core/tools/disk/DiskToolIds.h"
#include "gui/app/FileDialogs.h"
#include "gui/tools/disk/DiskFieldControls.h"
#include "gui/ui/MessageClassDlg.h"
#include "gui/ui/MyEdit.h"
#include "gui/ui/ShellOpen.h"

#include <QComboBox>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBlock>

#include <utility>

using namespace disktool;

namespace {

constexpr int kEditBufferGroup = 1640;
constexpr int kReadWriteGroup = 1641;
constexpr int kRadixGroup = 1642;
constexpr int kOffsetLabel = 1643;
constexpr int kValueLabel = 1644;
constexpr int kStartLabel = 1645;
constexpr int kCountLabel = 1646;

}  // namespace

CHddSectorReadWrite::CHddSectorReadWrite(DiskToolHost host, QWidget* parent) :
    CBaseDialog(IDD, parent),
    m_edHexGrid(new CMyEdit(this)),
    m_cbDrives(new QComboBox(this)),
    m_Editor(std::move(host), *this)
{
    setWindowTitle("Quenzario - Read / Write / Load / Save Hard Disk Sectors or Files");
    BindControl(IDC_HEXGRID, m_edHexGrid);
    m_edHexGrid->setReadOnly(true);
    m_edHexGrid->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont courier("Courier", 9);
    courier.setStyleHint(QFont::TypeWriter);
    m_edHexGrid->setFont(courier);
    BindControl(IDC_DRIVECOMBO, m_cbDrives);
    AddFieldControls(*this, DiskFieldRows().first(kDriveFieldRows));
    for (const auto& [id, title] : {std::pair{kEditBufferGroup, "Edit Buffer"},
                                    {kReadWriteGroup, "Read / Write / Load / Save Sectors or Files"},
                                    {kRadixGroup, "Edit Box Values Option"}}) {
        auto* group = new QGroupBox(title, this);
        BindControl(id, group);
        group->lower();  // behind the controls it frames, which keep their clicks
    }
    BindControl(kOffsetLabel, new QLabel("Buffer Offset", this));
    BindControl(kValueLabel, new QLabel("Value", this));
    BindControl(kStartLabel, new QLabel("Start Sector LBA", this));
    BindControl(kCountLabel, new QLabel("No of Sectors", this));
    for (int edit : {IDC_STARTSECTOR, IDC_BUFFEROFFSET, IDC_VALUE, IDC_SECTORCOUNT}) {
        auto* line = new QLineEdit(this);
        BindControl(edit, line);
        MapNotify(edit, Notify::EditChange, [this, edit] {
            if (!m_bShowingFields)
                m_Editor.OnEditChange(edit, GetDlgItemText(edit));
        });
    }
    connect(Item<QLineEdit>(IDC_STARTSECTOR), &QLineEdit::textEdited, this, [this] { m_Editor.OnStartSectorTyped(); });
    BindControl(IDC_HEXADECIMAL, new QRadioButton("Hexadecimal", this));
    BindControl(IDC_DECIMAL, new QRadioButton("Decimal", this));
    const struct {
        int id;
        const char* text;
        void (SectorEditor::*command)();
    } buttons[] = {
        {IDC_READ, "&Read", &SectorEditor::OnRead}, {IDC_WRITE, "&Write", &SectorEditor::OnWrite},
        {IDC_LOAD, "&Load", &SectorEditor::OnLoad}, {IDC_SAVE, "&Save", &SectorEditor::OnSave},
        {IDC_GET, "&Get", &SectorEditor::OnGet},    {IDC_SET, "&Set", &SectorEditor::OnSet},
    };
    for (const auto& button : buttons) {
        BindControl(button.id, new QPushButton(button.text, this));
        MapCommand(button.id, [this, command = button.command] { (m_Editor.*command)(); });
    }
    BindControl(IDC_HELP, new QPushButton("&Help", this));
    MapCommand(IDC_HELP, [this] { OnHelp(); });
    MapCommand(IDC_HEXADECIMAL, [this] { m_Editor.OnHexadecimal(); });
    MapCommand(IDC_DECIMAL, [this] { m_Editor.OnDecimal(); });
    MapNotify(IDC_DRIVECOMBO, Notify::SelChange, [this] { OnSelchangeDrive(); });
    setFixedSize(kWidth, kHeight);
}

CHddSectorReadWrite::~CHddSectorReadWrite() = default;

bool CHddSectorReadWrite::OnInitDialog()
{
    m_bShowingFields = true;
    CBaseDialog::OnInitDialog();
    m_bShowingFields = false;
    LayoutControls();
    m_cbDrives->clear();
    for (const std::string& item : m_Editor.DriveComboItems())
        m_cbDrives->addItem(QString::fromStdString(item));
    m_cbDrives->setCurrentIndex(0);
    OnSelchangeDrive();
    return true;
}

void CHddSectorReadWrite::DoDataExchange(CDataExchange& dx)
{
    SectorFields& fields = m_Editor.fields;
    DDX_Text(dx, IDC_STARTSECTOR, fields.startSector);
    DDX_Text(dx, IDC_BUFFEROFFSET, fields.offset);
    DDX_Text(dx, IDC_VALUE, fields.value);
    DDX_Text(dx, IDC_SECTORCOUNT, fields.count);
    DDX_Radio(dx, IDC_HEXADECIMAL, m_Editor.m_nRadix);
}

void CHddSectorReadWrite::OnSelchangeDrive()
{
    int shown = 0;
    const DiskDriveFields fields = m_Editor.OnSelchangeDrive(m_cbDrives->currentIndex(), shown);
    if (m_cbDrives->count() > 0 && shown != m_cbDrives->currentIndex())
        m_cbDrives->setCurrentIndex(shown);
    ShowDiskDriveFields(*this, fields);
}

LRESULT CHddSectorReadWrite::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_OUTPUTEDITNOTIFY)  // the place is read whole from the grid, not from 16 bits
        PickAtTextPosition(m_edHexGrid->textCursor().selectionStart());
    return CBaseDialog::WindowProc(message, wParam, lParam);
}

void CHddSectorReadWrite::PickAtTextPosition(int position)
{
    const QTextBlock line = m_edHexGrid->document()->findBlock(position);
    if (line.isValid())
        m_Editor.PickAt(line.blockNumber(), position - line.position());
}

void CHddSectorReadWrite::ShowFields()
{
    m_bShowingFields = true;
    UpdateData(false);
    m_bShowingFields = false;
}

void CHddSectorReadWrite::ShowGrid(const std::string& text)
{
    m_edHexGrid->setPlainText(QString::fromStdString(text));
}

std::optional<std::string> CHddSectorReadWrite::ChooseFileToLoad()
{
    return ShowOpenFileDialog(this, "Choose a file to load", "Binary Files (*.bin)", "Last Bin Load Directory", "bin");
}

std::optional<std::string> CHddSectorReadWrite::ChooseFileToSave()
{
    const auto choice = ShowSaveFileDialog(this, "Choose a FileName to save as", "Binary Files (*.bin)",
                                           "Last Bin Save Directory", "bin", 1);
    if (!choice || !ConfirmReplace(choice->path))
        return std::nullopt;
    return choice->path;
}

bool CHddSectorReadWrite::AskOriginalSize()
{
    CMessageClassDlg question(this);
    question.SetTitle("Which size do you want?");
    question.SetMessageText("Do you want to save the files original size, or the extended sector 512 boundary size?");
    question.SetOkOnly(false);
    question.SetYesText("Orginal");
    question.SetNoText("Extended");
    question.SetShowCheckBox(false);
    return question.DoModal() == 1;
}

void CHddSectorReadWrite::PutCaretAtEnd(int controlId)
{
    if (auto* edit = Item<QLineEdit>(controlId))
        edit->end(false);
}

void CHddSectorReadWrite::OnHelp()
{
    OpenHelpPage("Read-WriteHDDSectors.html");
}

void CHddSectorReadWrite::OnClose()
{
    m_cbDrives->clear();
    EndDialog(0);
}

void CHddSectorReadWrite::LayoutControls()
{
    MoveDlgItem(IDC_HEXGRID, 16, 20, 677, 370);
    MoveDlgItem(IDC_DRIVECOMBO, 66, 578, 360, 24);
    for (std::size_t i = 0; i < kDriveFieldRows; ++i) {
        const DiskFieldRow& row = DiskFieldRows()[i];
        const int column = static_cast<int>(i / 5);
        const int y = 414 + static_cast<int>(i % 5) * 20;
        MoveDlgItem(row.labelId, column == 0 ? 16 : 249, y, 100, 18);
        MoveDlgItem(row.valueId, column == 0 ? 116 : 349, y, column == 0 ? 128 : 86, 18);
    }
    MoveDlgItem(kEditBufferGroup, 439, 390, 265, 68);
    MoveDlgItem(kReadWriteGroup, 439, 462, 265, 100);
    MoveDlgItem(kRadixGroup, 439, 567, 265, 44);
    MoveDlgItem(kOffsetLabel, 453, 409, 120, 20);
    MoveDlgItem(IDC_BUFFEROFFSET, 578, 406, 110, 22);
    MoveDlgItem(kValueLabel, 453, 432, 90, 20);
    MoveDlgItem(IDC_VALUE, 545, 432, 38, 22);
    MoveDlgItem(IDC_GET, 587, 432, 48, 22);
    MoveDlgItem(IDC_SET, 638, 432, 48, 22);
    MoveDlgItem(kStartLabel, 453, 484, 124, 20);
    MoveDlgItem(IDC_STARTSECTOR, 579, 479, 110, 22);
    MoveDlgItem(kCountLabel, 453, 506, 124, 20);
    MoveDlgItem(IDC_SECTORCOUNT, 579, 501, 110, 22);
    MoveDlgItem(IDC_READ, 453, 532, 46, 24);
    MoveDlgItem(IDC_WRITE, 501, 532, 45, 24);
    MoveDlgItem(IDC_LOAD, 548, 532, 43, 24);
    MoveDlgItem(IDC_SAVE, 593, 532, 45, 24);
    MoveDlgItem(IDC_HELP, 640, 532, 50, 24);
    MoveDlgItem(IDC_HEXADECIMAL, 501, 584, 90, 22);
    MoveDlgItem(IDC_DECIMAL, 593, 584, 90, 22);
    QFont font("Arial");
    font.setPixelSize(12);  // a 14-pixel cell, as the layout was made for
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (child != m_edHexGrid)
            child->setFont(font);
}
