// Fuzz target of the drive interrogation: the INQUIRY of the drive list, the
// selection's MMC test, disc and configuration, the drive information page
// and the feature and mode page listings, on a drive whose answers come from
// the input. Every answer is taken within what came, and the record's texts
// stay within their INQUIRY fields.

#include "FuzzCheck.h"
#include "FuzzDrive.h"

void Interrogate(fuzzdrive::FuzzCore& fuzz)
{
    fuzz.Inquire();
    MainDialogCore& core = fuzz.core;
    core.InterrogateSelectedDrive();
    core.InterrogateDriveInfo();
    core.ListDriveFeaturesProfiles();
    core.ListDriveModePages();
    const CDevice& record = fuzz.Record();
    Check(record.m_strFirmware.size() <= 4);
    Check(record.m_strVendorSpecific.size() <= 20);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzdrive::RunOnInput(data, size, Interrogate);
    return 0;
}
