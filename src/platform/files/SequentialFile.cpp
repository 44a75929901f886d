#include "platform/files/SequentialFile.h"

#include "platform/files/SafeFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>
#include <utility>

SequentialFile::~SequentialFile()
{
    Close();
}

SequentialFile::SequentialFile(SequentialFile&& other) noexcept :
    m_fd(std::exchange(other.m_fd, -1)),
    m_size(other.m_size),
    m_device(other.m_device),
    m_offset(other.m_offset),
    m_bCachedReadsWork(other.m_bCachedReadsWork)
{
}

SequentialFile& SequentialFile::operator=(SequentialFile&& other) noexcept
{
    if (this != &other) {
        Close();
        m_fd = std::exchange(other.m_fd, -1);
        m_size = other.m_size;
        m_device = other.m_device;
        m_offset = other.m_offset;
        m_bCachedReadsWork = other.m_bCachedReadsWork;
    }
    return *this;
}

bool SequentialFile::Open(const std::string& path, std::string* error)
{
    Close();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        if (error)
            *error = ErrnoText(errno);
        return false;
    }
    struct stat info {};
    std::string problem;
    if (::fstat(fd, &info) != 0)
        problem = ErrnoText(errno);
    else if (!S_ISREG(info.st_mode))
        problem = "not a regular file";
    if (!problem.empty()) {
        ::close(fd);
        if (error)
            *error = problem;
        return false;
    }
    // Reads of a regular file wait for the disk whatever the flag says; it
    // only kept the open from waiting on a pipe.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    m_fd = fd;
    m_size = static_cast<std::uint64_t>(info.st_size);
    m_device = static_cast<std::uint64_t>(info.st_dev);
    m_offset = 0;
    return true;
}

void SequentialFile::AdviseSequential()
{
    if (m_fd >= 0)
        ::posix_fadvise(m_fd, 0, 0, POSIX_FADV_SEQUENTIAL);
}

bool SequentialFile::ReadFull(std::uint8_t* buffer, std::size_t length, std::size_t& got, std::string* error)
{
    got = 0;
    while (got < length) {
        const ssize_t n = ::pread(m_fd, buffer + got, length - got, static_cast<off_t>(m_offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            if (error)
                *error = ErrnoText(errno);
            return false;
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
        m_offset += static_cast<std::uint64_t>(n);
    }
    return true;
}

bool SequentialFile::ReadCached(std::uint8_t* buffer, std::size_t length, std::size_t& got, std::string* error)
{
    got = 0;
    while (got < length && m_bCachedReadsWork) {
        iovec part{buffer + got, length - got};
        const ssize_t n = ::preadv2(m_fd, &part, 1, static_cast<off_t>(m_offset), RWF_NOWAIT);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            break;  // the rest is on the disk
        if (n < 0 && (errno == EOPNOTSUPP || errno == EINVAL || errno == ENOSYS)) {
            m_bCachedReadsWork = false;  // an older system: every read may wait
            break;
        }
        if (n < 0) {
            if (error)
                *error = ErrnoText(errno);
            return false;
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
        m_offset += static_cast<std::uint64_t>(n);
    }
    return true;
}

void SequentialFile::Close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}
