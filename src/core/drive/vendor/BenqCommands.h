#pragma once

#include "core/drive/vendor/VendorReply.h"

#include <cstdint>
#include <span>

class CDevice;
class CScsiCommand;

// The BenQ family's commands: the service mode (FDh, behind the family's
// signature) and the book-type commands it opens (FEh, FFh), the Solid Burn
// probe and the FFh probe of the book-type dispatch.
class BenqCommands {
public:
    // current: the drive list's current drive, whose identity rules out the
    // Solid Burn probe.
    BenqCommands(CScsiCommand& channel, CDevice* const& current);

    // Service mode on (F1) and off (F2): the channel's result.
    VendorReply BenqSignatureF1();
    VendorReply BenqSignatureF2();
    // The older models' vendor mode on (11) and off (12): the channel's result.
    VendorReply BenqSignature11();
    VendorReply BenqSignature12();
    VendorReply BenqQueryBookType00();
    VendorReply BenqQueryBookType10();
    VendorReply BenqSetBookTypeData(int selector, int value);
    VendorReply BenqSetBookType(int selector, int value);
    VendorReply VendorProbeFF09();
    // FFh 06h 12h with b6 in byte 6 and AAh in byte 11, no data: 0 taken,
    // -1 refused (the first and third step of the probe).
    VendorReply VendorFFMode(int b6);
    // 1 when the drive takes the Solid Burn sequence, else 0.
    VendorReply DetectForSolidBurn();

    // The error scans. Each returns the channel's result (0 taken); the
    // ones with a buffer return 1 without sending anything when it is too
    // small for their block or answer.
    // Service mode on (leave false) or off (leave true).
    int BenqServiceMode(bool leave);
    // MODE SELECT(10) of the power condition page: off before a scan, back
    // to the drive's timers after it.
    int BenqSetPowerManagement(bool off);
    // The newer models' exchange: a parameter block out (F9h), the answer to
    // it in (F8h).
    int BenqSendF9(std::span<const std::uint8_t> block);
    int BenqReadF8(std::span<std::uint8_t> buffer);
    int BenqSetSpeed(int code);
    int BenqSetStatisticsMode(std::span<std::uint8_t> buffer, int value);
    int BenqSetStartAddress(std::span<std::uint8_t> buffer, std::uint32_t address);
    int BenqResetAddress(std::span<std::uint8_t> buffer, std::uint32_t address);
    // The 258-byte statistics block, into the cleared buffer.
    int BenqReadErrorStatistics(std::span<std::uint8_t> buffer);
    // The older models' F0h reads of [first, end): PI and PIF (8 bytes), the
    // jitter in byte 2.
    int BenqReadErrorDataF0(std::uint8_t mode, std::uint32_t first, std::uint32_t end, std::span<std::uint8_t> buffer);
    int BenqReadJitterDataF0(std::uint8_t mode, std::uint32_t first, std::uint32_t end, std::span<std::uint8_t> buffer);
    // Whether the drive takes the newer models' service mode and speed
    // block; the drive is left as it was found.
    bool IsNewBenqDrive();

private:
    VendorReply BenqQueryBookType(std::uint8_t kind);
    VendorReply BenqSet(std::uint8_t selector, std::uint8_t value, bool withData);
    int FFMode(std::uint8_t b6, VendorReply& reply);
    int Exchange(std::span<std::uint8_t> buffer, std::span<const std::uint8_t> block, std::size_t answerLength);
    int ReadF0(std::uint8_t mode, std::uint32_t first, std::uint32_t end, std::uint8_t kind,
               std::span<std::uint8_t> buffer);

    CScsiCommand& m_ScsiCommand;
    CDevice* const& m_pCurrentDevice;
};
