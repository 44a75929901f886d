#include "core/drive/Device.h"
#include "core/drive/ScsiCommand.h"
#include "emu/EmulatedDrive.h"
#include "emu/MediaPresets.h"
#include "platform/passthrough/EmulatedPassThrough.h"
#include "platform/passthrough/SystemDeviceOpener.h"
#include "scsi/Bytes.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>

namespace {

std::size_t Count(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// A channel over two emulated drives: emu0 a DVD writer holding a DVD+R,
// emu1 an empty BD writer; other names go to the (empty) device folder.
struct ChannelRig {
    ChannelRig()
    {
        std::string error;
        dvd = emu::MakeEmulatedDrive("dvd-writer", "dvd+r", std::make_shared<emu::ManualClock>(), &error);
        bd = emu::MakeEmulatedDrive("bd-writer", "none", std::make_shared<emu::ManualClock>(), &error);
        auto opener = std::make_shared<EmulatedDeviceOpener>(std::make_shared<SystemDeviceOpener>(devices.Path()));
        opener->Add("emu0", dvd);
        opener->Add("emu1", bd);
        channel.SetDeviceOpener(opener);
        channel.FollowCurrentDevice(&current);
        dvdRecord.m_strDriveText = "emu0";
        bdRecord.m_strDriveText = "emu1";
    }

    int TestUnitReady()
    {
        *channel.Cdb(0) = 0x00;
        *channel.Cdb(5) = 0;
        return channel.Execute(DataDirection::None, nullptr, 0);
    }

    int Read10(std::uint32_t lba, std::uint16_t blocks, void* buffer, std::uint32_t length)
    {
        *channel.Cdb(0) = 0x28;
        for (int i = 0; i < 4; ++i)
            *channel.Cdb(2 + i) = static_cast<std::uint8_t>(lba >> (24 - 8 * i));
        *channel.Cdb(7) = static_cast<std::uint8_t>(blocks >> 8);
        *channel.Cdb(8) = static_cast<std::uint8_t>(blocks);
        *channel.Cdb(9) = 0;
        return channel.Execute(DataDirection::In, buffer, length);
    }

    TempDir devices;
    std::shared_ptr<emu::EmulatedDrive> dvd;
    std::shared_ptr<emu::EmulatedDrive> bd;
    CScsiCommand channel;
    CDevice dvdRecord;
    CDevice bdRecord;
    CDevice* current = nullptr;  // the drive the channel opens
};

class ChannelTest : public ::testing::Test, protected ChannelRig {};

}  // namespace

TEST_F(ChannelTest, Cdb0ResetsTheRequestBlockAndTheLengthFollowsTheLastIndexTouched)
{
    *channel.Cdb(0) = 0x12;
    const ScsiPassThroughRequest& request = channel.RequestBlock().request;
    EXPECT_EQ(request.Length, 44);
    EXPECT_EQ(request.SenseInfoLength, 18);
    EXPECT_EQ(request.DataIn, 2);
    EXPECT_EQ(request.TimeOutValue, 108000u);
    EXPECT_EQ(request.SenseInfoOffset, 44u);
    channel.Execute(DataDirection::None, nullptr, 0);  // ends the command begun above

    struct Case {
        const char* name;
        std::vector<int> indices;
        std::uint8_t length;
    };
    const Case cases[] = {
        {"operation code alone", {0}, 1},
        {"ten-byte command without its last byte", {0, 1, 2, 3, 4, 5, 6, 7, 8}, 9},
        {"ten-byte command", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 10},
        {"a lower index written last shortens it", {0, 9, 3}, 4},
    };
    current = &dvdRecord;
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        for (int index : test.indices)
            *channel.Cdb(index) = index == 0 ? 0x5A : 0;
        EXPECT_EQ(channel.RequestBlock().request.CdbLength, test.length);
        std::uint8_t answer[64];
        channel.Execute(DataDirection::In, answer, sizeof answer);
        EXPECT_EQ(dvd->Journal().back().cdbLength, test.length);  // what went out
    }
}

TEST_F(ChannelTest, ExecuteOutcomes)
{
    struct Case {
        const char* name;
        std::function<int(ChannelRig&)> run;
        int result;
        PassThroughError error;
        std::uint8_t senseKey;
        bool reachesDrive;
    };
    std::uint8_t buffer[2048];
    const Case cases[] = {
        {"completed", [](ChannelRig& t) { return t.TestUnitReady(); }, 0, PassThroughError::None, 0, true},
        {"check condition", [&](ChannelRig& t) { return t.Read10(5000000, 1, buffer, sizeof buffer); }, 1,
         PassThroughError::None, 0x05, true},
        {"kernel refusal",
         [](ChannelRig& t) {
             t.dvd->AddErrorRule(emu::ErrorRule::Refusal(emu::ErrorRule::Kind::PermissionDenied, 0x00, 0x00, 1));
             return t.TestUnitReady();
         },
         1, PassThroughError::KernelRefused, 0, false},
        {"lost on the way",
         [](ChannelRig& t) {
             t.dvd->AddErrorRule(emu::ErrorRule::Refusal(emu::ErrorRule::Kind::TransportFailure, 0x00, 0x00, 1));
             return t.TestUnitReady();
         },
         1, PassThroughError::Transport, 0, false},
        {"transfer without a buffer", [](ChannelRig& t) { return t.Read10(0, 1, nullptr, 2048); }, 1,
         PassThroughError::InvalidRequest, 0, false},
        {"CDB index beyond 15",
         [](ChannelRig& t) {
             *t.channel.Cdb(0) = 0x00;
             *t.channel.Cdb(16) = 0xFF;
             return t.channel.Execute(DataDirection::None, nullptr, 0);
         },
         1, PassThroughError::InvalidRequest, 0, false},
        {"strict drive, nine-byte READ(10)",
         [&](ChannelRig& t) {
             t.dvd->SetStrictCdbLength(true);
             *t.channel.Cdb(0) = 0x28;
             *t.channel.Cdb(8) = 1;
             return t.channel.Execute(DataDirection::In, buffer, sizeof buffer);
         },
         1, PassThroughError::None, 0x05, true},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        ChannelRig fresh;
        fresh.current = &fresh.dvdRecord;
        EXPECT_EQ(test.run(fresh), test.result);
        EXPECT_EQ(fresh.channel.LastError(), test.error);
        EXPECT_EQ(fresh.channel.LastErrorText().empty(), test.error == PassThroughError::None);
        EXPECT_EQ(fresh.channel.GetSenseBuffer()[2] & 0x0F, test.senseKey);
        EXPECT_EQ(fresh.dvd->Journal().size(), test.reachesDrive ? 1u : 0u);
    }
}

TEST_F(ChannelTest, KernelRefusalIsItsOwnErrorAndNeverSense)
{
    dvd->AddErrorRule(emu::ErrorRule::Refusal(emu::ErrorRule::Kind::PermissionDenied, 0xC0, 0xFF));
    current = &dvdRecord;
    *channel.Cdb(0) = 0xF3;
    *channel.Cdb(11) = 0;
    EXPECT_EQ(channel.Execute(DataDirection::None, nullptr, 0), 1);
    EXPECT_EQ(channel.LastErrorText(), kKernelRefusedReason);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(channel.GetSenseBuffer()[i], 0);
}

TEST_F(ChannelTest, WithoutADriveNothingIsSentAndAFailedOpenIsRetried)
{
    ScopedProgramLog log;
    EXPECT_EQ(TestUnitReady(), 1);
    EXPECT_EQ(channel.LastErrorText(), "no drive is selected");

    CDevice missing;
    missing.m_strDriveText = "sr7";
    current = &missing;
    EXPECT_EQ(TestUnitReady(), 1);
    EXPECT_FALSE(channel.IsOpen());
    EXPECT_EQ(TestUnitReady(), 1);
    EXPECT_EQ(channel.LastErrorText(), devices.File("sr7") + " does not exist");
    EXPECT_EQ(Count(log.Text(), "associate - cannot open sr7: "), 2u);
    EXPECT_EQ(Count(log.Text(), "handle created"), 0u);
}

TEST_F(ChannelTest, SenseStaysUntilTheNextCdb0)
{
    current = &bdRecord;
    ASSERT_EQ(TestUnitReady(), 1);
    EXPECT_EQ(channel.GetSenseBuffer()[12], 0x3A);
    ASSERT_TRUE(bd->InsertMedium(*emu::FindMediumPreset("bd-r")));

    EXPECT_EQ(channel.Execute(DataDirection::None, nullptr, 0), 1);  // the drive is ready now, but no Cdb(0) came
    EXPECT_EQ(bd->Journal().size(), 2u);
    EXPECT_EQ(channel.GetSenseBuffer()[12], 0x3A);
    EXPECT_EQ(TestUnitReady(), 0);
    EXPECT_EQ(channel.GetSenseBuffer()[12], 0x00);
}

TEST_F(ChannelTest, TheChannelOpensTheCurrentDriveItselfAndAssociateKeepsAnOpenDrive)
{
    ScopedProgramLog log;
    current = &dvdRecord;
    EXPECT_EQ(TestUnitReady(), 0);
    EXPECT_TRUE(channel.IsOpen());
    EXPECT_EQ(Count(log.Text(), " associate -  handle created\n"), 1u);

    EXPECT_TRUE(channel.associate("emu1"));  // still the DVD writer
    EXPECT_EQ(channel.DevicePath(), "emu0");
    EXPECT_EQ(TestUnitReady(), 0);
    EXPECT_EQ(dvd->Journal().size(), 2u);
    EXPECT_TRUE(bd->Journal().empty());

    *channel.Cdb(0) = 0x00;
    *channel.Cdb(5) = 0;
    EXPECT_EQ(channel.ExecuteAndClose(DataDirection::None, nullptr, 0), 0);
    EXPECT_FALSE(channel.IsOpen());
    EXPECT_EQ(Count(log.Text(), " CloseAssociateHandle -  handle closed\n"), 1u);
}

TEST_F(ChannelTest, MediaChangeNotificationIsRestoredAndOnlyLoggedWhenItWasOff)
{
    ScopedProgramLog log;
    EXPECT_EQ(channel.DisableMCN(false), 0);
    channel.CloseAssociateHandle();  // closed already: only its own line
    EXPECT_EQ(channel.DisableMCN(true), -1);  // no drive path yet
    const std::string before = log.Text();
    EXPECT_EQ(Count(before, "DisableMCN(FALSE)"), 0u);
    EXPECT_EQ(Count(before, " CloseAssociateHandle -  handle closed\n"), 1u);
    EXPECT_EQ(Count(before, " DisableMCN(TRUE)\n"), 1u);
    EXPECT_EQ(Count(before, " DisableMCN - Unexpected result from CreateFile, failed to change MCN status\n"), 1u);

    ASSERT_TRUE(channel.associate("emu0"));
    EXPECT_EQ(channel.DisableMCN(true), 1);
    channel.CloseAssociateHandle();
    EXPECT_EQ(channel.DisableMCN(false), 0);  // the close turned it back on
    const std::string after = log.Text().substr(before.size());
    const auto order = {" DisableMCN(TRUE)\n", " DisableMCN - MCN disabled\n", " DisableMCN(FALSE)\n",
                        " DisableMCN - MCN enabled\n", " CloseAssociateHandle -  handle closed\n"};
    std::size_t at = 0;
    for (const char* line : order) {
        at = after.find(line, at);
        EXPECT_NE(at, std::string::npos) << line;
    }
    EXPECT_EQ(Count(after, "DisableMCN(FALSE)"), 1u);
}

TEST_F(ChannelTest, VolumeLockNeedsAnOpenDrive)
{
    EXPECT_EQ(channel.LockAndDismountVolume(), 0);
    EXPECT_EQ(channel.UnlockVolume(), 0);
    ASSERT_TRUE(channel.associate("emu0"));
    EXPECT_EQ(channel.LockAndDismountVolume(), 1);
    EXPECT_EQ(channel.UnlockVolume(), 1);
    EXPECT_EQ(channel.UnlockVolume(), 0);
}

TEST_F(ChannelTest, CommandsOfTwoThreadsNeverInterleave)
{
    current = &dvdRecord;
    constexpr int kCommands = 400;
    const auto sender = [this](std::uint32_t firstLba, int& wrongAnswers) {
        std::vector<std::uint8_t> block(2048);
        std::vector<std::uint8_t> expected(2048);
        for (int i = 0; i < kCommands; ++i) {
            const std::uint32_t lba = firstLba + static_cast<std::uint32_t>(i);
            *channel.Cdb(0) = 0x28;
            for (int byte = 0; byte < 4; ++byte) {
                *channel.Cdb(2 + byte) = static_cast<std::uint8_t>(lba >> (24 - 8 * byte));
                std::this_thread::yield();  // invites the other thread in between
            }
            *channel.Cdb(7) = 0;
            *channel.Cdb(8) = 1;
            *channel.Cdb(9) = 0;
            const int result = channel.Execute(DataDirection::In, block.data(), 2048);
            emu::FillPatternBlock(lba, 2048, expected.data());
            if (result != 0 || block != expected)
                ++wrongAnswers;
        }
    };
    int wrongA = 0;
    int wrongB = 0;
    std::thread a(sender, 0x00010000u, std::ref(wrongA));
    std::thread b(sender, 0x00020000u, std::ref(wrongB));
    a.join();
    b.join();
    EXPECT_EQ(wrongA, 0);
    EXPECT_EQ(wrongB, 0);
    const auto journal = dvd->Journal();
    ASSERT_EQ(journal.size(), 2u * kCommands);
    for (const emu::JournalEntry& entry : journal) {
        ASSERT_EQ(entry.cdbLength, 10);
        const std::uint32_t lba = scsi::GetBe32(&entry.cdb[2]);
        EXPECT_TRUE((lba >> 16) == 1 || (lba >> 16) == 2) << std::hex << lba;
    }
}
