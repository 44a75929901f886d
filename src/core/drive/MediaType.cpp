#include "core/drive/MediaType.h"

#include "core/base/Format.h"
#include "core/drive/MmcTypes.h"

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
    {0x08, kMediaCd},          {0x09, kMediaCd},          {0x80, kMediaCd},          {0x81, kMediaCd},
    {0x0A, kMediaCdRw},        {0x82, kMediaCdRw},        {0x11, kMediaDvdMinusR},   {0x12, kMediaDvdRam},
    {0x13, kMediaDvdMinusRw},  {0x14, kMediaDvdMinusRw},  {0x15, kMediaDvdMinusRDl}, {0x18, kMediaDvdDownload},
    {0x1A, kMediaDvdPlusRw},   {0x1B, kMediaDvdPlusR},    {0x21, kMediaDdcdR},       {0x22, kMediaDdcdRw},
    {0x2A, kMediaDvdPlusRwDl}, {0x2B, kMediaDvdPlusRDl},  {0x40, kMediaBdRom},       {0x42, kMediaBdRRandom},
    {0x43, kMediaBdRe},        {0x50, kMediaHdDvdRom},    {0x51, kMediaHdDvdR},      {0x52, kMediaHdDvdRam},
    {0x53, kMediaHdDvdRw},     {0x58, kMediaHdDvdRDl},    {0x5A, kMediaHdDvdRwDl},
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

const char* ProfileMediaName(int profile)
{
    switch (profile) {
    case 0x08: return "CD-ROM";
    case 0x09: return "CD-R";
    case 0x0A: return "CD-RW";
    case 0x18: return "DVD Download";
    case 0x20: return "DDCD";
    case 0x21: return "DDCD-R";
    case 0x22: return "DDCD-RW";
    case 0x80:
    case 0x81:
    case 0x82: return "HD-BURN";
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
