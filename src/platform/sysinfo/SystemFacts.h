#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Facts about this machine read from /proc, /etc and uname. Every reader
// takes a root folder so tests can point it at a fixture tree.

// Memory figures in bytes, in the shape of a global memory status query:
// physical memory, a paging file (RAM plus swap, the commit space) and the
// process's virtual address space.
struct MemoryStatus {
    unsigned memoryLoadPercent = 0;
    std::uint64_t totalPhysical = 0;
    std::uint64_t availablePhysical = 0;
    std::uint64_t totalPageFile = 0;
    std::uint64_t availablePageFile = 0;
    std::uint64_t totalVirtual = 0;
    std::uint64_t availableVirtual = 0;
};

// Reads <procRoot>/meminfo and <procRoot>/self/status; nullopt when meminfo
// is missing or lacks MemTotal.
std::optional<MemoryStatus> ReadMemoryStatus(const std::string& procRoot = "/proc");

// PRETTY_NAME (else NAME) of <etcRoot>/os-release, else of
// <etcRoot>/../usr/lib/os-release; empty when neither can be read.
std::string ReadOsProductName(const std::string& etcRoot = "/etc");

struct KernelVersion {
    int major = 0;
    int minor = 0;
    int build = 0;
};
// The running kernel's release ("6.1.0-18-amd64" gives 6, 1, 0).
std::optional<KernelVersion> ReadKernelVersion();
std::optional<KernelVersion> ParseKernelRelease(const std::string& release);

// The swap areas of <procRoot>/swaps in their order; sizes in bytes.
struct SwapArea {
    std::string name;  // "/dev/sda2", "/swapfile"
    std::string type;  // "partition", "file"
    std::uint64_t size = 0;
    std::uint64_t used = 0;
};
std::vector<SwapArea> ReadSwapAreas(const std::string& procRoot = "/proc");

// The host name and the kernel release as uname tells them, from
// <procRoot>/sys/kernel; empty when they cannot be read.
std::string ReadHostName(const std::string& procRoot = "/proc");
std::string ReadKernelRelease(const std::string& procRoot = "/proc");

// Full path of the running executable.
std::string ExecutablePath();

// $TMPDIR when set and non-empty, else /tmp; no trailing slash.
std::string TemporaryFolder();
