#include "core/base/LogFile.h"

#include "core/base/AppProfile.h"
#include "core/base/Format.h"
#include "platform/files/SafeFile.h"

#include <cstdarg>
#include <iostream>
#include <shared_mutex>

CLogFile* g_pLogFile = nullptr;
std::atomic<int> g_bLogging{0};

namespace {

// Held shared by every entry and exclusively while the log is swapped, so an
// entry never meets a log that is being closed.
std::shared_mutex& LogSwapMutex()
{
    static std::shared_mutex mutex;
    return mutex;
}

std::unique_ptr<CLogFile>& OwnedLog()
{
    static std::unique_ptr<CLogFile> log;
    return log;
}

std::string TimeOfDay(std::time_t when)
{
    std::tm local{};
    localtime_r(&when, &local);
    return Format("%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
}

}  // namespace

std::string FormatLogDateTime(std::time_t when)
{
    static const char* const days[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    static const char* const months[] = {"January", "February", "March",     "April",   "May",      "June",
                                         "July",    "August",   "September", "October", "November", "December"};
    std::tm local{};
    localtime_r(&when, &local);
    return Format("%s, %s %02d, %04d %02d:%02d:%02d", days[local.tm_wday % 7], months[local.tm_mon % 12], local.tm_mday,
                  local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
}

std::string MemoryStatisticsLines(const MemoryStatus& status)
{
    constexpr int width = 7;
    const auto kb = [](std::uint64_t bytes) { return static_cast<long>(bytes / 1024); };
    std::string lines = Format("%ld percent of memory is in use.\n", static_cast<long>(status.memoryLoadPercent));
    lines += Format("There are %*ld total %sB of physical memory.\n", width, kb(status.totalPhysical), "K");
    lines += Format("There are %*ld free %sB of available physical memory.\n", width, kb(status.availablePhysical),
                    "K");
    lines += Format("There are %*ld total %sB of paging file.\n", width, kb(status.totalPageFile), "K");
    lines += Format("There are %*ld free %sB of available paging file.\n", width, kb(status.availablePageFile), "K");
    lines += Format("There are %*ld total %sB of virtual memory.\n", width, kb(status.totalVirtual), "K");
    lines += Format("There are %*ld free %sB of available virtual memory.\n", width, kb(status.availableVirtual), "K");
    return lines;
}

CLogFile::CLogFile(std::FILE* file, std::string path, LogHeaderSources sources) :
    file_(file), path_(std::move(path)), sources_(std::move(sources))
{
}

CLogFile::~CLogFile()
{
    std::fclose(file_);
}

std::unique_ptr<CLogFile> CLogFile::Open(const std::string& folder, const std::string& baseName,
                                         const LogHeaderSources& sources, std::string* error)
{
    const std::string started = FormatLogDateTime(sources.now());
    const std::string path = folder + "/" + baseName + ".log";
    const std::string oldPath = folder + "/" + baseName + "old.log";

    // Renamed, not copied: however large it grew, it costs nothing to keep.
    std::string keepError;
    if (!MovePrivateFile(path, oldPath, &keepError))
        std::cerr << "Quenzario: previous log not kept: " << keepError << '\n';

    const int fd = OpenPrivateFileForWriting(path, error);
    if (fd < 0)
        return nullptr;
    std::FILE* file = fdopen(fd, "w");
    if (!file) {
        ::close(fd);
        if (error)
            *error = "cannot open " + path + " as a stream";
        return nullptr;
    }
    std::unique_ptr<CLogFile> log(new CLogFile(file, path, sources));
    log->WriteRaw("Log Started " + started + "\n");
    log->WriteRaw("program exe path " + sources.executablePath() + "\n");
    log->WriteRaw(Format("Program Version %.3f\n", GetProgramVersionNumber()));
    log->WriteOSInfo();
    log->WriteRaw("Memory statistics\n");
    if (const auto memory = sources.memoryStatus())
        log->WriteRaw(MemoryStatisticsLines(*memory));
    else
        log->WriteRaw("Memory statistics are not available (/proc/meminfo cannot be read).\n");
    return log;
}

void CLogFile::WriteOSInfo()
{
    WriteRaw("Operating System\n");
    std::string line = sources_.osProductName();
    if (const auto version = sources_.kernelVersion())
        line += Format(" Version %d.%d (Build %d)", version->major, version->minor, version->build);
    WriteRaw(line + "\n");
}

void CLogFile::WriteRaw(std::string_view line)
{
    std::lock_guard lock(mutex_);
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
}

void CLogFile::WriteEntry(std::string_view text)
{
    std::string line = TimeOfDay(sources_.now());
    line += ' ';
    line += text;
    line += '\n';
    WriteRaw(line);
}

void CLogFile::WriteMemoryStatistics()
{
    WriteEntry("Memory statistics");
    const auto memory = sources_.memoryStatus();
    if (!memory) {
        WriteEntry("Memory statistics are not available (/proc/meminfo cannot be read).");
        return;
    }
    const std::string lines = MemoryStatisticsLines(*memory);
    size_t start = 0;
    for (size_t end = lines.find('\n'); end != std::string::npos; start = end + 1, end = lines.find('\n', start))
        WriteEntry(std::string_view(lines).substr(start, end - start));
}

void LogEntry(std::string_view text)
{
    if (!g_bLogging.load())
        return;
    std::shared_lock lock(LogSwapMutex());
    if (g_bLogging.load() && g_pLogFile)
        g_pLogFile->WriteEntry(text);
}

void LogEntryF(const char* format, ...)
{
    if (!g_bLogging.load())
        return;
    std::va_list args;
    va_start(args, format);
    const std::string text = FormatV(format, args);
    va_end(args);
    LogEntry(text);
}

bool StartProgramLog(const std::string& folder, const LogHeaderSources& sources)
{
    StopProgramLog();
    std::string error;
    auto log = CLogFile::Open(folder, "Quenzario", sources, &error);
    if (!log) {
        std::cerr << "Quenzario: logging is off: " << error << '\n';
        return false;
    }
    std::unique_lock lock(LogSwapMutex());
    OwnedLog() = std::move(log);
    g_pLogFile = OwnedLog().get();
    g_bLogging = 1;
    return true;
}

void StopProgramLog()
{
    std::unique_lock lock(LogSwapMutex());
    g_bLogging = 0;
    g_pLogFile = nullptr;
    OwnedLog().reset();
}
