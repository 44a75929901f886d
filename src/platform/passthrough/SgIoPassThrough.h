#pragma once

#include "platform/passthrough/PassThrough.h"

#include <memory>
#include <string>

// A drive node (/dev/srN) driven through SG_IO. Opened read-write and
// non-blocking (so an empty drive opens), read-only when writing is not
// allowed; the kernel then passes only the commands it deems harmless.
// Vendor commands the kernel refuses on /dev/srN without CAP_SYS_RAWIO it
// passes on through the drive's generic node (/dev/sgN) when that opens
// read-write: such a command is sent again there.
class SgIoPassThrough : public PassThrough {
public:
    // sysBlockDir is the node's /sys/block/<name> folder, for its transfer limit.
    static std::unique_ptr<SgIoPassThrough> Open(const std::string& node, const std::string& sysBlockDir,
                                                 DeviceOpenFailure& failure);
    ~SgIoPassThrough() override;
    SgIoPassThrough(const SgIoPassThrough&) = delete;
    SgIoPassThrough& operator=(const SgIoPassThrough&) = delete;

    PassThroughResult Execute(const std::uint8_t* cdb, std::size_t cdbLength, DataDirection direction, void* buffer,
                              std::uint32_t size, std::uint8_t* sense, std::size_t senseSize,
                              std::uint32_t timeoutSeconds) override;

    // Locking is an exclusive open of the node: it fails while the volume is
    // mounted or claimed, and keeps mounts away until it is unlocked. A
    // locked volume is not mounted, so dismounting needs nothing more.
    bool LockVolume(std::string* error) override;
    bool DismountVolume(std::string* error) override;
    bool UnlockVolume(std::string* error) override;

    bool ReadOnly() const { return m_readOnly; }
    // Largest transfer of one command in bytes (max_hw_sectors_kb); 0 when unknown.
    std::uint32_t MaxTransferBytes() const { return m_maxTransferBytes; }
    // The drive's generic node (/dev/sgN) by sysfs; empty when it has none.
    const std::string& GenericNode() const { return m_genericNode; }

private:
    SgIoPassThrough(int fd, std::string node, bool readOnly, std::uint32_t maxTransferBytes);
    PassThroughResult SendOn(int fd, const std::uint8_t* cdb, std::size_t cdbLength, DataDirection direction,
                             void* buffer, std::uint32_t size, std::uint8_t* sense, std::size_t senseSize,
                             std::uint32_t timeoutSeconds);
    // Opens the generic node on first need; false when it cannot be had.
    bool OpenGenericNode();

    int m_fd;
    int m_exclusiveFd = -1;
    std::string m_node;
    std::string m_genericNode;
    int m_genericFd = -1;
    bool m_genericTried = false;
    bool m_readOnly;
    std::uint32_t m_maxTransferBytes;
};

// Why a node cannot be opened, in words a user can act on (for EACCES: the
// group that owns the node).
std::string DescribeOpenFailure(const std::string& node, int errorNumber);
