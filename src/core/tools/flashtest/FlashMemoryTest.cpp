#include "core/tools/flashtest/FlashMemoryTest.h"

#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/base/MessageIds.h"
#include "core/base/Percent.h"
#include "core/base/UserPrompt.h"
#include "core/tools/disk/DiskSizeText.h"
#include "core/tools/disk/DiskTestSink.h"
#include "core/tools/disk/DiskToolIds.h"
#include "core/tools/disk/StoppableDisk.h"
#include "platform/files/SafeFile.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>

using namespace disktool;

namespace {

constexpr std::uint64_t kBlockSectors = 4;
constexpr std::uint64_t kFirstSector = 4;  // sectors 0 to 3 are left alone
constexpr std::size_t kTagBytes = 16;
// Longer than the caches behind which drives hide lost writes are known to be.
constexpr std::uint64_t kFillLimitBytes = std::uint64_t{1} << 30;
constexpr std::uint64_t kSpreadBlocks = 1024;  // about this many blocks past the fill
constexpr std::uint64_t kChunkBytes = 1 << 20;

void PutBigEndian64(std::uint8_t* at, std::uint64_t value)
{
    for (int i = 7; i >= 0; --i) {
        at[i] = static_cast<std::uint8_t>(value);
        value >>= 8;
    }
}

std::uint64_t BigEndian64(const std::uint8_t* at)
{
    std::uint64_t value = 0;
    for (int i = 0; i < 8; ++i)
        value = value << 8 | at[i];
    return value;
}

std::string PositionText(std::uint64_t sectorBytes, std::uint64_t position)
{
    return FormatSize(sectorBytes * position);
}

unsigned long long Ull(std::uint64_t value)
{
    return static_cast<unsigned long long>(value);
}

}  // namespace

FlashMemoryTest::FlashMemoryTest(ChosenDisk drive, const DiskAccess& access, DiskTestSink& sink,
                                 const std::atomic<int>& running, std::uint64_t nonce, StopNotice* notice) :
    m_drive(std::move(drive)), m_access(access), m_sink(sink), m_running(running), m_nonce(nonce), m_notice(notice)
{
}

FlashTestPlan FlashMemoryTest::PlanFor(std::uint64_t sectors, std::uint32_t sectorBytes)
{
    FlashTestPlan plan;
    plan.sectors = sectors;
    if (sectors <= kFirstSector)
        return plan;
    const std::uint64_t room = sectors - kFirstSector;
    plan.fillSectors = std::min(kFillLimitBytes / std::max<std::uint32_t>(sectorBytes, 1), room / 2);
    if (room - plan.fillSectors < kBlockSectors) {  // no room for a block: all of it is filled
        plan.fillSectors = room;
        return plan;
    }
    // Blocks at most a fill apart: a window of the fill's length past any
    // wrap period holds one of them.
    const std::uint64_t first = kFirstSector + plan.fillSectors;
    const std::uint64_t spread = (sectors - first + kSpreadBlocks - 1) / kSpreadBlocks;
    plan.stride = std::max(kBlockSectors, std::min(spread, plan.fillSectors));
    for (std::uint64_t position = first; position + kBlockSectors <= sectors; position += plan.stride)
        plan.blocks.push_back(position);
    const std::uint64_t last = sectors - kBlockSectors;
    if (plan.blocks.back() + kBlockSectors > last)
        plan.blocks.back() = last;
    else if (plan.blocks.back() != last)
        plan.blocks.push_back(last);
    return plan;
}

void FlashMemoryTest::FillBlock(std::uint8_t* block, std::size_t bytes, std::uint64_t position, std::uint64_t nonce)
{
    std::uint8_t tag[kTagBytes];
    PutBigEndian64(tag, position);
    PutBigEndian64(tag + 8, nonce);
    std::memcpy(block, tag, std::min(kTagBytes, bytes));
    for (std::size_t filled = kTagBytes; filled < bytes; filled *= 2)
        std::memcpy(block + filled, block, std::min(filled, bytes - filled));
}

void FlashMemoryTest::FillSectors(std::uint8_t* data, std::uint64_t first, std::uint64_t count,
                                  std::uint32_t sectorBytes, std::uint64_t nonce)
{
    for (std::uint64_t i = 0; i < count; ++i)
        FillBlock(data + i * sectorBytes, sectorBytes, first + i, nonce);
}

FlashMemoryTest::Check FlashMemoryTest::ReadBack(StoppableDisk& disk, std::uint64_t first, std::uint64_t count)
{
    const std::uint64_t s = m_sectorBytes;
    const auto bytes = static_cast<std::size_t>(count * s);
    FillSectors(m_expected.Data(), first, count, m_sectorBytes, m_nonce);
    const BlockIo io = disk.Read(first * s, bytes);
    if (!io.Ok() || io.bytes != bytes) {
        m_result.failedSector = first + io.bytes / s;
        m_result.error = io.error;
        // The first sector that will not read, one at a time.
        for (std::uint64_t at = m_result.failedSector; !io.Ok() && at < first + count; ++at) {
            const BlockIo one = disk.Read(at * s, static_cast<std::size_t>(s));
            if (!one.Ok() || one.bytes != s) {
                m_result.failedSector = at;
                m_result.error = one.error;
                break;
            }
        }
        return Check::Unreadable;
    }
    const std::uint8_t* read = disk.Data();
    if (std::memcmp(read, m_expected.Data(), bytes) == 0)
        return Check::Same;
    bool differs = false;
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint8_t* got = read + i * s;
        if (std::memcmp(got, m_expected.Data() + i * s, static_cast<std::size_t>(s)) == 0)
            continue;
        const std::uint64_t at = first + i;
        if (!differs)
            m_firstDiffering = at;
        differs = true;
        // Another sector's tag of this run: the drive put that sector here.
        const std::uint64_t tag = BigEndian64(got);
        if (BigEndian64(got + 8) != m_nonce || tag == at)
            continue;
        const std::uint64_t distance = tag > at ? tag - at : at - tag;
        if (!m_result.foundSector || distance < m_result.heldSectors) {
            m_result.foundSector = tag;
            m_result.foundAt = at;
            m_result.heldSectors = distance;
        }
    }
    return Check::Differs;
}

void FlashMemoryTest::NoteDifference()
{
    if (m_result.failedSector == 0)
        m_result.failedSector = m_firstDiffering;
    if (!m_result.foundSector && m_result.heldSectors == 0)
        m_result.heldSectors = m_firstDiffering;
}

void FlashMemoryTest::FindFirstLostSector(StoppableDisk& disk)
{
    // Sectors below `good` kept their blocks, sector `lost` did not; a block
    // written halfway between and read back at once halves the gap.
    if (m_result.foundSector)
        return;
    const std::uint64_t failed = m_result.failedSector;
    std::uint64_t good = kFirstSector;
    std::uint64_t lost = m_result.heldSectors;
    while (good < lost && m_running) {
        const std::uint64_t middle = std::min(good + (lost - good) / 2, lost - 1);
        const std::uint64_t position = std::min(middle, m_result.sectors - kBlockSectors);
        FillSectors(m_expected.Data(), position, kBlockSectors, m_sectorBytes, m_nonce);
        if (!disk.Write(position * m_sectorBytes, m_expected.Data(), kBlockSectors * m_sectorBytes).Ok())
            break;
        const Check check = ReadBack(disk, position, kBlockSectors);
        if (m_result.foundSector || check == Check::Unreadable)
            break;
        if (check == Check::Same) {
            good = position + kBlockSectors;
        } else {  // the block's sectors before the first lost one kept theirs
            lost = std::min(lost, m_firstDiffering);
            if (m_firstDiffering > position)
                good = std::max(good, m_firstDiffering);
        }
    }
    if (!m_result.foundSector)
        m_result.heldSectors = lost;
    m_result.failedSector = failed;
}

std::string FlashMemoryTest::Explanation() const
{
    const std::string held = FormatSize(m_result.heldSectors * m_sectorBytes);
    if (m_result.foundSector)
        return Format("Sector %llu was found at %llu: the device holds about %s", Ull(*m_result.foundSector),
                      Ull(m_result.foundAt), held.c_str());
    return Format("Sector %llu did not keep what was written to it: the device holds about %s",
                  Ull(m_result.heldSectors), held.c_str());
}

std::string FlashMemoryTest::ReadFailureText(std::uint64_t sector) const
{
    const std::string reason = m_result.error != 0
        ? ErrnoText(m_result.error)
        : Format("sector %llu could not be read, though it lies within the reported size", Ull(sector));
    return "Read Failure at " + PositionText(m_sectorBytes, sector) + "\n\n" + m_drive.node + ": " + reason;
}

FlashTestEnd FlashMemoryTest::DoSizeTest()
{
    m_result = FlashTestResult();
    StoppableDisk disk(m_running, m_notice);
    const std::string failure = disk.Open(m_access, m_drive, BlockAccess::ReadWrite);
    if (!disk.IsOpen()) {
        if (disk.Stopped() || !m_running) {
            m_sink.OnTestEnded();
            return FlashTestEnd::Stopped;
        }
        m_sink.ShowMessage(failure, std::string(), MB_OK | MB_ICONERROR);
        m_sink.OnTestEnded();
        return FlashTestEnd::Failed;
    }
    m_sectorBytes = std::max<std::uint32_t>(disk.Geometry().logicalSectorSize, 1);
    const std::uint64_t s = m_sectorBytes;
    const std::uint64_t sectors = disk.Geometry().sizeBytes / s;
    m_result.sectors = sectors;
    if (sectors == 0) {
        m_sink.ShowMessage("Drive report zero sectors.  No media detected in drive, or drive not formatted",
                           std::string(), MB_OK | MB_ICONEXCLAMATION);
        m_sink.OnTestEnded();
        return FlashTestEnd::Failed;
    }
    const FlashTestPlan plan = PlanFor(sectors, m_sectorBytes);
    m_result.fillSectors = plan.fillSectors;
    m_result.stride = plan.stride;
    const std::uint64_t chunkSectors = std::max(kChunkBytes / s, kBlockSectors);
    m_expected = AlignedBuffer(static_cast<std::size_t>(chunkSectors * s));
    m_sink.SetFieldText(IDC_TESTINGSECTOR, "0");
    if (!m_expected || !disk.Reserve(static_cast<std::size_t>(chunkSectors * s))) {
        m_sink.ShowMessage("Fatal error, unable to allocate required memory", std::string(), MB_OK | MB_ICONERROR);
        m_sink.OnTestEnded();
        return FlashTestEnd::Failed;
    }
    m_sink.SetFieldText(IDC_TOTALERRORS, "0");
    for (int field : {IDC_AVERAGESPEED, IDC_TOTALERRORS, IDC_SECTORSREMAINING, IDC_AMOUNTTESTED, IDC_AMOUNTREMAINING})
        m_sink.SetFieldText(field, "N/A");

    const std::uint64_t total = plan.blocks.size() * kBlockSectors + plan.fillSectors;
    std::uint64_t done = 0;
    const auto advance = [&](std::uint64_t position, std::uint64_t count, bool writing) {
        m_sink.SetFieldText(IDC_TESTINGSECTOR, Format("%llu", Ull(position)));
        done += count;
        const int percent = PercentOf(static_cast<std::int64_t>(done), static_cast<std::int64_t>(total));
        m_sink.SetProgress(std::min(percent + 1, 100),
                           writing ? Format("Writing Data %d%% Complete", percent)
                                   : Format("Verify %d%% Complete", percent));
    };
    const auto endAtOnce = [&](const std::string& message, FlashTestEnd end) {
        if (!m_running)  // the transfer was given up, or ended by the stop
            return EndStopped();
        LogEntry("Flash test: " + message);
        m_sink.ShowMessage(message, std::string(), MB_OK | MB_ICONERROR);
        m_sink.OnTestEnded();
        return end;
    };
    const auto writeFailure = [&](std::uint64_t position, int error) {
        m_result.failedSector = position;
        m_result.error = error;
        return endAtOnce("Write Failure at " + PositionText(s, position) + "\n\n" + m_drive.node + ": "
                             + ErrnoText(error),
                         FlashTestEnd::WriteFailed);
    };
    // The fill in whole chunks of the drive.
    const auto eachFillChunk = [&](const std::function<bool(std::uint64_t at, std::uint64_t count)>& work) {
        const std::uint64_t end = kFirstSector + plan.fillSectors;
        for (std::uint64_t at = kFirstSector; at < end && m_running;) {
            const std::uint64_t count = std::min(chunkSectors - at % chunkSectors, end - at);
            if (!work(at, count))
                return false;
            at += count;
        }
        return true;
    };

    // The blocks first, each read back at once; the fill after them pushes
    // them out of any cache.
    bool failed = false;
    for (std::size_t block = 0; block < plan.blocks.size() && m_running; ++block) {
        const std::uint64_t position = plan.blocks[block];
        FillSectors(m_expected.Data(), position, kBlockSectors, m_sectorBytes, m_nonce);
        const BlockIo io = disk.Write(position * s, m_expected.Data(), kBlockSectors * s);
        if (!io.Ok())
            return writeFailure(position, io.error);
        const Check check = ReadBack(disk, position, kBlockSectors);
        if (check == Check::Unreadable)
            return endAtOnce(ReadFailureText(m_result.failedSector), FlashTestEnd::ReadFailed);
        if (check == Check::Differs) {
            NoteDifference();
            FindFirstLostSector(disk);
            m_sink.ShowMessage(Format("Verify failure while writing sector %llu at %s", Ull(position),
                                      PositionText(s, position).c_str())
                                   + "\n\n" + Explanation(),
                               std::string(), MB_OK | MB_ICONERROR);
            failed = true;
            break;
        }
        ++m_result.blocksWritten;
        advance(position, kBlockSectors, true);
    }
    if (!failed) {
        int writeError = 0;
        std::uint64_t failedAt = 0;
        eachFillChunk([&](std::uint64_t at, std::uint64_t count) {
            FillSectors(m_expected.Data(), at, count, m_sectorBytes, m_nonce);
            const BlockIo io = disk.Write(at * s, m_expected.Data(), static_cast<std::size_t>(count * s));
            if (!io.Ok()) {
                writeError = io.error;
                failedAt = at;
                return false;
            }
            advance(at, count, true);
            return true;
        });
        if (writeError == 0 && m_running)
            writeError = disk.Flush();
        if (writeError != 0)
            return writeFailure(failedAt, writeError);
    }

    // Everything again, from the drive's start; a difference does not end the
    // pass, so that every tag found out of place is seen.
    if (!failed) {
        done = 0;
        bool unreadable = false;
        eachFillChunk([&](std::uint64_t at, std::uint64_t count) {
            const Check check = ReadBack(disk, at, count);
            unreadable = check == Check::Unreadable;
            if (check == Check::Differs)
                NoteDifference();
            if (!unreadable)
                advance(at, count, false);
            return !unreadable;
        });
        for (std::size_t block = 0; block < plan.blocks.size() && m_running && !unreadable; ++block) {
            const Check check = ReadBack(disk, plan.blocks[block], kBlockSectors);
            unreadable = check == Check::Unreadable;
            if (check == Check::Same)
                ++m_result.blocksVerified;
            else if (check == Check::Differs)
                NoteDifference();
            if (!unreadable)
                advance(plan.blocks[block], kBlockSectors, false);
        }
        if (unreadable)
            return endAtOnce(ReadFailureText(m_result.failedSector), FlashTestEnd::ReadFailed);
        if (m_result.heldSectors != 0 && m_running) {
            m_sink.ShowMessage("Verify Failure at " + PositionText(s, m_result.failedSector) + "\n\n" + Explanation(),
                               std::string(), MB_OK | MB_ICONERROR);
            failed = true;
        }
    }
    if (failed)
        LogEntry("Flash test: " + Explanation());
    if (!m_running)
        return EndStopped();
    ShowEnd(failed ? nullptr : "Test complete, no errors were found.  The drive will now need to be re-formatted.");
    return failed ? FlashTestEnd::VerifyFailed : FlashTestEnd::Passed;
}

FlashTestEnd FlashMemoryTest::EndStopped()
{
    ShowEnd("Aborted as user request.  The drive will now need to be re-formatted.");
    return FlashTestEnd::Stopped;
}

void FlashMemoryTest::ShowEnd(const char* message)
{
    m_sink.SetProgress(100, "100% Complete");
    m_sink.SetFieldText(IDC_SECTORSREMAINING, "0");
    m_sink.SetFieldText(IDC_AMOUNTTESTED, FormatSize(std::uint64_t{m_sectorBytes} * m_result.sectors));
    m_sink.SetFieldText(IDC_AMOUNTREMAINING, "0 GB");
    if (message)
        m_sink.ShowMessage(message, std::string(), MB_OK | MB_ICONINFORMATION);
    m_sink.OnTestEnded();
}

int SizeTestThread(FlashMemoryTest* test)
{
    LogEntry("Start Flash Error THREAD SizeTestThread()");
    if (test == nullptr) {
        LogEntry("ErrorThread() - THREAD - InternetThread isn't valid");
        return 1;
    }
    test->DoSizeTest();
    return 0;
}

std::uint64_t NewFlashTestNonce()
{
    std::random_device device;
    return (static_cast<std::uint64_t>(device()) << 32) ^ device();
}
