#pragma once

#include "core/base/MessageIds.h"

#include <optional>
#include <string>

struct DriveChange;

// The volume notice a WM_DEVICECHANGE message carries: which drive, and
// whether a disc (DBTF_MEDIA) or the drive itself came or went.
constexpr int DBT_DEVTYP_VOLUME = 2;
constexpr int DBTF_MEDIA = 0x0001;

struct DeviceBroadcast {
    int deviceType = DBT_DEVTYP_VOLUME;
    std::string driveText;
    int flags = 0;
};

// A posted message carries numbers only: the notice waits in a process-wide
// table under the number that goes as lParam, until the window takes it. A
// notice never taken (its window was gone) is dropped once the table holds
// more than a few hundred.
LPARAM KeepDeviceBroadcast(DeviceBroadcast notice);
std::optional<DeviceBroadcast> TakeDeviceBroadcast(LPARAM handle);

// The WM_DEVICECHANGE event (wParam) and notice of a drive watcher's change.
WPARAM DeviceChangeEvent(const DriveChange& change);
DeviceBroadcast DeviceBroadcastOf(const DriveChange& change);
