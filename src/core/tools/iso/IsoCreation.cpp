#include "core/tools/iso/IsoCreation.h"

#include "core/base/Format.h"
#include "core/base/Percent.h"
#include "core/base/LogFile.h"
#include "core/app/TestPageControls.h"
#include "core/base/UserPrompt.h"
#include "core/tools/iso/DiscWalk.h"
#include "core/tools/testpage/TestReads.h"
#include "core/tools/testpage/TestResults.h"
#include "core/tools/iso/ImageWriter.h"
#include "platform/files/StagedFile.h"
#include "scsi/Opcodes.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

using namespace discwalk;
using namespace testpage;

namespace {

constexpr const char* kReadErrorsHeading = "                         Read Errors";

}  // namespace

// The copy itself: reads in the mode the trial read chose, checks that every
// block came, and writes only what was read.
class IsoCreation::Copy {
public:
    Copy(DiscBlockReader& drive, StagedFile& file, BlockRead mode, int readCount) :
        m_drive(drive),
        m_mode(mode),
        m_buffer(std::size_t(readCount) * (mode == BlockRead::ReadCdRaw ? kRawSectorBytes : kBlockBytes)),
        m_writer(file)
    {
    }

    // count blocks from lba into the image; the failure when a block could
    // not be read, or the reason when the image could not be written.
    std::optional<ReadFailure> Transfer(std::int64_t lba, int count, std::string& writeError)
    {
        const std::uint32_t unit = m_mode == BlockRead::ReadCdRaw ? kRawSectorBytes : kBlockBytes;
        const std::size_t expected = std::size_t(count) * unit;
        const BlockReadResult result = m_drive.ReadBlocks(m_mode, lba, count, std::span(m_buffer).first(expected));
        if (!result.ok)
            return ReadFailure{FailedBlock(result, lba, count), result.sense};
        if (result.transferred < expected)
            return ReadFailure{lba + static_cast<std::int64_t>(result.transferred / unit), result.sense};
        if (m_mode == BlockRead::ReadCdRaw) {
            for (int i = 0; i < count; ++i) {
                const auto sector = std::span<const std::uint8_t>(m_buffer).subspan(std::size_t(i) * unit, unit);
                const auto user = UserDataOfRawSector(sector);
                if (user.empty())
                    return ReadFailure{lba + i, {}};  // no data sector: nothing to put in the image
                if (!m_writer.Append(user.data(), user.size(), writeError))
                    return ReadFailure{-1, {}};
            }
        } else if (!m_writer.Append(m_buffer.data(), expected, writeError)) {
            return ReadFailure{-1, {}};
        }
        return std::nullopt;
    }

    // Everything read, written into the file.
    bool Finish(std::string& writeError) { return m_writer.Finish(writeError); }

private:
    DiscBlockReader& m_drive;
    BlockRead m_mode;
    std::vector<std::uint8_t> m_buffer;
    ImageWriter m_writer;  // last: its thread writes while the next blocks are read
};

void IsoCreation::EarlyEnd(TestPageEvents& events)
{
    events.SetPageRunning(false);
    events.EnablePageButton(PageButton::Save, true);
    events.Enable(kDevices, true);
    events.Enable(kTools, true);
}

IsoCreationEnd IsoCreation::DoCreateISO(const IsoCreationRequest& request)
{
    m_events.ShowStatus("Creating/Re-setting ISO file");
    std::string error;
    const std::unique_ptr<StagedFile> file = StagedFile::Create(request.path, &error);
    if (!file) {
        LogEntry("DoCreateISO() - " + error);
        m_events.MessageBox("Error creating file");
        EarlyEnd(m_events);
        return IsoCreationEnd::EarlyEnd;
    }
    std::vector<std::uint8_t> trialBuffer;
    try {
        trialBuffer.resize(kChunkBytes);
    } catch (const std::bad_alloc&) {
        m_events.ShowStatus("Could not allocate memory");
        m_events.Beep(MB_OK);
        EarlyEnd(m_events);
        return IsoCreationEnd::EarlyEnd;
    }
    m_events.ResetList(kReadErrorsHeading);
    m_events.EnablePageButton(PageButton::Save, false);
    m_events.SetMapLayerBreak(0);

    m_events.ShowStatus("Checking Source");
    const std::optional<int> profileRead = m_drive.CurrentProfile();
    const int profile = profileRead.value_or(0);
    const int readCount = ReadCountFor(profileRead);
    const DiscLayers layers = m_drive.ReadLayers().value_or(DiscLayers{});
    const std::optional<std::int64_t> last = m_drive.ReadLastLba();
    if (layers.layers == 2)
        m_events.SetMapLayerBreak(LayerBreakCell(layers.layerBreakLba));
    if (!last) {
        m_events.Beep(MB_OK);
        EarlyEnd(m_events);
        return IsoCreationEnd::EarlyEnd;
    }
    if (*last == 0) {
        m_events.MessageBox("Media seems to be blank!");
        EarlyEnd(m_events);
        m_events.Post(WM_TESTENDED);
        m_events.ShowStatus("Error - Media is blank");
        return IsoCreationEnd::Blank;
    }
    m_events.SetText(kFieldLength, DiscLengthText(profile, *last));

    const std::uint64_t needed = static_cast<std::uint64_t>(*last + 1) * kBlockBytes;
    const std::optional<std::uint64_t> free = request.freeBytes ? request.freeBytes(request.path) : std::nullopt;
    if (!free || needed >= *free) {
        m_events.Beep(MB_OK);
        m_events.ShowStatus("Not enough free space on destination");
        EarlyEnd(m_events);
        return IsoCreationEnd::EarlyEnd;
    }

    m_drive.WaitUntilReady();
    // The trial read never asks past the disc's end: a small disc would
    // refuse it and be taken for an audio disc.
    const int trialCount = static_cast<int>(std::min<std::int64_t>(readCount, *last + 1));
    BlockRead mode = BlockRead::Read10;
    if (!m_drive.ReadBlocks(BlockRead::Read10Fua, 0, trialCount, trialBuffer).ok) {
        const int sectors = std::max(1, trialCount / 2);
        const auto raw = std::span(trialBuffer).first(std::size_t(sectors) * kRawSectorBytes);
        if (!m_drive.ReadBlocks(BlockRead::ReadCdRaw, 0, sectors, raw).ok) {
            m_drive.ReportSenseError(mmc::kRead10);
            EarlyEnd(m_events);
            return IsoCreationEnd::EarlyEnd;
        }
        mode = BlockRead::ReadCdRaw;
    }
    trialBuffer = {};

    m_drive.PreventRemoval(true);
    m_drive.SetMaximumSpeed();
    m_events.ShowStatus("Writing ISO File");
    m_running = 1;
    m_events.EnablePageButton(PageButton::Stop, true);

    Copy copy(m_drive, *file, mode, readCount);
    const int readsPerCell = ReadsPerCell(profile, layers.layers);
    std::int64_t lba = 0;
    while (lba <= *last) {
        m_events.SetText(kFieldReadErrors, SectorText(lba));
        if (m_running == 0) {
            // The Stop handler has restored the page.
            m_drive.PreventRemoval(false);
            return IsoCreationEnd::Stopped;
        }
        for (int read = 0; read < readsPerCell; ++read) {
            int count = readCount;
            bool stepEnds = false;
            if (lba + count > *last) {
                count = static_cast<int>(*last - lba + 1);
                stepEnds = true;
            }
            if (count < 1)
                break;
            if (const auto failure = copy.Transfer(lba, count, error))
                return failure->lba < 0 ? EndAfterWriteError(error) : EndAfterFailure(*failure);
            lba += count;
            if (stepEnds)
                break;
        }
        m_events.NextMapBlock(false);
        m_events.SetProgress(PercentOf(lba, *last + 1));
        m_events.SetText(kFieldRemaining, ProgressSizeText(profile, std::max<std::int64_t>(*last - lba, 0)));
        m_events.SetText(kFieldRead, ProgressSizeText(profile, lba));
    }

    if (!copy.Finish(error) || !file->Commit(&error))
        return EndAfterWriteError(error);
    m_events.SetProgress(100);
    m_events.SetText(kFieldRemaining, "-----");
    m_events.SetText(kFieldRead, "-----");
    m_events.Enable(kDevices, true);
    m_events.Enable(kTools, true);
    m_events.SetPageRunning(false);
    m_events.EnablePageButton(PageButton::Save, true);
    m_events.ShowStatus("Ready");
    m_drive.PreventRemoval(false);
    m_running = 0;
    m_events.MessageBox("ISO File create complete");
    return IsoCreationEnd::Complete;
}

IsoCreationEnd IsoCreation::EndAfterFailure(const ReadFailure& failure)
{
    const bool locked = IsLockedDisc(failure.sense);
    if (locked)
        m_events.MessageBox(kLockedDiscText);
    RestoreAfterCopy();
    m_events.ShowStatus(locked ? "Media is encrypted & locked" : "Read Error");
    // Where the copy stopped: the block that could not be read.
    m_events.SetText(kFieldReadErrors, SectorText(failure.lba));
    m_events.AddListLine(Format("LBA=%llXh", static_cast<unsigned long long>(failure.lba)));
    m_events.Post(WM_ERRORTESTENDED);
    m_drive.PreventRemoval(false);
    m_running = 0;
    return locked ? IsoCreationEnd::Locked : IsoCreationEnd::ReadError;
}

IsoCreationEnd IsoCreation::EndAfterWriteError(const std::string& reason)
{
    LogEntry("DoCreateISO() - " + reason);
    RestoreAfterCopy();
    m_events.ShowStatus("Error writing file");
    m_events.MessageBox("Error writing file\n" + reason);
    m_events.Post(WM_ERRORTESTENDED);
    m_drive.PreventRemoval(false);
    m_running = 0;
    return IsoCreationEnd::WriteError;
}

void IsoCreation::RestoreAfterCopy()
{
    m_events.ClearBlockMap();
    m_events.SetPageRunning(false);
    m_events.EnablePageButton(PageButton::Save, true);
    testpage::ResetTestResults(m_events);
    m_events.Enable(kDevices, true);
    m_events.Enable(kTools, true);
}
