#pragma once

#include "core/drive/Device.h"

#include <cstdint>
#include <span>
#include <string>

// The readers that turn a drive's GET CONFIGURATION and MODE SENSE(10)
// answers into the capability fields of its record. Each takes the whole
// buffer the answer was read into and reads only what lies inside both the
// buffer and the length the answer gives itself; a field cut off reads as 0.
// The flags are only ever raised here, bar the clears named below.

// Raises the flags of the profiles the Profile List (the first feature of an
// answer from feature 0 on) names. False when the answer is too short to hold
// a list (data length below 12).
bool ApplyProfileList(CDevice& device, std::span<const std::uint8_t> answer);

// Raises the flags of every feature descriptor of an answer.
void ApplyFeatureDescriptors(CDevice& device, std::span<const std::uint8_t> answer);

// A drive that writes both DVD+ formats reads both DVD- formats, and the
// other way round.
void ApplyCrossRules(CDevice& device);

// Models that report less (or more) than they do, by identity.
void ApplyModelCorrections(CDevice& device);
void ApplyModePageCorrections(CDevice& device);

// What the mode pages tell beside the record's flags.
struct ModePageFindings {
    bool capabilitiesPageFound = false;
    std::uint8_t loadingMechanism = 0;  // page 2Ah byte 6, bits 7-5 only
};

// Forgets the drive class (DVD drive, CD drive, reader, writer) before the
// capabilities page is asked again.
void ClearDriveClass(CDevice& device);

// Walks the pages of a MODE SENSE(10) answer (8-byte header, no block
// descriptors): 2Ah raises the capability flags and the drive class, 2Dh
// LabelFlash, 31h LightScribe when the page listing counted both of its pages.
// The media-function and code-reading flags are cleared first: only the page
// sets them.
void ApplyModePages(CDevice& device, std::span<const std::uint8_t> answer, int lightScribePageCount,
                    ModePageFindings& findings);

// The capabilities page 2Ah itself, from its page code byte on.
void ApplyCapabilitiesPage(CDevice& device, std::span<const std::uint8_t> page, ModePageFindings& findings);

// After the pages: a drive that is no DVD drive keeps no DVD flags from the
// feature list, and CD flags follow the CD reader and writer class.
void SettleDriveClass(CDevice& device);

// The text of the Drive Serial Number feature (0108h) at the head of a GET
// CONFIGURATION answer: at most 49 characters up to the first blank or
// unprintable one; "None" when there is no such text.
std::string SerialNumberFromFeature(std::span<const std::uint8_t> answer);
