#include "core/base/Format.h"
#include "core/drive/WrapperRig.h"
#include "core/drive/vendor/RawAccess.h"
#include "core/info/booktype/AopenBookTypeControl.h"
#include "core/info/booktype/BenqBookTypeControl.h"
#include "core/info/booktype/BookTypeControls.h"
#include "core/info/booktype/BtcBookTypeControl.h"
#include "core/info/booktype/LgBookControl.h"
#include "core/info/booktype/LiteonBookTypeControl.h"
#include "core/info/booktype/NecBookTypeControl.h"
#include "core/info/booktype/NuTekBookControl.h"
#include "core/info/booktype/SetBookTypeControl.h"
#include "emu/DrivePresets.h"
#include "scsi/VendorSignatures.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using Cdb = std::vector<std::uint8_t>;
using emu::BookKind;
namespace ids = booktype_ids;

// A book-type dialog's logic on an emulated drive, the user answering from a
// script and the drive in no use.
struct ControlRig : WrapperRig {
    ControlRig(const char* drivePreset, const char* mediumPreset) : WrapperRig(drivePreset, mediumPreset) { Init(); }
    ControlRig(emu::DriveIdentity identity, const char* mediumPreset) : WrapperRig(std::move(identity), mediumPreset)
    {
        Init();
    }
    void Init()
    {
        session.deviceUse = [](const std::string&) { return DeviceUse{}; };
        session.status = [this](const std::string& text) { statusLines.push_back(text); };
        Record().m_bDvdPlusRWrite = 1;
        Record().m_bDvdPlusRwWrite = 1;
    }
    // The questions and messages asked since the last call.
    std::vector<std::string> TakeAsked()
    {
        std::vector<std::string> texts;
        for (const auto& asked : prompt.asked)
            texts.push_back(asked.text);
        prompt.asked.clear();
        return texts;
    }
    // The commands with this opcode since the last call.
    std::vector<Cdb> Sent(std::uint8_t opcode)
    {
        std::vector<Cdb> sent = CdbsOf(opcode);
        drive->ClearJournal();
        return sent;
    }

    ScriptedPrompt prompt;
    BookTypeSession session{context, prompt};
    std::vector<std::string> statusLines;
};

Cdb NecCdb(std::uint8_t b1, std::uint8_t b2, std::uint8_t b3, std::uint8_t b9)
{
    const auto& tag = vendor_signature::kNec;
    return {0xC9, b1, b2, b3, tag[0], tag[1], tag[2], tag[3], tag[4], b9};
}

bool Holds(const std::vector<std::string>& texts, const std::string& part)
{
    return std::any_of(texts.begin(), texts.end(),
                       [&](const std::string& text) { return text.find(part) != std::string::npos; });
}

}  // namespace

TEST(BookTypeControls, AChangeOfTheDiscInTheDriveRefusesEveryDiscButItsOwnKindAndSendsNothing)
{
    struct Case {
        const char* preset;
        const char* medium;
        std::function<void(BookTypeControl&)> press;
        std::function<std::unique_ptr<BookTypeControl>(BookTypeSession&)> make;
        std::uint8_t setOpcode;
        const char* message;  // "" none
        const char* reportLine;  // "" none
        int endResult;  // -1: the dialog stays
    };
    const auto benq = [](BookTypeSession& s) { return std::make_unique<BenqBookTypeControl>(s); };
    const auto ricoh = [](BookTypeSession& s) { return std::make_unique<SetBookTypeControl>(s, 2); };
    const auto aopen = [](BookTypeSession& s) { return std::make_unique<AopenBookTypeControl>(s); };
    const auto btc = [](BookTypeSession& s) { return std::make_unique<BtcBookTypeControl>(s); };
    const auto benqMedia = [](BookTypeControl& c) { static_cast<BenqBookTypeControl&>(c).OnSetCurrentMedia(); };
    const auto ricohMedia = [](BookTypeControl& c) { static_cast<SetBookTypeControl&>(c).OnSetCurrentMedia(); };
    const auto aopenMedia = [](BookTypeControl& c) { static_cast<AopenBookTypeControl&>(c).OnSetMedia(); };
    const auto btcMedia = [](BookTypeControl& c) { static_cast<BtcBookTypeControl&>(c).OnChangeCurrentMedia(); };
    const Case cases[] = {
        {"benq", "none", benqMedia, benq, 0xFE, "For this command a DVD+RW media must be in the drive", "", 1},
        {"benq", "dvd+r", benqMedia, benq, 0xFE, "Cannot alter book type of DVD+R", "Cannot alter book type of DVD+R",
         0},
        {"benq", "dvd-rw", benqMedia, benq, 0xFE, "Incorrect Media", "Cannot use DVD-R/RW drives/media", 0},
        {"benq", "cd-r", benqMedia, benq, 0xFE, "", "Incorrect book type!", 0},
        {"ricoh", "dvd-r", ricohMedia, ricoh, 0xF9, "Cannot alter book type of DVD-R/RW",
         "Cannot use DVD-R/RW drives/media", 0},
        {"ricoh", "dvd+r-dl", ricohMedia, ricoh, 0xF9, "", "Incorrect book type!", 0},
        {"aopen", "dvd+r", aopenMedia, aopen, 0xF9, "Cannot alter book type of DVD+R",
         "Cannot alter book type of DVD+R", 0},
        {"btc", "none", btcMedia, btc, 0xFA, "For this command a DVDRW media must be in the drive", "", 1},
        {"btc", "dvd-r", btcMedia, btc, 0xFA, "Cannot alter book type of written DVD-R", "Cannot use DVD-R media", 0},
        {"btc", "dvd+r", btcMedia, btc, 0xFA, "Cannot alter book type of DVD+R",
         "Cannot alter book type of written DVD+R", 0},
        {"btc", "dvd-rom", btcMedia, btc, 0xFA, "", "Incorrect book type!", 0},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(std::string(test.preset) + " with " + test.medium);
        ControlRig rig(test.preset, test.medium);
        auto control = test.make(rig.session);
        control->OnInitDialog();
        rig.TakeCdbs();
        rig.TakeAsked();
        test.press(*control);
        const auto asked = rig.TakeAsked();
        EXPECT_EQ(asked, *test.message ? std::vector<std::string>{test.message} : std::vector<std::string>{});
        if (*test.reportLine) {
            ASSERT_FALSE(rig.statusLines.empty());
            EXPECT_EQ(rig.statusLines.back(), Format("%-73s", test.reportLine));
        }
        EXPECT_EQ(control->endResult.value_or(-1), test.endResult);
        // No write went out (BTC's FAh state read may, its set FAh 00h not).
        for (const Cdb& cdb : rig.Sent(test.setOpcode))
            EXPECT_TRUE(test.setOpcode == 0xFA && cdb[1] != 0x00);
    }

    // Lite-On: the change needs a DVD+R or DVD+R DL in the drive.
    for (const char* medium : {"dvd+rw", "dvd-r", "none"}) {
        ControlRig rig("liteon", medium);
        LiteonBookTypeControl control(rig.session);
        control.OnInitDialog();
        EXPECT_FALSE(control.IsEnabled(ids::liteon::IDC_CHANGE)) << medium;
    }
    ControlRig liteon("liteon", "dvd+r-blank");
    LiteonBookTypeControl control(liteon.session);
    control.OnInitDialog();
    EXPECT_TRUE(control.IsEnabled(ids::liteon::IDC_CHANGE));
}

TEST(BookTypeControls, ChoicesThatContradictTheButtonAreRefusedBeforeAnythingIsAsked)
{
    ControlRig rig("benq", "dvd+rw");
    BenqBookTypeControl control(rig.session);
    control.OnInitDialog();
    rig.TakeCdbs();
    control.radios[ids::plus::IDC_BOOK_GROUP] = BenqBookTypeControl::kPlusR;
    control.OnSetRwDefault();
    control.OnSetCurrentMedia();
    control.radios[ids::plus::IDC_BOOK_GROUP] = BenqBookTypeControl::kPlusRw;
    control.OnSetRDefault();
    EXPECT_EQ(
        rig.TakeAsked(),
        (std::vector<std::string>{"Cannot set +RW as +R, use +RW or -ROM", "Cannot set +RW as +R, use +RW or -ROM",
                                  "Cannot set +R as +RW, use +R or -ROM"}));
    EXPECT_TRUE(rig.Sent(0xFE).empty());
    EXPECT_FALSE(control.endResult);
}

TEST(BookTypeControls, EveryWriteWaitsForTheGateAndANoOrABusyDeviceSendsNothing)
{
    ControlRig rig("benq", "dvd+r-blank");
    BenqBookTypeControl control(rig.session);
    control.OnInitDialog();
    control.radios[ids::plus::IDC_BOOK_GROUP] = BenqBookTypeControl::kRom;
    rig.TakeCdbs();

    rig.prompt.Answer(IDNO);
    control.OnSetRDefault();
    auto asked = rig.TakeAsked();
    ASSERT_EQ(asked.size(), 1u);
    // The drive named as every gate names it, and a change that can be set back.
    for (const char* part : {"\n\nDevice: emu0\nDrive: BENQ DVD DD DW1640\nMedium: DVD+R\n",
                             "The book type of the next DVD+R burned in this drive will read DVD-ROM."})
        EXPECT_NE(asked[0].find(part), std::string::npos) << part << " in " << asked[0];
    for (const char* part : {"/dev/", "cannot be undone"})
        EXPECT_EQ(asked[0].find(part), std::string::npos) << part << " in " << asked[0];
    EXPECT_TRUE(rig.Sent(0xFE).empty());

    rig.session.deviceUse = [](const std::string&) {
        DeviceUse use;
        use.mounts = {"/dev/sr0 on /media/disc"};
        return use;
    };
    control.OnSetRDefault();
    EXPECT_TRUE(Holds(rig.TakeAsked(), "is mounted"));
    EXPECT_TRUE(rig.Sent(0xFE).empty());
    EXPECT_EQ(rig.drive->VendorState().bookTypes.InUse(BookKind::PlusR), 10);
}

TEST(BookTypeControls, TheRicohDiscChangeGivesTheDefaultBackOnlyWhenItWasRead)
{
    ControlRig rig("ricoh", "dvd+rw");
    SetBookTypeControl control(rig.session, 2);
    control.OnInitDialog();
    control.radios[ids::plus::IDC_BOOK_GROUP] = SetBookTypeControl::kRom;
    rig.TakeCdbs();
    rig.prompt.Answer(IDYES);
    control.OnSetCurrentMedia();
    EXPECT_EQ(rig.Sent(0xF9),
              (std::vector<Cdb>{{0xF9, 14, 0x01, 0xFF, 0, 0, 0, 0, 0, 0}, {0xF9, 12, 0x92, 0xFF, 0, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(rig.drive->VendorState().bookTypes.InUse(BookKind::PlusRw), 9);
    EXPECT_EQ(control.Text(ids::plus::IDC_DISC_BOOK), "DVD-ROM");

    // The default cannot be read: the disc still changes, nothing is
    // written back as the default, and the user knew before.
    rig.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0xFA, {0x04, 0x44, 0x00}, 1));
    control.radios[ids::plus::IDC_BOOK_GROUP] = SetBookTypeControl::kPlusRw;
    rig.prompt.Answer(IDYES);
    control.OnSetCurrentMedia();
    EXPECT_TRUE(Holds(rig.TakeAsked(), "could not be read, so it cannot be set back"));
    EXPECT_EQ(rig.Sent(0xF9), (std::vector<Cdb>{{0xF9, 14, 0x92, 0xFF, 0, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(control.Text(ids::plus::IDC_DISC_BOOK), "DVD+RW");
    EXPECT_FALSE(control.endResult);
}

// F9 0E changed the disc (and with it the drive's DVD+RW setting), F9 0C
// did not give the setting back: tried once more, then the user is told
// what the drive was left with, and the dialog shows it.
TEST(BookTypeControls, TheRicohDiscChangeWhoseDefaultIsNotTakenBackSaysWhatTheDriveWasLeftWith)
{
    struct Case {
        int failures;  // of the set that gives the default back
        int rwDefault;  // what the drive then writes DVD+RW discs as
        const char* told;  // null: nothing
    };
    const Case cases[] = {
        {1, 9, nullptr},
        {2, 0, "the drive did not take its DVD+RW setting back (DVD+RW): it now writes DVD+RW discs as DVD-ROM."},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.failures);
        ControlRig rig("ricoh", "dvd+rw");
        SetBookTypeControl control(rig.session, 2);
        control.OnInitDialog();
        control.radios[ids::plus::IDC_BOOK_GROUP] = SetBookTypeControl::kRom;
        rig.TakeCdbs();
        rig.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0xF9, {0x04, 0x44, 0x00}, test.failures, 1));
        rig.prompt.Answer(IDYES);
        control.OnSetCurrentMedia();
        const Cdb toRom = {0xF9, 14, 0x01, 0xFF, 0, 0, 0, 0, 0, 0};
        const Cdb back = {0xF9, 12, 0x92, 0xFF, 0, 0, 0, 0, 0, 0};
        EXPECT_EQ(rig.Sent(0xF9), (std::vector<Cdb>{toRom, back, back}));
        EXPECT_EQ(rig.drive->VendorState().bookTypes.InUse(BookKind::PlusRw), test.rwDefault);
        const auto asked = rig.TakeAsked();
        ASSERT_EQ(asked.size(), test.told ? 2u : 1u);  // the gate, then what happened
        if (test.told) {
            EXPECT_NE(asked[1].find(test.told), std::string::npos) << asked[1];
            EXPECT_EQ(rig.statusLines.back(), "DVD+RW default left at DVD-ROM");
        }
        EXPECT_FALSE(Holds(asked, "does not support bitsetting"));
        // The dialog stays, showing the disc and the drive as they are now.
        EXPECT_FALSE(control.endResult);
        EXPECT_EQ(control.Text(ids::plus::IDC_DISC_BOOK), "DVD-ROM");
        EXPECT_EQ(control.Text(ids::plus::IDC_PLUS_RW_SETTING), test.rwDefault == 9 ? "DVD+RW" : "DVD-ROM");
    }
}

TEST(BookTypeControls, TheGenerationDecidesTheRicohTargets)
{
    ControlRig first("ricoh", "none");
    SetBookTypeControl one(first.session, 1);
    one.OnInitDialog();
    EXPECT_TRUE(one.IsEnabled(ids::plus::IDC_SET_RW_DEFAULT));
    EXPECT_FALSE(one.IsEnabled(ids::plus::IDC_SET_R_DEFAULT));
    first.prompt.Answer(IDYES);
    one.OnSetRwDefault();
    EXPECT_EQ(first.Sent(0xF9), (std::vector<Cdb>{{0xF9, 1, 0x92, 0x00, 0, 0, 0, 0, 0, 0}}));
    one.OnSetRDefault();
    EXPECT_EQ(first.TakeAsked().back(), "+R is not applicable to this unit");
    EXPECT_EQ(first.statusLines.back(), "Wrong media type for drive");
    EXPECT_EQ(one.endResult, 1);
    EXPECT_TRUE(first.Sent(0xF9).empty());

    ControlRig none("ricoh", "none");
    SetBookTypeControl zero(none.session, 0);
    zero.OnInitDialog();
    zero.OnSetRwDefault();
    EXPECT_EQ(none.TakeAsked(), (std::vector<std::string>{"Drive is not a 1st or 2nd Generation DVD+RW"}));
    EXPECT_EQ(zero.endResult, 1);
}

TEST(BookTypeControls, AWriteTheKernelRefusesAsksForRawAccessNotForAnotherDrive)
{
    ControlRig rig("ricoh", "none");
    SetBookTypeControl control(rig.session, 2);
    control.OnInitDialog();
    rig.drive->AddErrorRule(emu::ErrorRule::Refusal(emu::ErrorRule::Kind::PermissionDenied, 0xF9, 0xF9));
    rig.prompt.Answer(IDYES);
    control.OnSetRwDefault();
    const auto asked = rig.TakeAsked();
    ASSERT_EQ(asked.size(), 2u);  // the gate, then why it failed
    EXPECT_EQ(asked[1].rfind(RawAccessNeeded(kBookTypeActivity), 0), 0u) << asked[1];
    EXPECT_NE(asked[1].find("RicohSetBookType (F9 0C 92 FF"), std::string::npos) << asked[1];
    EXPECT_FALSE(Holds(asked, "does not support bitsetting"));
    EXPECT_FALSE(Holds(rig.statusLines, "May not be a Ricoh drive"));

    ControlRig nu("nu", "none");
    NuTekBookControl nuControl(nu.session);
    nuControl.OnInitDialog();
    nu.drive->AddErrorRule(emu::ErrorRule::Refusal(emu::ErrorRule::Kind::PermissionDenied, 0xF3, 0xF3));
    nu.prompt.Answer(IDYES);
    nuControl.OnSetDefaultBook(NuTekBookControl::kPlusRw);
    EXPECT_TRUE(Holds(nu.TakeAsked(), "raw device access"));
    EXPECT_EQ(nuControl.endResult, 1);
}

TEST(BookTypeControls, TheNecDialogShowsEachSettingWhereItBelongsAndChoosesWhatTheDriveHolds)
{
    emu::DriveIdentity identity = *emu::FindDrivePreset("nec");
    identity.vendorSettings.bookTypes[BookKind::PlusR] = {10, 2, true};  // temporary DVD-R
    identity.vendorSettings.bookTypes[BookKind::PlusRDl] = {0, 14, false};  // flash DVD-ROM
    identity.vendorSettings.nec.flashWritesLeft = 600;
    ControlRig rig(identity, "none");
    NecBookTypeControl control(rig.session);
    control.OnInitDialog();
    using namespace ids::nec;
    EXPECT_EQ(control.Text(IDC_R_DEFAULT), "DVD+R");
    EXPECT_EQ(control.Text(IDC_R_TEMPORARY), "DVD-R");
    EXPECT_EQ(control.Text(IDC_DL_DEFAULT), "DVD-ROM");
    EXPECT_EQ(control.Text(IDC_DL_TEMPORARY), "DVD+R DL");
    EXPECT_EQ(control.Text(IDC_RW_TEMPORARY), "DVD+RW");
    EXPECT_EQ(control.Radio(IDC_R_GROUP), 1);  // "DVD-R", as the temporary setting reads
    EXPECT_EQ(control.Radio(IDC_DL_GROUP), 0);
    EXPECT_EQ(control.Radio(IDC_RW_GROUP), 0);
    EXPECT_EQ(control.Radio(IDC_USE_GROUP), 0);
    EXPECT_EQ(control.Text(IDC_CHANGES_LEFT), "88");  // 600 cut to its low nine bits
    EXPECT_EQ(control.Text(IDC_VERSION), "Found Firmware Command Vers 4 - Supports DVD+R/RW/DL Bitsetting");
    EXPECT_TRUE(control.IsEnabled(IDC_SET_DEFAULT_RW));

    struct Version {
        int version;
        const char* text;
        bool r;
        bool rw;
        bool use;
    };
    const Version versions[] = {
        {1, "Found Firmware Command Vers 1 - Supports DVD+RDL Flash Bitset only", false, false, false},
        {3, "Found Firmware Command Vers 3 - Supports DVD+R/DL Bitsetting", true, false, true},
        {7, "", false, false, true},
    };
    for (const Version& test : versions) {
        SCOPED_TRACE(test.version);
        emu::DriveIdentity older = *emu::FindDrivePreset("nec");
        older.vendorSettings.nec.commandVersion = static_cast<std::uint16_t>(test.version);
        ControlRig olderRig(older, "none");
        NecBookTypeControl olderControl(olderRig.session);
        olderControl.OnInitDialog();
        EXPECT_EQ(olderControl.Text(IDC_VERSION), test.text);
        EXPECT_EQ(olderControl.IsEnabled(IDC_SET_TEMP_R), test.r);
        EXPECT_EQ(olderControl.IsEnabled(kRRadios[0]), test.r);
        EXPECT_EQ(olderControl.IsEnabled(IDC_SET_DEFAULT_RW), test.rw);
        EXPECT_EQ(olderControl.IsEnabled(kUseRadios[1]), test.use);
        EXPECT_TRUE(olderControl.IsEnabled(IDC_SET_TEMP_DL));
    }
}

TEST(BookTypeControls, ClosingTheNecDialogWritesOnlyWhatTheUserChanged)
{
    using namespace ids::nec;
    ControlRig rig("nec", "dvd+r-blank");
    NecBookTypeControl control(rig.session);
    control.OnInitDialog();
    rig.TakeCdbs();
    control.OnClosing();  // nothing chosen: nothing written, nothing asked
    EXPECT_TRUE(rig.TakeAsked().empty());
    EXPECT_TRUE(rig.Sent(0xC9).empty());
    EXPECT_EQ(rig.drive->VendorState().bookTypes.InUse(BookKind::PlusR), 10);

    control.radios[IDC_R_GROUP] = 2;  // "DVD-ROM" for DVD+R, temporarily
    rig.prompt.Answer(IDYES);
    control.OnClosing();
    const auto written = rig.Sent(0xC9);
    ASSERT_GE(written.size(), 2u);
    EXPECT_EQ(written[0], NecCdb(3, 0, 0x00, 0));  // the temporary DVD+R, then its use
    EXPECT_EQ(written[1], NecCdb(4, 0, 0, 0));
    EXPECT_TRUE(std::none_of(written.begin() + 2, written.end(), [](const Cdb& cdb) { return cdb[1] != 0x02; }));
    EXPECT_EQ(rig.drive->VendorState().bookTypes.InUse(BookKind::PlusR), 0);
    EXPECT_EQ(rig.drive->VendorState().bookTypes.InUse(BookKind::PlusRw), 9);
    EXPECT_EQ(rig.drive->VendorState().bookTypes.InUse(BookKind::PlusRDl), 14);
    EXPECT_EQ(rig.drive->VendorState().bookTypes[BookKind::PlusR].defaultBook, 10);

    // The flash settings chosen: each kind uses its flash setting again.
    control.radios[IDC_USE_GROUP] = 1;
    rig.prompt.Answer(IDYES);
    control.OnClosing();
    const auto selects = rig.Sent(0xC9);
    EXPECT_EQ(std::vector<Cdb>(selects.begin(), selects.begin() + 3),
              (std::vector<Cdb>{NecCdb(4, 2, 0, 1), NecCdb(4, 0, 0, 1), NecCdb(4, 1, 0, 1)}));
    EXPECT_EQ(rig.drive->VendorState().bookTypes.InUse(BookKind::PlusR), 10);
}

TEST(BookTypeControls, TheNecTemporaryChoiceIsWrittenWithItsOwnSelection)
{
    using namespace ids::nec;
    ControlRig rig("nec", "none");
    NecBookTypeControl control(rig.session);
    control.OnInitDialog();
    rig.TakeCdbs();
    control.radios[IDC_DL_GROUP] = 1;  // DVD+R DL as DVD-ROM
    rig.prompt.Answer(IDYES);
    control.OnClosing();
    const auto sent = rig.Sent(0xC9);
    ASSERT_GE(sent.size(), 2u);
    EXPECT_EQ(sent[0], NecCdb(3, 2, 0x00, 0));
    EXPECT_EQ(sent[1], NecCdb(4, 2, 0, 0));
}

TEST(BookTypeControls, NecDefaultWritesAreRationed)
{
    using namespace ids::nec;
    struct Case {
        int left;
        const char* asked;
        bool written;
    };
    const Case cases[] = {
        {0, "Setting not permitted,  your flash ram is in danger of failing.  Use Temporary setting", false},
        {1, "Do you know this is very last time you can set default mode ever? Continue?", true},
        {5, "Setting default can only be done 5 more times.  Do you want to continue?", true},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.left);
        emu::DriveIdentity identity = *emu::FindDrivePreset("nec");
        identity.vendorSettings.nec.flashWritesLeft = static_cast<std::uint16_t>(test.left);
        ControlRig rig(identity, "none");
        NecBookTypeControl control(rig.session);
        control.OnInitDialog();
        control.radios[IDC_RW_GROUP] = 2;
        rig.prompt.Answer(IDYES);  // the ration's question
        rig.prompt.Answer(IDYES);  // the gate
        control.OnSetDefault(NecBookTypeControl::kPlusRw);
        const auto asked = rig.TakeAsked();
        ASSERT_FALSE(asked.empty());
        EXPECT_EQ(asked[0], test.asked);
        EXPECT_EQ(rig.drive->VendorState().bookTypes[BookKind::PlusRw].defaultBook, test.written ? 0 : 9);
        EXPECT_EQ(control.m_nChangesRemaining, test.written ? test.left - 1 : 0);
    }
}

TEST(BookTypeControls, NuTekDirectChangesTakeTheirOwnGroupsValues)
{
    using namespace ids::nutek;
    ControlRig rig("nu", "dvd-rw");
    NuTekBookControl control(rig.session);
    control.OnInitDialog();
    EXPECT_EQ(control.Text(IDC_MINUS_RW_MEDIA), "DVD-RW");
    EXPECT_EQ(control.Text(IDC_R_FLASH), "DVD-ROM");
    EXPECT_EQ(control.Text(IDC_RW_FLASH), "DVD+RW");
    EXPECT_EQ(control.Text(IDC_RW_DRAM), "DVD-ROM");
    rig.TakeCdbs();
    control.radios[IDC_MINUS_R_GROUP] = 1;  // the -R group's choice does not count for the -RW disc
    control.radios[IDC_MINUS_RW_GROUP] = 1;
    rig.prompt.Answer(IDYES);
    control.OnSetMinusRwDirect();
    EXPECT_EQ(rig.Sent(0xF3).front(), (Cdb{0xF3, 0x0E, 0x70, 0x88, 0x08, 0, 0, 0, 0, 0, 0, 0x5A}));
    EXPECT_EQ(control.Text(IDC_MINUS_RW_MEDIA), "N/A");
    control.radios[IDC_MINUS_RW_GROUP] = 0;
    rig.prompt.Answer(IDYES);
    control.OnSetMinusRwDirect();
    EXPECT_EQ(rig.Sent(0xF3).front(), (Cdb{0xF3, 0x0E, 0x70, 0x80, 0x08, 0, 0, 0, 0, 0, 0, 0x5A}));

    control.OnSetPlusRwDirect();
    EXPECT_EQ(rig.TakeAsked().back(), "Wrong Media for function, +RW expected");

    // Firmware BX02 is refused before anything is asked.
    emu::DriveIdentity old = *emu::FindDrivePreset("nu");
    old.revision = "BX02";
    ControlRig oldRig(old, "none");
    NuTekBookControl oldControl(oldRig.session);
    oldControl.OnInitDialog();
    oldRig.TakeCdbs();
    oldControl.OnSetDefaultBook(NuTekBookControl::kPlusR);
    EXPECT_EQ(oldRig.TakeAsked(),
              (std::vector<std::string>{"Wrong firmware revision,  you must upgrade to at least BX03 firmware"}));
    EXPECT_TRUE(oldRig.Sent(0xF3).empty());
}

TEST(BookTypeControls, TheBtcAndLgTextsShowOnlyWhatWasRead)
{
    // A drive answering "normal" with a disc of none of the kinds.
    ControlRig btc("btc", "cd-r");
    BtcBookTypeControl btcControl(btc.session);
    btcControl.OnInitDialog();
    EXPECT_EQ(btcControl.Text(ids::btc::IDC_R_LINE), "------");
    EXPECT_EQ(btcControl.Text(ids::btc::IDC_RW_LINE), "------");
    EXPECT_EQ(btcControl.Radio(ids::btc::IDC_MODE_GROUP), BtcBookTypeControl::kRom);

    ControlRig lg("lg", "none");
    lg.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0xFA, {0x04, 0x44, 0x00}, 1));
    LgBookControl lgControl(lg.session, false);
    lgControl.OnInitDialog();
    EXPECT_EQ(lgControl.Text(ids::lg::IDC_PLUS_TEXT), "N/A");
    lgControl.Refresh();
    EXPECT_EQ(lgControl.Text(ids::lg::IDC_PLUS_TEXT), "DVD+R/RW");
    EXPECT_EQ(lgControl.Text(ids::lg::IDC_DL_TEXT), "DVD+RDL");
}
