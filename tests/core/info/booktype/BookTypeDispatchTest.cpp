#include "core/drive/WrapperRig.h"
#include "core/drive/vendor/RawAccess.h"
#include "core/info/booktype/BookTypeDispatch.h"
#include "core/info/booktype/BookTypeSession.h"
#include "emu/DrivePresets.h"

#include <gtest/gtest.h>

namespace {

using Cdb = std::vector<std::uint8_t>;

emu::DriveIdentity Rebadged(const char* preset, const char* vendor, const char* product)
{
    emu::DriveIdentity identity = *emu::FindDrivePreset(preset);
    identity.vendor = vendor;
    identity.product = product;
    return identity;
}

emu::DriveIdentity Refusing(const char* preset, std::uint8_t opcode)
{
    emu::DriveIdentity identity = *emu::FindDrivePreset(preset);
    identity.refusals.unknownCommands.push_back(opcode);
    return identity;
}

bool SentOpcode(const std::vector<Cdb>& cdbs, std::uint8_t opcode)
{
    return std::any_of(cdbs.begin(), cdbs.end(), [&](const Cdb& cdb) { return cdb[0] == opcode; });
}

}  // namespace

TEST(BookTypeDispatch, EachDriveGetsItsFamilysDialogOrTheMessageInItsPlace)
{
    struct Case {
        const char* name;
        emu::DriveIdentity identity;
        BookTypeDialog dialog;
        const char* message;  // with no dialog
        const char* caption;
        int generation;
    };
    const auto preset = [](const char* name) { return *emu::FindDrivePreset(name); };
    const Case cases[] = {
        {"Pioneer", preset("pioneer"), BookTypeDialog::None, "Pioneer drives do not support bitsetting", "", 0},
        {"Piodata", Rebadged("ricoh", "PIODATA", "DVD-RW  DVR-112"), BookTypeDialog::None,
         "This Piodata drive has +R bitsetting fixed at -ROM", "", 0},
        {"LG", preset("lg"), BookTypeDialog::Lg, "", "", 0},
        {"LG whose firmware refuses the read", Refusing("lg", 0xFA), BookTypeDialog::None,
         "Drive or firmware does not support bitsetting, or wrong firmware", "", 0},
        {"Plextor PX-716A", preset("plextor"), BookTypeDialog::PlextorTdk, "", "", 0},
        {"TDK", Rebadged("plextor", "TDK", "DVDRW880N"), BookTypeDialog::PlextorTdk, "", "", 0},
        {"Plextor PX-708A of older firmware", Refusing("plextor", 0xE9), BookTypeDialog::None,
         "Drive or firmware revision does not support bitsetting (1.08+ for 708A & 1.05+ for 712A)", "", 0},
        {"NEC", preset("nec"), BookTypeDialog::Nec, "", "", 0},
        {"Optiarc", preset("optiarc"), BookTypeDialog::Nec, "", "", 0},
        {"iHAS answers the C9h query too", preset("ihas"), BookTypeDialog::Nec, "", "", 0},
        {"Lite-On", preset("liteon"), BookTypeDialog::Liteon, "", "", 0},
        {"Nu/QSI", preset("nu"), BookTypeDialog::NuTek, "", "", 0},
        {"generic F3 drive of Nu/QSI make", preset("generic-f3"), BookTypeDialog::NuTek, "", "", 0},
        {"BTC", preset("btc"), BookTypeDialog::Btc, "", "", 0},
        {"BenQ", preset("benq"), BookTypeDialog::Benq, "", "", 0},
        {"AOpen DUW1608", preset("aopen"), BookTypeDialog::Aopen, "", "", 0},
        {"Ricoh", preset("ricoh"), BookTypeDialog::SetBookType, "", "", 2},
        {"a DVD writer of no family", preset("dvd-writer"), BookTypeDialog::None,
         "It seems your drive does not support bitsetting", "", 0},
        {"Samsung", preset("samsung"), BookTypeDialog::None, "It seems your drive does not support bitsetting", "", 0},
        {"a drive that writes no DVD+", preset("cd-reader"), BookTypeDialog::None,
         "This feature is for some Ricoh/Benq/BTC/Nu/NEC/Liteon DVDRW drives only", "Wrong Drive Type", 0},
        {"a DVD reader", preset("dvd-reader-strict"), BookTypeDialog::None,
         "This feature is for some Ricoh/Benq/BTC/Nu/NEC/Liteon DVDRW drives only", "Wrong Drive Type", 0},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        WrapperRig rig(test.identity, "dvd+r");
        const BookTypeChoice choice = ChooseBookTypeDialog(rig.context);
        EXPECT_EQ(choice.dialog, test.dialog);
        EXPECT_EQ(choice.message, test.message);
        EXPECT_EQ(choice.caption, test.caption);
        EXPECT_EQ(choice.generation, test.generation);
        // The probes only read: nothing a dialog would write went out.
        const auto cdbs = rig.TakeCdbs();
        for (const std::uint8_t write : {0xFC, 0xFE, 0xF9})
            EXPECT_FALSE(SentOpcode(cdbs, write)) << int{write};
    }
}

TEST(BookTypeDispatch, IdentitiesThatSettleTheFamilyAreNotProbedFurther)
{
    WrapperRig pioneer("pioneer", "none");
    ChooseBookTypeDialog(pioneer.context);
    EXPECT_TRUE(pioneer.TakeCdbs().empty());

    // The TDK DVDRW1616N is probed as any other drive, never sent the Plextor read.
    WrapperRig tdk(Rebadged("plextor", "TDK", "DVDRW1616N"), "none");
    EXPECT_EQ(ChooseBookTypeDialog(tdk.context).message, "It seems your drive does not support bitsetting");
    EXPECT_FALSE(SentOpcode(tdk.TakeCdbs(), 0xE9));

    // A Lite-On drive that knows the newer status is told about it first.
    WrapperRig liteon("liteon", "none");
    const BookTypeChoice choice = ChooseBookTypeDialog(liteon.context);
    EXPECT_EQ(choice.notices,
              (std::vector<std::string>{"Newer commands are currently being implemented, check next version"}));
}

// BTC drives are known by the probe a BTC drive answers (FAh 00h ... AAh
// FFh without data), whatever their identity; the drives that read FAh for
// their own queries are told apart before it and never sent it.
TEST(BookTypeDispatch, BtcDrivesAreKnownByTheirProbeAndOnlyTheyGetIt)
{
    const Cdb btcProbe = {0xFA, 0, 0, 0, 0x01, 0, 0, 0, 0, 0, 0xAA, 0xFF};
    struct Case {
        emu::DriveIdentity identity;
        BookTypeDialog dialog;
        bool probed;
    };
    const Case cases[] = {
        {*emu::FindDrivePreset("btc"), BookTypeDialog::Btc, true},
        {Rebadged("btc", "MADDOG", "DVD+-RW MD-16X"), BookTypeDialog::Btc, true},
        {*emu::FindDrivePreset("ricoh"), BookTypeDialog::SetBookType, false},
        {*emu::FindDrivePreset("aopen"), BookTypeDialog::Aopen, false},
        {*emu::FindDrivePreset("lg"), BookTypeDialog::Lg, false},
        {*emu::FindDrivePreset("dvd-writer"), BookTypeDialog::None, true},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.identity.vendor + " " + test.identity.product);
        WrapperRig rig(test.identity, "dvd+rw");
        rig.drive->SetStrictCdbLength(false);  // as a drive on an ATAPI bus, which takes any length
        EXPECT_EQ(ChooseBookTypeDialog(rig.context).dialog, test.dialog);
        const auto cdbs = rig.TakeCdbs();
        EXPECT_EQ(std::count(cdbs.begin(), cdbs.end(), btcProbe), test.probed ? 1 : 0);
        EXPECT_FALSE(SentOpcode(cdbs, 0x95));
    }
}

TEST(BookTypeDispatch, AProbeTheKernelRefusesAsksForRawAccessInsteadOfDenyingTheDrive)
{
    struct Case {
        const char* preset;
        std::uint8_t first;
        std::uint8_t last;
        const char* probe;
    };
    const Case cases[] = {
        {"benq", 0xC0, 0xFF, "VendorProbeFF09"},  // every vendor command
        {"lg", 0xFA, 0xFA, "VendorFARead"},      {"plextor", 0xE9, 0xE9, "PlextorE9Read"},
        {"nec", 0xC9, 0xC9, "NecQueryBookType"}, {"ricoh", 0xFA, 0xFA, "RicohQueryBookType00"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.preset);
        WrapperRig rig(test.preset, "dvd+r");
        rig.drive->AddErrorRule(emu::ErrorRule::Refusal(emu::ErrorRule::Kind::PermissionDenied, test.first, test.last));
        const BookTypeChoice choice = ChooseBookTypeDialog(rig.context);
        EXPECT_EQ(choice.dialog, BookTypeDialog::None);
        EXPECT_EQ(choice.message.rfind(RawAccessNeeded(kBookTypeActivity), 0), 0u) << choice.message;
        EXPECT_NE(choice.message.find(test.probe), std::string::npos) << choice.message;
        EXPECT_EQ(choice.message.find("not support"), std::string::npos);
    }
}
