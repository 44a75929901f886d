#include "gui/ui/BaseDialog.h"

#include "core/ui/Translucency.h"
#include "gui/ui/QtConvert.h"

CBaseDialog::CBaseDialog(int templateId, QWidget* parent) :
    CDialog(templateId, parent), m_crBackground(ToColorRef(palette().color(QPalette::Button)))
{
    QPalette background = palette();
    background.setColor(QPalette::Window, ToQColor(m_crBackground));
    setPalette(background);
    setAutoFillBackground(true);
}

bool CBaseDialog::CloseModeless()
{
    if (!IsModeless())
        return false;
    if (!m_bEndedByOwnerOnly)
        DestroyWindow();
    return true;
}

void CBaseDialog::OnOK()
{
    if (IsModeless() && m_bEndedByOwnerOnly)
        return;
    if (UpdateData(true) && !CloseModeless())
        EndDialog(IDOK);
}

void CBaseDialog::OnCancel()
{
    if (!CloseModeless())
        EndDialog(IDCANCEL);
}

void CBaseDialog::OnClose()
{
    if (!CloseModeless())
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
