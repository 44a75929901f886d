#pragma once

#include "core/base/ReportText.h"
#include "core/tools/hash/FolderReader.h"
#include "core/tools/hash/HashChoice.h"
#include "core/tools/hash/HashEvents.h"

#include <cstdint>
#include <stop_token>
#include <string>
#include <vector>

// The file hash and the folder hash of the main window's page 17: MD5 and
// the chosen SHA digests of one file, or of the contents of every file below
// a folder, fed in the order of ListFilesForHash into one running digest per
// algorithm. Each file is read once for all digests. The results are report
// lines; progress, questions and message boxes go to the events (a single
// file's share read as the overall progress, its MB read in the status). A read
// error, or a file that changes its length while read, ends the hash
// without digests; a stop leaves no digest lines either.
class FileHashEngine {
public:
    FileHashEngine(ReportText& report, HashEvents& events, HashChoice choice, FolderReadSettings settings = {});

    HashOutcome ComputeFileHash(const std::string& path, std::stop_token stop);
    HashOutcome HashFolder(const std::string& folder, std::stop_token stop);

    int m_nHashFileTotal = 0;  // files found below the folder
    int m_nHashFileCount = 0;  // files handled so far
    int m_nHashFilesLeftOut = 0;  // not in the digests: not opened, pipes, devices ...

private:
    enum class FileOutcome { Hashed, NotOpened, ReadFailed, Stopped };

    HashOutcome RunFolderHash(const std::string& folder, std::stop_token stop);
    HashOutcome WalkFolderForHash(const std::vector<FileForHash>& files, MultiDigest& digests, std::stop_token stop);
    // Feeds one file of the list into the digests; error says why it could
    // not be opened or read.
    FileOutcome HashFileInFolder(std::size_t index, FolderReader& reader, MultiDigest& digests,
                                 const std::stop_token& stop, bool showProgress, std::string& error);
    // A single file's progress: the share read and, at each whole MB, the
    // status "Finished reading ...MB of ...MB".
    void ShowFileRead(std::uint64_t done, std::uint64_t size, int percent, int& shownPercent,
                      std::int64_t& shownMegabytes);
    HashOutcome Crashed(const char* where, const std::exception& error);

    ReportText& m_report;
    HashEvents& m_events;
    const HashChoice m_choice;
    const FolderReadSettings m_settings;
};
