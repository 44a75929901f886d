#include "core/pipo/ScanDriveClassification.h"

#include "core/base/UserPrompt.h"
#include "core/pipo/ScanContext.h"
#include "core/pipo/ScanProber.h"

namespace {

// Whether the drive is of the family: its probe, then its prefixes; none
// when the kernel refused a probe.
std::optional<bool> IsOfFamily(ScanProber& prober, const ScanDriveFamily& family)
{
    const ScanFamilyRecognition& recognition = family.recognition;
    if (recognition.probe) {
        const auto probed = recognition.probe(prober);
        if (!probed || *probed)
            return probed;
    }
    for (const std::string_view prefix : recognition.prefixes)
        if (prober.Begins(prefix))
            return true;
    return false;
}

ScanDriveDetection Decide(ScanContext& context, int code)
{
    ScanState& state = context.state;
    const bool told = code == kDriveUnsuitable && (state.m_nDriveCode != kDriveUnsuitable || state.rawAccessRefused);
    if (told)
        context.prompt.MessageBox(kUnsuitableDriveMessage, "", MB_OK);
    const ScanWindowSetup& setup = WindowSetupFor(code);
    if (setup.takesCavSpeed)
        state.m_nCavSpeed = CavSpeedForSelection(context.choices.cavSpeedIndex);
    state.m_nDriveCode = code;
    state.rawAccessRefused = false;
    return {code, setup, std::nullopt, told};
}

// A drive known not to scan: said once, and Start stays disabled.
ScanDriveDetection CannotScan(ScanContext& context, const ScanDriveFamily& family)
{
    if (context.state.m_nDriveCode != family.code)
        context.prompt.MessageBox(family.recognition.cannotScanMessage, "", MB_OK);
    context.state.m_nDriveCode = family.code;
    context.state.rawAccessRefused = false;
    return {family.code, family.window, std::nullopt, true};
}

ScanDriveDetection RefuseForRawAccess(ScanContext& context, const RefusedProbe& refused)
{
    context.prompt.MessageBox(refused.Message(kScanSubject), "", MB_OK | MB_ICONEXCLAMATION);
    context.state.m_nDriveCode = kDriveUnsuitable;
    context.state.rawAccessRefused = true;
    return {kDriveUnsuitable, WindowSetupFor(kDriveUnsuitable), refused, true};
}

}  // namespace

int CavSpeedForSelection(int index)
{
    switch (index) {
    case 0: return 4;
    case 1: return 6;
    case 2: return 8;
    default: return 12;
    }
}

ScanDriveDetection DetectScanDrive(ScanContext& context)
{
    ScanProber prober(context);
    for (const ScanDriveFamily& family : ScanDriveFamilies()) {
        const auto found = IsOfFamily(prober, family);
        if (!found)
            return RefuseForRawAccess(context, *prober.Refused());
        if (*found)
            return family.recognition.cannotScanMessage ? CannotScan(context, family) : Decide(context, family.code);
    }
    for (const ScanDriveFamily& family : ScanDriveFamilies()) {
        if (!family.recognition.lastResort)
            continue;
        const auto found = family.recognition.lastResort(prober);
        if (!found)
            return RefuseForRawAccess(context, *prober.Refused());
        if (*found)
            return Decide(context, family.code);
    }
    return Decide(context, kDriveUnsuitable);
}
