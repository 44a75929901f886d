#include "gui/info/booktype/BtcBookType.h"

#include "core/info/booktype/BookTypeControls.h"
#include "core/info/booktype/BtcBookTypeControl.h"
#include "gui/ui/XPStyleButtonST.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace booktype_ids::btc;

CBtcBookType::CBtcBookType(BookTypeSession& session, QWidget* parent) :
    CBookTypeDialog(IDD, "DVD\u00B1R/\u00B1RW Bitsetter (BTC & OEM,  Micro Advantage drives)",
                    std::make_unique<BtcBookTypeControl>(session), parent)
{
    auto* texts = new QGridLayout;
    AddText(texts, 0, "Current media book type", IDC_DISC_BOOK);
    AddText(texts, 1, "DVD\u00B1R", IDC_R_LINE);
    AddText(texts, 2, "DVD\u00B1RW", IDC_RW_LINE);
    QGroupBox* modes = AddRadioGroup("Mode", {{kModeRadios[0], "Normal"}, {kModeRadios[1], "DVD-ROM"}});
    auto* sets = new QVBoxLayout;
    sets->addWidget(AddXPButton(
        IDC_CHANGE_MEDIA, "C&hange Current DVD\u00B1R/RW Media", [this] { Logic().OnChangeCurrentMedia(); },
        "Sets the drives current mode"));
    sets->addWidget(AddXPButton(
        IDC_SET_DEFAULT, "Set &Default Mode (\u00B1RW/\u00B1R)", [this] { Logic().OnSetDefaultMode(); },
        "Sets the drives default mode"));
    sets->addWidget(AddXPButton(
        IDC_QUERY, "&Query", [this] { Logic().OnQuery(); }, "Queries the drive current settings"));
    sets->addStretch();
    auto* middle = new QHBoxLayout;
    middle->addWidget(modes);
    middle->addLayout(sets);
    auto* bottom = new QHBoxLayout;
    AddCloseAndHelp(bottom, IDC_HELP, true, "Cancels the window", "Opens the help document");
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(texts);
    layout->addLayout(middle);
    layout->addLayout(bottom);
}

BtcBookTypeControl& CBtcBookType::Logic()
{
    return static_cast<BtcBookTypeControl&>(Control());
}
