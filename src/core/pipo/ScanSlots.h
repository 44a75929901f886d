#pragma once

#include "core/pipo/ScanDisplays.h"
#include "core/pipo/ScanFile.h"
#include "core/pipo/ScanMediaInfo.h"

#include <array>
#include <string>

constexpr const char* kSlotStatusPrompt = "Double-Click Digital Displays to edit";

// What the scan window keeps of a graph slot ("Graph 1" or "Graph 2") while
// the other one is shown: range, displays, status and drive texts, media
// texts, series toggles and the three scale boxes.
struct ScanSlotRecord {
    ScanRange range;
    ScanDisplayTexts displays;
    std::string status = kSlotStatusPrompt;
    std::string driveDisplay;
    ScanMediaTexts media;
    ScanShowFlags show;
    int upperScale = 0;  // box 1392
    int lowerScale = 0;  // box 1403
    int jitterScale = 0;  // box 1390
};

// A slot's drive/comment text as it is restored: slot 2 without one of its
// own shows slot 1's.
std::string RestoredDriveText(int slot, const ScanSlotRecord& record, const ScanSlotRecord& slot1);
// A media text is restored only when the slot knows it.
void RestoreMediaTexts(const ScanMediaTexts& stored, ScanMediaTexts& shown);

// The state behind the window's controls that a save writes and a load
// restores. Ranges by ScanRangeIndex.
struct ScanWindowFileState {
    std::array<ScanRange, 3> ranges;
    ScanDisplayTexts displays;
    ScanShowFlags show;
    std::string status;
    std::string driveDisplay;
    ScanMediaTexts media;
};

// The file a save writes, the graphs' records and codes not yet in it.
ScanFile ScanFileFromWindow(const ScanWindowFileState& state);
// What a loaded file shows in the window (jitter texts with one decimal,
// "---" where there was none). The current range's texts come from the file.
ScanWindowFileState WindowStateFromFile(const ScanFile& file);
