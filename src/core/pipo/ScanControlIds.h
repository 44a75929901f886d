#pragma once

#include "core/pipo/ScanWindowIds.h"

// Controls of the scan window that the scan's drive work enables, shows or
// captions, by what the scan does with them (the ids are the window's).
namespace scan_control {

constexpr int kStart = IDC_PIPO_START;
constexpr int kShowSpeed = IDC_PIPO_SHOW_SPEED;
constexpr int kCavSpeed = IDC_PIPO_CAV_SPEED;  // BenQ and Cyberdrive families
constexpr int kSpeedLabel = IDC_PIPO_SPEED_LABEL;
constexpr int kReadSpeed = IDC_PIPO_READ_SPEED;
constexpr int kAccuracy = IDC_PIPO_ACCURACY;  // speed/accuracy of the Plextor family
constexpr int kNecSpeed = IDC_PIPO_NEC_SPEED;  // NEC and iHAS families
// Right-hand speed captions of the upper graph, bottom to top.
constexpr int kSpeedCaptionR4 = kUpperRightCaptions[3];
constexpr int kSpeedCaptionR3 = kUpperRightCaptions[2];
constexpr int kSpeedCaptionR2 = kUpperRightCaptions[1];
constexpr int kSpeedCaptionR1 = kUpperRightCaptions[0];
// X-axis captions, left to right.
constexpr int kAxisCaptionB1 = kBottomCaptions[0];
constexpr int kAxisCaptionB2 = kBottomCaptions[1];
constexpr int kAxisCaptionB3 = kBottomCaptions[2];
constexpr int kAxisCaptionB4 = kBottomCaptions[3];

// What Start disables and Stop enables again.
constexpr int kStop = IDC_PIPO_STOP;
constexpr int kSave = IDC_PIPO_SAVE;
constexpr int kLoad = IDC_PIPO_LOAD;
constexpr int kGraph2 = IDC_PIPO_GRAPH2;
constexpr int kGraph1 = IDC_PIPO_GRAPH1;
constexpr int kCompare = IDC_PIPO_COMPARE;
constexpr int kProgressiveUpper = IDC_PIPO_PROGRESSIVE_UPPER;
constexpr int kProgressiveLower = IDC_PIPO_PROGRESSIVE_LOWER;
constexpr int kEject = IDC_PIPO_EJECT;
constexpr int kJitterInstant = IDC_PIPO_JITTER_INSTANT;
constexpr int kJitterAverage = IDC_PIPO_JITTER_AVERAGE;
constexpr int kSetLba = IDC_PIPO_SET_LBA;
constexpr int kQualityRating = IDC_PIPO_QUALITY_RATING;
// Labels whose captions the PO mode changes.
constexpr int kJitterInstLabel = IDC_PIPO_JITTER_INST_LABEL;
constexpr int kJitterPeakLabel = IDC_PIPO_JITTER_PEAK_LABEL;
constexpr int kPifTotalLabel = IDC_PIPO_PIF_TOTAL_LABEL;
constexpr int kPifPeakLabel = IDC_PIPO_PIF_PEAK_LABEL;
constexpr int kPifAvgLabel = IDC_PIPO_PIF_AVG_LABEL;
constexpr int kPifScaleLabel = IDC_PIPO_LOWER_SCALE_LABEL;

}  // namespace scan_control
