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

}  // namespace scan_control
