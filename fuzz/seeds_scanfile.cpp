#include "FuzzSeeds.h"
#include "core/pipo/ScanFile.h"
#include "support/ScanFileFixture.h"

std::vector<std::string> FuzzSeeds()
{
    ScanFile longScan;
    for (int i = 0; i < 450; ++i) {
        longScan.upper.pi.push_back(i % 50);
        longScan.upper.speed.push_back(80);
        longScan.lower.pif.push_back(i % 5);
        longScan.lower.po.push_back(0);
        longScan.lower.jitter.push_back(80 + i % 9);
    }
    longScan.midCode = "MCC 03RG20";
    longScan.driveDisplay = "A comment";
    return {ScanFileFixture::Version2().Bytes(), ScanFileFixture::Version1().Bytes(), EncodeScanFile(ScanFile()),
            EncodeScanFile(longScan)};
}
