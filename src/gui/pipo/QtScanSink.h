#pragma once

#include "core/pipo/ScanSink.h"
#include "gui/ui/WindowThread.h"

// The scan window's sink as the scan's thread sees it: every call is handed
// to the window's thread, in order, and made there on the window's own
// sink. Calls made on the window's thread go straight through; calls that
// arrive after the window is gone are dropped.
class QtScanSink : public WindowThreadSink<ScanSink> {
public:
    using WindowThreadSink::WindowThreadSink;

    void SetStatus(const std::string& text) override;
    void SetProgress(int position) override;
    void SetDisplays(const ScanDisplayTexts& texts) override;
    void SetCaption(int controlId, const std::string& text) override;
    void ScaleCaptionsChanged() override;
    void EnableControl(int controlId, bool enabled) override;
    void ShowControl(int controlId, bool shown) override;
    void ShowQualityRating() override;
    void OnStop() override;
    void RestoreStatusDisplay(const std::string& savedStatus) override;
    void Beep(unsigned type) override;
};
