#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CDevice;
class CScsiCommand;
class MmcCommands;
class MmcMediaReads;

// What the loaded disc is: the current profile, the DVD book type, the
// program's MediaType code and its name, and the disc's extent.
class MediaIdentification {
public:
    // current: the drive list's current drive, read when a command needs it.
    MediaIdentification(CScsiCommand& channel, MmcCommands& mmc, MmcMediaReads& reads, CDevice* const& current);

    // The current profile from GET CONFIGURATION into `profile` (0 when the
    // command fails); the channel's result.
    int GetDriveProfile(int& profile);
    // The DVD book type 0-15; -1 without a disc or when it cannot be read.
    int GetBookType();
    // The media type of the DVD+R/RW media-ID table row of the disc; -2 when
    // its ID is empty or not in the table, -1 when the structure is refused.
    int LookupMediaIdCode();
    // The MediaType of the disc; 0 (as DVD-ROM) without one.
    int GetMediaType();
    // The medium's name ("NO MEDIA" without one); the current profile.
    int GetMediaTypeName(std::string& name);
    // The disc's media ID as text: the DVD+ (and DVD-ROM) manufacturer and
    // type IDs, the DVD-R/RW maker from the pre-pits, the DVD-RAM maker text,
    // a BD's disc ID; 1 when one was read, else 0 (a BD-ROM gives its name
    // and 0).
    int GetMediaIDString(std::string& text);
    // The same for a disc whose MediaType is known: no presence test, no
    // further identification.
    int ReadMediaIdText(int mediaType, std::string& text);
    // The last block of the disc: where the last of its read performance
    // extents ends, or READ CAPACITY's last block from a drive that refuses
    // GET PERFORMANCE; half the last block of a BD-ROM; 0 on failure.
    std::int64_t GetMediaCapacity();
    // The physical format information (00h), else a DVD+ disc's ADIP
    // information (11h), into `answer`; logs `fallbackLog` (when given)
    // before the second try. The channel's result of the last read.
    int ReadDvdStructureOrAdip(std::vector<std::uint8_t>& answer, const char* fallbackLog);

private:
    CScsiCommand& m_ScsiCommand;
    MmcCommands& m_mmc;
    MmcMediaReads& m_reads;
    CDevice* const& m_pCurrentDevice;
};
