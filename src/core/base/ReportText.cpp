#include "core/base/ReportText.h"

#include "core/base/Format.h"
#include "core/base/HexDump.h"
#include "core/base/LogFile.h"
#include "core/base/Percent.h"
#include "core/base/UserPrompt.h"
#include "platform/text/Trim.h"

#include <algorithm>
#include <new>

namespace {

constexpr int kBytesPerReportLine = 16;

std::string ToColumns(const std::string& line, int columns)
{
    std::string fitted = line.substr(0, static_cast<std::size_t>(columns));
    fitted.resize(static_cast<std::size_t>(columns), ' ');
    return fitted;
}

}  // namespace

void ReportText::SetListener(Listener listener)
{
    std::lock_guard lock(m_mutex);
    m_listener = std::move(listener);
}

void ReportText::Notify(ReportChange change)
{
    Listener listener;
    {
        std::lock_guard lock(m_mutex);
        listener = m_listener;
    }
    if (listener)
        listener(change);
}

void ReportText::SetLine(int index, const std::string& text)
{
    std::lock_guard lock(m_mutex);
    m_StringArray.ElementAt(index) = text;
}

std::string ReportText::GetLine(int index)
{
    std::lock_guard lock(m_mutex);
    return m_StringArray.ElementAt(index);
}

int ReportText::GetLineCount() const
{
    std::lock_guard lock(m_mutex);
    return m_StringArray.GetCount();
}

void ReportText::ClearDisplayLines()
{
    {
        std::lock_guard lock(m_mutex);
        m_StringArray.EmptyAll();
    }
    RefreshDisplay(kWholeReport);
}

void ReportText::ClearDisplay()
{
    LogEntry("Start ClearDisplay()");
    ClearDisplayLines();
    LogEntry("End ClearDisplay()");
}

bool ReportText::CountsAsContent(const std::string& line) const
{
    if (line == std::string(kReportColumns, ' '))
        return false;
    if (m_bHexView == 1)
        return true;
    return line.find_first_not_of(' ') != std::string::npos;
}

void ReportText::RefreshDisplay(int bytes)
{
    const int fresh = bytes > kWholeReport
        ? kReportLines
        : std::clamp((bytes + kBytesPerReportLine - 1) / kBytesPerReportLine, 1, kReportLines);
    ShowLines(fresh, kReportLines);
}

void ReportText::ShowEveryLine()
{
    ShowLines(-1, -1);
}

void ReportText::ShowLines(int fresh, int shown)
{
    {
        std::lock_guard lock(m_mutex);
        if (shown < 0)
            fresh = shown = std::max(m_StringArray.GetCount(), 1);
        for (int i = 0; i < fresh; ++i) {
            std::string& line = m_StringArray.ElementAt(i);
            line = ToColumns(line, kReportColumns);
        }
        int last = -1;
        for (int i = shown - 1; i >= 0 && last < 0; --i)
            if (CountsAsContent(m_StringArray.ElementAt(i)))
                last = i;
        std::string text;
        for (int i = 0; i <= last; ++i)
            text += ToColumns(m_StringArray.ElementAt(i), kReportColumns) + "\r\n";
        m_strDisplay = std::move(text);
    }
    Notify(ReportChange::Display);
}

std::string ReportText::GetDisplayText() const
{
    std::lock_guard lock(m_mutex);
    return m_strDisplay;
}

void ReportText::FormatHexDump(const std::uint8_t* data, int lines)
{
    std::lock_guard lock(m_mutex);
    m_HexLines.clear();
    if (!data || lines <= 0)
        return;
    for (int n = 0; n < lines; ++n)
        m_HexLines.push_back(
            HexDumpLine(data + n * kHexDumpBytesPerLine, static_cast<std::uint32_t>(n * kHexDumpBytesPerLine)));
}

int ReportText::FormatHexDumpBytes(const std::uint8_t* data, std::uint32_t bytes)
{
    std::lock_guard lock(m_mutex);
    m_HexLines.clear();
    if (!data)
        return 0;
    constexpr auto kLine = static_cast<std::uint32_t>(kHexDumpBytesPerLine);
    for (std::uint32_t at = 0; at < bytes; at += kLine)
        m_HexLines.push_back(HexDumpLine(data + at, at, static_cast<int>(std::min(kLine, bytes - at))));
    return static_cast<int>(m_HexLines.size());
}

void ReportText::ShowHexDump(int lines)
{
    try {
        std::lock_guard lock(m_mutex);
        std::string text = std::string(kHexDumpHeader) + "\r\n" + kHexDumpRule + "\r\n";
        const int shown = std::clamp(lines, 0, static_cast<int>(m_HexLines.size()));
        for (int n = 0; n < shown; ++n) {
            std::string& line = m_HexLines[static_cast<std::size_t>(n)];
            line = ToColumns(line, kHexDumpColumns);
            text += line + "\r\n";
        }
        m_strDisplay = std::move(text);
    } catch (const std::bad_alloc&) {
        AppMessageBox("Error allocating memory");
        return;
    }
    Notify(ReportChange::Display);
}

std::vector<std::string> ReportText::GetHexLines() const
{
    std::lock_guard lock(m_mutex);
    return m_HexLines;
}

void ReportText::ShowStatus(const std::string& text)
{
    SetStatusLine(Format("%-40s", text.c_str()).substr(0, kStatusColumns));
}

void ReportText::SetStatusLine(const std::string& text)
{
    LogEntry(text);
    const std::string shown = Format("%-40s", text.c_str());
    {
        std::lock_guard lock(m_mutex);
        m_strStatusDisplay = shown;
        m_strStatus = WithoutTrailingBlanks(shown);
    }
    Notify(ReportChange::Status);
}

void ReportText::ShowProgressStatus(int done, const std::string& text, int total)
{
    if (total == 0)
        return;
    if (done == 1)
        ShowStatus(text);
    else
        ShowStatus(Format("     Amount completed  %3d%%", LongOperationPercent(done, total)));
}

std::string ReportText::GetStatusText() const
{
    std::lock_guard lock(m_mutex);
    return m_strStatus;
}

std::string ReportText::GetStatusDisplay() const
{
    std::lock_guard lock(m_mutex);
    return m_strStatusDisplay;
}

std::string FormatReportLine(const std::string& label, const std::string& value)
{
    return Format("%-44s%29s", label.c_str(), value.c_str());
}

std::string FormatHexValue(std::uint64_t value)
{
    return Format("%llXh", static_cast<unsigned long long>(value));
}
