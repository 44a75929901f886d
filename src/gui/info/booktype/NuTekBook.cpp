#include "gui/info/booktype/NuTekBook.h"

#include "core/info/booktype/BookTypeControls.h"
#include "core/info/booktype/NuTekBookControl.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace booktype_ids::nutek;

CNuTekBook::CNuTekBook(BookTypeSession& session, QWidget* parent) :
    CBookTypeDialog(IDD, "DVDR/RW Dual BookType BitSet ( Nu-Tek / QSI Drives)",
                    std::make_unique<NuTekBookControl>(session), parent)
{
    using Book = NuTekBookControl::Book;
    struct Column {
        const char* name;
        int group;
        int flash;
        int dram;
        int set;
        const char* caption;
        Book book;
    };
    const Column columns[] = {
        {"DVD+R", IDC_R_GROUP, IDC_R_FLASH, IDC_R_DRAM, IDC_SET_R_DEFAULT, "Set +R Default Book", Book::kPlusR},
        {"DVD+RW", IDC_RW_GROUP, IDC_RW_FLASH, IDC_RW_DRAM, IDC_SET_RW_DEFAULT, "Set +RW Default Book", Book::kPlusRw},
        {"DVD-R", IDC_MINUS_R_GROUP, IDC_MINUS_R_FLASH, IDC_MINUS_R_DRAM, IDC_SET_MINUS_R_DEFAULT,
         "Set -R Default Book", Book::kMinusR},
        {"DVD-RW", IDC_MINUS_RW_GROUP, IDC_MINUS_RW_FLASH, IDC_MINUS_RW_DRAM, IDC_SET_MINUS_RW_DEFAULT,
         "Set -RW Default Book", Book::kMinusRw},
    };
    auto* books = new QHBoxLayout;
    for (const Column& column : columns) {
        auto* box = new QVBoxLayout;
        auto* texts = new QGridLayout;
        AddText(texts, 0, QString(column.name) + " FLASH RAM", column.flash);
        AddText(texts, 1, QString(column.name) + " DRAM", column.dram);
        box->addLayout(texts);
        box->addWidget(AddRadioGroup(column.name, {{column.group, column.name}, {column.group + 1, "DVD-ROM"}}, true));
        const Book book = column.book;
        box->addWidget(AddButton(column.set, column.caption, [this, book] { Logic().OnSetDefaultBook(book); }));
        books->addLayout(box);
    }
    auto* direct = new QGridLayout;
    AddText(direct, 0, "-RW CURRENT MEDIA", IDC_MINUS_RW_MEDIA);
    direct->addWidget(
        AddButton(IDC_SET_MINUS_RW_DIRECT, "Set -RW Media Direct", [this] { Logic().OnSetMinusRwDirect(); }), 0, 2);
    AddText(direct, 1, "+RW CURRENT MEDIA", IDC_RW_MEDIA);
    direct->addWidget(AddButton(IDC_SET_RW_DIRECT, "Set +RW Media Direct", [this] { Logic().OnSetPlusRwDirect(); }), 1,
                      2);
    auto* flash = new QCheckBox("Enable  Flash Ram Save", this);
    BindControl(IDC_FLASH_SAVE, flash);
    MapCommand(IDC_FLASH_SAVE, [this] { Run([this] { Logic().OnFlashSave(); }); });
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(flash);
    AddCloseAndHelp(bottom, IDC_HELP, false, nullptr, nullptr);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(books);
    layout->addLayout(direct);
    layout->addLayout(bottom);
}

NuTekBookControl& CNuTekBook::Logic()
{
    return static_cast<NuTekBookControl&>(Control());
}
