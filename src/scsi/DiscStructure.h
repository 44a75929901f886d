#pragma once

#include <cstdint>

// READ DISC STRUCTURE: the media types and formats the program reads, and
// the lengths of their answers (a 4-byte header, then the format's data).
namespace disc_structure {

// The media type of the request (CDB byte 1).
constexpr std::uint8_t kDvdMedia = 0x00;
constexpr std::uint8_t kBdMedia = 0x01;

// The formats (CDB byte 7) of a DVD or HD DVD (media type 0) ...
constexpr std::uint8_t kPhysicalFormat = 0x00;
constexpr std::uint8_t kCopyrightInformation = 0x01;
constexpr std::uint8_t kRecordingManagementData = 0x0D;
constexpr std::uint8_t kPrerecordedInformation = 0x0E;
constexpr std::uint8_t kAdipInformation = 0x11;
constexpr std::uint8_t kFormatLayers = 0x90;
// ... and of a BD (media type 1).
constexpr std::uint8_t kBdDiscInformation = 0x00;
constexpr std::uint8_t kBdDiscDefinition = 0x08;
constexpr std::uint8_t kBdSpareArea = 0x0A;

// The data of each format, after the header.
constexpr std::uint32_t kHeaderLength = 4;
constexpr std::uint32_t kPhysicalFormatBytes = 2048;
constexpr std::uint32_t kAdipBytes = 256;
constexpr std::uint32_t kPrerecordedBytes = 64;
constexpr std::uint32_t kRecordingManagementBytes = 32768;
constexpr std::uint32_t kBdDiscInformationBytes = 4096;

// The whole answers the program asks for.
constexpr std::uint32_t kPhysicalFormatLength = kHeaderLength + kPhysicalFormatBytes;  // 2052
constexpr std::uint32_t kAdipLength = kHeaderLength + kAdipBytes;  // 260
constexpr std::uint32_t kPrerecordedLength = kHeaderLength + kPrerecordedBytes;  // 68
constexpr std::uint32_t kRecordingManagementLength = kHeaderLength + kRecordingManagementBytes;  // 32772
constexpr std::uint32_t kBdDiscInformationLength = kHeaderLength + kBdDiscInformationBytes;  // 4100

}  // namespace disc_structure

// The physical sector number of LBA 0 of a DVD or HD DVD: the first
// layer's data zone starts there, and layer breaks are told from it.
constexpr std::uint32_t kDvdFirstDataSector = 0x30000;
