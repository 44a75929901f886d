#include "core/app/DeviceBroadcast.h"

#include "platform/devices/DriveWatcher.h"

#include <map>
#include <mutex>

namespace {

constexpr std::size_t kMaxKeptNotices = 256;

struct NoticeTable {
    std::mutex mutex;
    std::map<LPARAM, DeviceBroadcast> notices;
    LPARAM next = 1;
};

NoticeTable& Table()
{
    static NoticeTable table;
    return table;
}

}  // namespace

LPARAM KeepDeviceBroadcast(DeviceBroadcast notice)
{
    NoticeTable& table = Table();
    std::lock_guard lock(table.mutex);
    if (table.notices.size() >= kMaxKeptNotices)
        table.notices.erase(table.notices.begin());  // the oldest
    const LPARAM handle = table.next++;
    table.notices.emplace(handle, std::move(notice));
    return handle;
}

std::optional<DeviceBroadcast> TakeDeviceBroadcast(LPARAM handle)
{
    NoticeTable& table = Table();
    std::lock_guard lock(table.mutex);
    const auto it = table.notices.find(handle);
    if (it == table.notices.end())
        return std::nullopt;
    DeviceBroadcast notice = std::move(it->second);
    table.notices.erase(it);
    return notice;
}

WPARAM DeviceChangeEvent(const DriveChange& change)
{
    return change.arrival ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE;
}

DeviceBroadcast DeviceBroadcastOf(const DriveChange& change)
{
    return {DBT_DEVTYP_VOLUME, change.driveText, change.media ? DBTF_MEDIA : 0};
}
