#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class DriveContext;
class ReportText;

// A disc whose media code no rated-speed list knows: what the mail to the
// maker says about it.
struct UnknownMediaCode {
    std::string mediaId;
    std::string mediaType;
    float highestFactor = 0;
    std::string completeMediaCode;  // the dump lines, each ending in "\n"
};

// How a media information run ended.
struct MediaInfoOutcome {
    bool show = false;  // the report is complete: the window shows it
    bool showDriveInfo = false;  // not a CD/DVD/BD: the drive information page instead
    std::string messageBox;  // with caption and type, shown by the window
    std::string caption;
    unsigned boxType = 0;
    std::optional<UnknownMediaCode> unknown;  // ask whether to mail it
};

// The media information report of the disc in the current drive: its lines
// go into `view` (the report window's lines), the progress to `status` (the
// main window's status line). Runs as drive work, off the window's thread.
class MediaInfoReport {
public:
    MediaInfoReport(DriveContext& drives, ReportText& status, ReportText& view);

    // scanWindowOpen: the PI/PO window is open, which refuses the run as a test does.
    MediaInfoOutcome GeneralInfo(bool scanWindowOpen);

    // The complete media code as dump lines into the view from firstLine:
    // the count written (3, 4 or 5), 0 on failure or for a disc without one.
    int DoCompleteMediaCode(int firstLine);
    // The same dump as text, a line each; 1 on success.
    int DoCompleteMediaCode(std::string& text);
    // The disc's BDMV/MovieObject.bdmv (when the disc is mounted) dumped from
    // firstLine; 1 when it was read.
    int GetMovieObjectFileData(int firstLine);

private:
    struct Run;
    void Status(const std::string& text);
    int ReadMediaCode(std::vector<std::uint8_t>& code, std::uint32_t& firstAddress, int& lines);
    void Append(Run& run, const std::string& line);
    void WriteRegions(Run& run);
    void WriteVolume(Run& run);
    void WriteCapacity(Run& run);
    void WriteFreeSpace(Run& run);
    void WritePhysicalAndMediaCode(Run& run);
    void WriteCdMediaCode(Run& run);
    void WriteBd(Run& run);
    void WriteFormatLayers(Run& run);
    void WriteRatedSpeed(Run& run);
    void WritePerformance(Run& run);
    void WriteWriteStrategy(Run& run);
    void WriteBackgroundFormat(Run& run);
    void WritePhysicalData(Run& run);
    void WriteCompleteMediaCode(Run& run);

    DriveContext& m_drives;
    ReportText& m_status;
    ReportText& m_view;
};

struct DriveAnswer;

// The report's lines of a GET PERFORMANCE answer: write speeds (the read
// descriptors of a BD-ROM, each value once); the highest factor kept.
std::vector<std::string> PerformanceLines(const DriveAnswer& answer, int mediaType, bool cd, int bookType,
                                          float& highestFactor);

// A movie-object file dumped into `view` from firstLine, its last line's
// missing bytes as "--"; at most the lines left in the report. 1 when read.
int DumpMovieObjectFile(const std::string& path, ReportText& view, int firstLine);

// The burner information of a DVD-R/RW into the main window's report.
void ShowBurnerInfo(DriveContext& drives, ReportText& report);

// The mailto link that offers an unknown media code to the maker: subject
// and body percent-encoded.
std::string MediaCodeMailLink(const UnknownMediaCode& code);
// Text percent-encoded for a URL (all but the unreserved characters).
std::string PercentEncode(const std::string& text);
