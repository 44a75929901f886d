#include "core/drive/MmcRecording.h"

#include "core/base/LogFile.h"
#include "core/drive/CommandBlock.h"
#include "core/drive/CommandFailure.h"
#include "core/drive/MmcCdbs.h"
#include "core/drive/MmcMediaReads.h"
#include "core/drive/ScsiCommand.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

#include <algorithm>

namespace {

using namespace mmc;

constexpr std::uint32_t kFormatCapacitiesLength = 2048;
constexpr std::size_t kCapacityHeader = 4;
constexpr std::size_t kDescriptorLength = 8;
constexpr std::uint32_t kDiscInformationLength = 256;
constexpr std::uint32_t kCapabilitiesAnswer = 252;
constexpr std::uint8_t kCapabilitiesPage = 0x2A;

FormatDescriptor DescriptorAt(const std::uint8_t* at)
{
    return {scsi::GetBe32(at), static_cast<std::uint8_t>(at[4] >> 2), scsi::GetBe24(at + 5)};
}

// Sends a block; a failure is described while the channel is still ours.
int Run(CScsiCommand& channel, const CommandBlock& block, DataDirection direction, void* buffer, std::uint32_t length,
        const char* name, std::string* failure)
{
    const auto lock = channel.Lock();
    const int result = block.Execute(channel, direction, buffer, length);
    if (result != 0) {
        const std::string why = DescribeLastFailure(channel, name, block[0]);
        LogEntry(why);
        if (failure)
            *failure = why;
    }
    return result;
}

}  // namespace

const FormatDescriptor* FormatCapacities::Find(std::uint8_t formatType) const
{
    const auto found = std::find_if(formattable.begin(), formattable.end(),
                                    [&](const FormatDescriptor& d) { return d.type == formatType; });
    return found == formattable.end() ? nullptr : &*found;
}

std::optional<FormatCapacities> DecodeFormatCapacities(std::span<const std::uint8_t> answer)
{
    if (answer.size() < kCapacityHeader + kDescriptorLength)
        return std::nullopt;
    const std::size_t end = std::min(answer.size(), kCapacityHeader + answer[3]);
    if (end < kCapacityHeader + kDescriptorLength)
        return std::nullopt;
    FormatCapacities capacities;
    capacities.currentBlocks = scsi::GetBe32(&answer[4]);
    capacities.currentType = answer[8] & 0x03;
    capacities.blockLength = scsi::GetBe24(&answer[9]);
    for (std::size_t at = kCapacityHeader + kDescriptorLength; at + kDescriptorLength <= end; at += kDescriptorLength)
        capacities.formattable.push_back(DescriptorAt(&answer[at]));
    return capacities;
}

std::array<std::uint8_t, 12> FormatParameterList(std::uint8_t headerFlags, const FormatDescriptor& descriptor)
{
    std::array<std::uint8_t, 12> list{};
    list[1] = headerFlags;
    scsi::PutBe16(&list[2], static_cast<std::uint16_t>(kDescriptorLength));
    scsi::PutBe32(&list[4], descriptor.blocks);
    list[8] = static_cast<std::uint8_t>(descriptor.type << 2);
    scsi::PutBe24(&list[9], descriptor.parameter);
    return list;
}

MmcRecording::MmcRecording(CScsiCommand& channel, MmcMediaReads& reads) : m_ScsiCommand(channel), m_reads(reads)
{
}

std::optional<FormatCapacities> MmcRecording::ReadFormatCapacities(WrapperNotice* notice)
{
    std::vector<std::uint8_t> answer(kFormatCapacitiesLength, 0);
    const int listLength = m_reads.GetFormatCapacities(answer.data(), kFormatCapacitiesLength, notice);
    if (listLength == 0)
        return std::nullopt;
    answer.resize(kCapacityHeader + static_cast<std::size_t>(listLength));
    return DecodeFormatCapacities(answer);
}

int MmcRecording::FormatUnit(std::uint8_t headerFlags, const FormatDescriptor& descriptor, std::string* failure)
{
    std::array<std::uint8_t, 12> list = FormatParameterList(headerFlags, descriptor);
    return Run(m_ScsiCommand, mmc_cdb::FormatUnit{}.Block(), DataDirection::Out, list.data(),
               static_cast<std::uint32_t>(list.size()), "FORMAT UNIT", failure);
}

int MmcRecording::Blank(BlankType type, bool immediate, std::string* failure)
{
    return Run(m_ScsiCommand, mmc_cdb::Blank{.type = static_cast<std::uint8_t>(type), .immediate = immediate}.Block(),
               DataDirection::None, nullptr, 0, "BLANK", failure);
}

int MmcRecording::CloseTrackSession(int function, int track, bool immediate, std::string* failure)
{
    return Run(m_ScsiCommand,
               mmc_cdb::CloseTrackSession{.immediate = immediate,
                                          .function = static_cast<std::uint8_t>(function),
                                          .track = static_cast<std::uint16_t>(track)}
                   .Block(),
               DataDirection::None, nullptr, 0, "CLOSE TRACK/SESSION", failure);
}

int MmcRecording::Write10(std::uint32_t lba, std::uint16_t blocks, const std::uint8_t* data, std::uint32_t length,
                          std::string* failure)
{
    const std::uint32_t bytes = std::uint32_t{blocks} * kBlockBytes;
    if (!data || length < bytes) {
        if (failure)
            *failure = "WRITE(10) (2Ah) not sent: the data is shorter than the blocks";
        return 1;
    }
    // The data is only read; the channel's interface takes one buffer for both ways.
    return Run(m_ScsiCommand, mmc_cdb::Write10{.lba = lba, .blocks = blocks}.Block(), DataDirection::Out,
               const_cast<std::uint8_t*>(data), bytes, "WRITE(10)", failure);
}

int MmcRecording::RezeroUnit(std::string* failure)
{
    return Run(m_ScsiCommand, mmc_cdb::RezeroUnit{}.Block(), DataDirection::None, nullptr, 0, "REZERO UNIT", failure);
}

int MmcRecording::ReadDiscInformation(DiscInformation& information, std::string* failure)
{
    std::vector<std::uint8_t> answer(kDiscInformationLength, 0);
    const int result = Run(m_ScsiCommand, mmc_cdb::ReadDiscInformation{.allocation = kDiscInformationLength}.Block(),
                           DataDirection::In, answer.data(), kDiscInformationLength, "READ DISC INFORMATION", failure);
    if (result == 0)
        information = *DecodeDiscInformation(answer);
    return result;
}

int MmcRecording::EjectMedium(std::string* failure)
{
    return Run(m_ScsiCommand, mmc_cdb::StartStopUnit{.immediate = true, .loadEject = true}.Block(), DataDirection::None,
               nullptr, 0, "START STOP UNIT", failure);
}

CommandAnswer MmcRecording::StopUnit()
{
    return ExecuteForAnswer(m_ScsiCommand, mmc_cdb::StartStopUnit{.immediate = true}.Block(), "START STOP UNIT");
}

int MmcRecording::ReadCapabilitiesPage(std::vector<std::uint8_t>& answer, std::string* failure)
{
    answer.assign(kCapabilitiesAnswer, 0);
    return Run(m_ScsiCommand,
               mmc_cdb::ModeSense10{.pageCode = kCapabilitiesPage, .allocation = kCapabilitiesAnswer}.Block(),
               DataDirection::In, answer.data(), kCapabilitiesAnswer, "MODE SENSE(10)", failure);
}
