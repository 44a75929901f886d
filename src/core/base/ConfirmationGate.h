#pragma once

#include "platform/devices/DeviceUse.h"

#include <functional>
#include <string>

class UserPrompt;

// An operation that destroys or changes what a device holds, as the user is
// asked about it.
struct DestructiveOperation {
    std::string action;  // "Erase the disc (full blank)"
    std::string deviceNode;  // "/dev/sr0", "/dev/sdb"; an emulated drive's name
    std::string vendor;
    std::string model;
    std::string medium;  // "DVD+RW", "16.0 GB USB flash drive"
    std::string loss;  // "Everything recorded on the disc will be lost."
    bool reversible = false;  // a setting that can be changed back: not called final
};

enum class GateVerdict {
    Confirmed,  // the user said yes
    Declined,  // the user said no, or nobody could be asked
    Refused,  // the device is mounted, the system's or in use: not asked
};

struct GateDecision {
    GateVerdict verdict = GateVerdict::Declined;
    std::string reason;  // why it was refused or declined
    bool Confirmed() const { return verdict == GateVerdict::Confirmed; }
};

using DeviceUseProbe = std::function<DeviceUse(const std::string& deviceNode)>;

// The one gate every destructive operation passes: refuses a device that is
// mounted, holds the system or is in use (and says so), otherwise asks the
// user, naming the device node, vendor and model, the medium and what will be
// lost, with No as the default. Only an explicit Yes lets the operation run;
// without a prompt to ask, the answer is no.
GateDecision ConfirmDestructiveOperation(
    const DestructiveOperation& operation, UserPrompt* prompt,
    const DeviceUseProbe& probe = [](const std::string& node) { return DescribeDeviceUse(node); });

// The question the gate asks.
std::string DestructiveQuestion(const DestructiveOperation& operation);
// Why a device in this use is refused; empty when it is free.
std::string RefusalFor(const std::string& deviceNode, const DeviceUse& use);
