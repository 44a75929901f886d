#include "gui/tools/testpage/TestPage.h"

#include "gui/ui/Dialog.h"

void TestPage::ShowTestPageFrame(const std::vector<int>& controls, int labelX, int fieldX, int fieldWidth)
{
    m_host.ShowDriveInfoPage(false);
    for (int id : {IDC_OUTPUT, IDC_PROGRESS})
        m_dlg.ShowDlgItem(id, false);
    m_host.ShowComboBoxes();
    m_surface.PlaceResultRows(labelX, fieldX, fieldWidth);
    m_surface.ShowTestPageControls(controls, true);
    m_host.ShowPageButtons(true);
    m_dlg.ShowDlgItem(IDC_PROGRESS2, true);
}

void TestPage::Hide()
{
    m_surface.HideAll();
    m_host.ShowPageButtons(false);
    for (int id : {IDC_PROGRESS, IDC_PROGRESS2})
        m_dlg.ShowDlgItem(id, false);
}

void TestPage::HideTestPageFrame(const std::vector<int>& controls)
{
    m_surface.ShowTestPageControls(controls, false);
    m_host.ShowPageButtons(false);
    m_dlg.ShowDlgItem(IDC_PROGRESS2, false);
}
