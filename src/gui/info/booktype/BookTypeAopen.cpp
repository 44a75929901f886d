#include "gui/info/booktype/BookTypeAopen.h"

#include "core/info/booktype/AopenBookTypeControl.h"
#include "core/info/booktype/BookTypeControls.h"
#include "gui/ui/XPStyleButtonST.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace booktype_ids::aopen;

CBookTypeAopen::CBookTypeAopen(BookTypeSession& session, QWidget* parent) :
    CBookTypeDialog(IDD, "AOpen Bitsetting", std::make_unique<AopenBookTypeControl>(session), parent)
{
    auto* texts = new QGridLayout;
    AddText(texts, 0, "Current media book type", IDC_DISC_BOOK);
    AddText(texts, 1, "DVD+RW EEPROM", IDC_RW_EEPROM);
    AddText(texts, 2, "DVD+R EEPROM", IDC_R_EEPROM);
    QGroupBox* books = AddPlusBookGroup();
    auto* sets = new QVBoxLayout;
    sets->addWidget(AddXPButton(
        IDC_SET_RW_DRIVE, "Set Drive (DVD+R&W Media)", [this] { Logic().OnSetRwDrive(); },
        "Change settings on drive RW media"));
    sets->addWidget(AddXPButton(
        IDC_SET_R_DRIVE, "&Set Drive (DVD+&R Media)", [this] { Logic().OnSetRDrive(); },
        "Change settings on drive R Media"));
    sets->addWidget(AddXPButton(
        IDC_SET_MEDIA, "&Set Media (DVD+RW Only)", [this] { Logic().OnSetMedia(); }, "Change book on media directly"));
    sets->addStretch();
    EnableDlgItem(IDC_SET_MEDIA, false);
    auto* middle = new QHBoxLayout;
    middle->addWidget(books);
    middle->addLayout(sets);
    auto* bottom = new QHBoxLayout;
    AddCloseAndHelp(bottom, IDC_HELP, true, "Cancels the window", "Opens the help document", "Cancel");
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(texts);
    layout->addLayout(middle);
    layout->addLayout(bottom);
}

AopenBookTypeControl& CBookTypeAopen::Logic()
{
    return static_cast<AopenBookTypeControl&>(Control());
}
