#include "platform/passthrough/SgIo.h"

#include "platform/files/SafeFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

namespace {

constexpr std::uint8_t kStatusCheckCondition = 0x02;
constexpr unsigned kDriverStatusMask = 0x0F;  // the rest of driver_status are flags (0x08 = sense)
constexpr std::size_t kFixedSenseLength = 18;

std::string Hex(unsigned value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

std::string HostStatusText(unsigned status)
{
    switch (status) {
    case 0x01: return "the drive is not connected";
    case 0x02: return "the bus stayed busy";
    case 0x03: return "the drive did not answer in time";
    case 0x04: return "the drive is not there";
    case 0x05: return "the command was aborted";
    case 0x08: return "the bus was reset";
    default: return "the host adapter reported error " + Hex(status);
    }
}

// Why a command without sense did not end well; empty when it did. The
// status byte counts too: a busy drive has not done what was asked.
std::string TransportProblem(const sg_io_hdr_t& header)
{
    const unsigned driverError = header.driver_status & kDriverStatusMask;
    if (header.host_status != 0)
        return HostStatusText(header.host_status);
    if (driverError == 0x06)
        return "the command timed out";
    if (driverError != 0)
        return "the driver reported error " + Hex(driverError);
    if (header.status == kStatusCheckCondition)
        return "the drive reported CHECK CONDITION without sense data";
    if (header.status != 0)
        return "the drive answered with SCSI status " + Hex(header.status);
    return std::string();
}

}  // namespace

sg_io_hdr_t BuildSgIoHeader(const std::uint8_t* cdb, std::size_t cdbLength, DataDirection direction, void* buffer,
                            std::uint32_t size, std::uint8_t* rawSense, std::uint8_t rawSenseSize,
                            std::uint32_t timeoutSeconds)
{
    sg_io_hdr_t header{};
    header.interface_id = 'S';
    header.cmdp = const_cast<unsigned char*>(cdb);
    header.cmd_len = static_cast<unsigned char>(cdbLength);
    header.sbp = rawSense;
    header.mx_sb_len = rawSenseSize;
    const bool hasData = buffer && size > 0 && direction != DataDirection::None;
    header.dxfer_direction = !hasData    ? SG_DXFER_NONE
        : direction == DataDirection::In ? SG_DXFER_FROM_DEV
                                         : SG_DXFER_TO_DEV;
    header.dxferp = hasData ? buffer : nullptr;
    header.dxfer_len = hasData ? size : 0;
    const std::uint64_t milliseconds = std::uint64_t{timeoutSeconds} * 1000;
    header.timeout = static_cast<unsigned>(std::min<std::uint64_t>(milliseconds, UINT_MAX));
    return header;
}

std::size_t ToFixedSense(const std::uint8_t* raw, std::size_t rawLength, std::uint8_t* out, std::size_t outSize)
{
    if (!raw || rawLength == 0 || !out || outSize == 0)
        return 0;
    const std::uint8_t code = raw[0] & 0x7F;
    if (code == 0x70 || code == 0x71) {
        const std::size_t count = std::min(rawLength, outSize);
        std::memcpy(out, raw, count);
        return count;
    }
    if ((code != 0x72 && code != 0x73) || rawLength < 4)
        return 0;
    std::uint8_t fixed[kFixedSenseLength] = {};
    fixed[0] = code == 0x72 ? 0x70 : 0x71;
    fixed[2] = raw[1] & 0x0F;
    fixed[7] = kFixedSenseLength - 8;
    fixed[12] = raw[2];
    fixed[13] = raw[3];
    const std::size_t total = std::min<std::size_t>(rawLength, 8 + (rawLength > 7 ? raw[7] : 0));
    for (std::size_t at = 8; at + 2 <= total;) {
        const std::uint8_t type = raw[at];
        const std::size_t length = std::size_t{raw[at + 1]} + 2;
        if (at + length > total)
            break;
        if (type == 0x00 && length >= 12) {  // information: keep its low 32 bits
            std::memcpy(&fixed[3], &raw[at + 8], 4);
            if (raw[at + 2] & 0x80)
                fixed[0] |= 0x80;
        } else if (type == 0x02 && length >= 8) {  // sense-key specific
            std::memcpy(&fixed[15], &raw[at + 4], 3);
        }
        at += length;
    }
    const std::size_t count = std::min(kFixedSenseLength, outSize);
    std::memcpy(out, fixed, count);
    return count;
}

PassThroughResult InterpretSgIo(const sg_io_hdr_t& header, int ioctlErrno, const std::uint8_t* rawSense,
                                std::uint8_t* sense, std::size_t senseSize)
{
    if (ioctlErrno == EPERM || ioctlErrno == EACCES)
        return PassThroughResult::Failed(PassThroughError::KernelRefused, kKernelRefusedReason);
    if (ioctlErrno != 0)
        return PassThroughResult::Failed(PassThroughError::Transport, "SG_IO failed: " + ErrnoText(ioctlErrno));
    PassThroughResult result;
    result.scsiStatus = header.status;
    result.residual = header.resid > 0 ? static_cast<std::uint32_t>(header.resid) : 0;
    if (header.sb_len_wr > 0)
        result.senseLength = ToFixedSense(rawSense, header.sb_len_wr, sense, senseSize);
    if (result.senseLength > 0)
        return result;
    if (std::string problem = TransportProblem(header); !problem.empty()) {
        result.error = PassThroughError::Transport;
        result.reason = std::move(problem);
    }
    return result;
}
