#pragma once

#include "platform/sysinfo/SystemFacts.h"

#include <atomic>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

// Where the log header's facts come from; tests replace them.
struct LogHeaderSources {
    std::function<std::time_t()> now = [] { return std::time(nullptr); };
    std::function<std::string()> executablePath = [] { return ExecutablePath(); };
    std::function<std::optional<MemoryStatus>()> memoryStatus = [] { return ReadMemoryStatus(); };
    std::function<std::string()> osProductName = [] { return ReadOsProductName(); };
    std::function<std::optional<KernelVersion>()> kernelVersion = [] { return ReadKernelVersion(); };
};

// The program log "<base>.log" in the temporary folder, the previous run's
// log kept as "<base>old.log" (renamed, so a log still written by another
// running instance goes on into the old log). Every entry is one line
// stamped with its own time ("HH:MM:SS text") and flushed at once. Safe to
// use from any thread.
class CLogFile {
public:
    ~CLogFile();
    CLogFile(const CLogFile&) = delete;
    CLogFile& operator=(const CLogFile&) = delete;

    // Renames the previous log aside, opens a new log and writes the header.
    // Null when the file cannot be opened (error says why).
    static std::unique_ptr<CLogFile> Open(const std::string& folder, const std::string& baseName,
                                          const LogHeaderSources& sources = LogHeaderSources(),
                                          std::string* error = nullptr);

    void WriteEntry(std::string_view text);
    // The "Memory statistics" line and its seven lines as timed entries.
    void WriteMemoryStatistics();

    const std::string& Path() const { return path_; }

private:
    CLogFile(std::FILE* file, std::string path, LogHeaderSources sources);
    void WriteRaw(std::string_view line);
    void WriteOSInfo();

    std::FILE* file_;
    std::string path_;
    LogHeaderSources sources_;
    std::mutex mutex_;
};

// The seven memory lines of the header, in order.
std::string MemoryStatisticsLines(const MemoryStatus& status);
// "%#c"-style long local date and time ("Thursday, December 10, 2026 12:34:19").
std::string FormatLogDateTime(std::time_t when);

extern CLogFile* g_pLogFile;
extern std::atomic<int> g_bLogging;

// One log entry when logging is on; nothing otherwise.
void LogEntry(std::string_view text);
void LogEntryF(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Opens the process log in the temporary folder and switches logging on;
// false (logging stays off) when it cannot be opened. The log object lives
// until the process ends.
bool StartProgramLog(const std::string& folder, const LogHeaderSources& sources = LogHeaderSources());
// Switches logging off and closes the log (tests and the end of a run).
void StopProgramLog();
