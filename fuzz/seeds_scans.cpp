#include "DriveSeeds.h"
#include "FuzzScans.h"
#include "FuzzSeeds.h"

std::vector<std::string> FuzzSeeds()
{
    std::vector<std::string> seeds;
    for (std::size_t engine = 0; engine < kFuzzedEngineCount; ++engine)
        seeds.push_back(fuzzdrive::RecordAnswers(
            kFuzzedEngines[engine].drive, "dvd+r", [engine](fuzzdrive::FuzzCore& fuzz) { Scan(fuzz, engine); },
            std::string(1, static_cast<char>(engine))));
    return seeds;
}
