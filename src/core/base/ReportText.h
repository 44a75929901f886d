#pragma once

#include "core/base/GrowStringArray.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

enum class ReportChange {
    Status,  // the status line has a new text
    Display,  // the output control has a new text (report lines or a hex dump)
};

// The main window's text: the report lines that every text report writes,
// the text its output control shows, and its status line. Workers and the
// user interface write it from any thread; the window listens for changes
// and shows them on its own thread.
class ReportText {
public:
    static constexpr int kReportLines = 128;
    static constexpr int kReportColumns = 73;
    static constexpr int kStatusColumns = 40;
    // RefreshDisplay's byte count that stands for the whole report.
    static constexpr int kWholeReport = 2048;

    // Called after each change, on the thread that made it, outside the lock.
    using Listener = std::function<void(ReportChange)>;
    void SetListener(Listener listener);

    // The report lines, as GrowStringArray::ElementAt finds them.
    void SetLine(int index, const std::string& text);
    std::string GetLine(int index);
    int GetLineCount() const;

    // Empties every report line and shows the empty report; ClearDisplay
    // also logs its start and end.
    void ClearDisplayLines();
    void ClearDisplay();
    // Shows the report lines: lines for `bytes` (16 a line, all 128 from 2048
    // on) are padded or cut to 73 columns, and the text runs from line 0 to
    // the last line with content.
    void RefreshDisplay(int bytes);
    // Shows every report line, however many, each padded or cut to 73 columns.
    void ShowEveryLine();
    // What the output control shows now.
    std::string GetDisplayText() const;

    // Replaces the dump lines with `lines` lines of 16 bytes each from data.
    void FormatHexDump(const std::uint8_t* data, int lines);
    // Replaces the dump lines with the first `bytes` of data, the last line
    // holding only what is left; the number of lines.
    int FormatHexDumpBytes(const std::uint8_t* data, std::uint32_t bytes);
    // Shows the header, the rule and the first `lines` dump lines.
    void ShowHexDump(int lines);
    std::vector<std::string> GetHexLines() const;

    // The status line: cut to 40 columns.
    void ShowStatus(const std::string& text);
    // Any length: logged, padded to 40 columns and shown.
    void SetStatusLine(const std::string& text);
    // "     Amount completed  %3d%%" of done / total (1 to 100), or text when
    // done is 1.
    void ShowProgressStatus(int done, const std::string& text, int total);
    // The status text without its trailing blanks.
    std::string GetStatusText() const;
    // What the status display shows (at least 40 columns).
    std::string GetStatusDisplay() const;

    // 1 while the output control holds a byte view: empty report lines then
    // count as content.
    std::atomic<int> m_bHexView{0};

private:
    void Notify(ReportChange change);
    // Fits the first `fresh` lines to the columns and shows lines up to the
    // last with content among the first `shown` (-1 for both: every line).
    void ShowLines(int fresh, int shown);
    bool CountsAsContent(const std::string& line) const;

    mutable std::mutex m_mutex;
    Listener m_listener;
    GrowStringArray m_StringArray;
    std::string m_strDisplay;
    std::vector<std::string> m_HexLines;
    std::string m_strStatus;
    std::string m_strStatusDisplay;
};

// The report line convention: a left-aligned label and a right-aligned
// value over 73 columns, and hexadecimal values in upper case with "h".
std::string FormatReportLine(const std::string& label, const std::string& value);
std::string FormatHexValue(std::uint64_t value);
