#include "core/base/Format.h"
#include "core/base/MessageIds.h"
#include "core/tools/disk/DiskToolIds.h"
#include "core/tools/sectoredit/HexGrid.h"
#include "core/tools/sectoredit/SectorEditor.h"
#include "support/DiskToolSupport.h"
#include "support/LoopDevice.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

using namespace disktool;

namespace {

std::string DiskPattern(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i >> 9) * 29 + i * 3 + 5);
    return bytes;
}

// The byte places where two files differ ("cmp -l"), 1-based as cmp counts.
std::vector<long> DifferingBytes(const std::string& a, const std::string& b)
{
    std::vector<long> places;
    FILE* pipe = ::popen(("cmp -l '" + a + "' '" + b + "' 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return places;
    long place = 0;
    unsigned from = 0;
    unsigned to = 0;
    while (std::fscanf(pipe, "%ld %o %o", &place, &from, &to) == 3)
        places.push_back(place);
    ::pclose(pipe);
    return places;
}

class ScriptedPort : public SectorEditorPort {
public:
    void ShowFields() override { ++fieldsShown; }
    void ShowGrid(const std::string& text) override { grid = text; }
    std::optional<std::string> ChooseFileToLoad() override { return Next(); }
    std::optional<std::string> ChooseFileToSave() override { return Next(); }
    bool AskOriginalSize() override
    {
        ++sizeQuestions;
        return original;
    }
    void PutCaretAtEnd(int controlId) override { caretAtEnd.push_back(controlId); }

    int GridLines() const
    {
        int lines = 0;
        for (char c : grid)
            lines += c == '\n';
        return lines - kHexHeaderLines;
    }
    std::optional<std::string> Next()
    {
        if (files.empty())
            return std::nullopt;
        auto file = files.front();
        files.pop_front();
        return file;
    }

    int fieldsShown = 0;
    std::string grid;
    std::deque<std::optional<std::string>> files;
    bool original = true;
    int sizeQuestions = 0;
    std::vector<int> caretAtEnd;
};

// The editor over a disk that is a file of the test ("sdz" in its folder).
struct EditorRig {
    explicit EditorRig(std::size_t diskBytes = 2 << 20) : original(DiskPattern(diskBytes))
    {
        WriteFileText(Disk(), original);
        WriteFileText(dir.File("original"), original);
        host.drives = {record.get()};
        host.access.devRoot = dir.Path();
        host.access.use = [this](const std::string& node) {
            probed.push_back(node);
            return use;
        };
        host.access.freeBytes = [](const std::string&) { return std::uint64_t{0}; };
        editor = std::make_unique<SectorEditor>(host, port);
        int shown = -1;
        drive = editor->OnSelchangeDrive(0, shown);
    }
    std::string Disk() const { return dir.File("sdz"); }
    // What changed on the disk, 0-based byte offsets.
    std::vector<long> Changed() const
    {
        std::vector<long> offsets;
        for (long place : DifferingBytes(dir.File("original"), Disk()))
            offsets.push_back(place - 1);
        return offsets;
    }
    void Type(int id, const std::string& text) { editor->OnEditChange(id, text); }

    TempDir dir;
    ScopedProfile profile;
    ScriptedPrompt prompt;
    ScriptedPort port;
    std::string original;
    std::unique_ptr<CDevice> record = MakeDiskRecord("sdz", "ATA", "Test Disk", "1.0", false, 11);
    DiskToolHost host;
    DeviceUse use;
    std::vector<std::string> probed;
    std::unique_ptr<SectorEditor> editor;
    DiskDriveFields drive;
};

// The editor over a fake disk "sdz" (64 KB unless said).
struct FakeEditorRig {
    explicit FakeEditorRig(const std::function<void(FakeDisk&)>& fault, std::uint64_t bytes = 64 * 1024) :
        disk(bytes, false)
    {
        fault(*disk.disk);
        int shown = -1;
        editor.OnSelchangeDrive(0, shown);
    }

    FakeDiskHost disk;
    ScopedProfile profile;
    ScriptedPrompt prompt;
    ScriptedPort port;
    SectorEditor editor{disk.host, port};
};

}  // namespace

TEST(HexGrid, LinesOfSixteenBytesWithTheirCharacters)
{
    std::vector<std::uint8_t> bytes(32);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i == 17 ? 'A' : i * 9);
    const std::vector<std::string> lines = FormatHexLines(bytes.data(), bytes.size(), 5);
    ASSERT_EQ(lines.size(), 2u);  // no more than the buffer holds
    EXPECT_EQ(lines[1], "00000010 90 41 A2 AB B4 BD C6 CF D8 E1 EA F3 FC 05 0E 17 .A..............");
    for (const std::string& line : lines)
        EXPECT_EQ(line.size(), kHexLineWidth);
    const std::string text = HexGridText(lines);
    EXPECT_EQ(text.substr(0, 74), "Address| 0  1  2  3  4  5  6  7  8  9  A  B  C  D  E  F  |Byte           \n");
    EXPECT_EQ(text.substr(74, 74), std::string(73, '-') + "\n");

    struct Pick {
        int line;
        int column;
        std::optional<std::size_t> byte;
    };
    const Pick picks[] = {{2, 9, 0},
                          {2, 10, 0},
                          {2, 11, 0},
                          {2, 12, 1},
                          {2, 54, 15},
                          {2, 55, 15},
                          {3, 9, 16},
                          {2, 56, std::nullopt},
                          {2, 8, std::nullopt},
                          {1, 9, std::nullopt},
                          {4, 9, std::nullopt}};
    for (const Pick& pick : picks)
        EXPECT_EQ(HexGridByteAt(pick.line, pick.column, bytes.size()), pick.byte) << pick.line << "," << pick.column;
}

TEST(SectorEditor, ReadShowsTheSectorsAndStepsTheStartSector)
{
    EditorRig rig;
    EXPECT_EQ(rig.drive.brand, "ATA");
    EXPECT_EQ(rig.drive.formatSize, "2.00 MB");
    EXPECT_EQ(rig.drive.interfaceName, "SATA");
    EXPECT_TRUE(rig.drive.sizePerPlot.empty());
    rig.editor->OnRead();  // 1 sector at 0, hexadecimal
    EXPECT_EQ(rig.port.GridLines(), 32);
    EXPECT_EQ(rig.editor->fields.startSector, "1");
    EXPECT_EQ(rig.editor->Origin(), BufferOrigin::Disk);
    EXPECT_EQ(std::string(rig.editor->Buffer().begin(), rig.editor->Buffer().begin() + 512),
              rig.original.substr(0, 512));

    rig.editor->OnDecimal();
    rig.Type(IDC_STARTSECTOR, "9");
    rig.Type(IDC_SECTORCOUNT, "2");
    rig.editor->OnRead();
    EXPECT_EQ(rig.port.GridLines(), 64);
    EXPECT_EQ(rig.editor->fields.startSector, "11");
    // A shorter read leaves nothing of the longer one in the buffer.
    rig.Type(IDC_SECTORCOUNT, "1");
    rig.editor->OnRead();
    EXPECT_EQ(rig.editor->Buffer().size(), 512u);
    rig.editor->OnGet();
    EXPECT_EQ(rig.port.GridLines(), 32);
    EXPECT_TRUE(rig.prompt.asked.empty());
}

TEST(SectorEditor, WriteChangesExactlyTheChosenBytesOfTheSectorsRead)
{
    EditorRig rig;
    rig.Type(IDC_STARTSECTOR, "900");
    rig.Type(IDC_SECTORCOUNT, "2");
    rig.editor->OnRead();
    EXPECT_EQ(rig.editor->fields.startSector, "902");  // the next read's, not the write's
    rig.Type(IDC_BUFFEROFFSET, "10");
    rig.Type(IDC_VALUE, "AB");
    rig.editor->OnSet();
    rig.Type(IDC_BUFFEROFFSET, "258");
    rig.Type(IDC_VALUE, "1");
    rig.editor->OnSet();
    EXPECT_TRUE(rig.editor->m_bChanged);
    rig.prompt.Answer(IDYES);
    rig.editor->OnWrite();
    EXPECT_EQ(rig.Changed(), (std::vector<long>{0x900 * 512 + 0x10, 0x900 * 512 + 0x258}));
    EXPECT_FALSE(rig.editor->m_bChanged);
    ASSERT_EQ(rig.prompt.asked.size(), 1u);  // the gate only: not the boot area
    const std::string& question = rig.prompt.asked[0].text;
    for (const std::string& part :
         {rig.Disk(), std::string("ATA Test Disk"), std::string("2.00 MB"), std::string("sectors 900h to 901h")})
        EXPECT_NE(question.find(part), std::string::npos) << part << " in " << question;
    EXPECT_EQ(rig.probed, std::vector<std::string>{rig.Disk()});
    // Nothing changed since: nothing to write.
    rig.editor->OnWrite();
    EXPECT_EQ(rig.prompt.asked.back().text, "You did not make any changes, there is nothing to save");
}

TEST(SectorEditor, NoAtAnyQuestionWritesNothingAndKeepsTheChanges)
{
    struct Case {
        const char* name;
        const char* start;
        std::vector<int> answers;
        std::size_t questions;
    };
    const Case cases[] = {
        {"No at the write question", "900", {IDNO}, 1},
        {"No at the write question in the boot area", "0", {IDNO}, 1},
        {"No at the boot area's question", "7FF", {IDYES, IDNO}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditorRig rig;
        rig.Type(IDC_STARTSECTOR, c.start);
        rig.editor->OnRead();
        rig.Type(IDC_VALUE, "00");
        rig.editor->OnSet();
        for (int answer : c.answers)
            rig.prompt.Answer(answer);
        rig.editor->OnWrite();
        EXPECT_EQ(rig.prompt.asked.size(), c.questions);
        EXPECT_TRUE(rig.Changed().empty());
        EXPECT_TRUE(rig.editor->m_bChanged);
    }
    // Yes to both writes the boot area.
    EditorRig rig;
    rig.editor->OnRead();
    rig.editor->OnSet();  // offset 0 := 00
    rig.prompt.Answer(IDYES);
    rig.prompt.Answer(IDYES);
    rig.editor->OnWrite();
    ASSERT_EQ(rig.prompt.asked.size(), 2u);
    EXPECT_NE(rig.prompt.asked[1].text.find("partition table"), std::string::npos);
    EXPECT_EQ(rig.Changed(), std::vector<long>{0});
}

TEST(SectorEditor, AMountedDiskIsRefusedWithoutAQuestion)
{
    EditorRig rig;
    rig.use.mounts = {"/dev/sdz1 on /mnt"};
    rig.editor->OnRead();
    rig.editor->OnSet();
    rig.prompt.Answer(IDYES);
    rig.editor->OnWrite();
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_NE(rig.prompt.asked[0].text.find("is mounted"), std::string::npos);
    EXPECT_TRUE(rig.Changed().empty());
    EXPECT_TRUE(rig.editor->m_bChanged);
}

TEST(SectorEditor, AWriteThatDoesNotReadBackIsAnError)
{
    FakeEditorRig rig([](FakeDisk& disk) { disk.FailWritesFrom(0, 0); });  // taken and dropped
    SectorEditor& editor = rig.editor;
    ScriptedPrompt& prompt = rig.prompt;
    editor.fields.startSector = "10";
    editor.OnRead();
    editor.fields.value = "5A";
    editor.OnSet();
    prompt.Answer(IDYES);
    prompt.Answer(IDYES);  // sector 16 lies in the boot area
    editor.OnWrite();
    ASSERT_EQ(prompt.asked.size(), 3u);
    EXPECT_NE(prompt.asked[2].text.find("Error writing disk sectors"), std::string::npos);
    EXPECT_NE(prompt.asked[2].text.find("not what was written"), std::string::npos);
    EXPECT_EQ(rig.disk.disk->Flushes(), 1);
    EXPECT_TRUE(editor.m_bChanged);
}

TEST(SectorEditor, AFailedReadMovesNeitherTheStartSectorNorTheTargetTypedInIt)
{
    // Sector 309h fails its first read; the user writes over it.
    FakeEditorRig rig([](FakeDisk& disk) { disk.AddBadSectors(0x309, 1, 1); }, 1 << 20);
    const std::vector<std::uint8_t> next = rig.disk.disk->Bytes(0x30A * 512, 512);
    rig.editor.OnEditChange(IDC_STARTSECTOR, "309");
    rig.editor.OnStartSectorTyped();
    rig.editor.OnRead();
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_NE(rig.prompt.asked[0].text.find("Error reading disk sectors"), std::string::npos);
    EXPECT_EQ(rig.editor.fields.startSector, "309");
    rig.editor.OnSet();  // byte 0 := 00
    rig.prompt.Answer(IDYES);
    rig.prompt.Answer(IDYES);  // the boot area's question
    rig.editor.OnWrite();
    ASSERT_EQ(rig.prompt.asked.size(), 3u);
    EXPECT_NE(rig.prompt.asked[1].text.find("sectors 309h to 309h (512.00 B)"), std::string::npos)
        << rig.prompt.asked[1].text;
    EXPECT_EQ(rig.disk.disk->Bytes(0x309 * 512, 512), std::vector<std::uint8_t>(512, 0));
    EXPECT_EQ(rig.disk.disk->Bytes(0x30A * 512, 512), next);
    EXPECT_FALSE(rig.editor.m_bChanged);
}

TEST(SectorEditor, AReadForgetsTheTargetTypedBeforeIt)
{
    // 100h reads, 101h does not: its buffer has no place to be written to.
    FakeEditorRig rig([](FakeDisk& disk) { disk.AddBadSectors(0x101, 1); }, 1 << 20);
    rig.editor.OnEditChange(IDC_STARTSECTOR, "100");
    rig.editor.OnStartSectorTyped();
    rig.editor.OnRead();
    EXPECT_EQ(rig.editor.fields.startSector, "101");
    rig.editor.OnRead();
    rig.editor.OnSet();
    rig.editor.OnWrite();
    ASSERT_EQ(rig.prompt.asked.size(), 2u);
    EXPECT_NE(rig.prompt.asked[1].text.find("type the sector to write it to"), std::string::npos);
    EXPECT_EQ(rig.disk.disk->Writes(), 0);
}

TEST(SectorEditor, WritesGoOnlyToTheDiskTheSectorsCameFrom)
{
    // Another disk file now stands at the node the sectors were read from.
    EditorRig rig;
    rig.editor->OnRead();
    rig.editor->OnSet();
    WriteFileText(rig.dir.File("other"), rig.original);
    std::filesystem::rename(rig.dir.File("other"), rig.Disk());
    rig.prompt.Answer(IDYES);
    rig.prompt.Answer(IDYES);
    rig.editor->OnWrite();
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    const std::string& refusal = rig.prompt.asked[0].text;
    EXPECT_NE(refusal.find(rig.Disk() + " no longer holds the drive that was chosen"), std::string::npos) << refusal;
    EXPECT_NE(refusal.find("Chosen: ATA     Test Disk, 2.00 MB, inode"), std::string::npos) << refusal;
    EXPECT_NE(refusal.find("There now: 2.00 MB, inode"), std::string::npos) << refusal;
    EXPECT_TRUE(rig.Changed().empty());
    EXPECT_TRUE(rig.editor->m_bChanged);

    // A loaded buffer goes to the disk chosen in the list, or nowhere.
    FakeEditorRig fake([](FakeDisk&) {});
    WriteFileText(rig.dir.File("load.bin"), std::string(512, 'L'));
    fake.port.files.push_back(rig.dir.File("load.bin"));
    fake.editor.OnLoad();
    fake.editor.OnSet();
    fake.editor.OnEditChange(IDC_STARTSECTOR, "10");
    fake.editor.OnStartSectorTyped();
    fake.disk.disk->Reattach(128 * 1024);
    fake.prompt.Answer(IDYES);
    fake.prompt.Answer(IDYES);
    fake.editor.OnWrite();
    ASSERT_EQ(fake.prompt.asked.size(), 1u);
    EXPECT_NE(fake.prompt.asked[0].text.find("disk sequence 1\nThere now: Fake Disk, 128.00 KB"), std::string::npos)
        << fake.prompt.asked[0].text;
    EXPECT_EQ(fake.disk.disk->Writes(), 0);
}

TEST(SectorEditor, ADiskThisUserMayNotWriteIsToldBeforeAnythingIsAsked)
{
    FakeEditorRig rig([](FakeDisk& disk) { disk.RefuseOpen(EACCES, true); });
    rig.editor.OnRead();
    rig.editor.OnSet();
    rig.prompt.Answer(IDYES);
    rig.editor.OnWrite();
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_NE(rig.prompt.asked[0].text.find("Cannot open /dev/sdz for writing: Permission denied"), std::string::npos)
        << rig.prompt.asked[0].text;
    EXPECT_EQ(rig.prompt.asked[0].type & MB_BUTTON_MASK, unsigned{MB_OK});
    EXPECT_EQ(rig.disk.disk->Writes(), 0);
}

TEST(SectorEditor, ALoadedFileIsWrittenOnlyWhereTheUserSays)
{
    EditorRig rig;
    WriteFileText(rig.dir.File("load.bin"), std::string(1000, 'Q'));
    rig.port.files.push_back(rig.dir.File("load.bin"));
    rig.editor->OnLoad();
    EXPECT_EQ(rig.editor->fields.count, "2");
    ASSERT_EQ(rig.editor->Buffer().size(), 1024u);
    EXPECT_EQ(std::string(rig.editor->Buffer().begin() + 1000, rig.editor->Buffer().end()), std::string(24, '\0'));
    EXPECT_EQ(rig.port.GridLines(), 64);
    rig.Type(IDC_VALUE, "52");
    rig.editor->OnSet();
    // The start sector has not been named since the load.
    rig.editor->OnWrite();
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_NE(rig.prompt.asked[0].text.find("Start Sector LBA"), std::string::npos);
    EXPECT_TRUE(rig.Changed().empty());

    rig.Type(IDC_STARTSECTOR, "A00");
    rig.editor->OnStartSectorTyped();
    rig.prompt.Answer(IDYES);
    rig.editor->OnWrite();
    std::string expected = rig.original;
    expected.replace(0xA00 * 512, 1024, "R" + std::string(999, 'Q') + std::string(24, '\0'));
    EXPECT_EQ(ReadFileText(rig.Disk()), expected);
    EXPECT_FALSE(rig.editor->m_bChanged);
}

TEST(SectorEditor, SaveWritesTheOriginalOrTheExtendedSize)
{
    for (bool original : {true, false}) {
        SCOPED_TRACE(original);
        EditorRig rig;
        WriteFileText(rig.dir.File("load.bin"), std::string(1000, 'Q'));
        rig.port.files = {rig.dir.File("load.bin"), rig.dir.File("saved.bin")};
        rig.port.original = original;
        rig.editor->OnLoad();
        rig.editor->OnSave();
        EXPECT_EQ(rig.prompt.asked.back().text, "You did not make any changes, there is nothing to save");
        rig.editor->OnSet();
        rig.editor->OnSave();
        EXPECT_EQ(rig.port.sizeQuestions, 1);
        EXPECT_EQ(rig.prompt.asked.back().text, "File write successful");
        std::string expected(original ? 1000 : 1024, 'Q');
        expected[0] = '\0';
        if (!original)
            std::fill(expected.begin() + 1000, expected.end(), '\0');
        EXPECT_EQ(ReadFileText(rig.dir.File("saved.bin")), expected);
        EXPECT_FALSE(rig.editor->m_bChanged);
    }
}

TEST(SectorEditor, TheEditsFollowTheRadixAndRefuseHexInDecimal)
{
    EditorRig rig;
    rig.Type(IDC_STARTSECTOR, "1f");
    EXPECT_EQ(rig.editor->fields.startSector, "1F");
    rig.Type(IDC_BUFFEROFFSET, "a");
    EXPECT_EQ(rig.editor->fields.offset, "A");
    EXPECT_EQ(rig.port.caretAtEnd.back(), IDC_BUFFEROFFSET);
    rig.editor->OnDecimal();
    EXPECT_EQ(rig.editor->fields.startSector, "31");
    EXPECT_EQ(rig.editor->fields.offset, "00000010");
    EXPECT_EQ(rig.editor->fields.value, "00");
    EXPECT_EQ(rig.editor->fields.count, "1");
    rig.Type(IDC_SECTORCOUNT, "1B");
    EXPECT_EQ(rig.editor->fields.count, "0");
    EXPECT_EQ(rig.prompt.asked.back().text,
              "Error, you have options set to Decimal, you cannot use Hexadecimal characters.");
    rig.editor->OnHexadecimal();
    EXPECT_EQ(rig.editor->fields.startSector, "1F");
    EXPECT_EQ(rig.editor->fields.offset, "0000000A");
    // A pick in the grid gives the offset and the value.
    rig.Type(IDC_SECTORCOUNT, "1");
    rig.editor->OnRead();
    rig.editor->PickAt(3, 9 + 3 * 4);
    EXPECT_EQ(rig.editor->fields.offset, "14");
    EXPECT_EQ(rig.editor->fields.value, Format("%02X", static_cast<unsigned char>(rig.original[31 * 512 + 20])));
    EXPECT_FALSE(rig.editor->m_bChanged);  // looking changes nothing
}

TEST(SectorEditor, ReadsAndLoadsAreBounded)
{
    EditorRig rig;
    rig.Type(IDC_SECTORCOUNT, "801");
    rig.editor->OnRead();
    EXPECT_NE(rig.prompt.asked.back().text.find("at most 2048 sectors"), std::string::npos);
    EXPECT_TRUE(rig.editor->Buffer().empty());
    WriteFileText(rig.dir.File("large.bin"), std::string((1 << 20) + 1, 'x'));
    rig.port.files.push_back(rig.dir.File("large.bin"));
    rig.editor->OnLoad();
    EXPECT_NE(rig.prompt.asked.back().text.find("larger than 1.00 MB"), std::string::npos);
    // Past the disk's end: the sectors that are there, and the error.
    rig.Type(IDC_STARTSECTOR, "FFF");
    rig.Type(IDC_SECTORCOUNT, "2");
    rig.editor->OnRead();
    EXPECT_NE(rig.prompt.asked.back().text.find("Error reading disk sectors"), std::string::npos);
    EXPECT_NE(rig.prompt.asked.back().text.find("ends at sector 4096"), std::string::npos);
    EXPECT_EQ(rig.editor->Origin(), BufferOrigin::None);
}

TEST(SectorEditor, ADiskThatMayNotBeOpenedSaysWhoMay)
{
    FakeEditorRig rig([](FakeDisk& disk) { disk.RefuseOpen(EACCES); });
    rig.editor.OnRead();
    const ScriptedPrompt& prompt = rig.prompt;
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_NE(prompt.asked[0].text.find("Cannot open /dev/sdz for reading"), std::string::npos);
    EXPECT_NE(prompt.asked[0].text.find("group \"disk\""), std::string::npos);
    EXPECT_EQ(prompt.asked[0].text.find("Fatal"), std::string::npos);
    // Its fields show the size the system lists.
    int shown = -1;
    EXPECT_EQ(rig.editor.OnSelchangeDrive(0, shown).formatSize, "64.00 KB");
}

TEST(SectorEditor, ReadChangeWriteOnALoopDevice)
{
    TempDir dir;
    const std::string image = dir.File("disk.img");
    const std::string original = DiskPattern(8 << 20);
    WriteFileText(image, original);
    std::string whyNot;
    std::optional<LoopDevice> loop = LoopDevice::Attach(image, whyNot);
    if (!loop)
        GTEST_SKIP() << whyNot;
    ScopedProfile profile;
    ScriptedPrompt prompt;
    ScriptedPort port;
    const auto record = MakeDiskRecord(loop->Name(), "", "Loop", "", false, 15);
    DiskToolHost host;
    host.drives = {record.get()};
    SectorEditor editor(host, port);
    int shown = -1;
    const DiskDriveFields drive = editor.OnSelchangeDrive(0, shown);
    EXPECT_EQ(drive.formatSize, "8.00 MB");
    editor.fields.startSector = "1000";
    editor.fields.count = "3";
    editor.OnRead();
    editor.fields.offset = "3FF";
    editor.fields.value = "C3";
    editor.OnSet();
    prompt.Answer(IDYES);
    editor.OnWrite();
    ASSERT_EQ(prompt.asked.size(), 1u) << prompt.asked.back().text;
    EXPECT_FALSE(editor.m_bChanged);
    WriteFileText(dir.File("original"), original);
    std::vector<long> changed;
    for (long place : DifferingBytes(dir.File("original"), image))
        changed.push_back(place - 1);
    EXPECT_EQ(changed, std::vector<long>{0x1000 * 512 + 0x3FF});
}
