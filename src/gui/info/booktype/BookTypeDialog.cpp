#include "gui/info/booktype/BookTypeDialog.h"

#include "core/app/DeviceBroadcast.h"
#include "core/base/UserPrompt.h"
#include "core/info/booktype/BookTypeControls.h"
#include "gui/ui/BaseDialog.h"
#include "gui/ui/ShellOpen.h"
#include "gui/ui/XPStyleButtonST.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CBookTypeDialog::CBookTypeDialog(int templateId, const char* caption, std::unique_ptr<BookTypeControl> control,
                                 QWidget* parent) :
    CDialog(templateId, parent), m_pControl(std::move(control))
{
    setWindowTitle(caption);
}

CBookTypeDialog::~CBookTypeDialog() = default;

bool CBookTypeDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (const auto& [button, tooltip] : m_ownerDrawn) {
        button->SetThemeHelper(&m_ThemeHelper);
        button->SetIconResources(0, BTNST_AUTO_GRAY);
        button->ShiftColor(BTNST_COLOR_BK_IN, 30);
        button->SetTooltipText(tooltip);
    }
    m_pControl->OnInitDialog();
    ShowControl();
    ApplyTranslucency(*this);
    return true;
}

void CBookTypeDialog::DoDataExchange(CDataExchange& dx)
{
    if (!dx.m_bSaveAndValidate)
        for (auto& [id, text] : m_pControl->texts)
            DDX_Text(dx, id, text);
    for (const auto& [firstId, ids] : m_groups) {
        int& value = m_pControl->radios[firstId];
        if (dx.m_bSaveAndValidate) {
            value = -1;
            for (std::size_t index = 0; index < ids.size(); ++index)
                if (auto* radio = Item<QRadioButton>(ids[index]); radio && radio->isChecked())
                    value = static_cast<int>(index);
        } else {
            for (std::size_t index = 0; index < ids.size(); ++index)
                if (auto* radio = Item<QRadioButton>(ids[index]))
                    radio->setChecked(static_cast<int>(index) == value);
        }
    }
    for (auto& [id, value] : m_pControl->checks)
        DDX_Check(dx, id, value);
}

void CBookTypeDialog::ShowControl()
{
    UpdateData(false);
    for (const auto& [id, on] : m_pControl->enabled)
        EnableDlgItem(id, on);
    if (!m_pControl->title.empty())
        setWindowTitle(QString::fromStdString(m_pControl->title));
    if (m_pControl->endResult)
        EndDialog(*m_pControl->endResult);
}

void CBookTypeDialog::Run(const std::function<void()>& command)
{
    UpdateData(true);
    command();
    ShowControl();
}

void CBookTypeDialog::OnHelp()
{
    OpenHelpPage(m_pControl->HelpTopic());
}

LRESULT CBookTypeDialog::RefreshOnMediaChange(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_DEVICECHANGE)
        return CDialog::WindowProc(message, wParam, lParam);
    const std::optional<DeviceBroadcast> notice = TakeDeviceBroadcast(lParam);
    if ((wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE) && notice
        && notice->deviceType == DBT_DEVTYP_VOLUME && (notice->flags & DBTF_MEDIA))
        Run([this] { m_pControl->Refresh(); });
    return 1;
}

QLineEdit* CBookTypeDialog::AddText(QGridLayout* grid, int row, const QString& label, int id)
{
    auto* text = new QLineEdit(this);
    text->setReadOnly(true);
    text->setMinimumWidth(110);
    grid->addWidget(new QLabel(label, this), row, 0);
    grid->addWidget(text, row, 1);
    BindControl(id, text);
    return text;
}

QGroupBox* CBookTypeDialog::AddRadioGroup(const QString& title, std::initializer_list<std::pair<int, QString>> buttons,
                                          bool horizontal)
{
    auto* box = new QGroupBox(title, this);
    QBoxLayout* layout = horizontal ? static_cast<QBoxLayout*>(new QHBoxLayout(box)) : new QVBoxLayout(box);
    std::vector<int> ids;
    for (const auto& [id, caption] : buttons) {
        auto* radio = new QRadioButton(caption, box);
        layout->addWidget(radio);
        BindControl(id, radio);
        // Every radio of a group only takes the choice into the control.
        MapCommand(id, [this] { UpdateData(true); });
        ids.push_back(id);
    }
    m_groups[ids.front()] = ids;
    return box;
}

QGroupBox* CBookTypeDialog::AddPlusBookGroup()
{
    using booktype_ids::plus::kBookRadios;
    return AddRadioGroup("Book type",
                         {{kBookRadios[0], "DVD+RW"},
                          {kBookRadios[1], "DVD+R"},
                          {kBookRadios[2], "DVD-RW"},
                          {kBookRadios[3], "DVD-R"},
                          {kBookRadios[4], "DVD-ROM"}});
}

QPushButton* CBookTypeDialog::AddButton(int id, const QString& caption, std::function<void()> command)
{
    auto* button = new QPushButton(caption, this);
    BindControl(id, button);
    MapCommand(id, [this, command = std::move(command)] { Run(command); });
    return button;
}

CXPStyleButtonST* CBookTypeDialog::AddXPButton(int id, const QString& caption, std::function<void()> command,
                                               const char* tooltip)
{
    auto* button = new CXPStyleButtonST(caption, this);
    BindControl(id, button);
    MapCommand(id, [this, command = std::move(command)] { Run(command); });
    m_ownerDrawn.emplace_back(button, tooltip);
    return button;
}

void CBookTypeDialog::AddCloseAndHelp(QBoxLayout* row, int helpId, bool closeOwnerDrawn, const char* closeTooltip,
                                      const char* helpTooltip, const QString& closeCaption)
{
    QWidget* help = nullptr;
    QWidget* close = nullptr;
    if (closeOwnerDrawn) {
        help = AddXPButton(
            helpId, "Help", [this] { OnHelp(); }, helpTooltip);
        close = new CXPStyleButtonST(closeCaption, this);
        m_ownerDrawn.emplace_back(static_cast<CXPStyleButtonST*>(close), closeTooltip);
    } else {
        help = AddButton(helpId, "Help", [this] { OnHelp(); });
        close = new QPushButton(closeCaption, this);
    }
    BindControl(IDCANCEL, close);
    row->addStretch();
    row->addWidget(help);
    row->addWidget(close);
}
