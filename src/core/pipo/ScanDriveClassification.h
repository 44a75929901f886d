#pragma once

#include "core/drive/vendor/RawAccess.h"
#include "core/pipo/ScanDriveFamilies.h"

#include <optional>

class ScanContext;

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

// The classification of the scan window's drive: its family by its identity
// and by vendor probes on the context's drive, in the order of
// `ScanDriveFamilies`. Sets m_nDriveCode, m_bJitterCapable and, for the
// families that take it, m_nCavSpeed in the context's state; shows the
// Toshiba and unsuitable-drive messages through its prompt. A probe the
// kernel refuses ends the classification: the drive cannot scan (code 11)
// and the user is told to grant raw device access, not that the drive is
// unsuitable. A BenQ mode a probe entered is always left again.
ScanDriveDetection DetectScanDrive(ScanContext& context);
