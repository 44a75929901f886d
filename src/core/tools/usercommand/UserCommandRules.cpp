#include "core/tools/usercommand/UserCommandRules.h"

#include "core/base/Format.h"
#include "core/tools/usercommand/UserCommandExamples.h"
#include "core/tools/usercommand/UserCommandPanel.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::uint32_t kLogicalBlockBytes = 2048;
constexpr std::uint32_t kReadCapacityBytes = 8;

// clang-format off
// The kernel's read-only commands (its default SG_IO filter).
constexpr std::array<std::uint8_t, 42> kReadOnlyOpcodes = {
    0x00, 0x03, 0x08, 0x28, 0xA8, 0x88, 0x3C, 0x37, 0x25, 0x3E,  // TEST UNIT READY ... READ LONG
    0x12, 0x1A, 0x5A, 0x4D, 0x1B, 0x2F, 0x8F, 0xA0, 0x9E, 0x1C,  // INQUIRY ... RECEIVE DIAGNOSTIC
    0x5C,                                                        // READ BUFFER CAPACITY
    0xBC, 0x45, 0x47, 0x48, 0x4B,                                // audio play, pause and resume
    0xBE, 0xB9, 0x51, 0xAD, 0x44, 0x52, 0x42, 0x43, 0xA4, 0xBA,  // READ CD ... SCAN
    0x46, 0x23, 0x4A, 0xAC, 0x2B, 0x4E,                          // GET CONFIGURATION ... STOP PLAY/SCAN
};
// clang-format on

}  // namespace

bool OnlyReads(std::uint8_t opcode)
{
    if (std::find(kReadOnlyOpcodes.begin(), kReadOnlyOpcodes.end(), opcode) != kReadOnlyOpcodes.end())
        return true;
    // The example list's commands, all of them reads.
    const auto examples = UserCommandExamples();
    return std::any_of(examples.begin(), examples.end(), [opcode](const UserCommandExample& example) {
        return example.IsCommand() && example.cdb[0] == opcode;
    });
}

std::optional<std::uint32_t> RequestedBytes(std::span<const std::uint8_t> cdb)
{
    if (cdb.empty())
        return std::nullopt;
    switch (cdb[0]) {
    case mmc::kRead10:
        if (cdb.size() >= 9)
            return std::uint32_t{scsi::GetBe16(&cdb[7])} * kLogicalBlockBytes;
        return std::nullopt;
    case mmc::kRead12:
        if (cdb.size() >= 10) {
            const std::uint64_t bytes = std::uint64_t{scsi::GetBe32(&cdb[6])} * kLogicalBlockBytes;
            return static_cast<std::uint32_t>(std::min<std::uint64_t>(bytes, 0xFFFFFFFFu));
        }
        return std::nullopt;
    case mmc::kReadCapacity: return kReadCapacityBytes;
    default: return AllocationLengthOf(cdb);
    }
}

std::optional<std::string> TransferRefusal(const UserCommandRequest& request)
{
    const auto requested = RequestedBytes(request.cdb);
    if (!requested || *requested <= request.size)
        return std::nullopt;
    return Format("The CDB asks the drive for %u bytes, but the buffer size is %u bytes: the command was not sent.",
                  *requested, request.size);
}
