#pragma once

#include "core/drive/vendor/VendorReply.h"
#include "scsi/DataDirection.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

class CDevice;
class CommandBlock;
class CScsiCommand;

// What every family's vendor commands share: a CDB written out to its last
// byte, sent with the refusals of the kernel kept apart from the drive's.
namespace vendor_cdb {

// A vendor CDB from byte 0 to its last byte, which is always sent so that
// the CDB goes out with its full length.
template <std::size_t N>
using Cdb = std::array<std::uint8_t, N>;
using Cdb10 = Cdb<10>;
using Cdb12 = Cdb<12>;

inline std::uint8_t Byte(int value)
{
    return static_cast<std::uint8_t>(value);
}

// Sends one CDB: the channel's result. A command that never reached the
// drive is noted in the reply (the first such one of a sequence).
int Send(CScsiCommand& channel, std::span<const std::uint8_t> cdb, DataDirection direction, void* buffer,
         std::uint32_t length, VendorReply& reply);
// The same for an MMC command a family sends among its own (from core/drive/MmcCdbs).
int Send(CScsiCommand& channel, const CommandBlock& block, DataDirection direction, void* buffer, std::uint32_t length,
         VendorReply& reply);

// Reads an answer of `length` bytes into a zeroed buffer: the reply's value
// is -1 when refused, else what `pick` takes from the answer.
template <class Pick>
void Query(CScsiCommand& channel, std::span<const std::uint8_t> cdb, std::size_t length, VendorReply& reply, Pick pick)
{
    std::vector<std::uint8_t> answer(length, 0);
    reply.value = Send(channel, cdb, DataDirection::In, answer.data(), static_cast<std::uint32_t>(length), reply) == 0
        ? pick(answer)
        : -1;
}

// Drives whose identity takes the FAh and FDh commands for something else.
bool IsPioneerWriter(const CDevice* device);

}  // namespace vendor_cdb
