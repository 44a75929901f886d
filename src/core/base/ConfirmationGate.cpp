#include "core/base/ConfirmationGate.h"

#include "core/base/LogFile.h"
#include "core/base/MessageIds.h"
#include "core/base/UserPrompt.h"

namespace {

std::string Joined(const std::vector<std::string>& items)
{
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : ", ") + item;
    return text;
}

std::string OrUnknown(const std::string& text)
{
    return text.empty() ? std::string("(unknown)") : text;
}

}  // namespace

std::string RefusalFor(const std::string& deviceNode, const DeviceUse& use)
{
    if (use.holdsSystem)
        return deviceNode + " holds this system's files (" + Joined(use.mounts.empty() ? use.swaps : use.mounts)
            + "). It is never written.";
    if (!use.mounts.empty())
        return deviceNode + " is mounted (" + Joined(use.mounts) + "). Unmount it first.";
    if (!use.swaps.empty())
        return deviceNode + " is in use as swap space (" + Joined(use.swaps) + ").";
    if (!use.holders.empty())
        return deviceNode + " is in use by " + Joined(use.holders) + ".";
    if (!use.busy.empty())
        return use.busy + ".";
    return {};
}

std::string DestructiveQuestion(const DestructiveOperation& operation)
{
    std::string drive = operation.vendor;
    if (!operation.model.empty())
        drive += (drive.empty() ? "" : " ") + operation.model;
    return operation.action + "\n\nDevice: " + OrUnknown(operation.deviceNode) + "\nDrive: " + OrUnknown(drive)
        + "\nMedium: " + OrUnknown(operation.medium) + "\n\n" + operation.loss
        + (operation.reversible ? "\n\nDo you want to continue?"
                                : "\n\nThis cannot be undone. Do you want to continue?");
}

GateDecision ConfirmDestructiveOperation(const DestructiveOperation& operation, UserPrompt* prompt,
                                         const DeviceUseProbe& probe)
{
    const std::string refusal = RefusalFor(operation.deviceNode, probe(operation.deviceNode));
    if (!refusal.empty()) {
        LogEntry("Refused: " + operation.action + " - " + refusal);
        if (prompt)
            prompt->MessageBox(refusal, operation.action, MB_OK | MB_ICONERROR);
        return {GateVerdict::Refused, refusal};
    }
    if (!prompt) {
        LogEntry("Not done without a window to ask: " + operation.action + " on " + operation.deviceNode);
        return {GateVerdict::Declined, "nobody was asked"};
    }
    const int answer = prompt->MessageBox(DestructiveQuestion(operation), operation.action,
                                          MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
    if (answer != IDYES) {
        LogEntry("Declined by the user: " + operation.action + " on " + operation.deviceNode);
        return {GateVerdict::Declined, "declined"};
    }
    LogEntry("Confirmed by the user: " + operation.action + " on " + operation.deviceNode);
    return {GateVerdict::Confirmed, {}};
}
