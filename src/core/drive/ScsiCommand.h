#pragma once

#include "platform/passthrough/PassThrough.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

class CDevice;

// The pass-through request the channel composes: a 44-byte request in the
// layout of the 32-bit pass-through header, then a 20-byte sense area.
struct ScsiPassThroughRequest {
    std::uint16_t Length;
    std::uint8_t ScsiStatus;
    std::uint8_t PathId;
    std::uint8_t TargetId;
    std::uint8_t Lun;
    std::uint8_t CdbLength;
    std::uint8_t SenseInfoLength;
    std::uint8_t DataIn;
    std::uint8_t Padding[3];
    std::uint32_t DataTransferLength;
    std::uint32_t TimeOutValue;
    std::uint32_t DataBuffer;  // a 32-bit slot; the buffer pointer is kept beside the block
    std::uint32_t SenseInfoOffset;
    std::uint8_t Cdb[16];
};

struct ScsiRequestBlock {
    ScsiPassThroughRequest request;
    std::uint8_t sense[20];
};
static_assert(sizeof(ScsiPassThroughRequest) == 44 && sizeof(ScsiRequestBlock) == 64);
static_assert(offsetof(ScsiPassThroughRequest, DataTransferLength) == 12
              && offsetof(ScsiPassThroughRequest, SenseInfoOffset) == 24
              && offsetof(ScsiPassThroughRequest, Cdb) == 28);

constexpr std::uint32_t kScsiTimeoutSeconds = 108000;  // long formats and erases must never time out

class CScsiCommand;

// Told of each failed command of the thread that set it on the channel.
class FailureWatch {
public:
    virtual ~FailureWatch() = default;
    // The command's answer is in the channel. Commands sent from here go out
    // unwatched, and the failed command's answer is put back afterwards; an
    // exception leaves the failed command's Execute.
    virtual void CommandFailed(CScsiCommand& channel) = 0;
};

// The one channel through which the program sends CDBs to an optical drive.
// It keeps one drive open at a time and opens the current drive by itself
// when no drive is open: the record it follows (the drive list's current
// drive), read at that moment, so the channel holds no drive record of its
// own. A command is Cdb(0) (which resets the request and the previous
// sense), the further bytes in ascending order, then Execute.
//
// One mutex covers each whole command: the thread that calls Cdb(0) holds
// the channel until its Execute ends, so commands of worker threads and of
// the user interface never interleave; only that thread writes the further
// bytes (checked in debug builds). A caller that reads the sense after
// Execute, or sends a sequence that must not be split, holds Lock() around it.
class CScsiCommand {
public:
    CScsiCommand() = default;
    explicit CScsiCommand(std::shared_ptr<DeviceOpener> opener);
    ~CScsiCommand();
    CScsiCommand(const CScsiCommand&) = delete;
    CScsiCommand& operator=(const CScsiCommand&) = delete;

    void SetDeviceOpener(std::shared_ptr<DeviceOpener> opener);

    // Byte index of the CDB (0-15); index 0 clears the whole request block.
    // The CDB length becomes index + 1 on every call.
    std::uint8_t* Cdb(int index);
    // 0 when the command completed without sense data, 1 on any failure.
    int Execute(DataDirection direction, void* buffer, std::uint32_t length);
    // The time the command being composed may take before the kernel aborts
    // it (after Cdb(0), which sets kScsiTimeoutSeconds, and before Execute).
    void SetTimeout(std::uint32_t seconds);
    std::uint8_t* GetSenseBuffer();
    bool associate(const std::string& driveText);
    void CloseAssociateHandle();
    int ExecuteAndClose(DataDirection direction, void* buffer, std::uint32_t length);
    void CloseIfOpen();
    int LockAndDismountVolume();
    int UnlockVolume();
    int DisableMCN(bool disable);

    // Where the current drive is kept: the channel opens the record this
    // points at when it has no drive open; null (or pointing at null): none.
    void FollowCurrentDevice(CDevice* const* current);
    const CDevice* GetCurrentDevice() const;
    bool IsOpen() const;
    const ScsiRequestBlock& RequestBlock() const { return m_block; }
    void* DataBuffer() const { return m_pDataBuffer; }
    const std::string& DevicePath() const { return m_strDevicePath; }

    // Why the last Execute failed when the drive returned no sense: the
    // kernel refused it, it was lost, it could not be sent. Cleared by Cdb(0).
    PassThroughError LastError() const { return m_lastError; }
    const std::string& LastErrorText() const { return m_strLastError; }
    // Why the last associate could not open the drive.
    const DeviceOpenFailure& LastOpenFailure() const { return m_lastOpenFailure; }
    std::uint32_t Residual() const { return m_nResidual; }

    std::unique_lock<std::recursive_mutex> Lock() { return std::unique_lock(m_mutex); }

    // From now on every command of the calling thread that fails is told to
    // the watch; null ends the watching.
    void SetFailureWatch(FailureWatch* watch);

private:
    void ClaimForComposing();
    void ReleaseComposing();
    int Send(DataDirection direction, void* buffer, std::uint32_t length);
    int Fail(PassThroughError error, std::string text);
    void TellFailureWatch();

    std::string m_strDevicePath;
    std::unique_ptr<PassThrough> m_pDrive;
    ScsiRequestBlock m_block{};
    void* m_pDataBuffer = nullptr;
    std::unique_ptr<MediaChangeControl> m_pMcnControl;
    CDevice* const* m_ppCurrentDevice = nullptr;
    std::uint32_t m_nResidual = 0;

    std::shared_ptr<DeviceOpener> m_pOpener;
    PassThroughError m_lastError = PassThroughError::None;
    std::string m_strLastError;
    DeviceOpenFailure m_lastOpenFailure;
    bool m_bCdbIndexInvalid = false;
    std::uint8_t m_scratchByte = 0;

    FailureWatch* m_pFailureWatch = nullptr;
    std::thread::id m_watchingThread;
    bool m_bTellingWatch = false;

    mutable std::recursive_mutex m_mutex;
    std::atomic<std::thread::id> m_composer{};
};
