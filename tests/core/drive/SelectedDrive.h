#pragma once

#include "core/drive/DriveContext.h"
#include "emu/DrivePresets.h"
#include "emu/EmulatedDrive.h"
#include "emu/MediaPresets.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// A drive context whose one drive is emulated and selected, as the program
// selects a drive. The drive refuses CDBs of the wrong length, as the
// bridges of external drives do.
class SelectedDrive {
public:
    explicit SelectedDrive(const char* drivePreset, const char* medium = "none")
        : SelectedDrive(*emu::FindDrivePreset(drivePreset), medium)
    {
    }

    SelectedDrive(emu::DriveIdentity identity, const char* medium)
        : m_drive(std::make_shared<emu::EmulatedDrive>(std::move(identity), std::make_shared<emu::ManualClock>())),
          m_context(Sources())
    {
        if (const auto disc = emu::FindMediumPreset(medium)) {
            EXPECT_TRUE(m_drive->InsertMedium(*disc));
        }
        m_drive->SetStrictCdbLength(true);
        EXPECT_TRUE(m_context.FillDeviceComboList());
        EXPECT_EQ(m_context.OnSelchangeDevicescombo(), SelectionOutcome::Selected);
        m_drive->ClearJournal();
    }

    emu::EmulatedDrive& Drive() { return *m_drive; }
    DriveContext& Context() { return m_context; }
    CDevice& Record() { return *m_context.m_pCurrentDevice; }

    // The CDBs the drive received since the last call, as they came.
    std::vector<std::vector<std::uint8_t>> TakeCdbs()
    {
        std::vector<std::vector<std::uint8_t>> cdbs;
        for (const emu::JournalEntry& entry : m_drive->Journal())
            cdbs.push_back(entry.Bytes());
        m_drive->ClearJournal();
        return cdbs;
    }

    // Sense key, ASC and ASCQ of the channel's last command.
    std::vector<int> LastSense()
    {
        const std::uint8_t* sense = m_context.m_ScsiCommand.GetSenseBuffer();
        return {sense[2] & 0x0F, sense[12], sense[13]};
    }

private:
    DriveSources Sources()
    {
        DriveSources sources;
        sources.sysBlockRoot = m_noSystemDrives.Path();
        sources.devRoot = m_noSystemDrives.Path();
        sources.emulated = {{"emu0", m_drive}};
        return sources;
    }

    TempDir m_noSystemDrives;
    std::shared_ptr<emu::EmulatedDrive> m_drive;
    DriveContext m_context;
};
