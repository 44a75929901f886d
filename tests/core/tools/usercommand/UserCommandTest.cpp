#include "core/base/Format.h"
#include "core/base/HexDump.h"
#include "core/base/MessageIds.h"
#include "core/drive/CommandFailure.h"
#include "core/drive/ScsiCommand.h"
#include "core/tools/usercommand/UserCommandExamples.h"
#include "core/tools/usercommand/UserCommandPanel.h"
#include "core/tools/usercommand/UserCommandTool.h"
#include "emu/ErrorRule.h"
#include "support/TestSupport.h"
#include "support/UserCommandRig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

int IndexOf(const char* name)
{
    const auto examples = UserCommandExamples();
    const auto it = std::find_if(examples.begin(), examples.end(), [name](const UserCommandExample& example) {
        return std::string(example.name) == name;
    });
    EXPECT_NE(it, examples.end()) << name;
    return static_cast<int>(it - examples.begin());
}

// The panel and the main window's side over one emulated drive.
struct ToolRig : UserCommandRig {
    ToolRig(const char* drivePreset = "dvd-writer", const char* mediumPreset = "dvd+r") :
        UserCommandRig(drivePreset, mediumPreset)
    {
        core.m_Report.SetListener([this](ReportChange change) {
            if (change == ReportChange::Status)
                statuses.push_back(core.m_Report.GetStatusText());
        });
    }
    void Send()
    {
        drive->ClearJournal();
        tool.SendUserCommand();
        Wait();
    }
    std::string Status() const { return core.m_Report.GetStatusText(); }
    // The display text as the dump of the first `bytes` of the buffer shows it.
    std::string DumpOf(std::uint32_t bytes) const
    {
        std::string text = std::string(kHexDumpHeader) + "\r\n" + kHexDumpRule + "\r\n";
        for (std::uint32_t at = 0; at < bytes; at += 16)
            text += HexDumpLine(Buffer().data() + at, at, static_cast<int>(std::min(16u, bytes - at))) + "\r\n";
        return text;
    }

    ScriptedPrompt prompt;
    UserCommandPanel panel;
    UserCommandTool tool{*this, panel};
    std::vector<std::string> statuses;
};

TEST(UserCommandExamples, NinetyTwoCommandsUnderNineHeadingsThenTheEmptyEntry)
{
    const auto examples = UserCommandExamples();
    ASSERT_EQ(examples.size(), 102u);
    EXPECT_EQ(std::count_if(examples.begin(), examples.end(), [](const auto& e) { return e.heading; }), 9);
    EXPECT_EQ(std::count_if(examples.begin(), examples.end(), [](const auto& e) { return e.IsCommand(); }), 92);
    EXPECT_TRUE(examples.front().heading);
    EXPECT_EQ(std::string(examples.front().name).find("PRESET COMMANDS"), 5u);  // indented
    EXPECT_FALSE(examples.back().heading);
    EXPECT_FALSE(examples.back().IsCommand());
    EXPECT_STREQ(examples.back().name, "");
    // Rows kept as they are listed, their oddities included.
    EXPECT_EQ(examples[static_cast<std::size_t>(IndexOf("(0003h) Removable Medium"))].cdb[3], 0x04);
    EXPECT_EQ(examples[static_cast<std::size_t>(IndexOf("(0024h) Defect Management"))].cdb[3], 0x25);
    const auto& power = examples[static_cast<std::size_t>(IndexOf("(1Ah) Power Condition Page"))];
    EXPECT_EQ((std::vector<std::uint8_t>(power.cdb.begin(), power.cdb.begin() + 3)),
              (std::vector<std::uint8_t>{0x5A, 0x1A, 0x1C}));
}

TEST(UserCommandExamples, SizesBecomeWholeLinesThatHoldTheAllocation)
{
    struct Case {
        const char* name;
        std::uint32_t size;
    };
    const Case cases[] = {
        {"CD Current Position", 16},  // as listed
        {"Media Catalog Number", 32},  // "24"
        {"(18h) Protocol Specific LUN Page", 240},  // "F0" read as 0, allocation F0h
        {"(1903h) Negotiated Setting mode subpage", 240},
        {"Media", 128},  // "80" for an allocation of 80h
        {"(0Ah) Control Mode Page", 32},  // "14", allocation 14h
        {"(2Ah) CD/DVD Capabilities & Mech  Status", 32},  // "28", allocation 14h
        {"(3Fh) Return All Pages", 2048},  // allocation 8000h: the drive cuts to the transfer
        {"Read Performance", 2048},
        {"FFh DVD Structure List", 2048},
    };
    const auto examples = UserCommandExamples();
    for (const Case& test : cases)
        EXPECT_EQ(SendableBufferSize(examples[static_cast<std::size_t>(IndexOf(test.name))]), test.size) << test.name;
    int raised = 0;
    for (const UserCommandExample& example : examples) {
        if (!example.IsCommand())
            continue;
        const std::uint32_t size = SendableBufferSize(example);
        EXPECT_EQ(size % 16, 0u) << example.name;
        EXPECT_LE(size, 4096u) << example.name;
        const auto allocation = AllocationLengthOf({example.cdb.data(), static_cast<std::size_t>(example.cdbSize)});
        if (allocation && *allocation <= 4096) {
            EXPECT_GE(size, *allocation) << example.name;
        }
        raised += size != static_cast<std::uint32_t>(std::atoi(example.bufferSize)) ? 1 : 0;
        // The drive is never asked for more than the transfer takes.
        const auto cdb = SendableCdb(example);
        const auto asked = AllocationLengthOf({cdb.data(), static_cast<std::size_t>(example.cdbSize)});
        if (asked) {
            EXPECT_LE(*asked, size) << example.name;
        }
    }
    EXPECT_EQ(raised, 14 + 2 + 6);
    // The one allocation beyond the buffer is cut to the transfer; the rest stay as listed.
    const auto& allPages = examples[static_cast<std::size_t>(IndexOf("(3Fh) Return All Pages"))];
    EXPECT_EQ(SendableCdb(allPages)[7], 0x08);
    EXPECT_EQ(SendableCdb(allPages)[8], 0x00);
    const auto& media = examples[static_cast<std::size_t>(IndexOf("Media"))];
    EXPECT_EQ(SendableCdb(media), media.cdb);
}

// Every example goes to the drive as listed, with its mended transfer, and
// shows the answer as a dump or the drive's refusal as a sense report.
TEST(UserCommandSend, EveryExampleReachesTheDriveAndShowsItsAnswerOrSense)
{
    for (const char* medium : {"dvd+r", "cd-r"}) {
        SCOPED_TRACE(medium);
        ToolRig rig("dvd-writer", medium);
        rig.panel.SetPrompt(0);
        int dumps = 0;
        int refusals = 0;
        const auto examples = UserCommandExamples();
        for (int index = 0; index < static_cast<int>(examples.size()); ++index) {
            const UserCommandExample& example = examples[static_cast<std::size_t>(index)];
            if (!example.IsCommand())
                continue;
            SCOPED_TRACE(example.name);
            ASSERT_EQ(rig.panel.ChooseExample(index), UserCommandPanel::ExampleChoice::Filled);
            const std::uint32_t size = SendableBufferSize(example);
            EXPECT_EQ(rig.panel.m_strBufferSize, std::to_string(size));  // shown as it is sent
            rig.prompt.asked.clear();
            rig.Send();

            const auto journal = rig.drive->Journal();
            ASSERT_EQ(journal.size(), 1u);
            const auto cdb = SendableCdb(example);
            EXPECT_EQ(journal[0].Bytes(), std::vector<std::uint8_t>(cdb.begin(), cdb.begin() + example.cdbSize));
            EXPECT_EQ(journal[0].dataLength, size);
            EXPECT_EQ(journal[0].direction, DataDirection::In);

            const std::string display = rig.core.m_Report.GetDisplayText();
            if (rig.Status().rfind("Ready - ", 0) == 0) {
                ++dumps;
                const std::uint32_t moved = size - rig.core.m_Drives.m_ScsiCommand.Residual();
                EXPECT_EQ(rig.Status(), Format("Ready - %u of %u bytes moved", moved, size));
                EXPECT_EQ(display, rig.DumpOf(moved));
                EXPECT_TRUE(rig.prompt.asked.empty());
            } else {
                ++refusals;
                // The drive's refusal, whatever it is: the sense texts.
                EXPECT_EQ(rig.Status(), "Sense error occurred");
                ASSERT_EQ(rig.prompt.asked.size(), 1u);
                EXPECT_TRUE(Contains(rig.prompt.asked[0].text, "Sense ")) << rig.prompt.asked[0].text;
                EXPECT_TRUE(Contains(rig.prompt.asked[0].text, "ASC ")) << rig.prompt.asked[0].text;
            }
        }
        EXPECT_GT(dumps, 40);
        EXPECT_GT(refusals, 5);
    }
}

TEST(UserCommandSend, InquiryExampleRoundTrip)
{
    ToolRig rig;
    rig.panel.FillExample();
    EXPECT_EQ(rig.panel.m_bDataEntered, 1);
    rig.prompt.Answer(IDYES);  // "Are you sure you want to send this command?"
    ASSERT_TRUE(rig.panel.ConfirmSend());
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, "Are you sure you want to send this command?");
    rig.Send();
    EXPECT_EQ(rig.Cdbs(), (std::vector<std::vector<std::uint8_t>>{{0x12, 0, 0, 0, 0x78, 0}}));
    EXPECT_EQ(rig.Status(), "Ready - 96 of 2048 bytes moved");  // its whole answer, under the allocation of 78h
    EXPECT_EQ(rig.core.m_Report.m_bHexView, 1);
    const std::vector<std::string> lines = rig.core.m_Report.GetHexLines();
    ASSERT_EQ(lines.size(), 6u);  // only what came
    EXPECT_TRUE(Contains(lines[0], "00000000 05 ")) << lines[0];  // a CD/DVD drive
    EXPECT_EQ(rig.Buffer()[120], 0);
    EXPECT_GE(rig.outputShown, 1);
}

TEST(UserCommandPanel, FieldsAndTheirChecks)
{
    ScopedProfile profile;
    ScriptedPrompt prompt;
    UserCommandPanel panel;
    // Defaults.
    EXPECT_EQ(panel.m_bRead, 1);
    EXPECT_EQ(panel.m_bWrite, 0);
    EXPECT_EQ(panel.m_strBufferSize, "2048");
    EXPECT_EQ(panel.CdbSize(), 12);
    EXPECT_EQ(panel.m_bPrompt, 1);

    // READ and WRITE swap on either click.
    panel.SwapDirection();
    EXPECT_TRUE(panel.DataOut());
    EXPECT_EQ(panel.m_bRead, 0);
    panel.SwapDirection();
    EXPECT_EQ(panel.m_bRead, 1);

    // CDB sizes outside 1-12 become 1; the bytes from the size on are cleared and off.
    struct SizeCase {
        const char* text;
        bool accepted;
        int applied;
    };
    for (const SizeCase& test : {SizeCase{"0", false, 1}, SizeCase{"13", false, 1}, SizeCase{"", false, 1},
                                 SizeCase{"7", true, 7}, SizeCase{"12", true, 12}}) {
        SCOPED_TRACE(test.text);
        panel.m_strCdb.fill("AB");
        panel.m_strCdbSize = test.text;
        EXPECT_EQ(panel.OnCdbSizeChange(), test.accepted);
        EXPECT_EQ(panel.CdbSize(), test.applied);
        if (!test.accepted) {
            EXPECT_EQ(panel.m_strCdbSize, "1");
        }
        for (int i = 0; i < UserCommandPanel::kCdbBytes; ++i) {
            EXPECT_EQ(panel.CdbByteEnabled(i), i < test.applied);
            EXPECT_EQ(panel.m_strCdb[static_cast<std::size_t>(i)], i < test.applied ? "AB" : "00");
        }
    }

    // The kernel takes no CDB under 6 bytes: the panel says so.
    for (const char* size : {"1", "5", "6", "12"}) {
        panel.m_strCdbSize = size;
        panel.OnCdbSizeChange();
        EXPECT_EQ(panel.CdbSizeNote(), panel.CdbSize() < 6 ? "The kernel refuses CDBs under 6 bytes" : "") << size;
    }

    // A CDB of 7 bytes ends with the typed byte 6.
    panel.m_strCdb = {"5a", "08", "2A", "00", "00", "00", "c3", "00", "00", "00", "00", "00"};
    panel.m_strCdbSize = "7";
    panel.OnCdbSizeChange();
    EXPECT_EQ(panel.Request().cdb, (std::vector<std::uint8_t>{0x5A, 0x08, 0x2A, 0, 0, 0, 0xC3}));

    // The buffer size: a multiple of 16 before anything is posted, 0-4096
    // when a CDB field is left (the last size that passed comes back).
    struct BufferCase {
        const char* text;
        const char* sendRefusal;
        const char* leaveRefusal;
    };
    const BufferCase buffers[] = {
        {"20", "Error, Buffer size must be a multiple of 16", "Error, Value must be a multiple of 16"},
        {"4112", nullptr, "Error, Value must be between 0 - 4096"},
        {"4096", nullptr, nullptr},
        {"0", nullptr, nullptr},
    };
    for (const BufferCase& test : buffers) {
        SCOPED_TRACE(test.text);
        panel.m_strBufferSize = "2048";
        EXPECT_FALSE(panel.CheckBufferSize());
        panel.m_strBufferSize = test.text;
        const auto send = panel.BufferSizeRefusal();
        EXPECT_EQ(send.value_or(""), test.sendRefusal ? test.sendRefusal : "");
        const auto leave = panel.CheckBufferSize();
        EXPECT_EQ(leave.value_or(""), test.leaveRefusal ? test.leaveRefusal : "");
        EXPECT_EQ(panel.m_strBufferSize, test.leaveRefusal ? "2048" : test.text);
    }
    panel.m_strBufferSize = "0";
    EXPECT_EQ(panel.Request().direction, DataDirection::None);  // no data phase at all
    panel.SwapDirection();
    panel.m_strBufferSize = "16";
    EXPECT_EQ(panel.Request().direction, DataDirection::Out);

    // The example list: a heading changes nothing, the empty entry clears the CDB only.
    panel.m_strCdb.fill("11");
    EXPECT_EQ(panel.ChooseExample(0), UserCommandPanel::ExampleChoice::Heading);
    EXPECT_EQ(panel.m_strCdb[0], "11");
    EXPECT_EQ(panel.ChooseExample(static_cast<int>(UserCommandExamples().size()) - 1),
              UserCommandPanel::ExampleChoice::CdbCleared);
    EXPECT_EQ(panel.m_strCdb[0], "00");
    EXPECT_EQ(panel.m_strBufferSize, "16");
    EXPECT_EQ(panel.m_bWrite, 1);
    EXPECT_EQ(panel.ChooseExample(IndexOf("(1Ah) Power Condition Page")), UserCommandPanel::ExampleChoice::Filled);
    EXPECT_EQ(panel.m_bRead, 1);
    EXPECT_EQ(panel.m_strCdbSize, "10");
    EXPECT_EQ(panel.m_strCdb[1], "1A");
    EXPECT_EQ(panel.m_strCdb[10], "00");
    EXPECT_FALSE(panel.CdbByteEnabled(10));

    // The prompt flag lives in the profile.
    panel.SetPrompt(0);
    EXPECT_EQ(UserCommandPanel().m_bPrompt, 0);
}

TEST(UserCommandPanel, QuestionsBeforeSending)
{
    ScopedProfile profile;
    ScriptedPrompt prompt;
    UserCommandPanel panel;
    // Nothing typed: asked, and No keeps it.
    prompt.Answer(IDNO);
    EXPECT_FALSE(panel.ConfirmSend());
    EXPECT_EQ(prompt.asked.back().text, "You have not entered any data\n\rAre you sure you want to send?");
    EXPECT_EQ(prompt.asked.back().caption, "Are you sure?");
    prompt.Answer(IDYES);
    EXPECT_TRUE(panel.ConfirmSend());
    // Typed, with the prompt on: only Yes sends.
    panel.m_bDataEntered = 1;
    prompt.Answer(IDNO);
    EXPECT_FALSE(panel.ConfirmSend());
    EXPECT_EQ(prompt.asked.back().text, "Are you sure you want to send this command?");
    // A command that does more than read, whatever its direction: the
    // confirmation gate asks instead, when it is sent.
    panel.m_strCdb[0] = "A1";  // BLANK, typed as a read
    prompt.asked.clear();
    EXPECT_TRUE(panel.ConfirmSend());
    EXPECT_TRUE(prompt.asked.empty());
    panel.m_strCdb[0] = "55";  // MODE SELECT(10), data out
    panel.SwapDirection();
    EXPECT_TRUE(panel.ConfirmSend());
    EXPECT_TRUE(prompt.asked.empty());
    panel.m_strCdb[0] = "25";  // READ CAPACITY, even as data out: the panel's own question
    prompt.Answer(IDNO);
    EXPECT_FALSE(panel.ConfirmSend());
    EXPECT_EQ(prompt.asked.back().text, "Are you sure you want to send this command?");
    // A size that is no multiple of 16 never goes.
    panel.m_strBufferSize = "20";
    prompt.Answer(IDYES);
    EXPECT_FALSE(panel.ConfirmSend());
    EXPECT_EQ(prompt.asked.back().text, "Error, Buffer size must be a multiple of 16");
}

TEST(UserCommandSend, RefusedBeyondTheBufferAndWhileTheDriveIsHeld)
{
    ToolRig rig;
    rig.panel.FillExample();
    rig.panel.m_strBufferSize = "4112";
    rig.Send();
    EXPECT_TRUE(rig.drive->Journal().empty());
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].text, "Error - Maximum Pre-load is 4096 bytes");

    // A speed test holds the drive: the command waits for nobody, it is refused.
    rig.panel.m_strBufferSize = "2048";
    std::optional<ChannelClaim> speed = rig.core.m_Drives.coordinator.TryClaim(ChannelUse::SpeedTest);
    ASSERT_TRUE(speed);
    ASSERT_TRUE(speed->Begin());
    rig.Send();
    EXPECT_TRUE(rig.drive->Journal().empty());
    EXPECT_EQ(rig.prompt.asked.back().text, "You must stop the test first");
    EXPECT_EQ(rig.prompt.asked.back().caption, "Error Test Running!");
    speed.reset();
    rig.Send();
    EXPECT_EQ(rig.drive->Journal().size(), 1u);
    EXPECT_FALSE(rig.core.m_Drives.coordinator.InUse());  // given back once sent
}

TEST(UserCommandSend, KernelRefusalAsksForRawAccessNotSense)
{
    ToolRig rig;
    rig.drive->AddErrorRule(emu::ErrorRule::Refusal(emu::ErrorRule::Kind::PermissionDenied, 0x4A, 0x4A));
    rig.panel.ChooseExample(IndexOf("Media"));
    rig.Send();
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    const std::string& text = rig.prompt.asked[0].text;
    EXPECT_EQ(text.rfind(RawAccessNeeded("The command"), 0), 0u) << text;
    EXPECT_TRUE(Contains(text, "/dev/sgN") && Contains(text, "CAP_SYS_RAWIO")) << text;
    EXPECT_TRUE(Contains(text, "4A 01 00 00 10 00 00 00 80 00")) << text;
    EXPECT_FALSE(Contains(text, "Sense")) << text;
    EXPECT_EQ(rig.Status(), "Raw device access needed");
}

TEST(UserCommandSend, DataOutPassesTheConfirmationGate)
{
    // MODE SELECT(10) of 16 bytes from the buffer.
    const std::vector<std::uint8_t> modeSelect = {0x55, 0x10, 0, 0, 0, 0, 0, 0, 0x10, 0};
    const auto prepare = [&](ToolRig& rig, int prompt) {
        rig.panel.SetPrompt(prompt);
        rig.panel.SwapDirection();
        rig.panel.m_strBufferSize = "16";
        for (std::size_t i = 0; i < modeSelect.size(); ++i)
            rig.panel.m_strCdb[i] = Format("%02X", modeSelect[i]);
        rig.panel.m_strCdbSize = "10";
        rig.panel.OnCdbSizeChange();
    };
    {
        ToolRig rig;
        prepare(rig, 1);
        rig.prompt.Answer(IDNO);
        rig.Send();
        EXPECT_TRUE(rig.drive->Journal().empty());
        EXPECT_EQ(rig.Status(), "Command not sent");
        ASSERT_EQ(rig.prompt.asked.size(), 1u);
        const std::string& question = rig.prompt.asked[0].text;
        for (const char* part : {"55 10 00 00 00 00 00 00 10 00", "emu0", "Drive: QNZEMU DVD-RW QDW-2040S", "16 bytes"})
            EXPECT_TRUE(Contains(question, part)) << part << " in " << question;
        EXPECT_EQ(rig.prompt.asked[0].type & MB_DEFBUTTON_MASK, unsigned{MB_DEFBUTTON2});

        rig.prompt.Answer(IDYES);
        rig.Send();
        const auto journal = rig.drive->Journal();
        ASSERT_EQ(journal.size(), 1u);
        EXPECT_EQ(journal[0].Bytes(), modeSelect);
        EXPECT_EQ(journal[0].direction, DataDirection::Out);
        EXPECT_EQ(journal[0].dataLength, 16u);
    }
    {
        // The prompt turned off: the gate asks all the same.
        ToolRig rig;
        prepare(rig, 0);
        rig.Send();
        ASSERT_EQ(rig.prompt.asked.size(), 1u);
        EXPECT_TRUE(Contains(rig.prompt.asked[0].text, "Do you want to continue"));
        EXPECT_TRUE(rig.drive->Journal().empty());
    }
    {
        // A device in use is refused with or without the question.
        for (int prompt : {0, 1}) {
            ToolRig rig;
            prepare(rig, prompt);
            rig.tool.SetDeviceUseProbe([](const std::string& node) {
                DeviceUse use;
                use.mounts = {node + " on /media/disc"};
                return use;
            });
            rig.Send();
            EXPECT_TRUE(rig.drive->Journal().empty()) << prompt;
            ASSERT_EQ(rig.prompt.asked.size(), 1u);
            EXPECT_TRUE(Contains(rig.prompt.asked[0].text, "is mounted")) << rig.prompt.asked[0].text;
        }
    }
}

TEST(UserCommandBuffer, PreloadZeroesTheRestAndRefusesLargerFiles)
{
    ToolRig rig;
    TempDir dir;
    const auto write = [&](const char* name, std::size_t size, char fill) {
        WriteFileText(dir.File(name), std::string(size, fill));
        return dir.File(name);
    };
    rig.panel.m_strBufferSize = "4096";
    rig.tool.SetBufferByte(0xAB, 3000);
    rig.Wait();
    ASSERT_EQ(rig.Buffer()[3000], 0xAB);

    // A short file: nothing earlier stays behind it.
    rig.panel.m_strPreloadPath = write("short.bin", 100, 'x');
    rig.tool.WindowProc(WM_USERCMDLAYOUT, 1, 0);
    rig.Wait();
    EXPECT_EQ(rig.Buffer()[99], 'x');
    EXPECT_EQ(rig.Buffer()[100], 0);
    EXPECT_EQ(rig.Buffer()[3000], 0);

    // A whole buffer's worth.
    rig.panel.m_strPreloadPath = write("full.bin", 4096, 'y');
    rig.tool.WindowProc(WM_USERCMDLAYOUT, 1, 0);
    rig.Wait();
    EXPECT_TRUE(std::all_of(rig.Buffer().begin(), rig.Buffer().end(), [](std::uint8_t b) { return b == 'y'; }));
    EXPECT_EQ(rig.core.m_Report.GetHexLines().size(), 256u);
    EXPECT_TRUE(rig.prompt.asked.empty());

    // One byte more, no file or a folder: refused, and the buffer zeroed, so
    // that no earlier answer goes out as the file's data.
    for (const std::string& path : {write("large.bin", 4097, 'z'), dir.File("missing.bin"), dir.Path()}) {
        rig.tool.SetBufferByte(0x77, 5);
        rig.panel.m_strPreloadPath = path;
        rig.tool.WindowProc(WM_USERCMDLAYOUT, 1, 0);
        rig.Wait();
        EXPECT_TRUE(std::all_of(rig.Buffer().begin(), rig.Buffer().end(), [](std::uint8_t b) { return b == 0; }))
            << path;
    }
    ASSERT_EQ(rig.prompt.asked.size(), 3u);
    EXPECT_EQ(rig.prompt.asked[0].text, "Error - Maximum Pre-load is 4096 bytes");
    EXPECT_EQ(rig.prompt.asked[1].text.rfind("Error - ", 0), 0u);
    EXPECT_EQ(rig.prompt.asked[2].text.rfind("Error - ", 0), 0u);

    // Clear zeroes the first (buffer size) bytes only.
    rig.panel.m_strPreloadPath = write("full.bin", 4096, 'y');
    rig.tool.WindowProc(WM_USERCMDLAYOUT, 1, 0);
    rig.panel.m_strBufferSize = "32";
    rig.tool.WindowProc(WM_USERCMDLAYOUT, 0, 0);
    rig.Wait();
    EXPECT_EQ(rig.Buffer()[31], 0);
    EXPECT_EQ(rig.Buffer()[32], 'y');
    EXPECT_EQ(rig.core.m_Report.GetDisplayText(), rig.DumpOf(32));
}

TEST(UserCommandBuffer, SingleBytesAndTheDumpsDoubleClick)
{
    ToolRig rig;
    int changed = 0;
    rig.tool.SetFieldsChanged([&] { ++changed; });
    rig.panel.m_strBufferSize = "64";
    rig.tool.WindowProc(WM_USERCMDVALUES, 0x1AB, 0x21);  // the low byte
    rig.tool.WindowProc(WM_USERCMDVALUES, 0x77, 0x1000);  // past the buffer: ignored
    rig.Wait();
    EXPECT_EQ(rig.Buffer()[0x21], 0xAB);
    EXPECT_EQ(std::count(rig.Buffer().begin(), rig.Buffer().end(), 0x77), 0);
    EXPECT_EQ(rig.core.m_Report.GetHexLines().size(), 4u);

    rig.tool.WindowProc(WM_USERCMDVALUE, 0x21, 0);
    rig.Wait();
    EXPECT_EQ(rig.panel.m_strValue, "AB");
    EXPECT_EQ(changed, 1);
    rig.tool.WindowProc(WM_USERCMDVALUE, 0x1000, 0);  // ignored
    rig.Wait();
    EXPECT_EQ(changed, 1);

    // Line 2, byte 1 of the dump: byte 21h, with its offset.
    rig.panel.m_strValue = "00";
    rig.tool.PickDumpByte(150 + 75 * 2 + 9 + 3 * 1 + 1);
    rig.Wait();
    EXPECT_EQ(rig.panel.m_strValue, "AB");
    EXPECT_EQ(rig.panel.m_strOffset, "21");
    // The offsets column, the header and lines past the dump pick nothing.
    for (int position : {150 + 75 * 2 + 3, 20, 150 + 75 * 4 + 9}) {
        rig.tool.PickDumpByte(position);
        rig.Wait();
    }
    EXPECT_EQ(changed, 2);
    // Nothing while the output holds no byte view.
    rig.core.m_Report.m_bHexView = 0;
    rig.tool.PickDumpByte(150 + 9);
    rig.Wait();
    EXPECT_EQ(changed, 2);
}

// The panel's fields for a CDB, a direction and a size.
void Compose(UserCommandPanel& panel, const std::vector<std::uint8_t>& cdb, bool write, const char* size)
{
    panel.ClearCdb();
    for (std::size_t i = 0; i < cdb.size(); ++i)
        panel.m_strCdb[i] = Format("%02X", cdb[i]);
    panel.m_strCdbSize = std::to_string(cdb.size());
    panel.OnCdbSizeChange();
    if (panel.DataOut() != write)
        panel.SwapDirection();
    panel.m_strBufferSize = size;
}

DeviceUseProbe Mounted(bool mounted)
{
    return [mounted](const std::string& node) {
        DeviceUse use;
        if (mounted)
            use.mounts = {node + " on /media/disc"};
        return use;
    };
}

// The gate is chosen by the command's operation code, as the kernel judges
// a command: a command that only reads goes without it; every other one,
// vendor commands included, is refused on a mounted disc and asked about
// otherwise, whatever the direction, the size and the prompt flag say.
TEST(UserCommandSend, TheGateIsChosenByTheOperationCodeNotByTheDirectionOrSize)
{
    enum class Outcome { Asked, Refused, Sent };
    struct Case {
        const char* name;
        std::vector<std::uint8_t> cdb;
        bool write;
        const char* size;
        bool mounted;
        int prompt;
        Outcome outcome;
    };
    const std::vector<std::uint8_t> blank = {0xA1, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    // clang-format off
    const Case cases[] = {
        {"BLANK typed as a read of 2048 bytes", blank, false, "2048", false, 1, Outcome::Asked},
        {"BLANK with WRITE and size 0", blank, true, "0", false, 1, Outcome::Asked},
        {"BLANK with Prompt before Send off", blank, false, "2048", false, 0, Outcome::Asked},
        {"BLANK on a mounted disc", blank, false, "2048", true, 1, Outcome::Refused},
        {"BLANK on a mounted disc, prompt off", blank, true, "0", true, 0, Outcome::Refused},
        {"Lite-On DF 00 0F book type set", {0xDF, 0x00, 0x0F, 0x01, 0x01, 0, 0, 0, 0, 0, 0, 0}, false, "0", false, 1, Outcome::Asked},
        {"NEC C9 01 firmware write", {0xC9, 0x01, 0, 0, 0, 0, 0, 0, 0, 0}, false, "2048", false, 1, Outcome::Asked},
        {"Ricoh F9 0C default set", {0xF9, 0x0C, 0x01, 0xFF, 0, 0, 0, 0, 0, 0}, false, "0", true, 0, Outcome::Refused},
        {"Plextor E9 10 book type set", {0xE9, 0x10, 0x22, 0x0A, 0, 0x01, 0, 0, 0, 0x08, 0, 0}, false, "16", false, 1, Outcome::Asked},
        {"MODE SELECT(10) of 16 bytes", {0x55, 0x10, 0, 0, 0, 0, 0, 0, 0x10, 0}, true, "16", true, 1, Outcome::Refused},
        {"READ CAPACITY on a mounted disc", {0x25, 0, 0, 0, 0, 0, 0, 0, 0, 0}, false, "16", true, 1, Outcome::Sent},
        {"INQUIRY typed as WRITE", {0x12, 0, 0, 0, 0x24, 0}, true, "48", false, 0, Outcome::Sent},
    };
    // clang-format on
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        ToolRig rig("dvd-writer", "cd-rw");
        rig.panel.SetPrompt(test.prompt);
        Compose(rig.panel, test.cdb, test.write, test.size);
        rig.tool.SetDeviceUseProbe(Mounted(test.mounted));
        rig.prompt.Answer(IDNO);
        rig.Send();
        const auto journal = rig.drive->Journal();
        switch (test.outcome) {
        case Outcome::Asked:
            ASSERT_EQ(rig.prompt.asked.size(), 1u);
            for (const std::string& part :
                 {std::string("Device: emu0\nDrive: QNZEMU DVD-RW QDW-2040S\n"), std::string("Do you want to continue"),
                  Format("Send the command %02X ", test.cdb[0])})
                EXPECT_TRUE(Contains(rig.prompt.asked[0].text, part)) << part << " in " << rig.prompt.asked[0].text;
            EXPECT_EQ(rig.prompt.asked[0].type & MB_DEFBUTTON_MASK, unsigned{MB_DEFBUTTON2});
            EXPECT_TRUE(journal.empty());
            EXPECT_EQ(rig.Status(), "Command not sent");
            break;
        case Outcome::Refused:
            ASSERT_EQ(rig.prompt.asked.size(), 1u);
            EXPECT_TRUE(Contains(rig.prompt.asked[0].text, "emu0 is mounted")) << rig.prompt.asked[0].text;
            EXPECT_TRUE(journal.empty());
            break;
        case Outcome::Sent:
            EXPECT_TRUE(rig.prompt.asked.empty());
            ASSERT_EQ(journal.size(), 1u);
            EXPECT_EQ(journal[0].Bytes(), test.cdb);
            break;
        }
    }

    // Yes at the gate sends the BLANK as typed.
    ToolRig rig("dvd-writer", "cd-rw");
    Compose(rig.panel, blank, false, "0");
    rig.tool.SetDeviceUseProbe(Mounted(false));
    rig.prompt.Answer(IDYES);
    rig.Send();
    ASSERT_EQ(rig.drive->Journal().size(), 1u);
    EXPECT_EQ(rig.drive->Journal()[0].Bytes(), blank);
}

TEST(UserCommandSend, ACommandCarriesThePanelsTimeoutAndAReadNoMoreThanTheBuffer)
{
    ToolRig rig;
    Compose(rig.panel, {0x25, 0, 0, 0, 0, 0, 0, 0, 0, 0}, false, "16");
    rig.Send();
    ASSERT_EQ(rig.drive->Journal().size(), 1u);
    EXPECT_EQ(rig.core.m_Drives.m_ScsiCommand.RequestBlock().request.TimeOutValue, 20u);
    // The program's own commands keep theirs.
    rig.core.m_Drives.mmc.TestMediaPresent();
    EXPECT_EQ(rig.core.m_Drives.m_ScsiCommand.RequestBlock().request.TimeOutValue, kScsiTimeoutSeconds);

    struct Case {
        std::vector<std::uint8_t> cdb;
        const char* size;
        const char* asked;  // null: sent
    };
    const Case cases[] = {
        {{0x28, 0, 0, 0, 0, 0, 0, 0, 0x02, 0}, "2048", "asks the drive for 4096 bytes, but the buffer size is 2048"},
        {{0x28, 0, 0, 0, 0, 0, 0, 0, 0x02, 0}, "0", "asks the drive for 4096 bytes, but the buffer size is 0"},
        {{0xA8, 0, 0, 0, 0, 0, 0, 0, 0, 0x03, 0, 0}, "4096", "for 6144 bytes, but the buffer size is 4096"},
        {{0x12, 0, 0, 0x01, 0x00, 0}, "128", "for 256 bytes, but the buffer size is 128"},
        {{0x25, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "0", "for 8 bytes, but the buffer size is 0"},
        {{0x28, 0, 0, 0, 0, 0, 0, 0, 0x01, 0}, "2048", nullptr},
        {{0x12, 0, 0, 0, 0x24, 0}, "48", nullptr},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(Format("%02X %s", test.cdb[0], test.size));
        rig.prompt.asked.clear();
        Compose(rig.panel, test.cdb, false, test.size);
        rig.Send();
        if (test.asked) {
            EXPECT_TRUE(rig.drive->Journal().empty());
            ASSERT_EQ(rig.prompt.asked.size(), 1u);
            EXPECT_TRUE(Contains(rig.prompt.asked[0].text, test.asked)) << rig.prompt.asked[0].text;
            EXPECT_EQ(rig.Status(), "Command not sent");
        } else {
            EXPECT_EQ(rig.drive->Journal().size(), 1u);
            EXPECT_TRUE(rig.prompt.asked.empty());
        }
    }
}

// A read shows only what the drive sent: the buffer is cleared first and
// the dump ends where the transfer did.
TEST(UserCommandSend, AReadShowsOnlyTheBytesThatMoved)
{
    ToolRig rig;
    rig.panel.m_strBufferSize = "32";
    for (std::uint32_t offset = 0; offset < 32; ++offset)
        rig.tool.SetBufferByte(0xEE, offset);
    Compose(rig.panel, {0x25, 0, 0, 0, 0, 0, 0, 0, 0, 0}, false, "16");
    rig.Send();
    EXPECT_EQ(rig.Status(), "Ready - 8 of 16 bytes moved");
    EXPECT_TRUE(
        std::all_of(rig.Buffer().begin() + 8, rig.Buffer().begin() + 16, [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(rig.Buffer()[16], 0xEE);  // past the transfer: not the read's
    const auto lines = rig.core.m_Report.GetHexLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], HexDumpLine(rig.Buffer().data(), 0, 8));
    EXPECT_EQ(lines[0].substr(9 + 3 * 8), std::string(3 * 8, ' ') + lines[0].substr(9 + 3 * 16, 8) + "        ");
    EXPECT_EQ(rig.core.m_Report.GetDisplayText(), rig.DumpOf(8));
}

// Every refusal of the drive is decoded in the box, the common ones too.
TEST(UserCommandSend, EverySenseIsDecodedAsTheDriveGaveIt)
{
    struct Case {
        const char* medium;
        std::vector<std::uint8_t> cdb;
        const char* sense;
    };
    const Case cases[] = {
        {"dvd+r", {0x45, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "Invalid Command"},  // PLAY AUDIO(10): not on this drive
        {"none", {0x25, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "Medium not present"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.sense);
        ToolRig rig("dvd-writer", test.medium);
        Compose(rig.panel, test.cdb, false, "16");
        rig.Send();
        EXPECT_EQ(rig.Status(), "Sense error occurred");
        ASSERT_EQ(rig.prompt.asked.size(), 1u);
        const std::string& box = rig.prompt.asked[0].text;
        EXPECT_TRUE(Contains(box, Format("Command %03xh returned:", test.cdb[0]))) << box;
        EXPECT_TRUE(Contains(box, test.sense)) << box;
    }
}

}  // namespace
