#pragma once

#include "core/pipo/ScanDisplays.h"
#include "core/pipo/ScanDriveClassification.h"

#include <span>
#include <string>
#include <utility>
#include <vector>

// The scan window's view modes: one per group of drive families, each
// showing the controls its family uses, its captions and the series the
// graphs show at first.

// How a view sets the jitter series.
enum class JitterSeries {
    Off,
    On,
    IfJitterCapable,  // on for a jitter-capable drive
    AsToggle,  // as " Show Jitter" is pressed
};

// A control's state that depends on the drive.
enum class WhenCapable { Always, IfJitterCapable };

struct ScanViewModeRow {
    ScanViewMode mode;
    const char* name;  // the window's operation, for the log
    const char* upperBox;  // caption of 1376
    const char* lowerBox;  // caption of 1375
    const char* peakLabel;  // caption of 1388; null leaves it
    int showPIF;
    int showPO;
    JitterSeries jitter;
    // The view's own controls: shown by it, hidden when another view shows.
    std::vector<int> owned;
    // Shown with the view only for a jitter-capable drive.
    std::vector<int> ownedIfJitterCapable;
    // Hidden when the view shows.
    std::vector<int> hides;
    // Enabled when the view shows (always, or only for a jitter-capable drive).
    std::vector<std::pair<int, WhenCapable>> enables;
    // Toggles the view sets pressed (1) or released (0).
    std::vector<std::pair<int, int>> presses;
    // Captions the view writes.
    std::vector<std::pair<int, const char*>> captions;
    bool poCaptions = false;  // switches the window to PO mode's captions
};

std::span<const ScanViewModeRow> ScanViewModeTable();
const ScanViewModeRow& ScanViewModeFor(ScanViewMode mode);

// What the window does to show a view: the other views' controls hidden,
// then its own shown, enabled, pressed and captioned; the five show flags.
struct ScanViewChanges {
    std::vector<int> hidden;
    std::vector<int> shown;
    std::vector<std::pair<int, bool>> enabled;
    std::vector<std::pair<int, int>> presses;
    std::vector<std::pair<int, std::string>> captions;
    ScanShowFlags show;
};
ScanViewChanges ChangesForView(ScanViewMode mode, bool jitterCapable, bool showJitterPressed);

// The captions of PI/PIF mode and of PO mode (show PO 1), and the controls
// they enable, show and hide.
struct ScanPOCaptions {
    std::vector<std::pair<int, std::string>> captions;
    std::vector<std::pair<int, bool>> enabled;
    std::vector<std::pair<int, bool>> shown;
};
ScanPOCaptions POCaptionsFor(bool poMode);
