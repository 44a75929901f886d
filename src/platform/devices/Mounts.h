#pragma once

#include <functional>
#include <string>
#include <vector>

// Each line of a mount table laid out as /proc/self/mounts: its source and
// target with their octal escapes undone, in the table's order, until visit
// returns false.
void ForEachMount(const std::string& mountsFile,
                  const std::function<bool(const std::string& source, const std::string& target)>& visit);

// Where the file system on a device node is mounted; empty when it is not.
// mountsFile stands for /proc/self/mounts so tests use fixtures.
std::string MountPointOf(const std::string& deviceNode, const std::string& mountsFile = "/proc/self/mounts");

// True when the parts, each matched without regard to case (discs name their
// files in either case), lead from folder to a regular file.
bool HasFileIgnoringCase(const std::string& folder, const std::vector<std::string>& parts);
