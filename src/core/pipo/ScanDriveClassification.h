#pragma once

#include "core/drive/vendor/RawAccess.h"
#include "core/pipo/ScanDriveCode.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class ScanContext;

// The view modes of the scan window, one per group of families.
enum class ScanViewMode { Generic, Benq, BtcSamsung, Liteon, PO, Pioneer, NecIhas, Plextor };

// Which read-speed box a family offers.
enum class ScanSpeedBox {
    Unchanged,
    ReadSpeed,  // the box 1416 with its label 1415
    NecSpeed,  // 1416 and its label hidden, 1422 shown
};

// What a drive family's code implies for the scan window.
struct ScanWindowSetup {
    ScanViewMode view = ScanViewMode::Generic;
    // Right-hand speed captions R4, R3, R2, R1 (bottom to top); none: the
    // captions stay as they are, and are not shown.
    std::optional<std::array<const char*, 4>> speedCaptions;
    bool showSpeedToggle = true;  // "Show Speed" (1373)
    bool enableAccuracy = false;  // the speed/accuracy box (1417)
    bool takesCavSpeed = false;  // m_nCavSpeed from the CAV speed box (1414)
    ScanSpeedBox speedBox = ScanSpeedBox::Unchanged;
    bool resetSpeedAxis = false;  // SetSpeedAxis (0.0, 1)
    bool startEnabled = true;  // "&Start"
};
const ScanWindowSetup& WindowSetupFor(int driveCode);

// The speed the CAV speed box's position (1414) sends: 4, 6, 8, else 12.
int CavSpeedForSelection(int index);

// Who needs raw device access when the kernel would not pass a probe on.
constexpr const char* kScanSubject = "the scan";

constexpr const char* kUnsuitableDriveMessage
    = "Your drive is not suitable for PIPO scanning, but you can load QNZ - QNZX files to view them.";

struct ScanDriveDetection {
    int code = kDriveUnsuitable;  // m_nDriveCode after the classification
    // The window's set-up for the code.
    std::optional<ScanWindowSetup> setup;
    std::optional<RefusedProbe> refused;
    bool told = false;  // a message box said why the drive cannot scan
};

// `CPiPo::DetectScanDrive`: the drive's family by its identity and by
// vendor probes on the context's drive, in the order the families must be
// told apart. Sets m_nDriveCode, m_bJitterCapable and, for the BenQ and
// Cyberdrive families, m_nCavSpeed in the context's state; shows the
// Toshiba and unsuitable-drive messages through its prompt. A probe the
// kernel refuses ends the classification: the drive cannot scan (code 11)
// and the user is told to grant raw device access, not that the drive is
// unsuitable. A BenQ mode a probe entered is always left again.
ScanDriveDetection DetectScanDrive(ScanContext& context);
