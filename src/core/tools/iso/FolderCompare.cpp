#include "core/tools/iso/FolderCompare.h"

#include "core/base/Format.h"
#include "core/base/Percent.h"
#include "core/app/TestPageControls.h"
#include "core/base/UserPrompt.h"
#include "core/tools/iso/DiscWalk.h"

#include "platform/files/FolderEntries.h"
#include "platform/files/SequentialFile.h"
#include "scsi/AsciiText.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <iterator>

using namespace discwalk;
using namespace testpage;

namespace {

constexpr const char* kFileNamesHeading = "                       File Names";
constexpr int kChunksPerFieldUpdate = 501;

enum class Match {
    Same,
    LengthDiffers,
    BytesDiffer,
    FirstUnopened,
    SecondUnopened,
    FirstUnread,
    SecondUnread,
    Stopped
};

// A file opened for the compare: only a regular file (a pipe or a device in
// its place would block or never end).
class ComparedFile {
public:
    explicit ComparedFile(const std::string& path) { m_file.Open(path); }

    bool IsOpen() const { return m_file.IsOpen(); }
    std::uint64_t Size() const { return m_file.Size(); }
    // Exactly size bytes, or false (a read error, or the file shrank).
    bool ReadExactly(std::uint8_t* buffer, std::size_t size)
    {
        std::size_t got = 0;
        return m_file.ReadFull(buffer, size, got) && got == size;
    }

private:
    SequentialFile m_file;
};

// Compares two files chunk by chunk: lengths first, then every byte.
Match MatchFiles(const std::string& first, const std::string& second, std::size_t chunk,
                 const std::atomic<int>& running, TestPageEvents& events)
{
    ComparedFile a(first);
    if (!a.IsOpen())
        return Match::FirstUnopened;
    ComparedFile b(second);
    if (!b.IsOpen())
        return Match::SecondUnopened;
    events.SetText(kFieldLength, MegabytesText(a.Size()));
    if (a.Size() != b.Size())
        return Match::LengthDiffers;
    std::vector<std::uint8_t> bufferA(chunk);
    std::vector<std::uint8_t> bufferB(chunk);
    std::uint64_t done = 0;
    int chunks = 0;
    while (done < a.Size()) {
        const std::size_t size = static_cast<std::size_t>(std::min<std::uint64_t>(chunk, a.Size() - done));
        if (!a.ReadExactly(bufferA.data(), size))
            return Match::FirstUnread;
        if (!b.ReadExactly(bufferB.data(), size))
            return Match::SecondUnread;
        if (std::memcmp(bufferA.data(), bufferB.data(), size) != 0)
            return Match::BytesDiffer;
        if (running == 0)
            return Match::Stopped;
        done += size;
        if (++chunks == kChunksPerFieldUpdate) {
            chunks = 0;
            events.SetText(kFieldRemaining, MegabytesText(a.Size() - done));
            events.SetText(kFieldRead, MegabytesText(done));
        }
    }
    return Match::Same;
}

std::string Join(const std::string& folder, const std::string& name)
{
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

// The names of both folders, each once, in byte order.
std::vector<std::string> UnionOfNames(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    std::vector<std::string> names;
    std::set_union(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(names));
    return names;
}

int CountFiles(const std::string& folder, std::set<std::pair<std::uint64_t, std::uint64_t>>& seen)
{
    std::vector<FolderEntry> entries;
    if (!ListFolderEntries(folder, entries))
        return 0;
    int count = 0;
    for (const FolderEntry& entry : entries) {
        if (entry.kind == EntryKind::RegularFile)
            ++count;
        else if (entry.kind == EntryKind::Folder && seen.insert({entry.device, entry.inode}).second)
            count += CountFiles(Join(folder, entry.name), seen);
    }
    return count;
}

// What a path stands for, links followed; nothing when it cannot be looked at.
std::optional<FolderEntry> Look(const std::string& path)
{
    FolderEntry entry;
    if (!LookAtPath(path, entry))
        return std::nullopt;
    return entry;
}

bool IsFileOrFolder(const std::optional<FolderEntry>& entry)
{
    return entry && (entry->kind == EntryKind::RegularFile || entry->kind == EntryKind::Folder);
}

// The name in names that is `wanted`, or else one that differs only in case
// (a disc of plain ISO 9660 names may be mounted in lower case).
std::optional<std::string> NameIgnoringCase(const std::vector<std::string>& names, const std::string& wanted)
{
    if (std::binary_search(names.begin(), names.end(), wanted))
        return wanted;
    const auto found = std::find_if(names.begin(), names.end(),
                                    [&](const std::string& name) { return scsi::EqualsIgnoringCase(name, wanted); });
    return found == names.end() ? std::nullopt : std::optional(*found);
}

// The chosen folder's names and the disc's, each once in byte order; a disc
// name that matches a chosen one but for case goes by the chosen one.
std::vector<std::string> NamesOfBothSides(const std::vector<std::string>& chosen, const std::vector<std::string>& disc)
{
    std::vector<std::string> discOnly;
    for (const std::string& name : disc)
        if (!NameIgnoringCase(chosen, name))
            discOnly.push_back(name);
    return UnionOfNames(chosen, discOnly);
}

}  // namespace

std::optional<std::vector<std::string>> FolderNames(const std::string& folder)
{
    std::vector<FolderEntry> entries;
    if (!ListFolderEntries(folder, entries))
        return std::nullopt;
    std::vector<std::string> names;
    names.reserve(entries.size());
    for (FolderEntry& entry : entries)
        names.push_back(std::move(entry.name));
    std::sort(names.begin(), names.end());
    return names;
}

int FolderCompare::CountFolderFiles(const std::string& folder)
{
    std::set<std::pair<std::uint64_t, std::uint64_t>> seen;
    if (const auto root = Look(folder))
        seen.insert({root->device, root->inode});
    return CountFiles(folder, seen);
}

CompareEnd FolderCompare::DoVideoTSCompare(const std::string& chosenIfo, const std::optional<std::string>& discRoot,
                                           const std::string& lookedFor)
{
    for (int control : {kLabelMediaType, kFieldMediaType, kLabelMediaId, kFieldMediaId})
        m_events.Enable(control, true);
    m_events.SetText(kLabelReadErrors, "Files Left");
    m_events.SetText(kSave, "Save");
    m_events.SetProgress(0);
    // Nothing ran: the page is given back as it was before the start.
    const auto refuse = [&](const std::string& text) {
        m_events.MessageBox(text);
        RestoreCompareButtons(m_events);
        m_events.ShowStatus("Ready");
        return CompareEnd::Failed;
    };
    const std::string chosenFolder = std::filesystem::path(chosenIfo).parent_path().string();
    if (!discRoot)
        return refuse("The disc is not mounted (no mount of " + (lookedFor.empty() ? "the drive" : lookedFor)
                      + " was found): mount it to compare its VIDEO_TS folder.");
    const auto rootNames = FolderNames(*discRoot);
    const std::string discFolder = Join(
        *discRoot, rootNames ? NameIgnoringCase(*rootNames, "VIDEO_TS").value_or("VIDEO_TS") : "VIDEO_TS");
    const auto chosenId = Look(chosenFolder);
    const auto discId = Look(discFolder);
    if (chosenId && discId && chosenId->device == discId->device && chosenId->inode == discId->inode)
        return refuse("Source and Destination drive cannot be the same");
    const auto discNames = FolderNames(discFolder);
    if (!discNames)
        return refuse("Error could not access the destination folder " + discFolder);
    const std::vector<std::string> names = NamesOfBothSides(
        FolderNames(chosenFolder).value_or(std::vector<std::string>{}), *discNames);
    int filesLeft = static_cast<int>(names.size());
    m_events.SetText(kFieldReadErrors, Format("%d", filesLeft));
    const int step = names.empty() ? 0 : 100 / static_cast<int>(names.size());

    m_events.ResetList(kFileNamesHeading);
    m_events.EnablePageButton(PageButton::Save, true);
    m_events.SetMapLayerBreak(0);
    m_running = 1;
    int progress = 0;
    const auto end = [&](CompareEnd result) {
        RestoreCompareButtons(m_events);
        m_events.ShowStatus("Ready");
        m_running = 0;
        return result;
    };
    for (const std::string& name : names) {
        m_events.SetText(kFieldReadErrors, Format("%d", --filesLeft));
        const std::string chosen = Join(chosenFolder, name);
        const std::string onDisc = Join(discFolder, NameIgnoringCase(*discNames, name).value_or(name));
        switch (MatchFiles(chosen, onDisc, kVideoChunkBytes, m_running, m_events)) {
        case Match::Same: break;
        case Match::FirstUnopened:
        case Match::SecondUnopened:
            m_events.ShowStatus("Could not open file");
            m_events.Beep(MB_OK);
            RestoreCompareButtons(m_events);
            m_running = 0;
            return CompareEnd::Failed;
        case Match::FirstUnread:
        case Match::SecondUnread:
            m_events.MessageBox(Format("Error reading %s", name.c_str()));
            return end(CompareEnd::Failed);
        case Match::LengthDiffers:
        case Match::BytesDiffer:
            m_events.MessageBox(Format("Difference found in %s", name.c_str()));
            end(CompareEnd::Different);
            m_events.MessageBox("Differences were found");
            return CompareEnd::Different;
        case Match::Stopped: return end(CompareEnd::Stopped);
        }
        progress += step;
        m_events.SetProgress(progress);
        m_events.AddListLine(Format("%s - %s", name.c_str(), "Identical"));
    }
    m_events.SetProgress(100);
    for (int field : {kFieldLength, kFieldRemaining, kFieldRead})
        m_events.SetText(field, "-----");
    end(CompareEnd::Identical);
    m_events.MessageBox("They were identical");
    m_events.Beep(MB_ICONINFORMATION);
    return CompareEnd::Identical;
}

CompareEnd FolderCompare::DoDirCompare(const std::string& first, const std::string& second)
{
    for (int control : {kLabelMediaType, kFieldMediaType, kLabelMediaId, kFieldMediaId})
        m_events.Enable(control, false);
    m_events.SetText(kLabelReadErrors, "Files Left");
    m_events.SetText(kSave, "Save");
    m_events.SetProgress(0);
    m_events.ResetList(kFileNamesHeading);
    m_events.EnablePageButton(PageButton::Save, true);
    m_events.SetMapLayerBreak(0);
    m_running = 1;
    m_nFolderFilesDone = 0;
    m_nLastPercent = 0;
    m_nFolderFileTotal = CountFolderFiles(first);
    m_comparedFolders.clear();
    m_nRepeatedFolders = 0;

    std::set<FolderId> firstPath;
    std::set<FolderId> secondPath;
    const auto firstRoot = Look(first);
    const auto secondRoot = Look(second);
    if (firstRoot)
        firstPath.insert({firstRoot->device, firstRoot->inode});
    if (secondRoot)
        secondPath.insert({secondRoot->device, secondRoot->inode});
    const Outcome outcome = secondRoot && secondRoot->kind == EntryKind::Folder
        ? CompareFolderTree(first, second, firstPath, secondPath)
        : OpenFailure(second);
    if (m_nRepeatedFolders > 0)
        m_events.AddListLine(
            Format("Folders reached again through links, compared once: %d skipped", m_nRepeatedFolders));
    // The page shows the end before the result box comes.
    if (outcome == Outcome::Same)
        m_events.SetProgress(100);
    for (int field : {kFieldLength, kFieldRemaining, kFieldRead})
        m_events.SetText(field, "-----");
    RestoreCompareButtons(m_events);
    m_events.ShowStatus("Ready");
    m_running = 0;
    if (outcome == Outcome::Same)
        m_events.MessageBox("They were identical");
    switch (outcome) {
    case Outcome::Same: return CompareEnd::Identical;
    case Outcome::Different: return CompareEnd::Different;
    case Outcome::Stopped: return CompareEnd::Stopped;
    case Outcome::Failed: break;
    }
    return CompareEnd::Failed;
}

FolderCompare::Outcome FolderCompare::CompareFolderTree(const std::string& first, const std::string& second,
                                                        std::set<FolderId>& firstPath, std::set<FolderId>& secondPath)
{
    const auto firstNames = FolderNames(first);
    if (!firstNames)
        return OpenFailure(first);
    const auto secondNames = FolderNames(second);
    if (!secondNames)
        return OpenFailure(second);
    for (const std::string& name : UnionOfNames(*firstNames, *secondNames)) {
        if (m_running == 0) {
            RestoreCompareButtons(m_events);
            m_events.ShowStatus("Ready");
            return Outcome::Stopped;
        }
        const std::string a = Join(first, name);
        const std::string b = Join(second, name);
        // A name one side lacks is a difference.
        const bool inFirst = std::binary_search(firstNames->begin(), firstNames->end(), name);
        const bool inSecond = std::binary_search(secondNames->begin(), secondNames->end(), name);
        if (!inFirst || !inSecond) {
            const std::string only = Format("Only in %s: %s", (inFirst ? first : second).c_str(), name.c_str());
            m_events.AddListLine(only);
            m_events.MessageBox(only);
            return Outcome::Different;
        }
        // A link that leads nowhere or loops, and anything but a file or
        // folder cannot be opened for the compare.
        const auto sa = Look(a);
        if (!IsFileOrFolder(sa))
            return OpenFailure(a);
        const auto sb = Look(b);
        if (!IsFileOrFolder(sb))
            return OpenFailure(b);
        if ((sa->kind == EntryKind::Folder) != (sb->kind == EntryKind::Folder)) {
            m_events.AddListLine(Format("%s - %s", b.c_str(), "Difference found"));
            m_events.MessageBox(Format("Difference found in %s", b.c_str()));
            return Outcome::Different;
        }
        if (sa->kind == EntryKind::RegularFile) {
            if (const Outcome outcome = CompareTwoFiles(a, b); outcome != Outcome::Same)
                return outcome;
            continue;
        }
        // A folder met again below itself is a loop of links.
        const FolderId idA{sa->device, sa->inode};
        const FolderId idB{sb->device, sb->inode};
        const bool loops = firstPath.contains(idA) || secondPath.contains(idB);
        if (!loops && !m_comparedFolders.insert({idA, idB}).second) {
            ++m_nRepeatedFolders;  // links reach the pair again: compared once
            continue;
        }
        if (!firstPath.insert(idA).second)
            return OpenFailure(a);
        if (!secondPath.insert(idB).second) {
            firstPath.erase(idA);
            return OpenFailure(b);
        }
        const Outcome outcome = CompareFolderTree(a, b, firstPath, secondPath);
        firstPath.erase(idA);
        secondPath.erase(idB);
        if (outcome != Outcome::Same)
            return outcome;
    }
    return Outcome::Same;
}

FolderCompare::Outcome FolderCompare::CompareTwoFiles(const std::string& first, const std::string& second)
{
    const std::string name = std::filesystem::path(second).filename().string();
    switch (MatchFiles(first, second, kFolderChunkBytes, m_running, m_events)) {
    case Match::Same: break;
    case Match::FirstUnopened: return OpenFailure(first);
    case Match::SecondUnopened: return OpenFailure(second);
    case Match::FirstUnread:
    case Match::SecondUnread:
        RestoreCompareButtons(m_events);
        m_running = 0;
        m_events.MessageBox(Format("Error reading %s", second.c_str()));
        return Outcome::Failed;
    case Match::LengthDiffers:
        m_events.AddListLine(Format("%s - %s", second.c_str(), "Difference found"));
        m_events.MessageBox(Format("Difference found in %s", second.c_str()));
        return Outcome::Different;
    case Match::BytesDiffer:
        m_events.MessageBox(Format("Difference found in %s", second.c_str()));
        RestoreCompareButtons(m_events);
        m_events.ShowStatus("Ready");
        m_events.AddListLine(Format("%s - %s", name.c_str(), "Difference found"));
        return Outcome::Different;
    case Match::Stopped:
        RestoreCompareButtons(m_events);
        m_events.ShowStatus("Ready");
        return Outcome::Stopped;
    }
    m_events.AddListLine(Format("%s - %s", second.c_str(), "Identical"));
    CountMatch();
    return Outcome::Same;
}

FolderCompare::Outcome FolderCompare::OpenFailure(const std::string& path)
{
    m_events.ShowStatus("Could not open file");
    RestoreCompareButtons(m_events);
    m_running = 0;
    m_events.MessageBox(Format("Error opening %s", path.c_str()));
    return Outcome::Failed;
}

void FolderCompare::CountMatch()
{
    ++m_nFolderFilesDone;
    const int percent = PercentOf(m_nFolderFilesDone, m_nFolderFileTotal);
    if (percent > m_nLastPercent) {
        m_nLastPercent = percent;
        m_events.SetProgress(percent);
        m_events.SetText(kFieldReadErrors, Format("%d", m_nFolderFileTotal - m_nFolderFilesDone));
    }
}
