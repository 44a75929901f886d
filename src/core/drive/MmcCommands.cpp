#include "core/drive/MmcCommands.h"

#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/drive/CommandFailure.h"
#include "core/drive/Device.h"
#include "core/drive/MmcCdbs.h"
#include "core/drive/MmcTypes.h"
#include "core/drive/ScsiCommand.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace {

using scsi::GetBe16;
using scsi::GetBe32;
using namespace mmc;

constexpr std::uint8_t kCapabilitiesPage = 0x2A;
constexpr std::uint32_t kFirstModeSenseLength = 252;
constexpr std::uint32_t kModeSenseRetryLength = 2048;
constexpr std::size_t kModeSenseBufferLength = 65536;
constexpr int kPollIntervalMs = 500;
constexpr std::uint16_t kRpcStateLength = 8;
constexpr std::uint8_t kRpcStateFormat = 0x08;

constexpr std::uint8_t kAllPages = 0x3F;
constexpr std::size_t kModeHeaderLength = 8;
constexpr std::uint8_t kCapabilitiesPageOnly[] = {kCapabilitiesPage};

// The page of a one-page MODE SENSE(10) answer of `received` bytes, after the
// header and any block descriptors; empty when the drive answered another page.
std::span<const std::uint8_t> PageOf(const std::vector<std::uint8_t>& answer, std::uint32_t received, std::uint8_t code)
{
    const std::size_t end = std::min<std::size_t>({received, answer.size(), GetBe16(answer.data()) + 2u});
    const std::size_t start = kModeHeaderLength + GetBe16(&answer[6]);
    if (start + 2 > end || (answer[start] & 0x3F) != code)
        return {};
    const std::size_t length = std::min<std::size_t>(answer[start + 1] + 2u, end - start);
    return std::span<const std::uint8_t>(answer).subspan(start, length);
}

bool NoMedium(const SenseCode& sense)
{
    return sense.key == 2 && sense.asc == 0x3A;
}

bool NoSense(const SenseCode& sense)
{
    return sense.key == 0 && sense.asc == 0 && sense.ascq == 0;
}

// Bytes 16-17 of sense data hold the progress when the sense-key specific
// bytes are valid.
std::optional<int> ProgressOf(const std::uint8_t* sense)
{
    if (!(sense[15] & 0x80))
        return std::nullopt;
    return GetBe16(&sense[16]);
}

}  // namespace

std::vector<std::uint8_t> EveryModePage()
{
    std::vector<std::uint8_t> codes = {kCapabilitiesPage};
    for (std::uint8_t code = 0x01; code < kAllPages; ++code)
        if (code != kCapabilitiesPage)
            codes.push_back(code);
    return codes;
}

MmcCommands::MmcCommands(CScsiCommand& channel, CDevice* const& current) :
    m_ScsiCommand(channel), m_pCurrentDevice(current)
{
}

void MmcCommands::SetWaitClock(std::shared_ptr<WaitClock> clock)
{
    m_pWaitClock = clock ? std::move(clock) : SystemWaitClock();
}

int MmcCommands::TestMediaPresent()
{
    return mmc_cdb::TestUnitReady{}.Block().Execute(m_ScsiCommand, DataDirection::None, nullptr, 0) == 0 ? 1 : 0;
}

CommandAnswer MmcCommands::TestUnitReady()
{
    return ExecuteForAnswer(m_ScsiCommand, mmc_cdb::TestUnitReady{}.Block(), "TEST UNIT READY");
}

int MmcCommands::WaitForUnitReady(int seconds, const std::atomic<int>* running)
{
    const int tries = 2 * std::max(seconds, 0);
    for (int attempt = 0; attempt < tries; ++attempt) {
        if (running && running->load() == 0)
            return 1;
        SenseCode sense;
        {
            const auto lock = m_ScsiCommand.Lock();
            if (mmc_cdb::TestUnitReady{}.Block().Execute(m_ScsiCommand, DataDirection::None, nullptr, 0) == 0)
                return 0;
            sense = SenseOf(m_ScsiCommand.GetSenseBuffer());
        }
        if (NoMedium(sense) || NoSense(sense))
            return 0;
        if (attempt + 1 < tries)
            m_pWaitClock->SleepMs(kPollIntervalMs);
    }
    return 1;
}

int MmcCommands::PollUntilReady(std::uint32_t timeoutSeconds, std::uint32_t pollMs,
                                const std::function<void()>& whileWaiting)
{
    const std::uint64_t deadline = m_pWaitClock->NowMs() + std::uint64_t{timeoutSeconds} * 1000;
    for (;;) {
        SenseCode sense;
        bool delivered = true;
        {
            const auto lock = m_ScsiCommand.Lock();
            if (mmc_cdb::TestUnitReady{}.Block().Execute(m_ScsiCommand, DataDirection::None, nullptr, 0) == 0)
                return 0;
            sense = SenseOf(m_ScsiCommand.GetSenseBuffer());
            delivered = m_ScsiCommand.LastError() == PassThroughError::None;
        }
        if (!delivered || NoMedium(sense))
            return 1;  // waiting cannot make it ready
        if (m_pWaitClock->NowMs() >= deadline)
            return 1;
        if (whileWaiting)
            whileWaiting();
        m_pWaitClock->SleepMs(pollMs);
    }
}

int MmcCommands::ModeSense10(std::uint8_t pageCode, std::vector<std::uint8_t>& answer, std::uint32_t allocation,
                             std::uint32_t* received)
{
    allocation = std::min<std::uint32_t>(allocation, static_cast<std::uint32_t>(answer.size()));
    std::fill(answer.begin(), answer.end(), 0);
    const int result = mmc_cdb::ModeSense10{.pageCode = pageCode, .allocation = static_cast<std::uint16_t>(allocation)}
                           .Block()
                           .Execute(m_ScsiCommand, DataDirection::In, answer.data(), allocation);
    if (received)
        *received = allocation - std::min(m_ScsiCommand.Residual(), allocation);
    return result;
}

DriveAnswer MmcCommands::ModePageAnswer(std::uint8_t pageCode, std::uint16_t allocation)
{
    return ExecuteForBytes(m_ScsiCommand, mmc_cdb::ModeSense10{.pageCode = pageCode, .allocation = allocation}.Block(),
                           allocation);
}

int MmcCommands::ReadAllModePages(std::vector<std::uint8_t>& answer, std::uint32_t limit, std::uint32_t* received,
                                  std::span<const std::uint8_t> pagesOneByOne)
{
    const auto lock = m_ScsiCommand.Lock();
    const std::uint32_t cap = std::min<std::uint32_t>(limit, static_cast<std::uint32_t>(answer.size()));
    const int first = ModeSense10(kAllPages, answer, std::min(kFirstModeSenseLength, cap), received);
    // The mode data length counts the bytes after its own two.
    const std::uint32_t wanted = GetBe16(answer.data()) + 2u;
    if (first == 0 && wanted <= kFirstModeSenseLength)
        return 0;
    const bool large = first == 0 && wanted > kModeSenseRetryLength;
    LogEntry(large ? "SCSI_Cmd_ModeSense10 3" : "SCSI_Cmd_ModeSense10 2");
    const int again = ModeSense10(kAllPages, answer, std::min(first == 0 ? wanted : kModeSenseRetryLength, cap),
                                  received);
    if (again == 0 || !WasRefused(m_ScsiCommand))
        return again;
    LogEntry("SCSI_Cmd_ModeSense10 - Page 3Fh refused, asking the pages one by one");
    return ReadModePagesOneByOne(answer, cap, received, pagesOneByOne);
}

int MmcCommands::ReadModePagesOneByOne(std::vector<std::uint8_t>& answer, std::uint32_t cap, std::uint32_t* received,
                                       std::span<const std::uint8_t> pageCodes)
{
    std::vector<std::uint8_t> assembled(kModeHeaderLength, 0);
    std::vector<std::uint8_t> one(kModeSenseRetryLength, 0);
    const std::vector<std::uint8_t> codes = pageCodes.empty()
        ? EveryModePage()
        : std::vector<std::uint8_t>(pageCodes.begin(), pageCodes.end());
    for (const std::uint8_t code : codes) {
        std::uint32_t got = 0;
        if (ModeSense10(code, one, kFirstModeSenseLength, &got) != 0)
            continue;
        if (const std::uint32_t wanted = GetBe16(one.data()) + 2u; wanted > kFirstModeSenseLength
            && ModeSense10(code, one, std::min(wanted, kModeSenseRetryLength), &got) != 0)
            continue;
        const std::span<const std::uint8_t> page = PageOf(one, got, code);
        if (page.empty() || assembled.size() + page.size() > cap)
            continue;
        assembled.insert(assembled.end(), page.begin(), page.end());
    }
    if (assembled.size() == kModeHeaderLength)
        return 1;  // the last refusal stays in the channel
    scsi::PutBe16(assembled.data(), static_cast<std::uint32_t>(assembled.size() - 2));
    std::fill(answer.begin(), answer.end(), 0);
    std::copy(assembled.begin(), assembled.end(), answer.begin());
    if (received)
        *received = static_cast<std::uint32_t>(assembled.size());
    return 0;
}

int MmcCommands::TestMMCCompliant(std::string* failure)
{
    LogEntry("Testing for MMC compliance start");
    const auto lock = m_ScsiCommand.Lock();
    std::vector<std::uint8_t> answer(kModeSenseBufferLength, 0);
    std::uint32_t received = 0;
    if (ReadAllModePages(answer, kModeSenseBufferLength - 1, &received, kCapabilitiesPageOnly) != 0) {
        LogEntry("TestMMCCompliant() failed, SCSI_Cmd_ModeSense10 returned non zero");
        if (failure)
            *failure = DescribeLastFailure(m_ScsiCommand, "MODE SENSE(10)", kModeSense10);
        return 0;
    }
    const std::uint32_t dataLength = GetBe16(answer.data());
    LogEntry("TestMMCCompliant() successful - looking for page 2Ah");
    // Pages follow an 8-byte header without block descriptors; only bytes
    // that came back are walked.
    const std::size_t end = std::min<std::size_t>(dataLength, received);
    for (std::size_t start = 8; start < end;) {
        const int code = answer[start] & 0x3F;
        LogEntryF("TestMMCCompliant() - Found page %xh", code);
        if (code == kCapabilitiesPage) {
            LogEntry("TestMMCCompliant() - page 2Ah found.");
            return 1;
        }
        start += answer[start + 1] + 2u;
    }
    LogEntry("TestMMCCompliant() - page 2Ah not found");
    if (failure)
        *failure = "MODE SENSE(10) (5Ah) answered without the capabilities page 2Ah";
    return 0;
}

int MmcCommands::GetProgress()
{
    const auto lock = m_ScsiCommand.Lock();
    mmc_cdb::TestUnitReady{}.Block().Execute(m_ScsiCommand, DataDirection::None, nullptr, 0);
    if (const auto progress = ProgressOf(m_ScsiCommand.GetSenseBuffer()))
        return *progress;
    std::array<std::uint8_t, 255> answer{};
    if (mmc_cdb::RequestSense{.allocation = 255}.Block().Execute(m_ScsiCommand, DataDirection::In, answer.data(),
                                                                 answer.size())
        != 0) {
        LogEntry("GetProgress() - Request Sense - Command Test Unit Ready (03h) failed, returned non zero");
        return 0;
    }
    return ProgressOf(answer.data()).value_or(0);
}

int MmcCommands::GetConfigurationDataLength()
{
    std::array<std::uint8_t, 2048> answer{};
    if (GetConfiguration(0, 0, answer.data(), answer.size()) != 0)
        return 0;
    return static_cast<int>(GetBe32(answer.data()));
}

int MmcCommands::GetConfiguration(int requestType, int startingFeature, std::uint8_t* buffer, std::uint32_t length)
{
    const std::uint32_t allocation = std::min<std::uint32_t>(length, 0xFFFF);
    return mmc_cdb::GetConfiguration{.requestType = static_cast<std::uint8_t>(requestType),
                                     .startingFeature = static_cast<std::uint16_t>(startingFeature),
                                     .allocation = static_cast<std::uint16_t>(allocation)}
        .Block()
        .Execute(m_ScsiCommand, DataDirection::In, buffer, allocation);
}

int MmcCommands::SetCdSpeed(int index, int unitSpeed, int count, int step, int rotationControl)
{
    const std::int64_t listed = std::int64_t{index} * step;
    std::int64_t speed = kMaximumCdSpeed;  // the caller's "maximum" entry
    if (listed != 0)
        speed = std::clamp<std::int64_t>((count - listed + 1) * unitSpeed, 1, kMaximumCdSpeed);
    return SetCdSpeedKBps(static_cast<std::uint16_t>(speed), static_cast<std::uint16_t>(speed),
                          static_cast<std::uint8_t>(rotationControl));
}

int MmcCommands::SetCdSpeedKBps(std::uint16_t readKBps, std::uint16_t writeKBps, std::uint8_t rotationControl)
{
    return mmc_cdb::SetCdSpeed{.rotationControl = rotationControl, .readKBps = readKBps, .writeKBps = writeKBps}
        .Block()
        .Execute(m_ScsiCommand, DataDirection::None, nullptr, 0);
}

int MmcCommands::SetStreaming(const StreamingRequest& request)
{
    constexpr std::uint8_t kRestoreDefaults = 0x04;
    std::vector<std::uint8_t> descriptor(kStreamingDescriptorLength, 0);
    descriptor[0] = request.restoreDefaults ? kRestoreDefaults : 0x00;
    scsi::PutBe32(&descriptor[4], request.startLba);
    scsi::PutBe32(&descriptor[8], request.endLba);
    scsi::PutBe32(&descriptor[12], request.readSize);
    scsi::PutBe32(&descriptor[16], request.readTimeMs);
    scsi::PutBe32(&descriptor[20], request.writeSize);
    scsi::PutBe32(&descriptor[24], request.writeTimeMs);
    return mmc_cdb::SetStreaming{.parameterLength = kStreamingDescriptorLength}.Block().Execute(
        m_ScsiCommand, DataDirection::Out, descriptor.data(), static_cast<std::uint32_t>(descriptor.size()));
}

int MmcCommands::Seek(std::uint32_t lba)
{
    return mmc_cdb::Seek10{.lba = lba}.Block().Execute(m_ScsiCommand, DataDirection::None, nullptr, 0);
}

int MmcCommands::PreventMediumRemoval(int prevent)
{
    const int result = mmc_cdb::PreventAllowMediumRemoval{.prevent = static_cast<std::uint8_t>(prevent)}
                           .Block()
                           .Execute(m_ScsiCommand, DataDirection::None, nullptr, 0);
    if (result == 0)
        m_bTrayLocked = prevent != 0 ? 1 : 0;
    return result;
}

int MmcCommands::IsDoorOpen()
{
    constexpr std::uint16_t kMechanismStatusLength = 32;
    std::array<std::uint8_t, kMechanismStatusLength> answer{};
    mmc_cdb::MechanismStatus{.allocation = kMechanismStatusLength}.Block().Execute(m_ScsiCommand, DataDirection::In,
                                                                                   answer.data(), answer.size());
    return (answer[1] >> 4) & 0x01;
}

int MmcCommands::EjectOrCloseTray()
{
    // The immediate bit: the tray moves while the command has already ended.
    const bool close = IsDoorOpen() != 0;
    return mmc_cdb::StartStopUnit{.immediate = true, .loadEject = true, .start = close}.Block().Execute(
        m_ScsiCommand, DataDirection::None, nullptr, 0);
}

int MmcCommands::ReportRpcState()
{
    std::vector<std::uint8_t> answer(kRpcStateLength, 0);
    const int result = mmc_cdb::ReportKey{.allocation = kRpcStateLength, .keyFormat = kRpcStateFormat}.Block().Execute(
        m_ScsiCommand, DataDirection::In, answer.data(), kRpcStateLength);
    if (!m_pCurrentDevice)
        return result;
    CDevice& device = *m_pCurrentDevice;
    device.m_bRegionRead = result == 0;
    if (result != 0)
        return result;
    LogEntry("OnDriveInfo() - SCSI_REPORT_KEY successful");
    device.m_nUserChangesLeft = answer[4] & 0x07;
    device.m_nVendorResetsLeft = (answer[4] >> 3) & 0x07;
    device.m_nRegionTypeCode = (answer[4] >> 6) & 0x03;
    device.m_nRegionMask = answer[5];
    device.m_nRpcScheme = answer[6];
    return result;
}

std::string MmcCommands::GetRatedSpeedText(const std::string&)
{
    return Format("%-66s%s", "Manufacturer Rated Speed", "Unknown");
}
