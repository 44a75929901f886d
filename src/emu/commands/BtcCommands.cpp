#include "emu/commands/Commands.h"
#include "emu/commands/Measurement.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

#include <algorithm>

namespace emu {

namespace {

constexpr std::uint8_t kErrorRead = 0x0E;
constexpr std::size_t kAnswerLength = 10;
constexpr std::uint32_t kSectorsPerRead = 8 * kEccBlockSectors;
constexpr std::uint32_t kCountScale = 4;  // the drive counts each error four times
constexpr std::uint16_t kSpike = 0xFFFC;

std::uint16_t Raw(std::uint32_t count)
{
    return static_cast<std::uint16_t>(std::min<std::uint32_t>(count * kCountScale, 0xFFFF));
}

// Takes a misread out of the list when this stretch covers it.
bool Misreads(BtcSettings& btc, std::uint64_t first, std::uint64_t count)
{
    const auto spike = std::find_if(btc.spikeSectors.begin(), btc.spikeSectors.end(),
                                    [&](std::uint64_t sector) { return sector >= first && sector < first + count; });
    if (spike == btc.spikeSectors.end())
        return false;
    btc.spikeSectors.erase(spike);
    return true;
}

// F3h 0Eh (10-byte CDB, the other bytes 0): the counts of the next eight
// ECC blocks the drive measures, four times over: where the measurement
// ended (the sector after it) in bytes 1-3, PI in 4-5, PIF in 6-7. A SEEK
// to a reported position therefore measures the stretch after it again.
void BtcVendorCommand(CommandContext& command)
{
    bool errorRead = command.Byte(1) == kErrorRead;
    for (std::size_t index = 2; index < 10; ++index)
        errorRead = errorRead && command.Byte(index) == 0;
    if (!errorRead) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    if (!HasReadyMedium(command))
        return;
    const std::uint64_t first = command.drive.measuring.position;
    const auto measured = MeasureNext(command, kSectorsPerRead);
    if (!measured)
        return;
    std::vector<std::uint8_t> answer(kAnswerLength, 0);
    const std::uint64_t reached = measured->addressLost ? 0 : measured->position + kSectorsPerRead;
    scsi::PutBe24(&answer[1], static_cast<std::uint32_t>(reached));
    const bool spike = Misreads(command.drive.vendorSettings.btc, first, kSectorsPerRead);
    scsi::PutBe16(&answer[4], spike ? kSpike : Raw(measured->errors.total.pi));
    scsi::PutBe16(&answer[6], spike ? kSpike : Raw(measured->errors.total.pif));
    command.Answer(answer, kAnswerLength);
}

}  // namespace

void RegisterBtcCommands(CommandTable& table)
{
    table.Register(
        {.opcode = vendor_opcode::kErrorScan, .name = "BTC VENDOR F3", .cdbLength = 10, .handler = BtcVendorCommand});
}

}  // namespace emu
