#include "gui/info/booktype/LiteonBookType.h"

#include "core/info/booktype/BookTypeControls.h"
#include "core/info/booktype/LiteonBookTypeControl.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

using namespace booktype_ids::liteon;

CLiteonBookType::CLiteonBookType(BookTypeSession& session, QWidget* parent) :
    CBookTypeDialog(IDD, "Liteon & Sony BookType Bitsetter", std::make_unique<LiteonBookTypeControl>(session), parent)
{
    auto* texts = new QGridLayout;
    AddText(texts, 0, "Current Disc Type", IDC_DISC_TYPE);
    AddText(texts, 1, "Change BookType To", IDC_DRIVE_SETTING);
    QGroupBox* choices = AddRadioGroup(
        "Book type", {{kChoiceRadios[0], "DVD+RW"}, {kChoiceRadios[1], "Normal"}, {kChoiceRadios[2], "DVD-ROM"}});
    auto* sets = new QVBoxLayout;
    sets->addWidget(AddButton(IDC_CHANGE, "Chan&ge...", [this] { Logic().OnChange(); }));
    sets->addWidget(AddButton(IDC_QUERY, "&Query", [this] { Logic().OnQuery(); }));
    sets->addStretch();
    auto* middle = new QHBoxLayout;
    middle->addWidget(choices);
    middle->addLayout(sets);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(AddButton(IDC_HELP, "Help", [this] { OnHelp(); }));
    bottom->addWidget(AddButton(IDC_CLOSE, "&Close", [this] { EndDialog(IDCANCEL); }));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(texts);
    layout->addLayout(middle);
    layout->addLayout(bottom);
}

LiteonBookTypeControl& CLiteonBookType::Logic()
{
    return static_cast<LiteonBookTypeControl&>(Control());
}
