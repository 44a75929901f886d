#include "gui/info/booktype/LGBook.h"

#include "core/info/booktype/BookTypeControls.h"
#include "core/info/booktype/LgBookControl.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

using namespace booktype_ids::lg;

CLGBook::CLGBook(BookTypeSession& session, bool plextorMode, QWidget* parent) :
    CBookTypeDialog(IDD, "LG GSA-4120B Book Type Setting", std::make_unique<LgBookControl>(session, plextorMode),
                    parent)
{
    auto* texts = new QGridLayout;
    AddText(texts, 0, "DVD+R/RW", IDC_PLUS_TEXT);
    AddText(texts, 1, "DVD+R DL", IDC_DL_TEXT);
    QGroupBox* modes = AddRadioGroup("Mode", {{kModeRadios[0], "Normal"}, {kModeRadios[1], "DVD-ROM"}});
    auto* sets = new QVBoxLayout;
    sets->addWidget(AddButton(IDC_CHANGE_PLUS, "&Change +R/RW Mode", [this] { Logic().OnChangePlus(); }));
    sets->addWidget(AddButton(IDC_CHANGE_DL, "Change +R&DL Mode", [this] { Logic().OnChangeDualLayer(); }));
    sets->addStretch();
    auto* middle = new QHBoxLayout;
    middle->addWidget(modes);
    middle->addLayout(sets);
    auto* bottom = new QHBoxLayout;
    AddCloseAndHelp(bottom, IDC_HELP, false, nullptr, nullptr);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(texts);
    layout->addLayout(middle);
    layout->addLayout(bottom);
}

LgBookControl& CLGBook::Logic()
{
    return static_cast<LgBookControl&>(Control());
}
