#pragma once

#include <string>
#include <vector>

// The BIOS as the firmware's DMI tables tell it (sys/class/dmi/id under
// `root`, "/" or a fixture tree). Texts are as read, line ends removed;
// empty where the machine has no such entry.
struct BiosFacts {
    std::string date;  // bios_date
    // bios_vendor, bios_version and bios_release, in this order
    std::vector<std::string> versionStrings;
};
BiosFacts ReadBiosFacts(const std::string& root);
