#pragma once

#include "core/drive/Device.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The readers that turn a drive's GET CONFIGURATION and MODE SENSE(10)
// answers into the capability fields of its record. Each takes the whole
// buffer the answer was read into and reads only what lies inside both the
// buffer and the length the answer gives itself; a field cut off reads as 0.
// The flags are only ever raised here, bar the clears named below.

// One entry of the profile walk.
struct ProfileEntry {
    std::uint16_t number;
    bool current;  // descriptor byte 2 bit 0
    bool operator==(const ProfileEntry&) const = default;
};

// The profile walk both the capability reading and the profile listing make
// over an answer from feature 0 on: the Profile List's own feature code
// first (it reads as profile 0000h), then every profile descriptor the list
// holds within its additional length, the answer's data length and the
// buffer. Empty when the answer is too short to hold a list (data length
// below 12); cutShort tells that the buffer ended the list early.
std::vector<ProfileEntry> WalkProfileList(std::span<const std::uint8_t> answer, bool* cutShort = nullptr);

// One feature descriptor of an answer: its code and its bytes (header
// included), cut where the answer or the buffer ends.
struct FeatureEntry {
    std::uint16_t code;
    std::span<const std::uint8_t> bytes;
};
// Every feature descriptor of an answer, in order.
std::vector<FeatureEntry> WalkFeatures(std::span<const std::uint8_t> answer);
std::optional<FeatureEntry> FindFeature(std::span<const std::uint8_t> answer, std::uint16_t code);

// Raises the flags of the profiles the profile walk reads. False when the
// answer is too short to hold a list.
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

// The drive class of a drive whose capabilities page could not be read,
// from its profiles and features: a drive that reads DVD-ROM is a DVD drive.
void ClassFromConfiguration(CDevice& device);

// The text of the Drive Serial Number feature (0108h) at the head of a GET
// CONFIGURATION answer: at most 49 characters up to the first blank or
// unprintable one; "None" when there is no such text.
std::string SerialNumberFromFeature(std::span<const std::uint8_t> answer);
// The same text from the feature's own descriptor (header included); empty
// when there is none.
std::string SerialNumberText(std::span<const std::uint8_t> descriptor);
