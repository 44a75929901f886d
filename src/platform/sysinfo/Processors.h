#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

// The processors the kernel runs on, as sysfs and /proc tell them. `root`
// is "/" or a fixture tree.

// The numbers of sys/devices/system/cpu/online ("0-3,6"), in order; empty
// when the list cannot be read.
std::vector<int> ReadOnlineProcessors(const std::string& root);

// A CPU list such as "0-3,6" as numbers; empty when it is malformed.
std::vector<int> ParseCpuList(const std::string& text);

// How many hardware threads share a core: the size of the first online
// processor's topology/thread_siblings_list; nullopt when it cannot be read.
std::optional<int> ReadThreadsPerCore(const std::string& root, const std::vector<int>& processors);

// The rated clock of each processor in whole MHz: cpufreq's base frequency,
// else its top frequency, else the clock proc/cpuinfo gives the processor.
// A processor with none of them is left out.
std::map<int, int> ReadProcessorClocks(const std::string& root, const std::vector<int>& processors);
