#include "core/app/DeviceBroadcast.h"
#include "core/base/MessageIds.h"
#include "core/drive/WrapperRig.h"
#include "core/info/booktype/BookTypeControls.h"
#include "emu/MediaPresets.h"
#include "gui/info/booktype/BenqBookType.h"
#include "gui/info/booktype/BookTypeEntry.h"
#include "gui/ui/Dialog.h"
#include "support/gui/ScopedModalHook.h"

#include <QAbstractButton>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <functional>

namespace {

using emu::BookKind;
namespace ids = booktype_ids;

QAbstractButton* Button(CDialog& dialog, int id)
{
    return dialog.findChild<QAbstractButton*>(QString("id_%1").arg(id));
}

std::string Text(CDialog& dialog, int id)
{
    auto* edit = dialog.findChild<QLineEdit*>(QString("id_%1").arg(id));
    return edit ? edit->text().toStdString() : std::string();
}

// Opens the book-type dialog of the drive from the main window's entry and
// runs `use` on it as the user would; the gate's device is in no use.
struct BookTypeRun {
    BookTypeRun(const char* drivePreset, const char* mediumPreset) : rig(drivePreset, mediumPreset) {}

    void Open(const std::function<void(CDialog&)>& use)
    {
        ScopedModalHook hook([&](CDialog& dialog) {
            title = dialog.windowTitle().toStdString();
            use(dialog);
            return dialog.ModalResult();
        });
        BookTypeOptions options;
        options.deviceUse = [](const std::string&) { return DeviceUse{}; };
        options.status = [this](const std::string& text) { status.push_back(text); };
        options.dialogOpen = [this](CDialog* dialog) { opened.push_back(dialog); };
        ChangePLUSBookField(rig.context, prompt, nullptr, options);
    }
    const emu::BookTypeSettings Books() const { return rig.drive->VendorState().bookTypes; }
    bool Asked(const std::string& part) const
    {
        return std::any_of(prompt.asked.begin(), prompt.asked.end(),
                           [&](const auto& asked) { return asked.text.find(part) != std::string::npos; });
    }

    WrapperRig rig;
    ScriptedPrompt prompt;
    std::string title;
    std::vector<std::string> status;
    std::vector<CDialog*> opened;
};

}  // namespace

TEST(BookTypeDialogs, EachFamilysDialogOpensAndWritesWhatTheUserConfirmed)
{
    struct Case {
        const char* preset;
        const char* medium;
        const char* title;
        std::vector<int> clicks;  // radios and buttons in order
        std::vector<int> answers;  // the prompt's answers
        std::function<void(const emu::BookTypeSettings&)> check;
        int textId;  // a text that shows the new setting, and what it shows
        const char* text;
    };
    const auto plusRIs = [](int book) {
        return [book](const emu::BookTypeSettings& books) { EXPECT_EQ(books.InUse(BookKind::PlusR), book); };
    };
    const Case cases[] = {
        {"benq",
         "dvd+r-blank",
         "DVD+R/RW BookType BitSetting (BENQ DRIVES ONLY)",
         {ids::plus::kBookRadios[4], ids::plus::IDC_SET_R_DEFAULT},
         {IDYES},
         plusRIs(0),
         ids::plus::IDC_DISC_BOOK,
         "DVD-ROM"},
        {"ricoh",
         "dvd+rw",
         "DVD+R/RW BookType BitSetting (RICOH TYPE DRIVES ONLY)",
         {ids::plus::kBookRadios[4], ids::plus::IDC_SET_MEDIA},
         {IDYES},
         [](const emu::BookTypeSettings& books) { EXPECT_EQ(books.InUse(BookKind::PlusRw), 9); },
         ids::plus::IDC_DISC_BOOK,
         "DVD-ROM"},
        {"aopen",
         "none",
         "AOpen Bitsetting",
         {ids::aopen::IDC_SET_R_DRIVE},
         {IDYES},
         plusRIs(0),
         ids::aopen::IDC_R_EEPROM,
         "DVD-ROM"},
        {"btc",
         "none",
         "DVD\u00B1R/\u00B1RW Bitsetter (BTC & OEM,  Micro Advantage drives)",
         {ids::btc::IDC_SET_DEFAULT},
         {IDYES},
         [](const emu::BookTypeSettings& books) {
             for (std::size_t kind = 0; kind < emu::kBookKinds; ++kind)
                 EXPECT_EQ(books.kinds[kind].defaultBook, 0);
         },
         ids::btc::IDC_R_LINE,
         "DVD-ROM"},
        {"nec",
         "none",
         "NEC DVD Book Type Setting",
         {ids::nec::kRRadios[2], ids::nec::IDC_SET_TEMP_R},
         {IDYES},
         [](const emu::BookTypeSettings& books) {
             EXPECT_EQ(books.InUse(BookKind::PlusR), 0);
             EXPECT_EQ(books[BookKind::PlusR].defaultBook, 10);
         },
         ids::nec::IDC_R_TEMPORARY,
         "DVD-ROM"},
        {"nu",
         "none",
         "DVDR/RW Dual BookType BitSet ( Nu-Tek / QSI Drives)",
         {ids::nutek::IDC_FLASH_SAVE, ids::nutek::IDC_MINUS_R_GROUP + 1, ids::nutek::IDC_SET_MINUS_R_DEFAULT},
         {IDOK, IDYES, IDYES},
         [](const emu::BookTypeSettings& books) { EXPECT_EQ(books[BookKind::MinusR].defaultBook, 0); },
         ids::nutek::IDC_MINUS_R_FLASH,
         "DVD-ROM"},
        {"lg",
         "none",
         "LG GSA-4120B Book Type Setting",
         {ids::lg::IDC_CHANGE_PLUS},
         {IDYES},
         [](const emu::BookTypeSettings& books) {
             EXPECT_EQ(books.InUse(BookKind::PlusR), 0);
             EXPECT_EQ(books.InUse(BookKind::PlusRw), 0);
             EXPECT_EQ(books.InUse(BookKind::PlusRDl), 14);
         },
         ids::lg::IDC_PLUS_TEXT,
         "DVD-ROM"},
        {"plextor",
         "none",
         "Plextor / TDK Book Type Setting",
         {ids::lg::IDC_CHANGE_PLUS},
         {IDYES},
         [](const emu::BookTypeSettings& books) {
             EXPECT_EQ(books.InUse(BookKind::PlusR), 0);
             EXPECT_EQ(books.InUse(BookKind::PlusRw), 0);
         },
         ids::lg::IDC_PLUS_TEXT,
         "DVD-ROM"},
        {"liteon",
         "dvd+r-blank",
         "Liteon & Sony BookType Bitsetter",
         {ids::liteon::IDC_CHANGE},
         {IDOK, IDYES},
         [](const emu::BookTypeSettings& books) {
             EXPECT_EQ(books.InUse(BookKind::PlusR), 0);
             EXPECT_EQ(books.InUse(BookKind::PlusRDl), 0);
         },
         ids::liteon::IDC_DISC_TYPE,
         "DVD-ROM"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.preset);
        BookTypeRun run(test.preset, test.medium);
        for (const int answer : test.answers)
            run.prompt.Answer(answer);
        std::string shown;
        run.Open([&](CDialog& dialog) {
            for (const int id : test.clicks) {
                QAbstractButton* button = Button(dialog, id);
                ASSERT_NE(button, nullptr) << id;
                ASSERT_TRUE(button->isEnabled()) << id;
                button->click();
            }
            shown = Text(dialog, test.textId);
        });
        EXPECT_EQ(run.title, test.title);
        EXPECT_TRUE(run.Asked("\nDevice: emu0\n"));  // the gate was asked, naming the drive's node
        EXPECT_FALSE(run.Asked("cannot be undone"));  // a book type can be set back
        test.check(run.Books());
        EXPECT_EQ(shown, test.text);
        ASSERT_EQ(run.opened.size(), 2u);  // the window is told of the dialog and of its end
        EXPECT_NE(run.opened[0], nullptr);
        EXPECT_EQ(run.opened[1], nullptr);
    }
}

TEST(BookTypeDialogs, ClosingTheNecDialogWritesTheChangedChoiceOnly)
{
    BookTypeRun run("nec", "none");
    run.prompt.Answer(IDYES);
    run.Open([](CDialog& dialog) {
        Button(dialog, ids::nec::kRwRadios[1])->click();  // DVD+RW as DVD-RW, temporarily
        Button(dialog, IDCANCEL)->click();
    });
    const emu::BookTypeSettings books = run.Books();
    EXPECT_EQ(books.InUse(BookKind::PlusRw), 3);
    EXPECT_EQ(books.InUse(BookKind::PlusR), 10);
    EXPECT_EQ(books.InUse(BookKind::PlusRDl), 14);

    BookTypeRun untouched("nec", "none");
    untouched.Open([](CDialog& dialog) { Button(dialog, IDCANCEL)->click(); });
    EXPECT_TRUE(untouched.prompt.asked.empty());
    for (const auto& entry : untouched.rig.drive->Journal())
        EXPECT_FALSE(entry.Opcode() == 0xC9 && entry.cdb[1] != 0x02);  // reads only
}

TEST(BookTypeDialogs, TheDiscArrivingOrGoingRefreshesTheBenqDialog)
{
    BookTypeRun run("benq", "none");
    run.Open([&](CDialog& dialog) {
        EXPECT_EQ(Text(dialog, ids::plus::IDC_DISC_BOOK), "------");
        EXPECT_FALSE(Button(dialog, ids::plus::IDC_SET_MEDIA)->isEnabled());
        run.rig.Insert(*emu::FindMediumPreset("dvd+rw"));
        dialog.SendMessage(WM_DEVICECHANGE, DBT_DEVICEARRIVAL,
                           KeepDeviceBroadcast({DBT_DEVTYP_VOLUME, "emu0", DBTF_MEDIA}));
        EXPECT_EQ(Text(dialog, ids::plus::IDC_DISC_BOOK), "DVD+RW");
        EXPECT_TRUE(Button(dialog, ids::plus::IDC_SET_MEDIA)->isEnabled());
        // A notice of a drive that came, not of a disc, refreshes nothing.
        run.rig.drive->RemoveMedium();
        dialog.SendMessage(WM_DEVICECHANGE, DBT_DEVICEARRIVAL, KeepDeviceBroadcast({DBT_DEVTYP_VOLUME, "emu0", 0}));
        EXPECT_EQ(Text(dialog, ids::plus::IDC_DISC_BOOK), "DVD+RW");
        dialog.SendMessage(WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE,
                           KeepDeviceBroadcast({DBT_DEVTYP_VOLUME, "emu0", DBTF_MEDIA}));
        EXPECT_EQ(Text(dialog, ids::plus::IDC_DISC_BOOK), "------");
    });
}

TEST(BookTypeDialogs, AMessageTakesTheDialogsPlaceOnADriveWithoutBookTypes)
{
    BookTypeRun run("cd-reader", "none");
    bool opened = false;
    run.Open([&](CDialog&) { opened = true; });
    EXPECT_FALSE(opened);
    ASSERT_EQ(run.prompt.asked.size(), 1u);
    EXPECT_EQ(run.prompt.asked[0].text, "This feature is for some Ricoh/Benq/BTC/Nu/NEC/Liteon DVDRW drives only");
    EXPECT_EQ(run.prompt.asked[0].caption, "Wrong Drive Type");
}
