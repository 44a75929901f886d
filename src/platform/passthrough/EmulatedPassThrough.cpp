#include "platform/passthrough/EmulatedPassThrough.h"

#include "emu/EmulatedDrive.h"
#include "platform/files/SafeFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr const char* kNotLocked = "the emulated volume is not locked";

class NoMediaChangeControl : public MediaChangeControl {
public:
    bool SetNotificationDisabled(bool, std::string*, std::string*) override { return true; }
};

}  // namespace

PassThroughResult EmulatedPassThrough::Execute(const std::uint8_t* cdb, std::size_t cdbLength, DataDirection direction,
                                               void* buffer, std::uint32_t size, std::uint8_t* sense,
                                               std::size_t senseSize, std::uint32_t)
{
    const emu::CommandResult answer = m_drive->Execute(cdb, cdbLength, direction, static_cast<std::uint8_t*>(buffer),
                                                       buffer ? size : 0);
    PassThroughResult result;
    result.residual = size - static_cast<std::uint32_t>(std::min<std::size_t>(answer.transferred, size));
    switch (answer.outcome) {
    case emu::Outcome::Good: break;
    case emu::Outcome::CheckCondition:
        result.scsiStatus = 0x02;
        result.senseLength = std::min(senseSize, answer.sense.size());
        if (sense)
            std::memcpy(sense, answer.sense.data(), result.senseLength);
        break;
    case emu::Outcome::PermissionDenied:
        return PassThroughResult::Failed(PassThroughError::KernelRefused, kKernelRefusedReason);
    case emu::Outcome::TransportFailure:
        return PassThroughResult::Failed(PassThroughError::Transport,
                                         "the emulated drive's transport failed: no status, no sense");
    case emu::Outcome::DeviceGone:
        // As SG_IO answers for a drive unplugged while its node is open.
        return PassThroughResult::Failed(PassThroughError::Transport, "SG_IO failed: " + ErrnoText(ENODEV));
    }
    return result;
}

bool EmulatedPassThrough::LockVolume(std::string*)
{
    m_locked = true;
    return true;
}

bool EmulatedPassThrough::DismountVolume(std::string* error)
{
    if (!m_locked && error)
        *error = kNotLocked;
    return m_locked;
}

bool EmulatedPassThrough::UnlockVolume(std::string* error)
{
    if (!m_locked && error)
        *error = kNotLocked;
    const bool wasLocked = m_locked;
    m_locked = false;
    return wasLocked;
}

void EmulatedDeviceOpener::Add(const std::string& driveText, std::shared_ptr<emu::EmulatedDrive> drive)
{
    if (!m_drives.count(driveText))
        m_names.push_back(driveText);
    m_drives[driveText] = std::move(drive);
}

std::shared_ptr<emu::EmulatedDrive> EmulatedDeviceOpener::Find(const std::string& driveText) const
{
    const auto found = m_drives.find(driveText);
    return found == m_drives.end() ? nullptr : found->second;
}

std::unique_ptr<PassThrough> EmulatedDeviceOpener::Open(const std::string& driveText, DeviceOpenFailure& failure)
{
    if (auto drive = Find(driveText))
        return std::make_unique<EmulatedPassThrough>(std::move(drive));
    if (m_fallback)
        return m_fallback->Open(driveText, failure);
    failure = {ENOENT, "no drive is named \"" + driveText + "\""};
    return nullptr;
}

std::unique_ptr<MediaChangeControl> EmulatedDeviceOpener::OpenMediaChangeControl(const std::string& driveText,
                                                                                 DeviceOpenFailure& failure)
{
    if (Find(driveText))
        return std::make_unique<NoMediaChangeControl>();
    if (m_fallback)
        return m_fallback->OpenMediaChangeControl(driveText, failure);
    failure = {ENOENT, "no drive is named \"" + driveText + "\""};
    return nullptr;
}

int EmulatedDeviceOpener::QueryBusType(const std::string& driveText)
{
    if (const auto drive = Find(driveText))
        return drive->Identity().busType;
    return m_fallback ? m_fallback->QueryBusType(driveText) : -1;
}
