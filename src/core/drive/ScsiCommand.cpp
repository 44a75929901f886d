#include "core/drive/ScsiCommand.h"

#include "core/base/LogFile.h"
#include "core/drive/Device.h"

#include <cassert>
#include <cerrno>

namespace {
constexpr std::uint16_t kRequestLength = sizeof(ScsiPassThroughRequest);
constexpr std::uint8_t kSenseInfoLength = 18;
constexpr std::size_t kDeviceTextLimit = 95;
constexpr int kCdbBytes = 16;
}  // namespace

CScsiCommand::CScsiCommand(std::shared_ptr<DeviceOpener> opener) : m_pOpener(std::move(opener))
{
}

CScsiCommand::~CScsiCommand()
{
    ReleaseComposing();
}

void CScsiCommand::SetDeviceOpener(std::shared_ptr<DeviceOpener> opener)
{
    std::lock_guard lock(m_mutex);
    m_pOpener = std::move(opener);
}

void CScsiCommand::ClaimForComposing()
{
    if (m_composer.load() == std::this_thread::get_id())
        return;
    m_mutex.lock();
    m_composer = std::this_thread::get_id();
}

void CScsiCommand::ReleaseComposing()
{
    if (m_composer.load() != std::this_thread::get_id())
        return;
    m_composer = std::thread::id();
    m_mutex.unlock();
}

std::uint8_t* CScsiCommand::Cdb(int index)
{
    // The command's first byte claims the channel; its further bytes are
    // written by the thread that holds it, so they need no check of their own.
    if (index == 0) {
        ClaimForComposing();
        m_block = ScsiRequestBlock{};
        m_block.request.Length = kRequestLength;
        m_block.request.SenseInfoLength = kSenseInfoLength;
        m_block.request.DataIn = static_cast<std::uint8_t>(DataDirection::None);
        m_block.request.TimeOutValue = kScsiTimeoutSeconds;
        m_block.request.SenseInfoOffset = kRequestLength;
        m_pDataBuffer = nullptr;
        m_nResidual = 0;
        m_lastError = PassThroughError::None;
        m_strLastError.clear();
        m_bCdbIndexInvalid = false;
    }
    assert(index == 0 || m_composer.load(std::memory_order_relaxed) == std::this_thread::get_id());
    if (index < 0 || index >= kCdbBytes) {
        // Never write past the CDB; the command is refused when it is executed.
        m_bCdbIndexInvalid = true;
        return &m_scratchByte;
    }
    m_block.request.CdbLength = static_cast<std::uint8_t>(index + 1);
    return &m_block.request.Cdb[index];
}

void CScsiCommand::SetTimeout(std::uint32_t seconds)
{
    ClaimForComposing();
    m_block.request.TimeOutValue = seconds;
}

std::uint8_t* CScsiCommand::GetSenseBuffer()
{
    return m_block.sense;
}

int CScsiCommand::Fail(PassThroughError error, std::string text)
{
    m_lastError = error;
    m_strLastError = std::move(text);
    return 1;
}

int CScsiCommand::Execute(DataDirection direction, void* buffer, std::uint32_t length)
{
    std::unique_lock lock(m_mutex);
    const int result = Send(direction, buffer, length);
    ReleaseComposing();
    if (result != 0)
        TellFailureWatch();
    return result;
}

void CScsiCommand::SetFailureWatch(FailureWatch* watch)
{
    std::lock_guard lock(m_mutex);
    m_pFailureWatch = watch;
    m_watchingThread = std::this_thread::get_id();
}

void CScsiCommand::TellFailureWatch()
{
    if (!m_pFailureWatch || m_bTellingWatch || m_watchingThread != std::this_thread::get_id())
        return;
    // What the caller reads of its failed command after Execute.
    const ScsiRequestBlock block = m_block;
    void* const data = m_pDataBuffer;
    const std::uint32_t residual = m_nResidual;
    const PassThroughError error = m_lastError;
    const std::string errorText = m_strLastError;
    const bool invalidIndex = m_bCdbIndexInvalid;
    m_bTellingWatch = true;
    try {
        m_pFailureWatch->CommandFailed(*this);
    } catch (...) {
        m_bTellingWatch = false;
        throw;
    }
    m_bTellingWatch = false;
    m_block = block;
    m_pDataBuffer = data;
    m_nResidual = residual;
    m_lastError = error;
    m_strLastError = errorText;
    m_bCdbIndexInvalid = invalidIndex;
}

int CScsiCommand::Send(DataDirection direction, void* buffer, std::uint32_t length)
{
    if (!m_pDrive) {
        const CDevice* current = GetCurrentDevice();
        if (!current)
            return Fail(PassThroughError::InvalidRequest, "no drive is selected");
        associate(current->m_strDriveText);
    }
    ScsiPassThroughRequest& request = m_block.request;
    m_pDataBuffer = buffer;
    request.DataTransferLength = length;
    request.DataIn = static_cast<std::uint8_t>(direction);
    if (!m_pDrive)
        return Fail(PassThroughError::Transport, m_lastOpenFailure.text);
    if (m_bCdbIndexInvalid || request.CdbLength == 0)
        return Fail(PassThroughError::InvalidRequest, "the CDB was not composed within its 16 bytes");
    if (static_cast<std::uint8_t>(direction) > static_cast<std::uint8_t>(DataDirection::None))
        return Fail(PassThroughError::InvalidRequest, "the data direction is not 0, 1 or 2");
    if (!buffer && length != 0)
        return Fail(PassThroughError::InvalidRequest, "a transfer without a buffer");
    const PassThroughResult result = m_pDrive->Execute(request.Cdb, request.CdbLength, direction, buffer, length,
                                                       m_block.sense, request.SenseInfoLength, request.TimeOutValue);
    request.ScsiStatus = result.scsiStatus;
    m_nResidual = result.residual;
    if (!result.Delivered())
        return Fail(result.error, result.reason);
    return (m_block.sense[0] & 0x70) != 0 ? 1 : 0;
}

bool CScsiCommand::associate(const std::string& driveText)
{
    std::lock_guard lock(m_mutex);
    if (m_pDrive)
        return true;
    m_strDevicePath = driveText.substr(0, kDeviceTextLimit);
    m_lastOpenFailure = DeviceOpenFailure{};
    if (m_pOpener)
        m_pDrive = m_pOpener->Open(m_strDevicePath, m_lastOpenFailure);
    else
        m_lastOpenFailure = {ENODEV, "no drive access is set up"};
    if (!m_pDrive) {
        LogEntry("associate - cannot open " + m_strDevicePath + ": " + m_lastOpenFailure.text);
        return false;
    }
    LogEntry("associate -  handle created");
    return true;
}

void CScsiCommand::CloseAssociateHandle()
{
    std::lock_guard lock(m_mutex);
    if (m_pDrive) {
        m_pDrive.reset();
        DisableMCN(false);
    }
    LogEntry("CloseAssociateHandle -  handle closed");
}

int CScsiCommand::ExecuteAndClose(DataDirection direction, void* buffer, std::uint32_t length)
{
    std::lock_guard lock(m_mutex);
    const int result = Execute(direction, buffer, length);
    CloseAssociateHandle();
    return result;
}

void CScsiCommand::CloseIfOpen()
{
    std::lock_guard lock(m_mutex);
    if (m_pDrive)
        CloseAssociateHandle();
}

bool CScsiCommand::IsOpen() const
{
    std::lock_guard lock(m_mutex);
    return m_pDrive != nullptr;
}

void CScsiCommand::FollowCurrentDevice(CDevice* const* current)
{
    std::lock_guard lock(m_mutex);
    m_ppCurrentDevice = current;
}

const CDevice* CScsiCommand::GetCurrentDevice() const
{
    std::lock_guard lock(m_mutex);
    return m_ppCurrentDevice ? *m_ppCurrentDevice : nullptr;
}

int CScsiCommand::LockAndDismountVolume()
{
    std::lock_guard lock(m_mutex);
    if (!m_pDrive)
        return 0;
    std::string error;
    if (m_pDrive->LockVolume(&error) && m_pDrive->DismountVolume(&error))
        return 1;
    LogEntry("LockAndDismountVolume - " + error);
    return 0;
}

int CScsiCommand::UnlockVolume()
{
    std::lock_guard lock(m_mutex);
    if (!m_pDrive)
        return 0;
    std::string error;
    return m_pDrive->UnlockVolume(&error) ? 1 : 0;
}

int CScsiCommand::DisableMCN(bool disable)
{
    std::lock_guard lock(m_mutex);
    if (disable) {
        LogEntry("DisableMCN(TRUE)");
        if (!m_pMcnControl && m_pOpener) {
            DeviceOpenFailure failure;
            m_pMcnControl = m_pOpener->OpenMediaChangeControl(m_strDevicePath, failure);
        }
        if (!m_pMcnControl) {
            LogEntry("DisableMCN - Unexpected result from CreateFile, failed to change MCN status");
            return -1;
        }
    } else {
        if (!m_pMcnControl)
            return 0;
        LogEntry("DisableMCN(FALSE)");
    }
    std::string error;
    std::string note;
    const bool done = m_pMcnControl->SetNotificationDisabled(disable, &error, &note);
    if (!note.empty())
        LogEntry("DisableMCN - " + note);
    if (done) {
        LogEntry(disable ? "DisableMCN - MCN disabled" : "DisableMCN - MCN enabled");
    } else {
        LogEntry("GetLastError() returned - " + error);
        LogEntry(disable ? "DisableMCN - Failed to disable MCN" : "DisableMCN - Failed to enable MCN");
    }
    if (!disable)
        m_pMcnControl.reset();
    return done ? 1 : 0;
}
