#include "gui/info/booktype/BenqBookType.h"

#include "core/info/booktype/BenqBookTypeControl.h"
#include "core/info/booktype/BookTypeControls.h"
#include "core/info/booktype/SetBookTypeControl.h"
#include "gui/ui/XPStyleButtonST.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

using namespace booktype_ids::plus;

CPlusBookTypeDialog::CPlusBookTypeDialog(int templateId, const char* caption, std::unique_ptr<BookTypeControl> control,
                                         QWidget* parent) :
    CBookTypeDialog(templateId, caption, std::move(control), parent)
{
}

void CPlusBookTypeDialog::Lay(const SetCommands& commands)
{
    auto* texts = new QGridLayout;
    AddText(texts, 0, "Current media book type", IDC_DISC_BOOK);
    AddText(texts, 1, "Drive setting for DVD+RW media", IDC_PLUS_RW_SETTING);
    AddText(texts, 2, "Drive setting for DVD+R media", IDC_PLUS_R_SETTING);
    QGroupBox* books = AddPlusBookGroup();
    auto* sets = new QVBoxLayout;
    sets->addWidget(AddButton(IDC_SET_RW_DEFAULT, "Set Drive Default (DVD+R&W Media)", commands.rwDefault));
    sets->addWidget(AddButton(IDC_SET_R_DEFAULT, "&Set Drive Default (DVD+&R Media)", commands.rDefault));
    sets->addWidget(AddButton(IDC_SET_MEDIA, "&Set Current Media (DVD+RW only)", commands.currentMedia));
    sets->addStretch();
    auto* middle = new QHBoxLayout;
    middle->addWidget(books);
    middle->addLayout(sets);
    auto* bottom = new QHBoxLayout;
    AddCloseAndHelp(bottom, IDC_HELP, true, "Cancels the window", "Shows the help document");
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(texts);
    layout->addLayout(middle);
    layout->addLayout(bottom);
}

LRESULT CPlusBookTypeDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return RefreshOnMediaChange(message, wParam, lParam);
}

CBenqBookType::CBenqBookType(BookTypeSession& session, QWidget* parent) :
    CPlusBookTypeDialog(IDD, "DVD+R/RW BookType BitSetting (BENQ DRIVES ONLY)",
                        std::make_unique<BenqBookTypeControl>(session), parent)
{
    Lay({[this] { Logic().OnSetRwDefault(); }, [this] { Logic().OnSetRDefault(); },
         [this] { Logic().OnSetCurrentMedia(); }});
}

BenqBookTypeControl& CBenqBookType::Logic()
{
    return static_cast<BenqBookTypeControl&>(Control());
}

CSetBookType::CSetBookType(BookTypeSession& session, int generation, QWidget* parent) :
    CPlusBookTypeDialog(IDD, "DVD+R/RW BookType BitSetting (RICOH TYPE DRIVES ONLY)",
                        std::make_unique<SetBookTypeControl>(session, generation), parent)
{
    Lay({[this] { Logic().OnSetRwDefault(); }, [this] { Logic().OnSetRDefault(); },
         [this] { Logic().OnSetCurrentMedia(); }});
}

SetBookTypeControl& CSetBookType::Logic()
{
    return static_cast<SetBookTypeControl&>(Control());
}
