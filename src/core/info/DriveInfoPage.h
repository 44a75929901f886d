#pragma once

#include "core/drive/Device.h"
#include "core/info/DriveInfoControls.h"

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The drive information page: the texts and capability boxes the main
// window shows for the selected drive, made from its drive record.

enum class CapabilityGroup { Read, Write, General, Unused };

// One capability box: its control, caption, group and the record field it
// shows (null for the two boxes with a rule of their own and the unused ones).
struct CapabilityBox {
    int id;
    const char* caption;
    CapabilityGroup group;
    int CDevice::*field;
    const char* tooltip;  // null: "Supports <caption>" with " Read"/" Write" by group
};
std::span<const CapabilityBox> CapabilityBoxes();
std::string CapabilityTooltip(const CapabilityBox& box);

// One text field of the page with the label beside it (empty: none).
struct DriveInfoField {
    int id;
    const char* label;
    const char* tooltip;
};
std::span<const DriveInfoField> DriveInfoFields();

// Names of the values the page shows.
std::string PhysicalInterfaceName(int physicalInterface);
std::string StorageBusName(int busType);
std::string LoaderName(std::uint8_t loadingMechanism);  // page 2Ah byte 6, bits 7-5
std::string RegionCodeName(int regionMask);
std::string RegionControlName(int rpcScheme);

// What the page shows for a value the drive did not tell.
constexpr const char* kUnknownText = "N/A";
constexpr int kUnknownBox = -1;

struct DriveInfoPage {
    std::map<int, std::string> texts;  // by control; a field not listed keeps its text
    std::map<int, int> boxes;  // by control: 1 ticked, 0 not, kUnknownBox not known
};

// The page as plain text, lines ended by LF: each field with its label, then
// the capabilities by group (ticked ones), and those the drive did not tell.
std::string DriveInfoPageText(const DriveInfoPage& page);

// The page of a record. The DVD+R read box also shows a drive that writes
// DVD+R, and a drive that reads DVD+R is taken to read DVD+RW too (the record
// is changed to say so). What the drive's answers did not tell (its record's
// read flags say what was read; the loader type is none without page 2Ah) is
// shown as unknown, not as the zero the record holds.
DriveInfoPage MakeDriveInfoPage(CDevice& device, std::optional<std::uint8_t> loadingMechanism);

// Before a drive is interrogated again: the flags of the HD-BURN, BD and
// HD DVD profiles, which the configuration only ever raises.
void ClearHdBdFlags(CDevice& device);
