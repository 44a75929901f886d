#include "core/tools/flashtest/FlashMemoryTest.h"

#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/base/MessageIds.h"
#include "core/base/Percent.h"
#include "core/base/UserPrompt.h"
#include "core/tools/disk/DiskSizeText.h"
#include "core/tools/disk/DiskTestSink.h"
#include "core/tools/disk/DiskToolIds.h"
#include "platform/files/SafeFile.h"

#include <algorithm>
#include <cstring>
#include <random>

using namespace disktool;

namespace {

constexpr std::uint64_t kBlockSectors = 4;
constexpr std::uint64_t kFirstBlock = 4;  // sector 0 is left alone
constexpr std::size_t kTagBytes = 16;

void PutBigEndian64(std::uint8_t* at, std::uint64_t value)
{
    for (int i = 7; i >= 0; --i) {
        at[i] = static_cast<std::uint8_t>(value);
        value >>= 8;
    }
}

// The position after p: the first block stands at sector 4, the others at
// whole strides.
std::uint64_t NextBlock(std::uint64_t position, std::uint64_t stride)
{
    return (position == kFirstBlock ? 0 : position) + stride;
}

std::string PositionText(std::uint64_t sectorBytes, std::uint64_t position)
{
    return FormatSize(sectorBytes * position);
}

}  // namespace

FlashMemoryTest::FlashMemoryTest(std::string deviceNode, const DiskAccess& access, DiskTestSink& sink,
                                 const std::atomic<int>& running, std::uint64_t nonce) :
    m_deviceNode(std::move(deviceNode)), m_access(access), m_sink(sink), m_running(running), m_nonce(nonce)
{
}

std::uint64_t FlashMemoryTest::StrideFor(std::uint64_t sectors)
{
    if (sectors >= 2097152)
        return 262144;
    if (sectors >= 524288)
        return 65536;
    if (sectors >= 131072)
        return 16384;
    return 4096;
}

void FlashMemoryTest::FillBlock(std::uint8_t* block, std::size_t bytes, std::uint64_t position, std::uint64_t nonce)
{
    std::uint8_t tag[kTagBytes];
    PutBigEndian64(tag, position);
    PutBigEndian64(tag + 8, nonce);
    for (std::size_t at = 0; at < bytes; at += kTagBytes)
        std::memcpy(block + at, tag, std::min(kTagBytes, bytes - at));
}

FlashTestEnd FlashMemoryTest::DoSizeTest()
{
    m_result = FlashTestResult();
    OpenedDisk disk = OpenDisk(m_access, m_deviceNode, BlockAccess::ReadWrite);
    if (!disk.device) {
        m_sink.ShowMessage(disk.failure, std::string(), MB_OK | MB_ICONERROR);
        m_sink.OnTestEnded();
        return FlashTestEnd::Failed;
    }
    BlockDevice& device = *disk.device;
    m_sectorBytes = std::max<std::uint32_t>(disk.geometry.logicalSectorSize, 1);
    const std::uint64_t s = m_sectorBytes;
    const std::uint64_t sectors = disk.geometry.sizeBytes / s;
    m_result.sectors = sectors;
    if (sectors == 0) {
        m_sink.ShowMessage("Drive report zero sectors.  No media detected in drive, or drive not formatted",
                           std::string(), MB_OK | MB_ICONEXCLAMATION);
        m_sink.OnTestEnded();
        return FlashTestEnd::Failed;
    }
    const auto blockBytes = static_cast<std::size_t>(kBlockSectors * s);
    AlignedBuffer written(blockBytes);
    AlignedBuffer readBack(blockBytes);
    m_sink.SetFieldText(IDC_TESTINGSECTOR, "0");
    if (!written || !readBack) {
        m_sink.ShowMessage("Fatal error, unable to allocate required memory", std::string(), MB_OK | MB_ICONERROR);
        m_sink.OnTestEnded();
        return FlashTestEnd::Failed;
    }
    m_sink.SetFieldText(IDC_TOTALERRORS, "0");
    const std::uint64_t stride = StrideFor(sectors);
    const std::uint64_t steps = sectors / stride;
    m_result.stride = stride;
    for (int field : {IDC_AVERAGESPEED, IDC_TOTALERRORS, IDC_SECTORSREMAINING, IDC_AMOUNTTESTED, IDC_AMOUNTREMAINING})
        m_sink.SetFieldText(field, "N/A");

    // A block read back as written: every byte, compared as bytes.
    const auto readsBackAs = [&](std::uint64_t position, const AlignedBuffer& expected) {
        const BlockIo io = device.ReadAt(position * s, readBack.Data(), blockBytes);
        if (!io.Ok() || io.bytes != blockBytes) {
            LogEntryF("Flash test: the block at sector %llu could not be read back (%s)",
                      static_cast<unsigned long long>(position), io.Ok() ? "short read" : ErrnoText(io.error).c_str());
            return false;
        }
        return std::memcmp(readBack.Data(), expected.Data(), blockBytes) == 0;
    };

    bool failed = false;
    std::uint64_t position = kFirstBlock;
    for (std::uint64_t step = 0; step < steps && m_running; ++step) {
        if (position + kBlockSectors > sectors)
            break;
        FillBlock(written.Data(), blockBytes, position, m_nonce);
        const BlockIo io = device.WriteAt(position * s, written.Data(), blockBytes);
        if (!io.Ok()) {
            m_result.failedBlock = position;
            m_sink.ShowMessage("Write Failure at " + PositionText(s, position) + "\n\n" + m_deviceNode + ": "
                                   + ErrnoText(io.error),
                               std::string(), MB_OK | MB_ICONERROR);
            m_sink.OnTestEnded();
            return FlashTestEnd::WriteFailed;
        }
        if (!readsBackAs(position, written)) {
            m_result.failedBlock = position;
            m_sink.ShowMessage(Format("Verify failure while writing sector %llu at %s",
                                      static_cast<unsigned long long>(position), PositionText(s, position).c_str()),
                               std::string(), MB_OK | MB_ICONERROR);
            failed = true;
            break;
        }
        ++m_result.blocksWritten;
        m_sink.SetFieldText(IDC_TESTINGSECTOR, Format("%llu", static_cast<unsigned long long>(position)));
        position = NextBlock(position, stride);
        const int percent = PercentOf(static_cast<std::int64_t>(position), static_cast<std::int64_t>(sectors));
        m_sink.SetProgress(std::min(percent + 1, 100), Format("Writing Data %d%% Complete", percent));
    }
    if (!failed && m_running) {
        if (const int error = device.Flush(); error != 0) {
            m_sink.ShowMessage("Write Failure at " + PositionText(s, position) + "\n\n" + m_deviceNode + ": "
                                   + ErrnoText(error),
                               std::string(), MB_OK | MB_ICONERROR);
            m_sink.OnTestEnded();
            return FlashTestEnd::WriteFailed;
        }
    }
    if (!failed) {
        position = kFirstBlock;
        for (int block = 0; block < m_result.blocksWritten && m_running; ++block) {
            FillBlock(written.Data(), blockBytes, position, m_nonce);
            const bool same = readsBackAs(position, written);
            m_sink.SetFieldText(IDC_TESTINGSECTOR, Format("%llu", static_cast<unsigned long long>(position)));
            if (!same) {
                m_result.failedBlock = position;
                m_sink.ShowMessage("Verify Failure at " + PositionText(s, position), std::string(),
                                   MB_OK | MB_ICONERROR);
                failed = true;
                break;
            }
            ++m_result.blocksVerified;
            position = NextBlock(position, stride);
            const int percent = PercentOf(static_cast<std::int64_t>(position), static_cast<std::int64_t>(sectors));
            m_sink.SetProgress(std::min(percent + 1, 100), Format("Verify %d%% Complete", percent));
        }
    }
    if (!m_running) {
        ShowEnd("Aborted as user request.  The drive will now need to be re-formatted.");
        return FlashTestEnd::Stopped;
    }
    ShowEnd(failed ? nullptr : "Test complete, no errors were found.  The drive will now need to be re-formatted.");
    return failed ? FlashTestEnd::VerifyFailed : FlashTestEnd::Passed;
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
