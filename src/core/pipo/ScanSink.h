#pragma once

#include "core/pipo/ScanDisplays.h"

#include <string>

// What a scan tells the scan window. Engines call it from their own thread;
// the window takes each call over to the GUI thread and shows it there
// (graph points go into the current slot's graphs themselves).
class ScanSink {
public:
    virtual ~ScanSink() = default;

    // The status line (`CPiPo::SetStatus`): the window pads it to 40 columns.
    virtual void SetStatus(const std::string& text) = 0;
    // The progress bar, 0 to 100.
    virtual void SetProgress(int position) = 0;
    // The ten digital displays.
    virtual void SetDisplays(const ScanDisplayTexts& texts) = 0;
    // The text of a caption (see ScanControlIds.h), such as the x-axis ones.
    virtual void SetCaption(int controlId, const std::string& text) = 0;
    // A scale changed its axis captions (the scan's ladders among others):
    // the window shows the scales' captions again.
    virtual void ScaleCaptionsChanged() {}
    virtual void EnableControl(int controlId, bool enabled) = 0;
    virtual void ShowControl(int controlId, bool shown) = 0;
    // Rates the displayed figures (`CPiPo::ShowQualityRating`); whether the
    // jitter counts is the window's one rule (RateScan), not the engine's.
    virtual void ShowQualityRating() = 0;
    // The end of every scan (`CPiPo::OnStop`): the window and the drive back
    // to idle.
    virtual void OnStop() = 0;
    // The status display gets back what it showed before the scan.
    virtual void RestoreStatusDisplay(const std::string& savedStatus) = 0;
    // MessageBeep of a message-box type (MB_ICONINFORMATION at a scan's end).
    virtual void Beep(unsigned type) { (void)type; }
};
