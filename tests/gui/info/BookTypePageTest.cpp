#include "../app/MainWindowRig.h"
#include "core/app/DeviceBroadcast.h"
#include "core/info/booktype/BookTypeControls.h"
#include "gui/info/booktype/BookTypePage.h"
#include "support/gui/ScopedModalHook.h"

#include <QAbstractButton>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>

namespace {

namespace ids = booktype_ids;

// The main window on one emulated drive of a family; the book-type dialog
// the Book button opens is answered by `use`, the gate finds the device free.
struct BookEntryRig : MainWindowRig {
    BookEntryRig(const char* drive, const char* medium) : MainWindowRig(Presets{{drive, medium}})
    {
        Start();
        PageObject<BookTypePage>().deviceUse = [](const std::string&) { return DeviceUse{}; };
        modalHook.Set([this](CDialog& window) {
            title = window.windowTitle().toStdString();
            open = PageObject<BookTypePage>().OpenDialog() == &window;
            if (use)
                use(window);
            return window.ModalResult();
        });
    }

    void PressBook()
    {
        dialog->SendCommand(IDC_BOOKTYPE);
        Settle();
    }
    static void Click(CDialog& window, int id)
    {
        auto* button = window.findChild<QAbstractButton*>(QString("id_%1").arg(id));
        ASSERT_NE(button, nullptr) << id;
        ASSERT_TRUE(button->isEnabled()) << id;
        button->click();
    }
    static std::string Text(CDialog& window, int id)
    {
        auto* edit = window.findChild<QLineEdit*>(QString("id_%1").arg(id));
        return edit ? edit->text().toStdString() : std::string();
    }

    std::optional<std::string> title;  // of the dialog that opened
    bool open = false;  // the page knew the dialog while it ran
    std::function<void(CDialog&)> use;
    ScopedModalHook modalHook;
};

}  // namespace

TEST(BookTypeEntry, TheBookButtonSetsTheDriveDefaultOfABenqDrive)
{
    BookEntryRig rig("benq", "dvd+r-blank");
    rig.use = [&](CDialog& dialog) {
        rig.prompt.Answer(IDYES);  // the confirmation
        rig.Click(dialog, ids::plus::kBookRadios[4]);  // "DVD-ROM"
        rig.Click(dialog, ids::plus::IDC_SET_R_DEFAULT);
    };
    rig.PressBook();
    EXPECT_EQ(rig.title, "DVD+R/RW BookType BitSetting (BENQ DRIVES ONLY)");
    EXPECT_TRUE(rig.open);
    EXPECT_EQ(rig.PageObject<BookTypePage>().OpenDialog(), nullptr);  // forgotten once closed
    EXPECT_EQ(rig.drives[0]->VendorState().bookTypes.InUse(emu::BookKind::PlusR), 0);
    // The gate named the drive before the write.
    EXPECT_TRUE(std::any_of(rig.prompt.asked.begin(), rig.prompt.asked.end(),
                            [](const auto& asked) { return asked.text.find("emu0") != std::string::npos; }));
    for (const auto& asked : rig.prompt.asked)
        EXPECT_EQ(asked.text.find("not available"), std::string::npos) << asked.text;
}

TEST(BookTypeEntry, TheOpenDialogHearsOfTheDiscTheMainWindowIsToldOf)
{
    BookEntryRig rig("benq", "none");
    std::string before;
    std::string after;
    rig.use = [&](CDialog& dialog) {
        before = BookEntryRig::Text(dialog, ids::plus::IDC_DISC_BOOK);
        rig.drives[0]->InsertMedium(*emu::FindMediumPreset("dvd+rw"));
        rig.dialog->SendMessage(WM_DEVICECHANGE, DBT_DEVICEARRIVAL,
                                KeepDeviceBroadcast({DBT_DEVTYP_VOLUME, "emu0", DBTF_MEDIA}));
        after = BookEntryRig::Text(dialog, ids::plus::IDC_DISC_BOOK);
    };
    rig.PressBook();
    EXPECT_EQ(before, "------");
    EXPECT_EQ(after, "DVD+RW");
    // Closed: a later notice goes nowhere.
    rig.dialog->SendMessage(WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE,
                            KeepDeviceBroadcast({DBT_DEVTYP_VOLUME, "emu0", DBTF_MEDIA}));
    rig.Settle();
}

TEST(BookTypeEntry, RefusedWhileATestRunsOrAnotherOperationHoldsTheDrive)
{
    BookEntryRig rig("benq", "dvd+r-blank");
    std::vector<DriveHolder> cases = TestsThatHoldTheDrive();
    cases.push_back(ClaimHolder("compare", ChannelUse::Compare));
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        rig.prompt.asked.clear();
        rig.drives[0]->ClearJournal();
        test.hold(*rig.dialog, true);
        rig.PressBook();
        test.hold(*rig.dialog, false);
        EXPECT_FALSE(rig.title);
        EXPECT_TRUE(rig.drives[0]->Journal().empty());  // not even a probe
        ASSERT_EQ(rig.prompt.asked.size(), 1u);
        EXPECT_EQ(rig.prompt.asked[0].text, "You must stop the test first");
        EXPECT_EQ(rig.prompt.asked[0].caption, "Error Test Running!");
    }
}

TEST(BookTypeEntry, ADriveWithoutBookTypesGetsTheMessageInsteadOfADialog)
{
    BookEntryRig rig("cd-reader", "none");
    rig.PressBook();
    EXPECT_FALSE(rig.title);
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, "This feature is for some Ricoh/Benq/BTC/Nu/NEC/Liteon DVDRW drives only");
    EXPECT_EQ(rig.prompt.asked[0].caption, "Wrong Drive Type");
}
