#include "core/tools/erase/EraseMedia.h"

#include "core/base/UserPrompt.h"
#include "core/drive/DriveContext.h"
#include "core/drive/MediaType.h"
#include "core/tools/erase/EraseSink.h"

namespace erasing {

namespace {

constexpr std::uint64_t kMinuteMs = 60000;

}  // namespace

int EraseKindFor(int mediaType)
{
    switch (mediaType) {
    case kMediaDvdMinusRw: return kKindDvdMinusRw;
    case kMediaDvdRam: return kKindDvdRam;
    case kMediaBdRe:
    case kMediaBdRRandom: return kKindBdRe;
    case kMediaCdRw: return kKindCdRw;
    default: return kKindDvdPlusRw;
    }
}

bool IsErasableMedium(int mediaType)
{
    switch (mediaType) {
    case kMediaDvdMinusRw:
    case kMediaDvdPlusRw:
    case kMediaDvdRam:
    case kMediaBdRe:
    case kMediaBdRRandom:
    case kMediaCdRw: return true;
    default: return false;
    }
}

std::string NotErasableText(int mediaType)
{
    return std::string("The disc in the drive (") + MediaTypeName(mediaType)
        + ") cannot be erased or formatted: only CD-RW, DVD-RW, DVD+RW, DVD-RAM and BD-RE discs can";
}

int DcEraseKindFor(int mediaType)
{
    const int kind = EraseKindFor(mediaType);
    return kind == kKindBdRe ? kKindDvdPlusRw : kind;
}

std::uint64_t LongestOperationMs(int kind)
{
    switch (kind) {
    case kKindCdRw: return 90 * kMinuteMs;  // a full blank at 1x
    case kKindDvdMinusRw: return 120 * kMinuteMs;  // a full format at 1x
    case kKindDvdRam: return 60 * kMinuteMs;
    case kKindBdRe: return 120 * kMinuteMs;
    default: return 120 * kMinuteMs;  // a DVD+RW's background format
    }
}

DestructiveOperation DescribeTarget(DriveContext& drive, const std::string& medium)
{
    DestructiveOperation target = drive.DescribeCurrentDrive();
    target.medium = medium;
    return target;
}

bool RefusedInUse(DriveContext& drive, const DeviceUseProbe& probe, UserPrompt* prompt, EraseSink& sink)
{
    const std::string node = DescribeTarget(drive, {}).deviceNode;
    const std::string refusal = RefusalFor(node, probe(node));
    if (refusal.empty())
        return false;
    sink.SetStatus(refusal);
    if (prompt)
        prompt->MessageBox(refusal, "Erase", MB_OK | MB_ICONERROR);
    return true;
}

bool ConfirmedBeforeErase(const DestructiveOperation& operation, const DeviceUseProbe& probe, UserPrompt* prompt,
                          EraseSink& sink)
{
    const GateDecision decision = ConfirmDestructiveOperation(operation, prompt, probe);
    if (decision.verdict == GateVerdict::Refused)
        sink.SetStatus(decision.reason);
    return decision.Confirmed();
}

}  // namespace erasing
