#pragma once

#include <cstdint>

// Operation codes of the MMC commands the program sends, and the channel's
// data directions.
namespace mmc {

constexpr std::uint8_t kTestUnitReady = 0x00;
constexpr std::uint8_t kRequestSense = 0x03;
constexpr std::uint8_t kFormatUnit = 0x04;
constexpr std::uint8_t kInquiry = 0x12;
constexpr std::uint8_t kPreventAllowMediumRemoval = 0x1E;
constexpr std::uint8_t kStartStopUnit = 0x1B;
constexpr std::uint8_t kReadFormatCapacities = 0x23;
constexpr std::uint8_t kReadCapacity = 0x25;
constexpr std::uint8_t kRead10 = 0x28;
constexpr std::uint8_t kGetConfiguration = 0x46;
constexpr std::uint8_t kReadTrackInformation = 0x52;
constexpr std::uint8_t kModeSense10 = 0x5A;
constexpr std::uint8_t kReportKey = 0xA4;
constexpr std::uint8_t kGetPerformance = 0xAC;
constexpr std::uint8_t kReadDiscStructure = 0xAD;
constexpr std::uint8_t kSetCdSpeed = 0xBB;
constexpr std::uint8_t kMechanismStatus = 0xBD;

constexpr int kDataOut = 0;
constexpr int kDataIn = 1;
constexpr int kNoData = 2;

}  // namespace mmc
