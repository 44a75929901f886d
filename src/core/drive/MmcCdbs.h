#pragma once

#include "core/drive/CommandBlock.h"

#include <cstdint>

// The CDB of every MMC command the program sends, each built here once from
// named fields (bytes in the order MMC gives them): the wrappers of
// MmcCommands, MmcMediaReads and MmcRecording and the drive layer's other
// senders take their blocks from here, e.g.
//   mmc_cdb::ReadTrackInformation{.address = track, .allocation = 2048}.Block()
// A field left out is 0. Allocation and transfer lengths are the caller's,
// as the buffer it gives.
namespace mmc_cdb {

struct TestUnitReady {
    CommandBlock Block() const;
};

struct RezeroUnit {
    CommandBlock Block() const;
};

struct RequestSense {
    std::uint8_t allocation = 0;
    CommandBlock Block() const;
};

// FORMAT UNIT with FmtData set: a parameter list follows.
struct FormatUnit {
    std::uint8_t formatCode = 1;  // byte 1 bits 2-0
    CommandBlock Block() const;
};

struct Inquiry {
    std::uint8_t allocation = 0;
    CommandBlock Block() const;
};

struct StartStopUnit {
    bool immediate = false;  // the command ends before the tray or the disc has moved
    bool loadEject = false;  // LoEj: the tray moves (with start: it closes, without: it opens)
    bool start = false;
    CommandBlock Block() const;
};

struct PreventAllowMediumRemoval {
    std::uint8_t prevent = 0;  // byte 4: 1 prevents, 0 allows
    CommandBlock Block() const;
};

struct ReadFormatCapacities {
    std::uint16_t allocation = 0;
    CommandBlock Block() const;
};

struct ReadCapacity {
    CommandBlock Block() const;
};

struct Read10 {
    std::uint8_t flags = 0;  // byte 1 (kForceUnitAccess)
    std::uint32_t lba = 0;
    std::uint16_t blocks = 0;
    CommandBlock Block() const;
};

struct Write10 {
    std::uint32_t lba = 0;
    std::uint16_t blocks = 0;
    CommandBlock Block() const;
};

struct Seek10 {
    std::uint32_t lba = 0;
    CommandBlock Block() const;
};

struct ReadSubChannel {
    bool subQ = false;  // the Q sub-channel data is returned
    std::uint8_t format = 0;  // sub-channel parameter list code
    std::uint16_t allocation = 0;
    CommandBlock Block() const;
};

struct ReadTocPmaAtip {
    bool msf = false;  // addresses as minutes, seconds, frames
    std::uint8_t format = 0;  // byte 2 bits 3-0: 2 full TOC, 4 ATIP
    std::uint16_t allocation = 0;
    CommandBlock Block() const;
};

struct GetConfiguration {
    std::uint8_t requestType = 0;  // RT: 0 all features, 1 current ones, 2 one feature
    std::uint16_t startingFeature = 0;
    std::uint16_t allocation = 0;
    CommandBlock Block() const;
};

struct ReadDiscInformation {
    std::uint16_t allocation = 0;
    CommandBlock Block() const;
};

struct ReadTrackInformation {
    std::uint8_t addressType = 1;  // 0 an LBA, 1 a track number, 2 a session number
    std::uint32_t address = 0;
    std::uint16_t allocation = 0;
    CommandBlock Block() const;
};

struct ModeSense10 {
    std::uint8_t pageCode = 0;  // with the page control bits 7-6 (0: current values)
    std::uint16_t allocation = 0;
    CommandBlock Block() const;
};

struct ModeSelect10 {
    bool pageFormat = false;  // PF: the pages are in the MMC layout
    std::uint16_t parameterLength = 0;
    CommandBlock Block() const;
};

// WRITE BUFFER and READ BUFFER, which share their fields: mode, buffer,
// offset and length (24 bits each).
struct Buffer {
    std::uint8_t mode = 0;
    std::uint8_t bufferId = 0;
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
    CommandBlock WriteBlock() const;
    CommandBlock ReadBlock() const;
};

struct CloseTrackSession {
    bool immediate = false;
    std::uint8_t function = 0;  // byte 2 bits 2-0
    std::uint16_t track = 0;
    CommandBlock Block() const;
};

struct Blank {
    std::uint8_t type = 0;  // byte 1 bits 2-0 (BlankType)
    bool immediate = false;
    CommandBlock Block() const;
};

struct ReportKey {
    std::uint16_t allocation = 0;
    std::uint8_t keyFormat = 0;  // byte 10 bits 5-0
    CommandBlock Block() const;
};

struct GetPerformance {
    std::uint8_t dataType = 0;  // byte 1: tolerance, write and exception bits
    std::uint16_t maxDescriptors = 0;
    std::uint8_t type = 0;  // 0 performance data, 3 write speeds
    CommandBlock Block() const;
};

struct ReadDiscStructure {
    std::uint8_t mediaType = 0;  // 0 DVD, 1 BD
    std::uint32_t address = 0;
    std::uint8_t layer = 0;
    std::uint8_t format = 0;
    std::uint16_t allocation = 0;
    CommandBlock Block() const;
};

struct SetStreaming {
    std::uint16_t parameterLength = 0;
    CommandBlock Block() const;
};

struct SetCdSpeed {
    std::uint8_t rotationControl = 0;  // 0 CLV, 1 CAV
    std::uint16_t readKBps = 0;
    std::uint16_t writeKBps = 0;
    CommandBlock Block() const;
};

struct MechanismStatus {
    std::uint16_t allocation = 0;
    CommandBlock Block() const;
};

struct ReadCd {
    std::uint8_t sectorType = 0;  // byte 1: the expected sector type
    std::uint32_t lba = 0;
    std::uint32_t blocks = 0;  // 24 bits
    std::uint8_t fields = 0;  // byte 9: sync, headers, user data, EDC/ECC
    CommandBlock Block() const;
};

}  // namespace mmc_cdb
