#include "core/tools/hddtest/HddErrorTest.h"

#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/base/MessageIds.h"
#include "core/base/Percent.h"
#include "core/base/UserPrompt.h"
#include "core/base/WaitClock.h"
#include "core/graphs/HddCellMap.h"
#include "core/tools/disk/DiskSizeText.h"
#include "core/tools/disk/DiskTestSink.h"
#include "core/tools/disk/DiskToolIds.h"
#include "core/tools/disk/StoppableDisk.h"
#include "platform/files/SafeFile.h"

#include <algorithm>

using namespace disktool;

namespace {

// A read that comes back short is read again this many times.
constexpr int kMaxRetries = 5;
// Runs of unreadable sectors named in the end message.
constexpr std::size_t kRunsNamed = 20;

std::uint64_t RoundUp(std::uint64_t value, std::uint64_t unit)
{
    return (value + unit - 1) / unit * unit;
}

std::string RunText(const SectorRun& run)
{
    if (run.count == 1)
        return Format("sector %llu", static_cast<unsigned long long>(run.first));
    return Format("sectors %llu to %llu", static_cast<unsigned long long>(run.first),
                  static_cast<unsigned long long>(run.first + run.count - 1));
}

std::string BadSectorsText(const HddTestResult& result)
{
    std::string text = Format("The test found %llu unreadable sectors:\n",
                              static_cast<unsigned long long>(result.badSectors));
    const std::size_t named = std::min(result.badRuns.size(), kRunsNamed);
    for (std::size_t i = 0; i < named; ++i)
        text += "\n" + RunText(result.badRuns[i]);
    if (result.badRuns.size() > named)
        text += Format("\n... and %zu more runs", result.badRuns.size() - named);
    return text;
}

}  // namespace

HddErrorTest::HddErrorTest(std::string deviceNode, const DiskAccess& access, std::uint32_t bufferSectors,
                           HddCellMap& map, DiskTestSink& sink, WaitClock& clock, const std::atomic<int>& running,
                           StopNotice* notice) :
    m_deviceNode(std::move(deviceNode)),
    m_access(access),
    m_bufferSectors(std::max<std::uint32_t>(bufferSectors, 1)),
    m_map(map),
    m_sink(sink),
    m_clock(clock),
    m_running(running),
    m_notice(notice)
{
}

HddTestEnd HddErrorTest::DoErrorTest()
{
    m_result = HddTestResult();
    m_lastFailedCell = -1;
    m_lastGood = kNoSector;
    m_failingBytes = m_failingChecked = 0;
    StoppableDisk disk(m_running, m_notice);
    const std::string failure = disk.Open(m_access, m_deviceNode, BlockAccess::Read);
    if (!disk.IsOpen()) {
        if (failure.empty())  // stopped while the device did not answer the open
            return Stopped();
        m_sink.ShowMessage(failure, std::string(), MB_OK | MB_ICONERROR);
        m_sink.OnTestEnded();
        return HddTestEnd::Failed;
    }
    const std::uint64_t size = disk.Geometry().sizeBytes;
    m_result.diskBytes = size;
    if (size == 0) {
        m_sink.ShowMessage("Drive report zero sectors.  No media detected in drive, or drive not formatted",
                           std::string(), MB_OK | MB_ICONEXCLAMATION);
        m_sink.OnTestEnded();
        return HddTestEnd::Failed;
    }
    m_unit = std::max<std::uint64_t>(disk.Geometry().logicalSectorSize, 512);
    m_cellBytes = HddCellBytes(size);
    m_sink.EnableControl(IDC_BUFFERSLIDER, false);
    m_sink.SetFieldText(IDC_TESTINGSECTOR, "0");
    m_bufferBytes = RoundUp(std::uint64_t{m_bufferSectors} * 512, m_unit);
    if (!disk.Reserve(static_cast<std::size_t>(m_bufferBytes))) {
        m_sink.ShowMessage("Fatal error, unable to allocate required memory", std::string(), MB_OK | MB_ICONERROR);
        m_sink.OnTestEnded();
        return HddTestEnd::Failed;
    }
    m_sink.SetFieldText(IDC_TOTALERRORS, "0");
    m_startMs = m_lastRateMs = m_clock.NowMs();
    std::uint64_t position = 0;
    while (position < size) {
        if (!m_running)
            return Stopped();
        std::uint64_t advance = 0;
        const Step step = ReadBuffer(disk, position, advance);
        if (step == Step::Stop)
            return Stopped();
        if (step == Step::Fatal)
            return Fail(m_fatalDetail);
        position += advance;
        m_result.bytesTested = position;
        m_map.AdvanceTo(static_cast<int>(position / m_cellBytes));
        m_map.Refresh();
        ShowPosition(position);
    }
    ShowEnd();
    return HddTestEnd::Complete;
}

HddErrorTest::Step HddErrorTest::ReadBuffer(StoppableDisk& disk, std::uint64_t position, std::uint64_t& advance)
{
    const std::uint64_t want = std::min<std::uint64_t>(m_bufferBytes, m_result.diskBytes - position);
    const auto request = static_cast<std::size_t>(RoundUp(want, m_unit));
    BlockIo io = disk.Read(position, request);
    int retries = 0;
    std::uint64_t firstShort = 0;
    while (io.Ok() && io.bytes < want && retries < kMaxRetries) {
        if (retries == 0)
            firstShort = io.bytes;
        ++retries;
        io = disk.Read(position, request);
    }
    if (!io.Ok()) {
        if (!m_running)
            return Step::Stop;
        if (!IsMediaError(io.error)) {
            m_fatalDetail = m_deviceNode + ": " + ErrnoText(io.error);
            return Step::Fatal;
        }
        LogEntryF("HDD error test: read error at sector %llu (%s), reading it again sector by sector",
                  static_cast<unsigned long long>(position / 512), ErrnoText(io.error).c_str());
        advance = want;
        return ReadAlone(disk, position, want);
    }
    if (io.bytes >= want) {
        if (retries > 0) {
            m_map.MarkRetried(CellOf(position + firstShort));
            ++m_result.errors;
        }
        NoteAnswer((position + want - 1) / m_unit * m_unit);
        advance = want;
        return Step::Next;
    }
    // Still short after the retries: what came is taken, the rest is read again.
    if (io.bytes < m_unit) {
        advance = std::min(m_unit, want);
        return ReadAlone(disk, position, advance);
    }
    MarkFailedCell(CellOf(position + io.bytes));
    ++m_result.errors;
    advance = io.bytes / m_unit * m_unit;
    NoteAnswer(position + advance - m_unit);
    return Step::Next;
}

HddErrorTest::Step HddErrorTest::ReadAlone(StoppableDisk& disk, std::uint64_t from, std::uint64_t length)
{
    bool anyFailed = false;
    for (std::uint64_t at = from; at < from + length; at += m_unit) {
        if (!m_running)
            return Step::Stop;
        const std::uint64_t piece = std::min(m_unit, from + length - at);
        switch (ReadSector(disk, at, piece, m_failingBytes == 0)) {
        case SectorRead::Good: NoteAnswer(at); continue;
        case SectorRead::Retried:
            LogEntryF("HDD error test: sector %llu read when read again", static_cast<unsigned long long>(at / 512));
            NoteAnswer(at);
            m_map.MarkRetried(CellOf(at));
            ++m_result.errors;
            anyFailed = true;
            continue;
        case SectorRead::Stop: return Step::Stop;
        case SectorRead::Fatal: return Step::Fatal;
        case SectorRead::Bad: break;
        }
        anyFailed = true;
        AddBadSectors(at, piece);
        if (m_failingBytes == 0)
            m_failingFrom = at;
        m_failingBytes += piece;
        if (m_failingBytes - m_failingChecked < m_bufferBytes)
            continue;
        m_failingChecked = m_failingBytes;
        const bool answers = DeviceAnswers(disk);
        if (!m_running)
            return Step::Stop;
        if (!answers) {
            m_fatalDetail = Format("%s: the device stopped answering at sector %llu.", m_deviceNode.c_str(),
                                   static_cast<unsigned long long>(m_failingFrom / 512));
            LogEntry("HDD error test: " + m_fatalDetail);
            return Step::Fatal;
        }
    }
    if (!anyFailed) {  // every sector read alone at once: where in the read it failed is not known
        m_map.MarkRetried(CellOf(from));
        ++m_result.errors;
    }
    return Step::Next;
}

HddErrorTest::SectorRead HddErrorTest::ReadSector(StoppableDisk& disk, std::uint64_t at, std::uint64_t piece,
                                                  bool readAgain)
{
    for (int attempt = 0; attempt < (readAgain ? 2 : 1); ++attempt) {
        const BlockIo io = disk.Read(at, static_cast<std::size_t>(m_unit));
        if (io.Ok() && io.bytes >= piece)
            return attempt == 0 ? SectorRead::Good : SectorRead::Retried;
        if (!io.Ok() && !m_running)
            return SectorRead::Stop;
        if (io.Ok() && io.bytes == 0) {
            m_fatalDetail = Format("%s ended at sector %llu, before the end of the size it reports.",
                                   m_deviceNode.c_str(), static_cast<unsigned long long>(at / 512));
            return SectorRead::Fatal;
        }
        if (!io.Ok() && !IsMediaError(io.error)) {
            m_fatalDetail = m_deviceNode + ": " + ErrnoText(io.error);
            return SectorRead::Fatal;
        }
    }
    return SectorRead::Bad;
}

bool HddErrorTest::DeviceAnswers(StoppableDisk& disk)
{
    if (disk.SizeNow() < m_result.diskBytes)
        return false;
    // Before anything read in this run: sector 0, which read when the disk was chosen.
    const BlockIo io = disk.Read(m_lastGood == kNoSector ? 0 : m_lastGood, static_cast<std::size_t>(m_unit));
    return io.Ok() && io.bytes > 0;
}

void HddErrorTest::NoteAnswer(std::uint64_t offset)
{
    m_lastGood = offset;
    m_failingBytes = m_failingChecked = 0;
}

void HddErrorTest::AddBadSectors(std::uint64_t offset, std::uint64_t length)
{
    const std::uint64_t first = offset / 512;
    const std::uint64_t count = (offset + length + 511) / 512 - first;
    LogEntryF("HDD error test: unreadable sector %llu (%llu sectors)", static_cast<unsigned long long>(first),
              static_cast<unsigned long long>(count));
    m_result.badSectors += count;
    m_result.errors += count;
    std::vector<SectorRun>& runs = m_result.badRuns;
    if (!runs.empty() && runs.back().first + runs.back().count == first)
        runs.back().count += count;
    else if (runs.size() < HddTestResult::kMaxListedRuns)
        runs.push_back({first, count});
    for (int cell = CellOf(offset); cell <= CellOf(offset + length - 1); ++cell)
        MarkFailedCell(cell);
}

void HddErrorTest::MarkFailedCell(int cell)
{
    // A cell is marked once however many of its sectors fail in a row.
    if (cell == m_lastFailedCell)
        return;
    m_lastFailedCell = cell;
    m_map.MarkFailed(cell);
}

int HddErrorTest::CellOf(std::uint64_t offset) const
{
    return static_cast<int>(offset / m_cellBytes);
}

void HddErrorTest::ShowPosition(std::uint64_t position)
{
    const std::uint64_t size = m_result.diskBytes;
    const std::uint64_t remaining = size - position;
    m_sink.SetFieldText(IDC_TESTINGSECTOR, Format("%llu", static_cast<unsigned long long>(position / 512)));
    m_sink.SetFieldText(IDC_SECTORSREMAINING, Format("%llu", static_cast<unsigned long long>((remaining + 511) / 512)));
    m_sink.SetFieldText(IDC_AMOUNTTESTED, FormatSize(position));
    m_sink.SetFieldText(IDC_AMOUNTREMAINING, FormatSize(remaining));
    m_sink.SetFieldText(IDC_TOTALERRORS, Format("%llu", static_cast<unsigned long long>(m_result.errors)));
    if (m_clock.NowMs() - m_lastRateMs > 1000)
        ShowRate(position);
    const int percent = PercentOf(static_cast<std::int64_t>(position), static_cast<std::int64_t>(size));
    m_sink.SetProgress(percent, Format("%d%% Complete", percent));
}

void HddErrorTest::ShowRate(std::uint64_t bytes)
{
    const std::uint64_t now = m_clock.NowMs();
    m_lastRateMs = now;
    // A run within the clock's first millisecond counts as one.
    const double seconds = static_cast<double>(std::max<std::uint64_t>(now - m_startMs, 1)) / 1000.0;
    m_sink.SetFieldText(IDC_AVERAGESPEED,
                        FormatSize(static_cast<std::uint64_t>(static_cast<double>(bytes) / seconds)) + "/Sec");
}

void HddErrorTest::ShowEnd()
{
    ShowRate(m_result.diskBytes);
    m_sink.SetFieldText(IDC_SECTORSREMAINING, "0");
    m_sink.SetFieldText(IDC_AMOUNTTESTED, FormatSize(m_result.diskBytes));
    m_sink.SetFieldText(IDC_AMOUNTREMAINING, "0 GB");
    m_map.AdvanceTo(HddCellCount(m_result.diskBytes));
    m_map.Refresh();
    if (m_result.badSectors > 0)
        m_sink.ShowMessage(BadSectorsText(m_result), std::string(), MB_OK | MB_ICONEXCLAMATION);
    m_sink.OnTestEnded();
}

HddTestEnd HddErrorTest::Fail(const std::string& detail)
{
    if (m_result.bytesTested > 0)
        ShowRate(m_result.bytesTested);
    m_sink.ShowMessage("Fatal Error, ReadSectors returned error trying to read\n\n" + detail, std::string(),
                       MB_OK | MB_ICONERROR);
    m_map.Refresh();
    m_sink.OnTestEnded();
    return HddTestEnd::Failed;
}

HddTestEnd HddErrorTest::Stopped()
{
    if (m_result.bytesTested > 0)
        ShowRate(m_result.bytesTested);
    m_map.Refresh();
    m_sink.OnTestEnded();
    return HddTestEnd::Stopped;
}

int HddErrorThread(HddErrorTest* test)
{
    LogEntry("Start HDD Error THREAD ErrorThread()");
    if (test == nullptr) {
        LogEntry("ErrorThread() - THREAD - InternetThread isn't valid");
        return 1;
    }
    test->DoErrorTest();
    return 0;
}
