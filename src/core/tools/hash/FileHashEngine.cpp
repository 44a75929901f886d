#include "core/tools/hash/FileHashEngine.h"

#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/base/Percent.h"
#include "core/tools/hash/HashReport.h"
#include "platform/files/FolderEntries.h"

#include <exception>

namespace {

constexpr int kFileNameLine = 3;
constexpr int kFileDigestsLine = 6;
constexpr int kFolderDigestsLine = 3;
constexpr int kMd5OnlyFolderDigestsLine = 4;
constexpr std::size_t kHandOverBytes = std::size_t{1} << 20;

void WriteLines(ReportText& report, int first, const std::vector<std::string>& lines)
{
    for (const std::string& line : lines)
        report.SetLine(first++, line);
}

std::string FileNameOf(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

FileHashEngine::FileHashEngine(ReportText& report, HashEvents& events, HashChoice choice, FolderReadSettings settings) :
    m_report(report), m_events(events), m_choice(choice), m_settings(std::move(settings))
{
}

HashOutcome FileHashEngine::ComputeFileHash(const std::string& path, std::stop_token stop)
{
    try {
        m_report.ClearDisplayLines();
        m_report.SetLine(0, FileHashHeading(m_choice));
        m_report.ShowStatus("Computing please wait...");
        FolderEntry entry;
        LookAtPath(path, entry);
        const std::vector<FileForHash> files{{path, entry.size, entry.device, {}}};
        MultiDigest digests(m_choice.Kinds());
        FolderReader reader(files, m_settings);
        const std::stop_callback stopReading(stop, [&reader] { reader.Stop(); });
        std::string error;
        switch (HashFileInFolder(0, reader, digests, stop, false, error)) {
        case FileOutcome::Hashed: break;
        case FileOutcome::Stopped: m_report.ShowStatus("Aborted scan at user request."); return HashOutcome::Cancelled;
        case FileOutcome::NotOpened:
        case FileOutcome::ReadFailed:
            LogEntry("ComputeFileHash() - " + path + ": " + error);
            m_report.ShowStatus("Ready");
            m_events.Notice("Error calculating MD5 hash");
            return HashOutcome::Failed;
        }
        digests.Finish();
        m_report.SetLine(kFileNameLine, "Filename");
        m_report.SetLine(kFileNameLine + 1, Format("%-73s", FileNameOf(path).c_str()));
        WriteLines(m_report, kFileDigestsLine, DigestGroupLines(digests, m_choice));
        m_report.RefreshDisplay(ReportText::kWholeReport);
        m_report.ShowStatus("Ready");
        return HashOutcome::Done;
    } catch (const std::exception& error) {
        return Crashed("ComputeFileHash()", error);
    }
}

HashOutcome FileHashEngine::HashFolder(const std::string& folder, std::stop_token stop)
{
    try {
        return RunFolderHash(folder, std::move(stop));
    } catch (const std::exception& error) {
        return Crashed("HashFolder()", error);
    }
}

HashOutcome FileHashEngine::RunFolderHash(const std::string& folder, std::stop_token stop)
{
    m_report.ClearDisplayLines();
    m_events.OverallProgress(0);
    MultiDigest digests(m_choice.Kinds());
    m_report.ShowStatus("Counting files...");
    m_nHashFileCount = 0;
    m_nHashFilesLeftOut = 0;
    FolderListingCounts counts;
    const std::vector<FileForHash> files = ListFilesForHash(folder, stop, &counts);
    m_nHashFilesLeftOut = counts.leftOut;
    m_nHashFileTotal = static_cast<int>(files.size());
    m_events.FileProgress(0, m_nHashFileTotal, 0);
    m_report.ClearDisplayLines();
    m_report.ShowStatus("Computing hashes...");
    const HashOutcome walked = stop.stop_requested() ? HashOutcome::Cancelled : WalkFolderForHash(files, digests, stop);
    if (walked == HashOutcome::Cancelled) {
        m_report.ShowStatus("Aborted scan at user request.");
        return walked;
    }
    if (walked == HashOutcome::Failed)
        return walked;

    digests.Finish();
    m_report.SetLine(0, FolderHashHeading());
    int first = kFolderDigestsLine;
    if (!m_choice.AnySha()) {
        m_report.SetLine(1, CentredFolderLine(folder));
        first = kMd5OnlyFolderDigestsLine;
    }
    const std::vector<std::string> groups = DigestGroupLines(digests, m_choice);
    WriteLines(m_report, first, groups);
    int next = first + static_cast<int>(groups.size());
    // A digest of part of the folder must not pass for one of all of it.
    if (m_nHashFilesLeftOut > 0)
        m_report.SetLine(next++, LeftOutLine(m_nHashFilesLeftOut));
    if (counts.repeats > 0)
        m_report.SetLine(next + 1,
                         Format("Folders reached again through links, hashed once: %llu skipped",
                                static_cast<unsigned long long>(counts.repeats)));
    m_report.RefreshDisplay(ReportText::kWholeReport);
    m_report.ShowStatus("Ready");
    return HashOutcome::Done;
}

HashOutcome FileHashEngine::WalkFolderForHash(const std::vector<FileForHash>& files, MultiDigest& digests,
                                              std::stop_token stop)
{
    FolderReader reader(files, m_settings);
    const std::stop_callback stopReading(stop, [&reader] { reader.Stop(); });
    int shown = 0;
    for (std::size_t index = 0; index < files.size(); ++index) {
        std::string error;
        switch (HashFileInFolder(index, reader, digests, stop, true, error)) {
        case FileOutcome::Hashed: break;
        case FileOutcome::Stopped: return HashOutcome::Cancelled;
        case FileOutcome::ReadFailed:
            LogEntry("HashFolder() - read error in " + files[index].path + ": " + error);
            m_report.ShowStatus("Error reading a file");
            m_events.Notice("Error reading a file, the folder hash cannot be computed:\n" + files[index].path + "\n"
                            + error);
            return HashOutcome::Failed;
        case FileOutcome::NotOpened:
            LogEntry("HashFolder() - cannot open " + files[index].path + ": " + error);
            if (m_events.AbortAfterOpenError(files[index].path, error) || stop.stop_requested())
                return HashOutcome::Cancelled;
            ++m_nHashFilesLeftOut;
            break;
        }
        ++m_nHashFileCount;
        const int percent = m_nHashFileTotal > 0 ? PercentOf(m_nHashFileCount, m_nHashFileTotal) : 100;
        if (percent > shown) {
            shown = percent;
            m_events.OverallProgress(percent);
        }
    }
    return HashOutcome::Done;
}

FileHashEngine::FileOutcome FileHashEngine::HashFileInFolder(std::size_t index, FolderReader& reader,
                                                             MultiDigest& digests, const std::stop_token& stop,
                                                             bool showProgress, std::string& error)
{
    if (showProgress)
        m_events.FileProgress(m_nHashFileCount, m_nHashFileTotal, 0);
    std::uint64_t done = 0;
    int shown = 0;
    std::int64_t shownMegabytes = 0;
    if (!showProgress)
        m_events.OverallProgress(0);
    for (;;) {
        if (stop.stop_requested())
            return FileOutcome::Stopped;
        FileRead read = reader.Take(index);
        switch (read.state) {
        case FileReadState::Piece: break;
        case FileReadState::End: return FileOutcome::Hashed;
        case FileReadState::Stopped: return FileOutcome::Stopped;
        case FileReadState::NotOpened: error = read.error; return FileOutcome::NotOpened;
        case FileReadState::ReadFailed: error = read.error; return FileOutcome::ReadFailed;
        }
        // Large pieces are handed over: no copy, and no wait for the digests.
        if (read.piece.length >= kHandOverBytes)
            digests.Update(std::move(read.piece.data), read.piece.length);
        else
            digests.Update(read.piece.data.get(), read.piece.length);
        done += read.piece.length;
        const int percent = read.size > 0
            ? PercentOf(static_cast<std::int64_t>(done), static_cast<std::int64_t>(read.size))
            : 100;
        if (showProgress && percent > shown) {
            shown = percent;
            m_events.FileProgress(m_nHashFileCount, m_nHashFileTotal, percent);
        } else if (!showProgress) {
            ShowFileRead(done, read.size, percent, shown, shownMegabytes);
        }
    }
}

void FileHashEngine::ShowFileRead(std::uint64_t done, std::uint64_t size, int percent, int& shownPercent,
                                  std::int64_t& shownMegabytes)
{
    // A single file, as the disc hash shows its blocks: the bar and the MB read.
    if (percent > shownPercent) {
        shownPercent = percent;
        m_events.OverallProgress(percent);
    }
    const auto megabytes = static_cast<std::int64_t>(done >> 20);
    if (megabytes > shownMegabytes) {
        shownMegabytes = megabytes;
        m_report.ShowStatus(Format("Finished reading %lldMB of %lldMB", static_cast<long long>(megabytes),
                                   static_cast<long long>(size >> 20)));
    }
}

HashOutcome FileHashEngine::Crashed(const char* where, const std::exception& error)
{
    LogEntry(std::string("EXCEPTION OCCURRED IN ") + where + " - " + error.what());
    m_report.ShowStatus("Ready");
    m_events.Notice(std::string("The hash could not be computed: ") + error.what());
    return HashOutcome::Failed;
}
