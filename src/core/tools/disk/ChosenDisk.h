#pragma once

#include "core/base/ConfirmationGate.h"
#include "core/tools/disk/DiskAccess.h"
#include "platform/blockio/DiskIdentity.h"

#include <optional>
#include <string>

class CDevice;

// The disk a tool's user chose: its node, its record's name and the
// identity the device gave when it was chosen (none when it could not be
// opened then).
struct ChosenDisk {
    std::string node;
    std::string name;  // "SanDisk Cruzer Blade"
    std::optional<DiskIdentity> identity;
};

// The choice of a record whose node was opened as `opened` when chosen.
ChosenDisk ChooseDisk(const DiskAccess& access, const CDevice& record, const OpenedDisk& opened);

// "SanDisk Cruzer Blade, serial 4C53, 7.45 GB, device 8:16, disk sequence 12".
std::string DescribeDiskIdentity(const DiskIdentity& identity);

// Opens the chosen disk's node and checks that it holds the disk chosen; when
// it holds another (or could not be told apart when chosen) the disk comes
// back without a device and its failure names what was chosen and what is
// there now.
OpenedDisk OpenChosenDisk(const DiskAccess& access, const ChosenDisk& chosen, BlockAccess mode);

// Asks before a disk tool writes to the chosen disk, in an order that asks
// nothing in vain: a disk in use is refused unasked (the gate), then one that
// does not open for writing or is no longer the disk chosen (the reason is
// shown), and only then the gate's question. Refused or Declined unless the
// user said Yes.
GateDecision ConfirmDiskWrite(const DiskAccess& access, const ChosenDisk& chosen,
                              const DestructiveOperation& operation);
