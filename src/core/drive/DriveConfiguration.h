#pragma once

#include "core/drive/MmcTypes.h"

#include <cstdint>
#include <span>
#include <string>

class BenqCommands;
class CDevice;
class CScsiCommand;
class MediaIdentification;
class MmcCommands;

// What the current drive can do, read into its record: the profiles and
// features of GET CONFIGURATION, the capabilities mode page and a few vendor
// pages, the serial number.
class DriveConfiguration {
public:
    // current: the drive list's current drive, whose record is filled.
    DriveConfiguration(CScsiCommand& channel, MmcCommands& mmc, MediaIdentification& media, BenqCommands& benq,
                       CDevice* const& current);

    // False when the feature list could not be read; the notice says why when
    // the user is to be told.
    bool GetDriveConfiguration(WrapperNotice* notice = nullptr);
    bool DoModeSensePages(WrapperNotice* notice = nullptr);
    // featureList: the drive's whole feature list, where the serial feature
    // is looked for when the drive refuses to start the list at it.
    bool GetDriveSerialNumber(std::span<const std::uint8_t> featureList = {});
    // After the configuration is read again: 0 writes neither DVD+R nor
    // DVD+RW, 1 one of them, 2 both.
    int GetPlusDriveGeneration();

    std::uint8_t m_nLoadingMechanism = 0;  // capabilities page byte 6, bits 7-5
    bool m_bLoadingMechanismRead = false;  // the last reading found page 2Ah
    int m_nLightScribePageCount = 0;  // LightScribe pages the mode-page listing counted

private:
    // Why the last GET CONFIGURATION failed.
    std::string LastGetConfigurationFailure() const;

    CScsiCommand& m_ScsiCommand;
    MmcCommands& m_mmc;
    MediaIdentification& m_media;
    BenqCommands& m_benq;
    CDevice* const& m_pCurrentDevice;
};
