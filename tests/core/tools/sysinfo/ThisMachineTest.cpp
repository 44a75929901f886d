// The report's figures against the system's own tools on the machine the
// tests run on (lscpu, free, df, ip); each part is skipped where its tool is
// missing. Figures that change from one moment to the next (free memory,
// free space) are not compared.

#include "core/tools/sysinfo/CpuInfo.h"
#include "core/tools/sysinfo/SystemInfoReport.h"
#include "platform/sysinfo/FileSystems.h"
#include "platform/sysinfo/NetworkAdapters.h"
#include "platform/sysinfo/Processors.h"
#include "platform/sysinfo/SystemFacts.h"
#include "platform/text/Trim.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

// What the tool printed, in the C locale; nullopt when it is not installed
// or fails.
std::optional<std::string> ToolOutput(const std::string& tool, const std::string& arguments)
{
    if (std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) != 0)
        return std::nullopt;
    FILE* pipe = ::popen(("LC_ALL=C " + tool + " " + arguments + " 2>/dev/null").c_str(), "r");
    if (!pipe)
        return std::nullopt;
    std::string output;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    if (::pclose(pipe) != 0)
        return std::nullopt;
    return output;
}

// "Key:   value" lines.
std::map<std::string, std::string> KeyValues(const std::string& text)
{
    std::map<std::string, std::string> values;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const auto colon = line.find(':');
        if (colon != std::string::npos)
            values.emplace(TrimText(line.substr(0, colon)), TrimText(line.substr(colon + 1)));
    }
    return values;
}

}  // namespace

TEST(ThisMachine, TheProcessorAgreesWithLscpu)
{
    const std::optional<std::string> output = ToolOutput("lscpu", "");
    if (!output)
        GTEST_SKIP() << "lscpu (util-linux) is not installed";
    const auto lscpu = KeyValues(*output);
    const std::vector<int> online = ReadOnlineProcessors("/");
    ASSERT_TRUE(lscpu.count("On-line CPU(s) list"));
    EXPECT_EQ(online, ParseCpuList(lscpu.at("On-line CPU(s) list")));

    const CCpuInfo cpu;
    if (!cpu.m_bIdentified || !lscpu.count("Vendor ID"))
        GTEST_SKIP() << "no CPUID on this processor";
    EXPECT_EQ(cpu.m_strVendor, lscpu.at("Vendor ID"));
    // The brand text is not compared: the kernel keeps the one it read at
    // boot, which a virtual machine moved to another host no longer shows.
    // The kernel shows the family and model with their extended parts added.
    const int family = cpu.m_nFamily + (cpu.m_nFamily == 15 ? cpu.m_nExtendedFamily : 0);
    const int model = cpu.m_nModel + (cpu.m_nFamily >= 6 ? cpu.m_nExtendedModel << 4 : 0);
    EXPECT_EQ(std::to_string(family), lscpu.at("CPU family"));
    EXPECT_EQ(std::to_string(model), lscpu.at("Model"));
    EXPECT_EQ(std::to_string(cpu.m_nStepping), lscpu.at("Stepping"));
}

TEST(ThisMachine, MemoryAndSwapTotalsAgreeWithFree)
{
    const std::optional<std::string> output = ToolOutput("free", "-b");
    if (!output)
        GTEST_SKIP() << "free (procps) is not installed";
    std::map<std::string, std::uint64_t> totals;
    std::istringstream in(*output);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string name;
        std::uint64_t total = 0;
        if (fields >> name >> total)
            totals[name] = total;
    }
    const std::optional<MemoryStatus> memory = ReadMemoryStatus();
    ASSERT_TRUE(memory);
    ASSERT_TRUE(totals.count("Mem:") && totals.count("Swap:"));
    EXPECT_EQ(memory->totalPhysical, totals.at("Mem:"));
    std::uint64_t swap = 0;
    for (const SwapArea& area : ReadSwapAreas())
        swap += area.size;
    EXPECT_EQ(swap, totals.at("Swap:"));
}

TEST(ThisMachine, FileSystemSizesAgreeWithDf)
{
    const std::optional<std::string> output = ToolOutput("df", "-B1 --output=target,size");
    if (!output)
        GTEST_SKIP() << "df (coreutils) is not installed";
    std::map<std::string, std::uint64_t> sizes;
    std::istringstream in(*output);
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string target;
        std::uint64_t size = 0;
        if (fields >> target >> size)
            sizes[target] = size;
    }
    int compared = 0;
    for (const MountedFileSystem& system : ListFileSystems("/")) {
        const auto found = sizes.find(system.mountPoint);
        if (found == sizes.end())
            continue;
        const std::optional<FileSystemSpace> space = StatFileSystem(system.mountPoint);
        ASSERT_TRUE(space) << system.mountPoint;
        EXPECT_EQ(space->total, found->second) << system.mountPoint;
        ++compared;
    }
    EXPECT_GT(compared, 0) << "no file system listed that df lists";
}

TEST(ThisMachine, AdaptersAndAddressesAgreeWithIp)
{
    const std::optional<std::string> output = ToolOutput("ip", "-j addr");
    if (!output)
        GTEST_SKIP() << "ip (iproute2) is not installed";
    struct Link {
        std::string mac;
        std::set<std::string> addresses;
        std::set<std::string> dynamic;
    };
    // One object per interface, each starting with its index and name.
    std::map<std::string, Link> links;
    const std::regex start(R"(\{"ifindex":\d+,"ifname":"([^"]+)\")");
    const std::regex linkType(R"("link_type":"([^"]+)\")");
    const std::regex mac(R"("address":"([0-9a-f:]+)\")");
    const std::regex inet(R"(\{"family":"inet6?","local":"([0-9a-f.:]+)\"[^}]*\})");
    std::vector<std::pair<std::string, std::size_t>> starts;
    for (auto it = std::sregex_iterator(output->begin(), output->end(), start); it != std::sregex_iterator(); ++it)
        starts.emplace_back((*it)[1], static_cast<std::size_t>(it->position()));
    ASSERT_FALSE(starts.empty());
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const std::size_t end = i + 1 < starts.size() ? starts[i + 1].second : output->size();
        const std::string object = output->substr(starts[i].second, end - starts[i].second);
        std::smatch match;
        if (std::regex_search(object, match, linkType) && match[1] == "loopback")
            continue;
        Link& link = links[starts[i].first];
        const std::string linkPart = object.substr(0, object.find("\"addr_info\""));
        if (std::regex_search(linkPart, match, mac))
            link.mac = match[1];
        for (auto it = std::sregex_iterator(object.begin(), object.end(), inet); it != std::sregex_iterator(); ++it) {
            link.addresses.insert((*it)[1]);
            if (it->str().find("\"dynamic\":true") != std::string::npos)
                link.dynamic.insert((*it)[1]);
        }
    }

    std::map<std::string, Link> ours;
    for (const NetworkAdapter& adapter : ListNetworkAdapters("/", ReadInterfaceAddresses())) {
        Link& link = ours[adapter.name];
        for (const std::uint8_t byte : adapter.hardwareAddress) {
            char text[4];
            std::snprintf(text, sizeof text, "%02x", byte);
            link.mac += (link.mac.empty() ? "" : ":") + std::string(text);
        }
        for (const InterfaceAddress& address : adapter.addresses) {
            link.addresses.insert(address.address);
            if (address.dynamic)
                link.dynamic.insert(address.address);
        }
    }
    ASSERT_EQ(ours.size(), links.size());
    for (const auto& [name, link] : links) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(ours.count(name));
        EXPECT_EQ(ours.at(name).mac, link.mac);
        EXPECT_EQ(ours.at(name).addresses, link.addresses);
        EXPECT_EQ(ours.at(name).dynamic, link.dynamic);
    }
}
