#pragma once

#include "platform/passthrough/PassThrough.h"

#include <scsi/sg.h>

// The SG_IO request for one command; the device is not touched.
sg_io_hdr_t BuildSgIoHeader(const std::uint8_t* cdb, std::size_t cdbLength, DataDirection direction, void* buffer,
                            std::uint32_t size, std::uint8_t* rawSense, std::uint8_t rawSenseSize,
                            std::uint32_t timeoutSeconds);

// Sense data in fixed format (70h/71h): fixed sense is copied, descriptor
// sense (72h/73h) is converted. Returns the bytes written, 0 for none.
std::size_t ToFixedSense(const std::uint8_t* raw, std::size_t rawLength, std::uint8_t* out, std::size_t outSize);

// What a finished SG_IO says: ioctlErrno is 0 when the ioctl succeeded. The
// sense the drive returned (in rawSense) is written to sense in fixed format.
PassThroughResult InterpretSgIo(const sg_io_hdr_t& header, int ioctlErrno, const std::uint8_t* rawSense,
                                std::uint8_t* sense, std::size_t senseSize);
