#pragma once

#include "emu/CommandTable.h"
#include "emu/DriveState.h"

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace emu {

// How a command ended as the host sees it.
enum class Outcome {
    Good,
    CheckCondition,  // sense data came back
    PermissionDenied,  // refused before it reached the drive
    TransportFailure,  // lost on the way: no status, no sense
    DeviceGone,  // the drive has left the bus: the system has no device for it
};

// What can happen to a drive in the middle of a run.
enum class MidRunFault {
    DiscRemoved,  // the disc is pulled out: NOT READY, MEDIUM NOT PRESENT from then on
    DriveGone,  // the drive is unplugged: every later command finds no device
    // The drive hangs not ready: every later command but INQUIRY and REQUEST
    // SENSE (which answer in any state) fails with NOT READY (2/04/00).
    StuckNotReady,
};

struct CommandResult {
    Outcome outcome = Outcome::Good;
    FixedSense sense{};
    std::size_t transferred = 0;
};

// One command the drive received, as it received it.
struct JournalEntry {
    CdbBytes cdb{};
    std::uint8_t cdbLength = 0;
    DataDirection direction = DataDirection::None;
    std::size_t dataLength = 0;
    // The first bytes the host sent with it (a parameter list), at most kJournalDataOut.
    std::vector<std::uint8_t> dataOut;

    std::uint8_t Opcode() const { return cdb[0]; }
    std::vector<std::uint8_t> Bytes() const { return {cdb.begin(), cdb.begin() + cdbLength}; }
};

// A software MMC drive that answers CDBs as hardware does: its identity,
// profiles, features and mode pages are data (DriveIdentity), its disc is
// data (MediumDescription), and each command is a handler of the command
// table. It keeps a journal of what it received, answers from its injected
// error list, and can be made strict about CDB lengths. Thread-safe.
class EmulatedDrive {
public:
    explicit EmulatedDrive(DriveIdentity identity, std::shared_ptr<Clock> clock = std::make_shared<SteadyClock>());

    CommandResult Execute(const std::uint8_t* cdb, std::size_t cdbLength, DataDirection direction, std::uint8_t* data,
                          std::size_t dataLength);

    const DriveIdentity& Identity() const { return m_state.identity; }
    std::shared_ptr<Clock> GetClock() const { return m_state.clock; }

    // Puts a disc in as if it had been there since power-on: ready at once.
    bool InsertMedium(const MediumDescription& disc, std::string* error = nullptr);
    // The user puts a disc in and closes the tray: the drive is becoming
    // ready for its spin-up time, then reports the medium change once.
    bool LoadMedium(const MediumDescription& disc, std::string* error = nullptr);
    // The eject button: opens the tray unless removal is prevented (false).
    // The disc stays on the tray until RemoveMedium or a load replaces it.
    bool EjectMedium();
    void RemoveMedium();
    bool HasMedium() const;
    bool TrayOpen() const;
    bool RemovalPrevented() const;
    std::uint16_t CurrentProfile() const;

    // Told after the tray or the disc changed (a load, an insert, the eject
    // button, a removal, START STOP UNIT), outside the drive's lock, on the
    // thread that made the change: the system's media notification watches
    // the drive through it. The id removes the listener again.
    using TrayListener = std::function<void()>;
    int AddTrayListener(TrayListener listener);
    void RemoveTrayListener(int id);

    void AddErrorRule(const ErrorRule& rule);
    void ClearErrorRules();
    // Strict: a CDB whose length is not its command's is refused as the
    // bridge chips of external drives do.
    void SetStrictCdbLength(bool strict);
    // Off: transfers of any length are taken (a test that times reads
    // without moving their bytes). On by default.
    void SetTransferLengthCheck(bool check);

    // The first read that reaches the window's block finds the drive not
    // ready for the window's time.
    void AddNotReadyWindow(const NotReadyWindow& window);
    // How the drive reads its disc now (the closed form of its read speed
    // and rotation), and how fast its spindle turns.
    SpinPlan ReadPlan() const;
    double SpindleRpm() const;

    // From the next error measurement on, reports stay at a position.
    void AddStuckPosition(const StuckPosition& stuck);
    // The current state of the vendor commands (modes, settings).
    VendorSettings VendorState() const;
    // The next format, blank or close started ends with this sense instead
    // of its result (reported once, to the next command that needs the disc).
    void FailNextLongOperation(const Sense& failure);
    // The loaded disc as the drive's work has left it.
    std::optional<MediumDescription> CurrentMedium() const;
    // Whether the blocks [lba, lba + count) hold zeros only now.
    bool ReadsAsZeros(std::uint64_t lba, std::uint32_t count) const;

    // The fault comes with the command after `afterCommands` more commands
    // were sent; it replaces one scheduled before.
    void ScheduleFault(MidRunFault fault, std::uint64_t afterCommands);
    // Every command the host sent since the drive was made, the refused
    // and lost ones too.
    std::uint64_t SentCommands() const;

    std::vector<JournalEntry> Journal() const;
    void ClearJournal();
    static constexpr std::size_t kJournalCapacity = 4096;
    static constexpr std::size_t kJournalDataOut = 64;

private:
    std::optional<LoadedMedium> Prepare(const MediumDescription& disc, std::string* error) const;
    bool Place(const MediumDescription& disc, bool spinUp, std::string* error);
    void Record(const std::uint8_t* cdb, std::size_t cdbLength, DataDirection direction, const std::uint8_t* data,
                std::size_t dataLength);
    // The first refusal (or check condition) of the error list that fires for
    // the command regardless of blocks, used up by one.
    std::optional<ErrorRule> TakeRule(std::uint8_t opcode, bool refusal);
    // What the tray listeners watch: tray state and disc presence.
    std::pair<bool, bool> TrayAndDisc() const { return {m_state.trayOpen, m_state.medium.has_value()}; }
    void TellTrayListeners();
    // Brings a scheduled fault that is due; true when the disc went.
    bool BringDueFault();
    CommandResult Dispatch(const CdbBytes& cdb, std::size_t cdbLength, DataDirection direction, std::uint8_t* data,
                           std::size_t dataLength);

    mutable std::mutex m_mutex;
    DriveState m_state;
    const CommandTable& m_commands;
    bool m_strictCdbLength = false;
    std::deque<JournalEntry> m_journal;
    std::uint64_t m_sent = 0;
    struct PendingFault {
        MidRunFault fault;
        std::uint64_t atCommand;
    };
    std::optional<PendingFault> m_pendingFault;
    bool m_gone = false;
    bool m_stuckNotReady = false;
    std::mutex m_listenerMutex;  // never held together with m_mutex
    std::map<int, TrayListener> m_trayListeners;
    int m_nextListenerId = 1;
};

// A drive of a preset with a disc of a preset ("none" for an empty drive);
// null with the reason when a name is unknown.
std::shared_ptr<EmulatedDrive> MakeEmulatedDrive(const std::string& drivePreset, const std::string& mediumPreset,
                                                 std::shared_ptr<Clock> clock, std::string* error);
// The same for a drive of a hand-made identity.
std::shared_ptr<EmulatedDrive> MakeEmulatedDrive(DriveIdentity identity, const std::string& mediumPreset,
                                                 std::shared_ptr<Clock> clock, std::string* error);

}  // namespace emu
