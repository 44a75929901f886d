#pragma once

#include "platform/blockio/DiskIdentity.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// What a disk, a loop device or an image file holds, as the disk tools see it.
struct BlockGeometry {
    std::uint64_t sizeBytes = 0;
    std::uint32_t logicalSectorSize = 512;  // the smallest unit the device reads and writes
    std::uint32_t physicalSectorSize = 512;
};

// One transfer: the bytes moved, and the errno of a failure (0 when none).
struct BlockIo {
    std::size_t bytes = 0;
    int error = 0;
    bool Ok() const { return error == 0; }
};

enum class BlockAccess { Read, ReadWrite };

// Raw access to a whole device. Positions are byte offsets from its start.
class BlockDevice {
public:
    virtual ~BlockDevice() = default;

    virtual const std::string& Path() const = 0;
    virtual BlockGeometry Geometry() const = 0;
    // One read of up to length bytes at offset. Fewer come back at the end of
    // the device, or where the device delivers less; a failure gives the
    // errno and no bytes.
    virtual BlockIo ReadAt(std::uint64_t offset, void* buffer, std::size_t length) = 0;
    // Writes all length bytes at offset, or fails (never past the end).
    virtual BlockIo WriteAt(std::uint64_t offset, const void* buffer, std::size_t length) = 0;
    // Makes what was written durable: 0 or the errno.
    virtual int Flush() = 0;
    // Whether reads come from the device itself rather than from memory.
    virtual bool BypassesCache() const = 0;
    // Which disk this is, taken when it was opened.
    virtual DiskIdentity Identity() const { return {}; }
    // The size the device reports now (0 when it no longer answers); a disk
    // that went away or lost its medium shrinks.
    virtual std::uint64_t SizeNow() { return Geometry().sizeBytes; }
};

struct BlockOpenResult {
    std::unique_ptr<BlockDevice> device;
    int error = 0;
    std::string message;  // why it could not be opened, naming the device
};

using BlockDeviceOpener = std::function<BlockOpenResult(const std::string& path, BlockAccess access)>;

// Opens a block device (a disk, a loop device) or a regular file. Reads and
// writes bypass the page cache (O_DIRECT) where the file system allows it,
// so that reading again tests the device, not memory; where it refuses (as
// tmpfs does) the device is opened without and says so in the log. A block
// device opened for writing is opened exclusively (it fails while mounted),
// and a write-protected one is not opened for writing (EROFS).
BlockOpenResult OpenBlockDevice(const std::string& path, BlockAccess access);

// The message for a device that could not be opened: the device, the reason,
// and where the node's permissions refused it (EACCES) what is needed (group
// "disk" or root); a refusal of the system's own (EPERM) is named as such.
std::string DescribeOpenFailure(const std::string& path, int error, BlockAccess access);

// Whether a failed transfer is the medium's fault (an unreadable sector)
// rather than the device's or the program's.
bool IsMediaError(int error);

// A buffer aligned for direct transfers. Empty when it could not be allocated.
class AlignedBuffer {
public:
    static constexpr std::size_t kAlignment = 4096;

    AlignedBuffer() = default;
    explicit AlignedBuffer(std::size_t size);
    AlignedBuffer(AlignedBuffer&& other) noexcept;
    AlignedBuffer& operator=(AlignedBuffer&& other) noexcept;
    AlignedBuffer(const AlignedBuffer&) = delete;
    AlignedBuffer& operator=(const AlignedBuffer&) = delete;
    ~AlignedBuffer();

    std::uint8_t* Data() const { return m_data; }
    std::size_t Size() const { return m_size; }
    explicit operator bool() const { return m_data != nullptr; }

private:
    std::uint8_t* m_data = nullptr;
    std::size_t m_size = 0;
};
