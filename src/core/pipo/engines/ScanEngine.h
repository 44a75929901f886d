#pragma once

class ScanContext;

// A scan engine measures one disc for one drive family: the body of the
// scan's worker thread, one file per engine in this folder, named after its
// family (`ScanLiteon`, `ScanBenqNew` ...) and declared here:
//
//     void ScanLiteon(ScanContext& context);
//
// It reaches the drive, the running flag, the scales, the current slot's
// graphs and the window only through the context, and ends on every path
// with the drive as it found it. Its family's row in `ScanDriveFamilies`
// names it; Start runs it on the scan thread through `RunScanThread`.
using ScanEngine = void (*)(ScanContext& context);

// Lite-On (drive code 3): F3h 0Eh error reads, eight to a sample.
void ScanLiteon(ScanContext& context);
// Lite-On with the jitter read (DFh 1Bh) every 4096 sectors, four to a sample.
void ScanLiteonWithJitter(ScanContext& context);
// Samsung (drive code 9): the Lite-On loop with its own error read and waits
// for the unit around the SEEK.
void ScanSamsung(ScanContext& context);
// Plextor (drive code 8): separate PIE, PIF and jitter passes, each counted
// by the drive while the scan reads the disc with READ(10).
void ScanPlextor(ScanContext& context);
// Pioneer and AOpen (drive codes 5 and 6): PI and PIF per 256 sectors,
// through the drive's buffer (Pioneer) or E7h (AOpen).
void ScanPioneer(ScanContext& context);
// BenQ (drive code 1), the newer models: error statistics through the
// F9h/F8h exchange in service mode with power management off.
void ScanBenqNew(ScanContext& context);
// BenQ, the older models: F0h reads of 256-sector ranges in the vendor mode.
void ScanBenq(ScanContext& context);
// Whether the drive takes the newer models' service mode and speed block.
bool IsNewBenqDrive(ScanContext& context);
// Cyberdrive (drive code 4): the drive measures by itself from the A9h
// position; the lower graph shows PO instead of PIF.
void ScanCyberdrive(ScanContext& context);
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
