#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace emu {
class EmulatedDrive;
}  // namespace emu

// The environment variable that asks for emulated drives: a comma-separated
// list of "drive:medium" preset names; "default" stands for a sensible set.
constexpr const char* kEmulateVariable = "QUENZARIO_EMULATE";

struct EmulatedDriveRequest {
    std::string drivePreset;
    std::string mediumPreset;
};

// The requests of a setting, in order; every item that is not "drive:medium",
// "default" or "speedup=N" is left out with a line in problems.
std::vector<EmulatedDriveRequest> ParseEmulateSetting(const std::string& setting, std::vector<std::string>& problems);

// The setting's "speedup=N" (N a whole number): the emulated drives spend their speed model's
// time in wall time divided by N, so that a scan or test runs as long as on
// a drive (N = 1, without the item) or N times shorter; 0 answers at once.
// The program times its reads by its own clock, so a shortened run reads N
// times faster than the model. A bad value is left out with a line in
// problems.
constexpr double kDefaultEmulatedSpeedup = 1;
double ParseEmulatedSpeedup(const std::string& setting, std::vector<std::string>& problems);

// "default": a DVD writer with a burned DVD+R, a BD writer with a BD-R and a
// CD reader with a CD-ROM.
std::vector<EmulatedDriveRequest> DefaultEmulatedDrives();

using NamedEmulatedDrive = std::pair<std::string, std::shared_ptr<emu::EmulatedDrive>>;

// The drives of a setting named "emu0", "emu1" ... on one clock, paced by
// its speedup; a request
// naming an unknown preset is left out with a line in problems.
std::vector<NamedEmulatedDrive> MakeEmulatedDrives(const std::string& setting, std::vector<std::string>& problems);

// The preset names a setting may use, for messages and the README.
std::string DescribeEmulatePresets();
