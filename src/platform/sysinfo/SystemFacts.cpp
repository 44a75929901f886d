#include "platform/sysinfo/SystemFacts.h"

#include "platform/files/AttributeFiles.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/utsname.h>
#include <unistd.h>

namespace {

// The "Key:   123 kB" fields of a /proc file in bytes, read at one go; the
// first line of a key counts.
std::map<std::string, std::uint64_t> ReadKbFields(const std::string& path)
{
    std::map<std::string, std::uint64_t> fields;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const auto colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        std::istringstream value(line.substr(colon + 1));
        std::uint64_t kb = 0;
        if (value >> kb)
            fields.emplace(line.substr(0, colon), kb * 1024);
    }
    return fields;
}

std::optional<std::uint64_t> Field(const std::map<std::string, std::uint64_t>& fields, const char* key)
{
    const auto found = fields.find(key);
    if (found == fields.end())
        return std::nullopt;
    return found->second;
}

std::string Unquote(std::string value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

std::string OsReleaseField(const std::string& path, const std::string& key)
{
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, key.size() + 1, key + "=") == 0)
            return Unquote(line.substr(key.size() + 1));
    }
    return std::string();
}

}  // namespace

std::optional<MemoryStatus> ReadMemoryStatus(const std::string& procRoot)
{
    const auto meminfo = ReadKbFields(procRoot + "/meminfo");
    const auto total = Field(meminfo, "MemTotal");
    if (!total || *total == 0)
        return std::nullopt;
    MemoryStatus status;
    status.totalPhysical = *total;
    status.availablePhysical = Field(meminfo, "MemAvailable").value_or(Field(meminfo, "MemFree").value_or(0));
    if (status.availablePhysical > status.totalPhysical)
        status.availablePhysical = status.totalPhysical;
    status.memoryLoadPercent = static_cast<unsigned>((status.totalPhysical - status.availablePhysical) * 100
                                                     / status.totalPhysical);
    const std::uint64_t swapTotal = Field(meminfo, "SwapTotal").value_or(0);
    const std::uint64_t swapFree = Field(meminfo, "SwapFree").value_or(0);
    status.totalPageFile = status.totalPhysical + swapTotal;
    status.availablePageFile = status.availablePhysical + swapFree;
    // User address space of x86-64 with four-level paging: 128 TiB.
    status.totalVirtual = std::uint64_t{1} << 47;
    const std::uint64_t used = Field(ReadKbFields(procRoot + "/self/status"), "VmSize").value_or(0);
    status.availableVirtual = used < status.totalVirtual ? status.totalVirtual - used : 0;
    return status;
}

std::string ReadOsProductName(const std::string& etcRoot)
{
    for (const std::string& path : {etcRoot + "/os-release", etcRoot + "/../usr/lib/os-release"}) {
        std::string name = OsReleaseField(path, "PRETTY_NAME");
        if (name.empty())
            name = OsReleaseField(path, "NAME");
        if (!name.empty())
            return name;
    }
    return std::string();
}

std::optional<KernelVersion> ParseKernelRelease(const std::string& release)
{
    KernelVersion version;
    char dot1 = 0;
    std::istringstream in(release);
    if (!(in >> version.major >> dot1) || dot1 != '.' || !(in >> version.minor))
        return std::nullopt;
    if (in.peek() == '.') {
        in.get();
        if (!(in >> version.build))
            version.build = 0;
    }
    return version;
}

std::optional<KernelVersion> ReadKernelVersion()
{
    utsname name{};
    if (uname(&name) != 0)
        return std::nullopt;
    return ParseKernelRelease(name.release);
}

std::vector<SwapArea> ReadSwapAreas(const std::string& procRoot)
{
    // Filename Type Size Used Priority, sizes in KiB; the name's blanks are
    // written as "\040".
    std::vector<SwapArea> areas;
    std::ifstream in(procRoot + "/swaps");
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        SwapArea area;
        std::uint64_t sizeKb = 0;
        std::uint64_t usedKb = 0;
        if (!(fields >> area.name >> area.type >> sizeKb >> usedKb))
            continue;
        constexpr std::uint64_t kMaxKb = std::uint64_t{1} << 53;
        if (sizeKb > kMaxKb)
            continue;
        area.size = sizeKb * 1024;
        area.used = std::min(usedKb, sizeKb) * 1024;
        areas.push_back(area);
    }
    return areas;
}

std::string ReadHostName(const std::string& procRoot)
{
    return ReadAttribute(procRoot + "/sys/kernel/hostname");
}

std::string ReadKernelRelease(const std::string& procRoot)
{
    return ReadAttribute(procRoot + "/sys/kernel/osrelease");
}

std::string ExecutablePath()
{
    char buffer[4096];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0)
        return std::string();
    return std::string(buffer, static_cast<size_t>(length));
}

std::string TemporaryFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = (tmp && *tmp) ? tmp : "/tmp";
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}
