#include "core/tools/iso/DriveBlockReader.h"

#include "core/app/MainDialogCore.h"
#include "core/drive/CommandBlock.h"
#include "core/tools/iso/DiscWalk.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

#include <array>
#include <vector>

namespace {

constexpr std::uint8_t kForceUnitAccess = 0x08;
constexpr std::uint8_t kWholeRawSector = 0xF8;  // sync, all headers, user data, EDC/ECC
constexpr std::uint32_t kStructureLength = 2052;
constexpr std::uint32_t kCapacityLength = 8;
constexpr std::uint8_t kInformationValid = 0x80;

}  // namespace

std::optional<int> DriveBlockReader::CurrentProfile()
{
    int profile = 0;
    if (m_core.m_Drives.media.GetDriveProfile(profile) != 0)
        return std::nullopt;
    return profile;
}

std::optional<DiscLayers> DriveBlockReader::ReadLayers()
{
    std::vector<std::uint8_t> answer(kStructureLength, 0);
    if (m_core.m_Drives.reads.ReadDiscStructureNoCheck(0, 0, 0, kStructureLength, answer.data()) != 0)
        return std::nullopt;
    return discwalk::LayersFromStructure(answer);
}

std::optional<std::int64_t> DriveBlockReader::ReadLastLba()
{
    std::array<std::uint8_t, kCapacityLength> answer{};
    if (CommandBlock(mmc::kReadCapacity)
            .Execute(m_core.m_Drives.m_ScsiCommand, DataDirection::In, answer.data(), answer.size())
        != 0)
        return std::nullopt;
    return std::int64_t{scsi::GetBe32(answer.data())};
}

void DriveBlockReader::WaitUntilReady()
{
    m_core.PollUntilReady(false);
}

BlockReadResult DriveBlockReader::ReadBlocks(BlockRead command, std::int64_t lba, int count,
                                             std::span<std::uint8_t> buffer)
{
    CommandBlock cdb(command == BlockRead::ReadCdRaw ? mmc::kReadCd : mmc::kRead10);
    cdb.SetBe32(2, static_cast<std::uint32_t>(lba));
    if (command == BlockRead::ReadCdRaw) {
        const auto sectors = static_cast<std::uint32_t>(count);
        cdb.Set(6, static_cast<std::uint8_t>(sectors >> 16)).SetBe16(7, sectors & 0xFFFF).Set(9, kWholeRawSector);
    } else {
        cdb.Set(1, command == BlockRead::Read10Fua ? kForceUnitAccess : 0)
            .SetBe16(7, static_cast<std::uint32_t>(count));
    }
    CScsiCommand& channel = m_core.m_Drives.m_ScsiCommand;
    const auto lock = channel.Lock();  // the sense and the residual are this command's
    BlockReadResult result;
    const auto length = static_cast<std::uint32_t>(buffer.size());
    result.ok = cdb.Execute(channel, DataDirection::In, buffer.data(), length) == 0;
    result.transferred = length - std::min(channel.Residual(), length);
    const std::uint8_t* sense = channel.GetSenseBuffer();
    if (!result.ok) {
        result.sense = SenseOf(sense);
        if (sense[0] & kInformationValid)
            result.badBlock = scsi::GetBe32(sense + 3);
    }
    return result;
}

void DriveBlockReader::PreventRemoval(bool prevent)
{
    m_core.m_Drives.mmc.PreventMediumRemoval(prevent ? 1 : 0);
}

void DriveBlockReader::SetMaximumSpeed()
{
    // Reading and writing at the drive's fastest; the result is not looked at.
    CommandBlock(mmc::kSetCdSpeed)
        .SetBe16(2, 0xFFFF)
        .SetBe16(4, 0xFFFF)
        .Execute(m_core.m_Drives.m_ScsiCommand, DataDirection::None, nullptr, 0);
}

void DriveBlockReader::ReportSenseError(int opcode)
{
    m_core.ReportSenseError(opcode);
}
