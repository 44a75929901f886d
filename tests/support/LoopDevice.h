#pragma once

#include <optional>
#include <string>

// A loop device over a file the test made, detached when the object goes.
// Only root can attach one, and a container may have none: Attach gives
// nullopt then, with the reason for the test's skip message.
class LoopDevice {
public:
    static std::optional<LoopDevice> Attach(const std::string& file, std::string& whyNot, unsigned sectorSize = 512);
    LoopDevice(LoopDevice&& other) noexcept;
    LoopDevice& operator=(LoopDevice&&) = delete;
    LoopDevice(const LoopDevice&) = delete;
    ~LoopDevice();

    // Detaches the device and attaches another file at the same node (the
    // kernel gives it a new disk sequence number); false, with the reason,
    // when the node was taken meanwhile.
    bool Reattach(const std::string& file, std::string& whyNot, unsigned sectorSize = 512);

    // Makes the device write-protected or writable (blockdev --setro/--setrw);
    // it is made writable again before it is detached.
    bool SetReadOnly(bool readOnly);

    const std::string& Node() const { return m_node; }  // "/dev/loop3"
    const std::string& Name() const { return m_name; }  // "loop3"

private:
    explicit LoopDevice(std::string node);
    std::string m_node;
    std::string m_name;
    bool m_readOnly = false;
};
