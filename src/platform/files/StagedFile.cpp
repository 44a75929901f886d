#include "platform/files/StagedFile.h"

#include "platform/files/SafeFile.h"

#include <cerrno>
#include <fcntl.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <vector>

namespace {

void SetError(std::string* error, const std::string& text)
{
    if (error)
        *error = text;
}

}  // namespace

StagedFile::StagedFile(std::string path, std::string temporaryPath, int fd) :
    m_path(std::move(path)), m_temporaryPath(std::move(temporaryPath)), m_fd(fd)
{
}

StagedFile::~StagedFile()
{
    if (!m_committed)
        Abandon();
}

std::unique_ptr<StagedFile> StagedFile::Create(const std::string& path, std::string* error)
{
    const std::string pattern = TemporaryPatternBeside(path);
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        SetError(error, "cannot create a file beside " + path + ": " + ErrnoText(errno));
        return nullptr;
    }
    ::fchmod(fd, 0644);
    return std::unique_ptr<StagedFile>(new StagedFile(path, name.data(), fd));
}

namespace {

// Written data is handed to the disk in steps of this size while the file
// grows, so that the flush of the commit has little left to wait for.
constexpr std::uint64_t kWritebackStep = std::uint64_t{32} << 20;

}  // namespace

bool StagedFile::Write(const void* data, std::size_t size, std::string* error)
{
    if (m_fd < 0) {
        SetError(error, "the file " + m_path + " is closed");
        return false;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    while (size > 0) {
        const ssize_t written = ::write(m_fd, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            // A write that takes nothing without an error is a full disk.
            SetError(error, "cannot write " + m_path + ": " + ErrnoText(written < 0 ? errno : ENOSPC));
            return false;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
        m_written += static_cast<std::uint64_t>(written);
    }
    if (m_written - m_handedToDisk >= kWritebackStep) {
        ::sync_file_range(m_fd, static_cast<off_t>(m_handedToDisk), static_cast<off_t>(m_written - m_handedToDisk),
                          SYNC_FILE_RANGE_WRITE);
        m_handedToDisk = m_written;
    }
    return true;
}

bool StagedFile::Commit(std::string* error)
{
    if (m_fd < 0) {
        SetError(error, "the file " + m_path + " is closed");
        return false;
    }
    // On the disk before it has its name, so that a crash never leaves a
    // part of it under the final name.
    const bool synced = ::fdatasync(m_fd) == 0;
    const int syncError = errno;
    const bool closed = ::close(m_fd) == 0;
    const int closeError = errno;
    m_fd = -1;
    if (!synced || !closed) {
        SetError(error, "cannot write " + m_path + ": " + ErrnoText(synced ? closeError : syncError));
        Abandon();
        return false;
    }
    if (::rename(m_temporaryPath.c_str(), m_path.c_str()) != 0) {
        SetError(error, "cannot rename " + m_temporaryPath + " to " + m_path + ": " + ErrnoText(errno));
        Abandon();
        return false;
    }
    m_committed = true;
    return true;
}

void StagedFile::Abandon()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    ::unlink(m_temporaryPath.c_str());
}

std::optional<std::uint64_t> FreeBytesForFile(const std::string& path)
{
    struct statvfs info {};
    if (::statvfs(FolderOf(path).c_str(), &info) != 0)
        return std::nullopt;
    return static_cast<std::uint64_t>(info.f_bavail) * info.f_frsize;
}
