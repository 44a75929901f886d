#pragma once

#include <cstdint>

// SHA-1 of FIPS 180-1: Reset, Input, then Result. The first Result closes
// the message; input after it, or a message of 2^64 bits or more, marks the
// object corrupted, and every Result fails until Reset.
class SHA1 {
public:
    SHA1();
    virtual ~SHA1();

    void Reset();
    void Input(const unsigned char* message, unsigned length);
    void InputByte(char byte);
    // Copies the five result words into digest; false when corrupted.
    bool Result(unsigned* digest);

private:
    void ProcessMessageBlock();
    void PadMessage();

    std::uint32_t m_H[5];
    std::uint32_t m_lengthLow;
    std::uint32_t m_lengthHigh;
    std::uint8_t m_messageBlock[64];
    int m_messageBlockIndex;
    bool m_computed;
    bool m_corrupted;
};
