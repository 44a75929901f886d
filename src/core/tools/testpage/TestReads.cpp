#include "core/tools/testpage/TestReads.h"

#include "core/drive/MmcMediaReads.h"
#include "scsi/Opcodes.h"

namespace testpage {

bool IsLockedDisc(const SenseCode& sense)
{
    return sense.key == 5 && sense.asc == 0x6F && sense.ascq == 0x03;
}

BlockReadResult ReadBlocksForTest(MmcMediaReads& reads, std::uint8_t opcode, std::uint32_t lba, int count,
                                  std::uint8_t byte1, std::span<std::uint8_t> buffer)
{
    const auto blocks = static_cast<std::uint32_t>(count);
    return opcode == mmc::kReadCd ? reads.ReadCdRaw(lba, blocks, buffer, byte1)
                                  : reads.Read10(lba, blocks, buffer, byte1);
}

std::optional<SenseCode> ReadForTest(MmcMediaReads& reads, std::uint8_t opcode, std::uint32_t lba, int count,
                                     std::uint8_t byte1, std::span<std::uint8_t> buffer)
{
    const BlockReadResult read = ReadBlocksForTest(reads, opcode, lba, count, byte1, buffer);
    if (read.ok)
        return std::nullopt;
    return read.sense;
}

}  // namespace testpage
