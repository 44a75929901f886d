#include "platform/passthrough/SgIoPassThrough.h"

#include "platform/files/SafeFile.h"
#include "platform/passthrough/SgIo.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fcntl.h>
#include <grp.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::uint8_t kRawSenseSize = 64;

// The generic node beside a block node, as sysfs names it under the
// block device's device/scsi_generic folder.
std::string FindGenericNode(const std::string& node, const std::string& sysBlockDir)
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(sysBlockDir + "/device/scsi_generic", error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("sg", 0) == 0)
            return std::filesystem::path(node).parent_path().string() + "/" + name;
    }
    return {};
}

std::uint32_t ReadMaxTransferBytes(const std::string& sysBlockDir)
{
    std::string text;
    if (!ReadWholeFile(sysBlockDir + "/queue/max_hw_sectors_kb", text))
        return 0;
    char* end = nullptr;
    const unsigned long kilobytes = std::strtoul(text.c_str(), &end, 10);
    if (end == text.c_str() || kilobytes == 0 || kilobytes > 4u * 1024 * 1024)
        return 0;
    return static_cast<std::uint32_t>(kilobytes * 1024);
}

std::string GroupName(gid_t gid)
{
    std::vector<char> buffer(4096);
    group entry{};
    group* found = nullptr;
    if (getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
        return found->gr_name;
    return std::to_string(gid);
}

}  // namespace

std::string DescribeOpenFailure(const std::string& node, int errorNumber)
{
    if (errorNumber == ENOENT)
        return node + " does not exist";
    std::string text = "cannot open " + node + ": " + ErrnoText(errorNumber);
    struct stat info {};
    if ((errorNumber == EACCES || errorNumber == EPERM) && ::stat(node.c_str(), &info) == 0) {
        if (info.st_gid == 0)
            text += " (it belongs to root; run as root or give the node to a group of this user)";
        else
            text += " (this user is not in the group \"" + GroupName(info.st_gid)
                + "\" that owns it; add the user to that group and log in again)";
    }
    return text;
}

SgIoPassThrough::SgIoPassThrough(int fd, std::string node, bool readOnly, std::uint32_t maxTransferBytes) :
    m_fd(fd), m_node(std::move(node)), m_readOnly(readOnly), m_maxTransferBytes(maxTransferBytes)
{
}

SgIoPassThrough::~SgIoPassThrough()
{
    if (m_exclusiveFd >= 0)
        ::close(m_exclusiveFd);
    if (m_genericFd >= 0)
        ::close(m_genericFd);
    ::close(m_fd);
}

std::unique_ptr<SgIoPassThrough> SgIoPassThrough::Open(const std::string& node, const std::string& sysBlockDir,
                                                       DeviceOpenFailure& failure)
{
    struct stat info {};
    if (::stat(node.c_str(), &info) != 0) {
        failure = {errno, DescribeOpenFailure(node, errno)};
        return nullptr;
    }
    if (!S_ISBLK(info.st_mode) && !S_ISCHR(info.st_mode)) {
        failure = {ENODEV, node + " is not a device node"};
        return nullptr;
    }
    bool readOnly = false;
    int fd = ::open(node.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && (errno == EACCES || errno == EPERM || errno == EROFS)) {
        readOnly = true;
        fd = ::open(node.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    }
    if (fd < 0) {
        failure = {errno, DescribeOpenFailure(node, errno)};
        return nullptr;
    }
    auto drive = std::unique_ptr<SgIoPassThrough>(
        new SgIoPassThrough(fd, node, readOnly, ReadMaxTransferBytes(sysBlockDir)));
    drive->m_genericNode = FindGenericNode(node, sysBlockDir);
    return drive;
}

PassThroughResult SgIoPassThrough::Execute(const std::uint8_t* cdb, std::size_t cdbLength, DataDirection direction,
                                           void* buffer, std::uint32_t size, std::uint8_t* sense, std::size_t senseSize,
                                           std::uint32_t timeoutSeconds)
{
    if (cdbLength == 0 || cdbLength > 16)
        return PassThroughResult::Failed(PassThroughError::InvalidRequest,
                                         "a CDB of " + std::to_string(cdbLength) + " bytes cannot be sent");
    if (m_maxTransferBytes != 0 && size > m_maxTransferBytes)
        return PassThroughResult::Failed(PassThroughError::InvalidRequest,
                                         "a transfer of " + std::to_string(size) + " bytes is more than " + m_node
                                             + " takes in one command (" + std::to_string(m_maxTransferBytes / 1024)
                                             + " KB, max_hw_sectors_kb)");
    PassThroughResult result = SendOn(m_fd, cdb, cdbLength, direction, buffer, size, sense, senseSize, timeoutSeconds);
    if (result.error == PassThroughError::KernelRefused && OpenGenericNode())
        result = SendOn(m_genericFd, cdb, cdbLength, direction, buffer, size, sense, senseSize, timeoutSeconds);
    return result;
}

PassThroughResult SgIoPassThrough::SendOn(int fd, const std::uint8_t* cdb, std::size_t cdbLength,
                                          DataDirection direction, void* buffer, std::uint32_t size,
                                          std::uint8_t* sense, std::size_t senseSize, std::uint32_t timeoutSeconds)
{
    std::uint8_t rawSense[kRawSenseSize] = {};
    sg_io_hdr_t header = BuildSgIoHeader(cdb, cdbLength, direction, buffer, size, rawSense, kRawSenseSize,
                                         timeoutSeconds);
    int ioctlErrno = 0;
    while (::ioctl(fd, SG_IO, &header) < 0) {
        if (errno != EINTR) {
            ioctlErrno = errno;
            break;
        }
    }
    return InterpretSgIo(header, ioctlErrno, rawSense, sense, senseSize);
}

bool SgIoPassThrough::OpenGenericNode()
{
    if (!m_genericTried && !m_genericNode.empty()) {
        m_genericTried = true;
        m_genericFd = ::open(m_genericNode.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    }
    return m_genericFd >= 0;
}

bool SgIoPassThrough::LockVolume(std::string* error)
{
    if (m_exclusiveFd >= 0)
        return true;
    m_exclusiveFd = ::open(m_node.c_str(), O_RDONLY | O_NONBLOCK | O_EXCL | O_CLOEXEC);
    if (m_exclusiveFd >= 0)
        return true;
    if (error)
        *error = errno == EBUSY ? m_node + " is in use (mounted or held by another program)"
                                : "cannot open " + m_node + " exclusively: " + ErrnoText(errno);
    return false;
}

bool SgIoPassThrough::DismountVolume(std::string* error)
{
    if (m_exclusiveFd >= 0)
        return true;
    if (error)
        *error = m_node + " is not locked";
    return false;
}

bool SgIoPassThrough::UnlockVolume(std::string* error)
{
    if (m_exclusiveFd < 0) {
        if (error)
            *error = m_node + " is not locked";
        return false;
    }
    ::close(m_exclusiveFd);
    m_exclusiveFd = -1;
    return true;
}
