#pragma once

#include "core/tools/disk/ChosenDisk.h"
#include "core/tools/disk/DiskAccess.h"
#include "platform/blockio/BlockDevice.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

class StopNotice;

// A disk opened for a test, whose open and transfers run on a thread of its
// own so that Stop ends the wait for a device that no longer answers (a hung
// or suspended disk): the call returns ECANCELED at once and the transfer,
// left in the kernel, ends on its own with its result dropped; that thread
// keeps the device and the buffer until then. After a wait was given up
// every call returns ECANCELED. Reads land in the disk's own buffer (Data())
// and writes go from it, so nothing of the caller's is touched once it has
// stopped waiting.
class StoppableDisk {
public:
    // running is the test's flag; a notice wakes a wait when Stop clears it
    // (without one a wait lasts until the transfer ends).
    StoppableDisk(const std::atomic<int>& running, StopNotice* notice);
    ~StoppableDisk();
    StoppableDisk(const StoppableDisk&) = delete;
    StoppableDisk& operator=(const StoppableDisk&) = delete;

    // Opens the node as OpenDisk does: "" when it was opened, else the
    // message (empty too when stopped; Stopped() tells).
    std::string Open(const DiskAccess& access, const std::string& node, BlockAccess mode);
    // Opens the chosen disk as OpenChosenDisk does (refused when its node
    // holds another disk now).
    std::string Open(const DiskAccess& access, const ChosenDisk& chosen, BlockAccess mode);
    bool IsOpen() const { return m_open; }
    // A wait was given up (Stop while a transfer or the open was under way).
    bool Stopped() const { return m_stopped; }

    const BlockGeometry& Geometry() const { return m_geometry; }
    bool BypassesCache() const { return m_bypassesCache; }
    // Room for reads of up to bytes; false when it cannot be allocated.
    bool Reserve(std::size_t bytes);
    // One read of up to length bytes at offset into Data() (see BlockDevice::ReadAt).
    BlockIo Read(std::uint64_t offset, std::size_t length);
    const std::uint8_t* Data() const;
    // Writes length bytes of data at offset (see BlockDevice::WriteAt) from
    // the disk's buffer, which they are copied into first.
    BlockIo Write(std::uint64_t offset, const std::uint8_t* data, std::size_t length);
    // BlockDevice::Flush: 0 or the errno (ECANCELED when stopped).
    int Flush();
    // The size the device reports now; 0 when stopped.
    std::uint64_t SizeNow();

private:
    struct Shared;
    // The disk's thread: runs each job posted until the owner is gone.
    static void Serve(std::shared_ptr<Shared> shared);
    // Runs job on the disk's thread and waits for its end or a stop: false
    // when it was not waited for.
    bool Run(void (*job)(Shared&));
    // A read or write of the buffer's first length bytes at offset by job.
    BlockIo Transfer(std::uint64_t offset, std::size_t length, void (*job)(Shared&));

    std::shared_ptr<Shared> m_shared;
    const std::atomic<int>& m_running;
    StopNotice* m_notice;
    int m_wakeId = 0;
    std::thread m_thread;
    BlockGeometry m_geometry;
    bool m_bypassesCache = false;
    bool m_open = false;
    bool m_stopped = false;
};
