#pragma once

#include <cstdint>
#include <string>

// The texts of the scan window's ten digital displays. In PO mode the PIF
// displays hold the PO figures.
struct ScanDisplayTexts {
    std::string piTotal = "0";
    std::string piAvg = "0";
    std::string piPeak = "0";
    std::string pifTotal = "0";
    std::string pifAvg = "0";
    std::string pifPeak = "0";
    std::string pofTotal = "0";
    std::string jitterInst = "0";
    std::string jitterAvg = "0";
    std::string jitterPeak = "0";

    bool operator==(const ScanDisplayTexts&) const = default;
};

// The same figures as a scan file keeps them: whole numbers, jitter in
// tenths of a percent (82 is 8.2 %).
struct ScanDisplayValues {
    std::int32_t piPeak = 0;
    std::int32_t pifAvg = 0;
    std::int32_t pifPeak = 0;
    std::int32_t pofTotal = 0;
    std::int32_t pifTotal = 0;
    std::int32_t jitterPeak = 0;
    std::int32_t jitterAvg = 0;
    std::int32_t jitterInst = 0;
    std::int32_t piTotal = 0;
    std::int32_t piAvg = 0;

    bool operator==(const ScanDisplayValues&) const = default;
};

// Figures read from the displays: counts by their leading digits (none gives
// 0), jitter texts such as "7.5%" rounded to the nearest tenth; always in the
// C locale.
ScanDisplayValues DisplayValuesFromTexts(const ScanDisplayTexts& texts);
// Display texts of loaded figures: counts in decimal, jitter as "7.5%"; a
// jitter below 0.1 % or above 100 % shows "---", and all three jitter
// displays show "---" when average and peak both do.
ScanDisplayTexts DisplayTextsFromValues(const ScanDisplayValues& values);

// The five series toggles of the scan window.
struct ScanShowFlags {
    std::int32_t showPIF = 1;
    std::int32_t showPO = 1;
    std::int32_t showJitter = 1;
    std::int32_t showPI = 1;
    std::int32_t showSpeed = 1;

    bool operator==(const ScanShowFlags&) const = default;
};
