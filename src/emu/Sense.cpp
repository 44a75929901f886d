#include "emu/Sense.h"

#include "scsi/Bytes.h"

namespace emu {

FixedSense BuildFixedSense(const Sense& sense, std::optional<std::uint32_t> information,
                           std::optional<std::uint16_t> progress)
{
    FixedSense bytes{};
    bytes[0] = information ? 0xF0 : 0x70;
    bytes[2] = sense.key & 0x0F;
    if (information)
        scsi::PutBe32(&bytes[3], *information);
    bytes[7] = kFixedSenseLength - 8;
    bytes[12] = sense.asc;
    bytes[13] = sense.ascq;
    if (progress) {
        bytes[15] = 0x80;  // sense-key specific bytes valid
        scsi::PutBe16(&bytes[16], *progress);
    }
    return bytes;
}

}  // namespace emu
