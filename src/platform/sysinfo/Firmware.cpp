#include "platform/sysinfo/Firmware.h"

#include "platform/files/SafeFile.h"
#include "platform/sysinfo/RootedPath.h"

namespace {

std::string DmiText(const std::string& root, const char* name)
{
    std::string text;
    if (!ReadWholeFile(RootedPath(root, std::string("sys/class/dmi/id/") + name), text))
        return std::string();
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

}  // namespace

BiosFacts ReadBiosFacts(const std::string& root)
{
    BiosFacts bios;
    bios.date = DmiText(root, "bios_date");
    for (const char* name : {"bios_vendor", "bios_version", "bios_release"})
        bios.versionStrings.push_back(DmiText(root, name));
    return bios;
}
