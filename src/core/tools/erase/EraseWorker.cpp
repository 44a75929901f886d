#include "core/tools/erase/EraseWorker.h"

#include "core/base/LogFile.h"
#include "core/drive/DriveContext.h"
#include "core/tools/erase/EraseMedia.h"

namespace erasing {

EraseWorker::EraseWorker(DriveContext& drive, EraseSink& sink) : m_drive(drive), m_sink(sink)
{
}

EraseWorker::~EraseWorker()
{
    Stop();
    Join();
}

std::optional<ChannelClaim> EraseWorker::Claim()
{
    Join();  // an ended worker's thread
    std::optional<ChannelClaim> claim = m_drive.coordinator.TryClaim(ChannelUse::Erase);
    if (!claim)
        m_sink.SetStatus("The drive is busy with another operation");
    return claim;
}

void EraseWorker::Start(ChannelClaim claim, Operation operation)
{
    Join();
    m_running = true;
    m_thread = std::thread([this, held = std::move(claim), operation = std::move(operation)]() mutable {
        LogEntry("Start THREAD EraseThread()");
        EraseResult result{EraseEnd::Stopped, "Stopped"};
        if (held.Begin())
            result = operation([&held] { return held.StopRequested(); });
        held.Release();
        m_running = false;
        LogEntry("End THREAD EraseThread()");
        m_sink.Ended(result);
    });
}

std::optional<EraseResult> EraseWorker::Gate(const DestructiveOperation& operation, const DeviceUseProbe& probe,
                                             UserPrompt* prompt, const std::function<bool()>& stop)
{
    if (stop())
        return EraseResult{EraseEnd::NotStarted, "Stopped"};
    if (!ConfirmedBeforeErase(operation, probe, prompt, m_sink))
        return EraseResult{EraseEnd::NotStarted, {}};
    return std::nullopt;
}

void EraseWorker::Stop()
{
    m_drive.coordinator.RequestStop(ChannelUse::Erase);
}

void EraseWorker::Join()
{
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id())
        m_thread.join();
}

}  // namespace erasing
