#pragma once

// A drive whose every answer comes from the fuzz input, and the main
// window's core with that drive current. Each command takes from the input:
// one byte of outcome (mod 4: 0 data, 1 CHECK CONDITION, 2 lost, 3 the whole
// transfer in zeros), then for data a big-endian 16-bit length and that
// many bytes (cut to the transfer and to the input), for CHECK CONDITION
// three bytes of sense key, ASC and ASCQ. Once the input ends, every
// command is lost. The seeds are runs on the emulated drives recorded in
// this form (large reads, whose bytes no reader looks at, as zeros).

#include "core/app/MainDialogCore.h"
#include "core/base/WaitClock.h"
#include "core/drive/CommandBlock.h"
#include "scsi/Opcodes.h"
#include "platform/passthrough/PassThrough.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <span>
#include <string>

namespace fuzzdrive {

enum Outcome : std::uint8_t { kData = 0, kCheckCondition = 1, kLost = 2, kZeros = 3 };
// Larger answers are recorded as zeros.
constexpr std::size_t kLongestRecordedAnswer = 4096;

// Time moves on by the waits asked for and a millisecond a command, as a
// drive takes time to answer.
class FuzzClock : public WaitClock {
public:
    std::uint64_t NowMs() const override { return m_nowMs; }
    void SleepMs(std::uint32_t milliseconds) override { m_nowMs += milliseconds; }
    void Tick() { ++m_nowMs; }

private:
    std::uint64_t m_nowMs = 0;
};

class NoMediaChangeControl : public MediaChangeControl {
public:
    bool SetNotificationDisabled(bool, std::string*, std::string*) override { return true; }
};

// The answers of the input, in order.
class InputAnswers : public PassThrough {
public:
    InputAnswers(std::span<const std::uint8_t> input, std::shared_ptr<FuzzClock> clock) :
        m_input(input), m_clock(std::move(clock))
    {
    }

    PassThroughResult Execute(const std::uint8_t*, std::size_t, DataDirection direction, void* buffer,
                              std::uint32_t size, std::uint8_t* sense, std::size_t senseSize, std::uint32_t) override
    {
        m_clock->Tick();
        if (m_at >= m_input.size())
            return PassThroughResult::Failed(PassThroughError::Transport, "the input has ended");
        PassThroughResult result;
        result.residual = size;
        switch (m_input[m_at++] % 4) {
        case kData: {
            std::size_t length = 0;
            if (m_at + 2 <= m_input.size())
                length = std::size_t{m_input[m_at]} << 8 | m_input[m_at + 1];
            m_at = std::min(m_at + 2, m_input.size());
            length = std::min(length, m_input.size() - m_at);
            const std::size_t copied = direction == DataDirection::In && buffer ? std::min<std::size_t>(length, size)
                                                                                : 0;
            if (copied > 0)
                std::memcpy(buffer, m_input.data() + m_at, copied);
            m_at += length;
            result.residual = size - static_cast<std::uint32_t>(copied);
            break;
        }
        case kCheckCondition: {
            std::uint8_t fixed[18] = {0x70};
            fixed[7] = 10;
            for (int i = 0; i < 3 && m_at < m_input.size(); ++i)
                fixed[i == 0 ? 2 : 11 + i] = m_input[m_at++];
            fixed[2] &= 0x0F;
            result.scsiStatus = 0x02;
            result.senseLength = std::min(senseSize, sizeof fixed);
            if (sense)
                std::memcpy(sense, fixed, result.senseLength);
            break;
        }
        case kLost: return PassThroughResult::Failed(PassThroughError::Transport, "lost");
        default:
            if (direction == DataDirection::In && buffer)
                std::memset(buffer, 0, size);
            result.residual = 0;
            break;
        }
        return result;
    }
    bool LockVolume(std::string*) override { return true; }
    bool DismountVolume(std::string*) override { return true; }
    bool UnlockVolume(std::string*) override { return true; }

private:
    std::span<const std::uint8_t> m_input;
    std::size_t m_at = 0;
    std::shared_ptr<FuzzClock> m_clock;
};

// Another drive's answers written down as InputAnswers reads them back.
class RecordingPassThrough : public PassThrough {
public:
    RecordingPassThrough(std::unique_ptr<PassThrough> drive, std::string& record) :
        m_drive(std::move(drive)), m_record(record)
    {
    }

    PassThroughResult Execute(const std::uint8_t* cdb, std::size_t cdbLength, DataDirection direction, void* buffer,
                              std::uint32_t size, std::uint8_t* sense, std::size_t senseSize,
                              std::uint32_t timeoutSeconds) override
    {
        const PassThroughResult result = m_drive->Execute(cdb, cdbLength, direction, buffer, size, sense, senseSize,
                                                          timeoutSeconds);
        if (!result.Delivered()) {
            m_record.push_back(static_cast<char>(kLost));
        } else if (result.senseLength > 0 && sense) {
            m_record.push_back(static_cast<char>(kCheckCondition));
            m_record.push_back(static_cast<char>(sense[2] & 0x0F));
            m_record.push_back(static_cast<char>(sense[12]));
            m_record.push_back(static_cast<char>(sense[13]));
        } else if (direction == DataDirection::In && buffer && size > result.residual
                   && (result.residual > 0 || size <= kLongestRecordedAnswer)) {
            const std::size_t length = std::min<std::size_t>(size - result.residual, 0xFFFF);
            m_record.push_back(static_cast<char>(kData));
            m_record.push_back(static_cast<char>(length >> 8));
            m_record.push_back(static_cast<char>(length & 0xFF));
            m_record.append(static_cast<const char*>(buffer), length);
        } else {
            m_record.push_back(static_cast<char>(kZeros));
        }
        return result;
    }
    bool LockVolume(std::string* error) override { return m_drive->LockVolume(error); }
    bool DismountVolume(std::string* error) override { return m_drive->DismountVolume(error); }
    bool UnlockVolume(std::string* error) override { return m_drive->UnlockVolume(error); }

private:
    std::unique_ptr<PassThrough> m_drive;
    std::string& m_record;
};

// One drive however often the channel opens it again.
class SharedDrive : public PassThrough {
public:
    explicit SharedDrive(std::shared_ptr<PassThrough> drive) : m_drive(std::move(drive)) {}
    PassThroughResult Execute(const std::uint8_t* cdb, std::size_t cdbLength, DataDirection direction, void* buffer,
                              std::uint32_t size, std::uint8_t* sense, std::size_t senseSize,
                              std::uint32_t timeoutSeconds) override
    {
        return m_drive->Execute(cdb, cdbLength, direction, buffer, size, sense, senseSize, timeoutSeconds);
    }
    bool LockVolume(std::string* error) override { return m_drive->LockVolume(error); }
    bool DismountVolume(std::string* error) override { return m_drive->DismountVolume(error); }
    bool UnlockVolume(std::string* error) override { return m_drive->UnlockVolume(error); }

private:
    std::shared_ptr<PassThrough> m_drive;
};

// Opens every drive text as the one drive.
class OneDriveOpener : public DeviceOpener {
public:
    explicit OneDriveOpener(std::shared_ptr<PassThrough> drive) : m_drive(std::move(drive)) {}
    std::unique_ptr<PassThrough> Open(const std::string&, DeviceOpenFailure&) override
    {
        return std::make_unique<SharedDrive>(m_drive);
    }
    std::unique_ptr<MediaChangeControl> OpenMediaChangeControl(const std::string&, DeviceOpenFailure&) override
    {
        return std::make_unique<NoMediaChangeControl>();
    }
    int QueryBusType(const std::string&) override { return -1; }

private:
    std::shared_ptr<PassThrough> m_drive;
};

inline DriveSources NoMachine()
{
    DriveSources sources;
    sources.sysBlockRoot = "/nonexistent/quenzario-fuzz/sys";
    sources.devRoot = "/nonexistent/quenzario-fuzz/dev";
    sources.watchIntervalMs = 0;
    return sources;
}

// The main window's core whose current drive is the one `opener` opens,
// its waits on `clock`; the drive record is filled from the drive's INQUIRY
// answer as the drive list fills it.
struct FuzzCore {
    FuzzCore(std::shared_ptr<DeviceOpener> opener, std::shared_ptr<WaitClock> clock) : core(NoMachine())
    {
        DriveContext& drives = core.m_Drives;
        drives.m_ScsiCommand.SetDeviceOpener(std::move(opener));
        drives.mmc.SetWaitClock(std::move(clock));
        auto device = std::make_unique<CDevice>();
        device->m_strDriveText = "fuzz0";
        device->m_nDeviceType = 5;
        drives.list.m_DeviceList.push_back(std::move(device));
        drives.list.m_pCurrentDevice = drives.list.m_DeviceList.back().get();
    }
    CDevice& Record() { return *core.m_Drives.list.m_pCurrentDevice; }
    // INQUIRY as the drive list sends it; the record takes the answer.
    void Inquire()
    {
        CScsiCommand& channel = core.m_Drives.m_ScsiCommand;
        std::uint8_t answer[kInquiryLength] = {};
        const auto lock = channel.Lock();
        if (CommandBlock(mmc::kInquiry)
                .Set(4, kInquiryLength)
                .Execute(channel, DataDirection::In, answer, kInquiryLength)
            == 0)
            Record().TakeInquiry(answer, kInquiryLength - std::min(channel.Residual(), kInquiryLength));
    }

    MainDialogCore core;
};

// Runs `body` on a core whose drive answers from the input.
inline void RunOnInput(const std::uint8_t* data, std::size_t size, const std::function<void(FuzzCore&)>& body)
{
    const auto clock = std::make_shared<FuzzClock>();
    FuzzCore fuzz(std::make_shared<OneDriveOpener>(std::make_shared<InputAnswers>(std::span(data, size), clock)),
                  clock);
    body(fuzz);
}

}  // namespace fuzzdrive
