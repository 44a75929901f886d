#pragma once

class ScanContext;

// A scan engine measures one disc for one drive family: the body of the
// scan's worker thread, one file per engine in this folder, named as the
// window calls it (`ScanLiteon`, `ScanBenqNew` ...) and declared here:
//
//     void ScanLiteon(ScanContext& context);
//
// It reaches the drive, the running flag, the scales, the current slot's
// graphs and the window only through the context, and ends on every path
// with the drive as it found it. `CPiPo::Scan<Family>` forwards to it.
using ScanEngine = void (*)(ScanContext& context);
