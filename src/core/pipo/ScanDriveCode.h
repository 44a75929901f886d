#pragma once

// The drive families of the PI/PO scan (`m_nDriveCode`). Each has its one
// row in `ScanDriveFamilies`: how a drive is told to be of it, which engine
// scans and how the scan window looks.
enum ScanDriveCode : int {
    kDriveNotClassified = -1,  // before the window's first classification
    kDriveGenericF3 = 0,
    kDriveBenq = 1,
    kDriveBtc = 2,
    kDriveLiteon = 3,
    kDriveCyberdrive = 4,
    kDrivePioneer = 5,
    kDriveAopen = 6,
    kDriveNec = 7,  // NEC and Optiarc
    kDrivePlextor = 8,
    kDriveSamsung = 9,
    kDriveIhas = 10,
    kDriveUnsuitable = 11,
};
