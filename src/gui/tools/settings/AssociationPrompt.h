#pragma once

#include "core/tools/settings/Association.h"

class QWidget;

// The association question as the general message dialog asks it: Yes and
// No with "Do not show this message again".
class MessageClassAssociationQuestion : public AssociationQuestion {
public:
    explicit MessageClassAssociationQuestion(QWidget* owner) : m_pOwner(owner) {}
    Answer Ask(const std::string& title, const std::string& message) override;

private:
    QWidget* m_pOwner;
};

// The start-up's file association step: asks when the program's file types
// are not the user's choice (unless "IgnoreAssocRequest" says not to) and
// repairs them on Yes.
void OfferFileAssociationRepair(QWidget* owner);
