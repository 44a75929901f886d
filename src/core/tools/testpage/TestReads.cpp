#include "core/tools/testpage/TestReads.h"

#include "core/drive/CommandBlock.h"
#include "core/drive/ScsiCommand.h"
#include "scsi/Opcodes.h"

namespace testpage {

namespace {

constexpr std::uint8_t kWholeRawSector = 0xF8;

}  // namespace

bool IsLockedDisc(const SenseCode& sense)
{
    return sense.key == 5 && sense.asc == 0x6F && sense.ascq == 0x03;
}

std::optional<SenseCode> ReadForTest(CScsiCommand& channel, std::uint8_t opcode, std::uint32_t lba, int count,
                                     std::uint8_t byte1, std::span<std::uint8_t> buffer)
{
    CommandBlock cdb(opcode);
    cdb.Set(1, byte1).SetBe32(2, lba);
    const auto blocks = static_cast<std::uint32_t>(count);
    if (opcode == mmc::kReadCd)
        cdb.Set(6, static_cast<std::uint8_t>(blocks >> 16)).SetBe16(7, blocks & 0xFFFF).Set(9, kWholeRawSector);
    else
        cdb.SetBe16(7, blocks);
    const auto lock = channel.Lock();  // the sense is this command's
    if (cdb.Execute(channel, DataDirection::In, buffer.data(), static_cast<std::uint32_t>(buffer.size())) == 0)
        return std::nullopt;
    return SenseOf(channel.GetSenseBuffer());
}

}  // namespace testpage
