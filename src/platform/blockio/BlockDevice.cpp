#include "platform/blockio/BlockDevice.h"

#include "platform/files/SafeFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr std::size_t kBounceChunk = 1 << 20;

bool IsAligned(std::uint64_t value, std::uint64_t unit)
{
    return unit <= 1 || value % unit == 0;
}

// One pread, again after a signal.
ssize_t ReadOnce(int fd, void* buffer, std::size_t length, std::uint64_t offset)
{
    ssize_t n;
    do {
        n = ::pread(fd, buffer, length, static_cast<off_t>(offset));
    } while (n < 0 && errno == EINTR);
    return n;
}

// Writes every byte or fails.
BlockIo WriteAll(int fd, const std::uint8_t* data, std::size_t length, std::uint64_t offset)
{
    BlockIo io;
    while (io.bytes < length) {
        const ssize_t n = ::pwrite(fd, data + io.bytes, length - io.bytes, static_cast<off_t>(offset + io.bytes));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            io.error = n < 0 ? errno : EIO;
            return io;
        }
        io.bytes += static_cast<std::size_t>(n);
    }
    return io;
}

class PosixBlockDevice final : public BlockDevice {
public:
    PosixBlockDevice(std::string path, int fd, int flags, bool direct, bool regularFile, BlockGeometry geometry,
                     DiskIdentity identity) :
        m_path(std::move(path)),
        m_fd(fd),
        m_flags(flags),
        m_direct(direct),
        m_regularFile(regularFile),
        m_geometry(geometry),
        m_identity(std::move(identity)),
        m_unit(direct ? (regularFile ? AlignedBuffer::kAlignment : geometry.logicalSectorSize) : 1)
    {
    }
    ~PosixBlockDevice() override
    {
        ::close(m_fd);
        if (m_bufferedFd >= 0)
            ::close(m_bufferedFd);
    }

    const std::string& Path() const override { return m_path; }
    BlockGeometry Geometry() const override { return m_geometry; }
    bool BypassesCache() const override { return m_direct; }
    DiskIdentity Identity() const override { return m_identity; }

    std::uint64_t SizeNow() override
    {
        if (m_regularFile) {
            struct stat info {};
            return ::fstat(m_fd, &info) == 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
        }
        std::uint64_t size = 0;
        return ::ioctl(m_fd, BLKGETSIZE64, &size) == 0 ? size : 0;
    }

    BlockIo ReadAt(std::uint64_t offset, void* buffer, std::size_t length) override
    {
        if (length == 0 || offset >= m_geometry.sizeBytes)
            return {};
        if (!m_direct || Aligned(offset, buffer, length)) {
            ssize_t n = ReadOnce(m_fd, buffer, length, offset);
            if (n < 0 && errno == EINVAL && m_direct && m_regularFile && DropDirectIo())
                n = ReadOnce(m_fd, buffer, length, offset);
            if (n < 0)
                return {0, errno};
            if (!m_direct)  // the next read of these bytes goes to the device again where it can
                ::posix_fadvise(m_fd, static_cast<off_t>(offset), n, POSIX_FADV_DONTNEED);
            return {static_cast<std::size_t>(n), 0};
        }
        return ReadThroughBounce(offset, static_cast<std::uint8_t*>(buffer), length);
    }

    BlockIo WriteAt(std::uint64_t offset, const void* buffer, std::size_t length) override
    {
        if (offset > m_geometry.sizeBytes || length > m_geometry.sizeBytes - offset)
            return {0, ENOSPC};
        const auto* data = static_cast<const std::uint8_t*>(buffer);
        if (!m_direct || Aligned(offset, buffer, length))
            return WriteAll(m_fd, data, length, offset);
        if (m_regularFile) {
            // A file's size need not be a whole number of units: its unaligned
            // writes go through the page cache, which direct reads see.
            if (m_bufferedFd < 0)
                m_bufferedFd = ::open(m_path.c_str(), O_WRONLY | O_CLOEXEC);
            if (m_bufferedFd < 0)
                return {0, errno};
            return WriteAll(m_bufferedFd, data, length, offset);
        }
        return WriteThroughBounce(offset, data, length);
    }

    int Flush() override
    {
        for (int fd : {m_fd, m_bufferedFd})
            if (fd >= 0 && ::fdatasync(fd) != 0)
                return errno;
        return 0;
    }

private:
    // A file system that took O_DIRECT at the open but refuses the transfer:
    // the file is opened again without it.
    bool DropDirectIo()
    {
        const int fd = ::open(m_path.c_str(), m_flags);
        if (fd < 0)
            return false;
        ::close(m_fd);
        m_fd = fd;
        m_direct = false;
        m_unit = 1;
        return true;
    }

    bool Aligned(std::uint64_t offset, const void* buffer, std::size_t length) const
    {
        return IsAligned(offset, m_unit) && IsAligned(length, m_unit)
            && IsAligned(reinterpret_cast<std::uintptr_t>(buffer), AlignedBuffer::kAlignment);
    }

    // Reads the aligned units around the range, a chunk at a time, and copies
    // out the part asked for.
    BlockIo ReadThroughBounce(std::uint64_t offset, std::uint8_t* buffer, std::size_t length)
    {
        const std::uint64_t start = offset / m_unit * m_unit;
        const std::uint64_t end = (offset + length + m_unit - 1) / m_unit * m_unit;
        AlignedBuffer bounce(static_cast<std::size_t>(std::min<std::uint64_t>(end - start, kBounceChunk)));
        if (!bounce)
            return {0, ENOMEM};
        BlockIo io;
        for (std::uint64_t at = start; at < end;) {
            const auto ask = static_cast<std::size_t>(std::min<std::uint64_t>(bounce.Size(), end - at));
            const ssize_t n = ReadOnce(m_fd, bounce.Data(), ask, at);
            if (n < 0)
                return {0, errno};
            const std::uint64_t from = std::max(at, offset);
            const std::uint64_t to = std::min(at + static_cast<std::uint64_t>(n), offset + length);
            if (to > from) {
                std::memcpy(buffer + (from - offset), bounce.Data() + (from - at), static_cast<std::size_t>(to - from));
                io.bytes = static_cast<std::size_t>(to - offset);
            }
            if (static_cast<std::size_t>(n) < ask)
                break;
            at += ask;
        }
        return io;
    }

    // Read, change and write the whole units around the range (a block
    // device's size is a whole number of them).
    BlockIo WriteThroughBounce(std::uint64_t offset, const std::uint8_t* data, std::size_t length)
    {
        const std::uint64_t start = offset / m_unit * m_unit;
        const std::uint64_t end = (offset + length + m_unit - 1) / m_unit * m_unit;
        AlignedBuffer bounce(static_cast<std::size_t>(end - start));
        if (!bounce)
            return {0, ENOMEM};
        for (const std::uint64_t unit : {start, end - m_unit}) {
            const ssize_t n = ReadOnce(m_fd, bounce.Data() + (unit - start), m_unit, unit);
            if (n < 0)
                return {0, errno};
            if (static_cast<std::size_t>(n) < m_unit)
                return {0, EIO};
        }
        std::memcpy(bounce.Data() + (offset - start), data, length);
        const BlockIo io = WriteAll(m_fd, bounce.Data(), bounce.Size(), start);
        if (!io.Ok())
            return {0, io.error};
        return {length, 0};
    }

    std::string m_path;
    int m_fd;
    int m_flags;  // of the open, without O_DIRECT
    int m_bufferedFd = -1;
    bool m_direct;
    bool m_regularFile;
    BlockGeometry m_geometry;
    DiskIdentity m_identity;
    std::size_t m_unit;  // of direct transfers: offsets, lengths
};

BlockOpenResult Failure(const std::string& path, int error, BlockAccess access)
{
    BlockOpenResult result;
    result.error = error;
    result.message = DescribeOpenFailure(path, error, access);
    return result;
}

}  // namespace

BlockOpenResult OpenBlockDevice(const std::string& path, BlockAccess access)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return Failure(path, errno, access);
    if (!S_ISBLK(info.st_mode) && !S_ISREG(info.st_mode))
        return Failure(path, ENOTBLK, access);
    int flags = (access == BlockAccess::Read ? O_RDONLY : O_RDWR) | O_CLOEXEC;
    if (S_ISBLK(info.st_mode) && access == BlockAccess::ReadWrite)
        flags |= O_EXCL;  // refused while a file system on it is mounted
    bool direct = true;
    int fd = ::open(path.c_str(), flags | O_DIRECT);
    if (fd < 0 && errno == EINVAL) {  // the file system does not do direct I/O
        direct = false;
        fd = ::open(path.c_str(), flags);
    }
    if (fd < 0)
        return Failure(path, errno, access);
    BlockGeometry geometry;
    bool regular = false;
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        return Failure(path, error, access);
    }
    if (S_ISBLK(info.st_mode)) {
        std::uint64_t size = 0;
        int logical = 0;
        unsigned int physical = 0;
        if (::ioctl(fd, BLKGETSIZE64, &size) != 0 || ::ioctl(fd, BLKSSZGET, &logical) != 0
            || ::ioctl(fd, BLKPBSZGET, &physical) != 0) {
            const int error = errno;
            ::close(fd);
            return Failure(path, error, access);
        }
        // The kernel opens a write-protected disk for writing and refuses each write.
        int readOnly = 0;
        if (access == BlockAccess::ReadWrite && ::ioctl(fd, BLKROGET, &readOnly) == 0 && readOnly != 0) {
            ::close(fd);
            return Failure(path, EROFS, access);
        }
        geometry.sizeBytes = size;
        geometry.logicalSectorSize = logical > 0 ? static_cast<std::uint32_t>(logical) : 512;
        geometry.physicalSectorSize = physical > 0 ? physical : geometry.logicalSectorSize;
    } else if (S_ISREG(info.st_mode)) {
        regular = true;
        geometry.sizeBytes = static_cast<std::uint64_t>(info.st_size);
        geometry.logicalSectorSize = 512;
        geometry.physicalSectorSize = info.st_blksize > 0 ? static_cast<std::uint32_t>(info.st_blksize) : 512;
    } else {
        ::close(fd);
        return Failure(path, ENOTBLK, access);
    }
    BlockOpenResult result;
    result.device = std::make_unique<PosixBlockDevice>(path, fd, flags, direct, regular, geometry,
                                                       DiskIdentityOf(info, geometry.sizeBytes));
    return result;
}

std::string DescribeOpenFailure(const std::string& path, int error, BlockAccess access)
{
    const bool writing = access == BlockAccess::ReadWrite;
    const std::string opening = "Cannot open " + path + (writing ? " for writing: " : " for reading: ");
    switch (error) {
    case EACCES:
        return opening + ErrnoText(error) + ".\n" + (writing ? "Writing to" : "Reading")
            + " a disk needs membership of the group \"disk\" or running as root.";
    case EPERM:  // not the node's permissions: root is refused too
        return opening + ErrnoText(error) + " (the system refuses it whoever asks).";
    case EBUSY: return opening + "it is in use (a file system on it is mounted, or another program holds it).";
    case ENOENT:
    case ENXIO:
    case ENODEV: return opening + "the device is not there (it may have been removed).";
    case ENOMEDIUM: return opening + "there is no medium in the drive.";
    case EROFS: return opening + "the device is write-protected.";
    case ENOTBLK: return opening + "it is neither a disk nor a file.";
    default: return opening + ErrnoText(error) + ".";
    }
}

bool IsMediaError(int error)
{
    return error == EIO || error == EILSEQ || error == ENODATA || error == EBADMSG || error == EREMOTEIO;
}

AlignedBuffer::AlignedBuffer(std::size_t size)
{
    if (size == 0)
        return;
    void* data = nullptr;
    const std::size_t rounded = (size + kAlignment - 1) / kAlignment * kAlignment;
    if (::posix_memalign(&data, kAlignment, rounded) != 0)
        return;
    m_data = static_cast<std::uint8_t*>(data);
    m_size = size;
}

AlignedBuffer::AlignedBuffer(AlignedBuffer&& other) noexcept :
    m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0))
{
}

AlignedBuffer& AlignedBuffer::operator=(AlignedBuffer&& other) noexcept
{
    if (this != &other) {
        std::free(m_data);
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

AlignedBuffer::~AlignedBuffer()
{
    std::free(m_data);
}
