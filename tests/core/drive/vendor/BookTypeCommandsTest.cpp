#include "core/drive/WrapperRig.h"
#include "emu/DrivePresets.h"
#include "emu/MediaPresets.h"
#include "scsi/VendorSignatures.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>

namespace {

using Cdb = std::vector<std::uint8_t>;
using emu::BookKind;

const auto& kNecTag = vendor_signature::kNec;
const auto& kLgTag = vendor_signature::kLgBookType;

Cdb NecCdb(std::uint8_t b1, std::uint8_t b2, std::uint8_t b3, std::uint8_t b9)
{
    return {0xC9, b1, b2, b3, kNecTag[0], kNecTag[1], kNecTag[2], kNecTag[3], kNecTag[4], b9};
}

Cdb BenqServiceCdb(std::uint8_t sub)
{
    const auto& tag = vendor_signature::kBenq;
    return {0xFD, sub, tag[0], tag[1], tag[2], tag[3], 0, 0, 0, 0, 0, 0};
}

const Cdb kTur = {0x00, 0, 0, 0, 0, 0};
const Cdb kBtcRead = {0xFA, 0x01, 0, 0, 0, 0, 0, 0x04, 0, 0, 0xAA, 0xFF};
const Cdb kLgRead = {0xFA, 0, 0, 0, 0, 0, 0, 0, 0x04, 0, 0, 0};

// The book type the drive reports for its disc: READ DISC STRUCTURE 00h,
// the high nibble of the format's byte 0; -1 when refused.
int DiscBookType(WrapperRig& rig)
{
    std::vector<std::uint8_t> answer(2052, 0);
    const Cdb cdb = {0xAD, 0, 0, 0, 0, 0, 0, 0x00, 0x08, 0x04, 0, 0};
    const auto result = rig.drive->Execute(cdb.data(), cdb.size(), DataDirection::In, answer.data(), answer.size());
    rig.drive->ClearJournal();
    return result.outcome == emu::Outcome::Good ? answer[4] >> 4 : -1;
}

emu::MediumDescription BlankOf(const char* preset)
{
    emu::MediumDescription disc = *emu::FindMediumPreset(preset);
    disc.status = emu::DiscStatus::Blank;
    disc.capacityBlocks = 0;
    return disc;
}

// One family's DVD+R setting: how it is read (its own encoding), what that
// reads for "as the disc is" and for DVD-ROM, the set to DVD-ROM with the
// CDBs it sends, and the set back.
struct FamilyBook {
    const char* preset;
    std::function<int(DriveContext&)> read;
    int own;
    int rom;
    std::function<VendorReply(DriveContext&)> setRom;
    std::vector<Cdb> setRomCdbs;
    std::function<VendorReply(DriveContext&)> restore;
};

const std::vector<FamilyBook>& Families()
{
    // clang-format off
    static const std::vector<FamilyBook> families = {
        {"benq", [](DriveContext& c) { return c.benq.BenqQueryBookType10().value; }, 10, 0,
         [](DriveContext& c) { return c.benq.BenqSetBookType(0x05, 0x01); },
         {BenqServiceCdb(0xF1), {0xFE, 0x05, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0}, BenqServiceCdb(0xF2)},
         [](DriveContext& c) { return c.benq.BenqSetBookType(0x05, 0xA1); }},
        {"ricoh", [](DriveContext& c) { return c.ricoh.RicohQueryBookType10().value; }, 0xA0, 0x00,
         [](DriveContext& c) { return c.ricoh.RicohSetBookType(20, 0x01); },
         {{0xF9, 20, 0x01, 0xFF, 0, 0, 0, 0, 0, 0}},
         [](DriveContext& c) { return c.ricoh.RicohSetBookType(20, 0xA1); }},
        {"aopen", [](DriveContext& c) { return c.ricoh.VendorFAQuery10().value; }, 0xA0, 0x00,
         [](DriveContext& c) { return c.ricoh.VendorF9Set(20, 0, 0x0F, 0xFF); },
         {{0xF9, 20, 0x0F, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0}},
         [](DriveContext& c) { return c.ricoh.VendorF9Set(20, 0, 0xAF, 0xFF); }},
        {"btc", [](DriveContext& c) { return c.btc.VendorFA01Read().value; }, 0x00, 0x11,
         [](DriveContext& c) { return c.btc.VendorFA00Write(1, 1, 0); },
         {kBtcRead, {0xFA, 0x00, 1, 1, 0, 0, 0, 0, 0, 0, 0xAA, 0xFF}},
         [](DriveContext& c) { return c.btc.VendorFA00Write(0, 0, 1); }},
        {"nec", [](DriveContext& c) { return c.nec.NecQueryBookType(0, 0).value; }, 0xA0, 0x00,
         [](DriveContext& c) { return c.nec.NecC9Command(1, 0, 0x00, 0); },
         {NecCdb(0x01, 0, 0x00, 0)},
         [](DriveContext& c) { return c.nec.NecC9Command(1, 0, 0xA0, 0); }},
        {"generic-f3", [](DriveContext& c) { return c.nuQsi.NuQsiQueryF30E().value & 0x01; }, 0, 1,
         [](DriveContext& c) { return c.nuQsi.NuQsiSetBookType(0x11, 0, 0); },
         {{0xF3, 0x0E, 0x70, 0x11, 0, 0, 0, 0, 0, 0, 0, 0}},
         [](DriveContext& c) { return c.nuQsi.NuQsiSetBookType(0x10, 0, 0); }},
        {"liteon", [](DriveContext& c) { return c.liteon.LiteonQueryBookType().value; }, 0, 1,
         [](DriveContext& c) { return c.liteon.LiteonSetBookType(1, 1); },
         {kTur, {0xDF, 0, 0x0F, 0x01, 0x01, 0, 0, 0x80, 0, 0, 0, 0}},
         [](DriveContext& c) { return c.liteon.LiteonSetBookType(1, 0); }},
        {"plextor", [](DriveContext& c) {
             std::array<std::uint8_t, 8> answer{};
             return c.plextor.PlextorE9Read(answer.data(), 8, 0x0A).value == 0 ? int{answer[2]} : -1; }, 0, 1,
         [](DriveContext& c) { return c.plextor.PlextorE9Write(1, 0x0A); },
         {{0xE9, 0x10, 0x22, 0x0A, 0, 0x01, 0, 0, 0, 0, 0, 0}},
         [](DriveContext& c) { return c.plextor.PlextorE9Write(0, 0x0A); }},
        {"lg", [](DriveContext& c) {
             std::array<std::uint8_t, 4> answer{};
             return c.lg.VendorFARead(answer.data(), 4).value == 0 ? int{answer[0]} : -1; }, 0xA0, 0x00,
         [](DriveContext& c) { return c.lg.LgFCWrite(1, 1); },
         {kLgRead, {0xFC, 0, kLgTag[0], kLgTag[1], kLgTag[2], kLgTag[3], 0, 0, 0x04, 0, 0, 0}, kLgRead},
         [](DriveContext& c) { return c.lg.LgFCWrite(0, 1); }},
    };
    // clang-format on
    return families;
}

}  // namespace

TEST(BookTypeCommands, EachFamilyReadsSetsAndRestoresItsDvdPlusRSettingAndTheNextBurnFollows)
{
    for (const FamilyBook& family : Families()) {
        SCOPED_TRACE(family.preset);
        WrapperRig rig(family.preset);
        rig.Insert(BlankOf("dvd+r"));
        rig.Record().m_bDvdPlusRwWrite = 1;
        rig.Record().m_bDvdPlusRWrite = 1;
        EXPECT_EQ(family.read(rig.context), family.own);
        EXPECT_EQ(DiscBookType(rig), 10);
        rig.TakeCdbs();

        EXPECT_EQ(family.setRom(rig.context).value, 0);
        EXPECT_EQ(rig.TakeCdbs(), family.setRomCdbs);
        EXPECT_EQ(rig.drive->VendorState().bookTypes.InUse(BookKind::PlusR), 0);
        EXPECT_EQ(family.read(rig.context), family.rom);
        EXPECT_EQ(DiscBookType(rig), 0);  // the blank DVD+R would be burned as DVD-ROM

        EXPECT_EQ(family.restore(rig.context).value, 0);
        EXPECT_EQ(family.read(rig.context), family.own);
        EXPECT_EQ(DiscBookType(rig), 10);
    }
}

TEST(BookTypeCommands, TheSettingsOfOtherKindsAndOfBurnedDiscsAreTheirOwn)
{
    WrapperRig rig("lg");
    ASSERT_EQ(rig.context.lg.LgFCWrite(1, 0).value, 0);  // DVD+R DL as DVD-ROM, DVD+R/RW kept
    const emu::BookTypeSettings books = rig.drive->VendorState().bookTypes;
    EXPECT_EQ(books.InUse(BookKind::PlusRDl), 0);
    EXPECT_EQ(books.InUse(BookKind::PlusR), 10);
    EXPECT_EQ(books.InUse(BookKind::PlusRw), 9);
    rig.Insert(BlankOf("dvd+r-dl"));
    EXPECT_EQ(DiscBookType(rig), 0);
    rig.Insert(*emu::FindMediumPreset("dvd+r-dl"));  // burned before: its book type stays
    EXPECT_EQ(DiscBookType(rig), 14);
    rig.Insert(BlankOf("dvd+rw"));
    EXPECT_EQ(DiscBookType(rig), 9);
    ASSERT_EQ(rig.context.lg.LgFCWrite(1, 1).value, 0);
    EXPECT_EQ(DiscBookType(rig), 0);
}

TEST(BookTypeCommands, NecTemporarySettingsStandInForTheFlashUntilTheFlashIsChosenAgain)
{
    WrapperRig rig("nec");
    rig.Insert(BlankOf("dvd+r"));
    NecCommands& nec = rig.context.nec;
    EXPECT_EQ(nec.NecC9Command(3, 0, 0x00, 0).value, 0);  // temporary DVD+R: DVD-ROM
    EXPECT_EQ(rig.TakeCdbs(), (std::vector<Cdb>{NecCdb(0x03, 0, 0x00, 0)}));
    EXPECT_EQ(nec.NecQueryBookType(1, 0).value, 0x00);
    EXPECT_EQ(nec.NecQueryBookType(0, 0).value, 0xA0);  // the flash keeps its own
    EXPECT_EQ(DiscBookType(rig), 0);
    EXPECT_EQ(nec.NecC9Command(4, 0, 0, 1).value, 0);  // use the flash setting
    EXPECT_EQ(DiscBookType(rig), 10);
    EXPECT_EQ(nec.NecC9Command(4, 0, 0, 0).value, 0);  // the temporary one again
    EXPECT_EQ(DiscBookType(rig), 0);

    // Flash writes are counted and run out.
    EXPECT_EQ(nec.NecQueryCounterB().value, 100);
    EXPECT_EQ(nec.NecC9Command(1, 2, 0x00, 0).value, 0);
    EXPECT_EQ(nec.NecQueryCounterB().value, 99);
    emu::DriveIdentity worn = *emu::FindDrivePreset("nec");
    worn.vendorSettings.nec.flashWritesLeft = 0;
    WrapperRig wornRig(worn, "none");
    EXPECT_NE(wornRig.context.nec.NecC9Command(1, 2, 0x00, 0).value, 0);
    EXPECT_EQ(wornRig.drive->VendorState().bookTypes[BookKind::PlusRDl].defaultBook, 14);

    // Firmware of command version 1 has only the DVD+R DL flash setting.
    emu::DriveIdentity first = *emu::FindDrivePreset("nec");
    first.vendorSettings.nec.commandVersion = 1;
    WrapperRig firstRig(first, "none");
    EXPECT_NE(firstRig.context.nec.NecC9Command(3, 2, 0x00, 0).value, 0);
    EXPECT_NE(firstRig.context.nec.NecC9Command(1, 0, 0x00, 0).value, 0);
    EXPECT_EQ(firstRig.context.nec.NecQueryBookType(0, 0).value, -1);
    EXPECT_EQ(firstRig.context.nec.NecC9Command(1, 2, 0x00, 0).value, 0);
}

TEST(BookTypeCommands, NuQsiKeepsFlashAndCurrentSettingsApartAndChangesTheDiscDirectly)
{
    WrapperRig rig("nu", "dvd-rw");
    NuQsiCommands& nu = rig.context.nuQsi;
    EXPECT_EQ(nu.NuQsiQueryF30E().value, 0x01);  // as the drive came: DVD+R as DVD-ROM in flash
    EXPECT_EQ(nu.QueryNuQsiStatus().value, 0x03);  // and DVD+RW too while it runs
    EXPECT_EQ(nu.NuQsiSetBookType(0x44, 0, 0x5A).value, 0);  // DVD-R as DVD-ROM, current only
    EXPECT_EQ(nu.NuQsiQueryF30E().value, 0x01);
    EXPECT_EQ(nu.QueryNuQsiStatus().value, 0x07);
    EXPECT_EQ(nu.NuQsiSetBookType(0x22, 0, 0).value, 0);  // DVD+RW as DVD-ROM in flash
    EXPECT_EQ(nu.NuQsiQueryF30E().value, 0x03);

    // Directly: the DVD-RW in the drive becomes a DVD-ROM and back; a DVD+RW
    // change is refused on it.
    rig.TakeCdbs();
    EXPECT_EQ(DiscBookType(rig), 3);
    EXPECT_EQ(nu.NuQsiSetBookType(0x88, 0x08, 0x5A).value, 0);
    EXPECT_EQ(rig.TakeCdbs(), (std::vector<Cdb>{{0xF3, 0x0E, 0x70, 0x88, 0x08, 0, 0, 0, 0, 0, 0, 0x5A}}));
    EXPECT_EQ(DiscBookType(rig), 0);
    EXPECT_EQ(nu.NuQsiSetBookType(0x80, 0x08, 0x5A).value, 0);
    EXPECT_EQ(DiscBookType(rig), 3);
    EXPECT_NE(nu.NuQsiSetBookType(0xE2, 0x02, 0).value, 0);
    EXPECT_EQ(rig.LastSense(), emu::sense::kCannotWriteMedium);
}

TEST(BookTypeCommands, TheDvdPlusRwInTheDriveTakesANewBookTypeWhereTheFamilyHasTheCommand)
{
    struct Case {
        const char* preset;
        std::function<VendorReply(DriveContext&)> toRom;
        Cdb decidingCdb;
        int rwDefaultAfter;  // the drive's DVD+RW setting afterwards
    };
    const Case cases[] = {
        {"benq",
         [](DriveContext& c) { return c.benq.BenqSetBookTypeData(0x02, 0x01); },
         {0xFE, 0x02, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0},
         9},
        // A Ricoh-type drive writes the disc with its DVD+RW setting, which it sets first.
        {"ricoh",
         [](DriveContext& c) { return c.ricoh.RicohSetBookType(2, 0x01); },
         {0xF9, 0x02, 0x01, 0x00, 0, 0, 0, 0, 0, 0},
         0},
        {"aopen",
         [](DriveContext& c) { return c.ricoh.VendorF9Set(6, 0, 0x0F, 0xFF); },
         {0xF9, 0x06, 0x0F, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0},
         9},
        {"btc",
         [](DriveContext& c) { return c.btc.VendorFA00Write(0x01, 0, 0); },
         {0xFA, 0x00, 0x01, 0, 0, 0, 0, 0, 0, 0, 0xAA, 0xFF},
         9},
        {"nu",
         [](DriveContext& c) { return c.nuQsi.NuQsiSetBookType(0xE2, 0x02, 0); },
         {0xF3, 0x0E, 0x70, 0xE2, 0x02, 0, 0, 0, 0, 0, 0, 0},
         9},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.preset);
        WrapperRig rig(test.preset, "dvd+rw");
        EXPECT_EQ(DiscBookType(rig), 9);
        EXPECT_EQ(test.toRom(rig.context).value, 0);
        const auto cdbs = rig.TakeCdbs();
        EXPECT_NE(std::find(cdbs.begin(), cdbs.end(), test.decidingCdb), cdbs.end());
        EXPECT_EQ(DiscBookType(rig), 0);
        EXPECT_EQ(rig.drive->VendorState().bookTypes[BookKind::PlusRw].defaultBook, test.rwDefaultAfter);

        // A DVD+R cannot be changed so.
        rig.Insert(*emu::FindMediumPreset("dvd+r"));
        EXPECT_NE(test.toRom(rig.context).value, 0);
        EXPECT_EQ(DiscBookType(rig), 10);
    }
}

TEST(BookTypeCommands, IdentificationAndProbesAsTheyGoOut)
{
    // The BTC probe, without data: a BTC drive refuses only its fields and
    // changes nothing; drives without FAh refuse the command itself. LG
    // drives read FAh as their own query and take it, which is why the
    // dispatch tells them apart first.
    const Cdb btcProbe = {0xFA, 0, 0, 0, 0x01, 0, 0, 0, 0, 0, 0xAA, 0xFF};
    struct ProbeCase {
        const char* preset;
        int answer;
    };
    for (const ProbeCase test :
         {ProbeCase{"btc", 1}, ProbeCase{"benq", 0}, ProbeCase{"dvd-writer", 0}, ProbeCase{"nec", 0},
          ProbeCase{"liteon", 0}, ProbeCase{"plextor", 0}, ProbeCase{"nu", 0}, ProbeCase{"lg", 1}}) {
        SCOPED_TRACE(test.preset);
        WrapperRig rig(test.preset, "dvd+rw");
        const auto settings = [&rig] {
            std::vector<int> books;
            for (std::size_t kind = 0; kind < emu::kBookKinds; ++kind)
                books.push_back(rig.drive->VendorState().bookTypes.InUse(static_cast<BookKind>(kind)));
            return books;
        };
        const std::vector<int> before = settings();
        EXPECT_EQ(rig.context.btc.IsBtcDrive().value, test.answer);
        EXPECT_EQ(rig.TakeCdbs(), (std::vector<Cdb>{btcProbe}));
        EXPECT_EQ(settings(), before);
        EXPECT_EQ(DiscBookType(rig), 9);
    }

    WrapperRig benq("benq");
    EXPECT_EQ(benq.context.benq.VendorFFMode(1).value, -1);  // refused outside service mode
    EXPECT_EQ(benq.TakeCdbs(), (std::vector<Cdb>{{0xFF, 0x06, 0x12, 0, 0, 0, 0x01, 0, 0, 0, 0, 0xAA}}));

    WrapperRig plextor("plextor");
    std::array<std::uint8_t, 8> answer{};
    EXPECT_EQ(plextor.context.plextor.PlextorE9Read(answer.data(), 7, 0x0A).value, -1);  // too small: not sent
    EXPECT_EQ(plextor.context.plextor.PlextorE9Read(answer.data(), 8, 0x0E).value, 0);
    EXPECT_EQ(plextor.TakeCdbs(), (std::vector<Cdb>{{0xE9, 0x00, 0x22, 0x0E, 0, 0, 0, 0, 0, 0x08, 0, 0}}));
    WrapperRig lg("lg");
    EXPECT_EQ(lg.context.lg.VendorFARead(answer.data(), 3).value, -1);
    EXPECT_TRUE(lg.TakeCdbs().empty());
}

TEST(BookTypeCommands, AnLgWriteWhoseFirstReadFailedWritesNothing)
{
    WrapperRig rig("lg");
    ASSERT_EQ(rig.context.lg.LgFCWrite(1, 0).value, 0);  // DVD+R DL as DVD-ROM
    rig.TakeCdbs();
    // Without the first read the other byte is not known: nothing is written.
    rig.drive->AddErrorRule(emu::ErrorRule::CheckCondition(0xFA, {0x02, 0x04, 0x00}, 1));
    EXPECT_NE(rig.context.lg.LgFCWrite(1, 1).value, 0);
    EXPECT_EQ(rig.TakeCdbs(), (std::vector<Cdb>{kLgRead}));
    EXPECT_EQ(rig.drive->VendorState().bookTypes.InUse(BookKind::PlusR), 10);
    EXPECT_EQ(rig.drive->VendorState().bookTypes.InUse(BookKind::PlusRDl), 0);
}
