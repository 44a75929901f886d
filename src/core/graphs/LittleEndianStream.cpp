#include "core/graphs/LittleEndianStream.h"

#include <bit>

namespace {

template <class Unsigned>
void AppendUnsigned(std::string& bytes, Unsigned value)
{
    for (std::size_t i = 0; i < sizeof(Unsigned); ++i)
        bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFFu));
}

}  // namespace

void LittleEndianWriter::WriteInt32(std::int32_t value)
{
    AppendUnsigned(m_bytes, static_cast<std::uint32_t>(value));
}

void LittleEndianWriter::WriteInt64(std::int64_t value)
{
    AppendUnsigned(m_bytes, static_cast<std::uint64_t>(value));
}

void LittleEndianWriter::WriteFloat(float value)
{
    AppendUnsigned(m_bytes, std::bit_cast<std::uint32_t>(value));
}

void LittleEndianWriter::WriteBytes(std::string_view bytes)
{
    m_bytes.append(bytes);
}

template <class Unsigned>
bool LittleEndianReader::ReadUnsigned(Unsigned& value)
{
    if (Remaining() < sizeof(Unsigned))
        return false;
    Unsigned result = 0;
    for (std::size_t i = 0; i < sizeof(Unsigned); ++i)
        result |= static_cast<Unsigned>(static_cast<unsigned char>(m_bytes[m_position + i])) << (8 * i);
    m_position += sizeof(Unsigned);
    value = result;
    return true;
}

bool LittleEndianReader::ReadInt32(std::int32_t& value)
{
    std::uint32_t raw = 0;
    if (!ReadUnsigned(raw))
        return false;
    value = static_cast<std::int32_t>(raw);
    return true;
}

bool LittleEndianReader::ReadInt64(std::int64_t& value)
{
    std::uint64_t raw = 0;
    if (!ReadUnsigned(raw))
        return false;
    value = static_cast<std::int64_t>(raw);
    return true;
}

bool LittleEndianReader::ReadFloat(float& value)
{
    std::uint32_t raw = 0;
    if (!ReadUnsigned(raw))
        return false;
    value = std::bit_cast<float>(raw);
    return true;
}

bool LittleEndianReader::ReadBytes(std::size_t count, std::string& bytes)
{
    if (Remaining() < count)
        return false;
    bytes.assign(m_bytes.substr(m_position, count));
    m_position += count;
    return true;
}
