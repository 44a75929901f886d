#pragma once

#include "core/pipo/ScanDriveCode.h"
#include "core/pipo/ScanThreads.h"

#include <array>
#include <optional>
#include <span>
#include <string_view>

class ScanProber;

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

// A probe that tells a family: whether the drive is of it; none when the
// kernel refused a command (the classification stops there).
using ScanFamilyProbe = std::optional<bool> (*)(ScanProber& prober);

// How the classification tells a family. It comes to the families in the
// table's order: the family's probe first, then its identity prefixes
// (vendor and product, compared without regard to case), the first match
// deciding. When no family matched, the last-resort probes run in the same
// order; without a match there either, the drive is unsuitable.
struct ScanFamilyRecognition {
    std::array<std::string_view, 5> prefixes{};
    ScanFamilyProbe probe = nullptr;
    ScanFamilyProbe lastResort = nullptr;
    // Drives the prefixes name that cannot scan: the message they are told,
    // once, instead of the unsuitable-drive message.
    const char* cannotScanMessage = nullptr;
};

// One drive family of the scan: its code, how a drive is told to be of it,
// the window it gets and the threads Start runs for it (a second thread
// when its models differ, by `ScanThreadVariant`).
struct ScanDriveFamily {
    ScanDriveCode code;
    const char* name;
    ScanFamilyRecognition recognition;
    ScanWindowSetup window;
    std::array<ScanThread, 2> threads{};
};

// The families in the order the classification tells them apart, one row
// per drive code but `kDriveNotClassified`.
std::span<const ScanDriveFamily> ScanDriveFamilies();

// The window's set-up for a drive code; an unknown code gets the unsuitable
// drive's.
const ScanWindowSetup& WindowSetupFor(int driveCode);
