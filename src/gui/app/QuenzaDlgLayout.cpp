#include "core/base/AppProfile.h"
#include "core/base/LogFile.h"
#include "core/app/MainLayout.h"
#include "core/app/MainPages.h"
#include "core/app/MainWindowRules.h"
#include "core/info/DriveInfoPage.h"
#include "gui/app/QuenzaDlg.h"
#include "gui/info/DriveInformationPage.h"
#include "gui/ui/ButtonST.h"
#include "gui/ui/MatrixStatic.h"
#include "gui/ui/MyEdit.h"
#include "gui/ui/QtConvert.h"
#include "gui/ui/TextProgressCtrl.h"
#include "gui/ui/XPStyleButtonST.h"

#include <QComboBox>
#include <QGuiApplication>
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

}  // namespace

void CQuenzaDlg::CreateControls()
{
    m_Font = QFont("Arial");
    m_Font.setPixelSize(14);

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
        if (!qobject_cast<CMyEdit*>(child) && child->font() != DriveInformationPage::IndicatorFont())
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
