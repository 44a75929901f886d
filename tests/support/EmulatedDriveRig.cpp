#include "support/EmulatedDriveRig.h"

#include <gtest/gtest.h>

EmulatedDriveRig::EmulatedDriveRig(const char* drivePreset, const char* mediumPreset)
{
    std::string error;
    drive = emu::MakeEmulatedDrive(drivePreset, mediumPreset, clock, &error);
    EXPECT_TRUE(drive) << error;
}

EmulatedDriveRig::EmulatedDriveRig(emu::DriveIdentity identity, const char* mediumPreset)
{
    std::string error;
    drive = emu::MakeEmulatedDrive(std::move(identity), mediumPreset, clock, &error);
    EXPECT_TRUE(drive) << error;
}

DriveSources EmulatedDriveRig::Sources() const
{
    DriveSources sources;
    sources.sysBlockRoot = m_machine.Path();
    sources.devRoot = m_machine.Path();
    sources.emulated = {{"emu0", drive}};
    return sources;
}

void EmulatedDriveRig::MakeCurrent(DriveContext& context)
{
    ASSERT_TRUE(context.list.FillDeviceComboList());
    context.list.SetDeviceComboSel(0);
    ASSERT_EQ(context.list.OnSelchangeDevicescombo().outcome, SelectionOutcome::Selected);
    context.mmc.SetWaitClock(waitClock);
    drive->ClearJournal();
}

std::vector<std::vector<std::uint8_t>> EmulatedDriveRig::Cdbs() const
{
    std::vector<std::vector<std::uint8_t>> cdbs;
    for (const emu::JournalEntry& entry : drive->Journal())
        cdbs.push_back(entry.Bytes());
    return cdbs;
}

std::vector<std::vector<std::uint8_t>> EmulatedDriveRig::CdbsOf(std::uint8_t opcode) const
{
    std::vector<std::vector<std::uint8_t>> cdbs;
    for (const emu::JournalEntry& entry : drive->Journal())
        if (entry.Opcode() == opcode)
            cdbs.push_back(entry.Bytes());
    return cdbs;
}
