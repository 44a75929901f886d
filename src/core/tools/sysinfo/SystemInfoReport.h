#pragma once

#include "core/base/GrowStringArray.h"
#include "platform/sysinfo/SystemSources.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class CCpuInfo;

// What only the window knows, handed to the report: the screen's size in
// device pixels (0 when not known) and the drive lists' records.
struct ScreenFacts {
    int width = 0;
    int height = 0;
};
struct DriveFacts {
    std::string driveText;  // "sr0", "sda"
    std::string identity;  // vendor and product
    std::string firmware;
};
struct WindowFacts {
    ScreenFacts screen;
    std::vector<DriveFacts> opticalDrives;
    std::vector<DriveFacts> otherDrives;
};

// How a worker runs the report: stopRequested is asked between sections
// (and while the clock is measured), progress is told after each section.
struct SystemReportRun {
    std::function<bool()> stopRequested;
    std::function<void(int done, int total)> progress;
};

// The system information report: a text about the computer, 72 columns a
// line, section after section. Each section takes the line it starts on and
// returns the line the next one starts on. Every line is kept, however many.
class SystemInfoReport {
public:
    static constexpr int kSections = 8;

    SystemInfoReport(const SystemSources& sources, WindowFacts facts, SystemReportRun run = {});

    // The title, the sharing note and every section; nullopt when stopped.
    std::optional<std::vector<std::string>> Build();

    int ReportSystemOS(int line);
    int ReportSystemBIOS(int line);
    int ReportSystemCPU(int line);
    int ReportSystemVideo(int line);
    int ReportSystemNetwork(int line);
    int ReportNetworkAdapters(int line, const std::vector<NetworkAdapter>& adapters);
    int ReportSystemMemory(int line);
    int ReportSystemPartitions(int line);
    int ReportSystemHardware(int line);

    // Lines 0 up to `end`.
    std::vector<std::string> Lines(int end);

private:
    bool Stopped() const;
    // The title, dashes under it, and the first line after them.
    int Heading(int line, const std::string& title, std::size_t dashes = 0);

    const SystemSources& m_sources;
    WindowFacts m_facts;
    SystemReportRun m_run;
    GrowStringArray m_StringArray;
};

// The whole report on the calling thread (a worker): the lines to show, or
// nullopt when stopped.
std::optional<std::vector<std::string>> BuildSystemReport(const SystemSources& sources, const WindowFacts& facts,
                                                          const SystemReportRun& run = {});

// The maker's name for a CPUID vendor text ("GenuineIntel" -> "Intel"); the
// text itself for one not in the list.
std::string GetCpuVendorName(const std::string& vendor);
// The names of the set feature flags, ", " between them; SSSE3 and EST only
// for an Intel processor.
std::string CpuFeatureList(const CCpuInfo& cpu, bool intel);
// "%.2fMHz" up to 1000 MHz, else "%.2fGHz".
std::string CpuClockText(int mhz);
// Every run of blanks made one blank.
std::string CollapseBlanks(std::string text);

// A byte count as a number and a unit letter ("G", "M", "K" or none) by the
// memory report's steps.
std::string ScaleMemorySize(std::uint64_t bytes, float& number);
// "%.2f%sB" of ScaleMemorySize: 3,221,225,472 bytes read "3.00GB".
std::string MemorySizeText(std::uint64_t bytes);
// The free space as "%.2f%sB", divided by 1024 while above 1024 (at most
// six times, K to E); returns the divided number.
float FormatByteSize(std::uint64_t freeBytes, std::string& text);

// The "BIOS String %d" lines of the version texts, numbered over all of
// them; a blank text gives no line but keeps its number.
std::vector<std::string> BiosStringLines(const std::vector<std::string>& pieces);
