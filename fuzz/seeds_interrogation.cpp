#include "DriveSeeds.h"
#include "FuzzSeeds.h"

void Interrogate(fuzzdrive::FuzzCore& fuzz);

std::vector<std::string> FuzzSeeds()
{
    std::vector<std::string> seeds;
    for (const auto& [drive, medium] :
         {std::pair{"dvd-writer", "dvd+r"}, std::pair{"bd-writer", "bd-r"}, std::pair{"cd-reader", "none"},
          std::pair{"usb-dvd-reader", "dvd-rom"}, std::pair{"benq", "dvd+rw"}})
        seeds.push_back(fuzzdrive::RecordAnswers(drive, medium, Interrogate));
    return seeds;
}
