#pragma once

// The engines fuzz_scans runs, and the drive presets their seeds are
// recorded on.

#include "FuzzDrive.h"
#include "core/pipo/engines/ScanEngine.h"

#include <cstddef>

struct FuzzedEngine {
    const char* drive;
    ScanEngine engine;
};
extern const FuzzedEngine kFuzzedEngines[];
extern const std::size_t kFuzzedEngineCount;

// One scan of the engine on the drive of the input; its first byte is not part of it.
void Scan(fuzzdrive::FuzzCore& fuzz, std::size_t engine);
