#include "DriveSeeds.h"
#include "FuzzSeeds.h"

void ReportMedia(fuzzdrive::FuzzCore& fuzz);

std::vector<std::string> FuzzSeeds()
{
    std::vector<std::string> seeds;
    for (const auto& [drive, medium] :
         {std::pair{"bd-writer", "dvd+r"}, std::pair{"bd-writer", "bd-r"}, std::pair{"bd-writer", "cd-rw"},
          std::pair{"bd-writer", "dvd-rom"}, std::pair{"toshiba", "hddvd-rom"}, std::pair{"bd-writer", "dvd-r-blank"}})
        seeds.push_back(fuzzdrive::RecordAnswers(drive, medium, ReportMedia));
    return seeds;
}
