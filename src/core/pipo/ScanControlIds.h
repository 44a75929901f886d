#pragma once

// Controls of the scan window (dialog 285) that the scan's drive work
// enables, shows or captions.
namespace scan_control {

constexpr int kStart = 1275;  // "&Start"
constexpr int kShowSpeed = 1373;  // "Show Speed"
constexpr int kCavSpeed = 1414;  // CAV speed of the BenQ and Cyberdrive families
constexpr int kSpeedLabel = 1415;  // "Speed"
constexpr int kReadSpeed = 1416;
constexpr int kAccuracy = 1417;  // speed/accuracy of the Plextor family
constexpr int kNecSpeed = 1422;  // read speed of the NEC and iHAS families
// Right-hand speed captions of the upper graph, bottom to top.
constexpr int kSpeedCaptionR4 = 1344;
constexpr int kSpeedCaptionR3 = 1343;
constexpr int kSpeedCaptionR2 = 1342;
constexpr int kSpeedCaptionR1 = 1341;
// X-axis captions, left to right.
constexpr int kAxisCaptionB1 = 1339;
constexpr int kAxisCaptionB2 = 1337;
constexpr int kAxisCaptionB3 = 1329;
constexpr int kAxisCaptionB4 = 1340;

// What Start disables and Stop enables again.
constexpr int kStop = 1274;  // "S&top"
constexpr int kSave = 1308;  // "&Save"
constexpr int kLoad = 1309;  // "&Load"
constexpr int kGraph2 = 1381;  // "Graph 2"
constexpr int kGraph1 = 1382;  // "Graph 1"
constexpr int kCompare = 1454;  // "Compare"
constexpr int kProgressiveUpper = 1487;  // "Upper"
constexpr int kProgressiveLower = 1494;  // "Lower"
constexpr int kEject = 1088;
constexpr int kJitterInstant = 1401;  // "Instant"
constexpr int kJitterAverage = 1402;  // "Avg"
constexpr int kSetLba = 1637;  // "Set "
constexpr int kQualityRating = 1489;
// Labels whose captions the PO mode changes.
constexpr int kJitterInstLabel = 1400;
constexpr int kJitterPeakLabel = 1378;
constexpr int kPifTotalLabel = 1366;
constexpr int kPifPeakLabel = 1371;
constexpr int kPifAvgLabel = 1367;
constexpr int kPifScaleLabel = 1404;

}  // namespace scan_control
