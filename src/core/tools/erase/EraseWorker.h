#pragma once

#include "core/base/ConfirmationGate.h"
#include "core/drive/ChannelCoordinator.h"
#include "core/tools/erase/EraseSink.h"

#include <atomic>
#include <functional>
#include <optional>
#include <thread>
#include <utility>

class DriveContext;
class UserPrompt;

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
    // The channel claimed, then on the worker: the checks (reads of the disc
    // and the system, questions), the confirmation of the plan they give and
    // the operation, so that a drive that stops answering holds no window.
    // `checks()` gives the plan (with its `confirmation`), or none when a
    // check ended it after saying why: the end is NotStarted with an empty
    // status. A stop asked during the checks ends it before the confirmation.
    // `run(plan, stop)` is the operation; `probe` is kept by reference. False
    // when the worker runs or the drive is busy.
    template <class Checks, class Run>
    bool StartChecked(const DeviceUseProbe& probe, UserPrompt* prompt, Checks checks, Run run);
    // Asks the running operation to stop; it ends at its next check.
    void Stop();
    bool Running() const { return m_running; }
    // Waits until the worker has ended.
    void Join();

private:
    // Between the checks and the operation: none when it may run, else its end.
    std::optional<EraseResult> Gate(const DestructiveOperation& operation, const DeviceUseProbe& probe,
                                    UserPrompt* prompt, const std::function<bool()>& stop);

    DriveContext& m_drive;
    EraseSink& m_sink;
    std::thread m_thread;
    std::atomic<bool> m_running{false};
};

template <class Checks, class Run>
bool EraseWorker::StartChecked(const DeviceUseProbe& probe, UserPrompt* prompt, Checks checks, Run run)
{
    if (Running())
        return false;
    std::optional<ChannelClaim> claim = Claim();
    if (!claim)
        return false;
    m_sink.SetProgress(0);
    Start(std::move(*claim),
          [this, &probe, prompt, checks = std::move(checks), run = std::move(run)](const std::function<bool()>& stop) {
              const auto plan = checks();
              if (!plan)
                  return EraseResult{EraseEnd::NotStarted, {}};
              if (std::optional<EraseResult> ended = Gate(plan->confirmation, probe, prompt, stop))
                  return *ended;
              return run(*plan, stop);
          });
    return true;
}

}  // namespace erasing
