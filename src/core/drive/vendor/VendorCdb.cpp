#include "core/drive/vendor/VendorCdb.h"

#include "core/drive/CommandBlock.h"
#include "core/drive/Device.h"
#include "core/drive/ScsiCommand.h"

namespace vendor_cdb {

int Send(CScsiCommand& channel, std::span<const std::uint8_t> cdb, DataDirection direction, void* buffer,
         std::uint32_t length, VendorReply& reply)
{
    CommandBlock block(cdb[0], cdb.size());
    for (std::size_t index = 1; index < cdb.size(); ++index)
        block.Set(index, cdb[index]);
    return Send(channel, block, direction, buffer, length, reply);
}

int Send(CScsiCommand& channel, const CommandBlock& block, DataDirection direction, void* buffer, std::uint32_t length,
         VendorReply& reply)
{
    const auto lock = channel.Lock();  // the error stays the command's until it is read
    const int result = block.Execute(channel, direction, buffer, length);
    if (result != 0 && channel.LastError() != PassThroughError::None && reply.error == PassThroughError::None) {
        reply.error = channel.LastError();
        reply.reason = channel.LastErrorText();
        reply.refusedCdb.clear();
        for (std::size_t index = 0; index < block.Length(); ++index)
            reply.refusedCdb.push_back(block[index]);
    }
    return result;
}

bool IsPioneerWriter(const CDevice* device)
{
    return device && (device->IdentityBeginsWith("PIONEER DVD-RW") || device->IdentityBeginsWith("PIODATA DVD-RW"));
}

}  // namespace vendor_cdb
