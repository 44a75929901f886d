#include "core/pipo/ScanContext.h"

#include "core/drive/DriveContext.h"
#include "core/pipo/ScanSink.h"

SharedScanScales::Captions SharedScanScales::CaptionsOf(const ScanScales& scales)
{
    return {scales.Upper().captions, scales.Lower().captions, scales.Jitter().captions, scales.SpeedCaptions()};
}

void SharedScanScales::NotifyIfChanged(const Captions& before) noexcept
{
    try {
        bool changed = false;
        {
            std::lock_guard lock(m_mutex);
            changed = CaptionsOf(m_scales) != before;
        }
        if (changed && m_captionsChanged)
            m_captionsChanged();
    } catch (...) {  // NOLINT(bugprone-empty-catch): the captions follow at the next change
    }
}

ScanContext::ScanContext(DriveContext& driveAccess, ScanSink& scanSink, UserPrompt& userPrompt,
                         std::atomic<int>& runningFlag) :
    drive(driveAccess), g_bErrorTestRunning(runningFlag), sink(scanSink), prompt(userPrompt)
{
    scales.SetCaptionsChanged([this] { sink.ScaleCaptionsChanged(); });
}

WaitClock& ScanContext::Clock() const
{
    return drive.mmc.GetWaitClock();
}
