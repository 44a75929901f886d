#pragma once

#include "core/drive/DriveContext.h"
#include "emu/MediaPresets.h"
#include "support/EmulatedDriveRig.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

inline const Bytes kTestUnitReady = {0x00, 0, 0, 0, 0, 0};

// A disc of a medium preset that has not been formatted yet.
inline emu::MediumDescription Unformatted(const char* preset)
{
    emu::MediumDescription disc = *emu::FindMediumPreset(preset);
    disc.formatted = false;
    return disc;
}

// A drive context whose current drive is one emulated drive. The drive
// refuses CDBs of another length than their command's, as the bridges of
// external drives do.
struct WrapperRig : EmulatedDriveRig {
    WrapperRig(const char* drivePreset, const char* mediumPreset = "none") :
        EmulatedDriveRig(drivePreset, mediumPreset), context(Sources())
    {
        MakeCurrent(context);
        drive->SetStrictCdbLength(true);
    }
    WrapperRig(emu::DriveIdentity identity, const char* mediumPreset) :
        EmulatedDriveRig(std::move(identity), mediumPreset), context(Sources())
    {
        MakeCurrent(context);
        drive->SetStrictCdbLength(true);
    }
    // Puts a disc described by hand in as if it had been there all along.
    void Insert(const emu::MediumDescription& disc)
    {
        ASSERT_TRUE(drive->InsertMedium(disc));
        drive->ClearJournal();
    }
    emu::Sense LastSense()
    {
        const std::uint8_t* sense = context.m_ScsiCommand.GetSenseBuffer();
        return {static_cast<std::uint8_t>(sense[2] & 0x0F), sense[12], sense[13]};
    }

    CDevice& Record() { return *context.list.m_pCurrentDevice; }
    // The CDBs received since the last call.
    std::vector<std::vector<std::uint8_t>> TakeCdbs()
    {
        auto cdbs = Cdbs();
        drive->ClearJournal();
        return cdbs;
    }

    ScopedProgramLog log;
    DriveContext context;
};
