#include "gui/pipo/SetLogicalBlockAddress.h"

#include "core/base/UserPrompt.h"
#include "gui/ui/Labels.h"
#include "gui/ui/QtConvert.h"
#include "gui/ui/XPStyleButtonST.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>

CSetLogicalBlockAddress::CSetLogicalBlockAddress(QWidget* parent) : CDialog(IDD, parent)
{
    CreateControls();
}

void CSetLogicalBlockAddress::CreateControls()
{
    QFont font("Arial");
    font.setPixelSize(14);
    setFont(font);
    setFixedSize(380, 312);
    auto* explanation = AddLabel(this, "Choose the area of the disc to scan.", QRect(14, 13, 350, 40));
    explanation->setWordWrap(true);
    // The labels' whole texts at this font, the edits beside them.
    AddLabel(this, "Starting Address in MegaBytes (MB)", QRect(14, 64, 236, 18));
    AddLabel(this, "Ending Address in MegaBytes (MB)", QRect(14, 90, 236, 18));
    AddLabel(this, "Starting Logical Block Address (LBA)", QRect(14, 114, 236, 18));
    AddLabel(this, "Ending Logical Block Address (LBA)", QRect(14, 140, 236, 18));
    AddLabel(this, "Set Start Pos", QRect(14, 174, 82, 18));
    AddLabel(this, "Set End Pos", QRect(14, 204, 82, 18));
    AddLabel(this, "Edit Box Values", QRect(14, 235, 120, 16));
    const std::pair<int, QRect> edits[] = {{IDC_START_MB, {252, 62, 114, 20}},
                                           {IDC_END_MB, {252, 88, 114, 20}},
                                           {IDC_START_LBA, {252, 112, 114, 20}},
                                           {IDC_END_LBA, {252, 138, 114, 20}}};
    for (const auto& [id, place] : edits) {
        auto* edit = new QLineEdit(this);
        edit->setGeometry(place);
        BindControl(id, edit);
        MapNotify(id, Notify::EditChange, [this, control = id] { OnEdit(control); });
    }
    m_pStartSlider = new QSlider(Qt::Horizontal, this);
    m_pStartSlider->setGeometry(98, 174, 264, 22);
    m_pEndSlider = new QSlider(Qt::Horizontal, this);
    m_pEndSlider->setGeometry(98, 204, 264, 22);
    BindControl(IDC_START_SLIDER, m_pStartSlider);
    BindControl(IDC_END_SLIDER, m_pEndSlider);
    connect(m_pStartSlider, &QSlider::valueChanged, this, [this] { OnSlider(true); });
    connect(m_pEndSlider, &QSlider::valueChanged, this, [this] { OnSlider(false); });

    auto* group = new QButtonGroup(this);
    auto* hexadecimal = new QRadioButton("&Hexadecimal", this);
    hexadecimal->setGeometry(52, 249, 140, 22);
    auto* decimal = new QRadioButton("&Decimal", this);
    decimal->setGeometry(219, 249, 120, 22);
    group->addButton(hexadecimal);
    group->addButton(decimal);
    BindControl(IDC_HEXADECIMAL, hexadecimal);
    BindControl(IDC_DECIMAL, decimal);
    MapCommand(IDC_HEXADECIMAL, [this] {
        m_Range.SetBase(ScanLbaRange::Hexadecimal);
        ShowRange();
    });
    MapCommand(IDC_DECIMAL, [this] {
        m_Range.SetBase(ScanLbaRange::Decimal);
        ShowRange();
    });

    const std::tuple<int, const char*, int> buttons[] = {
        {IDOK, "&Accept", 14}, {IDC_DEFAULT, "De&fault", 144}, {IDCANCEL, "&Cancel", 265}};
    for (const auto& [id, caption, x] : buttons) {
        auto* button = new CXPStyleButtonST(caption, this);
        button->setGeometry(x, 279, 100, 26);
        BindControl(id, button);
    }
    MapCommand(IDOK, [this] { OnOK(); });
    MapCommand(IDCANCEL, [this] { OnCancel(); });
    MapCommand(IDC_DEFAULT, [this] {
        m_Range.SetDefaults();
        ShowRange();
    });
}

bool CSetLogicalBlockAddress::OnInitDialog()
{
    CDialog::OnInitDialog();
    setWindowTitle("Set Logical Block Addresss");
    m_Range = ScanLbaRange(m_nLowest, m_nHighest);
    m_strResultStart.clear();
    m_strResultEnd.clear();
    m_bShowing = true;
    m_pEndSlider->setRange(0, std::max(m_nHighest, 0));
    m_pStartSlider->setRange(0, m_Range.StartSliderMax());
    m_pStartSlider->setPageStep(1);
    m_pEndSlider->setPageStep(1);
    m_bShowing = false;
    CheckDlgButton(IDC_HEXADECIMAL, 1);
    ShowRange();
    return true;
}

void CSetLogicalBlockAddress::ShowRange()
{
    m_bShowing = true;
    SetDlgItemText(IDC_START_LBA, m_Range.startText);
    SetDlgItemText(IDC_END_LBA, m_Range.endText);
    SetDlgItemText(IDC_START_MB, m_Range.startMegabytes);
    SetDlgItemText(IDC_END_MB, m_Range.endMegabytes);
    m_pStartSlider->setValue(m_Range.startSlider);
    m_pEndSlider->setValue(m_Range.endSlider);
    m_bShowing = false;
}

void CSetLogicalBlockAddress::Tell(const std::optional<std::string>& message)
{
    if (message)
        AppMessageBox(*message);
}

void CSetLogicalBlockAddress::OnEdit(int id)
{
    if (m_bShowing)
        return;
    const std::string text = GetDlgItemText(id);
    std::optional<std::string> message;
    switch (id) {
    case IDC_START_LBA: message = m_Range.OnStartTextChanged(text); break;
    case IDC_END_LBA: message = m_Range.OnEndTextChanged(text); break;
    case IDC_START_MB: message = m_Range.OnStartMegabytesChanged(text); break;
    case IDC_END_MB: message = m_Range.OnEndMegabytesChanged(text); break;
    default: return;
    }
    ShowRange();
    if (auto* edit = Item<QLineEdit>(id))
        edit->setCursorPosition(static_cast<int>(edit->text().size()));
    Tell(message);
}

void CSetLogicalBlockAddress::OnSlider(bool start)
{
    if (m_bShowing)
        return;
    if (start)
        m_Range.OnStartSlider(m_pStartSlider->value());
    else
        m_Range.OnEndSlider(m_pEndSlider->value());
    ShowRange();
}

void CSetLogicalBlockAddress::OnOK()
{
    std::string message;
    const auto accepted = m_Range.Accept(message);
    if (!accepted) {
        AppMessageBox(message);
        return;
    }
    m_strResultStart = accepted->startText;
    m_strResultEnd = accepted->endText;
    EndDialog(IDOK);
}
