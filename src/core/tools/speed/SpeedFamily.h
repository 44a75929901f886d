#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The read speed test's families of discs, by the current MMC profile, and
// what each measures in and draws with.
enum class SpeedFamily {
    Cd,  // profiles 08h-0Ah
    Ddcd,  // 20h-22h and 80h-82h
    Dvd,  // any other profile of the CD/DVD body
    HdDvd,  // 50h-5Ah
    Bd,  // 40h-43h
};

SpeedFamily SpeedFamilyOf(int profile);
bool IsCdFamily(SpeedFamily family);  // CD or DDCD

using AxisTexts = std::array<const char*, 9>;
using CapacityTexts = std::array<const char*, 4>;

struct SpeedFamilyFacts {
    double kBpsPerX;  // the 1x the speeds are shown in (kB of 1024 bytes)
    double shownCap;  // the highest speed shown; 0: not capped
    int speedYPerX;  // graph pixels per x at the start of a run
    int rpmDivisor;  // the RPM y is 399 - RPM / this
    double velocity;  // m/s at 1x for the RPM model (DVD: one layer)
    double trackPitch;  // m (DVD: one layer)
    CapacityTexts capacity;  // B1-B4
    CapacityTexts twoLayerCapacity;
    AxisTexts speedLabels;  // L1-L9 at the start of a run
    AxisTexts rpmLabels;  // R1-R9
    double setSpeedKBpsPerX;  // what SET CD SPEED counts a 1x of the family as
};

const SpeedFamilyFacts& FactsOf(SpeedFamily family);

// Where the graph's end-of-disc line stands for a disc of last block `last`.
double CapacityLineX(SpeedFamily family, std::int64_t last, double layerFactor);
// The graph x of a block.
int PointX(SpeedFamily family, std::int64_t block, double layerFactor);

// The speed list of the page for the current profile: "MAX", then the
// speeds the family's drives read at, fastest first.
std::vector<std::string> SpeedListFor(int profile);
// The x of a speed list entry ("16x": 16); 0 for "MAX".
int SpeedOfEntry(const std::string& entry);
// The pre-spin list: "No Prespin", "1 Second", "2 Seconds" ... "10 Seconds";
// an entry's index is its seconds.
std::vector<std::string> PreSpinList();
// B1-B4 as the page shows them before a run: 4 GB steps for HD DVD, 6 GB
// for BD, 1 GB for the others.
CapacityTexts PageCapacityLabels(int profile);

// The speed DVD runs switch to above 20x: L1-L9 "36x" down to "4x".
extern const AxisTexts kFastDvdSpeedLabels;
// HD DVD runs above 9x: "18x" down to "2x".
extern const AxisTexts kFastHdDvdSpeedLabels;
// BD runs above 9x: "18x" down to "2x" too.
extern const AxisTexts kFastBdSpeedLabels;
