#include "platform/sysinfo/Processors.h"

#include "platform/files/AttributeFiles.h"
#include "platform/sysinfo/RootedPath.h"
#include "platform/text/Trim.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>

namespace {

constexpr int kMaxProcessors = 1 << 16;

bool ParseNumber(const std::string& text, int& value)
{
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return !text.empty() && error == std::errc() && stop == end && value >= 0 && value < kMaxProcessors;
}

// "cpu MHz : 2096.015" of each "processor : n" block.
std::map<int, int> CpuinfoClocks(const std::string& path)
{
    std::map<int, int> clocks;
    std::ifstream in(path);
    std::string line;
    int processor = -1;
    while (std::getline(in, line)) {
        const auto colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        const std::string key = TrimText(line.substr(0, colon), " \t");
        const std::string value = TrimText(line.substr(colon + 1), " \t");
        if (key == "processor") {
            if (!ParseNumber(value, processor))
                processor = -1;
        } else if (key == "cpu MHz" && processor >= 0) {
            double mhz = 0;
            const auto [stop, error] = std::from_chars(value.data(), value.data() + value.size(), mhz);
            if (error == std::errc() && stop == value.data() + value.size() && mhz > 0 && mhz < 1e6)
                clocks[processor] = static_cast<int>(std::lround(mhz));
        }
    }
    return clocks;
}

}  // namespace

std::vector<int> ParseCpuList(const std::string& text)
{
    std::vector<int> numbers;
    std::istringstream in(TrimText(text, " \t\r\n"));
    std::string range;
    while (std::getline(in, range, ',')) {
        const auto dash = range.find('-');
        int first = 0;
        int last = 0;
        if (!ParseNumber(range.substr(0, dash), first)
            || (dash != std::string::npos && !ParseNumber(range.substr(dash + 1), last)))
            return {};
        if (dash == std::string::npos)
            last = first;
        if (last < first || (!numbers.empty() && first <= numbers.back()))
            return {};
        for (int n = first; n <= last; ++n)
            numbers.push_back(n);
    }
    return numbers;
}

std::vector<int> ReadOnlineProcessors(const std::string& root)
{
    return ParseCpuList(ReadAttribute(RootedPath(root, "sys/devices/system/cpu/online")));
}

std::optional<int> ReadThreadsPerCore(const std::string& root, const std::vector<int>& processors)
{
    if (processors.empty())
        return std::nullopt;
    const std::string siblings = ReadAttribute(RootedPath(
        root, "sys/devices/system/cpu/cpu" + std::to_string(processors.front()) + "/topology/thread_siblings_list"));
    const std::vector<int> threads = ParseCpuList(siblings);
    if (threads.empty())
        return std::nullopt;
    return static_cast<int>(threads.size());
}

std::map<int, int> ReadProcessorClocks(const std::string& root, const std::vector<int>& processors)
{
    std::map<int, int> clocks;
    std::map<int, int> cpuinfo;
    bool cpuinfoRead = false;
    for (const int processor : processors) {
        const std::string cpufreq = RootedPath(root,
                                               "sys/devices/system/cpu/cpu" + std::to_string(processor) + "/cpufreq/");
        std::optional<std::uint64_t> khz = ReadAttributeNumber(cpufreq + "base_frequency");
        if (!khz || *khz == 0)
            khz = ReadAttributeNumber(cpufreq + "cpuinfo_max_freq");
        if (khz && *khz > 0 && *khz < 1'000'000'000) {
            clocks[processor] = static_cast<int>((*khz + 500) / 1000);
            continue;
        }
        if (!cpuinfoRead) {
            cpuinfo = CpuinfoClocks(RootedPath(root, "proc/cpuinfo"));
            cpuinfoRead = true;
        }
        if (const auto found = cpuinfo.find(processor); found != cpuinfo.end())
            clocks[processor] = found->second;
    }
    return clocks;
}
