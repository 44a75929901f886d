#include "core/tools/iso/DiscCompare.h"

#include "core/base/Format.h"
#include "core/base/Percent.h"
#include "core/app/TestPageControls.h"
#include "core/base/UserPrompt.h"
#include "core/tools/iso/DiscWalk.h"
#include "core/tools/testpage/TestResults.h"
#include "platform/files/SequentialFile.h"
#include "scsi/Opcodes.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

using namespace discwalk;
using namespace testpage;

namespace {

constexpr const char* kDifferencesHeading = "                       Differences";
constexpr std::uint64_t kPromptAfter = 100;
constexpr int kPassesPerFieldUpdate = 10;

}  // namespace

std::string DifferenceLine(std::int64_t lba, int byte, std::uint8_t image, std::uint8_t disc)
{
    return Format("LBA=%llXh Byte=%d ISO=%2Xh Disc=%2Xh ", static_cast<unsigned long long>(lba), byte, image, disc);
}

struct DiscCompare::Walk {
    std::int64_t lba = 0;
    std::uint64_t differences = 0;
    std::uint64_t listed = 0;
    bool identical = true;
    bool prompted = false;
    bool cellHadDifference = false;
};

CompareEnd DiscCompare::Fail(const std::string& message)
{
    if (!message.empty())
        m_events.MessageBox(message);
    RestoreCompareButtons(m_events);
    m_running = 0;
    return CompareEnd::Failed;
}

CompareEnd DiscCompare::StopEnd()
{
    m_events.ClearBlockMap();
    m_events.SetPageRunning(false);
    m_events.SetText(kSave, "Create");
    m_events.EnablePageButton(PageButton::Save, true);
    testpage::ResetTestResults(m_events);
    m_events.ShowStatus("Ready");
    m_events.Enable(kDevices, true);
    m_drive.PreventRemoval(false);
    m_running = 0;
    m_events.Post(WM_COMPAREENDED);
    return CompareEnd::Stopped;
}

CompareEnd DiscCompare::EndByFault(DriveLoss loss, std::int64_t lba)
{
    // No verdict: the list and the map keep what was compared.
    m_events.Post(WM_COMPAREENDED);
    RestoreCompareButtons(m_events);
    m_events.ShowStatus(
        Format("Compare ended at LBA %llXh: %s", static_cast<unsigned long long>(lba), DriveLossText(loss)));
    m_drive.PreventRemoval(false);
    m_running = 0;
    m_events.Beep(MB_ICONERROR);
    return CompareEnd::Fault;
}

CompareEnd DiscCompare::DoISOCompare(const std::string& imagePath, bool bluRay)
{
    for (int control : {kLabelMediaType, kFieldMediaType, kLabelMediaId, kFieldMediaId})
        m_events.Enable(control, true);
    m_events.SetText(kSave, "Save");
    std::vector<std::uint8_t> image;
    std::vector<std::uint8_t> disc;
    try {
        image.resize(kChunkBytes);
        disc.resize(kChunkBytes);
    } catch (const std::bad_alloc&) {
        m_events.Enable(kTools, true);
        return Fail("Could not allocate memory");
    }
    // Only a regular file: a pipe or a device in its place would block or never end.
    SequentialFile file;
    if (!file.Open(imagePath))
        return Fail("Could not open file");

    const std::optional<std::int64_t> last = m_drive.ReadLastLba();
    if (!last) {
        // Without the disc's size nothing can be compared: never "identical".
        m_events.ShowStatus("Error Reading Media");
        m_events.Beep(MB_OK);
        return Fail("");
    }
    if (*last == 0) {
        m_events.MessageBox("Media seems to be blank!");
        RestoreCompareButtons(m_events);
        m_events.Post(WM_TESTENDED);
        m_events.ShowStatus("Error - Media is blank");
        m_running = 0;
        return CompareEnd::Failed;
    }
    const std::uint64_t discBytes = static_cast<std::uint64_t>(*last + 1) * kBlockBytes;
    m_events.ResetList(kDifferencesHeading);
    m_events.EnablePageButton(PageButton::Save, false);
    m_events.SetMapLayerBreak(0);
    const int profile = m_drive.CurrentProfile().value_or(0);
    m_running = 1;

    int layers = 1;
    if (!bluRay) {
        if (const auto read = m_drive.ReadLayers(); read && read->layers == 2) {
            layers = 2;
            m_events.SetMapLayerBreak(LayerBreakCell(read->layerBreakLba));
        }
    }
    const auto sizeText = [&](std::int64_t blocks) {
        return bluRay ? ProgressSizeText(0, blocks) : ProgressSizeText(profile, blocks);
    };
    m_events.SetText(kFieldLength, bluRay ? ProgressSizeText(0, *last) : DiscLengthText(profile, *last));

    m_drive.WaitUntilReady();
    const int trialCount = static_cast<int>(std::min<std::int64_t>(kChunkBlocks, *last + 1));
    if (!m_drive.ReadBlocks(BlockRead::Read10Fua, 0, trialCount, disc).ok) {
        constexpr int kTrialSectors = 12;
        const auto raw = std::span(disc).first(std::size_t{kTrialSectors} * kRawSectorBytes);
        if (!bluRay && m_drive.ReadBlocks(BlockRead::ReadCdRaw, 0, kTrialSectors, raw).ok)
            return Fail("AudioCD Compare not supported");
        m_drive.ReportSenseError(mmc::kRead10);
        return Fail("");
    }

    m_drive.PreventRemoval(true);
    m_drive.SetMaximumSpeed();
    m_events.ShowStatus("Compare Running");
    const int readsPerCell = bluRay ? kBdReadsPerCell : ReadsPerCell(profile, layers);
    Walk walk;
    std::uint64_t toCompare = discBytes;
    int passes = 0;
    int mapSteps = 0;
    while (toCompare > 0) {
        ++passes;
        if (!bluRay)
            ++mapSteps;
        if (m_running == 0)
            return StopEnd();
        if (passes > kPassesPerFieldUpdate)
            m_events.SetText(kFieldReadErrors, SectorText(walk.lba));
        std::size_t got = 0;
        if (!file.ReadFull(image.data(), kChunkBytes, got)) {
            m_events.MessageBox("Error reading source file");
            return StopEnd();
        }
        toCompare -= std::min<std::uint64_t>(toCompare, static_cast<std::uint64_t>(got));
        if (got < kChunkBytes)
            toCompare = 0;  // the file ends in this chunk
        int count = kChunkBlocks;
        if (walk.lba + count > *last)
            count = static_cast<int>(*last - walk.lba + 1);
        if (count < 1 || got == 0)
            break;
        const std::size_t discLength = std::size_t(count) * kBlockBytes;
        const BlockReadResult read = m_drive.ReadBlocks(BlockRead::Read10, walk.lba, count,
                                                        std::span(disc).first(discLength));
        if (bluRay)
            ++mapSteps;
        if (const DriveLoss loss = read.ok ? DriveLoss::None : m_drive.LossAfter(read); loss != DriveLoss::None)
            return EndByFault(loss, walk.lba);
        if (!read.ok || read.transferred < discLength) {
            // Not compared, so not the same: listed and counted against "identical".
            AddDifference(walk,
                          Format("LBA=%llXh Blocks=%d Disc=unreadable",
                                 static_cast<unsigned long long>(FailedBlock(read, walk.lba, count)),
                                 static_cast<int>(walk.lba + count - FailedBlock(read, walk.lba, count))));
            walk.identical = false;
            walk.cellHadDifference = true;
        } else if (!CompareChunk(walk, image.data(), disc.data(),
                                 std::min(static_cast<std::size_t>(got), discLength))) {
            return StopEnd();
        }
        if (mapSteps >= readsPerCell) {
            mapSteps = 0;
            m_events.NextMapBlock(walk.cellHadDifference);
            walk.cellHadDifference = false;
            m_events.SetProgress(PercentOf(walk.lba, *last + 1));
        }
        if (passes > kPassesPerFieldUpdate) {
            m_events.SetText(kFieldRemaining, sizeText(*last - walk.lba));
            m_events.SetText(kFieldRead, sizeText(walk.lba));
            passes = 0;
        }
        walk.lba += count;
    }
    if (m_running == 0)
        return StopEnd();
    if (mapSteps > 0)
        m_events.NextMapBlock(walk.cellHadDifference);  // the last cell, not full
    if (file.Size() != discBytes) {
        AddDifference(walk,
                      Format("Length ISO=%llu Disc=%llu bytes", static_cast<unsigned long long>(file.Size()),
                             static_cast<unsigned long long>(discBytes)));
        walk.identical = false;
    }

    if (walk.listed > kMaxListedDifferences)
        m_events.AddListLine(Format("%llu differing bytes in all", static_cast<unsigned long long>(walk.differences)));
    // The page shows the end before the result box comes.
    m_events.SetProgress(100);
    m_events.SetText(kFieldRemaining, "-----");
    m_events.SetText(kFieldRead, "-----");
    RestoreCompareButtons(m_events);
    m_events.ShowStatus("Ready");
    m_drive.PreventRemoval(false);
    m_events.MessageBox(walk.identical ? "They are identical" : "Differences were found");
    m_events.Post(WM_COMPAREENDED);
    m_running = 0;
    m_events.Beep(MB_ICONINFORMATION);
    return walk.identical ? CompareEnd::Identical : CompareEnd::Different;
}

bool DiscCompare::CompareChunk(Walk& walk, const std::uint8_t* image, const std::uint8_t* disc, std::size_t length)
{
    if (std::memcmp(image, disc, length) == 0)
        return true;
    for (std::size_t i = 0; i < length; ++i) {
        if (image[i] == disc[i])
            continue;
        if (m_running == 0)
            return false;
        if (!walk.prompted && walk.differences > kPromptAfter) {
            walk.prompted = true;
            if (m_events.MessageBox("Over 100 differences found.\rDo you wish to stop?", "Stop?",
                                    MB_YESNO | MB_ICONQUESTION)
                == IDYES)
                m_running = 0;  // the loop ends at its next look at the flag
        }
        ++walk.differences;
        walk.identical = false;
        walk.cellHadDifference = true;
        if (walk.listed > kMaxListedDifferences) {
            // Past the list's end the rest is only counted, not formatted.
            for (++i; i < length; ++i)
                walk.differences += image[i] != disc[i];
            return m_running != 0;
        }
        const std::int64_t lba = walk.lba + static_cast<std::int64_t>(i / kBlockBytes);
        AddDifference(walk, DifferenceLine(lba, static_cast<int>(i % kBlockBytes), image[i], disc[i]));
    }
    return true;
}

void DiscCompare::AddDifference(Walk& walk, const std::string& line)
{
    if (walk.listed > kMaxListedDifferences)
        return;
    ++walk.listed;
    if (walk.listed > kMaxListedDifferences) {
        m_events.AddListLine("Further differences are not listed");
        return;
    }
    m_events.AddListLine(line);
    if (walk.listed + 1 <= 2)
        m_events.EnablePageButton(PageButton::Save, true);
}
