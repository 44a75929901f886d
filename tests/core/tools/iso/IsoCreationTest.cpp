#include "IsoTestSupport.h"

#include "core/app/TestPageControls.h"
#include "core/tools/iso/IsoCreation.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using namespace testpage;

namespace {

struct Creation {
    explicit Creation(ImageDiscReader& reader) : drive(reader) {}
    IsoCreationEnd Run(const std::string& path, std::uint64_t freeBytes = UINT64_MAX / 2)
    {
        IsoCreation creation(drive, events, running);
        return creation.DoCreateISO({path, [freeBytes](const std::string&) { return freeBytes; }});
    }
    ImageDiscReader& drive;
    RecordingEvents events;
    std::atomic<int> running{0};
};

// Files in a folder other than the ones named.
std::vector<std::string> FolderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(IsoCreation, TheImageOfADiscMadeByEachToolEqualsItsSource)
{
    for (const char* tool : {"xorriso", "genisoimage"}) {
        TempDir dir;
        WriteSampleTree(dir.File("tree"));
        ASSERT_TRUE(MakeIsoImage(tool, dir.File("tree"), dir.File("source.iso"))) << tool;
        ImageDiscReader disc(dir.File("source.iso"));
        Creation creation(disc);
        EXPECT_EQ(creation.Run(dir.File("copy.iso")), IsoCreationEnd::Complete) << tool;
        EXPECT_EQ(RunCommand("cmp -s '" + dir.File("source.iso") + "' '" + dir.File("copy.iso") + "'"), 0) << tool;
        EXPECT_EQ(creation.events.BoxTexts(), std::vector<std::string>{"ISO File create complete"});
        EXPECT_EQ(creation.events.Status(), "Ready");
        EXPECT_EQ(creation.events.progress.back(), 100);
        EXPECT_EQ(creation.running, 0);
        // The tray was locked for the copy and let go after it.
        EXPECT_EQ(disc.locks, (std::vector<bool>{true, false}));
        EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"copy.iso", "source.iso", "tree"}));
    }
}

TEST(IsoCreation, ReadsNeverPassTheLastBlock)
{
    struct Case {
        std::int64_t last;
        std::vector<int> counts;
    };
    for (const Case& c : {Case{99, {25, 25, 25, 25}}, Case{90, {25, 25, 25, 16}}, Case{100, {25, 25, 25, 25, 1}}}) {
        TempDir dir;
        ImageDiscReader disc(c.last + 1);
        Creation creation(disc);
        ASSERT_EQ(creation.Run(dir.File("disc.iso")), IsoCreationEnd::Complete) << c.last;
        std::vector<int> counts;
        for (const auto& read : disc.reads)
            if (read.command == BlockRead::Read10)
                counts.push_back(read.count);
        EXPECT_EQ(counts, c.counts) << c.last;
        EXPECT_EQ(fs::file_size(dir.File("disc.iso")), std::uintmax_t(c.last + 1) * 2048) << c.last;
        EXPECT_EQ(disc.reads.front(), (ImageDiscReader::Read{BlockRead::Read10Fua, 0, 25})) << "the trial read";
    }
}

TEST(IsoCreation, ReadSizesAndMapCellsFollowTheProfile)
{
    struct Case {
        int profile;
        int layers;
        int readCount;
        int readsPerCell;
    };
    for (const Case& c : {Case{0x08, 1, 20, 4}, Case{0x10, 1, 25, 16}, Case{0x2B, 2, 25, 32}, Case{0x41, 1, 25, 75},
                          Case{0x43, 2, 25, 75}}) {
        TempDir dir;
        const int cells = 3;
        ImageDiscReader disc(std::int64_t{c.readCount} * c.readsPerCell * cells);
        disc.profile = c.profile;
        disc.layers = DiscLayers{c.layers, 0x1F0000};
        Creation creation(disc);
        ASSERT_EQ(creation.Run(dir.File("disc.iso")), IsoCreationEnd::Complete);
        EXPECT_EQ(disc.reads[1].count, c.readCount) << c.profile;
        EXPECT_EQ(creation.events.MapCells(), cells) << c.profile;
        const bool marked = std::count(creation.events.map.begin(), creation.events.map.end(),
                                       "break " + std::to_string(0x1F0000 / 72000 * 5));
        EXPECT_EQ(marked, c.layers == 2) << c.profile;
    }
}

TEST(IsoCreation, AnUnreadableBlockEndsTheCopyWithItsAddressAndLeavesNoImage)
{
    TempDir dir;
    WriteFileText(dir.File("disc.iso"), "the image of last week");
    ImageDiscReader disc(500);
    disc.unreadable = {437};
    Creation creation(disc);
    EXPECT_EQ(creation.Run(dir.File("disc.iso")), IsoCreationEnd::ReadError);
    EXPECT_EQ(creation.events.Status(), "Read Error");
    EXPECT_EQ(creation.events.Lines(), std::vector<std::string>{"LBA=1B5h"});
    EXPECT_EQ(creation.events.texts[kFieldReadErrors], "1B5h");
    EXPECT_EQ(creation.events.posted, std::vector<UINT>{WM_ERRORTESTENDED});
    // No read after the failed one, and what stood under the name is untouched.
    EXPECT_EQ(disc.reads.back().lba, 425);
    EXPECT_EQ(ReadFileText(dir.File("disc.iso")), "the image of last week");
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"disc.iso"});
    EXPECT_EQ(creation.running, 0);
    EXPECT_EQ(disc.locks.back(), false);
}

TEST(IsoCreation, ALockedDiscSaysSoAndAShortTransferIsNoData)
{
    TempDir dir;
    ImageDiscReader locked(100);
    locked.unreadable = {30};
    locked.unreadableSense = {5, 0x6F, 0x03};
    Creation first(locked);
    EXPECT_EQ(first.Run(dir.File("a.iso")), IsoCreationEnd::Locked);
    EXPECT_EQ(first.events.BoxTexts(),
              std::vector<std::string>{"This Disc is encrypted and locked and cannot be read. Try playing in a "
                                       "player first to unlock it"});
    EXPECT_EQ(first.events.Status(), "Media is encrypted & locked");

    // A drive that sends less than asked without an error: the missing block
    // is not made up from what the buffer held.
    ImageDiscReader shortDisc(100);
    shortDisc.shortTransferAt = 50;
    Creation second(shortDisc);
    EXPECT_EQ(second.Run(dir.File("b.iso")), IsoCreationEnd::ReadError);
    EXPECT_EQ(second.events.Lines(), std::vector<std::string>{"LBA=4Ah"});
    EXPECT_TRUE(FolderEntries(dir.Path()).empty());
}

TEST(IsoCreation, ADiscReadOnlyByReadCdGivesItsUserDataNotRawSectors)
{
    TempDir dir;
    ImageDiscReader disc(70);
    disc.profile = 0x08;
    disc.read10Refused = true;
    Creation creation(disc);
    ASSERT_EQ(creation.Run(dir.File("cd.iso")), IsoCreationEnd::Complete);
    EXPECT_EQ(disc.reads.front(), (ImageDiscReader::Read{BlockRead::Read10Fua, 0, 20}));
    EXPECT_EQ(disc.reads[1], (ImageDiscReader::Read{BlockRead::ReadCdRaw, 0, 10}));
    const std::string image = FileBytes(dir.File("cd.iso"));
    ASSERT_EQ(image.size(), 70u * 2048);
    for (std::int64_t lba : {0, 41, 69}) {
        const auto block = disc.Block(lba);
        EXPECT_EQ(image.substr(std::size_t(lba) * 2048, 2048), std::string(block.begin(), block.end())) << lba;
    }

    // Audio sectors hold no blocks of data: the copy stops at the first.
    ImageDiscReader audio(70);
    audio.profile = 0x08;
    audio.read10Refused = true;
    audio.audioSectors = true;
    Creation second(audio);
    EXPECT_EQ(second.Run(dir.File("audio.iso")), IsoCreationEnd::ReadError);
    EXPECT_EQ(second.events.Lines(), std::vector<std::string>{"LBA=0h"});
    EXPECT_FALSE(fs::exists(dir.File("audio.iso")));
}

TEST(IsoCreation, RefusalsBeforeTheCopyLeaveNothingBehind)
{
    TempDir dir;
    const std::uint64_t needed = 100 * 2048;
    {
        ImageDiscReader disc(100);
        Creation creation(disc);
        // Free space exactly the image's size is not enough.
        EXPECT_EQ(creation.Run(dir.File("a.iso"), needed), IsoCreationEnd::EarlyEnd);
        EXPECT_EQ(creation.events.Status(), "Not enough free space on destination");
        EXPECT_TRUE(disc.reads.empty());
        Creation enough(disc);
        EXPECT_EQ(enough.Run(dir.File("a.iso"), needed + 1), IsoCreationEnd::Complete);
        fs::remove(dir.File("a.iso"));
    }
    {
        ImageDiscReader blank(1);
        blank.lastLbaOverride = 0;
        Creation creation(blank);
        EXPECT_EQ(creation.Run(dir.File("b.iso")), IsoCreationEnd::Blank);
        EXPECT_EQ(creation.events.BoxTexts(), std::vector<std::string>{"Media seems to be blank!"});
        EXPECT_EQ(creation.events.posted, std::vector<UINT>{WM_TESTENDED});
        EXPECT_EQ(creation.events.Status(), "Error - Media is blank");
    }
    {
        ImageDiscReader unreadable(100);
        unreadable.read10Refused = true;
        unreadable.readCdRefused = true;
        Creation creation(unreadable);
        EXPECT_EQ(creation.Run(dir.File("c.iso")), IsoCreationEnd::EarlyEnd);
        EXPECT_EQ(unreadable.senseReports, std::vector<int>{0x28});
        EXPECT_EQ(creation.events.enabled[kStart], true);
    }
    {
        ImageDiscReader disc(100);
        Creation creation(disc);
        EXPECT_EQ(creation.Run(dir.File("no such folder/d.iso")), IsoCreationEnd::EarlyEnd);
        EXPECT_EQ(creation.events.BoxTexts(), std::vector<std::string>{"Error creating file"});
    }
    EXPECT_TRUE(FolderEntries(dir.Path()).empty());
}

TEST(IsoCreation, StopEndsAtTheNextStepWithoutAnImage)
{
    TempDir dir;
    ImageDiscReader disc(25 * 16 * 10);
    Creation creation(disc);
    // Stop is pressed while the third cell is read.
    struct StopAt : RecordingEvents {
        std::atomic<int>* running = nullptr;
        void NextMapBlock(bool bad) override
        {
            RecordingEvents::NextMapBlock(bad);
            if (MapCells() == 2)
                *running = 0;
        }
    } events;
    events.running = &creation.running;
    IsoCreation stopped(disc, events, creation.running);
    EXPECT_EQ(stopped.DoCreateISO({dir.File("stop.iso"), [](const std::string&) { return UINT64_MAX / 2; }}),
              IsoCreationEnd::Stopped);
    EXPECT_EQ(events.MapCells(), 2);
    EXPECT_TRUE(FolderEntries(dir.Path()).empty());
    EXPECT_EQ(disc.locks.back(), false);
}
