#include "gui/ui/BaseDialog.h"

#include "core/ui/Translucency.h"
#include "gui/ui/QtConvert.h"

CBaseDialog::CBaseDialog(int templateId, QWidget* parent)
    : CDialog(templateId, parent), m_crBackground(ToColorRef(palette().color(QPalette::Button)))
{
    QPalette background = palette();
    background.setColor(QPalette::Window, ToQColor(m_crBackground));
    setPalette(background);
    setAutoFillBackground(true);
}

void CBaseDialog::OnOK()
{
    if (EndedByOwner() || !UpdateData(true))
        return;
    if (IsModeless())
        DestroyWindow();
    else
        EndDialog(IDOK);
}

void CBaseDialog::OnCancel()
{
    if (EndedByOwner())
        return;
    if (IsModeless())
        DestroyWindow();
    else
        EndDialog(IDCANCEL);
}

void CBaseDialog::OnClose()
{
    if (EndedByOwner())
        return;
    if (IsModeless())
        DestroyWindow();
    else
        CDialog::OnClose();
}

void CBaseDialog::PostNcDestroy()
{
    CDialog::PostNcDestroy();
    // Deferred: the window may be inside one of its own handlers now.
    if (IsModeless())
        deleteLater();
}

void ApplyTranslucency(QWidget& window)
{
    if (const auto alpha = ReadTranslucencyAlpha()) {
        window.setWindowOpacity(*alpha / 255.0);
        window.show();
    }
}
