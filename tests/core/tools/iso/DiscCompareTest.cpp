#include "IsoTestSupport.h"

#include "core/base/Format.h"
#include "core/app/TestPageControls.h"
#include "core/tools/iso/DiscCompare.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace {

struct Compare {
    explicit Compare(ImageDiscReader& reader) : drive(reader) {}
    CompareEnd Run(const std::string& image, bool bluRay = false)
    {
        DiscCompare compare(drive, events, running);
        return compare.DoISOCompare(image, bluRay);
    }
    ImageDiscReader& drive;
    RecordingEvents events;
    std::atomic<int> running{0};
};

// The difference lines `cmp -l image disc` stands for, with the line the
// compare adds when the lengths differ.
std::vector<std::string> LinesFromCmp(const std::string& image, const std::string& disc)
{
    std::vector<std::string> lines;
    const std::unique_ptr<FILE, int (*)(FILE*)> output(
        ::popen(("cmp -l '" + image + "' '" + disc + "' 2>/dev/null").c_str(), "r"), ::pclose);
    unsigned long long offset = 0;
    unsigned imageByte = 0;
    unsigned discByte = 0;
    while (std::fscanf(output.get(), "%llu %o %o", &offset, &imageByte, &discByte) == 3) {
        const unsigned long long at = offset - 1;
        lines.push_back(DifferenceLine(static_cast<std::int64_t>(at / 2048), static_cast<int>(at % 2048),
                                       static_cast<std::uint8_t>(imageByte), static_cast<std::uint8_t>(discByte)));
    }
    if (fs::file_size(image) != fs::file_size(disc))
        lines.push_back(Format("Length ISO=%llu Disc=%llu bytes", static_cast<unsigned long long>(fs::file_size(image)),
                               static_cast<unsigned long long>(fs::file_size(disc))));
    return lines;
}

void PokeBytes(const std::string& path, const std::vector<std::pair<std::uint64_t, char>>& changes)
{
    std::string bytes = FileBytes(path);
    for (const auto& [offset, value] : changes)
        bytes[offset] = value;
    WriteFileText(path, bytes);
}

class DiscCompareTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WriteSampleTree(m_dir.File("tree"));
        ASSERT_TRUE(MakeIsoImage("xorriso", m_dir.File("tree"), Source()));
        fs::copy_file(Source(), Copy());
    }
    std::string Source() const { return m_dir.File("source.iso"); }
    std::string Copy() const { return m_dir.File("copy.iso"); }

    TempDir m_dir;
};

}  // namespace

TEST_F(DiscCompareTest, DifferenceLinesAreThoseOfCmpToTheLastBlock)
{
    const std::uint64_t size = fs::file_size(Source());
    struct Case {
        const char* what;
        std::function<void(const std::string&)> change;
    };
    const std::vector<Case> cases = {
        {"identical", [](const std::string&) {}},
        {"bytes changed, the last two blocks among them",
         [&](const std::string& path) {
             PokeBytes(path, {{0, 'Q'}, {2047, 'Q'}, {70000, 'Q'}, {size - 4000, 'Q'}, {size - 1, 'Q'}});
         }},
        {"shorter", [&](const std::string& path) { fs::resize_file(path, size - 3 * 2048 - 100); }},
        {"longer", [&](const std::string& path) { fs::resize_file(path, size + 2048); }},
        {"shorter and changed",
         [&](const std::string& path) {
             PokeBytes(path, {{5, 'Q'}});
             fs::resize_file(path, size - 51200);
         }},
    };
    for (const Case& c : cases) {
        fs::remove(Copy());
        fs::copy_file(Source(), Copy());
        c.change(Copy());
        ImageDiscReader disc(Source());
        Compare compare(disc);
        const CompareEnd end = compare.Run(Copy());
        const std::vector<std::string> expected = LinesFromCmp(Copy(), Source());
        EXPECT_EQ(compare.events.Lines(), expected) << c.what;
        EXPECT_EQ(end, expected.empty() ? CompareEnd::Identical : CompareEnd::Different) << c.what;
        EXPECT_EQ(compare.events.BoxTexts(),
                  std::vector<std::string>{expected.empty() ? "They are identical" : "Differences were found"})
            << c.what;
        EXPECT_EQ(compare.events.posted, std::vector<UINT>{WM_COMPAREENDED}) << c.what;
        // The result comes once the page shows the compare's end.
        EXPECT_EQ(compare.events.boxes.back().status, "Ready") << c.what;
        EXPECT_EQ(compare.events.boxes.back().progress, 100) << c.what;
        EXPECT_EQ(compare.events.Status(), "Ready") << c.what;
        EXPECT_EQ(compare.running, 0) << c.what;
        EXPECT_EQ(compare.events.texts[testpage::kSave], "Create") << c.what;
    }
}

TEST_F(DiscCompareTest, AChunkTheDriveCannotReadIsNeverIdentical)
{
    ImageDiscReader disc(Source());
    disc.unreadable = {60};
    Compare compare(disc);
    EXPECT_EQ(compare.Run(Copy()), CompareEnd::Different);
    EXPECT_EQ(compare.events.Lines(), std::vector<std::string>{"LBA=3Ch Blocks=15 Disc=unreadable"});
    EXPECT_EQ(compare.events.BoxTexts(), std::vector<std::string>{"Differences were found"});
    // The rest of the disc was still compared.
    EXPECT_EQ(disc.reads.back().lba + disc.reads.back().count, disc.Blocks());
}

TEST_F(DiscCompareTest, AskedOnceAfterAHundredDifferences)
{
    std::vector<std::pair<std::uint64_t, char>> changes;
    for (std::uint64_t i = 0; i < 150; ++i)
        changes.push_back({40000 + i * 3, 'Q'});
    PokeBytes(Copy(), changes);
    const std::string question = "Over 100 differences found.\rDo you wish to stop?";
    {
        ImageDiscReader disc(Source());
        Compare compare(disc);
        compare.events.answers = {IDNO};
        EXPECT_EQ(compare.Run(Copy()), CompareEnd::Different);
        EXPECT_EQ(compare.events.Lines().size(), 150u);
        EXPECT_EQ(compare.events.BoxTexts(), (std::vector<std::string>{question, "Differences were found"}));
        EXPECT_EQ(compare.events.boxes[0].caption, "Stop?");
        EXPECT_EQ(compare.events.boxes[0].type, unsigned{MB_YESNO | MB_ICONQUESTION});
    }
    {
        ImageDiscReader disc(Source());
        Compare compare(disc);
        compare.events.answers = {IDYES};
        EXPECT_EQ(compare.Run(Copy()), CompareEnd::Stopped);
        // The 102nd difference asked and is listed; the next one ends the compare.
        EXPECT_EQ(compare.events.Lines().size(), 102u);
        EXPECT_EQ(compare.events.BoxTexts(), std::vector<std::string>{question});
        EXPECT_EQ(compare.events.posted, std::vector<UINT>{WM_COMPAREENDED});
        EXPECT_EQ(compare.events.texts[testpage::kFieldReadErrors], "0");
    }
}

// Past the list's cap the differences are only counted, and the count ends
// the list.
TEST_F(DiscCompareTest, DifferencesPastTheListsCapAreCounted)
{
    constexpr std::uint64_t kChanged = 120000;
    std::string bytes = FileBytes(Copy());
    ASSERT_GT(bytes.size(), 4096 + kChanged);
    for (std::uint64_t i = 4096; i < 4096 + kChanged; ++i)
        bytes[i] = static_cast<char>(~bytes[i]);
    WriteFileText(Copy(), bytes);
    ImageDiscReader disc(Source());
    Compare compare(disc);
    compare.events.answers = {IDNO};
    EXPECT_EQ(compare.Run(Copy()), CompareEnd::Different);
    const std::vector<std::string> lines = compare.events.Lines();
    ASSERT_EQ(lines.size(), DiscCompare::kMaxListedDifferences + 2);
    EXPECT_EQ(lines[0],
              DifferenceLine(2, 0, static_cast<std::uint8_t>(bytes[4096]), static_cast<std::uint8_t>(~bytes[4096])));
    EXPECT_EQ(lines[DiscCompare::kMaxListedDifferences], "Further differences are not listed");
    EXPECT_EQ(lines.back(), "120000 differing bytes in all");
}

TEST_F(DiscCompareTest, DiscsThatCannotBeComparedSaySoAndNeverIdentical)
{
    {
        ImageDiscReader audio(Source());
        audio.profile = 0x08;
        audio.read10Refused = true;
        Compare compare(audio);
        EXPECT_EQ(compare.Run(Copy()), CompareEnd::Failed);
        EXPECT_EQ(compare.events.BoxTexts(), std::vector<std::string>{"AudioCD Compare not supported"});
        EXPECT_EQ(audio.reads.back(), (ImageDiscReader::Read{BlockRead::ReadCdRaw, 0, 12}));
    }
    {
        // A BD drive is not asked for CD sectors.
        ImageDiscReader bd(Source());
        bd.profile = 0x41;
        bd.read10Refused = true;
        Compare compare(bd);
        EXPECT_EQ(compare.Run(Copy(), true), CompareEnd::Failed);
        EXPECT_EQ(bd.senseReports, std::vector<int>{0x28});
        EXPECT_TRUE(compare.events.BoxTexts().empty());
    }
    {
        ImageDiscReader unknownSize(Source());
        unknownSize.capacityFails = true;
        Compare compare(unknownSize);
        EXPECT_EQ(compare.Run(Copy()), CompareEnd::Failed);
        EXPECT_EQ(compare.events.Status(), "Error Reading Media");
    }
    {
        ImageDiscReader disc(Source());
        Compare compare(disc);
        EXPECT_EQ(compare.Run(m_dir.File("missing.iso")), CompareEnd::Failed);
        EXPECT_EQ(compare.events.BoxTexts(), std::vector<std::string>{"Could not open file"});
        EXPECT_EQ(compare.Run(m_dir.Path()), CompareEnd::Failed) << "a folder is no image";
    }
}

TEST(DiscCompareMap, CellsFollowTheDiscKind)
{
    TempDir dir;
    struct Case {
        int profile;
        bool bluRay;
        int readsPerCell;
    };
    for (const Case& c : {Case{0x10, false, 16}, Case{0x08, false, 4}, Case{0x41, true, 75}}) {
        ImageDiscReader disc(std::int64_t{25} * c.readsPerCell * 2);
        disc.profile = c.profile;
        const std::string image = dir.File("disc.iso");
        std::string bytes;
        for (std::int64_t lba = 0; lba < disc.Blocks(); ++lba) {
            const auto block = disc.Block(lba);
            bytes.append(block.begin(), block.end());
        }
        bytes[25 * 2048 * c.readsPerCell + 9] ^= 1;  // in the second cell
        WriteFileText(image, bytes);
        Compare compare(disc);
        EXPECT_EQ(compare.Run(image, c.bluRay), CompareEnd::Different) << c.profile;
        EXPECT_EQ(compare.events.MapCells(), 2) << c.profile;
        EXPECT_EQ(compare.events.map.back(), "bad") << c.profile;
    }
}
