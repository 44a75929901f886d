#include "support/LoopDevice.h"

#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// The first line a command prints; nullopt when it fails.
std::optional<std::string> FirstLineOf(const std::string& command)
{
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr)
        return std::nullopt;
    char line[256] = {};
    const bool got = std::fgets(line, sizeof line, pipe) != nullptr;
    if (::pclose(pipe) != 0 || !got)
        return std::nullopt;
    std::string text = line;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

}  // namespace

std::optional<LoopDevice> LoopDevice::Attach(const std::string& file, std::string& whyNot, unsigned sectorSize)
{
    if (::geteuid() != 0) {
        whyNot = "loop devices need root";
        return std::nullopt;
    }
    const auto node = FirstLineOf("losetup -f --show --sector-size " + std::to_string(sectorSize) + " '" + file
                                  + "' 2>/dev/null");
    struct stat info {};
    if (!node || node->rfind("/dev/loop", 0) != 0 || ::stat(node->c_str(), &info) != 0 || !S_ISBLK(info.st_mode)) {
        whyNot = "no loop device could be attached (losetup is missing or the machine has no loop devices)";
        return std::nullopt;
    }
    return LoopDevice(*node);
}

bool LoopDevice::Reattach(const std::string& file, std::string& whyNot, unsigned sectorSize)
{
    if (m_readOnly)
        SetReadOnly(false);
    const std::string attach = "losetup --sector-size " + std::to_string(sectorSize) + " " + m_node + " '" + file + "'";
    if (std::system(("losetup -d " + m_node + " 2>/dev/null").c_str()) != 0
        || std::system((attach + " 2>/dev/null").c_str()) != 0) {
        whyNot = m_node + " could not be attached again (another test may have taken it)";
        m_node.clear();  // not ours any more
        return false;
    }
    return true;
}

LoopDevice::LoopDevice(std::string node) : m_node(std::move(node)), m_name(m_node.substr(m_node.rfind('/') + 1))
{
}

LoopDevice::LoopDevice(LoopDevice&& other) noexcept :
    m_node(std::exchange(other.m_node, std::string())),
    m_name(std::move(other.m_name)),
    m_readOnly(std::exchange(other.m_readOnly, false))
{
}

bool LoopDevice::SetReadOnly(bool readOnly)
{
    if (std::system(("blockdev " + std::string(readOnly ? "--setro " : "--setrw ") + m_node).c_str()) != 0)
        return false;
    m_readOnly = readOnly;
    return true;
}

LoopDevice::~LoopDevice()
{
    // The flag outlives the attachment: the next user of the node would find it write-protected.
    if (!m_node.empty() && m_readOnly)
        SetReadOnly(false);
    if (!m_node.empty() && std::system(("losetup -d " + m_node + " 2>/dev/null").c_str()) != 0)
        std::fprintf(stderr, "could not detach %s\n", m_node.c_str());
}
