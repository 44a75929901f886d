#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>

// The long operations that need the optical drive's command channel to
// themselves.
enum class ChannelUse {
    SpeedTest,
    ErrorTest,
    PiPoScan,  // shares the error test's busy flag
    Compare,
    CreateIso,
    MediaHash,
    UserCommand,  // one command the user composed, sent as it is
    Erase,  // erase, format and DC erase
};

// The busy flag that tells the program an operation of that kind runs: 1
// while it runs; clearing it asks the operation to stop.
std::atomic<int>& BusyFlagOf(ChannelUse use);

class ChannelClaim;

// Hands out the exclusive use of the optical channel to one long operation
// at a time. A claim is held from the moment the operation is asked for
// until its worker has ended, its tail included (the tray and the volume
// given back), so a Stop that clears the busy flag never lets a second
// operation in beside a worker that is still ending. The busy flags keep
// their names and meanings on top: the claim sets its flag when the
// operation begins and clears it when it is given back.
class ChannelCoordinator {
public:
    ChannelCoordinator() = default;
    ChannelCoordinator(const ChannelCoordinator&) = delete;
    ChannelCoordinator& operator=(const ChannelCoordinator&) = delete;

    // The channel for `use`; nullopt while another operation holds it.
    std::optional<ChannelClaim> TryClaim(ChannelUse use);
    bool InUse() const;
    std::optional<ChannelUse> Holder() const;
    // Stop: the holder's busy flag cleared, and a holder that has not begun
    // yet will not begin. Nothing when `use` does not hold the channel.
    void RequestStop(ChannelUse use);

private:
    friend class ChannelClaim;
    bool Begin(std::uint64_t claim);
    bool StopRequested(std::uint64_t claim) const;
    void Release(std::uint64_t claim);

    mutable std::mutex m_mutex;
    std::optional<ChannelUse> m_holder;
    std::uint64_t m_claim = 0;  // the number of the claim that holds the channel
    bool m_begun = false;
    bool m_stopRequested = false;
};

// One operation's hold on the channel; given back when it is destroyed.
// Its busy flag is the operation's stop token.
class ChannelClaim {
public:
    ChannelClaim(ChannelClaim&& other) noexcept;
    ChannelClaim& operator=(ChannelClaim&& other) noexcept;
    ChannelClaim(const ChannelClaim&) = delete;
    ChannelClaim& operator=(const ChannelClaim&) = delete;
    ~ChannelClaim();

    ChannelUse Use() const { return m_use; }
    std::atomic<int>& BusyFlag() const { return BusyFlagOf(m_use); }
    // The operation runs from here on: its busy flag set. false when a stop
    // came first (the flag stays clear).
    bool Begin();
    // Stop was asked for: the busy flag cleared after Begin, or a stop
    // requested before it.
    bool StopRequested() const;
    // The channel given back now, the busy flag cleared.
    void Release();
    bool Held() const { return m_owner != nullptr; }

private:
    friend class ChannelCoordinator;
    ChannelClaim(ChannelCoordinator& owner, ChannelUse use, std::uint64_t number) :
        m_owner(&owner), m_use(use), m_number(number)
    {
    }

    ChannelCoordinator* m_owner;
    ChannelUse m_use;
    std::uint64_t m_number;
};
