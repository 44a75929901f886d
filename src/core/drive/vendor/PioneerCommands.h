#pragma once

#include <cstdint>

class CScsiCommand;

// The error reads of the Pioneer family (a request written to the drive's
// buffer E1h, its answer read back) and of the AOpen family (E7h).
class PioneerCommands {
public:
    explicit PioneerCommands(CScsiCommand& channel);

    static constexpr std::uint32_t kBufferBytes = 32;

    // WRITE BUFFER of the request for count sectors from lba (sent as its
    // physical sector, lba + 30000h) with the unit value; -1 without sending
    // when size is below 32, else the channel's result.
    int PioneerWriteBuffer(std::uint8_t* buffer, std::uint32_t size, std::uint32_t lba, std::uint32_t count,
                           std::uint8_t value);
    // READ BUFFER of the answer: -1 without sending when size is below 32,
    // else the channel's result.
    int PioneerReadBuffer(std::uint8_t* buffer, std::uint32_t size);
    // E7h of count sectors from lba into the cleared buffer: the channel's result.
    int PioneerReadErrorData(std::uint8_t* buffer, std::uint32_t size, std::uint32_t lba, std::uint16_t count);

private:
    CScsiCommand& m_ScsiCommand;
};

// Answer byte 0 that ends a scan: the drive reached the end of the data.
constexpr std::uint8_t kPioneerEndOfData = 0x10;

// The PI and PIF of a Pioneer answer (32 bytes): each sum divided by its
// block count (the four count bytes summed modulo 256, 1 when 0; the PIF one
// then times 10 modulo 256, the PIF sum undivided when that is 0).
struct PioneerErrors {
    std::uint32_t pi = 0;
    std::uint32_t pif = 0;
};
PioneerErrors ReadPioneerAnswer(const std::uint8_t* answer);
// The PI of an AOpen answer (16 bytes): bytes 6-7.
std::uint32_t ReadAopenAnswer(const std::uint8_t* answer);
