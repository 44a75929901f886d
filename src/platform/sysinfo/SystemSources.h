#pragma once

#include "platform/sysinfo/Cpuid.h"
#include "platform/sysinfo/CycleCounters.h"
#include "platform/sysinfo/FileSystems.h"
#include "platform/sysinfo/NetworkAdapters.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Where the system information comes from: the files of the machine under
// `root` ("/", or a fixture tree in tests), and what no file holds: the
// processor's registers and counters, the sizes of the mounted file systems
// and the network addresses.
struct SystemSources {
    std::string root = "/";
    std::shared_ptr<const CpuidSource> cpuid = std::make_shared<MachineCpuid>();
    std::shared_ptr<CycleCounters> counters = std::make_shared<MachineCycleCounters>();
    // Given a mount point as the mount table names it.
    std::function<std::optional<FileSystemSpace>(const std::string&)> fileSystemSpace = StatFileSystem;
    std::function<std::vector<InterfaceAddress>()> interfaceAddresses = ReadInterfaceAddresses;
};
