#include "core/pipo/ScanMediaInfo.h"

#include "core/base/UserPrompt.h"
#include "core/drive/DriveContext.h"
#include "core/drive/MediaType.h"
#include "core/pipo/ScanContext.h"
#include "scsi/Profiles.h"

#include <algorithm>
#include <iterator>

namespace {

struct CodeText {
    int code;
    const char* text;
};

// The media names of the scan window: by profile first, then by MediaType.
// clang-format off
constexpr CodeText kProfileNames[] = {
    {profile::kCdRom, "CD-ROM"},         {profile::kCdR, "CD-R"},             {profile::kCdRw, "CD-RW"},
    {profile::kDdcdRom, "DDCD"},         {profile::kDdcdR, "DDCD-R"},         {profile::kDdcdRw, "DDCD-RW"},
    {profile::kHdBurnRom, "HD-BURN"},    {profile::kHdBurnR, "HD-BURN"},      {profile::kHdBurnRw, "HD-BURN"},
};
constexpr CodeText kMediaTypeNames[] = {
    {kMediaDvdRom, "DVD-ROM"},     {kMediaDvdMinusR, "DVD-R"},       {kMediaDvdMinusRw, "DVD-RW"},
    {kMediaHdDvdRom, "HD DVD-ROM"}, {kMediaHdDvdR, "HD DVD-R"},       {kMediaDvdMinusRDl, "DVD-RDL"},
    {kMediaDvdPlusRw, "DVD+RW"},   {kMediaDvdPlusR, "DVD+R"},        {kMediaDvdRam, "DVD-RAM"},
    {kMediaDvdPlusRwDl, "DVD+RW DL"}, {kMediaDvdPlusRDl, "DVD+R DL"}, {kMediaHdDvdRw, "HD DVD-RW"},
    {kMediaPlusUnknownId, "DVD+R/RW"},
    {kMediaBdRom, "BD-ROM"},       {kMediaBdR, "BD-R"},              {kMediaBdRe, "BD-RE"},
    {kMediaBdRRandom, "BD-R"},
};
constexpr CodeText kBookTypeTexts[] = {
    {0, "DVD-ROM"}, {1, "DVD-RAM"}, {2, "DVD-R"},      {3, "DVD-RW"},
    {9, "DVD+RW"},  {10, "DVD+R"},  {13, "DVD+RW DL"}, {14, "DVD+R DL"},
};
// clang-format on

// The media types whose MID code the window reads.
constexpr int kMediaWithCode[] = {kMediaDvdRom,    kMediaDvdPlusRw,  kMediaDvdPlusR,    kMediaDvdPlusRDl,
                                  kMediaDvdMinusR, kMediaDvdMinusRw, kMediaDvdMinusRDl, kMediaDvdRam,
                                  kMediaBdR,       kMediaBdRe,       kMediaBdRRandom};

const char* Lookup(const CodeText* first, const CodeText* last, int code)
{
    const auto found = std::find_if(first, last, [code](const CodeText& entry) { return entry.code == code; });
    return found == last ? nullptr : found->text;
}

}  // namespace

int GetMediaName(DriveContext& drive, std::string& name)
{
    if (drive.mmc.TestMediaPresent() != 1) {
        name = "NO MEDIA";
        return 0;
    }
    int profile = 0;
    drive.media.GetDriveProfile(profile);
    if (const char* byProfile = Lookup(std::begin(kProfileNames), std::end(kProfileNames), profile)) {
        name = byProfile;
        return profile;
    }
    const char* byType = Lookup(std::begin(kMediaTypeNames), std::end(kMediaTypeNames), drive.media.GetMediaType());
    name = byType ? byType : "UNKNOWN";
    return profile;
}

int GetMediaIdCode(DriveContext& drive, std::string& text)
{
    if (drive.mmc.TestMediaPresent() != 1)
        return 0;
    const int mediaType = drive.media.GetMediaType();
    if (std::find(std::begin(kMediaWithCode), std::end(kMediaWithCode), mediaType) == std::end(kMediaWithCode))
        return 0;
    return drive.media.ReadMediaIdText(mediaType, text);
}

const char* ScanBookTypeText(int bookType)
{
    const char* text = Lookup(std::begin(kBookTypeTexts), std::end(kBookTypeTexts), bookType);
    return text ? text : "N/A";
}

bool IsCdMediaName(const std::string& name)
{
    constexpr const char* kCdNames[] = {"CD-ROM", "CD-R", "CD-RW", "DDCD", "DDCD-R", "DDCD-RW", "HD-BURN"};
    return std::find(std::begin(kCdNames), std::end(kCdNames), name) != std::end(kCdNames);
}

ScanMediaInfo ReadScanMediaInfo(DriveContext& drive, bool stopAtCd)
{
    ScanMediaInfo info;
    std::string name;
    GetMediaName(drive, name);
    info.cdMedium = IsCdMediaName(name);
    info.texts.mediaName = name == "UNKNOWN" || name == "NO MEDIA" ? "N/A" : name;
    if (info.cdMedium && stopAtCd)
        return info;
    std::string code;
    if (GetMediaIdCode(drive, code) == 1)
        info.texts.midCode = code;
    else
        info.texts.midCode = drive.media.GetMediaType() == kMediaDvdRom && name == "DVD-ROM" ? "Pressed DVD" : "N/A";
    info.texts.bookType = ScanBookTypeText(drive.media.GetBookType());
    return info;
}

bool RefuseCdMedium(const ScanMediaInfo& info, ScanState& state, UserPrompt& prompt)
{
    if (!info.cdMedium)
        return false;
    if (!state.m_bCdWarned) {
        state.m_bCdWarned = 1;
        prompt.MessageBox("CD scanning is not yet supported", "", MB_OK);
    }
    return true;
}
