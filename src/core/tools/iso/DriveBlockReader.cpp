#include "core/tools/iso/DriveBlockReader.h"

#include "core/drive/DriveContext.h"
#include "core/drive/SenseReport.h"
#include "core/tools/iso/DiscWalk.h"
#include "scsi/DiscStructure.h"

#include <vector>

namespace {

constexpr std::uint32_t kStructureLength = disc_structure::kPhysicalFormatLength;

}  // namespace

std::optional<int> DriveBlockReader::CurrentProfile()
{
    int profile = 0;
    if (m_drives.media.GetDriveProfile(profile) != 0)
        return std::nullopt;
    return profile;
}

std::optional<DiscLayers> DriveBlockReader::ReadLayers()
{
    std::vector<std::uint8_t> answer(kStructureLength, 0);
    if (m_drives.reads.ReadDiscStructureNoCheck(0, 0, disc_structure::kPhysicalFormat, kStructureLength, answer.data())
        != 0)
        return std::nullopt;
    return discwalk::LayersFromStructure(answer);
}

std::optional<std::int64_t> DriveBlockReader::ReadLastLba()
{
    const CapacityAnswer capacity = m_drives.reads.ReadCapacityAnswer();
    if (!capacity.ok)
        return std::nullopt;
    return std::int64_t{capacity.lastLba};
}

void DriveBlockReader::WaitUntilReady()
{
    m_drives.mmc.PollUntilReady();
}

BlockReadResult DriveBlockReader::ReadBlocks(BlockRead command, std::int64_t lba, int count,
                                             std::span<std::uint8_t> buffer)
{
    const auto address = static_cast<std::uint32_t>(lba);
    const auto blocks = static_cast<std::uint32_t>(count);
    if (command == BlockRead::ReadCdRaw)
        return m_drives.reads.ReadCdRaw(address, blocks, buffer);
    return m_drives.reads.Read10(address, blocks, buffer, command == BlockRead::Read10Fua ? kForceUnitAccess : 0);
}

void DriveBlockReader::PreventRemoval(bool prevent)
{
    m_drives.mmc.PreventMediumRemoval(prevent ? 1 : 0);
}

void DriveBlockReader::SetMaximumSpeed()
{
    // Reading and writing at the drive's fastest; the result is not looked at.
    m_drives.mmc.SetCdSpeedKBps(kMaximumCdSpeed, kMaximumCdSpeed);
}

void DriveBlockReader::ReportSenseError(int opcode)
{
    ::ReportSenseError(m_drives.m_ScsiCommand, m_report, opcode);
}

DriveLoss DriveBlockReader::LossAfter(const BlockReadResult& read)
{
    return ConfirmLoss(m_drives.m_ScsiCommand, m_drives.mmc.GetWaitClock(), read);
}
