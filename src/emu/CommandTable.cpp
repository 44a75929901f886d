#include "emu/CommandTable.h"

#include "scsi/Bytes.h"

#include <algorithm>
#include <cstring>

namespace emu {

std::uint16_t CommandContext::Be16(std::size_t index) const
{
    return scsi::GetBe16(&cdb[index]);
}

std::uint32_t CommandContext::Be32(std::size_t index) const
{
    return scsi::GetBe32(&cdb[index]);
}

void CommandContext::Answer(const std::vector<std::uint8_t>& bytes, std::size_t allocationLength)
{
    std::size_t room = 0;
    std::uint8_t* out = DataIn(room);
    const std::size_t count = std::min({bytes.size(), allocationLength, room});
    if (out && count)
        std::memcpy(out, bytes.data(), count);
    m_transferred = out ? count : 0;
}

std::uint8_t* CommandContext::DataIn(std::size_t& length)
{
    if (m_direction != DataDirection::In || !m_buffer) {
        length = 0;
        return nullptr;
    }
    length = m_bufferLength;
    return m_buffer;
}

const std::uint8_t* CommandContext::DataOut(std::size_t& length) const
{
    if (m_direction != DataDirection::Out || !m_buffer) {
        length = 0;
        return nullptr;
    }
    length = m_bufferLength;
    return m_buffer;
}

void CommandContext::Fail(const Sense& answer, std::optional<std::uint32_t> information)
{
    m_failure = answer;
    m_information = information;
}

}  // namespace emu
