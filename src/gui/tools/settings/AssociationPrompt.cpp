#include "gui/tools/settings/AssociationPrompt.h"

#include "gui/ui/MessageClassDlg.h"

AssociationQuestion::Answer MessageClassAssociationQuestion::Ask(const std::string& title, const std::string& message)
{
    CMessageClassDlg dlg(m_pOwner);
    dlg.SetDefaultIcon();
    dlg.SetTitle(title);
    dlg.SetMessageText(message);
    dlg.SetShowCheckBox(true);
    dlg.SetNoAsDefault();  // Yes changes the desktop's file types
    const int result = dlg.DoModal();
    return Answer{result == 1, dlg.m_nCheck == 1};
}

void OfferFileAssociationRepair(QWidget* owner)
{
    CAssociation association;
    MessageClassAssociationQuestion question(owner);
    association.RepairPrompt(question);
}
