#include "core/base/AppProfile.h"
#include "core/base/LogFile.h"
#include "core/app/MainLayout.h"
#include "core/app/MainPages.h"
#include "core/app/MainWindowRules.h"
#include "core/info/DriveInfoPage.h"
#include "gui/app/QuenzaDlg.h"
#include "gui/ui/FittingText.h"
#include "gui/ui/ButtonST.h"
#include "gui/ui/Labels.h"
#include "gui/ui/MatrixStatic.h"
#include "gui/ui/MyEdit.h"
#include "gui/ui/QtConvert.h"
#include "gui/ui/TextProgressCtrl.h"
#include "gui/ui/XPStyleButtonST.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QStyleOption>

#include <array>

namespace {

// The command buttons' row in the banner.
constexpr int kToolbarY = 34;
constexpr int kToolbarButton = 32;

struct CommandButton {
    int id;
    int x;
    const char* caption;
    const char* tooltip;
};

// The row of command buttons, left to right.
constexpr std::array kCommandButtons = {
    CommandButton{IDC_SETTINGS, 13, "Setup", "Program preference settings"},
    CommandButton{IDC_MEDIAINFO, 53, "Media", "Shows information on loaded media"},
    CommandButton{IDC_DRIVEINFO, 93, "Drive", "Shows current drive hardware information"},
    CommandButton{IDC_SYSINFO, 133, "Sys", "Provides basic system information"},
    CommandButton{IDC_COMPARE, 173, "ISO", "Compare ISO/Folders/DVD-VIDEO to another or Create an ISO File"},
    CommandButton{IDC_SPEEDTEST, 213, "Speed", "Speed test your CD/DVD/BD drive && media"},
    CommandButton{IDC_ERRORTEST, 253, "Errors", "Test your media for CRC read errors"},
    CommandButton{IDC_HDDTEST, 293, "HDD", "Test your hard disks for CRC read errors"},
    CommandButton{IDC_GRAPHVIEWER, 333, "Graph", "Shows a Write Speed Graph from Burning Software data file"},
    CommandButton{IDC_PIPO, 373, "PI/PO", "PI, PO and Jitter media tests"},
    CommandButton{IDC_BOOKTYPE, 413, "Book", "Set Book Type on DVD+RW or DVD+R on compatible drives only"},
    CommandButton{IDC_EJECT, 453, "Eject", "Ejects or Closes the current drive's door"},
    CommandButton{IDC_ERASE, 493, "Erase", "Erases/Formats a DVD\u00B1RW, DVD-RAM, CD-RW or Blu-ray BD-RE disc"},
    CommandButton{IDC_COPY, 533, "Copy", "Copies current display to clipboard"},
    CommandButton{IDC_SNAPSHOT, 573, "Snap", "Saves current view as a graphic file"},
    CommandButton{IDC_SAVERAW, 605, "Bin", "Saves Hexadecimal display as a binary file"},
    CommandButton{IDC_ABOUT, 636, "About", "Shows program information"},
    CommandButton{IDC_HELP, 668, "Help", "Get assistance"},
};

// Tooltips are plain text: the doubled ampersand of a menu text is one.
QString TooltipText(const std::string& text)
{
    return QString::fromStdString(text).replace("&&", "&");
}

// The capability boxes: three columns of 13-pixel rows under their titles.
constexpr int kBoxWidth = 145;
constexpr int kBoxHeight = 13;
constexpr int kFirstColumn = 29;
constexpr int kSecondColumn = 184;
constexpr int kGeneralColumn = 340;
constexpr int kReadTitleY = 72;
constexpr int kWriteTitleY = 274;
constexpr int kTitleHeight = 16;
constexpr int kReadRowsPerColumn = 14;  // 27 read boxes
constexpr int kWriteRowsPerColumn = 13;  // 25 write boxes and HD-BURN RW
// The text fields: labels right-aligned before the values, one row every 20 pixels.
constexpr int kLabelX = 462;
constexpr int kLabelWidth = 150;
constexpr int kFieldX = 615;
constexpr int kFieldWidth = 116;
constexpr int kMediaLabelWidth = 88;
constexpr int kFieldHeight = 18;
constexpr int kFirstFieldY = 109;
constexpr int kFieldPitch = 20;

// A capability box: its LED (the look's, in its group's colour), then its
// caption from the left.
class CapabilityIndicator : public CButtonST {
public:
    CapabilityIndicator(const QString& caption, QWidget* parent) : CButtonST(caption, parent) {}

protected:
    void PaintCaption(QPainter& painter, const QRect& caption, const ButtonDrawState&) override
    {
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        painter.drawText(caption.adjusted(3, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text());
    }
};

}  // namespace

void CQuenzaDlg::CreateControls()
{
    m_Font = QFont("Arial");
    m_Font.setPixelSize(14);
    m_IndicatorFont = QFont("Arial");
    m_IndicatorFont.setPixelSize(11);

    // The name in the band is painted by the window; the button over it only takes the click.
    auto* web = new CButtonST(this);
    web->SetFlatStyle(true);
    web->SetDrawBorder(false);
    web->EnableTransparentDraw();
    web->setCursor(Qt::PointingHandCursor);
    BindControl(IDC_HOMEPAGE, web);
    // The command buttons show their skin's images; the caption is their name.
    for (const CommandButton& command : kCommandButtons) {
        auto* button = new CButtonST(this);
        button->setAccessibleName(command.caption);
        button->SetFlatStyle(true);
        BindControl(command.id, button);
    }

    m_edOutput = new CMyEdit(this);
    m_edOutput->setReadOnly(true);
    m_edOutput->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont courier("Courier");
    courier.setStyleHint(QFont::Monospace);
    courier.setPointSize(9);
    m_edOutput->setFont(courier);
    BindControl(IDC_OUTPUT, m_edOutput);

    m_cbDevices = new QComboBox(this);
    BindControl(IDC_DEVICES, m_cbDevices);
    m_cbTools = new QComboBox(this);
    for (const ToolsItemRow& item : ToolsItems())
        m_cbTools->addItem(item.text);
    BindControl(IDC_TOOLS, m_cbTools);
    BindControl(IDC_REFRESH, new CButtonST("Refresh", this));

    m_MatrixStatus = new CMatrixStatic(this);
    BindControl(IDC_STATUS, m_MatrixStatus);
    m_Progress = new CTextProgressCtrl(this);
    BindControl(IDC_PROGRESS, m_Progress);
    m_Progress2 = new CTextProgressCtrl(this);
    BindControl(IDC_PROGRESS2, m_Progress2);

    m_btnStart = new CXPStyleButtonST("Start", this);
    m_btnStop = new CXPStyleButtonST("Stop", this);
    m_btnSave = new CXPStyleButtonST("Sav&e", this);
    for (auto [id, button] : {std::pair{IDC_START, m_btnStart}, {IDC_STOP, m_btnStop}, {IDC_SAVE, m_btnSave}}) {
        button->SetThemeHelper(&m_ThemeHelper);
        button->SetIconResources(0, BTNST_AUTO_GRAY);
        button->ShiftColor(BTNST_COLOR_BK_IN, 30);
        BindControl(id, button);
    }
    m_btnStart->SetTooltipText("Start the operation of this page");
    m_btnStop->SetTooltipText("Stop the running operation");
    m_btnSave->SetTooltipText("Save the results of this page");

    CreateDriveInfoPage();
}

void CQuenzaDlg::CreateDriveInfoPage()
{
    int readRow = 0;
    int writeRow = 0;
    int generalRow = 0;
    for (const CapabilityBox& box : CapabilityBoxes()) {
        auto* button = new CapabilityIndicator(box.caption, this);
        button->setCheckable(true);
        button->SetFlatStyle(true);
        button->SetDrawBorder(false);
        button->SetAlignment(ST_ALIGN_HORIZ);
        button->setFont(m_IndicatorFont);
        button->setFocusPolicy(Qt::NoFocus);
        button->setAttribute(Qt::WA_TransparentForMouseEvents);  // it shows, it does not take clicks
        // Read and write boxes fill two columns under their titles; the
        // unused HD-BURN RW box closes the write group, the others the general one.
        const bool read = box.group == CapabilityGroup::Read;
        const bool write = box.group == CapabilityGroup::Write || box.id == IDC_WRITE_HDBURN_RW;
        int x = kGeneralColumn;
        int y = kReadTitleY + kTitleHeight + generalRow * kBoxHeight;
        if (read || write) {
            int& columnRow = read ? readRow : writeRow;
            const int rows = read ? kReadRowsPerColumn : kWriteRowsPerColumn;
            x = columnRow < rows ? kFirstColumn : kSecondColumn;
            y = (read ? kReadTitleY : kWriteTitleY) + kTitleHeight + (columnRow % rows) * kBoxHeight;
            ++columnRow;
        } else {
            ++generalRow;
        }
        button->setGeometry(x, y, kBoxWidth, kBoxHeight);
        BindControl(box.id, button);
        m_driveInfoPage.push_back(button);
    }
    QFont titleFont = m_Font;
    titleFont.setBold(true);
    for (auto [title, x, y] : {std::tuple{"Drive Supported Read Features", kFirstColumn, kReadTitleY},
                               {"Drive Supported Write Features", kFirstColumn, kWriteTitleY},
                               {"Drive General Features", kGeneralColumn, kReadTitleY}}) {
        QLabel* label = AddLabel(this, title, QRect(x, y, 300, kTitleHeight));
        label->setFont(titleFont);
        m_driveInfoPage.push_back(label);
    }

    int fieldRow = 0;
    for (const DriveInfoField& field : DriveInfoFields()) {
        auto* edit = new QLineEdit(this);
        edit->setReadOnly(true);
        if (field.id == IDC_MODEL) {
            edit->setGeometry(ToQRect(kModelField));
            edit->setFrame(false);
            edit->setAlignment(Qt::AlignCenter);
        } else {
            const int y = kFirstFieldY + fieldRow++ * kFieldPitch;
            m_driveInfoPage.push_back(
                AddLabel(this, field.label, QRect(kLabelX, y, kLabelWidth - 6, kFieldHeight), Qt::AlignRight));
            edit->setGeometry(kFieldX, y, kFieldWidth, kFieldHeight);
        }
        BindControl(field.id, edit);
        m_driveInfoPage.push_back(edit);
    }
    // The disc: its type and media ID, below the drive's own fields, their
    // labels short and their fields wide (a DVD-RAM's media ID is long).
    const int mediaY = kFirstFieldY + (fieldRow + 1) * kFieldPitch;
    const int mediaFieldX = kLabelX + kMediaLabelWidth + 4;
    for (auto [id, label, y] :
         {std::tuple{IDC_MEDIATYPE, "Media Type", mediaY}, {IDC_MEDIAID, "Media ID", mediaY + kFieldPitch}}) {
        auto* edit = new FittingField(this);
        edit->setGeometry(mediaFieldX, y, kFieldX + kFieldWidth - mediaFieldX, kFieldHeight);
        BindControl(id, edit);
        m_driveInfoPage.push_back(
            AddLabel(this, label, QRect(kLabelX, y, kMediaLabelWidth, kFieldHeight), Qt::AlignRight));
        m_driveInfoPage.push_back(edit);
    }
}

void CQuenzaDlg::ResizeDlgItem(int id, UiSize size)
{
    GetDlgItem(id)->resize(size.width, size.height);
}

void CQuenzaDlg::CheckSystemDPI()
{
    LogEntry("CheckSystemDPI() - Start");
    const QScreen* screen = QGuiApplication::primaryScreen();
    LogEntryF("System DPI settings  X = %d Y = %d", screen ? static_cast<int>(screen->logicalDotsPerInchX()) : 96,
              screen ? static_cast<int>(screen->logicalDotsPerInchY()) : 96);
    LogEntry("Adjusting objects to suit DPI setting");
    // Fixed pixel places, the same for every DPI, so the window looks alike
    // under any font scaling.
    MoveDlgItem(IDC_HOMEPAGE, 0, 0, 500, 38);
    for (const CommandButton& command : kCommandButtons)
        MoveDlgItem(command.id, command.x, kToolbarY, kToolbarButton, kToolbarButton);
    MoveDlgItem(IDC_STATUS, 40, 528, 359, 23);
    MoveDlgItem(IDC_DEVICES, 5, 495, 335, 20);
    MoveDlgItem(IDC_REFRESH, 345, 495, 60, 20);
    MoveDlgItem(IDC_TOOLS, 410, 495, 327, 20);
    PlaceDlgItem(IDC_OUTPUT, kOutputBox);
    PlaceDlgItem(IDC_PROGRESS2, kProgress2Box);
    PlaceDlgItem(IDC_PROGRESS, kProgressBox);
    PlaceDlgItem(IDC_START, kStartButton);
    PlaceDlgItem(IDC_SAVE, kSaveButton);
    PlaceDlgItem(IDC_STOP, kStopButton);

    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!qobject_cast<CMyEdit*>(child) && child->font() != m_IndicatorFont)
            child->setFont(m_Font);
    QFont modelFont = m_Font;
    modelFont.setPixelSize(12);
    modelFont.setBold(true);
    GetDlgItem(IDC_MODEL)->setFont(modelFont);
    QFont commandFont = m_Font;
    commandFont.setPixelSize(9);
    for (const CommandButton& command : kCommandButtons)
        GetDlgItem(command.id)->setFont(commandFont);
    ApplyOutputColours();
    InitToolTips();
    ApplyFixedSize();
    update();
}

void CQuenzaDlg::ApplyFixedSize()
{
    // The frame the window system adds (none offscreen) is taken off the
    // window's fixed size to leave the client area.
    const QMargins frame(geometry().left() - frameGeometry().left(), geometry().top() - frameGeometry().top(),
                         frameGeometry().right() - geometry().right(), frameGeometry().bottom() - geometry().bottom());
    const int caption = std::max(frame.top() - frame.bottom(), 0);
    const WindowSize size = FixedWindowSize(caption);
    setFixedSize(size.width - frame.left() - frame.right(), size.height - frame.top() - frame.bottom());
}

void CQuenzaDlg::showEvent(QShowEvent* event)
{
    CDialog::showEvent(event);
    ApplyFixedSize();
}

void CQuenzaDlg::InitToolTips()
{
    LogEntry("InitToolTips() Start");
    SetToolTips(true);
    LogEntry("InitToolTips() End");
}

void CQuenzaDlg::RemoveToolTips()
{
    SetToolTips(false);
}

void CQuenzaDlg::SetToolTips(bool shown)
{
    const auto tip = [this, shown](int id, const std::string& text) {
        GetDlgItem(id)->setToolTip(shown ? TooltipText(text) : QString());
    };
    for (const CapabilityBox& box : CapabilityBoxes())
        tip(box.id, CapabilityTooltip(box));
    for (const DriveInfoField& field : DriveInfoFields())
        tip(field.id, field.tooltip);
    for (const CommandButton& command : kCommandButtons)
        tip(command.id, command.tooltip);
    tip(IDC_HOMEPAGE, "Visit my web site now");
    tip(IDC_REFRESH, "Refreshes Drive Info display by re-reading the drive");
}

void CQuenzaDlg::ApplyOutputColours()
{
    const int text = GetAppProfileInt("EditTextColour", -1);
    const int back = GetAppProfileInt("EditBackColour", -1);
    if (text == back)
        return;
    QPalette palette = m_edOutput->palette();
    if (text != -1)
        palette.setColor(QPalette::Text, ToQColor(static_cast<COLORREF>(text)));
    if (back != -1)
        palette.setColor(QPalette::Base, ToQColor(static_cast<COLORREF>(back)));
    m_edOutput->setPalette(palette);
}

void CQuenzaDlg::paintEvent(QPaintEvent* event)
{
    CDialog::paintEvent(event);
    QPainter painter(this);
    m_Look.PaintBanner(painter);
}
