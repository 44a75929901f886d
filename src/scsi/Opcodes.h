#pragma once

#include <cstdint>

// Operation codes of the MMC commands the program sends and the emulated
// drive answers.
namespace mmc {

constexpr std::uint8_t kTestUnitReady = 0x00;
constexpr std::uint8_t kRezeroUnit = 0x01;
constexpr std::uint8_t kRequestSense = 0x03;
constexpr std::uint8_t kFormatUnit = 0x04;
constexpr std::uint8_t kInquiry = 0x12;
constexpr std::uint8_t kModeSense6 = 0x1A;
constexpr std::uint8_t kStartStopUnit = 0x1B;
constexpr std::uint8_t kPreventAllowMediumRemoval = 0x1E;
constexpr std::uint8_t kReadFormatCapacities = 0x23;
constexpr std::uint8_t kReadCapacity = 0x25;
constexpr std::uint8_t kRead10 = 0x28;
constexpr std::uint8_t kWrite10 = 0x2A;
constexpr std::uint8_t kSeek10 = 0x2B;
constexpr std::uint8_t kWriteBuffer = 0x3B;
constexpr std::uint8_t kReadBuffer = 0x3C;
constexpr std::uint8_t kReadSubChannel = 0x42;
constexpr std::uint8_t kReadTocPmaAtip = 0x43;
constexpr std::uint8_t kGetConfiguration = 0x46;
constexpr std::uint8_t kGetEventStatusNotification = 0x4A;
constexpr std::uint8_t kReadDiscInformation = 0x51;
constexpr std::uint8_t kReadTrackInformation = 0x52;
constexpr std::uint8_t kModeSelect10 = 0x55;
constexpr std::uint8_t kCloseTrackSession = 0x5B;
constexpr std::uint8_t kModeSense10 = 0x5A;
constexpr std::uint8_t kBlank = 0xA1;
constexpr std::uint8_t kReportKey = 0xA4;
constexpr std::uint8_t kRead12 = 0xA8;
constexpr std::uint8_t kGetPerformance = 0xAC;
constexpr std::uint8_t kReadDiscStructure = 0xAD;
constexpr std::uint8_t kSetStreaming = 0xB6;
constexpr std::uint8_t kSetCdSpeed = 0xBB;
constexpr std::uint8_t kMechanismStatus = 0xBD;
constexpr std::uint8_t kReadCd = 0xBE;

}  // namespace mmc

// Operation codes of the maker families' vendor-unique commands.
namespace vendor_opcode {

constexpr std::uint8_t kCyberdrive = 0x33;  // 33h 6Ch: the measuring mode behind the signature
constexpr std::uint8_t kNec = 0xC9;  // the NEC family's settings, also answered by iHAS drives
constexpr std::uint8_t kLiteon = 0xDF;
constexpr std::uint8_t kAopenErrorRead = 0xE7;  // E7h: the PI of a stretch of sectors
constexpr std::uint8_t kPlextorBookType = 0xE9;  // E9h 00h/10h 22h: the book type read and set
constexpr std::uint8_t kPlextor = 0xEA;  // EAh 15h/16h/17h: the error-counting passes
// F3h: the error scans of most families (Lite-On, Samsung, BTC, NEC, iHAS
// and the generic F3 drives), each with sub-commands of its own; the
// Nu/QSI-made generic drives also keep their book-type settings behind it.
constexpr std::uint8_t kErrorScan = 0xF3;
constexpr std::uint8_t kNuQsi = kErrorScan;
// FAh: the book-type queries of the Ricoh family (and of the AOpen DUW1608,
// which shares its F9h set), the LG book-type read and the BTC book type.
constexpr std::uint8_t kRicoh = 0xFA;
constexpr std::uint8_t kLgBookTypeRead = kRicoh;
constexpr std::uint8_t kBtcBookType = kRicoh;
constexpr std::uint8_t kRicohSetBookType = 0xF9;
constexpr std::uint8_t kLgBookTypeWrite = 0xFC;  // behind the LG signature
constexpr std::uint8_t kBenqReadF0 = 0xF0;  // the older models' error and jitter reads
constexpr std::uint8_t kBenqReadF8 = 0xF8;  // the newer models' answer to the last parameter block
constexpr std::uint8_t kBenqSendF9 = 0xF9;  // the newer models' parameter block
constexpr std::uint8_t kBenqService = 0xFD;  // service mode and Solid Burn, behind the signature
constexpr std::uint8_t kBenqSetBookType = 0xFE;
constexpr std::uint8_t kBenqReadBookType = 0xFF;

}  // namespace vendor_opcode
