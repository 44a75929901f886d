#pragma once

#include "core/base/BusyFlags.h"
#include "core/base/ColorRef.h"
#include "core/base/WaitClock.h"
#include "core/pipo/ScanDisplays.h"
#include "core/pipo/ScanDriveCode.h"
#include "core/pipo/ScanMediaInfo.h"
#include "core/pipo/ScanScales.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

class DriveContext;
class PiPoLowerGraph;
class PiPoUpperGraph;
class ScanSink;
class UserPrompt;

// The scan window's members that the classification, the media set-up and
// the engines share. The window sets them before a scan and reads them back
// after it; the ones it changes while a scan runs are atomic.
struct ScanState {
    std::int64_t m_llStartLba = 0;  // during a scan: the running position
    std::int64_t m_llEndLba = 0;
    int m_nDriveCode = kDriveNotClassified;
    bool rawAccessRefused = false;  // the last classification met a kernel refusal
    int m_nCavSpeed = 0;
    int m_bJitterCapable = 0;
    int m_nAccuracy = 0;  // index of the speed/accuracy box
    std::atomic<int> m_nJitterType{0};  // 0 the last jitter reading, else the average
    std::atomic<int> m_nPIPeak{0};
    std::atomic<int> m_nPIFPeak{0};
    std::atomic<int> m_nPOPeak{0};
    int m_nGraphSlot = 0;
    int m_bNotSaved1 = 0;
    int m_bNotSaved2 = 0;
    std::string m_strSavedStatus;
    int m_bCdWarned = 0;
};

// The window's choices that a scan reads; set before it starts.
struct ScanChoices {
    int readSpeedIndex = 0;  // read speed box (1416), "SpeedLiteon"
    int necSpeedIndex = 3;  // NEC and iHAS read speed box (1422), "SpeedNEC"
    int cavSpeedIndex = 0;  // CAV speed box (1414), "SpeedBenq"; -1 none chosen
    ScanShowFlags show;
    COLORREF markerColour = 0xFFFFFF;  // "GraphVERTColorPick"
};

// The scales of both graphs: an engine's ladders and the window's scale
// boxes change them from two threads, one at a time. A use that changed a
// caption calls the hook afterwards, outside the lock, on the user's thread.
class SharedScanScales {
public:
    void SetCaptionsChanged(std::function<void()> hook) { m_captionsChanged = std::move(hook); }

    template <class Use>
    decltype(auto) With(Use&& use)
    {
        CaptionWatch watch{*this, {}};  // ends after the lock
        std::lock_guard lock(m_mutex);
        watch.before = CaptionsOf(m_scales);
        return use(m_scales);
    }

private:
    using Captions = std::array<std::array<std::string, 4>, 4>;
    struct CaptionWatch {
        SharedScanScales& owner;
        Captions before;
        ~CaptionWatch() { owner.NotifyIfChanged(before); }
    };
    static Captions CaptionsOf(const ScanScales& scales);
    void NotifyIfChanged(const Captions& before) noexcept;

    std::mutex m_mutex;
    ScanScales m_scales;
    std::function<void()> m_captionsChanged;
};

// Everything the PI/PO scan works with: the drive access, the running flag,
// the shared state and choices, the scales, the displays, the current
// slot's graphs, the sink to the window, the user's answers and the clock.
// The window owns one; an engine is a function of it (engines/ScanEngine.h).
class ScanContext {
public:
    // The clock is the drive commands' (mmc's), the flag the process-wide one.
    ScanContext(DriveContext& driveAccess, ScanSink& scanSink, UserPrompt& userPrompt,
                std::atomic<int>& runningFlag = ::g_bErrorTestRunning);
    ScanContext(const ScanContext&) = delete;
    ScanContext& operator=(const ScanContext&) = delete;

    // GetTickCount and the pauses of the engines.
    WaitClock& Clock() const;

    DriveContext& drive;  // the channel (m_ScsiCommand), the current drive and the command wrappers
    std::atomic<int>& g_bErrorTestRunning;  // 1 while the scan runs; Stop clears it
    ScanState state;
    ScanChoices choices;
    SharedScanScales scales;
    ScanDisplayTexts displays;
    ScanMediaTexts media;
    PiPoUpperGraph* m_pUpperGraph = nullptr;
    PiPoLowerGraph* m_pLowerGraph = nullptr;
    ScanSink& sink;
    UserPrompt& prompt;
    std::array<std::uint8_t, 2048> replyBuffer{};  // cleared at every start
    // Stop pressed while the engine was still setting up, before it raised
    // the running flag: the engine's Begin leaves the flag down.
    std::atomic<bool> stopBeforeBegin{false};
    // The engine allowed removal on its way out (ScanRun::GiveDriveBack), as
    // far as the drive still answered: the window's Stop sends nothing more
    // to a drive that may have stopped answering.
    std::atomic<bool> trayGivenBack{false};
};
