#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Fixed-width little-endian values back to back, as binary files store them:
// int32, int64 (low half first) and IEEE single floats.
class LittleEndianWriter {
public:
    void WriteInt32(std::int32_t value);
    void WriteInt64(std::int64_t value);
    void WriteFloat(float value);
    void WriteBytes(std::string_view bytes);

    const std::string& Bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

// Reads what LittleEndianWriter writes from a bounded buffer. A read that
// would pass the end returns false and consumes nothing.
class LittleEndianReader {
public:
    explicit LittleEndianReader(std::string_view bytes) : m_bytes(bytes) {}

    bool ReadInt32(std::int32_t& value);
    bool ReadInt64(std::int64_t& value);
    bool ReadFloat(float& value);
    bool ReadBytes(std::size_t count, std::string& bytes);

    std::size_t Remaining() const { return m_bytes.size() - m_position; }

private:
    template <class Unsigned>
    bool ReadUnsigned(Unsigned& value);

    std::string_view m_bytes;
    std::size_t m_position = 0;
};
