#include "core/drive/CommandBlock.h"

#include "core/drive/ScsiCommand.h"
#include "scsi/Bytes.h"

std::size_t StandardCdbLength(std::uint8_t opcode)
{
    switch (opcode >> 5) {
    case 0: return 6;
    case 1:
    case 2: return 10;
    case 4: return 16;
    case 5: return 12;
    default: return 0;
    }
}

CommandBlock::CommandBlock(std::uint8_t opcode, std::size_t length) :
    m_length(length ? length : StandardCdbLength(opcode))
{
    if (m_length > m_bytes.size())
        m_length = 0;
    m_bytes[0] = opcode;
}

CommandBlock& CommandBlock::Set(std::size_t index, std::uint8_t value)
{
    if (index < m_length)
        m_bytes[index] = value;
    return *this;
}

CommandBlock& CommandBlock::SetBe16(std::size_t index, std::uint32_t value)
{
    std::uint8_t bytes[2];
    scsi::PutBe16(bytes, value);
    return Set(index, bytes[0]).Set(index + 1, bytes[1]);
}

CommandBlock& CommandBlock::SetBe32(std::size_t index, std::uint32_t value)
{
    std::uint8_t bytes[4];
    scsi::PutBe32(bytes, value);
    return Set(index, bytes[0]).Set(index + 1, bytes[1]).Set(index + 2, bytes[2]).Set(index + 3, bytes[3]);
}

CommandBlock& CommandBlock::SetTimeout(std::uint32_t seconds)
{
    m_timeoutSeconds = seconds;
    return *this;
}

int CommandBlock::Execute(CScsiCommand& channel, DataDirection direction, void* buffer, std::uint32_t length) const
{
    if (m_length == 0)
        return 1;
    for (std::size_t i = 0; i < m_length; ++i)
        *channel.Cdb(static_cast<int>(i)) = m_bytes[i];
    if (m_timeoutSeconds != 0)
        channel.SetTimeout(m_timeoutSeconds);
    return channel.Execute(direction, buffer, length);
}
