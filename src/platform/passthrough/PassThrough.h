#pragma once

#include "scsi/DataDirection.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

enum class PassThroughError {
    None,  // the command reached the drive and ended; sense tells how
    KernelRefused,  // EPERM/EACCES: the kernel would not pass the command on
    Transport,  // the command or its answer was lost; no sense
    InvalidRequest,  // refused before it was sent (a transfer the drive cannot take ...)
};

// Why the kernel refuses a command that needs more rights than an open node gives.
extern const char* const kKernelRefusedReason;

struct PassThroughResult {
    PassThroughError error = PassThroughError::None;
    std::uint8_t scsiStatus = 0;
    std::size_t senseLength = 0;  // fixed-format sense bytes written for the caller
    std::uint32_t residual = 0;  // bytes of the transfer that did not move
    std::string reason;  // for every error other than None

    bool Delivered() const { return error == PassThroughError::None; }
    static PassThroughResult Failed(PassThroughError failure, std::string why)
    {
        PassThroughResult result;
        result.error = failure;
        result.reason = std::move(why);
        return result;
    }
};

// One open optical drive that takes SCSI commands.
class PassThrough {
public:
    virtual ~PassThrough() = default;

    // Sends one CDB. Sense comes back in fixed format, and only when the drive
    // returned some: the sense buffer is left as it was otherwise.
    virtual PassThroughResult Execute(const std::uint8_t* cdb, std::size_t cdbLength, DataDirection direction,
                                      void* buffer, std::uint32_t size, std::uint8_t* sense, std::size_t senseSize,
                                      std::uint32_t timeoutSeconds)
        = 0;

    // Keeps every other user and mount away from the volume until UnlockVolume.
    virtual bool LockVolume(std::string* error) = 0;
    // Makes sure no file system uses the volume; only after LockVolume.
    virtual bool DismountVolume(std::string* error) = 0;
    virtual bool UnlockVolume(std::string* error) = 0;
};

// The system's media-change notification for one drive, switched off while
// this object holds it off. It is switched back on at the latest when the
// object goes.
class MediaChangeControl {
public:
    virtual ~MediaChangeControl() = default;
    // False on failure (error says why). A drive whose notification cannot be
    // changed here succeeds with a note saying so.
    virtual bool SetNotificationDisabled(bool disabled, std::string* error, std::string* note) = 0;
};

struct DeviceOpenFailure {
    int errorNumber = 0;
    std::string text;
};

// Opens drives by their drive text ("sr0", or an emulated drive's name).
class DeviceOpener {
public:
    virtual ~DeviceOpener() = default;
    virtual std::unique_ptr<PassThrough> Open(const std::string& driveText, DeviceOpenFailure& failure) = 0;
    virtual std::unique_ptr<MediaChangeControl>
    OpenMediaChangeControl(const std::string& driveText, DeviceOpenFailure& failure) = 0;
    // The storage bus the system reports for the drive; -1 when unknown.
    virtual int QueryBusType(const std::string& driveText) = 0;
};
