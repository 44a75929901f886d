#include "core/drive/MmcCdbs.h"

#include "scsi/Opcodes.h"

namespace mmc_cdb {

namespace {

constexpr std::uint8_t kImmediate = 0x01;  // byte 1 bit 0 of the commands that have one
constexpr std::uint8_t kBlankImmediate = 0x10;  // BLANK keeps it in bit 4
constexpr std::uint8_t kFormatData = 0x10;  // FmtData
constexpr std::uint8_t kMsf = 0x02;
constexpr std::uint8_t kSubQ = 0x40;
constexpr std::uint8_t kLoadEject = 0x02;
constexpr std::uint8_t kStart = 0x01;
constexpr std::uint8_t kPageFormat = 0x10;

}  // namespace

CommandBlock TestUnitReady::Block() const
{
    return CommandBlock(mmc::kTestUnitReady);
}

CommandBlock RezeroUnit::Block() const
{
    return CommandBlock(mmc::kRezeroUnit);
}

CommandBlock RequestSense::Block() const
{
    return CommandBlock(mmc::kRequestSense).Set(4, allocation);
}

CommandBlock FormatUnit::Block() const
{
    return CommandBlock(mmc::kFormatUnit).Set(1, static_cast<std::uint8_t>(kFormatData | (formatCode & 0x07)));
}

CommandBlock Inquiry::Block() const
{
    return CommandBlock(mmc::kInquiry).Set(4, allocation);
}

CommandBlock StartStopUnit::Block() const
{
    return CommandBlock(mmc::kStartStopUnit)
        .Set(1, immediate ? kImmediate : 0)
        .Set(4, static_cast<std::uint8_t>((loadEject ? kLoadEject : 0) | (start ? kStart : 0)));
}

CommandBlock PreventAllowMediumRemoval::Block() const
{
    return CommandBlock(mmc::kPreventAllowMediumRemoval).Set(4, prevent);
}

CommandBlock ReadFormatCapacities::Block() const
{
    return CommandBlock(mmc::kReadFormatCapacities).SetBe16(7, allocation);
}

CommandBlock ReadCapacity::Block() const
{
    return CommandBlock(mmc::kReadCapacity);
}

CommandBlock Read10::Block() const
{
    return CommandBlock(mmc::kRead10).Set(1, flags).SetBe32(2, lba).SetBe16(7, blocks);
}

CommandBlock Write10::Block() const
{
    return CommandBlock(mmc::kWrite10).SetBe32(2, lba).SetBe16(7, blocks);
}

CommandBlock Seek10::Block() const
{
    return CommandBlock(mmc::kSeek10).SetBe32(2, lba);
}

CommandBlock ReadSubChannel::Block() const
{
    return CommandBlock(mmc::kReadSubChannel).Set(2, subQ ? kSubQ : 0).Set(3, format).SetBe16(7, allocation);
}

CommandBlock ReadTocPmaAtip::Block() const
{
    return CommandBlock(mmc::kReadTocPmaAtip)
        .Set(1, msf ? kMsf : 0)
        .Set(2, static_cast<std::uint8_t>(format & 0x0F))
        .SetBe16(7, allocation);
}

CommandBlock GetConfiguration::Block() const
{
    return CommandBlock(mmc::kGetConfiguration).Set(1, requestType).SetBe16(2, startingFeature).SetBe16(7, allocation);
}

CommandBlock ReadDiscInformation::Block() const
{
    return CommandBlock(mmc::kReadDiscInformation).SetBe16(7, allocation);
}

CommandBlock ReadTrackInformation::Block() const
{
    return CommandBlock(mmc::kReadTrackInformation).Set(1, addressType).SetBe32(2, address).SetBe16(7, allocation);
}

CommandBlock ModeSense10::Block() const
{
    return CommandBlock(mmc::kModeSense10).Set(2, pageCode).SetBe16(7, allocation);
}

CommandBlock ModeSelect10::Block() const
{
    return CommandBlock(mmc::kModeSelect10).Set(1, pageFormat ? kPageFormat : 0).SetBe16(7, parameterLength);
}

namespace {

// The fields as WRITE BUFFER and READ BUFFER hold them.
CommandBlock BufferBlock(std::uint8_t opcode, const Buffer& fields)
{
    return CommandBlock(opcode)
        .Set(1, fields.mode)
        .Set(2, fields.bufferId)
        .Set(3, static_cast<std::uint8_t>(fields.offset >> 16))
        .SetBe16(4, fields.offset & 0xFFFF)
        .Set(6, static_cast<std::uint8_t>(fields.length >> 16))
        .SetBe16(7, fields.length & 0xFFFF);
}

}  // namespace

CommandBlock Buffer::WriteBlock() const
{
    return BufferBlock(mmc::kWriteBuffer, *this);
}

CommandBlock Buffer::ReadBlock() const
{
    return BufferBlock(mmc::kReadBuffer, *this);
}

CommandBlock CloseTrackSession::Block() const
{
    return CommandBlock(mmc::kCloseTrackSession)
        .Set(1, immediate ? kImmediate : 0)
        .Set(2, static_cast<std::uint8_t>(function & 0x07))
        .SetBe16(4, track);
}

CommandBlock Blank::Block() const
{
    return CommandBlock(mmc::kBlank).Set(1, static_cast<std::uint8_t>((immediate ? kBlankImmediate : 0) | type));
}

CommandBlock ReportKey::Block() const
{
    return CommandBlock(mmc::kReportKey).SetBe16(8, allocation).Set(10, keyFormat);
}

CommandBlock GetPerformance::Block() const
{
    return CommandBlock(mmc::kGetPerformance).Set(1, dataType).SetBe16(8, maxDescriptors).Set(10, type);
}

CommandBlock ReadDiscStructure::Block() const
{
    return CommandBlock(mmc::kReadDiscStructure)
        .Set(1, mediaType)
        .SetBe32(2, address)
        .Set(6, layer)
        .Set(7, format)
        .SetBe16(8, allocation);
}

CommandBlock SetStreaming::Block() const
{
    return CommandBlock(mmc::kSetStreaming).SetBe16(9, parameterLength);
}

CommandBlock SetCdSpeed::Block() const
{
    return CommandBlock(mmc::kSetCdSpeed).Set(1, rotationControl).SetBe16(2, readKBps).SetBe16(4, writeKBps);
}

CommandBlock MechanismStatus::Block() const
{
    return CommandBlock(mmc::kMechanismStatus).SetBe16(8, allocation);
}

CommandBlock ReadCd::Block() const
{
    return CommandBlock(mmc::kReadCd)
        .Set(1, sectorType)
        .SetBe32(2, lba)
        .Set(6, static_cast<std::uint8_t>(blocks >> 16))
        .SetBe16(7, blocks & 0xFFFF)
        .Set(9, fields);
}

}  // namespace mmc_cdb
