#pragma once

#include <cstdint>
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

// The setting's "speedup=N" (N a whole number): the emulated drives spend
// their speed model's time in wall time divided by N, and their clocks read
// the model's time, so a program timing its reads by the drive's clock (see
// EmulatedDriveTimeOf) measures the model's speeds. The default makes a whole
// single-layer DVD (4.7 GB, 300 s at the default DVD writer's 16x CAV) read in
// half a minute; 1 is the drive's own time, 0 answers at once on the
// machine's time. A bad value is left out with a line in problems.
constexpr double kDefaultEmulatedSpeedup = 10;
double ParseEmulatedSpeedup(const std::string& setting, std::vector<std::string>& problems);

// An emulated drive's own time, for a program that times and waits by the
// drive: a wait spends the drive's time, which a paced drive shortens.
class EmulatedDriveTime {
public:
    virtual ~EmulatedDriveTime() = default;
    virtual std::uint64_t NowMs() const = 0;
    virtual void Wait(std::uint32_t milliseconds) = 0;
};

// The time of a drive whose clock can be waited on; null for a drive that
// answers at once on the machine's time (speedup=0).
std::shared_ptr<EmulatedDriveTime> EmulatedDriveTimeOf(const emu::EmulatedDrive& drive);

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
