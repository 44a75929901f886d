#pragma once

#include <string>

class DriveContext;
class UserPrompt;
struct ScanState;

// The three media texts of the scan window: media name (1393), MID code
// (1391) and book type (1413).
struct ScanMediaTexts {
    std::string mediaName = "N/A";
    std::string midCode = "N/A";
    std::string bookType = "N/A";
    bool operator==(const ScanMediaTexts&) const = default;
};

// The medium's name as the scan window calls it ("NO MEDIA" without one,
// "UNKNOWN" for what it has no name for); the current profile.
int GetMediaName(DriveContext& drive, std::string& name);
// The manufacturer (MID) code of a DVD: the DVD+ and DVD-ROM IDs, the
// DVD-R/RW pre-pit maker, the DVD-RAM maker text; 1 when a text was made.
int GetMediaIdCode(DriveContext& drive, std::string& text);
// The book type's name in the scan window; "N/A" for one it does not show.
const char* ScanBookTypeText(int bookType);
// The media names of CDs, which the scan cannot measure.
bool IsCdMediaName(const std::string& name);

struct ScanMediaInfo {
    ScanMediaTexts texts;
    bool cdMedium = false;
};
// The window's media set-up: the media name, MID code and book type texts.
// With stopAtCd a CD's name is all that is read.
ScanMediaInfo ReadScanMediaInfo(DriveContext& drive, bool stopAtCd);
// The CD refusal of the window's set-up: "CD scanning is not yet supported"
// the first time (`m_bCdWarned`, which nothing resets). True when the window
// must end its run (result 1): for every CD.
bool RefuseCdMedium(const ScanMediaInfo& info, ScanState& state, UserPrompt& prompt);
