#include "core/drive/CommandFailure.h"

#include "core/base/Format.h"
#include "core/drive/CommandBlock.h"
#include "core/drive/MmcTypes.h"
#include "core/drive/ScsiCommand.h"
#include "core/drive/SenseTexts.h"

#include <algorithm>

namespace {

constexpr int kIllegalRequest = 0x05;
constexpr int kInvalidOpcode = 0x20;
constexpr int kInvalidFieldInCdb = 0x24;

bool HasSense(const std::uint8_t* sense)
{
    return (sense[0] & 0x70) != 0;
}

}  // namespace

bool WasRefused(const CScsiCommand& channel)
{
    if (channel.LastError() == PassThroughError::Transport)
        return true;
    if (channel.LastError() != PassThroughError::None)
        return false;
    const std::uint8_t* sense = channel.RequestBlock().sense;
    if (!HasSense(sense))
        return false;
    const SenseCode code = SenseOf(sense);
    return code.key == kIllegalRequest && (code.asc == kInvalidOpcode || code.asc == kInvalidFieldInCdb)
        && code.ascq == 0;
}

std::string DescribeLastFailure(const CScsiCommand& channel, const char* command, std::uint8_t opcode)
{
    const std::string name = Format("%s (%02Xh)", command, opcode);
    if (channel.LastError() != PassThroughError::None)
        return name + " could not be sent: " + channel.LastErrorText();
    const std::uint8_t* sense = channel.RequestBlock().sense;
    if (!HasSense(sense))
        return name + " failed without sense data";
    const SenseCode code = SenseOf(sense);
    std::string why = GetSenseKeyText(code.key);
    if (const std::string detail = GetAscAscqText(code.asc, code.ascq); !detail.empty())
        why += " - " + detail;
    return name + Format(" failed: %s (sense %X/%02X/%02X)", why.c_str(), code.key, code.asc, code.ascq);
}

ChannelFailure TakeFailure(const CScsiCommand& channel)
{
    ChannelFailure failure;
    failure.sense = SenseOf(channel.RequestBlock().sense);
    failure.error = channel.LastError();
    failure.reason = channel.LastErrorText();
    return failure;
}

CommandAnswer ExecuteForAnswer(CScsiCommand& channel, const CommandBlock& block, const char* name)
{
    CommandAnswer answer;
    const auto lock = channel.Lock();
    answer.ok = block.Execute(channel, DataDirection::None, nullptr, 0) == 0;
    if (!answer.ok) {
        answer.lost = channel.LastError() != PassThroughError::None;
        answer.sense = SenseOf(channel.RequestBlock().sense);
        answer.failure = DescribeLastFailure(channel, name, block[0]);
    }
    return answer;
}

DriveAnswer ExecuteForBytes(CScsiCommand& channel, const CommandBlock& block, std::uint32_t allocation)
{
    DriveAnswer answer;
    answer.bytes.assign(allocation, 0);
    const auto lock = channel.Lock();
    answer.ok = block.Execute(channel, DataDirection::In, answer.bytes.data(), allocation) == 0;
    answer.bytes.resize(answer.ok ? allocation - std::min(allocation, channel.Residual()) : 0);
    return answer;
}

std::string RawAccessNeeded(const std::string& subject)
{
    return subject + " needs raw device access (root, CAP_SYS_RAWIO, or the drive's /dev/sgN node)";
}

std::string RawAccessRefusal(const std::string& subject, const std::string& what, std::span<const std::uint8_t> cdb)
{
    std::string bytes;
    for (const std::uint8_t byte : cdb)
        bytes += Format(bytes.empty() ? "%02X" : " %02X", byte);
    return RawAccessNeeded(subject) + ".\n\nRefused: " + (what.empty() ? bytes : what + " (" + bytes + ")");
}
