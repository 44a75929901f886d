#pragma once

#include <functional>
#include <string>

class HddCellMap;

// What a disk test tells its window. The test's worker calls it from its own
// thread; the window takes each call over to its thread, in order.
class DiskTestSink {
public:
    virtual ~DiskTestSink() = default;

    // A text field (DiskToolIds.h).
    virtual void SetFieldText(int controlId, const std::string& text) = 0;
    // The progress bar, 0 to 100, and the text drawn over it.
    virtual void SetProgress(int position, const std::string& text) = 0;
    virtual void EnableControl(int controlId, bool enabled) = 0;
    // A message box; the worker does not wait for it.
    virtual void ShowMessage(const std::string& text, const std::string& caption, unsigned type) = 0;
    // The worker has ended, on every way out: Start, Stop and the choices
    // of the idle window back.
    virtual void OnTestEnded() = 0;
    // Makes the call on the window's thread (a drive probe's result).
    virtual void CallOnWindow(std::function<void()> call) = 0;
};

// The window as a test starts: an empty map, the position fields "0", no rate.
void ResetTestDisplay(HddCellMap& map, DiskTestSink& sink);
// Stop on and Start off while a test runs.
void ShowTestRunning(DiskTestSink& sink);
