#pragma once

#include "core/drive/MmcTypes.h"

#include <cstdint>
#include <string>

class CScsiCommand;

// What a failed read says of the drive and its disc. A long run stops at the
// first answer that says either has gone: every later command would fail
// the same way.
enum class DriveLoss {
    None,
    DiscGone,  // NOT READY, MEDIUM NOT PRESENT (2/3Ah/xx)
    DriveGone,  // the command was lost: no status (unplugged, the device gone)
};

// From the answer alone.
DriveLoss LossOf(const BlockReadResult& read);
DriveLoss LossOf(const CommandAnswer& answer);

// A lost read can also be one that took too long on a damaged disc: a lost
// answer is only taken for a lost drive when TEST UNIT READY is lost too
// (or says the disc has gone).
DriveLoss ConfirmLoss(CScsiCommand& channel, const BlockReadResult& read);

// The same of the channel's last command, which failed (a vendor command
// whose answer the caller does not read as blocks).
DriveLoss LastCommandLoss(CScsiCommand& channel);

// "the disc was removed", "the drive was lost"; "" for None.
const char* DriveLossText(DriveLoss loss);
