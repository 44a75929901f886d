#pragma once

#include "platform/passthrough/PassThrough.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace emu {
class EmulatedDrive;
}  // namespace emu

// A PassThrough answered by an emulated drive. Volume locks and media change
// notification have no system behind them here: they succeed and do nothing.
class EmulatedPassThrough : public PassThrough {
public:
    explicit EmulatedPassThrough(std::shared_ptr<emu::EmulatedDrive> drive) : m_drive(std::move(drive)) {}

    PassThroughResult Execute(const std::uint8_t* cdb, std::size_t cdbLength, DataDirection direction, void* buffer,
                              std::uint32_t size, std::uint8_t* sense, std::size_t senseSize,
                              std::uint32_t timeoutSeconds) override;
    bool LockVolume(std::string* error) override;
    bool DismountVolume(std::string* error) override;
    bool UnlockVolume(std::string* error) override;

private:
    std::shared_ptr<emu::EmulatedDrive> m_drive;
    bool m_locked = false;
};

// Opens emulated drives by the names they were added under; any other name
// goes to the fallback opener (the machine's drives), when there is one.
class EmulatedDeviceOpener : public DeviceOpener {
public:
    explicit EmulatedDeviceOpener(std::shared_ptr<DeviceOpener> fallback = nullptr) : m_fallback(std::move(fallback)) {}

    void Add(const std::string& driveText, std::shared_ptr<emu::EmulatedDrive> drive);
    // The names in the order they were added.
    const std::vector<std::string>& DriveTexts() const { return m_names; }

    std::unique_ptr<PassThrough> Open(const std::string& driveText, DeviceOpenFailure& failure) override;
    std::unique_ptr<MediaChangeControl> OpenMediaChangeControl(const std::string& driveText,
                                                               DeviceOpenFailure& failure) override;
    int QueryBusType(const std::string& driveText) override;

private:
    std::shared_ptr<emu::EmulatedDrive> Find(const std::string& driveText) const;

    std::shared_ptr<DeviceOpener> m_fallback;
    std::map<std::string, std::shared_ptr<emu::EmulatedDrive>> m_drives;
    std::vector<std::string> m_names;
};
