#include "core/tools/sysinfo/SystemInfoReport.h"

#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/tools/sysinfo/CpuInfo.h"
#include "platform/sysinfo/Firmware.h"
#include "platform/sysinfo/InstalledHardware.h"
#include "platform/sysinfo/Processors.h"
#include "platform/sysinfo/RootedPath.h"
#include "platform/sysinfo/SystemFacts.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <utility>

namespace {

constexpr const char* kSharingNote = "This report includes the computer's host name and network addresses.";

// clang-format off
constexpr std::pair<const char*, const char*> kCpuVendors[] = {
    {"AuthenticAMD", "AMD"},
    {"GenuineIntel", "Intel"},
    {"CyrixInstead", "Cyrix"},
    {"CentaurHauls", "Centaur"},
    {"RiseRiseRise", "Rise"},
    {"GenuineTMx86", "Transmeta"},
    {"UMC UMC UMC ", "UMC"},
};
// clang-format on

std::string HardwareAddressText(const std::vector<std::uint8_t>& bytes)
{
    std::string text;
    for (const std::uint8_t byte : bytes)
        text += (text.empty() ? "" : "-") + Format("%02X", byte);
    return text;
}

}  // namespace

std::string GetCpuVendorName(const std::string& vendor)
{
    for (const auto& [id, name] : kCpuVendors) {
        if (vendor == id)
            return name;
    }
    return vendor;
}

std::string CpuFeatureList(const CCpuInfo& cpu, bool intel)
{
    const std::pair<int, const char*> flags[] = {
        {cpu.m_bFPU, "FPU, "},
        {cpu.m_b3DNow, "3DNow!, "},
        {cpu.m_bEx3DNow, "Ex3DNow!, "},
        {cpu.m_bMMX, "MMX, "},
        {cpu.m_bMMXExt, "MMXExt, "},
        {cpu.m_bSSE, "SSE, "},
        {cpu.m_bSSE2, "SSE2, "},
        {cpu.m_bSSE3, "SSE3, "},
        {cpu.m_bHTT, "HTT, "},
        {intel ? cpu.m_bSSSE3 : 0, "SSSE3, "},
        {intel ? cpu.m_bEST : 0, "EST, "},
    };
    std::string list;
    for (const auto& [set, name] : flags) {
        if (set)
            list += name;
    }
    if (!list.empty())
        list.resize(list.size() - 2);
    return list;
}

std::string CpuClockText(int mhz)
{
    if (mhz <= 1000)
        return Format("%.2fMHz", static_cast<double>(mhz));
    return Format("%.2fGHz", mhz / 1000.0);
}

std::string CollapseBlanks(std::string text)
{
    for (auto at = text.find("  "); at != std::string::npos; at = text.find("  ", at))
        text.erase(at, 1);
    return text;
}

std::string ScaleMemorySize(std::uint64_t bytes, float& number)
{
    if (bytes > 0x40000000u) {
        number = static_cast<float>(bytes / 1024 / 1024) / 1024.0f;
        return "G";
    }
    if (bytes > 0x100000u) {
        number = static_cast<float>(bytes / 1024) / 1024.0f;
        return "M";
    }
    if (bytes > 1024) {
        number = static_cast<float>(bytes) / 1024.0f;
        return "K";
    }
    number = static_cast<float>(bytes);
    return "";
}

std::string MemorySizeText(std::uint64_t bytes)
{
    float number = 0;
    const std::string unit = ScaleMemorySize(bytes, number);
    return Format("%.2f%sB", static_cast<double>(number), unit.c_str());
}

float FormatByteSize(std::uint64_t freeBytes, std::string& text)
{
    static const char* const kUnits[] = {"", "K", "M", "G", "T", "P", "E"};
    auto number = static_cast<float>(freeBytes);
    int unit = 0;
    while (number > 1024.0f && unit < 6) {
        number /= 1024.0f;
        ++unit;
    }
    text = Format("%.2f%sB", static_cast<double>(number), kUnits[unit]);
    return number;
}

std::vector<std::string> BiosStringLines(const std::vector<std::string>& pieces)
{
    std::vector<std::string> lines;
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        std::string piece = pieces[k];
        piece.erase(piece.find_last_not_of(" \t") + 1);
        if (!piece.empty())
            lines.push_back(
                Format("%-12s%59s", Format("BIOS String %d", static_cast<int>(k + 1)).c_str(), piece.c_str()));
    }
    return lines;
}

SystemInfoReport::SystemInfoReport(const SystemSources& sources, WindowFacts facts, SystemReportRun run) :
    m_sources(sources), m_facts(std::move(facts)), m_run(std::move(run))
{
}

bool SystemInfoReport::Stopped() const
{
    return m_run.stopRequested && m_run.stopRequested();
}

int SystemInfoReport::Heading(int line, const std::string& title, std::size_t dashes)
{
    m_StringArray.ElementAt(line) = title;
    m_StringArray.ElementAt(line + 1) = std::string(dashes ? dashes : title.size(), '-');
    return line + 2;
}

std::vector<std::string> SystemInfoReport::Lines(int end)
{
    std::vector<std::string> lines;
    for (int i = 0; i < end; ++i)
        lines.push_back(m_StringArray.ElementAt(i));
    return lines;
}

std::optional<std::vector<std::string>> SystemInfoReport::Build()
{
    m_StringArray.ElementAt(0) = Format("%28s%s%28s", " ", "System Information", " ");
    m_StringArray.ElementAt(1) = kSharingNote;
    constexpr std::array<int (SystemInfoReport::*)(int), kSections> sections = {
        &SystemInfoReport::ReportSystemOS,         &SystemInfoReport::ReportSystemBIOS,
        &SystemInfoReport::ReportSystemCPU,        &SystemInfoReport::ReportSystemVideo,
        &SystemInfoReport::ReportSystemNetwork,    &SystemInfoReport::ReportSystemMemory,
        &SystemInfoReport::ReportSystemPartitions, &SystemInfoReport::ReportSystemHardware,
    };
    int line = 3;
    for (int i = 0; i < kSections; ++i) {
        if (Stopped())
            return std::nullopt;
        line = (this->*sections[static_cast<std::size_t>(i)])(line);
        if (m_run.progress)
            m_run.progress(i + 1, kSections);
    }
    if (Stopped())
        return std::nullopt;
    return Lines(line);
}

int SystemInfoReport::ReportSystemOS(int line)
{
    const std::string proc = RootedPath(m_sources.root, "proc");
    line = Heading(line, "Operating System Information");
    m_StringArray.ElementAt(line++) = Format("%-40s%32s", "Operating System",
                                             ReadOsProductName(RootedPath(m_sources.root, "etc")).c_str());
    if (const std::string release = ReadKernelRelease(proc); !release.empty())
        m_StringArray.ElementAt(line++) = Format("%-40s%32s", "Operating System Version", ("Linux " + release).c_str());
    m_StringArray.ElementAt(line++) = Format("%-40s%32s", "Computer Name", ReadHostName(proc).c_str());
    return line + 1;
}

int SystemInfoReport::ReportSystemBIOS(int line)
{
    const BiosFacts bios = ReadBiosFacts(m_sources.root);
    line = Heading(line, "BIOS Information");
    if (!bios.date.empty()) {
        std::string date = bios.date;
        std::replace_if(
            date.begin(), date.end(), [](char c) { return static_cast<unsigned char>(c) < 32; }, ' ');
        m_StringArray.ElementAt(line++) = Format("%-9s%63s", "BIOS Date", date.c_str());
    }
    for (const std::string& text : BiosStringLines(bios.versionStrings))
        m_StringArray.ElementAt(line++) = text;
    return line + 1;
}

int SystemInfoReport::ReportSystemCPU(int line)
{
    const CpuidSource& cpuid = *m_sources.cpuid;
    CCpuInfo cpu(cpuid);
    const std::vector<int> processors = ReadOnlineProcessors(m_sources.root);
    // CPUID's HTT bit says the package may hold several threads; the
    // kernel's topology says whether a core runs more than one.
    if (const std::optional<int> threads = ReadThreadsPerCore(m_sources.root, processors); threads && *threads < 2)
        cpu.m_bHTT = 0;
    line = Heading(line, "CPU (Processor) Information");
    if (const std::optional<int> mhz = CCpuInfo::MeasureClock(*m_sources.counters, m_run.stopRequested))
        m_StringArray.ElementAt(line++) = Format("%-40s%32s", "CPU Speed (Calculated)", CpuClockText(*mhz).c_str());
    m_StringArray.ElementAt(line++) = Format("%-20s%52s", "CPU Type", CollapseBlanks(cpu.m_strBrand).c_str());
    if (cpu.m_bIdentified) {
        const std::string text = Format("Family %d, Model %d, Stepping %d", GetCpuDisplayFamily(cpuid),
                                        GetCpuDisplayModel(cpuid), GetCpuStepping(cpuid));
        m_StringArray.ElementAt(line++) = Format("%-40s%32s", "CPU (Processor)", text.c_str());
    }
    const std::string vendorLine = Format("%-20s%52s", "Vendor Name", GetCpuVendorName(cpu.m_strVendor).c_str());
    const bool intel = vendorLine.size() >= 5 && vendorLine.compare(vendorLine.size() - 5, 5, "Intel") == 0;
    m_StringArray.ElementAt(line++) = vendorLine;
    if (cpu.m_bIdentified)
        m_StringArray.ElementAt(line++) = Format("%-14s%58s", "CPU Features", CpuFeatureList(cpu, intel).c_str());
    if (!processors.empty())
        m_StringArray.ElementAt(line++) = Format("%-20s%52d", "Number of CPUs:", static_cast<int>(processors.size()));
    for (const auto& [processor, mhz] : ReadProcessorClocks(m_sources.root, processors)) {
        const std::string label = Format("CPU %d rated speed:", processor);
        m_StringArray.ElementAt(line++) = Format("%-23s%49s", label.c_str(), Format("~%dMHz", mhz).c_str());
    }
    if (cpu.m_bL2CacheRead) {
        const std::string size = Format("%dKB", cpu.m_nL2CacheKB);
        m_StringArray.ElementAt(line++) = Format("%-20s%52s", "CPU L2 Cache Size", size.c_str());
    }
    return line + 1;
}

int SystemInfoReport::ReportSystemVideo(int line)
{
    line = Heading(line, "Video Card Information");
    const ScreenFacts& screen = m_facts.screen;
    if (screen.width > 0 && screen.height > 0) {
        const std::string size = Format("%d x %d", screen.width, screen.height);
        m_StringArray.ElementAt(line++) = Format("%-40s%32s", "Screen Resolution", size.c_str());
    }
    return line + 1;
}

int SystemInfoReport::ReportSystemNetwork(int line)
{
    const std::vector<NetworkAdapter> adapters = ListNetworkAdapters(
        m_sources.root,
        m_sources.interfaceAddresses ? m_sources.interfaceAddresses() : std::vector<InterfaceAddress>());
    line = Heading(line, "Network Information");
    if (adapters.empty())
        return line + 1;
    return ReportNetworkAdapters(line, adapters);
}

int SystemInfoReport::ReportNetworkAdapters(int line, const std::vector<NetworkAdapter>& adapters)
{
    const auto write = [&](const char* label, const std::string& value) {
        m_StringArray.ElementAt(line++) = Format("%-32s%40s", label, value.c_str());
    };
    for (const NetworkAdapter& adapter : adapters) {
        write("AdapterName", adapter.name);
        if (!adapter.description.empty())
            m_StringArray.ElementAt(line++) = Format("%-12s%60s", "Description", adapter.description.c_str());
        if (!adapter.hardwareAddress.empty()) {
            const std::string mac = HardwareAddressText(adapter.hardwareAddress);
            m_StringArray.ElementAt(line++) = Format("%-12s%60s", "MAC Address", mac.c_str());
        }
        for (const InterfaceAddress& address : adapter.addresses)
            write(address.ipv6 ? "IPv6 Address" : "IP Address", address.address);
        for (const std::string& gateway : adapter.gateways)
            write("Gateway", gateway);
        // DHCP leases IPv4 addresses; an IPv6 address of limited life is no lease.
        std::vector<InterfaceAddress> ipv4;
        std::copy_if(adapter.addresses.begin(), adapter.addresses.end(), std::back_inserter(ipv4),
                     [](const InterfaceAddress& address) { return !address.ipv6; });
        if (!ipv4.empty()) {
            const auto lease = std::find_if(ipv4.begin(), ipv4.end(),
                                            [](const InterfaceAddress& address) { return address.dynamic; });
            write("DHCP Enabled", lease != ipv4.end() ? "TRUE" : "FALSE");
            if (lease != ipv4.end() && lease->obtained > 0) {
                write("Lease Obtained", FormatLogDateTime(lease->obtained));
                if (lease->expires > 0)
                    write("Lease Expires", FormatLogDateTime(lease->expires));
            }
        }
        ++line;
    }
    return line;
}

int SystemInfoReport::ReportSystemMemory(int line)
{
    const std::string proc = RootedPath(m_sources.root, "proc");
    line = Heading(line, "Memory Information");
    const std::optional<MemoryStatus> status = ReadMemoryStatus(proc);
    if (!status)
        return line + 1;
    std::uint64_t pageFileSize = 0;
    std::uint64_t pageFileUsed = 0;
    for (const SwapArea& area : ReadSwapAreas(proc)) {
        pageFileSize += area.size;
        pageFileUsed += area.used;
    }
    const auto write = [&](const char* label, std::uint64_t bytes) {
        m_StringArray.ElementAt(line++) = Format("%-40s%32s", label, MemorySizeText(bytes).c_str());
    };
    const std::string load = Format("%ld%%", static_cast<long>(status->memoryLoadPercent));
    m_StringArray.ElementAt(line++) = Format("%-40s%32s", "Memory in use", load.c_str());
    write("Total physical memory", status->totalPhysical);
    write("Free available physical memory", status->availablePhysical);
    if (pageFileSize > 0) {
        write("Total swap space", pageFileSize);
        write("Free swap space", pageFileSize - std::min(pageFileUsed, pageFileSize));
    }
    // Memory and swap together: MemTotal + SwapTotal, MemAvailable + SwapFree.
    write("Total virtual memory", status->totalPageFile);
    write("Free available virtual memory", status->availablePageFile);
    return line + 1;
}

int SystemInfoReport::ReportSystemPartitions(int line)
{
    line = Heading(line, "Partitions Information");
    for (const MountedFileSystem& system : ListFileSystems(m_sources.root)) {
        const std::optional<FileSystemSpace> space = m_sources.fileSystemSpace
            ? m_sources.fileSystemSpace(system.mountPoint)
            : std::nullopt;
        std::string size;
        if (!space || FormatByteSize(space->available, size) <= 0)
            continue;
        const std::string label = system.label.empty()
            ? Format("Drive %s (%s) free space", system.mountPoint.c_str(), system.type.c_str())
            : Format("Drive %s (%s) (%s) free space", system.mountPoint.c_str(), system.label.c_str(),
                     system.type.c_str());
        m_StringArray.ElementAt(line++) = Format("%-50s%22s", label.c_str(), size.c_str());
    }
    const auto drives = [&](const char* title, const std::vector<DriveFacts>& list) {
        ++line;
        line = Heading(line, title);
        for (const DriveFacts& drive : list) {
            const std::string name = Format("Drive %s", drive.driveText.c_str());
            const std::string what = Format("%s Firmware %s", drive.identity.c_str(), drive.firmware.c_str());
            m_StringArray.ElementAt(line++) = Format("%-9s%63s ", name.c_str(), what.c_str());
        }
    };
    drives("Optical Drives", m_facts.opticalDrives);
    drives("Other Drives", m_facts.otherDrives);
    return line + 1;
}

int SystemInfoReport::ReportSystemHardware(int line)
{
    line = Heading(line, "Installed Hardware", 19);
    for (const std::string& device : ListInstalledHardware(m_sources.root))
        m_StringArray.ElementAt(line++) = Format("%-72s", device.c_str());
    return line + 1;
}

std::optional<std::vector<std::string>> BuildSystemReport(const SystemSources& sources, const WindowFacts& facts,
                                                          const SystemReportRun& run)
{
    SystemInfoReport report(sources, facts, run);
    return report.Build();
}
