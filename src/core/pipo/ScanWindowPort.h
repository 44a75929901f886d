#pragma once

#include "core/pipo/ScanDisplays.h"

#include <optional>
#include <string>
#include <utility>

class PiPoUpperGraph;
struct ScanDriveDetection;

// What scan control asks of the scan window beyond the sink: the parts that
// only the window holds (controls, colours, scale boxes, the range dialog,
// the slots). Called on the window's thread only.
class ScanWindowPort {
public:
    virtual ~ScanWindowPort() = default;

    // Pushes the range texts, media texts and displays into the controls
    // (UpdateData with FALSE).
    virtual void UpdateControls() = 0;
    // The texts the ten displays show now.
    virtual ScanDisplayTexts ReadDisplays() = 0;
    // The window's set-up after a classification (`WindowSetupFor`).
    virtual void ApplyDriveSetup(const ScanDriveDetection& detection) = 0;
    // The graph colours from the profile, then the jitter, upper and lower
    // scale choices applied again.
    virtual void LoadColoursAndScales() = 0;
    // Progressive colouring off, then the "Upper" and "Lower" choices
    // applied again.
    virtual void ReapplyProgressiveColouring() = 0;
    // `CPiPo::ShowDriveName`.
    virtual void ShowDriveName() = 0;
    // MessageBeep with the type.
    virtual void Beep(unsigned type) = 0;
    // The upper graph of slot 1 or 2.
    virtual const PiPoUpperGraph& UpperGraphOfSlot(int slot) = 0;
    // The range dialog (`CSetLogicalBlockAddress`) from lowest to highest:
    // the chosen start and end texts, none after Cancel.
    virtual std::optional<std::pair<std::string, std::string>> RunRangeDialog(int lowest, int highest) = 0;
    // `CPiPo::OnPipo`: the media set-up after a change.
    virtual void RefreshMedia() = 0;
    // "Graph 1" or "Graph 2" pressed.
    virtual void SelectGraph(int slot) = 0;
    // `CPiPo::DoPiPO` with the path: loads a scan file into the current slot.
    virtual void LoadScan(const std::string& path) = 0;
};
