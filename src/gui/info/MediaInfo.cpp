#include "gui/info/MediaInfo.h"

#include "core/base/LogFile.h"
#include "gui/ui/ButtonST.h"
#include "gui/ui/MyEdit.h"

#include <QFontDatabase>
#include <QStyle>

namespace {

constexpr int kWindowWidth = 753;
constexpr int kSmallCaptionHeight = 609;

}  // namespace

CMediaInfo::CMediaInfo(std::shared_ptr<ReportText> lines, QWidget* parent) :
    CDialog(IDD, parent), m_Lines(std::move(lines))
{
    m_Banner = new CButtonST(this);
    m_Text = new CMyEdit(this);
    m_Text->setReadOnly(true);
    m_Text->setLineWrapMode(QPlainTextEdit::NoWrap);
    BindControl(IDC_BANNER, m_Banner);
    BindControl(IDC_TEXT, m_Text);
    MapCommand(IDC_BANNER, [this] {
        if (m_HomePage)
            m_HomePage();
    });
}

void CMediaInfo::ClearDisplay()
{
    LogEntry("Start ClearDisplay()");
    for (int line = 0; line < ReportText::kReportLines; ++line)
        m_Lines->SetLine(line, "");
    LogEntry("End ClearDisplay()");
}

void CMediaInfo::RefreshDisplay(int /*mode*/, int bytes)
{
    m_Lines->RefreshDisplay(bytes);
    m_Text->setPlainText(QString::fromStdString(m_Lines->GetDisplayText()));
}

std::string CMediaInfo::DisplayedText() const
{
    return m_Text->toPlainText().toStdString();
}

bool CMediaInfo::OnInitDialog()
{
    CDialog::OnInitDialog();
    setWindowTitle("Quenzario Vantor Media Info View");
    m_Banner->move(0, 0);
    m_Banner->resize(500, 38);
    if (parentWidget())
        move(parentWidget()->pos());
    SetWindowSize();
    InitControls();
    RefreshDisplay(1, ReportText::kWholeReport);
    return true;
}

int CMediaInfo::WindowHeightFor(int captionHeight)
{
    return captionHeight < 35 ? kSmallCaptionHeight : captionHeight + 574;
}

void CMediaInfo::SetWindowSize()
{
    const int caption = style()->pixelMetric(QStyle::PM_TitleBarHeight);
    resize(kWindowWidth, WindowHeightFor(caption));
    QFont font("Arial");
    font.setPixelSize(14);
    setFont(font);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSize(9);
    m_Text->setFont(fixed);
}

void CMediaInfo::InitControls()
{
    m_Text->move(39, 70);
    m_Text->resize(677, 490);
    m_Banner->SetTooltipText("Visit my web site now");
    m_Banner->SetFlatStyle(true);
}
