#include "core/drive/MediaType.h"

#include "core/base/Format.h"
#include "core/drive/MmcTypes.h"
#include "scsi/Profiles.h"

#include <algorithm>

namespace {

struct NamedMediaType {
    int mediaType;
    const char* name;
};

// clang-format off
constexpr NamedMediaType kMediaTypeNames[] = {
    {kMediaPlusUnknownId, "DVD+R/RW"}, {kMediaDvdRom, "DVD-ROM"},       {kMediaDvdMinusR, "DVD-R"},
    {kMediaDvdMinusRw, "DVD-RW"},      {kMediaHdDvdRom, "HD DVD-ROM"},  {kMediaHdDvdR, "HD DVD-R"},
    {kMediaDvdMinusRDl, "DVD-RDL"},    {kMediaDvdPlusRw, "DVD+RW"},     {kMediaDvdPlusR, "DVD+R"},
    {kMediaDvdRam, "DVD-RAM"},         {kMediaDvdPlusRwDl, "DVD+RW DL"}, {kMediaDvdPlusRDl, "DVD+R DL"},
    {kMediaBdRom, "BD-ROM"},           {kMediaBdR, "BD-R"},             {kMediaBdRe, "BD-RE"},
    {kMediaHdDvdRw, "HD DVD-RW"},      {kMediaDvdDownload, "DVD Download"}, {kMediaCd, "CD"},
    {kMediaCdRw, "CD-RW"},             {kMediaDdcdR, "DDCD-R"},         {kMediaDdcdRw, "DDCD-RW"},
};
// clang-format on

struct ProfileMapping {
    int profile;
    int mediaType;
};

// clang-format off
constexpr ProfileMapping kProfileMediaTypes[] = {
    {profile::kCdRom, kMediaCd},                   {profile::kCdR, kMediaCd},
    {profile::kHdBurnRom, kMediaCd},               {profile::kHdBurnR, kMediaCd},
    {profile::kCdRw, kMediaCdRw},                  {profile::kHdBurnRw, kMediaCdRw},
    {profile::kDvdR, kMediaDvdMinusR},             {profile::kDvdRam, kMediaDvdRam},
    {profile::kDvdRwRestricted, kMediaDvdMinusRw}, {profile::kDvdRwSequential, kMediaDvdMinusRw},
    {profile::kDvdRDl, kMediaDvdMinusRDl},         {profile::kDvdDownload, kMediaDvdDownload},
    {profile::kDvdPlusRw, kMediaDvdPlusRw},        {profile::kDvdPlusR, kMediaDvdPlusR},
    {profile::kDdcdR, kMediaDdcdR},                {profile::kDdcdRw, kMediaDdcdRw},
    {profile::kDvdPlusRwDl, kMediaDvdPlusRwDl},    {profile::kDvdPlusRDl, kMediaDvdPlusRDl},
    {profile::kBdRom, kMediaBdRom},                {profile::kBdRRandom, kMediaBdRRandom},
    {profile::kBdRe, kMediaBdRe},                  {profile::kHdDvdRom, kMediaHdDvdRom},
    {profile::kHdDvdR, kMediaHdDvdR},              {profile::kHdDvdRam, kMediaHdDvdRam},
    {profile::kHdDvdRw, kMediaHdDvdRw},            {profile::kHdDvdRDl, kMediaHdDvdRDl},
    {profile::kHdDvdRwDl, kMediaHdDvdRwDl},
};
// clang-format on

}  // namespace

const char* MediaTypeName(int mediaType)
{
    for (const NamedMediaType& entry : kMediaTypeNames)
        if (entry.mediaType == mediaType)
            return entry.name;
    return "UNKNOWN";
}

const char* ProfileMediaName(int number)
{
    using namespace profile;
    switch (number) {
    case kCdRom: return "CD-ROM";
    case kCdR: return "CD-R";
    case kCdRw: return "CD-RW";
    case kDvdDownload: return "DVD Download";
    case kDdcdRom: return "DDCD";
    case kDdcdR: return "DDCD-R";
    case kDdcdRw: return "DDCD-RW";
    case kHdBurnRom:
    case kHdBurnR:
    case kHdBurnRw: return "HD-BURN";
    default: return nullptr;
    }
}

const char* DvdBookTypeName(int bookType)
{
    switch (bookType) {
    case 0: return "DVD-ROM";
    case 1: return "DVD-RAM";
    case 2: return "DVD-R";
    case 3: return "DVD-RW";
    case 9: return "DVD+RW";
    case 10: return "DVD+R";
    case 13: return "DVD+RW DL";
    case 14: return "DVD+R DL";
    default: return nullptr;
    }
}

std::optional<int> MediaTypeOfProfile(int profile)
{
    for (const ProfileMapping& mapping : kProfileMediaTypes)
        if (mapping.profile == profile)
            return mapping.mediaType;
    return std::nullopt;
}

const MediaIdEntry* FindMediaId(std::string_view key)
{
    const auto table = MediaIdTable();
    const auto found = std::find_if(table.begin(), table.end(),
                                    [&](const MediaIdEntry& entry) { return key == entry.mediaId; });
    return found == table.end() ? nullptr : &*found;
}

namespace disc_structure {

std::string MediaIdKey(std::span<const std::uint8_t> answer)
{
    const std::string manufacturer = AnswerText(answer, 23, 8);
    if (manufacturer.empty())
        return {};
    return Format("%-8s%3s", manufacturer.c_str(), AnswerText(answer, 31, 3).c_str());
}

int BookType(std::span<const std::uint8_t> answer)
{
    return answer.size() > 4 ? answer[4] >> 4 : -1;
}

int PlusMediaKind(std::span<const std::uint8_t> answer)
{
    if (answer.size() <= 35)
        return -1;
    if (answer[35] == '8')
        return kMediaDvdPlusR;
    if (answer[35] == '9')
        return kMediaDvdPlusRw;
    return -1;
}

}  // namespace disc_structure
