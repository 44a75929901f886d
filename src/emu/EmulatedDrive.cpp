#include "emu/EmulatedDrive.h"

#include "emu/DrivePresets.h"
#include "emu/MediaPresets.h"
#include "emu/commands/Commands.h"
#include "scsi/AsciiText.h"
#include "scsi/Opcodes.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace emu {

namespace {

CommandResult CheckCondition(const Sense& answer, std::optional<std::uint32_t> information = std::nullopt,
                             std::size_t transferred = 0, std::optional<std::uint16_t> progress = std::nullopt)
{
    return {Outcome::CheckCondition, BuildFixedSense(answer, information, progress), transferred};
}

}  // namespace

EmulatedDrive::EmulatedDrive(DriveIdentity identity, std::shared_ptr<Clock> clock) :
    m_state(std::move(identity), clock ? std::move(clock) : std::make_shared<SteadyClock>()),
    m_commands(CommandsFor(m_state.identity.vendorSettings.family))
{
}

CommandResult EmulatedDrive::Execute(const std::uint8_t* cdb, std::size_t cdbLength, DataDirection direction,
                                     std::uint8_t* data, std::size_t dataLength)
{
    if (!cdb || cdbLength == 0 || cdbLength > sizeof(CdbBytes))
        return {Outcome::TransportFailure, {}, 0};
    CommandResult result;
    bool trayChanged = false;
    {
        std::lock_guard lock(m_mutex);
        ++m_sent;
    }
    if (BringDueFault())
        TellTrayListeners();
    {
        std::lock_guard lock(m_mutex);
        if (m_gone)
            return {Outcome::DeviceGone, {}, 0};
        // Refused or lost commands never reach the drive, so they are not journalled.
        if (const auto rule = TakeRule(cdb[0], true)) {
            const bool denied = rule->kind == ErrorRule::Kind::PermissionDenied;
            return {denied ? Outcome::PermissionDenied : Outcome::TransportFailure, {}, 0};
        }
        Record(cdb, cdbLength, direction, data, dataLength);
        CdbBytes bytes{};  // ATAPI pads a short packet with zeros
        std::memcpy(bytes.data(), cdb, cdbLength);
        const auto before = TrayAndDisc();
        result = Dispatch(bytes, cdbLength, direction, data, dataLength);
        trayChanged = TrayAndDisc() != before;
        // The sense of a failed command waits for the next one: REQUEST SENSE reads it.
        if (cdb[0] != mmc::kRequestSense)
            m_state.lastSense = result.outcome == Outcome::CheckCondition ? std::optional(result.sense) : std::nullopt;
    }
    if (trayChanged)
        TellTrayListeners();
    return result;
}

bool EmulatedDrive::BringDueFault()
{
    std::lock_guard lock(m_mutex);
    if (!m_pendingFault || m_sent <= m_pendingFault->atCommand)
        return false;
    const MidRunFault fault = m_pendingFault->fault;
    m_pendingFault.reset();
    if (fault == MidRunFault::DriveGone) {
        m_gone = true;
        return false;
    }
    if (fault == MidRunFault::StuckNotReady) {
        m_stuckNotReady = true;
        return false;
    }
    m_state.medium.reset();
    m_state.mediumChangePending = false;
    return true;
}

void EmulatedDrive::ScheduleFault(MidRunFault fault, std::uint64_t afterCommands)
{
    std::lock_guard lock(m_mutex);
    m_pendingFault = PendingFault{fault, m_sent + afterCommands};
}

std::uint64_t EmulatedDrive::SentCommands() const
{
    std::lock_guard lock(m_mutex);
    return m_sent;
}

int EmulatedDrive::AddTrayListener(TrayListener listener)
{
    std::lock_guard lock(m_listenerMutex);
    const int id = m_nextListenerId++;
    m_trayListeners[id] = std::move(listener);
    return id;
}

void EmulatedDrive::RemoveTrayListener(int id)
{
    std::lock_guard lock(m_listenerMutex);
    m_trayListeners.erase(id);
}

void EmulatedDrive::TellTrayListeners()
{
    std::lock_guard lock(m_listenerMutex);
    for (const auto& [id, listener] : m_trayListeners)
        listener();
}

CommandResult EmulatedDrive::Dispatch(const CdbBytes& cdb, std::size_t cdbLength, DataDirection direction,
                                      std::uint8_t* data, std::size_t dataLength)
{
    const std::uint8_t opcode = cdb[0];
    if (m_stuckNotReady && opcode != mmc::kInquiry && opcode != mmc::kRequestSense)
        return CheckCondition(sense::kNotReady);
    m_state.SettleLongOperation();
    const Refusals& refusals = m_state.identity.refusals;
    const bool unknown = !m_commands.Find(opcode)
        || std::find(refusals.unknownCommands.begin(), refusals.unknownCommands.end(), opcode)
            != refusals.unknownCommands.end();
    if (unknown && refusals.unknownCommandsLost)
        return {Outcome::TransportFailure, {}, 0};
    const CommandEntry* entry = unknown ? nullptr : m_commands.Find(opcode);
    if (!entry || (m_strictCdbLength && cdbLength != entry->cdbLength))
        return CheckCondition(sense::kInvalidOpcode);
    if (entry->reportsUnitAttention && m_state.MediumChangeAttentionDue()) {
        m_state.mediumChangePending = false;
        return CheckCondition(sense::kMediumChanged);
    }
    if (const auto rule = TakeRule(opcode, false))
        return CheckCondition(rule->sense);
    if (entry->needsReadyMedium) {
        if (const auto notReady = m_state.NotReadyReasonFor(opcode))
            return CheckCondition(*notReady, std::nullopt, 0, m_state.OperationProgress());
        if (const auto failure = std::exchange(m_state.deferredError, std::nullopt))
            return CheckCondition(*failure);  // how the last long operation ended
    }

    CommandContext context(m_state, cdb, direction, data, dataLength);
    entry->handler(context);
    if (context.Failed()) {
        const bool waiting = m_state.longOperation && *context.Failure() == m_state.longOperation->sense;
        return CheckCondition(*context.Failure(), context.Information(), context.Transferred(),
                              waiting ? m_state.OperationProgress() : std::nullopt);
    }
    return {Outcome::Good, {}, context.Transferred()};
}

std::optional<ErrorRule> EmulatedDrive::TakeRule(std::uint8_t opcode, bool refusal)
{
    for (ErrorRule& rule : m_state.errorRules) {
        const bool isRefusal = rule.kind != ErrorRule::Kind::Sense;
        if (isRefusal != refusal || rule.TiedToBlocks() || rule.remaining == 0 || !rule.MatchesOpcode(opcode))
            continue;
        if (rule.skip > 0) {
            --rule.skip;
            continue;
        }
        if (rule.remaining > 0)
            --rule.remaining;
        return rule;
    }
    return std::nullopt;
}

void EmulatedDrive::Record(const std::uint8_t* cdb, std::size_t cdbLength, DataDirection direction,
                           const std::uint8_t* data, std::size_t dataLength)
{
    JournalEntry entry;
    entry.cdbLength = static_cast<std::uint8_t>(cdbLength);
    std::memcpy(entry.cdb.data(), cdb, cdbLength);
    entry.direction = direction;
    entry.dataLength = dataLength;
    if (direction == DataDirection::Out && data)
        entry.dataOut.assign(data, data + std::min(dataLength, kJournalDataOut));
    if (m_journal.size() == kJournalCapacity)
        m_journal.pop_front();
    m_journal.push_back(entry);
}

std::optional<LoadedMedium> EmulatedDrive::Prepare(const MediumDescription& disc, std::string* error) const
{
    LoadedMedium loaded{disc, nullptr, {}};
    for (const UnreadableZone& zone : disc.unreadable) {
        for (const std::uint8_t opcode : {mmc::kRead10, mmc::kReadCd}) {
            ErrorRule rule = ErrorRule::UnreadableBlocks(zone.firstBlock, zone.blockCount);
            rule.firstOpcode = rule.lastOpcode = opcode;
            rule.remaining = zone.failures;
            loaded.unreadable.Add(rule);
        }
    }
    if (disc.imagePath.empty()) {
        loaded.source = std::make_shared<RecordedBlocks>(MakePatternSource());
        return loaded;
    }
    std::uint64_t blocks = 0;
    std::shared_ptr<BlockSource> image = OpenImageSource(disc.imagePath, disc.blockSize, blocks, error);
    if (!image)
        return std::nullopt;
    loaded.source = std::make_shared<RecordedBlocks>(std::move(image));
    loaded.description.capacityBlocks = blocks;
    for (TrackEntry& track : loaded.description.tracks)
        track.blocks = static_cast<std::uint32_t>(std::min<std::uint64_t>(blocks, UINT32_MAX));
    return loaded;
}

bool EmulatedDrive::Place(const MediumDescription& disc, bool spinUp, std::string* error)
{
    auto loaded = Prepare(disc, error);
    if (!loaded)
        return false;
    {
        std::lock_guard lock(m_mutex);
        m_state.PlaceMedium(std::move(loaded), spinUp);
    }
    TellTrayListeners();
    return true;
}

bool EmulatedDrive::InsertMedium(const MediumDescription& disc, std::string* error)
{
    return Place(disc, false, error);
}

bool EmulatedDrive::LoadMedium(const MediumDescription& disc, std::string* error)
{
    return Place(disc, true, error);
}

bool EmulatedDrive::EjectMedium()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_state.removalPrevented) {
            m_state.pendingMediaEvent = kEjectRequestEvent;  // the host is asked to let go
            return false;
        }
        m_state.OpenTray();
    }
    TellTrayListeners();
    return true;
}

void EmulatedDrive::RemoveMedium()
{
    {
        std::lock_guard lock(m_mutex);
        m_state.medium.reset();
        m_state.mediumChangePending = false;
    }
    TellTrayListeners();
}

bool EmulatedDrive::HasMedium() const
{
    std::lock_guard lock(m_mutex);
    return m_state.medium && !m_state.trayOpen;
}

bool EmulatedDrive::TrayOpen() const
{
    std::lock_guard lock(m_mutex);
    return m_state.trayOpen;
}

bool EmulatedDrive::RemovalPrevented() const
{
    std::lock_guard lock(m_mutex);
    return m_state.removalPrevented;
}

std::uint16_t EmulatedDrive::CurrentProfile() const
{
    std::lock_guard lock(m_mutex);
    return m_state.CurrentProfile();
}

void EmulatedDrive::AddErrorRule(const ErrorRule& rule)
{
    std::lock_guard lock(m_mutex);
    if (rule.TiedToBlocks())
        m_state.blockRules.Add(rule);
    else
        m_state.errorRules.push_back(rule);
}

void EmulatedDrive::ClearErrorRules()
{
    std::lock_guard lock(m_mutex);
    m_state.errorRules.clear();
    m_state.blockRules.Clear();
}

void EmulatedDrive::SetStrictCdbLength(bool strict)
{
    std::lock_guard lock(m_mutex);
    m_strictCdbLength = strict;
}

void EmulatedDrive::SetTransferLengthCheck(bool check)
{
    std::lock_guard lock(m_mutex);
    m_state.checkTransferLengths = check;
}

void EmulatedDrive::AddNotReadyWindow(const NotReadyWindow& window)
{
    std::lock_guard lock(m_mutex);
    m_state.notReadyWindows.push_back(window);
}

SpinPlan EmulatedDrive::ReadPlan() const
{
    std::lock_guard lock(m_mutex);
    return m_state.ReadPlan();
}

double EmulatedDrive::SpindleRpm() const
{
    std::lock_guard lock(m_mutex);
    return m_state.spindleRpm;
}

void EmulatedDrive::AddStuckPosition(const StuckPosition& stuck)
{
    std::lock_guard lock(m_mutex);
    m_state.measuring.stuck.push_back(stuck);
}

void EmulatedDrive::FailNextLongOperation(const Sense& failure)
{
    std::lock_guard lock(m_mutex);
    m_state.FailNextLongOperation(failure);
}

std::optional<MediumDescription> EmulatedDrive::CurrentMedium() const
{
    std::lock_guard lock(m_mutex);
    if (!m_state.medium)
        return std::nullopt;
    return m_state.medium->description;
}

bool EmulatedDrive::ReadsAsZeros(std::uint64_t lba, std::uint32_t count) const
{
    std::lock_guard lock(m_mutex);
    if (!m_state.medium)
        return false;
    const std::uint32_t blockSize = m_state.medium->description.blockSize;
    std::vector<std::uint8_t> blocks(std::size_t{count} * blockSize);
    return m_state.medium->source->Read(lba, count, blockSize, blocks.data())
        && std::all_of(blocks.begin(), blocks.end(), [](std::uint8_t b) { return b == 0; });
}

VendorSettings EmulatedDrive::VendorState() const
{
    std::lock_guard lock(m_mutex);
    return m_state.vendorSettings;
}

std::vector<JournalEntry> EmulatedDrive::Journal() const
{
    std::lock_guard lock(m_mutex);
    return {m_journal.begin(), m_journal.end()};
}

void EmulatedDrive::ClearJournal()
{
    std::lock_guard lock(m_mutex);
    m_journal.clear();
}

std::shared_ptr<EmulatedDrive> MakeEmulatedDrive(const std::string& drivePreset, const std::string& mediumPreset,
                                                 std::shared_ptr<Clock> clock, std::string* error)
{
    auto identity = FindDrivePreset(drivePreset);
    if (!identity) {
        if (error)
            *error = "unknown drive preset \"" + drivePreset + "\"";
        return nullptr;
    }
    return MakeEmulatedDrive(std::move(*identity), mediumPreset, std::move(clock), error);
}

std::shared_ptr<EmulatedDrive> MakeEmulatedDrive(DriveIdentity identity, const std::string& mediumPreset,
                                                 std::shared_ptr<Clock> clock, std::string* error)
{
    const bool empty = scsi::EqualsIgnoringCase(mediumPreset, kNoMediumPreset);
    const auto disc = empty ? std::nullopt : FindMediumPreset(mediumPreset);
    if (!empty && !disc) {
        if (error)
            *error = "unknown medium preset \"" + mediumPreset + "\"";
        return nullptr;
    }
    auto drive = std::make_shared<EmulatedDrive>(std::move(identity), std::move(clock));
    if (disc && !drive->InsertMedium(*disc, error))
        return nullptr;
    return drive;
}

}  // namespace emu
