#pragma once

#include "core/drive/ChannelCoordinator.h"
#include "core/tools/erase/EraseSink.h"

#include <atomic>
#include <functional>
#include <optional>
#include <thread>

class DriveContext;

namespace erasing {

// The worker an erase, format or DC erase runs on, with the drive's channel
// claimed (ChannelUse::Erase) from before its first command until its end.
// Stop clears the claim's busy flag (g_bEraseRunning), which the operation
// asks in every loop; the dialog is told the end after the claim is given
// back. The destructor stops and joins.
class EraseWorker {
public:
    EraseWorker(DriveContext& drive, EraseSink& sink);
    ~EraseWorker();
    EraseWorker(const EraseWorker&) = delete;
    EraseWorker& operator=(const EraseWorker&) = delete;

    // The channel for an erase; none while another operation holds it (the
    // status then says so).
    std::optional<ChannelClaim> Claim();
    using Operation = std::function<EraseResult(const std::function<bool()>& stop)>;
    void Start(ChannelClaim claim, Operation operation);
    // Asks the running operation to stop; it ends at its next check.
    void Stop();
    bool Running() const { return m_running; }
    // Waits until the worker has ended.
    void Join();

private:
    DriveContext& m_drive;
    EraseSink& m_sink;
    std::thread m_thread;
    std::atomic<bool> m_running{false};
};

}  // namespace erasing
