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

// Lite-On (drive code 3): F3h 0Eh error reads, eight to a sample.
void ScanLiteon(ScanContext& context);
// Lite-On with the jitter read (DFh 1Bh) every 4096 sectors, four to a sample.
void ScanLiteonWithJitter(ScanContext& context);
// Samsung (drive code 9): the Lite-On loop with its own error read and waits
// for the unit around the SEEK.
void ScanSamsung(ScanContext& context);
// Generic F3 drives (drive code 0): F3h 0Eh 80h measurements of PI, PIF,
// PO failures and jitter, twenty counted reads to a group.
void ScanGeneric(ScanContext& context);
// BTC (drive code 2): F3h 0Eh reads counting four times over, each a sample,
// a misreading read again after a SEEK back.
void ScanBtc(ScanContext& context);
// NEC and Optiarc (drive code 7): the F3h session at the running position,
// ten counted reads of 128 sectors to a group.
void ScanNec(ScanContext& context);
// iHAS (drive code 10): the same scan with the iHAS F3h session.
void ScanIhas(ScanContext& context);
